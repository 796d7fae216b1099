#include "PortIdentity.h"

#include <filesystem>
#include <system_error>

namespace ondrix {

namespace fs = std::filesystem;

std::string DeviceNodeBehind(const std::string& path) {
    if (path.empty()) return {};
    std::error_code error;
    const fs::path node = fs::canonical(path, error);
    return error ? std::string() : node.string();
}

std::string StableNameOf(const std::string& path, const std::string& stableNamesFolder) {
    const std::string node = DeviceNodeBehind(path);
    if (node.empty()) return {};
    std::error_code error;
    for (fs::directory_iterator entry(stableNamesFolder, error), end; !error && entry != end; entry.increment(error))
        if (DeviceNodeBehind(entry->path().string()) == node) return entry->path().string();
    return {};
}

OpenedPort IdentifyOpenedPort(const ResolvedPort& resolved, const std::string& stableNamesFolder) {
    return {resolved, StableNameOf(resolved.path, stableNamesFolder)};
}

RejoinChoice ChooseRejoin(const OpenedPort& lost, const ResolvedPort& now, const std::string& stableNamesFolder) {
    if (now.path.empty()) return {{}, lost, "the port number names no device"};
    if (now.builtIn && !lost.resolved.builtIn)
        return {{}, lost, "its entry in the ports folder is gone, and " + now.path + " is not opened in its place"};
    if (now.target != lost.resolved.target || now.builtIn != lost.resolved.builtIn)
        return {now.path, IdentifyOpenedPort(now, stableNamesFolder), {}};
    if (!lost.stableName.empty()) return {lost.stableName, lost, {}};
    return {now.path, lost, {}};
}

std::string AwaitedDeviceName(const OpenedPort& lost) {
    if (!lost.stableName.empty()) return lost.stableName;
    if (!lost.resolved.target.empty()) return lost.resolved.target;
    return lost.resolved.path;
}

}  // namespace ondrix
