#pragma once
// The firmware's variables as a user looks for them: filtered by what was typed, found again by
// name after the file was rebuilt, and, for a name that is not there, the names that come
// closest to it.
//
// The list is the reader's, in its order; an aggregate's members and elements follow it and
// name it as the start of their paths ("motor[1].current" is a member of "motor[1]", which is
// an element of "motor"). Entries are counted from 0 in that order.
//
// Built once per file read (on a worker thread: lower-casing and linking a few hundred thousand
// paths takes some milliseconds) and read-only afterwards, so it may be shared between threads.

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "firmware/FirmwareSymbols.h"

namespace ondrix {

class FirmwareVariableIndex {
public:
    static constexpr size_t kNoParent = static_cast<size_t>(-1);

    explicit FirmwareVariableIndex(std::vector<FirmwareVariable> variables);

    size_t Size() const { return variables_.size(); }
    const FirmwareVariable& Variable(size_t entry) const { return variables_[entry]; }
    const std::vector<FirmwareVariable>& Variables() const { return variables_; }
    // The entry whose member or element this one is; kNoParent for a variable of its own (or
    // when the reader did not list the aggregate).
    size_t Parent(size_t entry) const { return parents_[entry]; }
    // What the entry adds to its parent's path: "current", "[1]"; the whole path for a variable
    // of its own.
    std::string LastComponent(size_t entry) const;

    // The entries whose path holds every blank-separated word of `text`, ignoring case, in list
    // order. Blank text matches every entry.
    std::vector<size_t> Filter(const std::string& text) const;
    // The entries to show for a filter's matches: the matches and every aggregate they are part
    // of, in list order, so that a match is shown at its place in the tree.
    std::vector<size_t> WithAncestors(const std::vector<size_t>& matches) const;

    // The entry of exactly this path (the first one when a name is listed twice, as two static
    // variables of one name in different source files are).
    std::optional<size_t> Resolve(const std::string& path) const;
    // Up to `count` paths close to `path` (by edit distance, ignoring case, or holding it whole),
    // closest first: what the user probably meant by a name the firmware does not have.
    std::vector<std::string> ClosestNames(const std::string& path, size_t count = 3) const;

private:
    std::vector<FirmwareVariable> variables_;
    std::vector<std::string> lowerPaths_;
    std::vector<size_t> parents_;
    std::unordered_map<std::string, size_t> byPath_;
};

// Where an aggregate member's or element's own name starts in `path`: at the last '.' or '['
// outside brackets; std::string::npos for a path of one component.
size_t LastComponentStart(const std::string& path);

}  // namespace ondrix
