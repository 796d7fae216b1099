#include "acquisition/ExtraSettings.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
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

}  // namespace ondrix
