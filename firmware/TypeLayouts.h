#pragma once
// What the DWARF says about types, worked out once per type and kept: a type's name, kind and
// size, and for a struct, union or array the flat list of its members and elements. Thousands
// of variables of a few hundred struct types then cost one walk per type, not one per variable.

#include <elfutils/libdw.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "firmware/DwarfStrings.h"
#include "firmware/ElfFile.h"
#include "firmware/FirmwareSymbols.h"

namespace ondrix {

struct TypeInfo {
    std::string name;
    VariableKind kind = VariableKind::Other;
    uint64_t byteSize = 0;
    // The struct, union or array beneath typedefs and qualifiers; none for other kinds.
    bool expandable = false;
    Dwarf_Die aggregate{};
};

// One member or element of an aggregate, relative to the aggregate's own address.
struct LayoutEntry {
    std::string suffix;  // ".current.a", "[1].current"
    uint64_t offset = 0;
    uint64_t byteSize = 0;
    std::string typeName;
    VariableKind kind = VariableKind::Other;
    int bitOffset = 0;
    int bitSize = 0;
    int depth = 1;  // the number of members/elements in the suffix
};

class TypeLayouts {
public:
    TypeLayouts(const ElfFile& file, const DwarfStrings& strings) : file_(file), strings_(strings) {}

    // The type a DIE's DW_AT_type names ("void" without one).
    const TypeInfo& TypeOf(Dwarf_Die* die);
    const TypeInfo& Describe(Dwarf_Die* type);
    // The members/elements of an expandable type, at most kMaxExpansionDepth deep.
    const std::vector<LayoutEntry>& Layout(const TypeInfo& type);

private:
    TypeInfo Build(Dwarf_Die* type);
    std::vector<LayoutEntry> BuildLayout(Dwarf_Die* aggregate);
    void AddMembers(Dwarf_Die* aggregate, std::vector<LayoutEntry>& entries);
    void AddArrayElements(Dwarf_Die* array, std::vector<LayoutEntry>& entries);
    // `type`'s own entry at `suffix`/`offset`, then its members/elements below it.
    void AddEntry(std::vector<LayoutEntry>& entries, const std::string& suffix, uint64_t offset, int depth,
                  const TypeInfo& type);
    void AddNested(std::vector<LayoutEntry>& entries, const std::string& suffix, uint64_t offset, int depth,
                   const TypeInfo& type);
    bool CSource(Dwarf_Die* die);
    std::string NameOf(Dwarf_Die* die) const;

    const ElfFile& file_;
    const DwarfStrings& strings_;
    std::unordered_map<Dwarf_Off, TypeInfo> types_;
    std::unordered_map<Dwarf_Off, std::vector<LayoutEntry>> layouts_;
    // Types being described or laid out right now: a type that contains itself (only a broken
    // or hostile file has one) stops there instead of recursing for ever.
    std::unordered_set<Dwarf_Off> inProgress_;
    TypeInfo voidType_{"void", VariableKind::Other, 0, false, {}};
    TypeInfo unknownType_{"?", VariableKind::Other, 0, false, {}};
    std::vector<LayoutEntry> noLayout_;
};

}  // namespace ondrix
