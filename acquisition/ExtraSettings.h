#pragma once
// ondrix.ini: the settings that config.dat has no room for (its 136-byte layout is fixed), in
// the folder config.dat is kept in. One `key = value` line per setting; blanks around keys and
// values do not count, and lines starting with '#' or ';' are comments.
//
// Keys this version does not know are kept as they were when the file is written again, so that
// a newer version's settings survive a run of an older one. A missing file gives the defaults;
// a line that is not `key = value` is skipped.

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/WireProtocol.h"
#include "acquisition/SettingsStore.h"
#include "acquisition/TriggerSweep.h"

namespace ondrix {

constexpr const char* kExtraSettingsFileName = "ondrix.ini";

class ExtraSettings {
public:
    // Empty when the key is not set.
    std::string Value(const std::string& key) const;
    // Sets or replaces; an empty value removes the key. False (and nothing set) when the key is
    // not a key (empty, or holding '=', a line break or a leading '#' or ';') or the value holds a
    // line break or begins or ends with a blank, which the file could not give back.
    bool Set(const std::string& key, const std::string& value);
    const std::vector<std::pair<std::string, std::string>>& Entries() const { return entries_; }

    std::string Encode() const;
    static ExtraSettings Decode(const std::string& text);

private:
    std::vector<std::pair<std::string, std::string>> entries_;
};

// The firmware file the variables come from and, per channel, the variable shown on it.
struct FirmwareAssignments {
    std::string elfPath;
    // Channel 1 first; empty for a channel with no variable.
    std::array<std::string, kChannelCount> variables;

    bool operator==(const FirmwareAssignments& other) const {
        return elfPath == other.elfPath && variables == other.variables;
    }
    bool operator!=(const FirmwareAssignments& other) const { return !(*this == other); }
};

// "firmware.elf" and "firmware.ch1" .. "firmware.ch4".
FirmwareAssignments ReadFirmwareAssignments(const ExtraSettings& settings);
// False when a value cannot be kept in the file (see ExtraSettings::Set); the others are set.
bool WriteFirmwareAssignments(const FirmwareAssignments& assignments, ExtraSettings& settings);

// The scope's trigger: "trigger.on" (yes/no), "trigger.source" (CH1..CH4), "trigger.edge"
// (rising/falling/either), "trigger.level", "trigger.hysteresis", "trigger.mode"
// (auto/normal/single), "trigger.position" (percent) and "trigger.holdoff" (samples). Each key is
// read on its own: one that is missing, not exactly one of its words or a whole decimal integer,
// or out of its range gives that setting's default, and the others are still taken.
SweepSettings ReadSweepSettings(const ExtraSettings& settings);
// Levels and hysteresis are written as whole numbers, and every number within its range, so the
// file always holds what reading takes back.
void WriteSweepSettings(const SweepSettings& sweep, ExtraSettings& settings);

// The file saving writes: beside where config.dat is saved. Empty when no folder is known.
std::string ExtraSettingsSavePath(const SettingsLocation& location);
// The file loading reads: the one at the save path, else the one in the other folder; empty
// when there is none.
std::string ExtraSettingsLoadPath(const SettingsLocation& location);

// Defaults (no entries) when there is no file or it cannot be read.
ExtraSettings LoadExtraSettingsFile(const SettingsLocation& location);
// Replaces the file in one step, creating the user folder when the file goes there. Returns an
// empty text on success, else the reason; the file that was there before is then untouched.
std::string SaveExtraSettingsFile(const SettingsLocation& location, const ExtraSettings& settings);
// Reads the file afresh, lets `update` set its keys and saves it, so that the settings the
// program's other parts keep there stay as they are. Returns what SaveExtraSettingsFile does.
std::string UpdateExtraSettingsFile(const SettingsLocation& location,
                                    const std::function<void(ExtraSettings&)>& update);

}  // namespace ondrix
