#include "CaptureRecorder.h"

#include <chrono>
#include <memory>
#include <system_error>
#include <vector>

#include "acquisition/AcquisitionSession.h"
#include "acquisition/RecordedData.h"
#include "acquisition/SerialLink.h"
#include "platform/AtomicFile.h"
#include "platform/EventLoop.h"

namespace ondrix {

namespace {

// Collects the session's messages; they are printed together with the link's own account of
// what went wrong, which a message box would not show.
class CollectingNotifier : public Notifier {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    MessageAnswer MessageBox(const std::string& text, const std::string&, MessageButtons) override {
        messages.push_back(text);
        return MessageAnswer::Ok;
    }
    std::vector<std::string> messages;
};

// The four channels' values of each sample, written as a TSV line once the fourth arrives and
// kept for the recorded file when one is asked for.
class Recording {
public:
    Recording(std::ostream* tsv, bool keepValues, uint64_t frameLimit)
        : tsv_(tsv), keepValues_(keepValues), frameLimit_(frameLimit) {}

    void Add(int channel, double x, double y) {
        if (Complete()) return;
        row_[channel] = static_cast<int16_t>(y);
        if (channel != kChannelCount - 1) return;
        if (tsv_)
            *tsv_ << static_cast<uint64_t>(x) << '\t' << row_[0] << '\t' << row_[1] << '\t' << row_[2] << '\t' << row_[3]
                  << '\n';
        if (keepValues_)
            for (int c = 0; c < kChannelCount; ++c) values_[c].push_back(row_[c]);
        ++frames_;
    }
    void Clear() {
        for (auto& values : values_) values.clear();
        frames_ = 0;
    }
    bool Complete() const { return frames_ >= frameLimit_; }
    uint64_t Frames() const { return frames_; }
    std::vector<int16_t>& Values(int channel) { return values_[channel]; }

private:
    std::ostream* tsv_;
    bool keepValues_;
    uint64_t frameLimit_;
    uint64_t frames_ = 0;
    SampleValues row_{};
    std::array<std::vector<int16_t>, kChannelCount> values_;
};

class RecordingChannel : public ChannelSink {
public:
    RecordingChannel(Recording& recording, int index) : recording_(recording), index_(index) {}
    void Clear() override {
        if (index_ == 0) recording_.Clear();
    }
    void AddXY(double x, double y) override { recording_.Add(index_, x, y); }
    bool Visible() const override { return visible_; }
    void SetVisible(bool visible) override { visible_ = visible; }

private:
    Recording& recording_;
    int index_;
    bool visible_ = false;
};

class CaptureHost : public SessionHost {
public:
    explicit CaptureHost(const CaptureOptions& options) : options_(options) {}
    std::array<bool, kChannelCount> ChannelSwitches() const override {
        std::array<bool, kChannelCount> switches{};
        for (int c = 0; c < kChannelCount; ++c) switches[c] = options_.channels[c].on;
        return switches;
    }
    std::optional<std::array<ChannelRequest, kChannelCount>> ParseChannelRequests() override { return options_.channels; }
    void SessionReset() override {}
    void SessionStateChanged(bool) override {}

private:
    const CaptureOptions& options_;
};

// A std::ostream over the temporary file's stream, so the TSV goes through one writer whether
// it ends in a file or on standard output.
class FileBuffer : public std::streambuf {
public:
    explicit FileBuffer(std::FILE* file) : file_(file) {}

protected:
    int_type overflow(int_type ch) override {
        return ch == traits_type::eof() || std::fputc(ch, file_) != EOF ? traits_type::not_eof(ch) : traits_type::eof();
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        return static_cast<std::streamsize>(std::fwrite(text, 1, static_cast<size_t>(count), file_));
    }

private:
    std::FILE* file_;
};

PortResolver ResolverFor(const CaptureOptions& options) {
    if (options.devicePath.empty()) return DefaultPortResolver();
    return [path = options.devicePath](int) { return path; };
}

std::string PortName(const CaptureOptions& options) {
    return options.devicePath.empty() ? "COM" + std::to_string(options.settings.PortNumber) : options.devicePath;
}

void WriteRecordedFile(AtomicFile& file, const CaptureOptions& options, Recording& recording) {
    RecordedData data;
    for (int c = 0; c < kChannelCount; ++c) {
        data[c].title = "CH" + std::to_string(c + 1);
        data[c].address = options.channels[c].address;
        data[c].on = options.channels[c].on ? 1 : 0;
        data[c].values = std::move(recording.Values(c));
    }
    const std::vector<uint8_t> bytes = EncodeRecordedData(data);
    std::fwrite(bytes.data(), 1, bytes.size(), file.Stream());
}

}  // namespace

int RunCapture(const CaptureOptions& options, const std::atomic<bool>& interrupted, std::ostream& standardOutput,
               std::ostream& errors) {
    // Outputs are created before the port is touched, so a wrong path costs no acquisition.
    std::unique_ptr<AtomicFile> tsvFile;
    std::unique_ptr<AtomicFile> datFile;
    try {
        if (!options.tsvPath.empty() && options.tsvPath != "-") tsvFile = std::make_unique<AtomicFile>(options.tsvPath);
        if (!options.datPath.empty()) datFile = std::make_unique<AtomicFile>(options.datPath);
    } catch (const std::system_error& error) {
        errors << "ondrix-capture: cannot create " << error.what() << '\n';
        return kCaptureFailed;
    }
    std::unique_ptr<FileBuffer> tsvBuffer;
    std::unique_ptr<std::ostream> tsvStream;
    std::ostream* tsv = nullptr;
    if (tsvFile) {
        tsvBuffer = std::make_unique<FileBuffer>(tsvFile->Stream());
        tsvStream = std::make_unique<std::ostream>(tsvBuffer.get());
        tsv = tsvStream.get();
    } else if (options.tsvPath == "-") {
        tsv = &standardOutput;
    }

    Recording recording(tsv, datFile != nullptr, options.frames.value_or(UINT64_MAX));
    RecordingChannel channels[kChannelCount] = {{recording, 0}, {recording, 1}, {recording, 2}, {recording, 3}};
    CaptureHost host(options);
    CollectingNotifier notifier;
    PortSettings settings = options.settings;
    SerialLink link(settings, notifier, ResolverFor(options));
    EventLoop loop;
    AcquisitionSession session(link, loop, host, {&channels[0], &channels[1], &channels[2], &channels[3]});

    // No prefill: the first sample recorded is X 0.
    session.SetScreenWidth(0);
    session.Run();
    if (!session.Running()) {
        // A device given by path has no COM number, so only the link's own account names it.
        if (options.devicePath.empty())
            for (const std::string& message : notifier.messages) errors << "ondrix-capture: " << message << '\n';
        errors << "ondrix-capture: cannot use " << PortName(options) << ": " << link.LastFailureDetail() << '\n';
        return kCaptureFailed;
    }

    const auto timeLimit = options.seconds ? std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                                 std::chrono::duration<double>(*options.seconds))
                                           : std::chrono::steady_clock::duration::max() / 2;
    // A reader that went away (a pipe into head) ends the recording like a signal would.
    bool outputClosed = false;
    loop.RunUntil(
        [&] {
            if (tsv == &standardOutput) outputClosed = !standardOutput.flush();
            return recording.Complete() || interrupted || outputClosed;
        },
        timeLimit);
    session.Stop();

    try {
        if (datFile) {
            WriteRecordedFile(*datFile, options, recording);
            datFile->Commit();
        }
        if (tsvFile) {
            tsvStream->flush();
            tsvFile->Commit();
        }
    } catch (const std::system_error& error) {
        errors << "ondrix-capture: cannot write " << error.what() << '\n';
        return kCaptureFailed;
    }
    if (outputClosed) {
        errors << "ondrix-capture: standard output closed after " << recording.Frames() << " frames\n";
        return kCaptureFailed;
    }
    if (interrupted) {
        errors << "ondrix-capture: interrupted after " << recording.Frames() << " frames\n";
        return kCaptureInterrupted;
    }
    return kCaptureDone;
}

}  // namespace ondrix
