#include "firmware/DwarfReader.h"

#include <dwarf.h>
#include <elfutils/libdw.h>
#include <gelf.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>

#include "firmware/DwarfStrings.h"
#include "firmware/TypeLayouts.h"

namespace ondrix {
namespace {

struct DwarfEnd {
    void operator()(Dwarf* dwarf) const { dwarf_end(dwarf); }
};

// Namespaces and classes nest no deeper than this in real code; a hostile file stops here.
constexpr int kMaxScopeDepth = 64;

enum class Placement { Fixed, NotFixed, Register };

struct Location {
    Placement placement = Placement::NotFixed;
    uint64_t address = 0;
};

bool IsRegisterOperation(uint8_t atom) {
    return (atom >= DW_OP_reg0 && atom <= DW_OP_reg31) || atom == DW_OP_regx;
}

// Only a location that is one address is fixed; location lists and computed locations are not.
Location LocationOf(Dwarf_Die* variable) {
    Location location;
    Dwarf_Attribute attribute;
    if (!dwarf_attr(variable, DW_AT_location, &attribute)) return location;
    Dwarf_Op* expression = nullptr;
    size_t length = 0;
    if (dwarf_getlocation(&attribute, &expression, &length) != 0 || length != 1) return location;
    const Dwarf_Op& operation = expression[0];
    if (IsRegisterOperation(operation.atom)) {
        location.placement = Placement::Register;
    } else if (operation.atom == DW_OP_addr) {
        location = {Placement::Fixed, operation.number};
    } else if (operation.atom == DW_OP_addrx || operation.atom == DW_OP_GNU_addr_index) {
        // DWARF 5 keeps the address in .debug_addr and names it by index.
        Dwarf_Attribute indexed;
        Dwarf_Addr address = 0;
        if (dwarf_getlocation_attr(&attribute, &operation, &indexed) == 0 && dwarf_formaddr(&indexed, &address) == 0)
            location = {Placement::Fixed, address};
    }
    return location;
}

// A definition found in the walk, named once every unit has been seen: the declaration its
// DW_AT_specification points to may come later, or in another unit.
struct Definition {
    Dwarf_Die die;
    std::string scope;
};

class UnitWalker {
public:
    UnitWalker(const ElfFile& file, const DwarfStrings& strings) : file_(file), strings_(strings) {}

    void Walk(Dwarf_Die* parent, const std::string& scope, int depth) {
        if (depth > kMaxScopeDepth) return;
        Dwarf_Die child;
        const int first = dwarf_child(parent, &child);
        if (first < 0) Corrupt();
        if (first > 0) return;
        do {
            Visit(&child, scope, depth);
            const int next = dwarf_siblingof(&child, &child);
            if (next < 0) Corrupt();
            if (next > 0) break;
        } while (true);
    }

    std::vector<Definition>& Definitions() { return definitions_; }
    const std::unordered_map<Dwarf_Off, std::string>& DeclaredNames() const { return declaredNames_; }

private:
    void Visit(Dwarf_Die* die, const std::string& scope, int depth) {
        switch (dwarf_tag(die)) {
        case DW_TAG_namespace: {
            const char* name = strings_.NameOf(die);
            Walk(die, scope + (name ? name : "(anonymous namespace)") + "::", depth + 1);
            break;
        }
        case DW_TAG_structure_type:
        case DW_TAG_class_type:
        case DW_TAG_union_type:
            // Only C++ classes hold variables (their static members); an unnamed one cannot.
            if (const char* name = strings_.NameOf(die)) Walk(die, scope + name + "::", depth + 1);
            break;
        case DW_TAG_member:
        case DW_TAG_variable: {
            const char* name = strings_.NameOf(die);
            if (name) declaredNames_.emplace(dwarf_dieoffset(die), scope + name);
            // A declaration without a location is defined somewhere else; class members
            // (DW_TAG_member) are fields unless defined outside.
            if (dwarf_tag(die) == DW_TAG_variable &&
                !(dwarf_hasattr(die, DW_AT_declaration) && !dwarf_hasattr(die, DW_AT_location)))
                definitions_.push_back({*die, scope});
            break;
        }
        default:
            // Functions and their blocks hold local variables, which have no fixed address.
            break;
        }
    }

    [[noreturn]] void Corrupt() const { file_.Fail(std::string("corrupt DWARF: ") + dwarf_errmsg(-1)); }

    const ElfFile& file_;
    const DwarfStrings& strings_;
    std::vector<Definition> definitions_;
    std::unordered_map<Dwarf_Off, std::string> declaredNames_;
};

std::string QualifiedName(Definition& definition, const std::unordered_map<Dwarf_Off, std::string>& declaredNames,
                          const DwarfStrings& strings) {
    Dwarf_Attribute attribute;
    Dwarf_Die declaration;
    if (dwarf_attr(&definition.die, DW_AT_specification, &attribute) && dwarf_formref_die(&attribute, &declaration)) {
        if (const auto known = declaredNames.find(dwarf_dieoffset(&declaration)); known != declaredNames.end())
            return known->second;
    }
    const char* name = strings.NameOf(&definition.die);
    return name ? definition.scope + name : std::string();
}

bool HasDebugInfo(const ElfFile& file) {
    size_t namesIndex = 0;
    if (elf_getshdrstrndx(file.Handle(), &namesIndex) != 0) return false;
    for (Elf_Scn* section = elf_nextscn(file.Handle(), nullptr); section;
         section = elf_nextscn(file.Handle(), section)) {
        GElf_Shdr header;
        if (!gelf_getshdr(section, &header)) continue;
        const char* name = elf_strptr(file.Handle(), namesIndex, header.sh_name);
        if (name && (std::strcmp(name, ".debug_info") == 0 || std::strcmp(name, ".zdebug_info") == 0)) return true;
    }
    return false;
}

}  // namespace

std::optional<std::vector<FirmwareVariable>> ReadDwarfVariables(const ElfFile& file) {
    if (!HasDebugInfo(file)) return std::nullopt;
    std::unique_ptr<Dwarf, DwarfEnd> dwarf(dwarf_begin_elf(file.Handle(), DWARF_C_READ, nullptr));
    if (!dwarf) file.Fail(std::string("corrupt DWARF: ") + dwarf_errmsg(-1));

    const DwarfStrings strings(file);
    UnitWalker walker(file, strings);
    Dwarf_CU* unit = nullptr;
    Dwarf_Die unitDie;
    uint8_t unitType = 0;
    int status = 0;
    while ((status = dwarf_get_units(dwarf.get(), unit, &unit, nullptr, &unitType, &unitDie, nullptr)) == 0) {
        if (unitType == DW_UT_compile || unitType == DW_UT_partial) walker.Walk(&unitDie, "", 0);
    }
    if (status < 0) file.Fail(std::string("corrupt DWARF: ") + dwarf_errmsg(-1));

    TypeLayouts types(file, strings);
    std::vector<FirmwareVariable> variables;
    // The same variable reaches the list once, however many units describe it.
    std::set<std::pair<std::string, uint64_t>> fixedSeen;
    std::set<std::string> unfixedSeen;
    for (Definition& definition : walker.Definitions()) {
        const Location location = LocationOf(&definition.die);
        if (location.placement == Placement::Register) continue;
        std::string path = QualifiedName(definition, walker.DeclaredNames(), strings);
        if (path.empty()) continue;
        const bool fixed = location.placement == Placement::Fixed;
        if (fixed ? !fixedSeen.emplace(path, location.address).second : !unfixedSeen.insert(path).second) continue;

        const TypeInfo& type = types.TypeOf(&definition.die);
        FirmwareVariable variable;
        variable.path = std::move(path);
        if (fixed) variable.address = location.address;
        variable.byteSize = type.byteSize;
        variable.typeName = type.name;
        variable.kind = type.kind;
        variables.push_back(variable);
        if (variables.size() >= kMaxListedEntries) continue;
        for (const LayoutEntry& entry : types.Layout(type)) {
            FirmwareVariable part;
            part.path = variable.path + entry.suffix;
            if (fixed) part.address = location.address + entry.offset;
            part.byteSize = entry.byteSize;
            part.typeName = entry.typeName;
            part.kind = entry.kind;
            part.bitOffset = entry.bitOffset;
            part.bitSize = entry.bitSize;
            variables.push_back(std::move(part));
        }
    }
    return variables;
}

}  // namespace ondrix
