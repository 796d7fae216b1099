#include "AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>

namespace ondrix {

namespace {

[[noreturn]] void ThrowErrno(int error, const std::string& what) { throw std::system_error(error, std::generic_category(), what); }

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
    std::string pattern = path_ + ".partial-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) ThrowErrno(errno, path_);
    temporaryPath_ = name.data();
    // mkstemp makes the file private (0600); a recording is an ordinary file of the user's.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    stream_ = fdopen(fd, "wb");
    if (!stream_) {
        const int error = errno;
        close(fd);
        unlink(temporaryPath_.c_str());
        ThrowErrno(error, path_);
    }
}

AtomicFile::~AtomicFile() { Discard(); }

void AtomicFile::Discard() {
    if (!stream_) return;
    std::fclose(stream_);
    stream_ = nullptr;
    unlink(temporaryPath_.c_str());
}

void AtomicFile::Commit() {
    const bool written = std::fflush(stream_) == 0 && !std::ferror(stream_);
    const int writeError = errno != 0 ? errno : EIO;
    if (!written) {
        Discard();
        ThrowErrno(writeError, path_);
    }
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (!closed || std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        unlink(temporaryPath_.c_str());
        ThrowErrno(error, path_);
    }
}

}  // namespace ondrix
