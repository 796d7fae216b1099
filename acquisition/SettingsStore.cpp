#include "SettingsStore.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "platform/ConfigurationFolder.h"
#include "platform/PortResolver.h"
#include "platform/WholeFile.h"

namespace ondrix {

namespace {

std::string FileIn(const std::string& folder) { return folder.empty() ? std::string() : folder + "/" + kSettingsFileName; }

bool Exists(const std::string& path) {
    struct stat status {};
    return !path.empty() && stat(path.c_str(), &status) == 0;
}

std::string RefusalMessage(const std::string& path, const std::string& reason, const MovedAside& kept) {
    std::string text = std::string(kSettingsFileOpenError) + "\n" + path + ": " + reason + ".\n";
    if (!kept.path.empty()) return text + "It is kept as " + kept.path + ".";
    return text + "It stays where it is: it could not be moved aside (" + kept.failure + ").";
}

}  // namespace

SettingsLocation DefaultSettingsLocation() { return {ExecutableDirectory(), UserConfigurationFolder()}; }

std::string SettingsSavePath(const SettingsLocation& location) {
    return FileIn(FolderIsWritable(location.programFolder) ? location.programFolder : location.userFolder);
}

std::string SettingsLoadPath(const SettingsLocation& location) {
    const std::string saved = SettingsSavePath(location);
    if (Exists(saved)) return saved;
    for (const std::string* folder : {&location.programFolder, &location.userFolder}) {
        const std::string other = FileIn(*folder);
        if (other != saved && Exists(other)) return other;
    }
    return {};
}

SettingsLoadResult LoadSettingsFile(const SettingsLocation& location, const ScopeSettings& inUse) {
    SettingsLoadResult result;
    result.settings = inUse;
    const std::string path = SettingsLoadPath(location);
    if (path.empty()) return result;
    const FileStart file = ReadFileStart(path, kSettingsFileSize);
    if (file.missing) return result;
    if (file.opened) {
        result = LoadSettings(file.bytes.data(), file.bytes.size(), file.size, inUse);
        if (!result.Refused()) return result;
    } else {
        result.status = SettingsLoadStatus::Unreadable;
        result.reason = file.failure;
    }
    result.message = RefusalMessage(path, result.reason, MoveAside(path, kDamagedSettingsSuffix));
    return result;
}

std::string SaveSettingsFile(const SettingsLocation& location, const ScopeSettings& settings) {
    const bool besideProgram = FolderIsWritable(location.programFolder);
    const std::string& folder = besideProgram ? location.programFolder : location.userFolder;
    if (folder.empty()) return std::string("Cannot write ") + kSettingsFileName + ": no folder to keep it in";
    if (!besideProgram) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) return "Cannot create " + folder + ": " + error.message();
    }
    return WriteFileAtomically(FileIn(folder), EncodeSettings(settings));
}

}  // namespace ondrix
