#pragma once
// Where a user's own settings go when the program's folder cannot take them.

#include <string>

namespace ondrix {

// "<base>/ondrix", base being $XDG_CONFIG_HOME when it is an absolute path (the convention
// says a relative one is to be ignored), else "<home>/.config". Either argument may be null or
// empty; empty when neither gives a base.
std::string UserConfigurationFolder(const char* xdgConfigHome, const char* home);
// The same from the environment; without HOME, the home folder of the user's account entry.
std::string UserConfigurationFolder();

// True when a file can be created in `folder` by this process (false for an empty name).
bool FolderIsWritable(const std::string& folder);

}  // namespace ondrix
