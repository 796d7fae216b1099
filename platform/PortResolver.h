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

#include <functional>
#include <string>

namespace ondrix {

using PortResolver = std::function<std::string(int portNumber)>;

// The folder that holds the running executable, without a trailing slash; empty if the system
// cannot tell.
std::string ExecutableDirectory();

// Resolves through `portsFolder` (default: ExecutableDirectory() + "/ports"); an empty folder
// name skips rule 1.
std::string ResolvePortPath(int portNumber, const std::string& portsFolder);
// Looks in ExecutableDirectory() + "/ports" at every call, so entries may change while running.
PortResolver DefaultPortResolver();
PortResolver PortResolverForFolder(std::string portsFolder);

}  // namespace ondrix
