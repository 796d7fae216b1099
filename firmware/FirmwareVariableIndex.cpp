#include "firmware/FirmwareVariableIndex.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <type_traits>
#include <unordered_map>

#include "firmware/VariableParts.h"

namespace ondrix {

namespace {

// A member path's mark for "any element index": no name holds it, and no word typed does.
constexpr char kAnyIndex = '\x01';

// A type nested in arrays and structs has as many member paths as its nesting multiplies out
// to, and a crafted file (a struct of two of a struct of two of ...) makes that grow with the
// depth as 2^depth. Member paths below a type's own members are listed only up to these
// numbers, per type and in all: what is left out is found by the filter only through a path
// that holds the words itself. A type's own members are always listed (there are as many as
// the file describes), and a variable's name is always matched, so no variable is hidden.
constexpr size_t kMaxMemberPathsPerType = 4096;
constexpr size_t kMaxMemberPaths = size_t{1} << 17;
// Opening an array under a filter with words that may fall on an index matches each element
// against the member paths below it: about this many matchings at most.
constexpr uint64_t kScanWork = uint64_t{1} << 22;
// Member suggestions for a mistyped path: the members of the deepest part that exists and
// theirs, within this many.
constexpr size_t kMaxSuggestedParts = 1024;

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool StartsWith(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && text.compare(0, start.size(), start) == 0;
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string_view LastPathComponent(std::string_view file) {
    const size_t slash = file.find_last_of("/\\");
    return slash == std::string_view::npos ? file : file.substr(slash + 1);
}

// "motor.c" names "motor.c" and "src/motor.c".
bool FileMatches(std::string_view sourceFile, std::string_view file) {
    if (sourceFile == file) return true;
    return sourceFile.size() > file.size() && EndsWith(sourceFile, file) &&
           (sourceFile[sourceFile.size() - file.size() - 1] == '/' ||
            sourceFile[sourceFile.size() - file.size() - 1] == '\\');
}

// Where a variable's name may end in a path: before a member or an element, or at the end.
// Longest first, as a name may itself hold dots and brackets ("Table<int[4]>::data").
std::vector<size_t> NameEnds(std::string_view path) {
    std::vector<size_t> ends;
    for (size_t i = path.size(); i > 0; --i)
        if (i == path.size() || path[i] == '.' || path[i] == '[') ends.push_back(i);
    return ends;
}

// Whether `word` is in `head` followed by `tail`, without joining the two.
bool ContainsAcross(std::string_view head, std::string_view tail, std::string_view word) {
    if (head.find(word) != std::string_view::npos || tail.find(word) != std::string_view::npos) return true;
    const size_t length = word.size();
    const size_t fewest = std::max<size_t>(1, length > tail.size() ? length - tail.size() : 1);
    const size_t most = std::min(length - 1, head.size());
    for (size_t inHead = fewest; inHead <= most; ++inHead)
        if (EndsWith(head, word.substr(0, inHead)) && StartsWith(tail, word.substr(inHead))) return true;
    return false;
}

// Whether `word` is in a path that `head` followed by `tail` stands for, each kAnyIndex in them
// being the digits of some index. A kAnyIndex always stands between '[' and ']', so after its
// digits only the ']' can follow: matching never has to choose.
bool ContainsAnyIndex(std::string_view head, std::string_view tail, std::string_view word) {
    const size_t total = head.size() + tail.size();
    const auto at = [&](size_t j) { return j < head.size() ? head[j] : tail[j - head.size()]; };
    for (size_t start = 0; start < total; ++start) {
        size_t j = start;
        // Starting on an index, the word may start among its digits.
        bool inIndex = at(start) == kAnyIndex;
        bool found = true;
        for (const char c : word) {
            if (inIndex) {
                if (IsDigit(c)) continue;
                inIndex = false;
                ++j;
            }
            if (j >= total) {
                found = false;
                break;
            }
            const char expected = at(j);
            if (expected == kAnyIndex && IsDigit(c)) {
                inIndex = true;
            } else if (expected == c && expected != kAnyIndex) {
                ++j;
            } else {
                found = false;
                break;
            }
        }
        if (found) return true;
    }
    return false;
}

// Levenshtein distance, given up (returning `limit` + 1) once it must exceed `limit`: most
// names are far from the one asked for, and the band keeps a scan of every name quick.
size_t BoundedDistance(std::string_view a, std::string_view b, size_t limit) {
    const size_t lengthGap = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    if (lengthGap > limit) return limit + 1;
    std::vector<size_t> previous(b.size() + 1), current(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) previous[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        size_t rowBest = current[0];
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t substitution = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
            rowBest = std::min(rowBest, current[j]);
        }
        if (rowBest > limit) return limit + 1;
        std::swap(previous, current);
    }
    return previous[b.size()];
}

bool HasParts(const FirmwareSymbols& symbols, TypeRef ref) {
    const FirmwareType* type = TypeAt(symbols, ref);
    if (!type) return false;
    return IsArrayType(*type) ? type->count > 0 : IsAggregateType(*type) && !type->members.empty();
}

std::string Where(const FirmwareVariable& variable) {
    return variable.address ? " at " + AddressListing(*variable.address) : " with no fixed address";
}

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

}  // namespace

size_t LastComponentStart(const std::string& path) {
    int depth = 0;
    for (size_t i = path.size(); i-- > 0;) {
        const char c = path[i];
        if (c == ']') {
            ++depth;
        } else if (c == '[') {
            if (--depth <= 0) return i == 0 ? std::string::npos : i;
        } else if (c == '.' && depth == 0) {
            return i == 0 ? std::string::npos : i;
        }
    }
    return std::string::npos;
}

// ---- Names -------------------------------------------------------------------------------

FirmwareVariableIndex::FirmwareVariableIndex(FirmwareSymbols symbols) : symbols_(std::move(symbols)) {
    NameVariables();
    ListMemberPaths();
}

void FirmwareVariableIndex::NameVariables() {
    std::vector<FirmwareVariable>& variables = symbols_.variables;
    byName_.resize(variables.size());
    for (uint32_t v = 0; v < byName_.size(); ++v) byName_[v] = v;
    std::stable_sort(byName_.begin(), byName_.end(),
                     [&variables](uint32_t a, uint32_t b) { return variables[a].path < variables[b].path; });

    // A static sharing its name with another variable is named with its file: by the file's last
    // component when that tells it from the others, else by the file as the reader gave it.
    std::vector<std::pair<uint32_t, std::string>> renamed;
    for (size_t first = 0, end = 0; first < byName_.size(); first = end) {
        const std::string& name = variables[byName_[first]].path;
        end = first + 1;
        while (end < byName_.size() && variables[byName_[end]].path == name) ++end;
        if (end - first < 2) continue;
        for (size_t i = first; i < end; ++i) {
            const std::string& file = variables[byName_[i]].sourceFile;
            if (file.empty()) continue;
            const std::string_view last = LastPathComponent(file);
            const bool lastTells = std::none_of(byName_.begin() + first, byName_.begin() + end, [&](uint32_t other) {
                return other != byName_[i] && !variables[other].sourceFile.empty() &&
                       LastPathComponent(variables[other].sourceFile) == last;
            });
            renamed.emplace_back(byName_[i], Quoted(lastTells ? last : std::string_view(file)) + "::" + name);
        }
    }
    std::sort(renamed.begin(), renamed.end());
    for (auto& [variable, name] : renamed) {
        plainNames_.emplace_back(variable, std::move(variables[variable].path));
        variables[variable].path = std::move(name);
    }

    lowerNames_.reserve(variables.size());
    for (const FirmwareVariable& variable : variables) {
        lowerNames_.push_back(Lower(variable.path));
        if (variable.sourceFile.empty()) continue;
        sourceFiles_.insert(variable.sourceFile);
        sourceFiles_.emplace(LastPathComponent(variable.sourceFile));
    }
    dropped_.insert(symbols_.dropped.begin(), symbols_.dropped.end());
}

std::string_view FirmwareVariableIndex::PlainName(size_t variable) const {
    const auto found = std::lower_bound(plainNames_.begin(), plainNames_.end(), variable,
                                        [](const auto& renamed, size_t v) { return renamed.first < v; });
    if (found != plainNames_.end() && found->first == variable) return found->second;
    return symbols_.variables[variable].path;
}

std::pair<const uint32_t*, const uint32_t*> FirmwareVariableIndex::Candidates(std::string_view plainName) const {
    const auto range = std::equal_range(
        byName_.begin(), byName_.end(), plainName,
        [this](const auto& a, const auto& b) {
            if constexpr (std::is_same_v<std::decay_t<decltype(a)>, uint32_t>) return PlainName(a) < b;
            else return a < PlainName(b);
        });
    return {byName_.data() + (range.first - byName_.begin()), byName_.data() + (range.second - byName_.begin())};
}

// A variable visible to the whole program is the one its plain name means; statics sharing a
// name must be told apart by their files.
VariableLookup FirmwareVariableIndex::Pick(std::string_view plainName, const std::vector<size_t>& candidates) const {
    for (size_t candidate : candidates)
        if (Variable(candidate).sourceFile.empty()) return {std::nullopt, {}, candidate};
    if (candidates.size() == 1) return {std::nullopt, {}, candidates.front()};
    std::string error = Quoted(plainName) + " is ambiguous: a static";
    for (size_t i = 0; i < candidates.size(); ++i) {
        const FirmwareVariable& variable = Variable(candidates[i]);
        error += (i == 0 ? " in " : i + 1 == candidates.size() ? " and in " : ", in ") + variable.sourceFile +
                 Where(variable);
    }
    return {std::nullopt, error + "; write " + Variable(candidates.front()).path, std::nullopt};
}

VariableLookup FirmwareVariableIndex::ResolveFrom(size_t head, std::string_view suffix) const {
    PartLookup found = FindPart(symbols_, Variable(head), suffix);
    return {std::move(found.part), std::move(found.error), head};
}

VariableLookup FirmwareVariableIndex::Resolve(const std::string& path) const {
    if (path.empty()) return {};
    if (path.front() == '\'') {
        const size_t close = path.find('\'', 1);
        if (close == std::string::npos || close == 1 || path.compare(close + 1, 2, "::") != 0)
            return {std::nullopt, "a static variable is named with its file as 'motor.c'::name", std::nullopt};
        return ResolveInFile(std::string_view(path).substr(1, close - 1), std::string_view(path).substr(close + 3));
    }
    const size_t scope = path.find("::");
    if (scope != std::string::npos && sourceFiles_.count(path.substr(0, scope)) != 0) {
        VariableLookup inFile =
            ResolveInFile(std::string_view(path).substr(0, scope), std::string_view(path).substr(scope + 2));
        if (inFile.variable || !inFile.error.empty()) return inFile;
    }
    return ResolvePlain(path);
}

VariableLookup FirmwareVariableIndex::ResolvePlain(std::string_view path) const {
    const std::vector<size_t> ends = NameEnds(path);
    for (size_t end : ends) {
        const std::string_view name = path.substr(0, end);
        const auto [first, last] = Candidates(name);
        if (first == last) continue;
        VariableLookup picked = Pick(name, std::vector<size_t>(first, last));
        if (!picked.head) return picked;
        return ResolveFrom(*picked.head, path.substr(end));
    }
    for (size_t end : ends) {
        const std::string name(path.substr(0, end));
        if (dropped_.count(name) != 0)
            return {std::nullopt,
                    Quoted(name) + " is not in the firmware image: the linker left it out, as it does with a "
                                   "variable nothing uses",
                    std::nullopt};
    }
    return {};
}

VariableLookup FirmwareVariableIndex::ResolveInFile(std::string_view file, std::string_view rest) const {
    for (size_t end : NameEnds(rest)) {
        const std::string_view name = rest.substr(0, end);
        const auto [first, last] = Candidates(name);
        if (first == last) continue;
        std::vector<size_t> inFile;
        for (const uint32_t* candidate = first; candidate != last; ++candidate)
            if (FileMatches(Variable(*candidate).sourceFile, file)) inFile.push_back(*candidate);
        if (inFile.size() > 1) return Pick(name, inFile);
        if (inFile.size() == 1) return ResolveFrom(inFile.front(), rest.substr(end));
        std::string error = std::string(file) + " has no static variable " + Quoted(name) + "; the firmware has ";
        for (const uint32_t* candidate = first; candidate != last; ++candidate)
            error += (candidate == first ? "" : ", ") + Variable(*candidate).path;
        return {std::nullopt, error, std::nullopt};
    }
    return {};
}

std::optional<uint64_t> FirmwareVariableIndex::PartToward(const FirmwareVariable& whole,
                                                          const std::string& path) const {
    const size_t length = whole.path.size();
    if (path.size() <= length + 1 || path.compare(0, length, whole.path) != 0) return std::nullopt;
    return FirstStep(symbols_, whole, std::string_view(path).substr(length)).index;
}

std::vector<std::string> FirmwareVariableIndex::ClosestNames(const std::string& path, size_t count) const {
    if (count == 0 || path.empty()) return {};
    const std::string wanted = Lower(path);
    // A third of the name may be mistyped; a name of a few letters may have two typing errors.
    const size_t limit = std::max<size_t>(2, wanted.size() / 3);
    std::vector<std::pair<size_t, std::string>> candidates;  // distance, name
    const auto consider = [&](std::string_view lower, const std::string& name) {
        size_t distance = BoundedDistance(wanted, lower, limit);
        // "counter" for "sample_counter": a part of the name is as good as a typing error.
        if (distance > limit && lower.find(wanted) != std::string_view::npos) distance = limit;
        if (distance <= limit) candidates.emplace_back(distance, name);
    };
    for (size_t v = 0; v < Size(); ++v) consider(lowerNames_[v], Variable(v).path);

    // The parts around the deepest part of the path that exists: its members, and theirs; an
    // array's first element stands for all of them.
    std::optional<FirmwareVariable> deepest;
    for (std::string prefix = path; !deepest;) {
        deepest = Resolve(prefix).variable;
        const size_t start = LastComponentStart(prefix);
        if (start == std::string::npos) break;
        prefix.resize(start);
    }
    if (deepest) {
        std::vector<FirmwareVariable> level{*deepest};
        size_t listed = 0;
        for (int depth = 0; depth < 2 && listed < kMaxSuggestedParts; ++depth) {
            std::vector<FirmwareVariable> next;
            for (const FirmwareVariable& whole : level) {
                const uint64_t parts = PartCount(symbols_, whole);
                const FirmwareType* type = TypeAt(symbols_, whole.type);
                const uint64_t shown = type && IsArrayType(*type) ? std::min<uint64_t>(parts, 1) : parts;
                for (uint64_t part = 0; part < shown && listed < kMaxSuggestedParts; ++part, ++listed) {
                    next.push_back(Part(symbols_, whole, part));
                    consider(Lower(next.back().path), next.back().path);
                }
            }
            level = std::move(next);
        }
    }

    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (auto& [distance, name] : candidates) {
        if (name == path || std::find(names.begin(), names.end(), name) != names.end()) continue;
        names.push_back(std::move(name));
        if (names.size() == count) break;
    }
    return names;
}

// ---- Filter ------------------------------------------------------------------------------

void FirmwareVariableIndex::ListMemberPaths() {
    memberPathsOf_.assign(Size(), kNone);
    std::unordered_map<TypeRef, uint32_t> listOf;
    size_t budget = kMaxMemberPaths;
    for (size_t v = 0; v < Size(); ++v) {
        const TypeRef root = Variable(v).type;
        if (!HasParts(symbols_, root)) continue;
        const auto [known, added] = listOf.emplace(root, static_cast<uint32_t>(memberPaths_.size()));
        memberPathsOf_[v] = known->second;
        if (!added) continue;

        MemberPaths list;
        struct Pending {
            uint32_t path;
            TypeRef type;
        };
        std::vector<Pending> pending{{FilterScope::kSelf, root}};
        bool full = false;
        for (size_t next = 0; next < pending.size() && !full; ++next) {
            // Named apart: a lambda below uses it, and C++17 lambdas cannot take structured bindings.
            const uint32_t parent = pending[next].path;
            const TypeRef ref = pending[next].type;
            const bool top = parent == FilterScope::kSelf;
            const std::string prefix = top ? std::string() : list.paths[parent].lower;
            const auto first = static_cast<uint32_t>(list.paths.size());
            const auto add = [&](std::string suffix, uint32_t part, TypeRef type) {
                if (!top && (list.paths.size() >= kMaxMemberPathsPerType || budget == 0)) {
                    full = true;
                    return;
                }
                if (!top) --budget;
                const auto id = static_cast<uint32_t>(list.paths.size());
                list.paths.push_back({prefix + suffix, parent, part, 0, 0});
                if (HasParts(symbols_, type)) pending.push_back({id, type});
            };
            const FirmwareType& type = symbols_.types[ref];
            if (IsArrayType(type)) {
                add(std::string("[") + kAnyIndex + "]", 0, type.element);
            } else {
                for (size_t m = 0; m < type.members.size() && !full; ++m) {
                    const FirmwareMember& member = type.members[m];
                    add("." + Lower(member.name), static_cast<uint32_t>(m), member.bitSize > 0 ? kNoType : member.type);
                }
            }
            const auto count = static_cast<uint32_t>(list.paths.size()) - first;
            if (top) {
                list.topCount = count;
            } else {
                list.paths[parent].firstChild = first;
                list.paths[parent].childCount = count;
            }
        }
        memberPaths_.push_back(std::move(list));
    }
}

const FirmwareVariableIndex::MemberPaths* FirmwareVariableIndex::MemberPathsOf(size_t variable) const {
    const uint32_t list = memberPathsOf_[variable];
    return list == kNone ? nullptr : &memberPaths_[list];
}


bool FirmwareVariableIndex::Holds(const VariableFilter& filter, std::string_view head, std::string_view tail,
                                  bool indexWordsOnly) {
    const bool openIndex = tail.find(kAnyIndex) != std::string_view::npos;
    for (const VariableFilter::Word& word : filter.words_) {
        if (indexWordsOnly && !word.index) continue;
        const bool held = word.index && openIndex ? ContainsAnyIndex(head, tail, word.text)
                                                  : ContainsAcross(head, tail, word.text);
        if (!held) return false;
    }
    return true;
}

VariableFilter FirmwareVariableIndex::Filter(const std::string& text) const {
    VariableFilter filter;
    for (size_t at = 0; at < text.size();) {
        while (at < text.size() && IsBlank(text[at])) ++at;
        size_t end = at;
        while (end < text.size() && !IsBlank(text[end])) ++end;
        if (end > at) {
            VariableFilter::Word word{Lower(std::string_view(text).substr(at, end - at)), false};
            word.index = word.text.find_first_of("0123456789[]") != std::string::npos;
            filter.indexWords_ = filter.indexWords_ || word.index;
            filter.words_.push_back(std::move(word));
        }
        at = end;
    }
    if (filter.Blank()) {
        filter.topLevel_.resize(Size());
        for (size_t v = 0; v < Size(); ++v) filter.topLevel_[v].variable = v;
        return filter;
    }
    std::optional<size_t> typedHead;
    if (VariableLookup typed = Resolve(std::string(Trimmed(text))); typed.variable) {
        filter.typedPath_ = std::move(typed.variable->path);
        typedHead = typed.head;
    }

    for (size_t v = 0; v < Size(); ++v) {
        VariableFilter::Match match{v, Holds(filter, lowerNames_[v], {}, false), {}};
        if (const MemberPaths* list = match.whole ? nullptr : MemberPathsOf(v)) {
            for (uint32_t path = 0; path < list->paths.size(); ++path)
                if (Holds(filter, lowerNames_[v], list->paths[path].lower, false)) match.memberPaths.push_back(path);
        }
        FilterScope scope;
        if (match.whole || !match.memberPaths.empty()) {
            if (!match.whole) scope.match = static_cast<uint32_t>(filter.matches_.size());
            filter.matches_.push_back(std::move(match));
        } else if (typedHead == v) {
            scope.match = FilterScope::kNoMatch;
        } else {
            continue;
        }
        if (typedHead == v) {
            // The text names this variable itself: all of it is what was asked for.
            if (Variable(v).path == filter.typedPath_) scope = FilterScope{};
            else scope.pathStep = 0;
        }
        filter.topLevel_.push_back({v, scope});
    }
    return filter;
}

ShownParts FirmwareVariableIndex::PartsShown(const VariableFilter& filter, const FirmwareVariable& shown,
                                             const FilterScope& scope, uint64_t maxRows) const {
    ShownParts parts;
    const uint64_t count = PartCount(symbols_, shown);
    if (scope.Everything()) {
        parts.leading = std::min(count, maxRows);
        parts.unlisted = count - parts.leading;
    } else if (scope.match != FilterScope::kNoMatch) {
        MatchingParts(filter, shown, scope, count, maxRows, parts);
    }
    if (scope.pathStep != FilterScope::kOffPath) AddPathStep(filter, shown, scope, count, parts);
    return parts;
}

void FirmwareVariableIndex::MatchingParts(const VariableFilter& filter, const FirmwareVariable& shown,
                                          const FilterScope& scope, uint64_t count, uint64_t maxRows,
                                          ShownParts& parts) const {
    if (count == 0) return;
    const VariableFilter::Match& match = filter.matches_[scope.match];
    const MemberPaths& list = *MemberPathsOf(match.variable);
    const bool top = scope.memberPath == FilterScope::kSelf;
    const uint32_t first = top ? 0 : list.paths[scope.memberPath].firstChild;
    const uint32_t children = top ? list.topCount : list.paths[scope.memberPath].childCount;
    // Each matching path below `shown`, by the part of `shown` it goes through.
    std::vector<std::pair<uint32_t, uint32_t>> below;  // child path, matching path
    for (uint32_t path : match.memberPaths) {
        uint32_t at = path;
        while (at != FilterScope::kSelf && list.paths[at].parent != scope.memberPath) at = list.paths[at].parent;
        if (at != FilterScope::kSelf) below.emplace_back(at, path);
    }
    std::sort(below.begin(), below.end());
    // What each matching path below `child` adds to the path of a part it stands for.
    const auto tails = [&](uint32_t child) {
        std::vector<std::string_view> rest;
        const auto [from, to] = std::equal_range(below.begin(), below.end(), std::make_pair(child, uint32_t{0}),
                                                 [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto at = from; at != to; ++at)
            rest.push_back(std::string_view(list.paths[at->second].lower).substr(list.paths[child].lower.size()));
        return rest;
    };

    if (IsArrayType(symbols_.types[shown.type])) {
        if (children == 0 || below.empty()) return;
        const uint32_t element = first;
        const FilterScope belowElement{scope.match, element, FilterScope::kOffPath};
        if (!filter.indexWords_) {
            // Elements differ in their indices only, which no word falls on: one stands for all.
            parts.leading = std::min(count, maxRows);
            parts.unlisted = count - parts.leading;
            const bool whole = Holds(filter, Lower(Part(symbols_, shown, 0).path), {}, false);
            parts.leadingScope = whole ? FilterScope{} : belowElement;
            return;
        }
        const std::vector<std::string_view> rest = tails(element);
        // Each element is matched against every path below it: the elements looked at are
        // fewer when those are many, so that opening an array takes a bounded time.
        const uint64_t looked = std::min({count, maxRows, std::max<uint64_t>(1000, kScanWork / rest.size())});
        for (uint64_t index = 0; index < looked; ++index)
            ListedPart(filter, Part(symbols_, shown, index), index, belowElement, rest, parts);
        parts.unlisted = count - looked;
        return;
    }
    const uint64_t looked = std::min(count, maxRows);
    for (uint64_t member = 0; member < looked && member < children; ++member) {
        const auto child = static_cast<uint32_t>(first + member);
        if (!std::binary_search(below.begin(), below.end(), std::make_pair(child, uint32_t{0}),
                                [](const auto& a, const auto& b) { return a.first < b.first; }))
            continue;
        ListedPart(filter, Part(symbols_, shown, member), member, {scope.match, child, FilterScope::kOffPath},
                   filter.indexWords_ ? tails(child) : std::vector<std::string_view>{}, parts);
    }
    parts.unlisted = count - looked;
}

// `part` leads to a match as far as its member path tells; which indices a word falls on is
// known now up to `part`, and some match below must still hold those words.
void FirmwareVariableIndex::ListedPart(const VariableFilter& filter, const FirmwareVariable& part, uint64_t index,
                                       const FilterScope& below, const std::vector<std::string_view>& tails,
                                       ShownParts& parts) const {
    const std::string lower = Lower(part.path);
    if (Holds(filter, lower, {}, false)) {
        parts.listed.push_back({index, FilterScope{}});
        return;
    }
    const bool held = !filter.indexWords_ || std::any_of(tails.begin(), tails.end(), [&](std::string_view tail) {
                          return Holds(filter, lower, tail, true);
                      });
    if (held) parts.listed.push_back({index, below});
}

void FirmwareVariableIndex::AddPathStep(const VariableFilter& filter, const FirmwareVariable& shown,
                                        const FilterScope& scope, uint64_t count, ShownParts& parts) const {
    const std::optional<uint64_t> step = PartToward(shown, filter.typedPath_);
    if (!step) return;
    const bool target = Part(symbols_, shown, *step).path == filter.typedPath_;
    const auto onPath = [&](FilterScope stepScope) {
        // Everything below the part the text names is what was asked for.
        if (target) return FilterScope{};
        stepScope.pathStep = scope.pathStep + 1;
        return stepScope;
    };
    const auto listed =
        std::lower_bound(parts.listed.begin(), parts.listed.end(), *step,
                         [](const ShownParts::Part& part, uint64_t index) { return part.index < index; });
    if (listed != parts.listed.end() && listed->index == *step) {
        listed->scope = onPath(listed->scope);
    } else if (*step < parts.leading) {
        parts.override = ShownParts::Part{*step, onPath(parts.leadingScope)};
    } else {
        if (parts.unlisted > 0 && *step >= count - parts.unlisted) --parts.unlisted;
        parts.listed.insert(listed,
                            {*step, onPath({FilterScope::kNoMatch, FilterScope::kSelf, FilterScope::kOffPath})});
    }
}

}  // namespace ondrix
