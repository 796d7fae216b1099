#pragma once
// The firmware's variables as a user looks for them: filtered by what was typed, found again by
// name after the file was rebuilt, and, for a name that is not there, the names that come
// closest to it.
//
// Only the variables are listed; their members and elements are made from the types when they
// are asked for (VariableParts.h), so any element of any array is reachable by its path
// ("motor[700].speed") and a firmware costs memory for its variables and types alone.
//
// Names: a variable is known by its path as the reader gives it, except a static variable whose
// name another variable shares: it is known as "'motor.c'::counter" (the plain name stays with
// a variable visible to the whole program, when there is one). Variable() and every part made
// from it carry that name, so a name shown in a list always resolves back to its variable.
//
// Built once per file read, on a worker thread, and read-only afterwards, so it may be shared
// between threads.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "firmware/FirmwareSymbols.h"

namespace ondrix {

// What a path names, or why it names nothing. Neither a variable nor an error: no variable
// starts the path, and the caller says so in its own words (with ClosestNames). An error
// otherwise: the name is ambiguous, the linker dropped the variable, the variable has no such
// member, an index is past the end, ...
struct VariableLookup {
    std::optional<FirmwareVariable> variable;
    std::string error;
    // The variable the path starts with, by its place in the index, when there is one.
    std::optional<size_t> head;
};

// How much of what lies below a variable or part a filter shows.
struct FilterScope {
    static constexpr uint32_t kEverything = UINT32_MAX;
    static constexpr uint32_t kSelf = UINT32_MAX;
    static constexpr uint32_t kNoMatch = UINT32_MAX - 1;
    static constexpr uint32_t kOffPath = UINT32_MAX;
    // kEverything: all of it (its path holds every word, or there is no filter). kNoMatch:
    // nothing but the next step of the path typed as the filter. Otherwise the match (in
    // VariableFilter::Matches) whose member paths decide what is shown.
    uint32_t match = kEverything;
    // The member path ("[].phase") this part stands for, in its variable's list; kSelf for the
    // variable itself.
    uint32_t memberPath = kSelf;
    // When the filter's text is a path: how many steps below its variable this part lies on it;
    // kOffPath for a part that is not on it.
    uint32_t pathStep = kOffPath;

    bool Everything() const { return match == kEverything; }
};

// A filter's answer: the variables to show, and what decides which of their parts are shown.
// Made by FirmwareVariableIndex::Filter; the parts shown below each variable come from
// FirmwareVariableIndex::PartsShown, level by level, as a tree view asks for them.
class VariableFilter {
public:
    struct Match {
        size_t variable = 0;
        // The variable's own name holds every word.
        bool whole = false;
        // Otherwise: the member paths of its type's list that hold every word, in list order.
        std::vector<uint32_t> memberPaths;
    };
    struct Shown {
        size_t variable = 0;
        FilterScope scope;
    };

    // No text: everything is shown.
    bool Blank() const { return words_.empty(); }
    // A word may fall on an element's index ("[12]", "motor2"): the elements of an array are
    // then told apart one by one, so what an array shows is worked out by looking at each.
    bool IndexWords() const { return indexWords_; }
    // The variables that match, in the index's order.
    const std::vector<Match>& Matches() const { return matches_; }
    // What the top level shows: the variables that match and the one a path typed as the filter
    // starts with, in the index's order.
    const std::vector<Shown>& TopLevel() const { return topLevel_; }

private:
    friend class FirmwareVariableIndex;

    struct Word {
        std::string text;  // lower case
        // It has a digit or a bracket, so it may fall on an element's index, which the member
        // paths leave open.
        bool index = false;
    };

    std::vector<Word> words_;
    bool indexWords_ = false;
    // The text as one path, as the index names it, when it names a variable or a part of one.
    std::string typedPath_;
    std::vector<Match> matches_;
    std::vector<Shown> topLevel_;
};

// The parts of a variable or part that a filter shows: parts 0 .. leading - 1 (each with
// `leadingScope`, but for `override`), then those `listed`, in order of their places; `unlisted`
// further parts are not shown (nor looked at, when the filter tells elements apart by index).
struct ShownParts {
    struct Part {
        uint64_t index = 0;
        FilterScope scope;
    };
    uint64_t leading = 0;
    FilterScope leadingScope;
    // One of the leading parts shown otherwise: the step of a typed path.
    std::optional<Part> override;
    std::vector<Part> listed;
    uint64_t unlisted = 0;
};

class FirmwareVariableIndex {
public:
    explicit FirmwareVariableIndex(FirmwareSymbols symbols);

    // The reader's findings, with variables named as described above.
    const FirmwareSymbols& Symbols() const { return symbols_; }
    size_t Size() const { return symbols_.variables.size(); }
    const FirmwareVariable& Variable(size_t variable) const { return symbols_.variables[variable]; }

    // Any variable, member or element by its path. A static variable may be named with its
    // source file, "'motor.c'::counter" or "motor.c::counter", and must be when its name is
    // ambiguous.
    VariableLookup Resolve(const std::string& path) const;
    // Up to `count` names close to `path` (by edit distance, ignoring case, or holding it whole),
    // closest first: what the user probably meant by a name the firmware does not have. The
    // variables, and the members near the deepest part of `path` that exists.
    std::vector<std::string> ClosestNames(const std::string& path, size_t count = 3) const;

    // The variables that hold every blank-separated word of `text`, ignoring case, in their name
    // or in the path of a member or element ("motor phase[2].a" finds motor[0].phase[2].a), and
    // the variable `text` starts with when it is a path.
    VariableFilter Filter(const std::string& text) const;
    // Which parts of `shown`, itself shown with `scope` under `filter`, are shown: at most
    // `maxRows` of them (and the step of a typed path).
    ShownParts PartsShown(const VariableFilter& filter, const FirmwareVariable& shown, const FilterScope& scope,
                          uint64_t maxRows) const;
    // The part of `whole` that `path` goes on through ("motor[3].speed" goes on from "motor"
    // through element 3); none when `path` does not continue `whole`'s.
    std::optional<uint64_t> PartToward(const FirmwareVariable& whole, const std::string& path) const;

private:
    // A path below a type with every index written "[\x01]" (the filter's mark for "any
    // index"): ".phase[\x01].a". Listed breadth first, so that a path's parent comes before it
    // and the paths below one parent are together.
    struct MemberPath {
        std::string lower;
        uint32_t parent = FilterScope::kSelf;
        // Which part of its parent it is: a member's place, 0 for an element.
        uint32_t part = 0;
        uint32_t firstChild = 0;
        uint32_t childCount = 0;
    };
    struct MemberPaths {
        std::vector<MemberPath> paths;
        uint32_t topCount = 0;  // the type's own members (or its element), first in `paths`
    };
    static constexpr uint32_t kNone = UINT32_MAX;

    void NameVariables();
    void ListMemberPaths();
    const MemberPaths* MemberPathsOf(size_t variable) const;
    std::string_view PlainName(size_t variable) const;
    // The variables of this plain name, in list order.
    std::pair<const uint32_t*, const uint32_t*> Candidates(std::string_view plainName) const;
    // The one of `candidates` (as `head`) that a name means, or why there is none.
    VariableLookup Pick(std::string_view plainName, const std::vector<size_t>& candidates) const;
    VariableLookup ResolveFrom(size_t head, std::string_view suffix) const;
    VariableLookup ResolvePlain(std::string_view path) const;
    VariableLookup ResolveInFile(std::string_view file, std::string_view rest) const;
    static bool Holds(const VariableFilter& filter, std::string_view head, std::string_view tail, bool indexWordsOnly);
    void MatchingParts(const VariableFilter& filter, const FirmwareVariable& shown, const FilterScope& scope,
                       uint64_t count, uint64_t maxRows, ShownParts& parts) const;
    void ListedPart(const VariableFilter& filter, const FirmwareVariable& part, uint64_t index,
                    const FilterScope& below, const std::vector<std::string_view>& tails, ShownParts& parts) const;
    void AddPathStep(const VariableFilter& filter, const FirmwareVariable& shown, const FilterScope& scope,
                     uint64_t count, ShownParts& parts) const;

    FirmwareSymbols symbols_;
    // The names the reader gave the variables Variable() names otherwise, by variable.
    std::vector<std::pair<uint32_t, std::string>> plainNames_;
    std::vector<std::string> lowerNames_;
    // The variables in order of their plain names (a name's variables in list order).
    std::vector<uint32_t> byName_;
    std::unordered_set<std::string> sourceFiles_;  // and their last components
    std::unordered_set<std::string> dropped_;
    std::vector<MemberPaths> memberPaths_;
    std::vector<uint32_t> memberPathsOf_;  // by variable; kNone for one without parts
};

// Where an aggregate member's or element's own name starts in `path`: at the last '.' or '['
// outside brackets; std::string::npos for a path of one component.
size_t LastComponentStart(const std::string& path);

}  // namespace ondrix
