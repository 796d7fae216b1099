#include "workbench/PortMap.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/PortIdentity.h"
#include "platform/PortResolver.h"

namespace ondrix {

namespace fs = std::filesystem;

namespace {

bool HasEntry(const std::string& portsFolder, int portNumber) {
    if (portsFolder.empty()) return false;
    struct stat info {};
    const std::string entry = portsFolder + "/COM" + std::to_string(portNumber);
    return lstat(entry.c_str(), &info) == 0;
}

}  // namespace

ComPortTarget MapPort(int portNumber, const std::string& portsFolder, const std::vector<SerialDeviceInfo>& devices) {
    ComPortTarget port;
    port.PortNumber = portNumber;
    port.Entry = ResolvePortPath(portNumber, portsFolder);
    port.Device = DeviceNodeBehind(port.Entry);
    if (port.Device.empty()) return port;
    for (const SerialDeviceInfo& device : devices) {
        if (DeviceNodeBehind(device.Path) == port.Device) {
            port.Known = device;
            break;
        }
    }
    return port;
}

std::string ProgramPortsFolder() {
    const std::string folder = ExecutableDirectory();
    return folder.empty() ? std::string() : folder + "/ports";
}

PortMap MapPorts(int portCount, const std::string& portsFolder, const std::vector<SerialDeviceInfo>& devices) {
    std::vector<std::string> deviceNodes;
    for (const SerialDeviceInfo& device : devices) deviceNodes.push_back(DeviceNodeBehind(device.Path));
    const auto listedAt = [&deviceNodes](const std::string& node) -> int {
        if (node.empty()) return -1;
        const auto found = std::find(deviceNodes.begin(), deviceNodes.end(), node);
        return found == deviceNodes.end() ? -1 : static_cast<int>(found - deviceNodes.begin());
    };

    PortMap map;
    std::vector<bool> reached(devices.size(), false);
    std::vector<int> freeNumbers;
    for (int number = 1; number <= portCount; ++number) {
        ComPortTarget port;
        port.PortNumber = number;
        port.Entry = ResolvePortPath(number, portsFolder);
        port.Device = DeviceNodeBehind(port.Entry);
        const int listed = listedAt(port.Device);
        if (listed >= 0) {
            port.Known = devices[listed];
            reached[listed] = true;
        } else if (!HasEntry(portsFolder, number)) {
            freeNumbers.push_back(number);
        }
        map.Ports.push_back(std::move(port));
    }

    if (portsFolder.empty()) return map;  // nowhere to bind
    size_t nextFree = 0;
    for (size_t i = 0; i < devices.size() && nextFree < freeNumbers.size(); ++i) {
        if (reached[i] || deviceNodes[i].empty()) continue;
        map.Unlisted.push_back({devices[i], freeNumbers[nextFree++]});
    }
    return map;
}

std::string PortDescription(const ComPortTarget& port) {
    const std::string name = "COM" + std::to_string(port.PortNumber);
    if (port.Entry.empty()) return name + ": no device";
    if (port.Device.empty()) return name + " → " + port.Entry + " (not present)";
    std::string text = name + " → " + port.Device;
    if (port.Entry != port.Device) text += "\nthrough " + port.Entry;
    if (port.Known) {
        const std::string description = DeviceDescription(*port.Known);
        if (!description.empty()) text += "\n" + description;
    }
    return text;
}

std::string BindDevice(const std::string& portsFolder, int portNumber, const SerialDeviceInfo& device) {
    if (portsFolder.empty()) return "the program's ports folder is unknown";
    std::error_code error;
    fs::create_directories(portsFolder, error);
    if (error) return portsFolder + ": " + error.message();
    const fs::path entry = fs::path(portsFolder) / ("COM" + std::to_string(portNumber));
    const std::string target = device.StablePath.empty() ? device.Path : device.StablePath;
    // create_symlink refuses an existing name, so an entry made meanwhile is kept.
    fs::create_symlink(target, entry, error);
    if (error) return entry.string() + ": " + error.message();
    return {};
}

}  // namespace ondrix
