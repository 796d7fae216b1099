#include "firmware/VariableParts.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace ondrix {
namespace {

void Describe(const FirmwareSymbols& symbols, TypeRef ref, FirmwareVariable& part) {
    const FirmwareType* type = TypeAt(symbols, ref);
    if (!type) {
        part.typeName = "?";
        return;
    }
    part.typeName = type->name;
    part.kind = type->kind;
    part.byteSize = type->byteSize;
    part.type = ref;
}

std::optional<uint64_t> Offset(const std::optional<uint64_t>& address, uint64_t offset) {
    if (!address) return std::nullopt;
    return *address + offset;
}

FirmwareVariable MemberPart(const FirmwareSymbols& symbols, const FirmwareVariable& whole,
                            const FirmwareMember& member) {
    FirmwareVariable part;
    part.path = whole.path + "." + member.name;
    part.address = Offset(whole.address, member.offset);
    Describe(symbols, member.type, part);
    if (member.bitSize > 0) {
        part.kind = VariableKind::BitField;
        part.bitOffset = member.bitOffset;
        part.bitSize = member.bitSize;
        part.byteSize = static_cast<uint64_t>(member.bitOffset + member.bitSize + 7) / 8;
        part.type = kNoType;
    }
    return part;
}

FirmwareVariable ElementPart(const FirmwareSymbols& symbols, const FirmwareVariable& whole, const FirmwareType& array,
                             uint64_t index) {
    FirmwareVariable part;
    part.path = whole.path + "[" + std::to_string(index) + "]";
    part.address = Offset(whole.address, index * array.stride);
    Describe(symbols, array.element, part);
    return part;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace

const FirmwareType* TypeAt(const FirmwareSymbols& symbols, TypeRef ref) {
    return ref < symbols.types.size() ? &symbols.types[ref] : nullptr;
}

bool IsArrayType(const FirmwareType& type) { return type.kind == VariableKind::Array && type.element != kNoType; }

bool IsAggregateType(const FirmwareType& type) {
    return !IsArrayType(type) && (type.kind == VariableKind::Struct || type.kind == VariableKind::Union);
}

uint64_t PartCount(const FirmwareSymbols& symbols, const FirmwareVariable& whole) {
    const FirmwareType* type = TypeAt(symbols, whole.type);
    if (!type || whole.kind == VariableKind::BitField) return 0;
    if (IsArrayType(*type)) return type->count;
    if (IsAggregateType(*type)) return type->members.size();
    return 0;
}

FirmwareVariable Part(const FirmwareSymbols& symbols, const FirmwareVariable& whole, uint64_t index) {
    const FirmwareType& type = *TypeAt(symbols, whole.type);
    if (IsArrayType(type)) return ElementPart(symbols, whole, type, index);
    return MemberPart(symbols, whole, type.members[index]);
}

PartStep FirstStep(const FirmwareSymbols& symbols, const FirmwareVariable& whole, std::string_view suffix) {
    const FirmwareType* type = whole.kind == VariableKind::BitField ? nullptr : TypeAt(symbols, whole.type);
    if (!suffix.empty() && suffix[0] == '.') {
        const size_t end = std::min(suffix.find_first_of(".[", 1), suffix.size());
        const std::string_view name = suffix.substr(1, end - 1);
        if (!type || !IsAggregateType(*type))
            return {std::nullopt, 0, Quoted(whole.path) + " has no members"};
        for (size_t member = 0; member < type->members.size(); ++member)
            if (type->members[member].name == name) return {member, end, {}};
        return {std::nullopt, 0, Quoted(whole.path) + " has no member " + Quoted(std::string(name))};
    }
    if (!suffix.empty() && suffix[0] == '[') {
        if (!type || !IsArrayType(*type)) return {std::nullopt, 0, Quoted(whole.path) + " is not an array"};
        const size_t close = suffix.find(']');
        uint64_t index = 0;
        const char* first = suffix.data() + 1;
        const char* last = suffix.data() + (close == std::string_view::npos ? suffix.size() : close);
        const auto [stop, status] = std::from_chars(first, last, index);
        if (close == std::string_view::npos || first == last || stop != last || status != std::errc()) {
            const std::string_view written = suffix.substr(0, close == std::string_view::npos ? close : close + 1);
            return {std::nullopt, 0, Quoted(std::string(written)) + " is no element index"};
        }
        // An open bound (a flexible array member) is the one place an index past it is valid.
        if (type->count != 0 && index >= type->count)
            return {std::nullopt, 0,
                    "index " + std::to_string(index) + " is past the end of " + Quoted(whole.path) + ", which has " +
                        std::to_string(type->count) + " elements"};
        return {index, close + 1, {}};
    }
    return {std::nullopt, 0, Quoted(std::string(suffix)) + " is no member or element"};
}

PartLookup FindPart(const FirmwareSymbols& symbols, const FirmwareVariable& whole, std::string_view suffix) {
    FirmwareVariable current = whole;
    while (!suffix.empty()) {
        PartStep step = FirstStep(symbols, current, suffix);
        if (!step.index) return {std::nullopt, std::move(step.error)};
        current = Part(symbols, current, *step.index);
        suffix.remove_prefix(step.length);
    }
    return {std::move(current), {}};
}

bool ForEachPathOf(const FirmwareSymbols& symbols, const FirmwareVariable& root, int maxDepth,
                   const std::function<bool(const FirmwareVariable&)>& visit,
                   const std::function<void(const FirmwareVariable&)>& cut) {
    // Kept on the heap rather than in recursion: a type nested thousands deep is read like
    // any other.
    struct Frame {
        FirmwareVariable whole;
        uint64_t next;
        uint64_t count;
    };
    std::vector<Frame> stack;
    const auto enter = [&](FirmwareVariable&& variable) {
        if (!visit(variable)) return false;
        const uint64_t count = PartCount(symbols, variable);
        if (count == 0) return true;
        if (static_cast<int>(stack.size()) >= maxDepth) {
            if (cut) cut(variable);
            return true;
        }
        stack.push_back({std::move(variable), 0, count});
        return true;
    };
    if (!enter(FirmwareVariable(root))) return false;
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.count) {
            stack.pop_back();
            continue;
        }
        if (!enter(Part(symbols, top.whole, top.next++))) return false;
    }
    return true;
}

void ForEachPath(const FirmwareSymbols& symbols, int maxDepth,
                 const std::function<bool(const FirmwareVariable&)>& visit,
                 const std::function<void(const FirmwareVariable&)>& cut) {
    for (const FirmwareVariable& variable : symbols.variables)
        if (!ForEachPathOf(symbols, variable, maxDepth, visit, cut)) return;
}

}  // namespace ondrix
