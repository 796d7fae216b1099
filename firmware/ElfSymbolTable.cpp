#include "firmware/ElfSymbolTable.h"

#include <gelf.h>

#include <set>
#include <string>
#include <utility>

namespace ondrix {
namespace {

Elf_Scn* FindSymbolTable(Elf* elf, GElf_Shdr& header) {
    // The full table when there is one; a stripped image may still keep its dynamic one.
    for (Elf64_Word wanted : {SHT_SYMTAB, SHT_DYNSYM})
        for (Elf_Scn* section = elf_nextscn(elf, nullptr); section; section = elf_nextscn(elf, section))
            if (gelf_getshdr(section, &header) && header.sh_type == wanted) return section;
    return nullptr;
}

}  // namespace

std::vector<FirmwareVariable> ReadElfSymbolTable(const ElfFile& file) {
    std::vector<FirmwareVariable> variables;
    GElf_Shdr header;
    Elf_Scn* section = FindSymbolTable(file.Handle(), header);
    if (!section) return variables;
    Elf_Data* data = elf_getdata(section, nullptr);
    if (!data) file.Fail(std::string("corrupt symbol table: ") + elf_errmsg(-1));
    const size_t count = header.sh_entsize ? header.sh_size / header.sh_entsize : 0;
    std::set<std::pair<std::string, uint64_t>> seen;
    for (size_t i = 0; i < count; ++i) {
        GElf_Sym symbol;
        if (!gelf_getsym(data, static_cast<int>(i), &symbol)) file.Fail("corrupt symbol table");
        // Thread-local objects have no fixed address, undefined ones none in this file.
        if (GELF_ST_TYPE(symbol.st_info) != STT_OBJECT || symbol.st_shndx == SHN_UNDEF) continue;
        const char* name = elf_strptr(file.Handle(), header.sh_link, symbol.st_name);
        if (!name || !*name) continue;
        if (!seen.emplace(name, symbol.st_value).second) continue;
        FirmwareVariable variable;
        variable.path = name;
        if (symbol.st_shndx != SHN_COMMON) variable.address = symbol.st_value;
        variable.byteSize = symbol.st_size;
        variables.push_back(std::move(variable));
    }
    return variables;
}

}  // namespace ondrix
