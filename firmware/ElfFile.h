#pragma once
// An ELF file opened for reading, checked enough that the readers above can trust its
// section table to lie inside the file.

#include <libelf.h>

#include <cstdint>

#include <memory>
#include <string>

namespace ondrix {

class ElfFile {
public:
    // Throws FirmwareFileError for a file that cannot be read, is not ELF, is cut short, or is
    // an object file not yet linked.
    explicit ElfFile(const std::string& path);
    ElfFile(const ElfFile&) = delete;
    ElfFile& operator=(const ElfFile&) = delete;

    Elf* Handle() const { return elf_.get(); }
    const std::string& Path() const { return path_; }
    bool BigEndian() const { return bigEndian_; }
    // Whether a program segment loaded into memory holds `address`; true for a file without
    // program segments, which says nothing either way.
    bool InLoadedSegment(uint64_t address) const;

    // Throws FirmwareFileError: "<path>: <what>".
    [[noreturn]] void Fail(const std::string& what) const;

private:
    struct ElfEnd {
        void operator()(Elf* elf) const { elf_end(elf); }
    };
    class Descriptor {
    public:
        explicit Descriptor(int fd) : fd_(fd) {}
        ~Descriptor();
        Descriptor(const Descriptor&) = delete;
        Descriptor& operator=(const Descriptor&) = delete;
        int Get() const { return fd_; }

    private:
        int fd_;
    };

    void CheckSectionsInsideFile(uint64_t fileSize) const;

    std::string path_;
    // Declared before the ELF handle, which reads through it and must go first.
    Descriptor fd_;
    std::unique_ptr<Elf, ElfEnd> elf_;
    bool bigEndian_ = false;
};

}  // namespace ondrix
