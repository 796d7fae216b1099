#pragma once
// The minimum and maximum of a list's points, block by block, so that the min-max trace takes a
// whole block into a pixel column in one step instead of reading its points one by one.
//
// Blocks are aligned to storage slots, not to logical indexes: a full ring overwrites its oldest
// point on every Add, which moves every logical index by one but leaves every point in its slot.
// Adds write the slots in order, a ring wrapping from its last slot to slot 0, so each block
// summarises the points written into it in order since its first slot was written. A block that
// has all its slots written holds neighbours in logical order too; the one being written is
// incomplete, and so is the short block at the end of a capacity that is not a multiple of the
// block size: neither is ever taken whole.
//
// Block size: 64 points. Every column boundary cuts a block that is read point by point, so a
// column costs about one block of point reads plus one step per block it holds whole. With the
// scope's 4 x 1.5 M points in view (about 1,500 points per pixel column) the paint pass measured
// 3.05 ms with 32-point blocks, 3.13 ms with 64, 3.39 ms with 128 and 4.43 ms with 256: 64 is as
// fast as 32 at half the memory. A block takes 40 bytes, 2.6 % of the 1,536 bytes of the 64
// standard points it stands for.
//
// Owned and kept up to date by its list (TPlotDataNullList), under the list's threading rules.
// Only the list's hooks change it; readers see it through TPlotMinMaxBlocks.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace ondrix {

struct TPlotDataNullSlot;

struct TPlotMinMaxBlock {
    static constexpr int kShift = 6;
    static constexpr int kSize = 1 << kShift;
    static constexpr int kMask = kSize - 1;

    // Strict comparisons, as the trace's own: a Y that is not a number changes neither end.
    double MinX = std::numeric_limits<double>::infinity();
    double MaxX = -std::numeric_limits<double>::infinity();
    double MinY = std::numeric_limits<double>::infinity();
    double MaxY = -std::numeric_limits<double>::infinity();
    // Slots written in order from the block's first slot.
    int32_t Filled = 0;
    // One of them is Null or Empty, or has an X that is not a number: the trace reads such a
    // block point by point, as it would without the summary.
    bool Gap = false;
    // A point of it was edited after it was summarised; worked out again before the next read.
    bool Dirty = false;

    void Take(double x, double y, bool nullOrEmpty) {
        if (x < MinX) MinX = x;
        if (x > MaxX) MaxX = x;
        if (y < MinY) MinY = y;
        if (y > MaxY) MaxY = y;
        Gap |= nullOrEmpty || std::isnan(x);
        ++Filled;
    }
    bool Whole() const { return Filled == kSize && !Gap; }
};

// The summary, in storage slots. Not built until a reader first asks for it (the list's
// MinMaxBlocks): lists that are never drawn by the min-max trace never pay for it.
class TPlotMinMaxSummary {
public:
    bool IsBuilt() const { return built_; }

    // ---- Hooks of the list ----------------------------------------------------------------

    // Add wrote a point that is neither Null nor Empty into `slot`, the slot after the one the
    // last Add wrote (slot 0 after the last slot). O(1): it extends the slot's block, or starts
    // the block again when the slot is its first.
    void PointAdded(int slot, double x, double y) {
        if (!tracking_) return;
        TPlotMinMaxBlock& block = blocks_[static_cast<size_t>(slot >> TPlotMinMaxBlock::kShift)];
        if ((slot & TPlotMinMaxBlock::kMask) == 0) block = TPlotMinMaxBlock{};
        block.Take(x, y, false);
    }
    // X, Y, Null or Empty of the point in `slot` changed.
    void PointEdited(int slot);
    // The points left their slots (deleted, compacted, unwrapped): everything is worked out
    // again at the next Refresh.
    void PointsMoved();
    // Before the list reallocates to `capacity` slots, so that a failing allocation leaves the
    // list and its summary as they were.
    void Reserve(int capacity);
    // After it did; `pointsStayed` when every point kept its slot.
    void Resized(int capacity, bool pointsStayed);

    // ---- For the list's reader -------------------------------------------------------------

    // Starts keeping the summary; the blocks are worked out by the Refresh that follows.
    void Build(int capacity);
    // Works out the blocks that are out of date: all of them after PointsMoved, else the
    // edited ones. `writeSlot` is the slot the next Add will write.
    void Refresh(const TPlotDataNullSlot* slots, int count, int writeSlot);
    const TPlotMinMaxBlock* Blocks() const { return blocks_.data(); }

private:
    static size_t BlockCount(int capacity);
    static void Summarise(TPlotMinMaxBlock& block, const TPlotDataNullSlot* first, int filled);

    std::vector<TPlotMinMaxBlock> blocks_;
    bool built_ = false;
    // Built and up to date but for the Dirty blocks: Adds extend it.
    bool tracking_ = false;
    bool anyDirty_ = false;
};

// A reader's view of the summary in logical indexes, valid until the list changes. Indexes
// passed in must lie in 0..count-1 of the list it came from.
class TPlotMinMaxBlocks {
public:
    static constexpr int kSize = TPlotMinMaxBlock::kSize;

    TPlotMinMaxBlocks(const TPlotMinMaxBlock* blocks, int ringStart, int count)
        : blocks_(blocks), ringStart_(ringStart), count_(count) {}

    // The first logical index at or after `index` where a block starts; past the newest point
    // when no block starts there.
    int NextStart(int index) const {
        const int slot = Slot(index);
        const int offset = slot & TPlotMinMaxBlock::kMask;
        if (offset == 0) return index;
        // A wrapped ring's slot 0 follows its last slot, and starts a block.
        return index + std::min(kSize - offset, count_ - slot);
    }
    // The block of the kSize points from logical `index` on when `index` starts a block that
    // is complete and free of gaps; else null.
    const TPlotMinMaxBlock* WholeBlockAt(int index) const {
        const int slot = Slot(index);
        if ((slot & TPlotMinMaxBlock::kMask) != 0) return nullptr;
        const TPlotMinMaxBlock& block = blocks_[slot >> TPlotMinMaxBlock::kShift];
        return block.Whole() ? &block : nullptr;
    }

private:
    int Slot(int index) const {
        const int slot = index + ringStart_;
        return slot >= count_ ? slot - count_ : slot;
    }

    const TPlotMinMaxBlock* blocks_;
    int ringStart_;
    int count_;
};

}  // namespace ondrix
