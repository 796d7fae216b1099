#include "firmware/FirmwareVariableIndex.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <utility>

namespace ondrix {

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
        size_t end = at;
        while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) ++end;
        if (end > at) words.push_back(Lower(std::string_view(text).substr(at, end - at)));
        at = end;
    }
    return words;
}

// Levenshtein distance, given up (returning `limit` + 1) once it must exceed `limit`: most
// paths are far from the name asked for, and the band keeps a scan of every path quick.
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

FirmwareVariableIndex::FirmwareVariableIndex(std::vector<FirmwareVariable> variables)
    : variables_(std::move(variables)) {
    const size_t count = variables_.size();
    lowerPaths_.reserve(count);
    parents_.assign(count, kNoParent);
    byPath_.reserve(count);
    for (size_t entry = 0; entry < count; ++entry) {
        const std::string& path = variables_[entry].path;
        lowerPaths_.push_back(Lower(path));
        byPath_.emplace(path, entry);
        const size_t start = LastComponentStart(path);
        if (start == std::string::npos) continue;
        // The reader lists an aggregate before its parts, so its entry is known by now.
        const auto parent = byPath_.find(path.substr(0, start));
        if (parent != byPath_.end() && parent->second != entry) parents_[entry] = parent->second;
    }
}

std::string FirmwareVariableIndex::LastComponent(size_t entry) const {
    const std::string& path = variables_[entry].path;
    if (parents_[entry] == kNoParent) return path;
    const size_t start = LastComponentStart(path);
    return path.substr(path[start] == '.' ? start + 1 : start);
}

std::vector<size_t> FirmwareVariableIndex::Filter(const std::string& text) const {
    const std::vector<std::string> words = Words(text);
    std::vector<size_t> matches;
    if (words.empty()) {
        matches.resize(variables_.size());
        for (size_t entry = 0; entry < matches.size(); ++entry) matches[entry] = entry;
        return matches;
    }
    for (size_t entry = 0; entry < lowerPaths_.size(); ++entry) {
        const std::string& path = lowerPaths_[entry];
        const bool all = std::all_of(words.begin(), words.end(),
                                     [&path](const std::string& word) { return path.find(word) != std::string::npos; });
        if (all) matches.push_back(entry);
    }
    return matches;
}

std::vector<size_t> FirmwareVariableIndex::WithAncestors(const std::vector<size_t>& matches) const {
    std::vector<char> shown(variables_.size(), 0);
    for (size_t entry : matches) {
        // Stops at the first aggregate already shown: its own ancestors are shown with it.
        for (size_t at = entry; at != kNoParent && !shown[at]; at = parents_[at]) shown[at] = 1;
    }
    std::vector<size_t> entries;
    for (size_t entry = 0; entry < shown.size(); ++entry)
        if (shown[entry]) entries.push_back(entry);
    return entries;
}

std::optional<size_t> FirmwareVariableIndex::Resolve(const std::string& path) const {
    const auto found = byPath_.find(path);
    if (found == byPath_.end()) return std::nullopt;
    return found->second;
}

std::vector<std::string> FirmwareVariableIndex::ClosestNames(const std::string& path, size_t count) const {
    if (count == 0 || path.empty()) return {};
    const std::string wanted = Lower(path);
    // A third of the name may be mistyped; a name of a few letters may have two typing errors.
    const size_t limit = std::max<size_t>(2, wanted.size() / 3);
    std::vector<std::pair<size_t, size_t>> candidates;  // distance, entry
    for (size_t entry = 0; entry < lowerPaths_.size(); ++entry) {
        const std::string& candidate = lowerPaths_[entry];
        size_t distance = BoundedDistance(wanted, candidate, limit);
        // "counter" for "sample_counter": a part of the name is as good as a typing error.
        if (distance > limit && candidate.find(wanted) != std::string::npos) distance = limit;
        if (distance <= limit) candidates.emplace_back(distance, entry);
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (const auto& [distance, entry] : candidates) {
        const std::string& name = variables_[entry].path;
        if (std::find(names.begin(), names.end(), name) != names.end()) continue;
        names.push_back(name);
        if (names.size() == count) break;
    }
    return names;
}

}  // namespace ondrix
