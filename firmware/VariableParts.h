#pragma once
// A variable's members and elements, made from its type when they are asked for rather than
// listed in advance: any element of any array and any member at any depth is reachable, and a
// firmware's list costs memory for its variables and types only.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "firmware/FirmwareSymbols.h"

namespace ondrix {

// The type `ref` names; nullptr for kNoType (or a reference past the table, from a damaged file).
const FirmwareType* TypeAt(const FirmwareSymbols& symbols, TypeRef ref);
// Whose parts are elements: an array with an element type.
bool IsArrayType(const FirmwareType& type);
// Whose parts are members: a struct, class or union.
bool IsAggregateType(const FirmwareType& type);

// How many members or elements `whole` has: 0 for a variable that is no aggregate (or an array
// whose bound the source leaves open).
uint64_t PartCount(const FirmwareSymbols& symbols, const FirmwareVariable& whole);

// Member or element `index` (< PartCount) of `whole`, its path continuing `whole`'s
// ("motor[1]" + ".current", "motor" + "[1]"), its address offset from `whole`'s.
FirmwareVariable Part(const FirmwareSymbols& symbols, const FirmwareVariable& whole, uint64_t index);

// The part of `whole` that `suffix` starts with (".current", "[3]", then maybe more): its index
// for Part() and how many characters name it; when there is none, why.
struct PartStep {
    std::optional<uint64_t> index;
    size_t length = 0;
    std::string error;
};
PartStep FirstStep(const FirmwareSymbols& symbols, const FirmwareVariable& whole, std::string_view suffix);

// What `suffix` (".current.a", "[1][2].x", "" for `whole` itself) names below `whole`; when it
// names nothing, why, in words for the user ("'motor' has no member 'x'", "index 12 is past the
// end of 'buffer', which has 8 elements").
struct PartLookup {
    std::optional<FirmwareVariable> part;
    std::string error;
};
PartLookup FindPart(const FirmwareSymbols& symbols, const FirmwareVariable& whole, std::string_view suffix);

// Every variable and every member and element of each, depth first, parts right after their
// whole, for as long as `visit` returns true. Parts deeper than `maxDepth` levels below their
// variable are not visited; `cut` hears of each whole whose parts were left out that way.
void ForEachPath(const FirmwareSymbols& symbols, int maxDepth,
                 const std::function<bool(const FirmwareVariable&)>& visit,
                 const std::function<void(const FirmwareVariable&)>& cut = {});
// The same for one variable (or part) and its parts; false when `visit` stopped it.
bool ForEachPathOf(const FirmwareSymbols& symbols, const FirmwareVariable& root, int maxDepth,
                   const std::function<bool(const FirmwareVariable&)>& visit,
                   const std::function<void(const FirmwareVariable&)>& cut = {});

}  // namespace ondrix
