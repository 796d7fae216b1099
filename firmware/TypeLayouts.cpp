#include "firmware/TypeLayouts.h"

#include <dwarf.h>

#include <algorithm>
#include <limits>
#include <unordered_set>

namespace ondrix {
namespace {

// More array dimensions than any source has; only a hostile file reaches it.
constexpr size_t kMaxArrayDimensions = 32;
// Longer type names are cut here: a pointer with 50,000 stars must not cost 50,000 names of
// growing length.
constexpr size_t kMaxTypeNameLength = 512;
const char* const kCut = "...";

uint64_t SaturatingProduct(uint64_t a, uint64_t b) {
    if (a != 0 && b > std::numeric_limits<uint64_t>::max() / a) return std::numeric_limits<uint64_t>::max();
    return a * b;
}

bool Unsigned(Dwarf_Die* die, unsigned name, uint64_t& value) {
    Dwarf_Attribute attribute;
    Dwarf_Word word = 0;
    if (!dwarf_attr_integrate(die, name, &attribute) || dwarf_formudata(&attribute, &word) != 0) return false;
    value = word;
    return true;
}

bool Target(Dwarf_Die* die, Dwarf_Die& target) {
    Dwarf_Attribute attribute;
    return dwarf_attr_integrate(die, DW_AT_type, &attribute) && dwarf_formref_die(&attribute, &target);
}

VariableKind BaseKind(Dwarf_Die* type) {
    uint64_t encoding = 0;
    Unsigned(type, DW_AT_encoding, encoding);
    switch (encoding) {
    case DW_ATE_signed:
    case DW_ATE_signed_char:
        return VariableKind::SignedInteger;
    case DW_ATE_unsigned:
    case DW_ATE_unsigned_char:
    case DW_ATE_boolean:
    case DW_ATE_UTF:
        return VariableKind::UnsignedInteger;
    case DW_ATE_float:
        return VariableKind::Float;
    default:
        return VariableKind::Other;
    }
}

bool IsQualifier(int tag) {
    return tag == DW_TAG_const_type || tag == DW_TAG_volatile_type || tag == DW_TAG_restrict_type ||
           tag == DW_TAG_atomic_type;
}

bool IsPointer(int tag) {
    return tag == DW_TAG_pointer_type || tag == DW_TAG_reference_type || tag == DW_TAG_rvalue_reference_type ||
           tag == DW_TAG_ptr_to_member_type;
}

bool IsAggregate(int tag) {
    return tag == DW_TAG_structure_type || tag == DW_TAG_class_type || tag == DW_TAG_union_type;
}

// Elements per dimension; 0 where the source leaves the bound open.
std::vector<uint64_t> ArrayDimensions(Dwarf_Die* array) {
    std::vector<uint64_t> dimensions;
    Dwarf_Die child;
    if (dwarf_child(array, &child) != 0) return dimensions;
    do {
        const int tag = dwarf_tag(&child);
        if (tag != DW_TAG_subrange_type && tag != DW_TAG_enumeration_type) continue;
        uint64_t count = 0, lower = 0, upper = 0;
        if (!Unsigned(&child, DW_AT_count, count) && Unsigned(&child, DW_AT_upper_bound, upper)) {
            Unsigned(&child, DW_AT_lower_bound, lower);
            // An upper bound of -1 is how compilers write a zero-length or flexible array.
            count = upper >= lower && upper != std::numeric_limits<uint64_t>::max() ? upper - lower + 1 : 0;
        }
        dimensions.push_back(count);
    } while (dimensions.size() < kMaxArrayDimensions && dwarf_siblingof(&child, &child) == 0);
    return dimensions;
}

std::string DimensionsText(const std::vector<uint64_t>& dimensions, size_t from) {
    std::string text;
    for (size_t k = from; k < dimensions.size(); ++k)
        text += dimensions[k] ? "[" + std::to_string(dimensions[k]) + "]" : std::string("[]");
    return text;
}

// A member's byte offset: a constant, or the one-operation expression older producers write.
bool MemberOffset(Dwarf_Die* member, uint64_t& offset) {
    offset = 0;
    Dwarf_Attribute attribute;
    if (!dwarf_attr(member, DW_AT_data_member_location, &attribute)) return true;  // union members
    Dwarf_Word word = 0;
    if (dwarf_formudata(&attribute, &word) == 0) {
        offset = word;
        return true;
    }
    Dwarf_Op* expression = nullptr;
    size_t length = 0;
    if (dwarf_getlocation(&attribute, &expression, &length) == 0 && length == 1 &&
        expression[0].atom == DW_OP_plus_uconst) {
        offset = expression[0].number;
        return true;
    }
    return false;
}

// The name `inner` gets from a pointer or qualifier DIE of tag `tag` over it.
std::string Decorated(int tag, int innerTag, const std::string& inner) {
    if (inner.size() > kMaxTypeNameLength) return inner;
    std::string name;
    switch (tag) {
    case DW_TAG_pointer_type:
    case DW_TAG_ptr_to_member_type: name = inner + " *"; break;
    case DW_TAG_reference_type: name = inner + " &"; break;
    case DW_TAG_rvalue_reference_type: name = inner + " &&"; break;
    default: {
        const std::string word = tag == DW_TAG_const_type      ? "const"
                                 : tag == DW_TAG_volatile_type ? "volatile"
                                 : tag == DW_TAG_restrict_type ? "restrict"
                                                               : "_Atomic";
        // A qualified pointer is written with the qualifier after the star; an array of
        // qualified elements is itself qualified, and says so once.
        const bool qualifiedAlready = inner.compare(0, word.size() + 1, word + " ") == 0 ||
                                      (innerTag == DW_TAG_array_type && inner.find(" " + word) != std::string::npos);
        if (IsPointer(innerTag))
            name = inner + " " + word;
        else if (qualifiedAlready)
            name = inner;
        else
            name = word + " " + inner;
    }
    }
    if (name.size() > kMaxTypeNameLength) name = name.substr(0, kMaxTypeNameLength) + kCut;
    return name;
}

}  // namespace

Dwarf_Die TypeLayouts::Defined(Dwarf_Die* die) const {
    Dwarf_Attribute attribute;
    Dwarf_Die defined;
    if (dwarf_hasattr(die, DW_AT_declaration) && dwarf_attr(die, DW_AT_signature, &attribute) &&
        dwarf_formref_die(&attribute, &defined))
        return defined;
    return *die;
}

TypeRef TypeLayouts::TypeOf(Dwarf_Die* die) {
    Dwarf_Die type;
    if (Target(die, type)) return RefOf(&type);
    if (void_ == kNoType) {
        void_ = static_cast<TypeRef>(types_.size());
        FirmwareType entry;
        entry.name = "void";
        types_.push_back(entry);
        slots_.push_back({Dwarf_Die{}, State::Done});
    }
    return void_;
}

TypeRef TypeLayouts::RefOf(Dwarf_Die* type) {
    Dwarf_Die defined = Defined(type);
    if (const auto known = refs_.find(DieKey(&defined)); known != refs_.end()) return known->second;
    const auto ref = static_cast<TypeRef>(types_.size());
    types_.emplace_back();
    slots_.push_back({defined, State::Waiting});
    refs_.emplace(DieKey(&defined), ref);
    return ref;
}

std::vector<TypeRef> TypeLayouts::Dependencies(Dwarf_Die* die) {
    std::vector<TypeRef> needed;
    const int tag = dwarf_tag(die);
    Dwarf_Die target;
    if ((tag == DW_TAG_typedef || IsQualifier(tag) || tag == DW_TAG_array_type || tag == DW_TAG_enumeration_type) &&
        Target(die, target)) {
        needed.push_back(RefOf(&target));
    } else if (IsAggregate(tag)) {
        Dwarf_Die member;
        if (dwarf_child(die, &member) == 0) do {
                const int memberTag = dwarf_tag(&member);
                if ((memberTag == DW_TAG_member || memberTag == DW_TAG_inheritance) && Target(&member, target))
                    needed.push_back(RefOf(&target));
            } while (dwarf_siblingof(&member, &member) == 0);
    }
    return needed;
}

void TypeLayouts::Complete() {
    // Depth first on a stack of its own: a type is built once all it is made of is. One still
    // being built when it is needed again can only be a type that contains itself (a broken or
    // hostile file): it is taken as it stands.
    std::vector<std::pair<TypeRef, bool>> stack;  // the type, and whether its dependencies were pushed
    for (TypeRef next = 0; next < slots_.size(); ++next) {
        if (slots_[next].state != State::Waiting) continue;
        stack.emplace_back(next, false);
        while (!stack.empty()) {
            auto [ref, expanded] = stack.back();
            if (slots_[ref].state == State::Done) {
                stack.pop_back();
                continue;
            }
            if (!expanded) {
                stack.back().second = true;
                slots_[ref].state = State::Building;
                Dwarf_Die die = slots_[ref].die;
                for (TypeRef needed : Dependencies(&die))
                    if (slots_[needed].state == State::Waiting) stack.emplace_back(needed, false);
                continue;
            }
            stack.pop_back();
            Build(ref);
            slots_[ref].state = State::Done;
        }
    }
}

void TypeLayouts::Build(TypeRef ref) {
    Dwarf_Die die = slots_[ref].die;
    const int tag = dwarf_tag(&die);
    FirmwareType type;
    Dwarf_Die target;
    const bool hasTarget = Target(&die, target);
    if (tag == DW_TAG_typedef || IsQualifier(tag)) {
        // Its target is complete: the same layout under the name written in the source.
        if (hasTarget) type = types_[RefOf(&target)];
        type.name = NameOf(&die);
        types_[ref] = std::move(type);
        return;
    }
    if (tag == DW_TAG_array_type) {
        BuildArray(&die, ref);
        return;
    }
    type.name = NameOf(&die);
    if (tag == DW_TAG_base_type) {
        type.kind = BaseKind(&die);
        Unsigned(&die, DW_AT_byte_size, type.byteSize);
    } else if (IsPointer(tag)) {
        type.kind = VariableKind::Pointer;
        if (!Unsigned(&die, DW_AT_byte_size, type.byteSize)) {
            Dwarf_Die unit;
            uint8_t addressSize = 0;
            if (dwarf_diecu(&die, &unit, &addressSize, nullptr)) type.byteSize = addressSize;
        }
    } else if (tag == DW_TAG_enumeration_type) {
        type.kind = VariableKind::Enum;
        if (!Unsigned(&die, DW_AT_byte_size, type.byteSize) && hasTarget)
            type.byteSize = types_[RefOf(&target)].byteSize;
    } else if (IsAggregate(tag)) {
        BuildAggregate(&die, type);
    } else if (tag != DW_TAG_subroutine_type) {
        Unsigned(&die, DW_AT_byte_size, type.byteSize);
    }
    types_[ref] = std::move(type);
}

void TypeLayouts::BuildAggregate(Dwarf_Die* die, FirmwareType& type) {
    type.kind = dwarf_tag(die) == DW_TAG_union_type ? VariableKind::Union : VariableKind::Struct;
    Unsigned(die, DW_AT_byte_size, type.byteSize);
    Dwarf_Die member;
    if (dwarf_child(die, &member) != 0) return;
    do {
        const int tag = dwarf_tag(&member);
        // Static members are declared here and defined, with their address, elsewhere.
        if ((tag != DW_TAG_member && tag != DW_TAG_inheritance) || dwarf_hasattr(&member, DW_AT_declaration))
            continue;
        uint64_t offset = 0;
        if (!MemberOffset(&member, offset)) continue;
        const TypeRef memberType = TypeOf(&member);
        const char* name = strings_.NameOf(&member);
        // A base class's members, and those of an anonymous struct or union, read as this one's.
        if (tag == DW_TAG_inheritance || !name) {
            // Copied, as the vector may grow under a reference into it.
            const std::vector<FirmwareMember> inner = types_[memberType].members;
            for (FirmwareMember lent : inner) {
                lent.offset += offset;
                type.members.push_back(std::move(lent));
            }
            continue;
        }
        FirmwareMember entry{name, offset, memberType, 0, 0};
        uint64_t bitSize = 0;
        if (Unsigned(&member, DW_AT_bit_size, bitSize) && bitSize > 0 && bitSize <= 64) {
            uint64_t dataBitOffset = offset * 8, oldBitOffset = 0;
            if (!Unsigned(&member, DW_AT_data_bit_offset, dataBitOffset) &&
                Unsigned(&member, DW_AT_bit_offset, oldBitOffset)) {
                // The DWARF 2/3 form counts from the most significant bit of a storage unit.
                uint64_t storage = types_[memberType].byteSize;
                Unsigned(&member, DW_AT_byte_size, storage);
                dataBitOffset = file_.BigEndian() ? offset * 8 + oldBitOffset
                                                  : offset * 8 + storage * 8 - oldBitOffset - bitSize;
            }
            entry.offset = dataBitOffset / 8;
            entry.bitOffset = static_cast<int>(dataBitOffset % 8);
            entry.bitSize = static_cast<int>(bitSize);
        }
        type.members.push_back(std::move(entry));
    } while (dwarf_siblingof(&member, &member) == 0);
    type.members.shrink_to_fit();
}

void TypeLayouts::BuildArray(Dwarf_Die* die, TypeRef ref) {
    const TypeRef element = TypeOf(die);
    const std::vector<uint64_t> dimensions = ArrayDimensions(die);
    const std::string elementName = types_[element].name;
    // One entry per dimension, the outer one `ref`'s: `int16_t[3][4]` holds three `int16_t[4]`.
    std::vector<TypeRef> refs(std::max<size_t>(dimensions.size(), 1), ref);
    for (size_t k = 1; k < refs.size(); ++k) {
        refs[k] = static_cast<TypeRef>(types_.size());
        types_.emplace_back();
        slots_.push_back({Dwarf_Die{}, State::Done});
    }
    uint64_t stride = types_[element].byteSize;
    Unsigned(die, DW_AT_byte_stride, stride);
    for (size_t k = refs.size(); k-- > 0;) {
        FirmwareType type;
        type.kind = VariableKind::Array;
        type.name = elementName + DimensionsText(dimensions, k);
        if (type.name.size() > kMaxTypeNameLength) type.name = type.name.substr(0, kMaxTypeNameLength) + kCut;
        type.element = k + 1 < refs.size() ? refs[k + 1] : element;
        type.count = k < dimensions.size() ? dimensions[k] : 0;
        type.stride = stride;
        type.byteSize = SaturatingProduct(stride, type.count);
        stride = type.byteSize;
        types_[refs[k]] = std::move(type);
    }
    uint64_t declared = 0;
    if (Unsigned(die, DW_AT_byte_size, declared)) types_[ref].byteSize = declared;
}

bool TypeLayouts::CSource(Dwarf_Die* die) {
    Dwarf_Die unit;
    if (!dwarf_diecu(die, &unit, nullptr, nullptr)) return false;
    switch (dwarf_srclang(&unit)) {
    case DW_LANG_C89:
    case DW_LANG_C:
    case DW_LANG_C99:
    case DW_LANG_C11:
        return true;
    default:
        return false;
    }
}

std::string TypeLayouts::OwnName(Dwarf_Die* die) {
    const int tag = dwarf_tag(die);
    const char* name = strings_.NameOf(die);
    if (tag == DW_TAG_enumeration_type || IsAggregate(tag)) {
        const char* keyword = tag == DW_TAG_enumeration_type ? "enum"
                              : tag == DW_TAG_union_type     ? "union"
                              : tag == DW_TAG_class_type     ? "class"
                                                             : "struct";
        if (!name) return std::string("(anonymous ") + keyword + ")";
        return CSource(die) ? std::string(keyword) + " " + name : scopeOf_(die) + name;
    }
    if (tag == DW_TAG_subroutine_type) return "function";
    if (tag == DW_TAG_typedef && name) return scopeOf_(die) + name;
    return name ? name : "?";
}

const std::string& TypeLayouts::NameOf(Dwarf_Die* die) {
    if (const auto known = names_.find(DieKey(die)); known != names_.end()) return known->second;
    // Down the chain of pointers, qualifiers and arrays to a type with a name of its own, then
    // back up composing each one's name from the one below.
    std::vector<Dwarf_Die> chain;
    std::unordered_set<const void*> onChain;
    Dwarf_Die at = *die;
    std::string inner;
    int innerTag = 0;
    while (true) {
        if (const auto known = names_.find(DieKey(&at)); known != names_.end()) {
            inner = known->second;
            innerTag = dwarf_tag(&at);
            break;
        }
        const int tag = dwarf_tag(&at);
        if (!IsPointer(tag) && !IsQualifier(tag) && tag != DW_TAG_array_type) {
            inner = OwnName(&at);
            innerTag = tag;
            names_.emplace(DieKey(&at), inner);
            break;
        }
        if (!onChain.insert(DieKey(&at)).second) {
            inner = "?";  // a pointer to itself: only a hostile file has one
            break;
        }
        chain.push_back(at);
        Dwarf_Die target;
        if (!Target(&at, target)) {
            inner = "void";
            innerTag = DW_TAG_base_type;
            break;
        }
        at = Defined(&target);
    }
    for (size_t k = chain.size(); k-- > 0;) {
        const int tag = dwarf_tag(&chain[k]);
        std::string name;
        if (tag == DW_TAG_array_type) {
            name = inner + DimensionsText(ArrayDimensions(&chain[k]), 0);
            if (name.size() > kMaxTypeNameLength) name = name.substr(0, kMaxTypeNameLength) + kCut;
        } else {
            name = Decorated(tag, innerTag, inner);
        }
        inner = names_.emplace(DieKey(&chain[k]), std::move(name)).first->second;
        innerTag = tag;
    }
    return names_.emplace(DieKey(die), inner).first->second;
}

}  // namespace ondrix
