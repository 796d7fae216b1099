// A firmware image is outside input: whatever its bytes, reading it must list variables or
// refuse the file with a FirmwareFileError, never crash, hang or read out of bounds.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "firmware/FirmwareSymbols.h"
#include "firmware/VariableParts.h"

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
        // Every variable and type comes from at least a byte of the file (an array type from its
        // DIE and at most 32 dimensions): the reader cannot be made to multiply them.
        if (symbols.variables.size() > size || symbols.types.size() > 33 * size + 1) std::abort();
        // Members and elements are made on demand: walk some of them, however the types nest.
        size_t visits = 0;
        ondrix::ForEachPath(symbols, 64, [&visits](const ondrix::FirmwareVariable&) { return ++visits < 100000; });
        for (const ondrix::FirmwareVariable& variable : symbols.variables)
            ondrix::FindPart(symbols, variable, "[1].a[2]");
    } catch (const ondrix::FirmwareFileError&) {
    }
    return 0;
}
