#pragma once
// A ports-folder entry (see PortResolver.h) that a program serving a device makes for as long as
// it serves it: `ondrix-mpu-sim --link COMn` and `ondrix-board --link COMn`.

#include <filesystem>
#include <string>

namespace ondrix {

// "COM" and a port number from 1, as --link takes it: no sign, no leading zero, at most 9 digits.
bool IsPortLinkName(const std::string& text);

// `link` (ports/COMn) pointing at `target` from construction to destruction. Throws
// std::runtime_error, naming the entry and the reason, when it cannot be made.
class PortLink {
public:
    PortLink(std::filesystem::path link, const std::string& target);
    // Leaves the link alone if another program has taken the name over meanwhile.
    ~PortLink();
    PortLink(const PortLink&) = delete;
    PortLink& operator=(const PortLink&) = delete;

private:
    std::filesystem::path link_;
    std::filesystem::path target_;
};

}  // namespace ondrix
