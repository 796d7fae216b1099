#pragma once
// Names from the DWARF, checked before use. libdw hands out a DIE's in-line string as a
// pointer into the section without looking for its end, so a corrupt file whose last string
// lacks its terminating zero would have us read past the buffer.

#include <elfutils/libdw.h>

#include <cstddef>
#include <utility>
#include <vector>

#include "firmware/ElfFile.h"

namespace ondrix {

class DwarfStrings {
public:
    // Call once libdw has opened the file: it may have replaced compressed sections' data.
    explicit DwarfStrings(const ElfFile& file);
    // A split debug file (.dwo, .dwp) libdw opened for a unit of the file: its names are good too.
    void AddFile(Elf* elf);

    // The DIE's name (through DW_AT_specification and DW_AT_abstract_origin), nullptr without
    // one; throws FirmwareFileError when it does not end inside the file's data.
    const char* NameOf(Dwarf_Die* die) const;

private:
    const ElfFile& file_;
    std::vector<Elf*> files_;
    std::vector<std::pair<const char*, size_t>> buffers_;
};

}  // namespace ondrix
