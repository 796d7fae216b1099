#include "PortResolver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <utility>
#include <vector>

namespace ondrix {

namespace {

std::string Trimmed(const std::string& text) {
    const char* const blanks = " \t\r\n\f\v";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

ResolvedPort BuiltIn(int portNumber, const BuiltInPortRule& rule) {
    ResolvedPort port(rule(portNumber));
    port.builtIn = true;
    return port;
}

// The link's own text, as written, however long; empty if it cannot be read.
std::string LinkText(const std::string& link) {
    std::vector<char> target(4096);
    for (;;) {
        const ssize_t length = readlink(link.c_str(), target.data(), target.size());
        if (length < 0) return {};
        if (static_cast<size_t>(length) < target.size()) return std::string(target.data(), static_cast<size_t>(length));
        target.resize(target.size() * 2);
    }
}

}  // namespace

std::string BuiltInPortPath(int portNumber) { return "/dev/ttyS" + std::to_string(portNumber - 1); }

std::string ExecutableDirectory() {
    const std::string path = LinkText("/proc/self/exe");
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

ResolvedPort ResolvePort(int portNumber, const std::string& portsFolder, const BuiltInPortRule& builtIn) {
    if (portNumber < 1) return {};
    if (portsFolder.empty()) return BuiltIn(portNumber, builtIn);

    const std::string entry = portsFolder + "/COM" + std::to_string(portNumber);
    struct stat info {};
    if (lstat(entry.c_str(), &info) != 0) return BuiltIn(portNumber, builtIn);
    if (S_ISLNK(info.st_mode)) {
        ResolvedPort port(entry);
        port.target = LinkText(entry);
        return port;
    }
    if (!S_ISREG(info.st_mode)) return BuiltIn(portNumber, builtIn);

    std::ifstream file(entry);
    if (!file) return ResolvedPort(entry);
    std::string firstLine;
    std::getline(file, firstLine);
    const std::string device = Trimmed(firstLine);
    if (device.empty()) return BuiltIn(portNumber, builtIn);
    return ResolvedPort(device.front() == '/' ? device : portsFolder + "/" + device);
}

std::string ResolvePortPath(int portNumber, const std::string& portsFolder) {
    return ResolvePort(portNumber, portsFolder).path;
}

PortResolver DefaultPortResolver() {
    return [](int portNumber) {
        const std::string folder = ExecutableDirectory();
        return ResolvePort(portNumber, folder.empty() ? std::string() : folder + "/ports");
    };
}

PortResolver PortResolverForFolder(std::string portsFolder, BuiltInPortRule builtIn) {
    return [folder = std::move(portsFolder), builtIn = std::move(builtIn)](int portNumber) {
        return ResolvePort(portNumber, folder, builtIn);
    };
}

}  // namespace ondrix
