#include "firmware/ElfFile.h"

#include <fcntl.h>
#include <gelf.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "firmware/FirmwareSymbols.h"

namespace ondrix {
namespace {

// A table of `count` entries at `offset`; with none declared there may still be one (the
// section table's first entry holds the real count of a file with very many sections).
bool TableInsideFile(uint64_t offset, uint64_t count, uint64_t entrySize, uint64_t fileSize) {
    if (offset == 0) return true;
    const uint64_t bytes = (count ? count : 1) * entrySize;
    return offset <= fileSize && bytes <= fileSize - offset;
}

}  // namespace

ElfFile::Descriptor::~Descriptor() {
    if (fd_ >= 0) close(fd_);
}

ElfFile::ElfFile(const std::string& path) : path_(path), fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (fd_.Get() < 0) Fail(std::string("cannot open: ") + std::strerror(errno));
    elf_version(EV_CURRENT);
    struct stat status {};
    if (fstat(fd_.Get(), &status) != 0 || !S_ISREG(status.st_mode)) Fail("not a regular file");
    // Read into memory at once rather than mapped: a firmware image rebuilt while we read it
    // must not take the whole program down with a bus error. All of it and first thing, so
    // that every section's data lies in that one buffer (which is also what the string checks
    // rely on).
    elf_.reset(elf_begin(fd_.Get(), ELF_C_READ, nullptr));
    if (!elf_ || elf_kind(elf_.get()) != ELF_K_ELF) Fail("not an ELF file");
    if (elf_cntl(elf_.get(), ELF_C_FDREAD) != 0) Fail(std::string("cannot read: ") + elf_errmsg(-1));
    GElf_Ehdr header;
    if (!gelf_getehdr(elf_.get(), &header)) Fail(std::string("corrupt ELF header: ") + elf_errmsg(-1));
    // Unlinked, an object file has no addresses yet, and its DWARF still waits for relocations
    // (even the variables' names): whatever it would list could only be wrong.
    if (header.e_type == ET_REL) Fail("an object file not yet linked: its variables have no addresses until it is");
    bigEndian_ = header.e_ident[EI_DATA] == ELFDATA2MSB;
    const uint64_t fileSize = static_cast<uint64_t>(status.st_size);
    if (!TableInsideFile(header.e_shoff, header.e_shnum, header.e_shentsize, fileSize) ||
        !TableInsideFile(header.e_phoff, header.e_phnum, header.e_phentsize, fileSize))
        Fail("truncated: its header tables reach past the end of the file");
    CheckSectionsInsideFile(fileSize);
}

void ElfFile::Fail(const std::string& what) const { throw FirmwareFileError(path_ + ": " + what); }

bool ElfFile::InLoadedSegment(uint64_t address) const {
    size_t count = 0;
    if (elf_getphdrnum(elf_.get(), &count) != 0) return true;
    bool anyLoaded = false;
    for (size_t i = 0; i < count; ++i) {
        GElf_Phdr segment;
        if (!gelf_getphdr(elf_.get(), static_cast<int>(i), &segment) || segment.p_type != PT_LOAD) continue;
        anyLoaded = true;
        if (address >= segment.p_vaddr && address - segment.p_vaddr < segment.p_memsz) return true;
    }
    return !anyLoaded;
}

void ElfFile::CheckSectionsInsideFile(uint64_t fileSize) const {
    size_t count = 0;
    if (elf_getshdrnum(elf_.get(), &count) != 0) Fail("truncated or corrupt section table");
    for (Elf_Scn* section = elf_nextscn(elf_.get(), nullptr); section;
         section = elf_nextscn(elf_.get(), section)) {
        GElf_Shdr header;
        if (!gelf_getshdr(section, &header)) Fail("truncated or corrupt section table");
        if (header.sh_type == SHT_NOBITS) continue;
        if (header.sh_offset > fileSize || header.sh_size > fileSize - header.sh_offset)
            Fail("truncated: a section reaches past the end of the file");
    }
}

}  // namespace ondrix
