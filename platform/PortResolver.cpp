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

std::string DefaultPath(int portNumber) { return "/dev/ttyS" + std::to_string(portNumber - 1); }

}  // namespace

std::string ExecutableDirectory() {
    std::vector<char> target(4096);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", target.data(), target.size());
        if (length < 0) return {};
        if (static_cast<size_t>(length) < target.size()) {
            const std::string path(target.data(), static_cast<size_t>(length));
            const size_t slash = path.rfind('/');
            if (slash == std::string::npos) return {};
            return slash == 0 ? std::string("/") : path.substr(0, slash);
        }
        target.resize(target.size() * 2);  // the path filled the buffer: it may have been cut
    }
}

std::string ResolvePortPath(int portNumber, const std::string& portsFolder) {
    if (portNumber < 1) return {};
    if (portsFolder.empty()) return DefaultPath(portNumber);

    const std::string entry = portsFolder + "/COM" + std::to_string(portNumber);
    struct stat info {};
    if (lstat(entry.c_str(), &info) != 0) return DefaultPath(portNumber);
    if (S_ISLNK(info.st_mode)) return entry;
    if (!S_ISREG(info.st_mode)) return DefaultPath(portNumber);

    std::ifstream file(entry);
    if (!file) return entry;
    std::string firstLine;
    std::getline(file, firstLine);
    const std::string device = Trimmed(firstLine);
    if (device.empty()) return DefaultPath(portNumber);
    return device.front() == '/' ? device : portsFolder + "/" + device;
}

PortResolver DefaultPortResolver() {
    return [](int portNumber) {
        const std::string folder = ExecutableDirectory();
        return ResolvePortPath(portNumber, folder.empty() ? std::string() : folder + "/ports");
    };
}

PortResolver PortResolverForFolder(std::string portsFolder) {
    return [folder = std::move(portsFolder)](int portNumber) {
        return ResolvePortPath(portNumber, folder);
    };
}

}  // namespace ondrix
