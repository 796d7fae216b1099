#include "acquisition/ExtraSettings.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/WholeFile.h"

namespace ondrix {

namespace {

// Far more than any setting needs; a stray huge file is not read whole.
constexpr size_t kMaxFileBytes = 1 << 20;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string Trim(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

bool ValidKey(const std::string& key) {
    return !key.empty() && key == Trim(key) && !HasLineBreak(key) && key.find('=') == std::string::npos &&
           key[0] != '#' && key[0] != ';';
}

bool ValidValue(const std::string& value) { return value == Trim(value) && !HasLineBreak(value); }

std::string ChannelKey(int channel) { return "firmware.ch" + std::to_string(channel + 1); }
constexpr const char* kElfKey = "firmware.elf";

// ---- The trigger's keys

constexpr const char* kTriggerOnKey = "trigger.on";
constexpr const char* kTriggerSourceKey = "trigger.source";
constexpr const char* kTriggerEdgeKey = "trigger.edge";
constexpr const char* kTriggerLevelKey = "trigger.level";
constexpr const char* kTriggerHysteresisKey = "trigger.hysteresis";
constexpr const char* kTriggerModeKey = "trigger.mode";
constexpr const char* kTriggerPositionKey = "trigger.position";
constexpr const char* kTriggerHoldOffKey = "trigger.holdoff";

template <typename T>
struct Word {
    const char* text;
    T value;
};

const Word<bool> kSwitchWords[] = {{"yes", true}, {"no", false}};
const Word<TriggerMode> kModeWords[] = {
    {"auto", TriggerMode::Auto}, {"normal", TriggerMode::Normal}, {"single", TriggerMode::Single}};

template <typename T, size_t N>
std::optional<T> FromWord(const std::string& text, const Word<T> (&words)[N]) {
    for (const Word<T>& word : words)
        if (text == word.text) return word.value;
    return std::nullopt;
}

template <typename T, size_t N>
std::string ToWord(T value, const Word<T> (&words)[N]) {
    for (const Word<T>& word : words)
        if (word.value == value) return word.text;
    return {};
}

// The whole text as a decimal integer within low .. high: no blanks, no '+', nothing after it.
std::optional<long long> ParseWholeInteger(const std::string& text, long long low, long long high) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < low || value > high) return std::nullopt;
    return value;
}

// Levels and hysteresis are whole numbers once within range.
std::string WholeText(double value) { return std::to_string(static_cast<long long>(value)); }

bool Exists(const std::string& path) {
    struct stat status {};
    return !path.empty() && stat(path.c_str(), &status) == 0;
}

std::string FolderOf(const std::string& file) {
    return file.empty() ? std::string() : std::filesystem::path(file).parent_path().string();
}

std::string FileIn(const std::string& folder) {
    return folder.empty() ? std::string() : folder + "/" + kExtraSettingsFileName;
}

}  // namespace

std::string ExtraSettings::Value(const std::string& key) const {
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&key](const auto& entry) { return entry.first == key; });
    return found == entries_.end() ? std::string() : found->second;
}

bool ExtraSettings::Set(const std::string& key, const std::string& value) {
    if (!ValidKey(key) || !ValidValue(value)) return false;
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&key](const auto& entry) { return entry.first == key; });
    if (value.empty()) {
        if (found != entries_.end()) entries_.erase(found);
    } else if (found != entries_.end()) {
        found->second = value;
    } else {
        entries_.emplace_back(key, value);
    }
    return true;
}

std::string ExtraSettings::Encode() const {
    std::string text;
    for (const auto& [key, value] : entries_) text += key + " = " + value + "\n";
    return text;
}

ExtraSettings ExtraSettings::Decode(const std::string& text) {
    ExtraSettings settings;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(at, end - at));
        at = end + 1;
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        // A later line for the same key wins, as it would for a person reading the file.
        settings.Set(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
    return settings;
}

FirmwareAssignments ReadFirmwareAssignments(const ExtraSettings& settings) {
    FirmwareAssignments assignments;
    assignments.elfPath = settings.Value(kElfKey);
    for (int c = 0; c < kChannelCount; ++c) assignments.variables[c] = settings.Value(ChannelKey(c));
    return assignments;
}

bool WriteFirmwareAssignments(const FirmwareAssignments& assignments, ExtraSettings& settings) {
    bool all = settings.Set(kElfKey, assignments.elfPath);
    for (int c = 0; c < kChannelCount; ++c) all = settings.Set(ChannelKey(c), assignments.variables[c]) && all;
    return all;
}

SweepSettings ReadSweepSettings(const ExtraSettings& settings) {
    SweepSettings sweep;
    TriggerSettings& detection = sweep.detection;
    if (const auto on = FromWord(settings.Value(kTriggerOnKey), kSwitchWords)) sweep.on = *on;
    if (const auto channel = TriggerChannelFromName(settings.Value(kTriggerSourceKey))) detection.channel = *channel;
    if (const auto edge = TriggerEdgeFromName(settings.Value(kTriggerEdgeKey))) detection.edge = *edge;
    if (const auto level = ParseWholeInteger(settings.Value(kTriggerLevelKey), kTriggerLevelMin, kTriggerLevelMax))
        detection.level = static_cast<double>(*level);
    if (const auto hysteresis = ParseWholeInteger(settings.Value(kTriggerHysteresisKey), 0, kTriggerHysteresisMax))
        detection.hysteresis = static_cast<double>(*hysteresis);
    if (const auto mode = FromWord(settings.Value(kTriggerModeKey), kModeWords)) sweep.mode = *mode;
    if (const auto position = ParseWholeInteger(settings.Value(kTriggerPositionKey), 0, 100))
        sweep.positionPercent = static_cast<int>(*position);
    if (const auto holdOff = ParseWholeInteger(settings.Value(kTriggerHoldOffKey), 0, kTriggerHoldOffMax))
        sweep.holdOff = static_cast<uint32_t>(*holdOff);
    return sweep;
}

void WriteSweepSettings(const SweepSettings& sweep, ExtraSettings& settings) {
    const SweepSettings within = WithinRanges(sweep);
    const TriggerSettings& detection = within.detection;
    settings.Set(kTriggerOnKey, ToWord(within.on, kSwitchWords));
    settings.Set(kTriggerSourceKey, TriggerChannelName(detection.channel));
    settings.Set(kTriggerEdgeKey, TriggerEdgeName(detection.edge));
    settings.Set(kTriggerLevelKey, WholeText(detection.level));
    settings.Set(kTriggerHysteresisKey, WholeText(detection.hysteresis));
    settings.Set(kTriggerModeKey, ToWord(within.mode, kModeWords));
    settings.Set(kTriggerPositionKey, std::to_string(within.positionPercent));
    settings.Set(kTriggerHoldOffKey, std::to_string(within.holdOff));
}

std::string ExtraSettingsSavePath(const SettingsLocation& location) {
    return FileIn(FolderOf(SettingsSavePath(location)));
}

std::string ExtraSettingsLoadPath(const SettingsLocation& location) {
    const std::string saved = ExtraSettingsSavePath(location);
    if (Exists(saved)) return saved;
    for (const std::string* folder : {&location.programFolder, &location.userFolder}) {
        const std::string other = FileIn(*folder);
        if (other != saved && Exists(other)) return other;
    }
    return {};
}

ExtraSettings LoadExtraSettingsFile(const SettingsLocation& location) {
    const std::string path = ExtraSettingsLoadPath(location);
    const FileStart file = path.empty() ? FileStart{} : ReadFileStart(path, kMaxFileBytes);
    if (!file.opened) return {};
    return ExtraSettings::Decode(std::string(file.bytes.begin(), file.bytes.end()));
}

std::string SaveExtraSettingsFile(const SettingsLocation& location, const ExtraSettings& settings) {
    const std::string path = ExtraSettingsSavePath(location);
    if (path.empty()) return std::string("Cannot write ") + kExtraSettingsFileName + ": no folder to keep it in";
    const std::string folder = FolderOf(path);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return "Cannot create " + folder + ": " + error.message();
    const std::string text = settings.Encode();
    return WriteFileAtomically(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string UpdateExtraSettingsFile(const SettingsLocation& location,
                                    const std::function<void(ExtraSettings&)>& update) {
    ExtraSettings settings = LoadExtraSettingsFile(location);
    update(settings);
    return SaveExtraSettingsFile(location, settings);
}

}  // namespace ondrix
