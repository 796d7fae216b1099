#pragma once
// The scope's command line. Read before the application exists, so that --help and mistakes
// need no display. Double-dash arguments must be ours; the rest is Qt's (-platform xcb,
// -style fusion) and passes through.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/WireProtocol.h"

namespace ondrix {

struct ProgramOptions {
    bool run = false;
    double quitAfterSeconds = 0;  // 0: stay until closed
    // The four address boxes' start, channel 1 first, instead of the stored addresses.
    std::optional<std::array<uint32_t, kChannelCount>> addresses;
    bool help = false;

    // A script drives the start: nothing at start-up may wait for the user.
    bool Unattended() const { return run || quitAfterSeconds > 0; }
};

extern const char* const kProgramUsage;

// Throws std::invalid_argument, with a message naming the option, for a mistake.
ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments);

}  // namespace ondrix
