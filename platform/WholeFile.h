#pragma once
// Files read and written whole: a small file's first bytes with its true size, and a file
// replaced in one step so that a failed save never destroys what was there before.

#include <cstdint>
#include <string>
#include <vector>

namespace ondrix {

// Writes `bytes` beside `path` under a temporary name and renames it over `path` only once
// everything is on disk (AtomicFile). Returns an empty text on success, otherwise a text that
// names the file and the system's reason; the file that was there before is then untouched.
std::string WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

struct FileStart {
    bool opened = false;         // false: missing, unreadable, or not a regular file
    uint64_t size = 0;           // the whole file's size
    std::vector<uint8_t> bytes;  // its first min(size, limit) bytes
};

// Reads at most `limit` bytes from the start of a regular file, and its size, so that a file
// checked against a length word need not be read whole however large it has grown.
FileStart ReadFileStart(const std::string& path, size_t limit);

}  // namespace ondrix
