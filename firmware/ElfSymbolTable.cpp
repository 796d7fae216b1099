#include "firmware/ElfSymbolTable.h"

#include <cxxabi.h>
#include <gelf.h>

#include <cstdlib>
#include <memory>
#include <set>
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

// An object, or a symbol of no stated type with a size in a section of data: gcc leaves the type
// out for a static compiled without -g.
bool IsData(Elf* elf, const GElf_Sym& symbol) {
    const int type = GELF_ST_TYPE(symbol.st_info);
    if (type == STT_OBJECT) return true;
    if (type != STT_NOTYPE || symbol.st_size == 0 || symbol.st_shndx >= SHN_LORESERVE) return false;
    GElf_Shdr header;
    Elf_Scn* section = elf_getscn(elf, symbol.st_shndx);
    return section && gelf_getshdr(section, &header) && (header.sh_flags & SHF_ALLOC) &&
           !(header.sh_flags & SHF_EXECINSTR);
}

struct Free {
    void operator()(char* text) const { std::free(text); }
};

}  // namespace

std::string Demangled(const char* name) {
    int status = 0;
    const std::unique_ptr<char, Free> plain(abi::__cxa_demangle(name, nullptr, nullptr, &status));
    return status == 0 && plain ? std::string(plain.get()) : std::string(name);
}

ElfSymbols ReadElfSymbols(const ElfFile& file) {
    ElfSymbols symbols;
    GElf_Shdr header;
    Elf_Scn* section = FindSymbolTable(file.Handle(), header);
    if (!section) return symbols;
    symbols.full = header.sh_type == SHT_SYMTAB;
    Elf_Data* data = elf_getdata(section, nullptr);
    if (!data) file.Fail(std::string("corrupt symbol table: ") + elf_errmsg(-1));
    const size_t count = header.sh_entsize ? header.sh_size / header.sh_entsize : 0;
    std::set<std::pair<std::string, uint64_t>> seen;
    std::string sourceFile;
    for (size_t i = 0; i < count; ++i) {
        GElf_Sym symbol;
        if (!gelf_getsym(data, static_cast<int>(i), &symbol)) file.Fail("corrupt symbol table");
        const char* name = elf_strptr(file.Handle(), header.sh_link, symbol.st_name);
        // The local symbols of each source file follow that file's own entry.
        if (GELF_ST_TYPE(symbol.st_info) == STT_FILE) sourceFile = name ? name : "";
        // Thread-local objects have no fixed address, undefined ones none in this file.
        if (symbol.st_shndx == SHN_UNDEF || !IsData(file.Handle(), symbol)) continue;
        if (!name || !*name) continue;
        if (!seen.emplace(name, symbol.st_value).second) continue;
        ElfObjectSymbol object;
        object.name = Demangled(name);
        object.placed = symbol.st_shndx != SHN_COMMON;
        object.address = symbol.st_value;
        object.size = symbol.st_size;
        if (GELF_ST_BIND(symbol.st_info) == STB_LOCAL) object.sourceFile = sourceFile;
        symbols.objects.push_back(std::move(object));
    }
    return symbols;
}

}  // namespace ondrix
