#include "platform/PortLink.h"

#include <unistd.h>

#include <stdexcept>
#include <system_error>
#include <utility>

namespace ondrix {

namespace fs = std::filesystem;

bool IsPortLinkName(const std::string& text) {
    const std::string digits = text.size() > 3 && text.compare(0, 3, "COM") == 0 ? text.substr(3) : "";
    return !digits.empty() && digits[0] != '0' && digits.find_first_not_of("0123456789") == std::string::npos &&
           digits.size() <= 9;
}

PortLink::PortLink(fs::path link, const std::string& target) : link_(std::move(link)), target_(target) {
    std::error_code error;
    fs::create_directories(link_.parent_path(), error);
    if (error) throw std::runtime_error("cannot create " + link_.parent_path().string() + ": " + error.message());
    // A regular file there is a hand-written mapping, not ours to overwrite; an old link
    // (from a server that was killed) is.
    const fs::file_status existing = fs::symlink_status(link_, error);
    if (fs::exists(existing) && !fs::is_symlink(existing))
        throw std::runtime_error("cannot create " + link_.string() + ": something that is not a link is in the way");
    // Made aside and renamed over, so that a scope resolving the port never finds it missing.
    const fs::path fresh = link_.string() + "." + std::to_string(getpid()) + ".new";
    fs::remove(fresh, error);
    fs::create_symlink(target_, fresh, error);
    if (!error) fs::rename(fresh, link_, error);
    if (error) {
        std::error_code ignored;
        fs::remove(fresh, ignored);
        throw std::runtime_error("cannot create " + link_.string() + ": " + error.message());
    }
}

PortLink::~PortLink() {
    std::error_code error;
    if (fs::read_symlink(link_, error) == target_ && !error) fs::remove(link_, error);
}

}  // namespace ondrix
