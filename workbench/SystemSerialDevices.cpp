#include "workbench/SystemSerialDevices.h"

#include <QSerialPortInfo>

#include <filesystem>
#include <map>
#include <system_error>

#include "platform/PortIdentity.h"

namespace ondrix {

namespace {

// Device node -> its by-id link. Only USB (and some platform) devices have one; a missing
// folder just means none has.
std::map<std::string, std::string> StableNames() {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(kStableNamesFolder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code resolveError;
        const fs::path device = fs::canonical(entry->path(), resolveError);
        if (!resolveError) names.emplace(device.string(), entry->path().string());
    }
    return names;
}

}  // namespace

std::vector<SerialDeviceInfo> SystemSerialDevices::Devices() const {
    const std::map<std::string, std::string> stableNames = StableNames();
    std::vector<SerialDeviceInfo> devices;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        SerialDeviceInfo device;
        device.Path = port.systemLocation().toStdString();
        const auto stable = stableNames.find(device.Path);
        if (stable != stableNames.end()) device.StablePath = stable->second;
        device.Product = port.description().toStdString();
        device.Manufacturer = port.manufacturer().toStdString();
        device.SerialNumber = port.serialNumber().toStdString();
        devices.push_back(std::move(device));
    }
    return devices;
}

}  // namespace ondrix
