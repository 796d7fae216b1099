#pragma once
// Maps the port numbers the scope stores and shows (COM1, COM2, ...) to Linux device paths.
//
// The rule, in order:
//  1. An entry named COMn in the `ports` folder beside the executable: a symbolic link to the
//     device (the link itself is opened, so it may point at /dev/ttyUSB0, /dev/pts/7, ...), or
//     a regular file whose first line is the device path (blanks around it ignored; a relative
//     path is taken from the ports folder, as a relative link is). A file that is empty, or
//     whose first line is blank, counts as no entry. A file that cannot be read resolves to
//     itself, so that opening it fails with the reason rather than reaching another device.
//  2. Otherwise the built-in default COMn -> /dev/ttyS<n-1>, the numbering Linux gives the
//     on-board UARTs in the same order as COM ports.
// Numbers below 1 name no port: they resolve to an empty path, which the serial link reports
// as "no such port" without trying to open anything.
//
// A resolution also says which of the two rules gave it, and what the entry named: a device
// that goes away takes its entry's meaning with it, and the link must not then take the
// built-in device, which the user never chose, for the one that went away.

#include <functional>
#include <string>
#include <utility>

namespace ondrix {

// What COMn resolved to.
struct ResolvedPort {
    ResolvedPort() = default;
    // A path given outright (a device named on the command line) is the user's own choice and
    // names itself. Implicit, so that a resolver may simply answer a path.
    ResolvedPort(std::string devicePath) : path(std::move(devicePath)), target(path) {}

    // What to open; empty when the number names no port.
    std::string path;
    // What the entry named when it was read (a link's target as written, a file's line), or the
    // path itself where no entry was read. Two resolutions with the same target reach the same
    // place as far as the user said.
    std::string target;
    // Rule 2 gave it: no entry in the ports folder names the port.
    bool builtIn = false;
};

using PortResolver = std::function<ResolvedPort(int portNumber)>;
// Rule 2, replaceable so that tests can stand a pseudo-terminal in for /dev/ttyS<n-1>.
using BuiltInPortRule = std::function<std::string(int portNumber)>;

// /dev/ttyS<n-1>.
std::string BuiltInPortPath(int portNumber);

// The folder that holds the running executable, without a trailing slash; empty if the system
// cannot tell.
std::string ExecutableDirectory();

// Resolves through `portsFolder`; an empty folder name skips rule 1.
ResolvedPort ResolvePort(int portNumber, const std::string& portsFolder,
                         const BuiltInPortRule& builtIn = BuiltInPortPath);
// The path alone.
std::string ResolvePortPath(int portNumber, const std::string& portsFolder);
// Looks in ExecutableDirectory() + "/ports" at every call, so entries may change while running.
PortResolver DefaultPortResolver();
PortResolver PortResolverForFolder(std::string portsFolder, BuiltInPortRule builtIn = BuiltInPortPath);

}  // namespace ondrix
