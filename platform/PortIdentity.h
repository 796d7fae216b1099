#pragma once
// Which device a COMn reached when it was opened, so that after the device went away the port
// is rejoined to that device and never to another that took its place.
//
// Two things can stand in for a lost device unnoticed. When a ports-folder entry goes away with
// its device (the virtual MPU removes its link when it ends), COMn falls back to the built-in
// /dev/ttyS<n-1>, which on most machines is a real UART that opens fine and says nothing. And a
// USB adapter's node (/dev/ttyUSB0) is given to whichever adapter is plugged in next. So the
// identity kept is what the user chose (the entry and what it named) and, where the system has
// one, the adapter's stable /dev/serial/by-id name, which comes back only with that adapter,
// under whatever ttyUSBn it gets.

#include <string>

#include "PortResolver.h"

namespace ondrix {

// Where the system keeps the stable names of USB serial adapters.
inline constexpr const char* kStableNamesFolder = "/dev/serial/by-id";

// The device a COMn reached when it was opened.
struct OpenedPort {
    ResolvedPort resolved;
    // Its name in the stable-names folder, empty where it has none (on-board UARTs,
    // pseudo-terminals).
    std::string stableName;
};

// The device node a path ends at, links followed; empty when nothing is there (a dangling link,
// an unplugged adapter's stable name).
std::string DeviceNodeBehind(const std::string& path);

// The entry of `stableNamesFolder` that leads to the same device node as `path`; empty when
// none does or `path` leads nowhere.
std::string StableNameOf(const std::string& path, const std::string& stableNamesFolder = kStableNamesFolder);

OpenedPort IdentifyOpenedPort(const ResolvedPort& resolved, const std::string& stableNamesFolder = kStableNamesFolder);

// What a rejoin opens, given the port that was lost and what its number resolves to now.
struct RejoinChoice {
    // Empty: nothing may be opened yet; `waiting` says why.
    std::string path;
    // The identity to keep once `path` is open.
    OpenedPort identity;
    std::string waiting;
};

// The rules, in order:
//  - The entry that named the lost device is gone and the number now falls back to the
//    built-in device: nothing is opened; the user never chose that device.
//  - The entry now names something else than it did (a virtual MPU restarted on a new
//    pseudo-terminal, the user re-pointed it): that is the user's choice now, and it is opened.
//  - Otherwise the lost device itself: by its stable name where it had one, else as the
//    number resolves, which is where it was.
RejoinChoice ChooseRejoin(const OpenedPort& lost, const ResolvedPort& now,
                          const std::string& stableNamesFolder = kStableNamesFolder);

// The device a rejoin waits for, as the user may recognise it: the stable name, else the path
// the entry named, else the path.
std::string AwaitedDeviceName(const OpenedPort& lost);

}  // namespace ondrix
