#include "firmware/FirmwareSymbols.h"

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <set>

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

namespace {

// Where the linker dropped a variable's section it resolves the debug information's reference
// to address 0 (or outside the image altogether). A variable at 0 is real only where flash
// starts at 0 and the symbol table puts that very variable there.
bool InImage(const ElfFile& file, const ElfSymbols& elfSymbols, const FirmwareVariable& variable) {
    const uint64_t address = *variable.address;
    if (!file.InLoadedSegment(address)) return false;
    if (address != 0 || !elfSymbols.full) return true;
    const std::string& path = variable.path;
    const std::string ownName = path.substr(path.rfind("::") == std::string::npos ? 0 : path.rfind("::") + 2);
    return std::any_of(elfSymbols.objects.begin(), elfSymbols.objects.end(), [&](const ElfObjectSymbol& symbol) {
        if (!symbol.placed || symbol.address != 0) return false;
        // gcc names a function's static "counter.0"; C++ symbols demangle to the qualified name.
        const std::string name = symbol.name.substr(0, symbol.name.find('.'));
        return name == path || name == ownName ||
               (name.size() > ownName.size() + 2 && name.compare(name.size() - ownName.size() - 2, std::string::npos,
                                                                 "::" + ownName) == 0);
    });
}

// Data objects the debug information does not describe (a source file built without -g, a
// library's), by what the symbol table knows: name, address and size.
void AddSymbolsNotDescribed(const ElfSymbols& elfSymbols, std::vector<FirmwareVariable>& variables) {
    std::vector<std::pair<uint64_t, uint64_t>> described;  // [start, end)
    for (const FirmwareVariable& variable : variables)
        if (variable.address)
            described.emplace_back(*variable.address, *variable.address + std::max<uint64_t>(variable.byteSize, 1));
    std::sort(described.begin(), described.end());
    // The furthest end of any range starting at or before each one: ranges may nest.
    std::vector<uint64_t> reach(described.size());
    for (size_t k = 0; k < described.size(); ++k)
        reach[k] = std::max(described[k].second, k ? reach[k - 1] : 0);
    const auto covered = [&](uint64_t address) {
        auto after = std::upper_bound(described.begin(), described.end(), std::make_pair(address, UINT64_MAX));
        return after != described.begin() && reach[static_cast<size_t>(after - described.begin()) - 1] > address;
    };
    for (const ElfObjectSymbol& symbol : elfSymbols.objects) {
        if (symbol.size == 0 || (symbol.placed && covered(symbol.address))) continue;
        FirmwareVariable variable;
        variable.path = symbol.name;
        if (symbol.placed) variable.address = symbol.address;
        variable.byteSize = symbol.size;
        variable.sourceFile = symbol.sourceFile;
        variables.push_back(std::move(variable));
    }
}

// One row per variable: a build with link-time optimisation describes each variable once where
// it was compiled (without an address) and again where it was placed.
void DropUnplacedTwins(std::vector<FirmwareVariable>& variables) {
    std::set<std::string> placed;
    for (const FirmwareVariable& variable : variables)
        if (variable.address) placed.insert(variable.path);
    variables.erase(std::remove_if(variables.begin(), variables.end(),
                                   [&](const FirmwareVariable& variable) {
                                       return !variable.address && placed.count(variable.path);
                                   }),
                    variables.end());
}

}  // namespace

FirmwareSymbols ReadFirmwareSymbols(const std::string& elfPath) {
    const ElfFile file(elfPath);
    const ElfSymbols elfSymbols = ReadElfSymbols(file);
    std::optional<DwarfVariables> fromDwarf = ReadDwarfVariables(file);
    if (!fromDwarf && !elfSymbols.full && elfSymbols.objects.empty())
        file.Fail("has neither debug information nor a symbol table (was it stripped?): it names no variables");
    FirmwareSymbols symbols;
    if (fromDwarf) {
        symbols.fromDebugInfo = true;
        symbols.types = std::move(fromDwarf->types);
        symbols.notes = std::move(fromDwarf->notes);
        for (FirmwareVariable& variable : fromDwarf->variables) {
            if (variable.address && !InImage(file, elfSymbols, variable))
                symbols.dropped.push_back(std::move(variable.path));
            else
                symbols.variables.push_back(std::move(variable));
        }
    }
    AddSymbolsNotDescribed(elfSymbols, symbols.variables);
    DropUnplacedTwins(symbols.variables);
    std::sort(symbols.dropped.begin(), symbols.dropped.end());
    symbols.dropped.erase(std::unique(symbols.dropped.begin(), symbols.dropped.end()), symbols.dropped.end());
    return symbols;
}

}  // namespace ondrix
