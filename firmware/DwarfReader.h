#pragma once
// The variables with a static address, from the DWARF of every compilation unit: globals,
// statics of a source file, static members and functions' statics, each with its type.

#include <optional>
#include <string>
#include <vector>

#include "firmware/ElfFile.h"
#include "firmware/FirmwareSymbols.h"

namespace ondrix {

struct DwarfVariables {
    std::vector<FirmwareVariable> variables;
    std::vector<FirmwareType> types;
    // Split debug files that could not be found.
    std::vector<std::string> notes;
};

// None when the file has no DWARF at all; throws FirmwareFileError when it is corrupt.
std::optional<DwarfVariables> ReadDwarfVariables(const ElfFile& file);

}  // namespace ondrix
