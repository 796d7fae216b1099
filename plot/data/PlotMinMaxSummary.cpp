#include "plot/data/PlotMinMaxSummary.h"

#include "plot/data/PlotDataList.h"

namespace ondrix {

size_t TPlotMinMaxSummary::BlockCount(int capacity) {
    return static_cast<size_t>((capacity + TPlotMinMaxBlock::kMask) >> TPlotMinMaxBlock::kShift);
}

// ---- Hooks of the list -----------------------------------------------------------------------

void TPlotMinMaxSummary::PointEdited(int slot) {
    if (!tracking_) return;
    blocks_[static_cast<size_t>(slot >> TPlotMinMaxBlock::kShift)].Dirty = true;
    anyDirty_ = true;
}

void TPlotMinMaxSummary::PointsMoved() { tracking_ = false; }

void TPlotMinMaxSummary::Reserve(int capacity) {
    if (built_) blocks_.reserve(BlockCount(capacity));
}

void TPlotMinMaxSummary::Resized(int capacity, bool pointsStayed) {
    if (!built_) return;
    // Reserved beforehand, or smaller: no allocation here. An emptied list gives its blocks back.
    if (capacity == 0) blocks_ = {};
    else blocks_.resize(BlockCount(capacity));
    if (!pointsStayed) tracking_ = false;
}

// ---- For the list's reader -------------------------------------------------------------------

void TPlotMinMaxSummary::Build(int capacity) {
    blocks_.assign(BlockCount(capacity), TPlotMinMaxBlock{});
    built_ = true;
    tracking_ = false;
}

void TPlotMinMaxSummary::Refresh(const TPlotDataNullSlot* slots, int count, int writeSlot) {
    if (!tracking_) {
        // Slots 0..count-1 hold the points. The block that the next Add writes into stops at
        // that slot: its later slots hold the ring's oldest points, which the next Adds
        // overwrite, and the summary covers what was written in order from a block's start.
        for (size_t b = 0; b < blocks_.size(); ++b) {
            const int first = static_cast<int>(b << TPlotMinMaxBlock::kShift);
            int end = std::min(count, first + TPlotMinMaxBlock::kSize);
            if (writeSlot > first && writeSlot < end) end = writeSlot;
            Summarise(blocks_[b], slots + first, std::max(end - first, 0));
        }
        tracking_ = true;
        anyDirty_ = false;
        return;
    }
    if (!anyDirty_) return;
    for (size_t b = 0; b < blocks_.size(); ++b) {
        TPlotMinMaxBlock& block = blocks_[b];
        if (block.Dirty) Summarise(block, slots + (b << TPlotMinMaxBlock::kShift), block.Filled);
    }
    anyDirty_ = false;
}

void TPlotMinMaxSummary::Summarise(TPlotMinMaxBlock& block, const TPlotDataNullSlot* first, int filled) {
    block = TPlotMinMaxBlock{};
    for (const TPlotDataNullSlot* point = first; point != first + filled; ++point)
        block.Take(point->x, point->y, point->IsNull() || point->IsEmpty());
}

}  // namespace ondrix
