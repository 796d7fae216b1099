#pragma once
// The serial devices of this machine as the system lists them, with the stable by-id names
// that udev gives USB adapters.

#include "workbench/SerialDeviceCatalog.h"

namespace ondrix {

class SystemSerialDevices final : public SerialDeviceCatalog {
public:
    std::vector<SerialDeviceInfo> Devices() const override;
};

}  // namespace ondrix
