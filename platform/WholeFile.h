#pragma once
// Files read and written whole: a small file's first bytes with its true size, a file replaced
// in one step so that a failed save never destroys what was there before, and a file moved out
// of the way of such a save when it must be kept.

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
    bool missing = false;        // nothing at all is at the path
    std::string failure;         // why something that is there was not read ("Permission denied",
                                 // "A folder, not a file"); empty when opened or missing
    uint64_t size = 0;           // the whole file's size
    std::vector<uint8_t> bytes;  // its first min(size, limit) bytes
};

// Reads at most `limit` bytes from the start of a regular file, and its size, so that a file
// checked against a length word need not be read whole however large it has grown. Anything
// else at the path (a FIFO, a device, a folder) is never read and never waited for.
FileStart ReadFileStart(const std::string& path, size_t limit);

struct MovedAside {
    std::string path;     // where the file is now; empty when it could not be moved
    std::string failure;  // the system's reason when it could not
};

// Renames `path` to `path + suffix`, or, when that name is taken, to the first free one of
// `path + suffix + ".2"`, ".3", ...: a name that is taken is never replaced, so a file kept
// aside earlier is never lost to a later one.
MovedAside MoveAside(const std::string& path, const std::string& suffix);

}  // namespace ondrix
