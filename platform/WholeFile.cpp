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
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return result;
    struct stat status {};
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        result.size = static_cast<uint64_t>(status.st_size);
        result.bytes.resize(static_cast<size_t>(std::min<uint64_t>(result.size, limit)));
        size_t done = 0;
        while (done < result.bytes.size()) {
            const ssize_t got = read(fd, result.bytes.data() + done, result.bytes.size() - done);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            done += static_cast<size_t>(got);
        }
        // A file that shrank or failed while being read is not what its size said: not read.
        result.opened = done == result.bytes.size();
        if (!result.opened) result = FileStart{};
    }
    close(fd);
    return result;
}

}  // namespace ondrix
