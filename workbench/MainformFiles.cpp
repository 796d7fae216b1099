// The main window's files: recorded data (".dat", saved and opened) and the analysis export
// (".mdt"). The values are taken from the plot and put back on the GUI thread; the files are
// read and written by the file jobs, so that a slow disk never holds the window.

#include <algorithm>
#include <limits>
#include <memory>
#include <new>

#include "acquisition/MatlabExport.h"
#include "acquisition/RecordedData.h"
#include "platform/WholeFile.h"
#include "plot/channels/PlotChannel.h"
#include "workbench/Mainform.h"

namespace ondrix {

struct RecordingRead {
    enum class Status {
        Read,
        Invalid,  // missing, unreadable, or not a recording: its length word or blocks do not fit
        Failed,   // the reading itself broke down, for example out of memory
    };
    Status status = Status::Invalid;
    RecordedData data;
};

namespace {

const char* const kStopFirst = "Please Stop First!!!";
const char* const kFileErrorCaption = "File Error";
const TFileDialogRequest kRecordingDialog{"Data(*.dat)", "dat"};
const TFileDialogRequest kExportDialog{"Data(*.mdt)", "mdt"};

// The length word is 32 bits: a file beyond it is no recording, and its length word is read
// and compared before anything more of it is.
constexpr size_t kLengthWordSize = 4;

RecordingRead ReadRecording(const std::string& fileName) {
    RecordingRead read;
    const FileStart start = ReadFileStart(fileName, kLengthWordSize);
    if (!start.opened || start.bytes.size() < kLengthWordSize) return read;
    const std::vector<uint8_t>& word = start.bytes;
    const uint32_t lengthWord = static_cast<uint32_t>(word[0]) | static_cast<uint32_t>(word[1]) << 8 |
                                static_cast<uint32_t>(word[2]) << 16 | static_cast<uint32_t>(word[3]) << 24;
    if (lengthWord != start.size) return read;
    try {
        const FileStart whole = ReadFileStart(fileName, lengthWord);
        if (!whole.opened) return read;
        DecodedRecording decoded = DecodeRecordedData(whole.bytes.data(), whole.bytes.size());
        if (!decoded.valid || whole.size != whole.bytes.size()) return read;
        read.status = RecordingRead::Status::Read;
        read.data = std::move(decoded.data);
    } catch (const std::bad_alloc&) {
        read.status = RecordingRead::Status::Failed;
    }
    return read;
}

int16_t SixteenBits(double value) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(TruncatedReading(value)) & 0xFFFFu));
}

}  // namespace

std::array<std::vector<int16_t>, kChannelCount> TForm1::ChannelValues() const {
    // The four channels always hold the same number of points; the smallest count keeps the
    // reading inside every channel should they ever differ.
    int count = std::numeric_limits<int>::max();
    for (int c = 0; c < kChannelCount; ++c) count = std::min(count, Plot1.GetChannel(c)->GetCount());
    std::array<std::vector<int16_t>, kChannelCount> values;
    for (int c = 0; c < kChannelCount; ++c) {
        const TPlotChannel& channel = *Plot1.GetChannel(c);
        values[c].resize(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) values[c][static_cast<size_t>(i)] = SixteenBits(channel.GetDataY(i));
    }
    return values;
}

void TForm1::ShowFileCaption(const std::string& fileName) {
    setWindowTitle(QStringLiteral("Ondrix--") + QString::fromStdString(fileName));
}

// ---- Save --------------------------------------------------------------------------------

void TForm1::SaveClick() {
    if (session_->Running()) {
        notifier_.ShowMessage(kStopFirst);
        return;
    }
    auto values = ChannelValues();
    TakeTitles();
    auto recording = std::make_shared<RecordedData>();
    for (int c = 0; c < kChannelCount; ++c) {
        RecordedChannel& channel = (*recording)[c];
        channel.title = channels_[c].Title.Text();
        channel.address = channels_[c].Address;
        channel.on = channels_[c].On;
        channel.values = std::move(values[c]);
    }
    const auto fileName = fileDialogs_.SaveFileName(kRecordingDialog);
    if (!fileName) return;

    const std::string name = *fileName;
    fileJobs_.Run<std::string>(
        "saving " + name, [name, recording] { return WriteFileAtomically(name, EncodeRecordedData(*recording)); },
        [this, name](const std::string& failure) {
            // A file that was not written is said so, and the caption does not claim it.
            if (!failure.empty()) {
                notifier_.MessageBox(failure, kFileErrorCaption, MessageButtons::Ok);
                return;
            }
            ShowFileCaption(name);
        });
}

// ---- Open --------------------------------------------------------------------------------

void TForm1::OpenClick() {
    if (session_->Running()) {
        notifier_.ShowMessage(kStopFirst);
        return;
    }
    const auto fileName = fileDialogs_.OpenFileName(kRecordingDialog);
    if (!fileName) return;

    const std::string name = *fileName;
    fileJobs_.Run<RecordingRead>(
        "opening " + name, [name] { return ReadRecording(name); },
        [this, name](const RecordingRead& read) { ShowOpenedRecording(name, read); });
}

void TForm1::ShowOpenedRecording(const std::string& fileName, const RecordingRead& read) {
    switch (read.status) {
        case RecordingRead::Status::Read: break;
        case RecordingRead::Status::Invalid:
            notifier_.MessageBox("Invalid file", kFileErrorCaption, MessageButtons::OkCancel);
            return;
        case RecordingRead::Status::Failed:
            notifier_.MessageBox("Can't perform file openning", kFileErrorCaption, MessageButtons::OkCancel);
            return;
    }
    // RUN may have been pressed while the file was read: the live data is not replaced.
    if (session_->Running()) {
        notifier_.ShowMessage(kStopFirst);
        return;
    }

    for (int c = 0; c < kChannelCount; ++c) {
        const RecordedChannel& recorded = read.data[c];
        channels_[c].Title.SetText(recorded.title);
        channels_[c].Address = recorded.address;
        channels_[c].On = recorded.on;
        ChannelBoxes[c].Title.setText(QString::fromStdString(channels_[c].Title.Text()));
        ShowAddress(c);
    }

    const size_t count = read.data[0].values.size();
    Plot1.BeginUpdate();
    for (int c = 0; c < kChannelCount; ++c) {
        Plot1.GetChannel(c)->SetVisible(false);
        Plot1.GetChannel(c)->Clear();
    }
    for (size_t i = 0; i < count; ++i)
        for (int c = 0; c < kChannelCount; ++c)
            Plot1.GetChannel(c)->AddXY(static_cast<double>(i), read.data[c].values[i]);
    session_->SetSampleCounter(static_cast<uint32_t>(count));
    for (int c = 0; c < kChannelCount; ++c) {
        if (read.data[c].on == 0) continue;
        ChannelBoxes[c].Switch.setChecked(true);
        channels_[c].On = 1;
        Plot1.GetChannel(c)->SetVisible(true);
    }
    Plot1.EndUpdate();
    // Left to the axes, a short recording would sit wherever the last live view was, often
    // outside it: the loaded samples are what the user asked to see.
    trigger_->Restart();
    RunViewCommand([count](ViewCommands& view) { view.ShowRecording(static_cast<double>(count)); });
    ShowFileCaption(fileName);
}

// ---- Analysis export ---------------------------------------------------------------------

void TForm1::SaveForMatlabClick() {
    if (session_->Running()) {
        notifier_.ShowMessage(kStopFirst);
        return;
    }
    auto columns = std::make_shared<ExportColumns>(ChannelValues());
    const auto fileName = fileDialogs_.SaveFileName(kExportDialog);
    if (!fileName) return;

    const std::string name = *fileName;
    fileJobs_.Run<std::string>(
        "exporting " + name, [name, columns] { return WriteFileAtomically(name, EncodeMatlabExport(*columns)); },
        [this](const std::string& failure) {
            if (!failure.empty()) notifier_.MessageBox(failure, kFileErrorCaption, MessageButtons::Ok);
        });
}

}  // namespace ondrix
