#pragma once
// The headless recorder's command line, kept stable for scripts:
//
//   ondrix-capture --port COMn|/dev/PATH [--baud N] [--data-bits 7|8]
//                  [--parity none|odd|even] [--stop-bits 1|1.5|2]
//                  [--elf FIRMWARE] --addr A1,A2,A3,A4 (--frames N | --seconds S)
//                  [--tsv FILE|-] [--dat FILE] [--reconnect]
//                  [--trigger CHn:rising|falling|either:LEVEL [--pre N]]
//   ondrix-capture --elf FIRMWARE --list

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/PortSettings.h"
#include "acquisition/TriggerDetector.h"
#include "acquisition/WireProtocol.h"

namespace ondrix {

// The longest --seconds: the recorder's clock counts nanoseconds in 64 bits, which ends near
// 292 years; a round limit well inside that refuses what it cannot count.
constexpr double kMaxCaptureSeconds = 1e9;

struct CaptureOptions {
    // Set when --port names a device path; otherwise the port is settings.PortNumber (COMn).
    std::string devicePath;
    PortSettings settings;
    std::array<ChannelRequest, kChannelCount> channels;
    // Exactly one of the two limits is set.
    std::optional<uint64_t> frames;
    std::optional<double> seconds;
    std::string tsvPath;  // "-" for standard output, empty for none
    std::string datPath;  // empty for none
    // A lost device is waited for instead of ending the recording.
    bool reconnect = false;
    // --elf: the firmware whose variables --addr may name. A channel whose item was given as a
    // name has it here (and it titles the channel in --dat); an item that is also hexadecimal
    // digits has that address in `channels` meanwhile, used when no variable has the name.
    std::string elfPath;
    std::array<std::string, kChannelCount> variableNames;
    // --trigger: nothing is recorded until the trigger channel crosses the level; the recording
    // then starts `preTrigger` samples (--pre) before the crossing sample, which is row
    // `preTrigger` (counted from 0) when that many samples came before it.
    std::optional<TriggerSettings> trigger;
    uint64_t preTrigger = 0;
};

struct CaptureCommand {
    bool help = false;
    // --elf FIRMWARE --list: the firmware's variables instead of a recording.
    std::string listElfPath;
    std::optional<CaptureOptions> options;
    std::string error;  // why the arguments were refused, when none of the above
};

CaptureCommand ParseCaptureCommand(const std::vector<std::string>& args);
std::string CaptureUsage();

}  // namespace ondrix
