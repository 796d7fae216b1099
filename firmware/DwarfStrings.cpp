#include "firmware/DwarfStrings.h"

#include <gelf.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace ondrix {

DwarfStrings::DwarfStrings(const ElfFile& file) : file_(file) { AddFile(file.Handle()); }

void DwarfStrings::AddFile(Elf* elf) {
    if (!elf || std::find(files_.begin(), files_.end(), elf) != files_.end()) return;
    files_.push_back(elf);
    size_t size = 0;
    if (const char* raw = elf_rawfile(elf, &size)) buffers_.emplace_back(raw, size);
    for (Elf_Scn* section = elf_nextscn(elf, nullptr); section; section = elf_nextscn(elf, section))
        for (Elf_Data* data = elf_getdata(section, nullptr); data; data = elf_getdata(section, data))
            if (data->d_buf) buffers_.emplace_back(static_cast<const char*>(data->d_buf), data->d_size);
}

const char* DwarfStrings::NameOf(Dwarf_Die* die) const {
    const char* name = dwarf_diename(die);
    if (!name) return nullptr;
    // Pointers into different buffers are compared through std::less, which orders any two.
    const std::less<const char*> before;
    for (const auto& [start, size] : buffers_) {
        const char* end = start + size;
        if (!before(name, start) && before(name, end) && std::memchr(name, 0, static_cast<size_t>(end - name)))
            return name;
    }
    file_.Fail("corrupt DWARF: a name runs past the end of its section");
}

}  // namespace ondrix
