#pragma once
// The scope's linear undo/redo history of views: Un Zoom and Re Zoom step through the 20 most
// recent views that zoom commands and zoom boxes left behind.
//
// Entries are only ever appended: a new view goes after the last stored one even when Un Zoom
// had stepped back, so stepping back and zooming anew loses nothing newer. When full, the oldest
// view is dropped. The history also decides whether Un Zoom and Re Zoom can be used, because
// the first Un Zoom after a new view has to save that view before leaving it.
//
// Pure data: it neither reads nor moves the axes; the caller passes the view on screen and
// applies the view it gets back. Threads: GUI thread only.

#include <array>
#include <optional>

namespace ondrix {

// One axis's visible range.
struct AxisRange {
    double Min = 0;
    double Span = 0;
    bool operator==(const AxisRange& other) const { return Min == other.Min && Span == other.Span; }
    bool operator!=(const AxisRange& other) const { return !(*this == other); }
};

// What the scope shows: X axis 0 and Y axes 0..3.
struct ZoomView {
    static constexpr int kYAxisCount = 4;
    AxisRange X;
    std::array<AxisRange, kYAxisCount> Y;
    bool operator==(const ZoomView& other) const { return X == other.X && Y == other.Y; }
    bool operator!=(const ZoomView& other) const { return !(*this == other); }
};

class ZoomHistory {
public:
    static constexpr int kCapacity = 20;

    // Nothing stored; Un Zoom and Re Zoom unusable. At start-up and at every Run.
    void Empty();

    // Saves the view about to be changed: appended after the last entry (dropping the oldest
    // when full); Un Zoom becomes usable and Re Zoom not.
    void Push(const ZoomView& current);

    // The view to show, or nothing while Un Zoom is unusable. `current` is what is on screen:
    // it is saved first when it is newer than anything restored, so that Re Zoom can come back.
    std::optional<ZoomView> UnZoom(const ZoomView& current);
    // The view to show, or nothing while Re Zoom is unusable.
    std::optional<ZoomView> ReZoom();

    bool UnZoomEnabled() const { return unZoomEnabled_; }
    bool ReZoomEnabled() const { return reZoomEnabled_; }
    // Stored entries, 0..kCapacity.
    int Length() const { return length_; }
    // The entry Un Zoom or Re Zoom restored last, or Length right after a push.
    int Position() const { return position_; }
    // Entry 0 is the oldest. Throws std::out_of_range outside 0..Length-1.
    const ZoomView& Entry(int index) const;

private:
    std::array<ZoomView, kCapacity> entries_{};
    int length_ = 0;
    int position_ = 0;
    bool unZoomEnabled_ = false;
    bool reZoomEnabled_ = false;
};

}  // namespace ondrix
