#pragma once
// plot/data holds the channels' data lists: storage only, no drawing, no axes.
//
// A channel's points. Each list owns one contiguous block of point slots and the channel's
// current appearance values; the channel owns the list. A list grows in steps, or, once a
// ring-buffer size is set, keeps the newest N points in a block allocated at once and
// overwrites the oldest point on each Add without allocating.
//
// Points are addressed by a logical index: 0 is the oldest point held, GetCount() - 1 the
// newest. Four list classes trade memory per point against features:
//   TPlotDataNullList             24 bytes  X, Y doubles and flags (Null, Empty, marker)
//   TPlotDataCompactList           8 bytes  X, Y singles; never Null or Empty
//   TPlotDataCompactIntervalList   4 bytes  Y single; X from the first X and a fixed interval
//   TPlotDataFullList            136 bytes  X, Y, Null, Empty, High/Low/Open/Close, appearance
// Single-precision lists round on the way in, so a value reads back at 32-bit precision.
// The standard list also keeps, once its min-max trace asks for it, the minimum and maximum of
// its points block by block (PlotMinMaxSummary.h).
//
// Threads: none of its own. Every call on one list, reads while painting included, must be
// serialised by the caller.
//
// Errors: EPlotError with a fixed message: "Index out of Bounds" for a logical index outside
// 0..GetCount()-1, "Exceed Maximum List Size" for a capacity above GetMaxDataPoints(), the
// DeletePoints and interval SetX messages documented at those members. A failing call leaves
// the list as it was. An allocation that fails throws std::bad_alloc: Add and SetCapacity
// before any change, SetRingBufferSize after it has switched to ring mode (and emptied a
// wrapped ring that it was resizing).

#include <cstdint>
#include <memory>
#include <type_traits>

#include "plot/core/PlotTypes.h"
#include "plot/data/PlotMinMaxSummary.h"

namespace ondrix {

// The channel's appearance values for new points. Lists that keep per-point appearance copy
// them into each new point; the others answer them for every point.
struct CurrentPointAttributes {
    TColor TraceLineColor = 0;
    int32_t TraceLineWidth = 0;
    TPlotLineStyle TraceLineStyle = iplsSolid;
    bool MarkerVisible = false;
    int32_t MarkerSize = 0;
    TPlotMarkerStyle MarkerStyle = ipmsCircle;
    TColor MarkerPenColor = 0;
    int32_t MarkerPenWidth = 0;
    TPenStyle MarkerPenStyle = psSolid;
    TColor MarkerBrushColor = 0;
    TBrushStyle MarkerBrushStyle = bsSolid;
    char MarkerCharacter = 0;
    bool BarVisible = true;  // the one attribute that does not start at zero
    double BarReference = 0;
    double BarWidth = 0;
    TColor BarPenColor = 0;
    int32_t BarPenWidth = 0;
    TPenStyle BarPenStyle = psSolid;
    TColor BarBrushColor = 0;
    TBrushStyle BarBrushStyle = bsSolid;
};

// ---- Point slots -------------------------------------------------------------------------

// A point of the standard list. Flags: bit 0 Null, bit 1 Empty, bit 2 marker visible,
// bits 3-6 the marker style's ordinal; the other bits stay 0.
struct TPlotDataNullSlot {
    static constexpr uint16_t kNull = 0x0001;
    static constexpr uint16_t kEmpty = 0x0002;
    static constexpr uint16_t kMarkerVisible = 0x0004;
    static constexpr int kMarkerStyleShift = 3;
    static constexpr uint16_t kMarkerStyleMask = 0x000F << kMarkerStyleShift;

    double x;
    double y;
    uint16_t flags;

    bool IsNull() const { return (flags & kNull) != 0; }
    bool IsEmpty() const { return (flags & kEmpty) != 0; }
};
static_assert(sizeof(TPlotDataNullSlot) == 24, "the standard list promises 24 bytes per point");

struct TPlotDataCompactSlot {
    float x;
    float y;
};
static_assert(sizeof(TPlotDataCompactSlot) == 8, "the compact list promises 8 bytes per point");

// A point of the full list: its own values, then its own copy of the appearance values.
struct TPlotDataFullSlot {
    double x;
    double y;
    bool null;
    bool empty;
    double high;
    double low;
    double open;
    double close;
    CurrentPointAttributes appearance;
};
static_assert(sizeof(TPlotDataFullSlot) == 136, "the full list promises 136 bytes per point");

// ---- The list interface ------------------------------------------------------------------

class TPlotDataCustomList {
public:
    virtual ~TPlotDataCustomList() = default;
    TPlotDataCustomList(const TPlotDataCustomList&) = delete;
    TPlotDataCustomList& operator=(const TPlotDataCustomList&) = delete;

    int GetCount() const { return count_; }
    int GetCapacity() const { return capacity_; }
    // Storage slot of the oldest point once a ring has wrapped; 0 otherwise.
    int GetRingStart() const { return ringStart_; }
    bool IsRingBuffer() const { return isRingBuffer_; }
    int GetDataPointSize() const { return dataPointSize_; }
    // The largest capacity the list accepts: 2147483647 div GetDataPointSize().
    int GetMaxDataPoints() const { return maxDataPoints_; }
    // Bytes allocated for slots, whether they hold points or not.
    int GetMemoryUsed() const { return dataPointSize_ * capacity_; }

    const CurrentPointAttributes& GetCurrentPointAttributes() const { return attributes_; }
    CurrentPointAttributes& GetCurrentPointAttributes() { return attributes_; }

    // Storage slot of a logical index. Inline because the paint pass maps every point in view
    // through it: one unsigned compare covers both bounds, and at most one subtraction wraps.
    int GetActualIndex(int index) const {
        if (static_cast<unsigned>(index) >= static_cast<unsigned>(count_)) ThrowIndexOutOfBounds();
        const int slot = index + ringStart_;
        return slot > count_ - 1 ? slot - count_ : slot;
    }

    // Capacity in ring mode, 0 for a growable list.
    int GetRingBufferSize() const { return isRingBuffer_ ? capacity_ : 0; }
    // n > 0: ring of n slots. Keeps the points when n is the current ring size, or when the
    // ring has not wrapped (shrinking drops the oldest); a wrapped ring resized is emptied.
    // n = 0 (or below): growable again, keeping the points unless the ring had wrapped.
    void SetRingBufferSize(int n);

    // Capacity + Capacity div 4 above 64 slots, + 16 above 8, else + 4.
    void Grow();

    // Appends a point and returns the storage slot that received it. In ring mode a full ring
    // overwrites its oldest point, and the new point is at logical index GetCount() - 1.
    virtual int Add(double x, double y) = 0;
    // Empties the list. A ring keeps its block and size; a growable list releases its block.
    virtual void Clear();
    // Reallocates to n slots (n below 0 counts as 0), keeping the oldest min(n, GetCount())
    // points; the newest beyond n are cut off. A ring set to 0 slots is growable again.
    virtual void SetCapacity(int n) = 0;
    // Removes the n oldest points in logical order, a wrapped ring's too (it comes out
    // unwrapped); the capacity stays. Standard and compact lists accept
    // 0 <= n < GetCount(), else "Delete size out of Range"; the full list fails with
    // "Delete Size Out Of Range"; the interval list also accepts n = GetCount().
    virtual void DeletePoints(int n) = 0;
    // X, Y and both flags of one point in one call, for the trace drawing.
    virtual void GetXYEmptyNull(int index, double& x, double& y, bool& empty, bool& null) const = 0;

    // ---- Per-point values: every one of them fails with "Index out of Bounds" for a bad index.
    virtual double GetX(int index) const = 0;
    virtual double GetY(int index) const = 0;
    virtual void SetX(int index, double value) = 0;
    virtual void SetY(int index, double value) = 0;
    // Lists without them answer false and 0 and ignore the setters.
    virtual bool GetEmpty(int index) const;
    virtual bool GetNull(int index) const;
    virtual void SetEmpty(int index, bool value);
    virtual void SetNull(int index, bool value);
    virtual double GetHigh(int index) const;
    virtual double GetLow(int index) const;
    virtual double GetOpen(int index) const;
    virtual double GetClose(int index) const;
    virtual void SetHigh(int index, double value);
    virtual void SetLow(int index, double value);
    virtual void SetOpen(int index, double value);
    virtual void SetClose(int index, double value);

    // ---- Per-point appearance: lists without it answer the current attributes for every
    // point and ignore the setters.
    virtual TColor GetTraceLineColor(int index) const;
    virtual int32_t GetTraceLineWidth(int index) const;
    virtual TPlotLineStyle GetTraceLineStyle(int index) const;
    virtual bool GetMarkerVisible(int index) const;
    virtual int32_t GetMarkerSize(int index) const;
    virtual TPlotMarkerStyle GetMarkerStyle(int index) const;
    virtual TColor GetMarkerPenColor(int index) const;
    virtual int32_t GetMarkerPenWidth(int index) const;
    virtual TPenStyle GetMarkerPenStyle(int index) const;
    virtual TColor GetMarkerBrushColor(int index) const;
    virtual TBrushStyle GetMarkerBrushStyle(int index) const;
    virtual char GetMarkerCharacter(int index) const;
    virtual bool GetBarVisible(int index) const;
    virtual double GetBarReference(int index) const;
    virtual double GetBarWidth(int index) const;
    virtual TColor GetBarPenColor(int index) const;
    virtual int32_t GetBarPenWidth(int index) const;
    virtual TPenStyle GetBarPenStyle(int index) const;
    virtual TColor GetBarBrushColor(int index) const;
    virtual TBrushStyle GetBarBrushStyle(int index) const;

    virtual void SetTraceLineColor(int index, TColor value);
    virtual void SetTraceLineWidth(int index, int32_t value);
    virtual void SetTraceLineStyle(int index, TPlotLineStyle value);
    virtual void SetMarkerVisible(int index, bool value);
    virtual void SetMarkerSize(int index, int32_t value);
    virtual void SetMarkerStyle(int index, TPlotMarkerStyle value);
    virtual void SetMarkerPenColor(int index, TColor value);
    virtual void SetMarkerPenWidth(int index, int32_t value);
    virtual void SetMarkerPenStyle(int index, TPenStyle value);
    virtual void SetMarkerBrushColor(int index, TColor value);
    virtual void SetMarkerBrushStyle(int index, TBrushStyle value);
    virtual void SetMarkerCharacter(int index, char value);
    virtual void SetBarVisible(int index, bool value);
    virtual void SetBarReference(int index, double value);
    virtual void SetBarWidth(int index, double value);
    virtual void SetBarPenColor(int index, TColor value);
    virtual void SetBarPenWidth(int index, int32_t value);
    virtual void SetBarPenStyle(int index, TPenStyle value);
    virtual void SetBarBrushColor(int index, TColor value);
    virtual void SetBarBrushStyle(int index, TBrushStyle value);

protected:
    explicit TPlotDataCustomList(int dataPointSize);

    // Steps the counters for one Add (growing a growable list first) and returns the slot
    // to write. Throws before changing anything when the list cannot grow.
    int ClaimSlotForAdd();
    // After the block was reallocated or compacted: storage order is logical order again.
    void SetLayout(int capacity, int count);
    // True when the next Add overwrites the oldest point of a full ring.
    bool NextAddOverwrites() const { return isRingBuffer_ && count_ >= capacity_; }
    void CheckIndex(int index) const { static_cast<void>(GetActualIndex(index)); }
    void CheckCapacity(int n) const;
    // DeletePoints accepts 0 <= n <= largest; otherwise it fails with the list's message.
    static void CheckDeleteSize(int n, int largest, const char* message);

private:
    [[noreturn]] static void ThrowIndexOutOfBounds();

    int count_ = 0;
    int capacity_ = 0;
    int ringStart_ = 0;
    bool isRingBuffer_ = false;
    int dataPointSize_;
    int maxDataPoints_;
    CurrentPointAttributes attributes_;
};

// ---- The block shared by the four lists --------------------------------------------------

// Owns the slot block and implements what does not depend on a slot's contents.
template <class Slot>
class TPlotDataBlockList : public TPlotDataCustomList {
    static_assert(std::is_trivially_copyable<Slot>::value, "slots are moved as raw values");

public:
    void SetCapacity(int n) override;

protected:
    TPlotDataBlockList() : TPlotDataCustomList(static_cast<int>(sizeof(Slot))) {}

    const Slot& SlotAt(int index) const { return slots_[GetActualIndex(index)]; }
    Slot& SlotAt(int index) { return slots_[GetActualIndex(index)]; }
    Slot& StorageSlot(int slot) { return slots_[slot]; }
    // The slots in storage order.
    const Slot* Storage() const { return slots_.get(); }
    // Drops the n oldest points (0 <= n <= GetCount(), checked by the caller).
    void RemoveOldestPoints(int n);

private:
    std::unique_ptr<Slot[]> slots_;
};

// Instantiated once, in PlotDataList.cpp.
extern template class TPlotDataBlockList<TPlotDataNullSlot>;
extern template class TPlotDataBlockList<TPlotDataCompactSlot>;
extern template class TPlotDataBlockList<float>;
extern template class TPlotDataBlockList<TPlotDataFullSlot>;

// ---- The four lists ----------------------------------------------------------------------

// The standard list (ipdsStandard), the one the scope's channels use.
class TPlotDataNullList final : public TPlotDataBlockList<TPlotDataNullSlot> {
public:
    TPlotDataNullList() = default;

    // The paint pass reads every point in view, up to millions per frame: these reads are
    // inline and non-virtual, so a drawing loop over a TPlotDataNullList pays one bounds
    // check and one wrap per point and no virtual call (measured over 1.5 M points: 1.4 ms
    // against 2.1 ms through the virtual GetXYEmptyNull). PointAt maps the index once.
    const TPlotDataNullSlot& PointAt(int index) const { return SlotAt(index); }
    double XAt(int index) const { return PointAt(index).x; }
    double YAt(int index) const { return PointAt(index).y; }
    uint16_t FlagsAt(int index) const { return PointAt(index).flags; }

    void GetXYEmptyNull(int index, double& x, double& y, bool& empty, bool& null) const override {
        const TPlotDataNullSlot& point = PointAt(index);
        x = point.x;
        y = point.y;
        empty = point.IsEmpty();
        null = point.IsNull();
    }
    double GetX(int index) const override { return XAt(index); }
    double GetY(int index) const override { return YAt(index); }
    bool GetEmpty(int index) const override { return PointAt(index).IsEmpty(); }
    bool GetNull(int index) const override { return PointAt(index).IsNull(); }

    int Add(double x, double y) override;
    void SetCapacity(int n) override;
    void DeletePoints(int n) override;
    void SetX(int index, double value) override;
    void SetY(int index, double value) override;
    void SetEmpty(int index, bool value) override;
    void SetNull(int index, bool value) override;
    bool GetMarkerVisible(int index) const override;
    TPlotMarkerStyle GetMarkerStyle(int index) const override;
    void SetMarkerVisible(int index, bool value) override;
    void SetMarkerStyle(int index, TPlotMarkerStyle value) override;

    // The minimum and maximum of the points block by block, in logical indexes, valid until the
    // list changes. The first call builds the summary in one pass over the points; from then on
    // Add keeps it up to date in O(1) (after Clear too: the Adds that follow write the slots in
    // order from slot 0 again), an edited point's block is worked out again at the next call,
    // and so is every block after points moved (DeletePoints, a capacity change that unwraps or
    // cuts the points). About 2.6 % of the slots' memory.
    TPlotMinMaxBlocks MinMaxBlocks() const;

private:
    void SetFlag(int index, uint16_t flag, bool value);
    // The slot the next Add writes.
    int WriteSlot() const;

    // Mutable: it is a cache of the points, built and refreshed for readers of a const list.
    mutable TPlotMinMaxSummary summary_;
};

// ipdsCompact: X and Y in single precision.
class TPlotDataCompactList final : public TPlotDataBlockList<TPlotDataCompactSlot> {
public:
    TPlotDataCompactList() = default;

    int Add(double x, double y) override;
    void DeletePoints(int n) override;
    void GetXYEmptyNull(int index, double& x, double& y, bool& empty, bool& null) const override;
    double GetX(int index) const override;
    double GetY(int index) const override;
    void SetX(int index, double value) override;
    void SetY(int index, double value) override;
};

// ipdsCompactInterval: equally spaced X. The first point added sets GetFirstX(), the second
// sets GetInterval(); the X of logical point i is i * Interval + FirstX whatever X the later
// points were added with.
class TPlotDataCompactIntervalList final : public TPlotDataBlockList<float> {
public:
    static constexpr double kUnknownInterval = -1;

    TPlotDataCompactIntervalList() = default;

    double GetFirstX() const { return firstX_; }
    double GetInterval() const { return interval_; }

    int Add(double x, double y) override;
    // Also forgets the interval: the next two points set FirstX and Interval again.
    void Clear() override;
    // Accepts n = GetCount() too. FirstX moves on by n intervals, so the points left keep
    // their X.
    void DeletePoints(int n) override;
    void GetXYEmptyNull(int index, double& x, double& y, bool& empty, bool& null) const override;
    // The formula for any index, without the bounds check.
    double GetX(int index) const override;
    double GetY(int index) const override;
    // Only point 0 of a list that holds points: sets FirstX, moving every point. Any other call
    // fails with "Data Style does not support setting individual X-Value with the exception of
    // the first X-Value".
    void SetX(int index, double value) override;
    void SetY(int index, double value) override;

private:
    double interval_ = kUnknownInterval;
    double firstX_ = 0;
};

// ipdsFullFeature: each point carries its own price values and appearance.
class TPlotDataFullList final : public TPlotDataBlockList<TPlotDataFullSlot> {
public:
    TPlotDataFullList() = default;

    // The new point takes the current attributes, except MarkerCharacter, which starts at 0.
    int Add(double x, double y) override;
    void DeletePoints(int n) override;
    void GetXYEmptyNull(int index, double& x, double& y, bool& empty, bool& null) const override;
    double GetX(int index) const override;
    double GetY(int index) const override;
    void SetX(int index, double value) override;
    void SetY(int index, double value) override;
    bool GetEmpty(int index) const override;
    bool GetNull(int index) const override;
    void SetEmpty(int index, bool value) override;
    void SetNull(int index, bool value) override;
    double GetHigh(int index) const override;
    double GetLow(int index) const override;
    double GetOpen(int index) const override;
    double GetClose(int index) const override;
    void SetHigh(int index, double value) override;
    void SetLow(int index, double value) override;
    void SetOpen(int index, double value) override;
    void SetClose(int index, double value) override;

    TColor GetTraceLineColor(int index) const override;
    int32_t GetTraceLineWidth(int index) const override;
    TPlotLineStyle GetTraceLineStyle(int index) const override;
    bool GetMarkerVisible(int index) const override;
    int32_t GetMarkerSize(int index) const override;
    TPlotMarkerStyle GetMarkerStyle(int index) const override;
    TColor GetMarkerPenColor(int index) const override;
    int32_t GetMarkerPenWidth(int index) const override;
    TPenStyle GetMarkerPenStyle(int index) const override;
    TColor GetMarkerBrushColor(int index) const override;
    TBrushStyle GetMarkerBrushStyle(int index) const override;
    char GetMarkerCharacter(int index) const override;
    bool GetBarVisible(int index) const override;
    double GetBarReference(int index) const override;
    double GetBarWidth(int index) const override;
    TColor GetBarPenColor(int index) const override;
    int32_t GetBarPenWidth(int index) const override;
    TPenStyle GetBarPenStyle(int index) const override;
    TColor GetBarBrushColor(int index) const override;
    TBrushStyle GetBarBrushStyle(int index) const override;

    void SetTraceLineColor(int index, TColor value) override;
    void SetTraceLineWidth(int index, int32_t value) override;
    void SetTraceLineStyle(int index, TPlotLineStyle value) override;
    void SetMarkerVisible(int index, bool value) override;
    void SetMarkerSize(int index, int32_t value) override;
    void SetMarkerStyle(int index, TPlotMarkerStyle value) override;
    void SetMarkerPenColor(int index, TColor value) override;
    void SetMarkerPenWidth(int index, int32_t value) override;
    void SetMarkerPenStyle(int index, TPenStyle value) override;
    void SetMarkerBrushColor(int index, TColor value) override;
    void SetMarkerBrushStyle(int index, TBrushStyle value) override;
    void SetMarkerCharacter(int index, char value) override;
    void SetBarVisible(int index, bool value) override;
    void SetBarReference(int index, double value) override;
    void SetBarWidth(int index, double value) override;
    void SetBarPenColor(int index, TColor value) override;
    void SetBarPenWidth(int index, int32_t value) override;
    void SetBarPenStyle(int index, TPenStyle value) override;
    void SetBarBrushColor(int index, TColor value) override;
    void SetBarBrushStyle(int index, TBrushStyle value) override;
};

}  // namespace ondrix
