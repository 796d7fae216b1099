#pragma once
// What the DWARF says about types, kept once per type in FirmwareSymbols::types: a name, a kind
// and a size, and for a struct, union or array its members or elements one level deep. A
// variable's parts are made from these when they are asked for (VariableParts.h), so thousands
// of variables of a few hundred struct types cost the types once, and no type is too big.
//
// Everything is worked out with explicit stacks rather than recursion: a struct nested 20,000
// deep or a typedef chain of 100,000 is read like any other, within the heap's memory.

#include <elfutils/libdw.h>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "firmware/DwarfStrings.h"
#include "firmware/ElfFile.h"
#include "firmware/FirmwareSymbols.h"

namespace ondrix {

// Tells DIEs apart across the sections and split files they come from, whose offsets overlap:
// each DIE has its own place in the data libdw holds.
inline const void* DieKey(const Dwarf_Die* die) { return die->addr; }

class TypeLayouts {
public:
    // `scopeOf` gives the namespaces and classes a type is declared in ("ctl::Motor::").
    TypeLayouts(const ElfFile& file, const DwarfStrings& strings, std::function<std::string(Dwarf_Die*)> scopeOf)
        : file_(file), strings_(strings), scopeOf_(std::move(scopeOf)) {}

    // The type a DIE's DW_AT_type names; a "void" entry without one. The entry is filled in by
    // Complete().
    TypeRef TypeOf(Dwarf_Die* die);
    // Fills in every entry referred to so far, and those they refer to.
    void Complete();
    const FirmwareType& Entry(TypeRef ref) const { return types_[ref]; }
    // The table, once complete; leaves this object empty.
    std::vector<FirmwareType> Take() { return std::move(types_); }

private:
    enum class State : uint8_t { Waiting, Building, Done };
    struct Slot {
        Dwarf_Die die;
        State state = State::Waiting;
    };

    TypeRef RefOf(Dwarf_Die* type);
    // The types whose entries must be complete before `die`'s can be.
    std::vector<TypeRef> Dependencies(Dwarf_Die* die);
    void Build(TypeRef ref);
    void BuildAggregate(Dwarf_Die* die, FirmwareType& type);
    void BuildArray(Dwarf_Die* die, TypeRef ref);
    // The name as the source writes it ("const uint8_t *", "struct motor[4]"), kept per DIE.
    const std::string& NameOf(Dwarf_Die* die);
    std::string OwnName(Dwarf_Die* die);
    bool CSource(Dwarf_Die* die);
    // The complete definition a declaration stands for: a type unit's, by its signature.
    Dwarf_Die Defined(Dwarf_Die* die) const;

    const ElfFile& file_;
    const DwarfStrings& strings_;
    std::function<std::string(Dwarf_Die*)> scopeOf_;
    std::vector<FirmwareType> types_;
    std::vector<Slot> slots_;
    std::unordered_map<const void*, TypeRef> refs_;
    std::unordered_map<const void*, std::string> names_;
    TypeRef void_ = kNoType;
};

}  // namespace ondrix
