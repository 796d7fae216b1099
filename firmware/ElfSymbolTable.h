#pragma once
// The data objects of a firmware image's ELF symbol table: what is known of variables the debug
// information does not describe (a source file built without -g, an image without DWARF), and
// what tells a variable the linker kept from one it dropped.

#include <cstdint>
#include <string>
#include <vector>

#include "firmware/ElfFile.h"

namespace ondrix {

struct ElfObjectSymbol {
    std::string name;  // demangled
    // None for a common symbol, which has its alignment there instead.
    bool placed = true;
    uint64_t address = 0;
    uint64_t size = 0;
    // For a symbol local to a source file, that file ("motor.c"), as the table names it.
    std::string sourceFile;
};

struct ElfSymbols {
    // False: the file has no full symbol table (it was stripped); `objects` may still come from
    // the dynamic one.
    bool full = false;
    std::vector<ElfObjectSymbol> objects;
};

ElfSymbols ReadElfSymbols(const ElfFile& file);

// A C++ symbol's name as the source writes it ("ns::Motor::step()"); the name itself when it is
// no mangled one.
std::string Demangled(const char* name);

}  // namespace ondrix
