// A firmware image is outside input: whatever its bytes, reading it must list variables or
// refuse the file with a FirmwareFileError, never crash, hang or read out of bounds.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "firmware/FirmwareSymbols.h"

namespace {

// One file per process, rewritten for every input: the reader takes a path.
class InputFile {
public:
    InputFile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ondrix-fuzz-elf-XXXXXX").string();
        const int fd = mkstemp(pattern.data());
        if (fd < 0) std::abort();
        close(fd);
        path_ = pattern;
    }
    ~InputFile() { std::remove(path_.c_str()); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::string& Write(const uint8_t* data, size_t size) const {
        FILE* file = std::fopen(path_.c_str(), "wb");
        if (!file) std::abort();
        if (size && std::fwrite(data, 1, size, file) != size) std::abort();
        std::fclose(file);
        return path_;
    }

private:
    std::string path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const InputFile input;
    try {
        const ondrix::FirmwareSymbols symbols = ondrix::ReadFirmwareSymbols(input.Write(data, size));
        // Expansion stops at the listing limit; past it every variable takes at least a byte.
        if (symbols.variables.size() > ondrix::kMaxListedEntries + ondrix::kMaxEntriesPerType + size) std::abort();
    } catch (const ondrix::FirmwareFileError&) {
    }
    return 0;
}
