#pragma once
// The serial devices the system knows of, and what it knows about each: where a user can tell
// which COM number is their adapter. Behind an interface so that the setup dialog can be shown a
// list of devices that are not plugged into this machine.

#include <string>
#include <vector>

namespace ondrix {

struct SerialDeviceInfo {
    // The device node, e.g. /dev/ttyUSB0.
    std::string Path;
    // A name that stays the same across plugging in again and reboots, e.g.
    // /dev/serial/by-id/usb-..., empty where the system gives none.
    std::string StablePath;
    std::string Product;
    std::string Manufacturer;
    std::string SerialNumber;
};

class SerialDeviceCatalog {
public:
    virtual ~SerialDeviceCatalog() = default;
    // Asked again each time the dialog is shown or its port list is opened, so that an adapter
    // plugged in meanwhile shows up.
    virtual std::vector<SerialDeviceInfo> Devices() const = 0;
};

// "CP2102 USB to UART Bridge, Silicon Labs, serial number 0001", leaving out what is unknown;
// empty when nothing is.
std::string DeviceDescription(const SerialDeviceInfo& device);

}  // namespace ondrix
