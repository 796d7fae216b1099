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
#include "firmware/ElfSymbolTable.h"
#include "firmware/TypeLayouts.h"

namespace ondrix {
namespace {

struct DwarfEnd {
    void operator()(Dwarf* dwarf) const { dwarf_end(dwarf); }
};

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
        // DWARF 5 and split units keep the address in .debug_addr and name it by index.
        Dwarf_Attribute indexed;
        Dwarf_Addr address = 0;
        if (dwarf_getlocation_attr(&attribute, &operation, &indexed) == 0 && dwarf_formaddr(&indexed, &address) == 0)
            location = {Placement::Fixed, address};
    }
    return location;
}

// libdw reports some failures of libelf's (a damaged compressed section) as no error of its own.
std::string DwarfError() {
    // Asking for the error clears it: the message goes by the number.
    if (const int dwarfError = dwarf_errno()) return dwarf_errmsg(dwarfError);
    if (const int elfError = elf_errno()) return elf_errmsg(elfError);
    return "its debug sections cannot be read (a compressed one may be damaged)";
}

std::string BaseName(const char* path) {
    if (!path) return {};
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

// Scopes ("motor::", "ctl::Motor::", "tick::") as a tree of parts, spelled out only for the
// variables found in them: namespaces nested thousands deep then cost their depth, not its
// square.
class Scopes {
public:
    static constexpr size_t kRoot = 0;
    Scopes() { parts_.push_back({kRoot, ""}); }
    size_t Add(size_t parent, std::string part) {
        parts_.push_back({parent, std::move(part)});
        return parts_.size() - 1;
    }
    std::string Text(size_t scope) const {
        std::vector<size_t> chain;
        for (size_t at = scope; at != kRoot; at = parts_[at].first) chain.push_back(at);
        std::string text;
        for (size_t k = chain.size(); k-- > 0;) text += parts_[chain[k]].second;
        return text;
    }

private:
    std::vector<std::pair<size_t, std::string>> parts_;
};

// A definition found in the walk, named once every unit has been seen: the declaration its
// DW_AT_specification or DW_AT_abstract_origin points to may come later, or in another unit.
struct Definition {
    Dwarf_Die die;
    size_t scope;
    bool inFunction;
    bool local;  // a static, seen only in its own source file
};

class UnitWalker {
public:
    UnitWalker(const ElfFile& file, const DwarfStrings& strings) : file_(file), strings_(strings) {}

    // Depth first on a stack of its own, in the order the unit lists its entries.
    void Walk(Dwarf_Die* unit) {
        stack_.clear();
        PushChildren(unit, Scopes::kRoot, false);
        while (!stack_.empty()) {
            const Frame frame = stack_.back();
            stack_.pop_back();
            Dwarf_Die next = frame.die;
            const int sibling = dwarf_siblingof(&next, &next);
            if (sibling < 0) Corrupt();
            if (sibling == 0) stack_.push_back({next, frame.scope, frame.inFunction});
            Dwarf_Die die = frame.die;
            Visit(&die, frame.scope, frame.inFunction);
        }
    }

    std::vector<Definition>& Definitions() { return definitions_; }
    const Scopes& ScopeNames() const { return scopes_; }

    // The name a definition is known by: its declaration's, qualified by where that stands.
    std::string QualifiedName(Definition& definition) const {
        for (unsigned link : {DW_AT_specification, DW_AT_abstract_origin}) {
            Dwarf_Attribute attribute;
            Dwarf_Die declaration;
            if (dwarf_attr(&definition.die, link, &attribute) && dwarf_formref_die(&attribute, &declaration)) {
                if (const auto known = declaredNames_.find(DieKey(&declaration)); known != declaredNames_.end())
                    return scopes_.Text(known->second.first) + known->second.second;
            }
        }
        const char* name = strings_.NameOf(&definition.die);
        return name ? scopes_.Text(definition.scope) + name : std::string();
    }

private:
    struct Frame {
        Dwarf_Die die;
        size_t scope;
        bool inFunction;
    };

    void PushChildren(Dwarf_Die* parent, size_t scope, bool inFunction) {
        Dwarf_Die child;
        const int first = dwarf_child(parent, &child);
        if (first < 0) Corrupt();
        if (first == 0) stack_.push_back({child, scope, inFunction});
    }

    void Visit(Dwarf_Die* die, size_t scope, bool inFunction) {
        switch (dwarf_tag(die)) {
        case DW_TAG_namespace: {
            const char* name = strings_.NameOf(die);
            const std::string part = std::string(name ? name : "(anonymous namespace)") + "::";
            PushChildren(die, scopes_.Add(scope, part), inFunction);
            break;
        }
        case DW_TAG_structure_type:
        case DW_TAG_class_type:
        case DW_TAG_union_type:
            NoteTypeScope(die, scope, inFunction);
            // Only C++ classes hold variables (their static members); an unnamed one cannot.
            if (const char* name = strings_.NameOf(die); name && !inFunction)
                PushChildren(die, scopes_.Add(scope, std::string(name) + "::"), false);
            break;
        case DW_TAG_enumeration_type:
        case DW_TAG_typedef:
            NoteTypeScope(die, scope, inFunction);
            break;
        case DW_TAG_subprogram:
            // Its statics have fixed addresses; its other variables do not, and are left out.
            PushChildren(die, scopes_.Add(Scopes::kRoot, FunctionName(die, scope) + "::"), true);
            break;
        case DW_TAG_lexical_block:
            if (inFunction) PushChildren(die, scope, true);
            break;
        case DW_TAG_member:
        case DW_TAG_variable: {
            if (const char* name = strings_.NameOf(die); name && !inFunction)
                declaredNames_.emplace(DieKey(die), std::make_pair(scope, std::string(name)));
            // A declaration without a location is defined somewhere else; class members
            // (DW_TAG_member) are fields unless defined outside.
            if (dwarf_tag(die) != DW_TAG_variable ||
                (dwarf_hasattr(die, DW_AT_declaration) && !dwarf_hasattr(die, DW_AT_location)))
                break;
            if (inFunction && !dwarf_hasattr(die, DW_AT_location)) break;
            definitions_.push_back({*die, scope, inFunction, !dwarf_hasattr_integrate(die, DW_AT_external)});
            break;
        }
        default:
            // Inlined copies of functions refer to the statics of the function itself.
            break;
        }
    }

    // A C++ type is named with the namespaces and classes it is declared in, as variables are.
    void NoteTypeScope(Dwarf_Die* die, size_t scope, bool inFunction) {
        if (scope != Scopes::kRoot && !inFunction) typeScopes_.emplace(DieKey(die), scope);
    }

    // "tick" for a C function, "ctl::Motor::step()" for a C++ one, as its symbol names it.
    std::string FunctionName(Dwarf_Die* function, size_t scope) const {
        Dwarf_Attribute attribute;
        for (unsigned link : {DW_AT_linkage_name, DW_AT_MIPS_linkage_name})
            if (dwarf_attr_integrate(function, link, &attribute))
                if (const char* mangled = dwarf_formstring(&attribute)) return Demangled(mangled);
        const char* name = strings_.NameOf(function);
        return scopes_.Text(scope) + (name ? name : "(anonymous function)");
    }

public:
    // The source file a static is defined in: where it was compiled, which link-time
    // optimisation names "<artificial>" in the unit it places the variable in.
    std::string SourceFile(Definition& definition) const {
        Dwarf_Die compiled = definition.die, origin, unit;
        Dwarf_Attribute attribute;
        if (dwarf_attr(&definition.die, DW_AT_abstract_origin, &attribute) && dwarf_formref_die(&attribute, &origin))
            compiled = origin;
        return dwarf_diecu(&compiled, &unit, nullptr, nullptr) ? BaseName(strings_.NameOf(&unit)) : std::string();
    }

private:
    [[noreturn]] void Corrupt() const { file_.Fail("corrupt DWARF: " + DwarfError()); }

    const ElfFile& file_;
    const DwarfStrings& strings_;
    Scopes scopes_;
    std::vector<Frame> stack_;
    std::vector<Definition> definitions_;
    std::unordered_map<const void*, std::pair<size_t, std::string>> declaredNames_;
    std::unordered_map<const void*, size_t> typeScopes_;

public:
    // "ctl::" for a type declared in namespace ctl; empty at the top.
    // A type unit defines its types outside their namespaces, naming the declaration within.
    std::string TypeScope(Dwarf_Die* type) const {
        auto found = typeScopes_.find(DieKey(type));
        Dwarf_Attribute attribute;
        Dwarf_Die declaration;
        if (found == typeScopes_.end() && dwarf_attr(type, DW_AT_specification, &attribute) &&
            dwarf_formref_die(&attribute, &declaration))
            found = typeScopes_.find(DieKey(&declaration));
        return found == typeScopes_.end() ? std::string() : scopes_.Text(found->second);
    }
};

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

std::string SplitFileName(Dwarf_Die* skeleton) {
    Dwarf_Attribute attribute;
    for (unsigned name : {DW_AT_dwo_name, DW_AT_GNU_dwo_name})
        if (dwarf_attr(skeleton, name, &attribute))
            if (const char* text = dwarf_formstring(&attribute)) {
                std::string path = text;
                Dwarf_Attribute folder;
                if (path.front() != '/' && dwarf_attr(skeleton, DW_AT_comp_dir, &folder))
                    if (const char* directory = dwarf_formstring(&folder)) path = std::string(directory) + "/" + path;
                return path;
            }
    return "a split debug file";
}

}  // namespace

std::optional<DwarfVariables> ReadDwarfVariables(const ElfFile& file) {
    if (!HasDebugInfo(file)) return std::nullopt;
    std::unique_ptr<Dwarf, DwarfEnd> dwarf(dwarf_begin_elf(file.Handle(), DWARF_C_READ, nullptr));
    if (!dwarf) file.Fail("corrupt DWARF: " + DwarfError());

    DwarfStrings strings(file);
    UnitWalker walker(file, strings);
    DwarfVariables read;
    Dwarf_CU* unit = nullptr;
    Dwarf_Die unitDie, splitDie;
    uint8_t unitType = 0;
    int status = 0;
    while ((status = dwarf_get_units(dwarf.get(), unit, &unit, nullptr, &unitType, &unitDie, &splitDie)) == 0) {
        if (unitType == DW_UT_compile || unitType == DW_UT_partial || unitType == DW_UT_type) {
            // A type unit holds no variables, but says in which namespace its types stand.
            walker.Walk(&unitDie);
        } else if (unitType == DW_UT_skeleton) {
            // The unit's entries are in a .dwo file (or a .dwp package) beside the build.
            if (dwarf_tag(&splitDie) == DW_TAG_compile_unit) {
                strings.AddFile(dwarf_getelf(dwarf_cu_getdwarf(splitDie.cu)));
                walker.Walk(&splitDie);
            }
            else
                read.notes.push_back("missing split debug file " + SplitFileName(&unitDie) +
                                     ": the variables it describes are listed from the symbol table only (name, "
                                     "address and size)");
        }
    }
    if (status < 0) file.Fail("corrupt DWARF: " + DwarfError());

    TypeLayouts types(file, strings, [&walker](Dwarf_Die* type) { return walker.TypeScope(type); });
    std::set<std::pair<std::string, uint64_t>> fixedSeen;
    std::set<std::string> unfixedSeen;
    for (Definition& definition : walker.Definitions()) {
        const Location location = LocationOf(&definition.die);
        if (location.placement == Placement::Register) continue;
        const bool fixed = location.placement == Placement::Fixed;
        // A function's other variables live on its stack or in registers.
        if (definition.inFunction && !fixed) continue;
        std::string path = walker.QualifiedName(definition);
        if (path.empty()) continue;
        // The same variable reaches the list once, however many units describe it.
        if (fixed ? !fixedSeen.emplace(path, location.address).second : !unfixedSeen.insert(path).second) continue;
        FirmwareVariable variable;
        variable.path = std::move(path);
        if (fixed) variable.address = location.address;
        variable.type = types.TypeOf(&definition.die);
        if (definition.local) variable.sourceFile = walker.SourceFile(definition);
        read.variables.push_back(std::move(variable));
    }
    types.Complete();
    for (FirmwareVariable& variable : read.variables) {
        const FirmwareType& type = types.Entry(variable.type);
        variable.byteSize = type.byteSize;
        variable.typeName = type.name;
        variable.kind = type.kind;
    }
    read.types = types.Take();
    return read;
}

}  // namespace ondrix
