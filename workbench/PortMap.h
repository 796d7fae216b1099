#pragma once
// Which device each COMn reaches, and binding a device no COMn names yet to a free number, by
// writing the ports-folder entry the port resolver reads (see platform/PortResolver.h).

#include <optional>
#include <string>
#include <vector>

#include "workbench/SerialDeviceCatalog.h"

namespace ondrix {

// What one COMn resolves to.
struct ComPortTarget {
    int PortNumber = 0;
    // The path the resolver gives: the ports-folder entry, or /dev/ttyS<n-1>.
    std::string Entry;
    // The device node behind it, all links followed; empty when nothing is there.
    std::string Device;
    // What the system knows of that device, if it lists it.
    std::optional<SerialDeviceInfo> Known;
};

// A listed device that no COMn reaches, and the free number it would be bound to.
struct UnlistedDevice {
    SerialDeviceInfo Device;
    int PortNumber = 0;
};

struct PortMap {
    std::vector<ComPortTarget> Ports;  // COM1 first
    std::vector<UnlistedDevice> Unlisted;
};

// The ports folder of the running program, as the default port resolver reads it; empty when
// the system cannot tell where the program is.
std::string ProgramPortsFolder();

// COM1..COM<portCount> through `portsFolder` (empty: the built-in rule only). A number is free
// for binding when the ports folder has no entry for it and its built-in device is not one the
// system lists: a bare /dev/ttyS node with no UART behind it is not taken.
PortMap MapPorts(int portCount, const std::string& portsFolder, const std::vector<SerialDeviceInfo>& devices);

// What COM<portNumber> reaches through `portsFolder`, with what the system lists about it.
ComPortTarget MapPort(int portNumber, const std::string& portsFolder, const std::vector<SerialDeviceInfo>& devices);

// "COM3 → /dev/ttyUSB0" with the entry it came through and the device's description on lines
// of their own; says so when nothing is there.
std::string PortDescription(const ComPortTarget& port);

// Makes COM<portNumber> reach `device` through a symbolic link in the ports folder (created if
// missing), named by its stable path where it has one. Returns the reason on failure, empty on
// success. An existing entry is never replaced.
std::string BindDevice(const std::string& portsFolder, int portNumber, const SerialDeviceInfo& device);

}  // namespace ondrix
