#pragma once
// Where config.dat lives, and reading and writing it there.
//
// Its home is the folder of the running executable, so that a copy of the program carries its
// setup along. When that folder cannot take a file (an installed, read-only program), the
// user's configuration folder does. Loading looks first where saving would write, so that
// what was saved last is what comes back, even when an older file sits in the other place.

#include <string>

#include "SettingsFile.h"

namespace ondrix {

constexpr const char* kSettingsFileName = "config.dat";
// Appended to the name of a refused config.dat that is kept aside.
constexpr const char* kDamagedSettingsSuffix = ".bad";

struct SettingsLocation {
    std::string programFolder;  // the executable's folder; empty when the system cannot tell
    std::string userFolder;     // the user's configuration folder; empty when there is none
};

// ExecutableDirectory() and UserConfigurationFolder().
SettingsLocation DefaultSettingsLocation();

// The file saving writes: in the program folder when a file can be created there, else in the
// user folder. Empty when neither folder is known.
std::string SettingsSavePath(const SettingsLocation& location);
// The file loading reads: the one at the save path when it exists, else the one in the other
// folder when that exists; empty when there is none.
std::string SettingsLoadPath(const SettingsLocation& location);

// Missing when there is no file; otherwise as LoadSettings, and Unreadable for a file that
// cannot be read (no permission, a folder, a FIFO, which is never waited for). A refused file
// is moved aside at once, to config.dat.bad or, when that is taken, config.dat.bad.2, .3, ...,
// so that the next save, which writes the values in use, cannot destroy what the user may
// want back. Its message then reads kSettingsFileOpenError, then the file's path and the
// reason, then where it was kept (or why it could not be moved).
SettingsLoadResult LoadSettingsFile(const SettingsLocation& location, const ScopeSettings& inUse);
// Replaces the file in one step, creating the user folder when the file goes there. Returns an
// empty text on success, else the reason; the file that was there before is then untouched.
std::string SaveSettingsFile(const SettingsLocation& location, const ScopeSettings& settings);

}  // namespace ondrix
