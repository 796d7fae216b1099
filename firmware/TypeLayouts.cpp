#include "firmware/TypeLayouts.h"

#include <dwarf.h>

#include <algorithm>
#include <limits>

namespace ondrix {
namespace {

// More array dimensions than any source has; only a hostile file reaches it.
constexpr size_t kMaxArrayDimensions = 32;

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

}  // namespace

const TypeInfo& TypeLayouts::TypeOf(Dwarf_Die* die) {
    Dwarf_Attribute attribute;
    Dwarf_Die type;
    if (!dwarf_attr_integrate(die, DW_AT_type, &attribute)) return voidType_;
    if (!dwarf_formref_die(&attribute, &type)) return unknownType_;
    return Describe(&type);
}

const TypeInfo& TypeLayouts::Describe(Dwarf_Die* type) {
    const Dwarf_Off offset = dwarf_dieoffset(type);
    if (const auto known = types_.find(offset); known != types_.end()) return known->second;
    if (!inProgress_.insert(offset).second) return unknownType_;
    TypeInfo info = Build(type);
    inProgress_.erase(offset);
    return types_.emplace(offset, std::move(info)).first->second;
}

std::string TypeLayouts::NameOf(Dwarf_Die* die) const {
    const char* name = strings_.NameOf(die);
    return name ? name : "";
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

TypeInfo TypeLayouts::Build(Dwarf_Die* type) {
    TypeInfo info;
    const int tag = dwarf_tag(type);
    switch (tag) {
    case DW_TAG_typedef:
        info = TypeOf(type);
        info.name = NameOf(type);
        return info;
    case DW_TAG_const_type:
    case DW_TAG_volatile_type:
    case DW_TAG_restrict_type:
    case DW_TAG_atomic_type: {
        info = TypeOf(type);
        const char* word = tag == DW_TAG_const_type      ? "const"
                           : tag == DW_TAG_volatile_type ? "volatile"
                           : tag == DW_TAG_restrict_type ? "restrict"
                                                         : "_Atomic";
        // A qualified pointer is written with the qualifier after the star.
        info.name = info.kind == VariableKind::Pointer ? info.name + " " + word : std::string(word) + " " + info.name;
        return info;
    }
    case DW_TAG_base_type:
        info.name = NameOf(type);
        info.kind = BaseKind(type);
        Unsigned(type, DW_AT_byte_size, info.byteSize);
        return info;
    case DW_TAG_pointer_type:
    case DW_TAG_reference_type:
    case DW_TAG_rvalue_reference_type:
    case DW_TAG_ptr_to_member_type: {
        info.name = TypeOf(type).name + (tag == DW_TAG_reference_type         ? " &"
                                         : tag == DW_TAG_rvalue_reference_type ? " &&"
                                                                               : " *");
        info.kind = VariableKind::Pointer;
        if (!Unsigned(type, DW_AT_byte_size, info.byteSize)) {
            Dwarf_Die unit;
            uint8_t addressSize = 0;
            if (dwarf_diecu(type, &unit, &addressSize, nullptr)) info.byteSize = addressSize;
        }
        return info;
    }
    case DW_TAG_enumeration_type:
    case DW_TAG_structure_type:
    case DW_TAG_class_type:
    case DW_TAG_union_type: {
        const bool isEnum = tag == DW_TAG_enumeration_type, isUnion = tag == DW_TAG_union_type;
        const char* keyword = isEnum ? "enum" : isUnion ? "union" : tag == DW_TAG_class_type ? "class" : "struct";
        info.name = NameOf(type);
        if (info.name.empty())
            info.name = std::string("(anonymous ") + keyword + ")";
        else if (CSource(type))
            info.name = std::string(keyword) + " " + info.name;
        info.kind = isEnum ? VariableKind::Enum : isUnion ? VariableKind::Union : VariableKind::Struct;
        Unsigned(type, DW_AT_byte_size, info.byteSize);
        info.expandable = !isEnum;
        info.aggregate = *type;
        return info;
    }
    case DW_TAG_array_type: {
        const TypeInfo element = TypeOf(type);
        const std::vector<uint64_t> dimensions = ArrayDimensions(type);
        info.name = element.name + DimensionsText(dimensions, 0);
        info.kind = VariableKind::Array;
        if (!Unsigned(type, DW_AT_byte_size, info.byteSize)) {
            info.byteSize = element.byteSize;
            for (uint64_t count : dimensions) info.byteSize = SaturatingProduct(info.byteSize, count);
        }
        info.expandable = true;
        info.aggregate = *type;
        return info;
    }
    case DW_TAG_subroutine_type:
        info.name = "function";
        return info;
    default:
        info.name = NameOf(type);
        if (info.name.empty()) info.name = "?";
        Unsigned(type, DW_AT_byte_size, info.byteSize);
        return info;
    }
}

const std::vector<LayoutEntry>& TypeLayouts::Layout(const TypeInfo& type) {
    if (!type.expandable) return noLayout_;
    Dwarf_Die aggregate = type.aggregate;
    const Dwarf_Off offset = dwarf_dieoffset(&aggregate);
    if (const auto known = layouts_.find(offset); known != layouts_.end()) return known->second;
    if (!inProgress_.insert(offset).second) return noLayout_;
    std::vector<LayoutEntry> entries = BuildLayout(&aggregate);
    inProgress_.erase(offset);
    return layouts_.emplace(offset, std::move(entries)).first->second;
}

std::vector<LayoutEntry> TypeLayouts::BuildLayout(Dwarf_Die* aggregate) {
    std::vector<LayoutEntry> entries;
    if (dwarf_tag(aggregate) == DW_TAG_array_type)
        AddArrayElements(aggregate, entries);
    else
        AddMembers(aggregate, entries);
    entries.shrink_to_fit();
    return entries;
}

void TypeLayouts::AddEntry(std::vector<LayoutEntry>& entries, const std::string& suffix, uint64_t offset, int depth,
                           const TypeInfo& type) {
    if (entries.size() >= kMaxEntriesPerType) return;
    entries.push_back({suffix, offset, type.byteSize, type.name, type.kind, 0, 0, depth});
    AddNested(entries, suffix, offset, depth, type);
}

void TypeLayouts::AddNested(std::vector<LayoutEntry>& entries, const std::string& suffix, uint64_t offset, int depth,
                            const TypeInfo& type) {
    if (!type.expandable || depth >= kMaxExpansionDepth) return;
    for (const LayoutEntry& inner : Layout(type)) {
        if (entries.size() >= kMaxEntriesPerType) return;
        if (inner.depth + depth > kMaxExpansionDepth) continue;
        LayoutEntry entry = inner;
        entry.suffix = suffix + inner.suffix;
        entry.offset = offset + inner.offset;
        entry.depth = depth + inner.depth;
        entries.push_back(std::move(entry));
    }
}

void TypeLayouts::AddMembers(Dwarf_Die* aggregate, std::vector<LayoutEntry>& entries) {
    Dwarf_Die member;
    if (dwarf_child(aggregate, &member) != 0) return;
    do {
        const int tag = dwarf_tag(&member);
        // Static members are declared here and defined, with their address, elsewhere.
        if ((tag != DW_TAG_member && tag != DW_TAG_inheritance) || dwarf_hasattr(&member, DW_AT_declaration))
            continue;
        uint64_t offset = 0;
        if (!MemberOffset(&member, offset)) continue;
        const TypeInfo& type = TypeOf(&member);
        // A base class's members read as the derived class's own.
        if (tag == DW_TAG_inheritance) {
            AddNested(entries, "", offset, 0, type);
            continue;
        }
        const std::string name = NameOf(&member);
        uint64_t bitSize = 0;
        if (Unsigned(&member, DW_AT_bit_size, bitSize) && bitSize > 0 && bitSize <= 64 && !name.empty()) {
            uint64_t dataBitOffset = offset * 8, oldBitOffset = 0;
            if (!Unsigned(&member, DW_AT_data_bit_offset, dataBitOffset) &&
                Unsigned(&member, DW_AT_bit_offset, oldBitOffset)) {
                // The DWARF 2/3 form counts from the most significant bit of a storage unit.
                uint64_t storage = type.byteSize;
                Unsigned(&member, DW_AT_byte_size, storage);
                dataBitOffset = file_.BigEndian() ? offset * 8 + oldBitOffset
                                                  : offset * 8 + storage * 8 - oldBitOffset - bitSize;
            }
            if (entries.size() >= kMaxEntriesPerType) return;
            const int bitOffset = static_cast<int>(dataBitOffset % 8);
            entries.push_back({"." + name, dataBitOffset / 8, (bitOffset + bitSize + 7) / 8, type.name,
                               VariableKind::BitField, bitOffset, static_cast<int>(bitSize), 1});
            continue;
        }
        // An anonymous struct or union lends its members to the enclosing one.
        if (name.empty())
            AddNested(entries, "", offset, 0, type);
        else
            AddEntry(entries, "." + name, offset, 1, type);
    } while (dwarf_siblingof(&member, &member) == 0);
}

void TypeLayouts::AddArrayElements(Dwarf_Die* array, std::vector<LayoutEntry>& entries) {
    const TypeInfo& element = TypeOf(array);
    const std::vector<uint64_t> dimensions = ArrayDimensions(array);
    if (dimensions.empty()) return;
    // Bytes from one index to the next, per dimension.
    std::vector<uint64_t> strides(dimensions.size(), element.byteSize);
    Unsigned(array, DW_AT_byte_stride, strides.back());
    for (size_t k = dimensions.size() - 1; k > 0; --k) strides[k - 1] = SaturatingProduct(strides[k], dimensions[k]);

    const auto expand = [&](const auto& self, size_t k, const std::string& suffix, uint64_t offset,
                            int depth) -> void {
        const uint64_t listed = std::min(dimensions[k], kMaxListedArrayElements);
        for (uint64_t i = 0; i < listed && entries.size() < kMaxEntriesPerType; ++i) {
            const std::string indexed = suffix + "[" + std::to_string(i) + "]";
            const uint64_t at = offset + i * strides[k];
            if (k + 1 == dimensions.size()) {
                AddEntry(entries, indexed, at, depth, element);
                continue;
            }
            entries.push_back({indexed, at, strides[k], element.name + DimensionsText(dimensions, k + 1),
                               VariableKind::Array, 0, 0, depth});
            if (depth < kMaxExpansionDepth) self(self, k + 1, indexed, at, depth + 1);
        }
    };
    expand(expand, 0, "", 0, 1);
}

}  // namespace ondrix
