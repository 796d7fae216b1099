#include "CaptureRecorder.h"

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "acquisition/AcquisitionSession.h"
#include "acquisition/QuietBeforeRequest.h"
#include "acquisition/LinkStatistics.h"
#include "acquisition/RecordedData.h"
#include "acquisition/SerialLink.h"
#include "acquisition/SettingsFile.h"
#include "acquisition/TriggerDetector.h"
#include "platform/EventLoop.h"
#include "CaptureOutputs.h"

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
// kept for the recorded file when one is asked for. With a trigger, nothing is recorded until
// it fires; the rows just before it are kept meanwhile, so the recording starts with them.
class Recording {
public:
    Recording(std::ostream* tsv, bool keepValues, uint64_t frameLimit, const CaptureOptions& options)
        : tsv_(tsv), keepValues_(keepValues), frameLimit_(frameLimit), preTrigger_(options.preTrigger) {
        if (options.trigger) trigger_.emplace(*options.trigger);
        waiting_ = trigger_.has_value();
    }

    void Add(int channel, double x, double y) {
        if (Complete()) return;
        row_[channel] = static_cast<int16_t>(y);
        if (channel != kChannelCount - 1) return;
        const Row row{static_cast<uint64_t>(x), row_};
        if (!waiting_) {
            Write(row);
            return;
        }
        // The rows before the trigger must be there first, as an oscilloscope fills its
        // pre-trigger memory before it arms: the crossing sample is then always row --pre.
        const bool crossed = trigger_->Feed(x, row_[trigger_->Settings().channel]).has_value();
        if (!crossed || before_.size() < preTrigger_) {
            if (preTrigger_ == 0) return;
            if (before_.size() == preTrigger_) before_.pop_front();
            before_.push_back(row);
            return;
        }
        waiting_ = false;
        for (const Row& earlier : before_) Write(earlier);
        before_.clear();
        Write(row);
    }
    void Clear() {
        for (auto& values : values_) values.clear();
        frames_ = 0;
        before_.clear();
        if (trigger_) trigger_->Rearm();
        waiting_ = trigger_.has_value();
    }
    bool Triggered() const { return !waiting_; }
    bool Complete() const { return frames_ >= frameLimit_; }
    uint64_t Frames() const { return frames_; }
    std::vector<int16_t>& Values(int channel) { return values_[channel]; }

private:
    struct Row {
        uint64_t x;
        SampleValues values;
    };
    void Write(const Row& row) {
        if (Complete()) return;
        if (tsv_)
            *tsv_ << row.x << '\t' << row.values[0] << '\t' << row.values[1] << '\t' << row.values[2] << '\t'
                  << row.values[3] << '\n';
        if (keepValues_)
            for (int c = 0; c < kChannelCount; ++c) values_[c].push_back(row.values[c]);
        ++frames_;
    }

    std::ostream* tsv_;
    bool keepValues_;
    uint64_t frameLimit_;
    uint64_t frames_ = 0;
    SampleValues row_{};
    std::array<std::vector<int16_t>, kChannelCount> values_;
    std::optional<TriggerDetector> trigger_;
    bool waiting_ = false;
    size_t preTrigger_;
    std::deque<Row> before_;
};

class RecordingChannel : public ChannelSink {
public:
    RecordingChannel(Recording& recording, int index) : recording_(recording), index_(index) {}
    void Clear() override {
        if (index_ == 0) recording_.Clear();
    }
    void AddXY(double x, double y) override { recording_.Add(index_, x, y); }
    // A gap is not a sample: no TSV line and no recorded value; X goes on after it.
    void AddNull(double) override {}
    bool Visible() const override { return visible_; }
    void SetVisible(bool visible) override { visible_ = visible; }

private:
    Recording& recording_;
    int index_;
    bool visible_ = false;
};

std::string PortName(const CaptureOptions& options) {
    return options.devicePath.empty() ? "COM" + std::to_string(options.settings.PortNumber) : options.devicePath;
}

class CaptureHost : public SessionHost {
public:
    CaptureHost(const CaptureOptions& options, std::ostream& errors) : options_(options), errors_(errors) {}
    std::array<bool, kChannelCount> ChannelSwitches() const override {
        std::array<bool, kChannelCount> switches{};
        for (int c = 0; c < kChannelCount; ++c) switches[c] = options_.channels[c].on;
        return switches;
    }
    std::optional<std::array<ChannelRequest, kChannelCount>> ParseChannelRequests() override { return options_.channels; }
    void SessionReset() override {}
    void SessionStateChanged(bool) override {}
    void SessionDeviceLost(int, const std::string& reason) override {
        deviceLost = true;
        lossReason = reason;
        if (options_.reconnect)
            errors_ << "ondrix-capture: " << PortName(options_) << " lost: " << reason << "; waiting for it\n";
    }
    void SessionDeviceRejoined() override {
        deviceLost = false;
        errors_ << "ondrix-capture: " << PortName(options_) << " is back\n";
    }

    bool deviceLost = false;
    std::string lossReason;

private:
    const CaptureOptions& options_;
    std::ostream& errors_;
};

PortResolver ResolverFor(const CaptureOptions& options) {
    if (options.devicePath.empty()) return DefaultPortResolver();
    return [path = options.devicePath](int) { return path; };
}

// What the .dat holds: the recording's values under each channel's title, address and switch.
RecordedData RecordedDataOf(const CaptureOptions& options, Recording& recording) {
    RecordedData data;
    for (int c = 0; c < kChannelCount; ++c) {
        // A channel given by a variable's name is titled by it, as the scope titles it.
        const std::string& name = options.variableNames[c];
        data[c].title = name.empty() ? "CH" + std::to_string(c + 1) : name.substr(0, kTitleMaxLength);
        data[c].address = options.channels[c].address;
        data[c].on = options.channels[c].on ? 1 : 0;
        data[c].values = std::move(recording.Values(c));
    }
    return data;
}

// The quiet line before the request at its longest, and the request's own bytes.
constexpr auto kLongestRequestWait = QuietBeforeRequest::kLongestWait + std::chrono::seconds(2);

// Fits the clock for any --seconds the command line lets through.
std::chrono::steady_clock::duration TimeLimit(const CaptureOptions& options) {
    static_assert(std::chrono::duration<double>(kMaxCaptureSeconds) < std::chrono::steady_clock::duration::max() / 2,
                  "the longest --seconds must not wrap the clock");
    if (!options.seconds) return std::chrono::steady_clock::duration::max() / 2;
    const std::chrono::duration<double> seconds(*options.seconds);
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(seconds);
}

// One recording: the session over the link, feeding the outputs, until its limit.
class Recorder {
public:
    Recorder(const CaptureOptions& options, CaptureOutputs& outputs, std::ostream& errors)
        : options_(options),
          outputs_(outputs),
          errors_(errors),
          recording_(outputs.Tsv(), outputs.WantsRecordedData(), options.frames.value_or(UINT64_MAX), options),
          host_(options, errors),
          settings_(options.settings),
          link_(settings_, notifier_, ResolverFor(options)),
          session_(link_, loop_, host_, {&channels_[0], &channels_[1], &channels_[2], &channels_[3]}) {}

    int Run(const std::atomic<bool>& interrupted, std::ostream& standardOutput) {
        // No prefill: the first sample recorded is X 0.
        session_.SetScreenWidth(0);
        session_.Run();
        if (!session_.Running()) {
            // A device given by path has no COM number, so only the link's own account names it.
            // The message's first line only: the link's own account below gives the reason.
            if (options_.devicePath.empty())
                for (const std::string& message : notifier_.messages)
                    errors_ << "ondrix-capture: " << message.substr(0, message.find('\n')) << '\n';
            errors_ << "ondrix-capture: cannot use " << PortName(options_) << ": " << link_.LastFailureDetail() << '\n';
            return kCaptureFailed;
        }

        const auto timeLimit = TimeLimit(options_);
        // A reader that went away (a pipe into head) ends the recording like a signal would, and
        // so does a device that went away, unless it is to be waited for.
        bool outputClosed = false;
        const auto stopped = [&] {
            if (outputs_.Tsv() == &standardOutput) outputClosed = !standardOutput.flush();
            return interrupted || outputClosed || (host_.deviceLost && !options_.reconnect);
        };
        // The time counts from the request, so that --seconds is what is recorded of the
        // variables asked for: the quiet line before it records nothing.
        loop_.RunUntil([&] { return session_.Statistics().request != RequestOutcome::Pending || stopped(); },
                       kLongestRequestWait);
        // A trigger is waited for as long as it takes; the time limit counts from it.
        if (options_.trigger)
            loop_.RunUntil([&] { return recording_.Triggered() || stopped(); },
                           std::chrono::steady_clock::duration::max() / 2);
        if (recording_.Triggered()) loop_.RunUntil([&] { return recording_.Complete() || stopped(); }, timeLimit);
        session_.Stop();

        const RecordedData data = outputs_.WantsRecordedData() ? RecordedDataOf(options_, recording_) : RecordedData{};
        const std::vector<std::string> failures = outputs_.Commit(data);
        for (const std::string& failure : failures) errors_ << "ondrix-capture: cannot write " << failure << '\n';
        if (!failures.empty()) return kCaptureFailed;
        if (outputClosed) {
            errors_ << "ondrix-capture: standard output closed after " << recording_.Frames() << " frames\n";
            return kCaptureFailed;
        }
        if (interrupted) {
            errors_ << "ondrix-capture: interrupted after " << recording_.Frames() << " frames\n";
            return kCaptureInterrupted;
        }
        if (host_.deviceLost) {
            errors_ << "ondrix-capture: " << PortName(options_) << " lost: " << host_.lossReason
                    << (options_.reconnect ? " (not back when the recording ended)" : "") << '\n';
            return kCaptureFailed;
        }
        return kCaptureDone;
    }

    const LinkStatistics& Statistics() const { return session_.Statistics(); }

private:
    const CaptureOptions& options_;
    CaptureOutputs& outputs_;
    std::ostream& errors_;
    Recording recording_;
    RecordingChannel channels_[kChannelCount] = {{recording_, 0}, {recording_, 1}, {recording_, 2}, {recording_, 3}};
    CaptureHost host_;
    CollectingNotifier notifier_;
    PortSettings settings_;
    SerialLink link_;
    EventLoop loop_;
    AcquisitionSession session_;
};

}  // namespace

int RunCapture(const CaptureOptions& options, const std::atomic<bool>& interrupted, std::ostream& standardOutput,
               std::ostream& errors) {
    std::unique_ptr<CaptureOutputs> outputs;
    try {
        outputs = std::make_unique<CaptureOutputs>(options.tsvPath, options.datPath, standardOutput);
    } catch (const std::system_error& error) {
        errors << "ondrix-capture: cannot create " << error.what() << '\n';
        return kCaptureFailed;
    }
    Recorder recorder(options, *outputs, errors);
    const int exitCode = recorder.Run(interrupted, standardOutput);
    // Always last, so that scripts find it in one place.
    errors << LinkStatisticsText(recorder.Statistics()) << '\n';
    return exitCode;
}

}  // namespace ondrix
