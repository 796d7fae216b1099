#include "ConfigurationFolder.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace ondrix {

std::string UserConfigurationFolder(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome && xdgConfigHome[0] == '/') return std::string(xdgConfigHome) + "/ondrix";
    if (home && home[0] != '\0') return std::string(home) + "/.config/ondrix";
    return {};
}

std::string UserConfigurationFolder() {
    const char* home = std::getenv("HOME");
    if (!home || home[0] == '\0') {
        const passwd* account = getpwuid(getuid());
        home = account ? account->pw_dir : nullptr;
    }
    return UserConfigurationFolder(std::getenv("XDG_CONFIG_HOME"), home);
}

bool FolderIsWritable(const std::string& folder) {
    // Write and search: creating an entry needs both. The effective ids decide, as they do
    // for the creation itself.
    return !folder.empty() && faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace ondrix
