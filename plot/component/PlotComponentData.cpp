// The plot's data files and its data log: every channel's points as text columns or as 4-byte
// singles, read back by appending, and a log that follows AddDataArray row by row.
//
// A file is read and checked whole before the first point is appended, so a bad file leaves the
// channels as they were.

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string_view>
#include <vector>

#include "plot/component/PlotComponent.h"
#include "plot/core/PlotFiles.h"
#include "plot/core/PlotNumberText.h"
#include "plot/core/PlotText.h"

namespace ondrix {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr std::string_view kCompactTitle = "Compact Interval";
constexpr std::string_view kLogMark = "(X)";
constexpr const char* kInvalidData = "Invalid Data";

// The compact form's markers. Singles cannot hold 1e38 and 2e38 exactly, so reading takes
// anything above the thresholds for them.
constexpr float kMissingSingle = 1e38f;
constexpr float kEndSingle = 2e38f;
constexpr double kMissingThreshold = 9e37;
constexpr double kEndThreshold = 1.5e38;

// ---- Text ------------------------------------------------------------------------------------

std::vector<std::string_view> SplitFields(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    for (;;) {
        const size_t end = line.find(separator);
        fields.push_back(line.substr(0, end));
        if (end == std::string_view::npos) return fields;
        line.remove_prefix(end + 1);
    }
}

std::string_view FirstLine(std::string_view text) {
    std::string_view line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

bool IsCompactTitle(std::string_view line) { return SameText(TrimBlanks(line), kCompactTitle); }

bool StartsWithLogMark(std::string_view line) { return SameText(line.substr(0, kLogMark.size()), kLogMark); }

// A channel title inside a header field. A separator or a line break in it would shift the
// columns or the lines, and a tab would make a comma file read as a tab file.
std::string HeaderField(const std::string& title, const char* suffix, char separator) {
    std::string field = title;
    for (char& c : field)
        if (c == separator || c == '\t' || c == '\r' || c == '\n') c = ' ';
    return field + suffix;
}

// Numbers are always written with '.', whatever the user's locale: loading takes a ',' as well,
// so a file stays readable on a machine of either habit.
std::string NumberText(double value) { return DoubleToGeneralText(value); }

std::string YText(const TPlotChannelCustom& channel, int index) {
    if (channel.GetDataNull(index)) return "Null";
    if (channel.GetDataEmpty(index)) return "Empty";
    return NumberText(channel.GetDataY(index));
}

// ---- Singles ---------------------------------------------------------------------------------

void AppendSingle(std::string& out, float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((bits >> shift) & 0xFF);
}

// A single at or above the missing-point threshold reads back as a missing point or as the end
// of the file, which would silently drop it and everything after it: such a value is refused
// instead of written. The range is checked before narrowing, which is undefined beyond FLT_MAX.
float SingleOf(double value) {
    if (!(value >= -FLT_MAX && value <= FLT_MAX)) throw EPlotError("Value out of range for Compact Interval");
    const float single = static_cast<float>(value);
    if (!(single < kMissingThreshold)) throw EPlotError("Value out of range for Compact Interval");
    return single;
}

// False at the end of the data; a value cut short fails, and so does one that is no number or an
// infinity, which the writer never writes and no channel can show.
bool ReadSingle(std::string_view& data, double& value) {
    if (data.empty()) return false;
    if (data.size() < 4) throw EPlotError(kInvalidData);
    uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = bits << 8 | static_cast<uint8_t>(data[static_cast<size_t>(i)]);
    float single = 0;
    std::memcpy(&single, &bits, sizeof single);
    if (!std::isfinite(single)) throw EPlotError(kInvalidData);
    data.remove_prefix(4);
    value = single;
    return true;
}

std::string CompactHeader(int channelCount) {
    return std::string(kCompactTitle) + kLineEnd + std::to_string(channelCount) + kLineEnd;
}

// The compact form's header: its channel count and where the values start. False when the text
// does not start with both lines.
bool ReadCompactHeader(std::string_view text, int& channelCount, size_t& bodyStart) {
    const size_t firstEnd = text.find('\n');
    if (firstEnd == std::string_view::npos || !IsCompactTitle(FirstLine(text))) return false;
    const size_t secondEnd = text.find('\n', firstEnd + 1);
    if (secondEnd == std::string_view::npos) return false;
    std::string_view count = text.substr(firstEnd + 1, secondEnd - firstEnd - 1);
    if (!count.empty() && count.back() == '\r') count.remove_suffix(1);
    count = TrimBlanks(count);
    const auto result = std::from_chars(count.data(), count.data() + count.size(), channelCount);
    if (count.empty() || result.ec != std::errc() || result.ptr != count.data() + count.size() || channelCount < 0)
        return false;
    bodyStart = secondEnd + 1;
    return true;
}

// ---- Saving ----------------------------------------------------------------------------------

int LargestCount(const TPlotComponent& plot) {
    int rows = 0;
    for (int k = 0; k < plot.ChannelCount(); ++k) rows = std::max(rows, plot.GetChannel(k)->GetCount());
    return rows;
}

std::string TextDataFile(const TPlotComponent& plot, char separator) {
    std::string text;
    for (int k = 0; k < plot.ChannelCount(); ++k) {
        const std::string& title = plot.GetChannel(k)->GetTitleText();
        if (k > 0) text += separator;
        text += HeaderField(title, "(X)", separator);
        text += separator;
        text += HeaderField(title, "(Y)", separator);
    }
    text += kLineEnd;
    const int rows = LargestCount(plot);
    for (int i = 0; i < rows; ++i) {
        for (int k = 0; k < plot.ChannelCount(); ++k) {
            const TPlotChannelCustom& channel = *plot.GetChannel(k);
            if (k > 0) text += separator;
            if (i < channel.GetCount()) {
                text += NumberText(channel.GetDataX(i));
                text += separator;
                text += YText(channel, i);
            } else {
                text += separator;
            }
        }
        text += kLineEnd;
    }
    return text;
}

std::string CompactDataFile(const TPlotComponent& plot) {
    std::string data = CompactHeader(plot.ChannelCount());
    const int rows = LargestCount(plot);
    for (int i = 0; i < rows; ++i) {
        for (int k = 0; k < plot.ChannelCount(); ++k) {
            const TPlotChannelCustom& channel = *plot.GetChannel(k);
            const bool present = i < channel.GetCount();
            if (i < 2) AppendSingle(data, present ? SingleOf(channel.GetDataX(i)) : kMissingSingle);
            AppendSingle(data, present ? SingleOf(channel.GetDataY(i)) : kMissingSingle);
        }
    }
    AppendSingle(data, kEndSingle);
    return data;
}

// ---- Loading ---------------------------------------------------------------------------------

struct LoadedPoint {
    double x = 0;
    double y = 0;
    TPlotDataPointStatus status = ipdpsValid;
};
// Per channel of the plot, the points to append in file order.
using LoadedChannels = std::vector<std::vector<LoadedPoint>>;

// A number field that is no number fails rather than loading as 0: a silent 0 would put a point
// where the file has none. An infinity or a NaN fails too: one would stretch an axis to its
// sentinels and crush the plot under labels hundreds of digits long.
double ReadNumber(std::string_view field, bool acceptComma) {
    std::string text(TrimBlanks(field));
    if (acceptComma) std::replace(text.begin(), text.end(), ',', '.');
    double value = 0;
    if (!TextToDouble(text, value) || !std::isfinite(value)) throw EPlotError(kInvalidData);
    return value;
}

// (x, y) with the Null and Empty words, which load as a marked point at Y 0.
LoadedPoint ReadPoint(double x, std::string_view yField, bool acceptComma) {
    const std::string_view y = TrimBlanks(yField);
    if (SameText(y, "NULL")) return {x, 0, ipdpsNull};
    if (SameText(y, "EMPTY")) return {x, 0, ipdpsEmpty};
    return {x, ReadNumber(y, acceptComma), ipdpsValid};
}

bool IsBlank(std::string_view field) { return TrimBlanks(field).empty(); }

// Field pairs (2k, 2k + 1) belong to channel k.
void ReadTextRows(const std::vector<std::string_view>& lines, char separator, LoadedChannels& channels) {
    for (size_t line = 1; line < lines.size(); ++line) {
        const std::vector<std::string_view> fields = SplitFields(lines[line], separator);
        for (size_t k = 0; k < channels.size() && 2 * k + 1 < fields.size(); ++k) {
            const std::string_view x = fields[2 * k];
            const std::string_view y = fields[2 * k + 1];
            if (IsBlank(x) || IsBlank(y)) continue;
            channels[k].push_back(ReadPoint(ReadNumber(x, true), y, true));
        }
    }
}

// Field 0 is X for every channel, field k + 1 channel k's Y. Logs are written with '.' only, so
// a ',' is no decimal separator here.
void ReadLogRows(const std::vector<std::string_view>& lines, char separator, LoadedChannels& channels) {
    for (size_t line = 1; line < lines.size(); ++line) {
        const std::vector<std::string_view> fields = SplitFields(lines[line], separator);
        if (IsBlank(fields[0])) continue;
        const double x = ReadNumber(fields[0], false);
        for (size_t k = 0; k < channels.size() && k + 1 < fields.size(); ++k) {
            if (IsBlank(fields[k + 1])) continue;
            channels[k].push_back(ReadPoint(x, fields[k + 1], false));
        }
    }
}

// Rows of singles until the end marker or the end of the data. The form keeps X only in rows 0
// and 1 and is meant for equally spaced X: later rows take X0 + i * (X1 - X0), which is what
// the writer's channel held when it was equally spaced (a 0 for every later X would pile the
// points up at the origin). A channel without both first X values has no spacing and so gets
// no later points.
void ReadCompactRows(std::string_view data, int fileChannels, LoadedChannels& channels) {
    if (fileChannels == 0) return;
    std::vector<double> firstX(channels.size(), 0);
    std::vector<double> secondX(channels.size(), 0);
    for (int64_t row = 0;; ++row) {
        for (int k = 0; k < fileChannels; ++k) {
            const bool loaded = static_cast<size_t>(k) < channels.size();
            double x = 0;
            if (row < 2) {
                if (!ReadSingle(data, x) || x > kEndThreshold) return;
                if (loaded) (row == 0 ? firstX : secondX)[static_cast<size_t>(k)] = x;
            } else if (loaded) {
                const size_t c = static_cast<size_t>(k);
                const bool spaced = firstX[c] < kMissingThreshold && secondX[c] < kMissingThreshold;
                x = spaced ? firstX[c] + static_cast<double>(row) * (secondX[c] - firstX[c]) : kMissingSingle;
            }
            double y = 0;
            if (!ReadSingle(data, y) || y > kEndThreshold) return;
            if (loaded && x < kMissingThreshold && y < kMissingThreshold)
                channels[static_cast<size_t>(k)].push_back({x, y, ipdpsValid});
        }
    }
}

LoadedChannels ReadDataFile(std::string_view text, size_t channelCount) {
    LoadedChannels channels(channelCount);
    const std::string_view first = FirstLine(text);
    if (IsCompactTitle(first)) {
        int fileChannels = 0;
        size_t bodyStart = 0;
        if (!ReadCompactHeader(text, fileChannels, bodyStart)) throw EPlotError(kInvalidData);
        ReadCompactRows(text.substr(bodyStart), fileChannels, channels);
        return channels;
    }
    const char separator = first.find('\t') != std::string_view::npos ? '\t' : ',';
    const std::vector<std::string_view> lines = SplitLines(text);
    if (StartsWithLogMark(first)) {
        ReadLogRows(lines, separator, channels);
    } else {
        ReadTextRows(lines, separator, channels);
    }
    return channels;
}

// ---- The log ---------------------------------------------------------------------------------

std::string LogHeader(const TPlotComponent& plot) {
    if (plot.GetDataFileFormat() == ipdffCompactInterval) return CompactHeader(plot.ChannelCount());
    const char separator = plot.GetDataFileColumnSeparatorChar();
    std::string text(kLogMark);
    for (int k = 0; k < plot.ChannelCount(); ++k) {
        text += separator;
        text += HeaderField(plot.GetChannel(k)->GetTitleText(), "(Y)", separator);
    }
    return text + kLineEnd;
}

// The rows a compact log file already holds, so that appended rows carry X only while the file
// has fewer than two. A file of another form, of another channel count or ending inside a row
// would take the new rows out of step.
int32_t CompactLogRows(const std::string& fileName, int channelCount, std::streamoff size) {
    std::ifstream in(fileName, std::ios::binary);
    std::string head(static_cast<size_t>(std::min<std::streamoff>(size, 64)), '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    int fileChannels = 0;
    size_t bodyStart = 0;
    if (!in || !ReadCompactHeader(head, fileChannels, bodyStart) || fileChannels != channelCount)
        throw EPlotError("Log File Format Mismatch");
    if (channelCount == 0) return 0;
    const int64_t body = size - static_cast<int64_t>(bodyStart);
    const int64_t wideRow = 8 * static_cast<int64_t>(channelCount);
    const int64_t narrowRow = 4 * static_cast<int64_t>(channelCount);
    const int64_t rows = body <= 2 * wideRow ? body / wideRow : 2 + (body - 2 * wideRow) / narrowRow;
    const int64_t rowBytes = rows <= 2 ? rows * wideRow : 2 * wideRow + (rows - 2) * narrowRow;
    if (rowBytes != body || rows > INT32_MAX) throw EPlotError("Log File Format Mismatch");
    return static_cast<int32_t>(rows);
}

// The size of an existing file; 0 when there is none.
std::streamoff ExistingFileSize(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary | std::ios::ate);
    if (!in) return 0;
    const std::streamoff size = in.tellg();
    return size > 0 ? size : 0;
}

// The pending rows, oldest first, X being channel 0's. `widths` holds per row how many channels
// took a value; each channel's newest points are dealt out to the rows it took part in, so a
// channel that sat a row out leaves its field empty (text) or writes a missing point (compact)
// there. Points the ring has overwritten since are missing too. Counts the rows written into
// `rowsWritten`.
std::string LogRows(const TPlotComponent& plot, const std::vector<int32_t>& widths, int32_t& rowsWritten) {
    const bool compact = plot.GetDataFileFormat() == ipdffCompactInterval;
    const char separator = plot.GetDataFileColumnSeparatorChar();
    const int channelCount = plot.ChannelCount();
    std::vector<int> next(static_cast<size_t>(channelCount));
    for (int k = 0; k < channelCount; ++k) {
        const auto taken = std::count_if(widths.begin(), widths.end(), [k](int32_t width) { return width > k; });
        next[static_cast<size_t>(k)] = plot.GetChannel(k)->GetCount() - static_cast<int>(taken);
    }
    std::string out;
    for (size_t r = 0; r < widths.size(); ++r) {
        const TPlotChannelCustom& first = *plot.GetChannel(0);
        const int xIndex = next[0];
        if (xIndex < 0) {
            // Channel 0's point of this row is gone: no X to write the row under.
            for (int k = 0; k < std::min<int>(widths[r], channelCount); ++k) ++next[static_cast<size_t>(k)];
            continue;
        }
        const double x = first.GetDataX(xIndex);
        const bool withX = rowsWritten < 2;
        ++rowsWritten;
        if (!compact) out += NumberText(x);
        for (int k = 0; k < channelCount; ++k) {
            const TPlotChannelCustom& channel = *plot.GetChannel(k);
            const int index = k < widths[r] ? next[static_cast<size_t>(k)]++ : -1;
            if (compact) {
                if (withX) AppendSingle(out, index >= 0 ? SingleOf(x) : kMissingSingle);
                AppendSingle(out, index >= 0 ? SingleOf(channel.GetDataY(index)) : kMissingSingle);
            } else {
                out += separator;
                if (index >= 0) out += YText(channel, index);
            }
        }
        if (!compact) out += kLineEnd;
    }
    return out;
}

}  // namespace

// ---- Data files ------------------------------------------------------------------------------

void TPlotComponent::SaveDataToFile(const std::string& fileName) {
    try {
        const std::string contents = dataFileFormat_ == ipdffCompactInterval
                                         ? CompactDataFile(*this)
                                         : TextDataFile(*this, GetDataFileColumnSeparatorChar());
        WriteText(fileName, contents, std::ios::trunc);
    } catch (const std::exception& error) {
        throw EPlotError(std::string("Error Saving Data - ") + error.what());
    }
    dataFileName_ = fileName;
    if (OnAfterSaveData) OnAfterSaveData();
}

// An update bracket the caller already holds stays open: EndUpdate would end it too.
void TPlotComponent::LoadDataFromFile(const std::string& fileName) {
    const bool wasLocked = GetUpdateLocked();
    BeginUpdate();
    try {
        const LoadedChannels channels =
            ReadDataFile(ReadWholeFile(fileName), static_cast<size_t>(std::max(ChannelCount(), 0)));
        for (size_t k = 0; k < channels.size(); ++k) {
            TPlotChannelCustom& channel = *GetChannel(static_cast<int>(k));
            for (const LoadedPoint& point : channels[k]) {
                channel.AddXY(point.x, point.y);
                if (point.status == ipdpsNull) channel.SetDataNull(channel.GetCount() - 1, true);
                if (point.status == ipdpsEmpty) channel.SetDataEmpty(channel.GetCount() - 1, true);
            }
        }
    } catch (const std::exception& error) {
        if (!wasLocked) EndUpdate();
        throw EPlotError(std::string("Error Loading Data - ") + error.what());
    }
    if (!wasLocked) EndUpdate();
    dataFileName_ = fileName;
    if (OnAfterLoadData) OnAfterLoadData();
}

// ---- The data log ----------------------------------------------------------------------------

// Appending to a file that does not exist yet, or is empty, still starts it with its header:
// without one the loader would take the first row for it.
void TPlotComponent::LogActivate(bool append) {
    if (TrimBlanks(logFileName_).empty()) throw EPlotError("Log File Name not Defined");
    if (loggingActive_) throw EPlotError("Logging Already Active");
    const std::streamoff existing = append ? ExistingFileSize(logFileName_) : 0;
    int32_t rowsInFile = 0;
    if (existing == 0) {
        WriteText(logFileName_, LogHeader(*this), std::ios::trunc);
    } else if (dataFileFormat_ == ipdffCompactInterval) {
        rowsInFile = CompactLogRows(logFileName_, ChannelCount(), existing);
    }
    loggingActive_ = true;
    pendingLogRows_ = 0;
    pendingLogWidths_.clear();
    logRowsWritten_ = rowsInFile;
}

// A failed write keeps the rows pending, so the next write tries them again and reports the
// failure again rather than dropping rows unseen.
void TPlotComponent::WriteLog() {
    if (loggingActive_ && !pendingLogWidths_.empty() && ChannelCount() > 0) {
        int32_t rowsWritten = logRowsWritten_;
        WriteText(logFileName_, LogRows(*this, pendingLogWidths_, rowsWritten), std::ios::app);
        logRowsWritten_ = rowsWritten;
    }
    pendingLogRows_ = 0;
    pendingLogWidths_.clear();
}

// The log ends even when its last write fails, so that a broken file cannot keep it running.
void TPlotComponent::LogDeactivate() {
    if (!loggingActive_) throw EPlotError("Logging not Active");
    try {
        WriteLog();
    } catch (...) {
        loggingActive_ = false;
        pendingLogRows_ = 0;
        pendingLogWidths_.clear();
        throw;
    }
    loggingActive_ = false;
}

// Values for channels the plot does not have fail before any point is added, as the row would
// otherwise be half added. A call without values adds nothing and so makes no row.
void TPlotComponent::AddDataArray(double x, const std::vector<double>& ys) {
    if (ys.size() > static_cast<size_t>(ChannelCount()))
        throw EPlotError("List index out of bounds (" + std::to_string(ChannelCount()) + ")");
    for (size_t k = 0; k < ys.size(); ++k) GetChannel(static_cast<int>(k))->AddXY(x, ys[k]);
    if (!loggingActive_ || ys.empty()) return;
    ++pendingLogRows_;
    pendingLogWidths_.push_back(static_cast<int32_t>(ys.size()));
    if (logBufferSize_ < 2 || pendingLogRows_ >= logBufferSize_) WriteLog();
}

}  // namespace ondrix
