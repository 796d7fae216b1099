#include "firmware/FirmwareSymbols.h"

#include <cinttypes>
#include <cstdio>

#include "firmware/DwarfReader.h"
#include "firmware/ElfFile.h"
#include "firmware/ElfSymbolTable.h"

namespace ondrix {

const char* VariableKindText(VariableKind kind) {
    switch (kind) {
    case VariableKind::SignedInteger: return "signed";
    case VariableKind::UnsignedInteger: return "unsigned";
    case VariableKind::Float: return "float";
    case VariableKind::Pointer: return "pointer";
    case VariableKind::Enum: return "enum";
    case VariableKind::Struct: return "struct";
    case VariableKind::Union: return "union";
    case VariableKind::Array: return "array";
    case VariableKind::BitField: return "bit field";
    case VariableKind::Other: break;
    }
    return "";
}

std::string AddressListing(uint64_t address) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%08" PRIX64, address);
    return text;
}

FirmwareSymbols ReadFirmwareSymbols(const std::string& elfPath) {
    const ElfFile file(elfPath);
    FirmwareSymbols symbols;
    if (auto fromDwarf = ReadDwarfVariables(file)) {
        symbols.variables = std::move(*fromDwarf);
        symbols.fromDebugInfo = true;
    } else {
        symbols.variables = ReadElfSymbolTable(file);
    }
    return symbols;
}

}  // namespace ondrix
