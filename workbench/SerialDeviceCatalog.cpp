#include "workbench/SerialDeviceCatalog.h"

namespace ondrix {

std::string DeviceDescription(const SerialDeviceInfo& device) {
    std::string text;
    const auto append = [&text](const std::string& part) {
        if (part.empty()) return;
        if (!text.empty()) text += ", ";
        text += part;
    };
    append(device.Product);
    append(device.Manufacturer);
    if (!device.SerialNumber.empty()) append("serial number " + device.SerialNumber);
    return text;
}

}  // namespace ondrix
