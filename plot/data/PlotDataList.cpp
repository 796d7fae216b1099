#include "plot/data/PlotDataList.h"

#include <algorithm>
#include <limits>

namespace ondrix {

namespace {

constexpr const char* kDeleteSizeMessage = "Delete size out of Range";
constexpr const char* kFullListDeleteSizeMessage = "Delete Size Out Of Range";
constexpr const char* kIntervalSetXMessage =
    "Data Style does not support setting individual X-Value with the exception of the first X-Value";

uint16_t MarkerStyleBits(TPlotMarkerStyle style) {
    return static_cast<uint16_t>((style & 0x0F) << TPlotDataNullSlot::kMarkerStyleShift);
}

}  // namespace

// ---- TPlotDataCustomList -----------------------------------------------------------------

TPlotDataCustomList::TPlotDataCustomList(int dataPointSize)
    : dataPointSize_(dataPointSize), maxDataPoints_(std::numeric_limits<int32_t>::max() / dataPointSize) {}

void TPlotDataCustomList::ThrowIndexOutOfBounds() { throw EPlotError("Index out of Bounds"); }

void TPlotDataCustomList::CheckCapacity(int n) const {
    if (n > maxDataPoints_) throw EPlotError("Exceed Maximum List Size");
}

void TPlotDataCustomList::CheckDeleteSize(int n, int largest, const char* message) {
    if (n < 0 || n > largest) throw EPlotError(message);
}

void TPlotDataCustomList::SetRingBufferSize(int n) {
    n = std::max(n, 0);
    // Refused before the first step, so that a size the list cannot take changes nothing.
    CheckCapacity(n);
    if (n == 0) {
        if (isRingBuffer_) {
            isRingBuffer_ = false;
            // A wrapped ring's storage order is not its logical order, which growing needs.
            if (ringStart_ != 0) Clear();
        }
        return;
    }
    isRingBuffer_ = true;
    if (n == capacity_) return;
    if (ringStart_ != 0) Clear();
    if (n > capacity_) {
        SetCapacity(n);
        return;
    }
    if (n < count_) DeletePoints(count_ - n);
    SetCapacity(n);
}

void TPlotDataCustomList::Grow() {
    const int step = capacity_ > 64 ? capacity_ / 4 : capacity_ > 8 ? 16 : 4;
    SetCapacity(capacity_ + step);
}

void TPlotDataCustomList::Clear() {
    count_ = 0;
    ringStart_ = 0;
    if (!isRingBuffer_) SetCapacity(0);
}

int TPlotDataCustomList::ClaimSlotForAdd() {
    if (!isRingBuffer_) {
        if (count_ == capacity_) Grow();
        return count_++;
    }
    if (count_ < capacity_) return count_++;
    // Full ring: the slot after the oldest point becomes the oldest, and the new point takes
    // the slot the oldest point had.
    ++ringStart_;
    if (ringStart_ == count_) ringStart_ = 0;
    return ringStart_ == 0 ? count_ - 1 : ringStart_ - 1;
}

void TPlotDataCustomList::SetLayout(int capacity, int count) {
    capacity_ = capacity;
    count_ = count;
    ringStart_ = 0;
    // A ring of no slots could take no point: GetRingBufferSize() already reads 0, so the
    // list is growable again.
    if (capacity == 0) isRingBuffer_ = false;
}

bool TPlotDataCustomList::GetEmpty(int index) const {
    CheckIndex(index);
    return false;
}
bool TPlotDataCustomList::GetNull(int index) const {
    CheckIndex(index);
    return false;
}
void TPlotDataCustomList::SetEmpty(int index, bool) { CheckIndex(index); }
void TPlotDataCustomList::SetNull(int index, bool) { CheckIndex(index); }

double TPlotDataCustomList::GetHigh(int index) const {
    CheckIndex(index);
    return 0;
}
double TPlotDataCustomList::GetLow(int index) const {
    CheckIndex(index);
    return 0;
}
double TPlotDataCustomList::GetOpen(int index) const {
    CheckIndex(index);
    return 0;
}
double TPlotDataCustomList::GetClose(int index) const {
    CheckIndex(index);
    return 0;
}
void TPlotDataCustomList::SetHigh(int index, double) { CheckIndex(index); }
void TPlotDataCustomList::SetLow(int index, double) { CheckIndex(index); }
void TPlotDataCustomList::SetOpen(int index, double) { CheckIndex(index); }
void TPlotDataCustomList::SetClose(int index, double) { CheckIndex(index); }

TColor TPlotDataCustomList::GetTraceLineColor(int index) const {
    CheckIndex(index);
    return attributes_.TraceLineColor;
}
int32_t TPlotDataCustomList::GetTraceLineWidth(int index) const {
    CheckIndex(index);
    return attributes_.TraceLineWidth;
}
TPlotLineStyle TPlotDataCustomList::GetTraceLineStyle(int index) const {
    CheckIndex(index);
    return attributes_.TraceLineStyle;
}
bool TPlotDataCustomList::GetMarkerVisible(int index) const {
    CheckIndex(index);
    return attributes_.MarkerVisible;
}
int32_t TPlotDataCustomList::GetMarkerSize(int index) const {
    CheckIndex(index);
    return attributes_.MarkerSize;
}
TPlotMarkerStyle TPlotDataCustomList::GetMarkerStyle(int index) const {
    CheckIndex(index);
    return attributes_.MarkerStyle;
}
TColor TPlotDataCustomList::GetMarkerPenColor(int index) const {
    CheckIndex(index);
    return attributes_.MarkerPenColor;
}
int32_t TPlotDataCustomList::GetMarkerPenWidth(int index) const {
    CheckIndex(index);
    return attributes_.MarkerPenWidth;
}
TPenStyle TPlotDataCustomList::GetMarkerPenStyle(int index) const {
    CheckIndex(index);
    return attributes_.MarkerPenStyle;
}
TColor TPlotDataCustomList::GetMarkerBrushColor(int index) const {
    CheckIndex(index);
    return attributes_.MarkerBrushColor;
}
TBrushStyle TPlotDataCustomList::GetMarkerBrushStyle(int index) const {
    CheckIndex(index);
    return attributes_.MarkerBrushStyle;
}
char TPlotDataCustomList::GetMarkerCharacter(int index) const {
    CheckIndex(index);
    return attributes_.MarkerCharacter;
}
bool TPlotDataCustomList::GetBarVisible(int index) const {
    CheckIndex(index);
    return attributes_.BarVisible;
}
double TPlotDataCustomList::GetBarReference(int index) const {
    CheckIndex(index);
    return attributes_.BarReference;
}
double TPlotDataCustomList::GetBarWidth(int index) const {
    CheckIndex(index);
    return attributes_.BarWidth;
}
TColor TPlotDataCustomList::GetBarPenColor(int index) const {
    CheckIndex(index);
    return attributes_.BarPenColor;
}
int32_t TPlotDataCustomList::GetBarPenWidth(int index) const {
    CheckIndex(index);
    return attributes_.BarPenWidth;
}
TPenStyle TPlotDataCustomList::GetBarPenStyle(int index) const {
    CheckIndex(index);
    return attributes_.BarPenStyle;
}
TColor TPlotDataCustomList::GetBarBrushColor(int index) const {
    CheckIndex(index);
    return attributes_.BarBrushColor;
}
TBrushStyle TPlotDataCustomList::GetBarBrushStyle(int index) const {
    CheckIndex(index);
    return attributes_.BarBrushStyle;
}

void TPlotDataCustomList::SetTraceLineColor(int index, TColor) { CheckIndex(index); }
void TPlotDataCustomList::SetTraceLineWidth(int index, int32_t) { CheckIndex(index); }
void TPlotDataCustomList::SetTraceLineStyle(int index, TPlotLineStyle) { CheckIndex(index); }
void TPlotDataCustomList::SetMarkerVisible(int index, bool) { CheckIndex(index); }
void TPlotDataCustomList::SetMarkerSize(int index, int32_t) { CheckIndex(index); }
void TPlotDataCustomList::SetMarkerStyle(int index, TPlotMarkerStyle) { CheckIndex(index); }
void TPlotDataCustomList::SetMarkerPenColor(int index, TColor) { CheckIndex(index); }
void TPlotDataCustomList::SetMarkerPenWidth(int index, int32_t) { CheckIndex(index); }
void TPlotDataCustomList::SetMarkerPenStyle(int index, TPenStyle) { CheckIndex(index); }
void TPlotDataCustomList::SetMarkerBrushColor(int index, TColor) { CheckIndex(index); }
void TPlotDataCustomList::SetMarkerBrushStyle(int index, TBrushStyle) { CheckIndex(index); }
void TPlotDataCustomList::SetMarkerCharacter(int index, char) { CheckIndex(index); }
void TPlotDataCustomList::SetBarVisible(int index, bool) { CheckIndex(index); }
void TPlotDataCustomList::SetBarReference(int index, double) { CheckIndex(index); }
void TPlotDataCustomList::SetBarWidth(int index, double) { CheckIndex(index); }
void TPlotDataCustomList::SetBarPenColor(int index, TColor) { CheckIndex(index); }
void TPlotDataCustomList::SetBarPenWidth(int index, int32_t) { CheckIndex(index); }
void TPlotDataCustomList::SetBarPenStyle(int index, TPenStyle) { CheckIndex(index); }
void TPlotDataCustomList::SetBarBrushColor(int index, TColor) { CheckIndex(index); }
void TPlotDataCustomList::SetBarBrushStyle(int index, TBrushStyle) { CheckIndex(index); }

// ---- TPlotDataBlockList ------------------------------------------------------------------

template <class Slot>
void TPlotDataBlockList<Slot>::SetCapacity(int n) {
    n = std::max(n, 0);
    CheckCapacity(n);
    if (n == GetCapacity()) return;
    std::unique_ptr<Slot[]> block = n > 0 ? std::make_unique<Slot[]>(static_cast<size_t>(n)) : nullptr;
    // Copied in logical order, not slot by slot: a wrapped ring resized directly comes out
    // unwrapped, so the oldest points are kept as in any list and the index mapping stays
    // inside the new block.
    const int kept = std::min(n, GetCount());
    if (kept > 0) {
        const int firstRun = std::min(kept, GetCount() - GetRingStart());
        std::copy_n(slots_.get() + GetRingStart(), firstRun, block.get());
        std::copy_n(slots_.get(), kept - firstRun, block.get() + firstRun);
    }
    slots_ = std::move(block);
    SetLayout(n, kept);
}

template <class Slot>
void TPlotDataBlockList<Slot>::RemoveOldestPoints(int n) {
    const int count = GetCount();
    Slot* block = slots_.get();
    if (n < count) {
        if (GetRingStart() != 0) {
            // A wrapped ring's oldest points start at RingStart, not at slot 0. Removing the
            // first slots there would drop points from the middle of the data and leave
            // logical 0 pointing at a point that is not the oldest; rotating the oldest kept
            // point to slot 0 removes the n oldest and leaves the ring unwrapped.
            int firstKept = GetRingStart() + n;
            if (firstKept >= count) firstKept -= count;
            std::rotate(block, block + firstKept, block + count);
        } else if (n > 0) {
            std::copy(block + n, block + count, block);
        }
    }
    SetLayout(GetCapacity(), count - n);
}

template class TPlotDataBlockList<TPlotDataNullSlot>;
template class TPlotDataBlockList<TPlotDataCompactSlot>;
template class TPlotDataBlockList<float>;
template class TPlotDataBlockList<TPlotDataFullSlot>;

// ---- TPlotDataNullList -------------------------------------------------------------------

int TPlotDataNullList::Add(double x, double y) {
    const CurrentPointAttributes& attributes = GetCurrentPointAttributes();
    uint16_t flags = MarkerStyleBits(attributes.MarkerStyle);
    if (attributes.MarkerVisible) flags |= TPlotDataNullSlot::kMarkerVisible;
    const int slot = ClaimSlotForAdd();
    StorageSlot(slot) = {x, y, flags};
    summary_.PointAdded(slot, x, y);
    return slot;
}

void TPlotDataNullList::SetCapacity(int n) {
    // Growing, or cutting none of the points of a list that has not wrapped, leaves every point
    // in its slot; anything else copies them into new slots in logical order.
    const bool pointsStay = GetRingStart() == 0 && n >= GetCount();
    // Refused before the summary reserves room for a size the list cannot take.
    CheckCapacity(std::max(n, 0));
    summary_.Reserve(std::max(n, 0));
    TPlotDataBlockList::SetCapacity(n);
    summary_.Resized(GetCapacity(), pointsStay);
}

void TPlotDataNullList::DeletePoints(int n) {
    CheckDeleteSize(n, GetCount() - 1, kDeleteSizeMessage);
    RemoveOldestPoints(n);
    summary_.PointsMoved();
}

TPlotMinMaxBlocks TPlotDataNullList::MinMaxBlocks() const {
    if (!summary_.IsBuilt()) summary_.Build(GetCapacity());
    summary_.Refresh(Storage(), GetCount(), WriteSlot());
    return TPlotMinMaxBlocks(summary_.Blocks(), GetRingStart(), GetCount());
}

int TPlotDataNullList::WriteSlot() const { return NextAddOverwrites() ? GetRingStart() : GetCount(); }

void TPlotDataNullList::SetX(int index, double value) {
    const int slot = GetActualIndex(index);
    StorageSlot(slot).x = value;
    summary_.PointEdited(slot);
}

void TPlotDataNullList::SetY(int index, double value) {
    const int slot = GetActualIndex(index);
    StorageSlot(slot).y = value;
    summary_.PointEdited(slot);
}

void TPlotDataNullList::SetEmpty(int index, bool value) { SetFlag(index, TPlotDataNullSlot::kEmpty, value); }
void TPlotDataNullList::SetNull(int index, bool value) { SetFlag(index, TPlotDataNullSlot::kNull, value); }

bool TPlotDataNullList::GetMarkerVisible(int index) const {
    return (FlagsAt(index) & TPlotDataNullSlot::kMarkerVisible) != 0;
}

TPlotMarkerStyle TPlotDataNullList::GetMarkerStyle(int index) const {
    return static_cast<TPlotMarkerStyle>((FlagsAt(index) & TPlotDataNullSlot::kMarkerStyleMask) >>
                                         TPlotDataNullSlot::kMarkerStyleShift);
}

void TPlotDataNullList::SetMarkerVisible(int index, bool value) {
    SetFlag(index, TPlotDataNullSlot::kMarkerVisible, value);
}

void TPlotDataNullList::SetMarkerStyle(int index, TPlotMarkerStyle value) {
    uint16_t& flags = SlotAt(index).flags;
    flags = static_cast<uint16_t>((flags & ~TPlotDataNullSlot::kMarkerStyleMask) | MarkerStyleBits(value));
}

void TPlotDataNullList::SetFlag(int index, uint16_t flag, bool value) {
    const int slot = GetActualIndex(index);
    uint16_t& flags = StorageSlot(slot).flags;
    flags = static_cast<uint16_t>(value ? flags | flag : flags & ~flag);
    if ((flag & (TPlotDataNullSlot::kNull | TPlotDataNullSlot::kEmpty)) != 0) summary_.PointEdited(slot);
}

// ---- TPlotDataCompactList ----------------------------------------------------------------

int TPlotDataCompactList::Add(double x, double y) {
    const int slot = ClaimSlotForAdd();
    StorageSlot(slot) = {static_cast<float>(x), static_cast<float>(y)};
    return slot;
}

void TPlotDataCompactList::DeletePoints(int n) {
    CheckDeleteSize(n, GetCount() - 1, kDeleteSizeMessage);
    RemoveOldestPoints(n);
}

void TPlotDataCompactList::GetXYEmptyNull(int index, double& x, double& y, bool& empty, bool& null) const {
    const TPlotDataCompactSlot& point = SlotAt(index);
    x = point.x;
    y = point.y;
    empty = false;
    null = false;
}

double TPlotDataCompactList::GetX(int index) const { return SlotAt(index).x; }
double TPlotDataCompactList::GetY(int index) const { return SlotAt(index).y; }
void TPlotDataCompactList::SetX(int index, double value) { SlotAt(index).x = static_cast<float>(value); }
void TPlotDataCompactList::SetY(int index, double value) { SlotAt(index).y = static_cast<float>(value); }

// ---- TPlotDataCompactIntervalList --------------------------------------------------------

int TPlotDataCompactIntervalList::Add(double x, double y) {
    const int countBefore = GetCount();
    const bool overwritesOldest = NextAddOverwrites();
    const int slot = ClaimSlotForAdd();
    StorageSlot(slot) = static_cast<float>(y);
    if (countBefore == 0) firstX_ = x;
    if (countBefore == 1 && interval_ == kUnknownInterval) interval_ = x - firstX_;
    // The old logical 1 is the new logical 0: moving FirstX by one interval keeps every
    // remaining point at its X.
    if (overwritesOldest && countBefore > 1) firstX_ += interval_;
    return slot;
}

void TPlotDataCompactIntervalList::Clear() {
    TPlotDataBlockList::Clear();
    interval_ = kUnknownInterval;
}

void TPlotDataCompactIntervalList::DeletePoints(int n) {
    CheckDeleteSize(n, GetCount(), kDeleteSizeMessage);
    RemoveOldestPoints(n);
    // The old logical n is the new logical 0; without this the remaining points would slide
    // n intervals to the left, and shrinking a ring would move its newest points in X. While
    // the interval is unknown at most one point is held, so a deletion empties the list and
    // the next Add sets FirstX again.
    firstX_ += n * interval_;
}

void TPlotDataCompactIntervalList::GetXYEmptyNull(int index, double& x, double& y, bool& empty,
                                                  bool& null) const {
    y = SlotAt(index);
    x = GetX(index);
    empty = false;
    null = false;
}

double TPlotDataCompactIntervalList::GetX(int index) const { return index * interval_ + firstX_; }
double TPlotDataCompactIntervalList::GetY(int index) const { return SlotAt(index); }

void TPlotDataCompactIntervalList::SetX(int index, double value) {
    if (index != 0 || GetCount() == 0) throw EPlotError(kIntervalSetXMessage);
    firstX_ = value;
}

void TPlotDataCompactIntervalList::SetY(int index, double value) { SlotAt(index) = static_cast<float>(value); }

// ---- TPlotDataFullList -------------------------------------------------------------------

int TPlotDataFullList::Add(double x, double y) {
    TPlotDataFullSlot point{};
    point.x = x;
    point.y = y;
    point.appearance = GetCurrentPointAttributes();
    point.appearance.MarkerCharacter = 0;
    const int slot = ClaimSlotForAdd();
    StorageSlot(slot) = point;
    return slot;
}

void TPlotDataFullList::DeletePoints(int n) {
    CheckDeleteSize(n, GetCount() - 1, kFullListDeleteSizeMessage);
    RemoveOldestPoints(n);
}

void TPlotDataFullList::GetXYEmptyNull(int index, double& x, double& y, bool& empty, bool& null) const {
    const TPlotDataFullSlot& point = SlotAt(index);
    x = point.x;
    y = point.y;
    empty = point.empty;
    null = point.null;
}

double TPlotDataFullList::GetX(int index) const { return SlotAt(index).x; }
double TPlotDataFullList::GetY(int index) const { return SlotAt(index).y; }
void TPlotDataFullList::SetX(int index, double value) { SlotAt(index).x = value; }
void TPlotDataFullList::SetY(int index, double value) { SlotAt(index).y = value; }
bool TPlotDataFullList::GetEmpty(int index) const { return SlotAt(index).empty; }
bool TPlotDataFullList::GetNull(int index) const { return SlotAt(index).null; }
void TPlotDataFullList::SetEmpty(int index, bool value) { SlotAt(index).empty = value; }
void TPlotDataFullList::SetNull(int index, bool value) { SlotAt(index).null = value; }
double TPlotDataFullList::GetHigh(int index) const { return SlotAt(index).high; }
double TPlotDataFullList::GetLow(int index) const { return SlotAt(index).low; }
double TPlotDataFullList::GetOpen(int index) const { return SlotAt(index).open; }
double TPlotDataFullList::GetClose(int index) const { return SlotAt(index).close; }
void TPlotDataFullList::SetHigh(int index, double value) { SlotAt(index).high = value; }
void TPlotDataFullList::SetLow(int index, double value) { SlotAt(index).low = value; }
void TPlotDataFullList::SetOpen(int index, double value) { SlotAt(index).open = value; }
void TPlotDataFullList::SetClose(int index, double value) { SlotAt(index).close = value; }

TColor TPlotDataFullList::GetTraceLineColor(int index) const { return SlotAt(index).appearance.TraceLineColor; }
int32_t TPlotDataFullList::GetTraceLineWidth(int index) const { return SlotAt(index).appearance.TraceLineWidth; }
TPlotLineStyle TPlotDataFullList::GetTraceLineStyle(int index) const {
    return SlotAt(index).appearance.TraceLineStyle;
}
bool TPlotDataFullList::GetMarkerVisible(int index) const { return SlotAt(index).appearance.MarkerVisible; }
int32_t TPlotDataFullList::GetMarkerSize(int index) const { return SlotAt(index).appearance.MarkerSize; }
TPlotMarkerStyle TPlotDataFullList::GetMarkerStyle(int index) const { return SlotAt(index).appearance.MarkerStyle; }
TColor TPlotDataFullList::GetMarkerPenColor(int index) const { return SlotAt(index).appearance.MarkerPenColor; }
int32_t TPlotDataFullList::GetMarkerPenWidth(int index) const { return SlotAt(index).appearance.MarkerPenWidth; }
TPenStyle TPlotDataFullList::GetMarkerPenStyle(int index) const { return SlotAt(index).appearance.MarkerPenStyle; }
TColor TPlotDataFullList::GetMarkerBrushColor(int index) const { return SlotAt(index).appearance.MarkerBrushColor; }
TBrushStyle TPlotDataFullList::GetMarkerBrushStyle(int index) const {
    return SlotAt(index).appearance.MarkerBrushStyle;
}
char TPlotDataFullList::GetMarkerCharacter(int index) const { return SlotAt(index).appearance.MarkerCharacter; }
bool TPlotDataFullList::GetBarVisible(int index) const { return SlotAt(index).appearance.BarVisible; }
double TPlotDataFullList::GetBarReference(int index) const { return SlotAt(index).appearance.BarReference; }
double TPlotDataFullList::GetBarWidth(int index) const { return SlotAt(index).appearance.BarWidth; }
TColor TPlotDataFullList::GetBarPenColor(int index) const { return SlotAt(index).appearance.BarPenColor; }
int32_t TPlotDataFullList::GetBarPenWidth(int index) const { return SlotAt(index).appearance.BarPenWidth; }
TPenStyle TPlotDataFullList::GetBarPenStyle(int index) const { return SlotAt(index).appearance.BarPenStyle; }
TColor TPlotDataFullList::GetBarBrushColor(int index) const { return SlotAt(index).appearance.BarBrushColor; }
TBrushStyle TPlotDataFullList::GetBarBrushStyle(int index) const { return SlotAt(index).appearance.BarBrushStyle; }

void TPlotDataFullList::SetTraceLineColor(int index, TColor value) { SlotAt(index).appearance.TraceLineColor = value; }
void TPlotDataFullList::SetTraceLineWidth(int index, int32_t value) { SlotAt(index).appearance.TraceLineWidth = value; }
void TPlotDataFullList::SetTraceLineStyle(int index, TPlotLineStyle value) {
    SlotAt(index).appearance.TraceLineStyle = value;
}
void TPlotDataFullList::SetMarkerVisible(int index, bool value) { SlotAt(index).appearance.MarkerVisible = value; }
void TPlotDataFullList::SetMarkerSize(int index, int32_t value) { SlotAt(index).appearance.MarkerSize = value; }
void TPlotDataFullList::SetMarkerStyle(int index, TPlotMarkerStyle value) {
    SlotAt(index).appearance.MarkerStyle = value;
}
void TPlotDataFullList::SetMarkerPenColor(int index, TColor value) { SlotAt(index).appearance.MarkerPenColor = value; }
void TPlotDataFullList::SetMarkerPenWidth(int index, int32_t value) { SlotAt(index).appearance.MarkerPenWidth = value; }
void TPlotDataFullList::SetMarkerPenStyle(int index, TPenStyle value) {
    SlotAt(index).appearance.MarkerPenStyle = value;
}
void TPlotDataFullList::SetMarkerBrushColor(int index, TColor value) {
    SlotAt(index).appearance.MarkerBrushColor = value;
}
void TPlotDataFullList::SetMarkerBrushStyle(int index, TBrushStyle value) {
    SlotAt(index).appearance.MarkerBrushStyle = value;
}
void TPlotDataFullList::SetMarkerCharacter(int index, char value) { SlotAt(index).appearance.MarkerCharacter = value; }
void TPlotDataFullList::SetBarVisible(int index, bool value) { SlotAt(index).appearance.BarVisible = value; }
void TPlotDataFullList::SetBarReference(int index, double value) { SlotAt(index).appearance.BarReference = value; }
void TPlotDataFullList::SetBarWidth(int index, double value) { SlotAt(index).appearance.BarWidth = value; }
void TPlotDataFullList::SetBarPenColor(int index, TColor value) { SlotAt(index).appearance.BarPenColor = value; }
void TPlotDataFullList::SetBarPenWidth(int index, int32_t value) { SlotAt(index).appearance.BarPenWidth = value; }
void TPlotDataFullList::SetBarPenStyle(int index, TPenStyle value) { SlotAt(index).appearance.BarPenStyle = value; }
void TPlotDataFullList::SetBarBrushColor(int index, TColor value) { SlotAt(index).appearance.BarBrushColor = value; }
void TPlotDataFullList::SetBarBrushStyle(int index, TBrushStyle value) {
    SlotAt(index).appearance.BarBrushStyle = value;
}

}  // namespace ondrix
