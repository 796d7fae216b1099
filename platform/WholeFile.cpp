#include "WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "AtomicFile.h"

namespace ondrix {

namespace {

std::string SystemReason(int error) { return std::generic_category().message(error); }

// What a path holds instead of a regular file, as the user would name it.
std::string NotAFile(mode_t mode) {
    if (S_ISDIR(mode)) return "A folder, not a file";
    if (S_ISFIFO(mode)) return "A FIFO, not a file";
    if (S_ISSOCK(mode)) return "A socket, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "A device, not a file";
    return "Not a regular file";
}

// False with errno EEXIST when `to` is taken.
bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system that cannot refuse to replace: looked at first, which leaves only a race
    // with another program choosing the same name in between.
    struct stat status {};
    if (lstat(to.c_str(), &status) == 0) {
        errno = EEXIST;
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

std::string WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    try {
        AtomicFile file(path);
        // A short write leaves the stream's error flag set, which Commit reports.
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file.Stream());
        file.Commit();
        return {};
    } catch (const std::system_error& error) {
        return "Cannot write " + path + ": " + error.code().message();
    }
}

FileStart ReadFileStart(const std::string& path, size_t limit) {
    FileStart result;
    // Looked at before it is opened: opening a FIFO waits for a writer, and opening a device may
    // act on it (a serial port raises its modem lines).
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            result.missing = true;
        else
            result.failure = SystemReason(errno);
        return result;
    }
    if (!S_ISREG(status.st_mode)) {
        result.failure = NotAFile(status.st_mode);
        return result;
    }
    // Non-blocking should it have been swapped for a FIFO since; a regular file reads the same.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            result.missing = true;
        else
            result.failure = SystemReason(errno);
        return result;
    }
    const bool looked = fstat(fd, &status) == 0;
    if (!looked || !S_ISREG(status.st_mode)) {
        result.failure = looked ? NotAFile(status.st_mode) : SystemReason(errno);
        close(fd);
        return result;
    }
    result.size = static_cast<uint64_t>(status.st_size);
    result.bytes.resize(static_cast<size_t>(std::min<uint64_t>(result.size, limit)));
    size_t done = 0;
    int readError = 0;
    while (done < result.bytes.size()) {
        const ssize_t got = read(fd, result.bytes.data() + done, result.bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) readError = errno;
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    close(fd);
    // A file that shrank or failed while being read is not what its size said: not read.
    if (done != result.bytes.size()) {
        result = FileStart{};
        result.failure = readError != 0 ? SystemReason(readError) : "It shrank while it was read";
        return result;
    }
    result.opened = true;
    return result;
}

MovedAside MoveAside(const std::string& path, const std::string& suffix) {
    constexpr int kMostNames = 1000;
    MovedAside moved;
    for (int number = 1; number <= kMostNames; ++number) {
        const std::string name = path + suffix + (number == 1 ? std::string() : "." + std::to_string(number));
        if (RenameWithoutReplacing(path, name)) {
            moved.path = name;
            return moved;
        }
        if (errno != EEXIST) {
            moved.failure = SystemReason(errno);
            return moved;
        }
    }
    moved.failure = "Every name up to " + path + suffix + "." + std::to_string(kMostNames) + " is taken";
    return moved;
}

}  // namespace ondrix
