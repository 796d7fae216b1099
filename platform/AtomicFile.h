#pragma once
// A file that appears under its name only when it is complete: it is written beside its
// destination under a temporary name and renamed over the destination by Commit. A file that
// is never committed (an error, an early exit) is removed, so no half-written file is left.

#include <cstdio>
#include <string>

namespace ondrix {

class AtomicFile {
public:
    // Throws std::system_error when the temporary file cannot be created.
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    std::FILE* Stream() const { return stream_; }
    // Flushes and renames over the destination. Throws std::system_error when a write failed
    // on the way (a full disk) or the rename does; the temporary file is then removed.
    void Commit();

private:
    void Discard();

    std::string path_;
    std::string temporaryPath_;
    std::FILE* stream_ = nullptr;
};

}  // namespace ondrix
