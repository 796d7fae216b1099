#pragma once
// The variables with a static address, from the DWARF of every compilation unit.

#include <optional>
#include <vector>

#include "firmware/ElfFile.h"
#include "firmware/FirmwareSymbols.h"

namespace ondrix {

// None when the file has no DWARF at all; throws FirmwareFileError when it is corrupt.
std::optional<std::vector<FirmwareVariable>> ReadDwarfVariables(const ElfFile& file);

}  // namespace ondrix
