#pragma once
// The fall-back for a firmware image without DWARF: its data objects from the symbol table.

#include <vector>

#include "firmware/ElfFile.h"
#include "firmware/FirmwareSymbols.h"

namespace ondrix {

std::vector<FirmwareVariable> ReadElfSymbolTable(const ElfFile& file);

}  // namespace ondrix
