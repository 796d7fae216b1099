#include "workbench/ZoomHistory.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace ondrix {

void ZoomHistory::Empty() {
    length_ = 0;
    position_ = 0;
    unZoomEnabled_ = false;
    reZoomEnabled_ = false;
}

void ZoomHistory::Push(const ZoomView& current) {
    if (length_ >= kCapacity) {
        std::move(entries_.begin() + 1, entries_.end(), entries_.begin());
        length_ = kCapacity - 1;
    }
    entries_[static_cast<size_t>(length_)] = current;
    ++length_;
    position_ = length_;
    unZoomEnabled_ = true;
    reZoomEnabled_ = false;
}

// While Re Zoom is unusable the screen shows a view newer than any restored one (a zoom, or Re
// Zoom reached the end). It is saved in place of anything after the position, and the position
// is stepped back over it, so the step below lands on the view before it.
//
// Un Zoom is usable only with the position at 1 or more (Push and Re Zoom leave it there, and Un
// Zoom turns itself off at entry 0), so the step always lands on an entry.
std::optional<ZoomView> ZoomHistory::UnZoom(const ZoomView& current) {
    if (!unZoomEnabled_) return std::nullopt;
    if (!reZoomEnabled_) {
        length_ = position_;
        Push(current);
        --position_;
    }
    --position_;
    reZoomEnabled_ = true;
    if (position_ == 0) unZoomEnabled_ = false;
    return entries_[static_cast<size_t>(position_)];
}

// A usable Re Zoom always has an entry above the position: Un Zoom turns it on only below the
// last entry, and it turns itself off on reaching the last.
std::optional<ZoomView> ZoomHistory::ReZoom() {
    if (!reZoomEnabled_) return std::nullopt;
    ++position_;
    unZoomEnabled_ = true;
    if (position_ == length_ - 1) reZoomEnabled_ = false;
    return entries_[static_cast<size_t>(position_)];
}

const ZoomView& ZoomHistory::Entry(int index) const {
    if (index < 0 || index >= length_) throw std::out_of_range("zoom history entry " + std::to_string(index));
    return entries_[static_cast<size_t>(index)];
}

}  // namespace ondrix
