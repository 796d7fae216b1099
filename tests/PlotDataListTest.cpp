#include "plot/data/PlotDataList.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace ondrix {
namespace {

using Points = std::vector<std::pair<double, double>>;

// Point i is (i, 10 i): integers survive single precision, and the interval list finds
// X = i from the first two points, so every list can be checked against the same table.
void AddPoints(TPlotDataCustomList& list, int first, int last) {
    for (int i = first; i < last; ++i) list.Add(i, 10.0 * i);
}

Points Expected(const std::vector<int>& indices) {
    Points points;
    for (int i : indices) points.emplace_back(i, 10.0 * i);
    return points;
}

Points Held(const TPlotDataCustomList& list) {
    Points points;
    for (int i = 0; i < list.GetCount(); ++i) points.emplace_back(list.GetX(i), list.GetY(i));
    return points;
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EPlotError& error) {
        return error.what();
    }
    return "no error";
}

struct Layout {
    int count, capacity, ringStart;
    bool ring;
    Points points;
    bool operator==(const Layout& other) const {
        return count == other.count && capacity == other.capacity && ringStart == other.ringStart &&
               ring == other.ring && points == other.points;
    }
};

Layout LayoutOf(const TPlotDataCustomList& list) {
    return {list.GetCount(), list.GetCapacity(), list.GetRingStart(), list.IsRingBuffer(), Held(list)};
}

// What differs between the four lists.
template <class List>
struct Traits;
template <>
struct Traits<TPlotDataNullList> {
    static constexpr const char* kName = "Standard";
    static constexpr int kPointSize = 24, kMaxPoints = 89478485;
    static constexpr bool kDeletesAll = false, kChecksX = true;
    static constexpr const char* kDeleteMessage = "Delete size out of Range";
};
template <>
struct Traits<TPlotDataCompactList> {
    static constexpr const char* kName = "Compact";
    static constexpr int kPointSize = 8, kMaxPoints = 268435455;
    static constexpr bool kDeletesAll = false, kChecksX = true;
    static constexpr const char* kDeleteMessage = "Delete size out of Range";
};
template <>
struct Traits<TPlotDataCompactIntervalList> {
    static constexpr const char* kName = "CompactInterval";
    static constexpr int kPointSize = 4, kMaxPoints = 536870911;
    static constexpr bool kDeletesAll = true, kChecksX = false;
    static constexpr const char* kDeleteMessage = "Delete size out of Range";
};
template <>
struct Traits<TPlotDataFullList> {
    static constexpr const char* kName = "FullFeature";
    static constexpr int kPointSize = 136, kMaxPoints = 15790320;
    static constexpr bool kDeletesAll = false, kChecksX = true;
    static constexpr const char* kDeleteMessage = "Delete Size Out Of Range";
};

// ---- Behaviour shared by the four lists ----------------------------------------------------

template <class List>
class PlotDataList : public ::testing::Test {
protected:
    using T = Traits<List>;
    List list;
};

using ListClasses =
    ::testing::Types<TPlotDataNullList, TPlotDataCompactList, TPlotDataCompactIntervalList, TPlotDataFullList>;
struct ListName {
    template <class List>
    static std::string GetName(int) {
        return Traits<List>::kName;
    }
};
TYPED_TEST_SUITE(PlotDataList, ListClasses, ListName);

TYPED_TEST(PlotDataList, StartsEmptyAndGrowableWithItsPointSize) {
    auto& list = this->list;
    EXPECT_EQ(list.GetDataPointSize(), TestFixture::T::kPointSize);
    EXPECT_EQ(list.GetMaxDataPoints(), TestFixture::T::kMaxPoints);
    EXPECT_EQ(LayoutOf(list), (Layout{0, 0, 0, false, {}}));
    EXPECT_EQ(list.GetMemoryUsed(), 0);
    const CurrentPointAttributes& attributes = list.GetCurrentPointAttributes();
    EXPECT_TRUE(attributes.BarVisible);
    EXPECT_FALSE(attributes.MarkerVisible);
    EXPECT_EQ(attributes.TraceLineColor, 0u);
    EXPECT_EQ(attributes.MarkerCharacter, 0);
    EXPECT_EQ(attributes.BarWidth, 0);
}

TYPED_TEST(PlotDataList, RingOfThreeOverwritesTheOldestPoint) {
    auto& list = this->list;
    list.SetRingBufferSize(3);
    struct Step {
        int slot, ringStart;
        std::vector<int> held;
    } steps[] = {
        {0, 0, {0}}, {1, 0, {0, 1}}, {2, 0, {0, 1, 2}}, {0, 1, {1, 2, 3}}, {1, 2, {2, 3, 4}}, {2, 0, {3, 4, 5}},
    };
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(list.Add(i, 10.0 * i), steps[i].slot);
        EXPECT_EQ(list.GetRingStart(), steps[i].ringStart);
        EXPECT_EQ(Held(list), Expected(steps[i].held));
    }
    EXPECT_EQ(list.GetCapacity(), 3);
}

TYPED_TEST(PlotDataList, GrowableListGrowsInSteps) {
    auto& list = this->list;
    const int capacityAfterAdd[] = {4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12, 28};
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(list.Add(i, 10.0 * i), i);
        EXPECT_EQ(list.GetCapacity(), capacityAfterAdd[i]) << "after point " << i;
    }
    EXPECT_EQ(Held(list), Expected({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(list.GetMemoryUsed(), 28 * TestFixture::T::kPointSize);

    const std::pair<int, int> growth[] = {{0, 4}, {4, 8}, {8, 12}, {9, 25}, {12, 28}, {64, 80}, {65, 81}, {100, 125}};
    for (const auto& [from, to] : growth) {
        list.SetCapacity(from);
        list.Grow();
        EXPECT_EQ(list.GetCapacity(), to) << "from " << from;
    }
}

TYPED_TEST(PlotDataList, ClearKeepsARingButReleasesAGrowableBlock) {
    auto& list = this->list;
    list.SetRingBufferSize(3);
    AddPoints(list, 0, 4);
    list.Clear();
    EXPECT_EQ(LayoutOf(list), (Layout{0, 3, 0, true, {}}));
    EXPECT_EQ(list.GetRingBufferSize(), 3);
    EXPECT_EQ(list.Add(7, 70), 0);

    TypeParam growable;
    AddPoints(growable, 0, 5);
    growable.Clear();
    EXPECT_EQ(LayoutOf(growable), (Layout{0, 0, 0, false, {}}));
    EXPECT_EQ(growable.GetMemoryUsed(), 0);
    growable.Add(7, 70);
    EXPECT_EQ(growable.GetCapacity(), 4);
}

TYPED_TEST(PlotDataList, SetRingBufferSize) {
    struct Case {
        const char* what;
        int ringSize, added, newSize;
        std::vector<int> held;
        int capacity;
        bool ring;
    } cases[] = {
        {"same size after wrapping keeps the points", 3, 4, 3, {1, 2, 3}, 3, true},
        {"larger after wrapping empties", 3, 4, 5, {}, 5, true},
        {"smaller after wrapping empties", 3, 4, 2, {}, 2, true},
        {"a ring whose oldest point is back in slot 0 keeps its points", 3, 6, 5, {3, 4, 5}, 5, true},
        {"shrinking an unwrapped ring keeps the newest", 16, 10, 4, {6, 7, 8, 9}, 4, true},
        {"shrinking a full, unwrapped ring keeps the newest", 10, 10, 4, {6, 7, 8, 9}, 4, true},
        {"shrinking to above the count keeps all", 16, 3, 8, {0, 1, 2}, 8, true},
        {"growing keeps the points", 4, 3, 8, {0, 1, 2}, 8, true},
        {"0 after an unwrapped ring keeps the points", 4, 3, 0, {0, 1, 2}, 4, false},
        {"0 after a wrapped ring empties and releases", 3, 4, 0, {}, 0, false},
        {"a growable list becomes a ring of its newest points", 0, 5, 2, {3, 4}, 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TypeParam list;
        list.SetRingBufferSize(c.ringSize);
        AddPoints(list, 0, c.added);
        list.SetRingBufferSize(c.newSize);
        EXPECT_EQ(Held(list), Expected(c.held));
        EXPECT_EQ(list.GetCapacity(), c.capacity);
        EXPECT_EQ(list.IsRingBuffer(), c.ring);
        EXPECT_EQ(list.GetRingBufferSize(), c.ring ? c.capacity : 0);
    }
}

TYPED_TEST(PlotDataList, RingSizeZeroOnAnUnwrappedRingGrowsAgain) {
    auto& list = this->list;
    list.SetRingBufferSize(4);
    AddPoints(list, 0, 3);
    list.SetRingBufferSize(0);
    AddPoints(list, 3, 5);
    EXPECT_EQ(list.GetCapacity(), 8);
    EXPECT_EQ(Held(list), Expected({0, 1, 2, 3, 4}));
}

TYPED_TEST(PlotDataList, DeletePointsRemovesTheOldestAndKeepsTheCapacity) {
    for (int n = 0; n < 5; ++n) {
        TypeParam list;
        AddPoints(list, 0, 5);
        list.DeletePoints(n);
        std::vector<int> kept;
        for (int i = n; i < 5; ++i) kept.push_back(i);
        EXPECT_EQ(Held(list), Expected(kept)) << n;
        EXPECT_EQ(list.GetCapacity(), 8);
    }
}

TYPED_TEST(PlotDataList, DeletePointsOutOfRangeFailsAndChangesNothing) {
    auto& list = this->list;
    AddPoints(list, 0, 5);
    const Layout before = LayoutOf(list);
    for (int n : {-1, 6, INT_MAX}) {
        EXPECT_EQ(ErrorOf([&] { list.DeletePoints(n); }), TestFixture::T::kDeleteMessage) << n;
        EXPECT_EQ(LayoutOf(list), before);
    }
    if (TestFixture::T::kDeletesAll) {
        list.DeletePoints(5);
        EXPECT_EQ(LayoutOf(list), (Layout{0, 8, 0, false, {}}));
    } else {
        EXPECT_EQ(ErrorOf([&] { list.DeletePoints(5); }), TestFixture::T::kDeleteMessage);
        EXPECT_EQ(LayoutOf(list), before);
    }
}

// A ring of 4 fed 0..5 keeps 2 3 | 4 5 with its oldest point in slot 2: deleting must take
// the oldest in logical order, and the ring must go on dropping its oldest afterwards.
TYPED_TEST(PlotDataList, DeletePointsOnAWrappedRingRemovesTheOldest) {
    for (int n = 0; n < 4; ++n) {
        SCOPED_TRACE(n);
        TypeParam list;
        list.SetRingBufferSize(4);
        AddPoints(list, 0, 6);
        ASSERT_EQ(list.GetRingStart(), 2);
        list.DeletePoints(n);
        std::vector<int> kept;
        for (int i = 2 + n; i < 6; ++i) kept.push_back(i);
        EXPECT_EQ(Held(list), Expected(kept));

        AddPoints(list, 6, 6 + n + 1);
        kept.clear();
        for (int i = 3 + n; i < 7 + n; ++i) kept.push_back(i);
        EXPECT_EQ(Held(list), Expected(kept));
        EXPECT_EQ(list.GetCapacity(), 4);
    }
}

TYPED_TEST(PlotDataList, SetCapacityKeepsTheOldestPoints) {
    auto& list = this->list;
    AddPoints(list, 0, 5);
    list.SetCapacity(3);
    EXPECT_EQ(Held(list), Expected({0, 1, 2}));
    EXPECT_EQ(list.GetCapacity(), 3);
    list.SetCapacity(-1);
    EXPECT_EQ(LayoutOf(list), (Layout{0, 0, 0, false, {}}));

    // Resizing a wrapped ring directly keeps its points in logical order, so the newest
    // point still comes last and the next Add lands behind it.
    TypeParam ring;
    ring.SetRingBufferSize(3);
    AddPoints(ring, 0, 5);
    ring.SetCapacity(5);
    EXPECT_EQ(LayoutOf(ring), (Layout{3, 5, 0, true, Expected({2, 3, 4})}));
    AddPoints(ring, 5, 8);
    EXPECT_EQ(Held(ring), Expected({3, 4, 5, 6, 7}));
    ring.SetCapacity(2);
    EXPECT_EQ(Held(ring), Expected({3, 4}));
    // A ring of no slots is no ring.
    ring.SetCapacity(0);
    EXPECT_FALSE(ring.IsRingBuffer());
    AddPoints(ring, 0, 1);
    EXPECT_EQ(ring.GetCapacity(), 4);
}

TYPED_TEST(PlotDataList, CapacityAboveTheMaximumFailsAndChangesNothing) {
    auto& list = this->list;
    AddPoints(list, 0, 3);
    const Layout before = LayoutOf(list);
    const int tooMany = TestFixture::T::kMaxPoints + 1;
    EXPECT_EQ(ErrorOf([&] { list.SetCapacity(tooMany); }), "Exceed Maximum List Size");
    EXPECT_EQ(ErrorOf([&] { list.SetCapacity(INT_MAX); }), "Exceed Maximum List Size");
    EXPECT_EQ(ErrorOf([&] { list.SetRingBufferSize(tooMany); }), "Exceed Maximum List Size");
    EXPECT_EQ(LayoutOf(list), before);
}

TYPED_TEST(PlotDataList, MemoryUsedIsTheWholeRingFromTheStart) {
    auto& list = this->list;
    list.SetRingBufferSize(1000);
    const int whole = 1000 * TestFixture::T::kPointSize;
    EXPECT_EQ(list.GetMemoryUsed(), whole);
    AddPoints(list, 0, 2500);
    EXPECT_EQ(list.GetMemoryUsed(), whole);
    list.Clear();
    EXPECT_EQ(list.GetMemoryUsed(), whole);
}

TYPED_TEST(PlotDataList, EveryPointOperationChecksTheIndex) {
    using List = TPlotDataCustomList;
    const std::vector<std::pair<const char*, std::function<void(List&, int)>>> operations = {
        {"GetY", [](List& l, int i) { l.GetY(i); }},
        {"SetY", [](List& l, int i) { l.SetY(i, 1); }},
        {"GetXYEmptyNull",
         [](List& l, int i) {
             double x, y;
             bool empty, null;
             l.GetXYEmptyNull(i, x, y, empty, null);
         }},
        {"GetActualIndex", [](List& l, int i) { l.GetActualIndex(i); }},
        {"GetNull", [](List& l, int i) { l.GetNull(i); }},
        {"SetNull", [](List& l, int i) { l.SetNull(i, true); }},
        {"GetEmpty", [](List& l, int i) { l.GetEmpty(i); }},
        {"SetEmpty", [](List& l, int i) { l.SetEmpty(i, true); }},
        {"GetHigh", [](List& l, int i) { l.GetHigh(i); }},
        {"SetLow", [](List& l, int i) { l.SetLow(i, 1); }},
        {"GetOpen", [](List& l, int i) { l.GetOpen(i); }},
        {"SetClose", [](List& l, int i) { l.SetClose(i, 1); }},
        {"GetTraceLineColor", [](List& l, int i) { l.GetTraceLineColor(i); }},
        {"SetTraceLineWidth", [](List& l, int i) { l.SetTraceLineWidth(i, 2); }},
        {"GetMarkerVisible", [](List& l, int i) { l.GetMarkerVisible(i); }},
        {"SetMarkerVisible", [](List& l, int i) { l.SetMarkerVisible(i, true); }},
        {"GetMarkerStyle", [](List& l, int i) { l.GetMarkerStyle(i); }},
        {"SetMarkerStyle", [](List& l, int i) { l.SetMarkerStyle(i, ipmsCross); }},
        {"GetMarkerCharacter", [](List& l, int i) { l.GetMarkerCharacter(i); }},
        {"SetMarkerCharacter", [](List& l, int i) { l.SetMarkerCharacter(i, 'x'); }},
        {"GetBarReference", [](List& l, int i) { l.GetBarReference(i); }},
        {"SetBarBrushStyle", [](List& l, int i) { l.SetBarBrushStyle(i, bsCross); }},
    };
    auto& list = this->list;
    list.SetRingBufferSize(3);
    AddPoints(list, 0, 4);
    const Layout before = LayoutOf(list);
    for (int index : {-1, 3, INT_MIN, INT_MAX}) {
        for (const auto& operation : operations)
            EXPECT_EQ(ErrorOf([&] { operation.second(list, index); }), "Index out of Bounds")
                << operation.first << " " << index;
        if (TestFixture::T::kChecksX) {
            EXPECT_EQ(ErrorOf([&] { list.GetX(index); }), "Index out of Bounds") << index;
            EXPECT_EQ(ErrorOf([&] { list.SetX(index, 1); }), "Index out of Bounds") << index;
        }
    }
    EXPECT_EQ(LayoutOf(list), before);
}

// ---- The standard list -----------------------------------------------------------------------

TEST(PlotDataNullList, FlagsHoldNullEmptyAndTheMarker) {
    TPlotDataNullList list;
    list.Add(0, 0);
    EXPECT_EQ(list.FlagsAt(0), 0) << "marker hidden, style circle";

    list.GetCurrentPointAttributes().MarkerVisible = true;
    list.GetCurrentPointAttributes().MarkerStyle = ipmsTriangleDown;
    list.Add(1, 1);
    EXPECT_EQ(list.FlagsAt(1), 0x04 | (6 << 3));

    struct Step {
        const char* what;
        std::function<void()> change;
        uint16_t flags;
    } steps[] = {
        {"null", [&] { list.SetNull(1, true); }, 0x35},
        {"empty", [&] { list.SetEmpty(1, true); }, 0x37},
        {"not null", [&] { list.SetNull(1, false); }, 0x36},
        {"style", [&] { list.SetMarkerStyle(1, ipmsCharacter); }, 0x06 | (11 << 3)},
        {"marker hidden", [&] { list.SetMarkerVisible(1, false); }, 0x02 | (11 << 3)},
        {"not empty", [&] { list.SetEmpty(1, false); }, 11 << 3},
    };
    for (const Step& step : steps) {
        step.change();
        EXPECT_EQ(list.FlagsAt(1), step.flags) << step.what;
        EXPECT_EQ(list.GetNull(1), (step.flags & 0x01) != 0) << step.what;
        EXPECT_EQ(list.GetEmpty(1), (step.flags & 0x02) != 0) << step.what;
        EXPECT_EQ(list.GetMarkerVisible(1), (step.flags & 0x04) != 0) << step.what;
        EXPECT_EQ(list.GetMarkerStyle(1), (step.flags >> 3) & 0x0F) << step.what;
    }
    EXPECT_EQ(list.FlagsAt(0), 0) << "the other point is untouched";
}

TEST(PlotDataNullList, InlineReadsFollowTheRing) {
    TPlotDataNullList list;
    list.SetRingBufferSize(3);
    AddPoints(list, 0, 4);
    list.SetNull(2, true);
    for (int i = 0; i < 3; ++i) {
        double x, y;
        bool empty, null;
        list.GetXYEmptyNull(i, x, y, empty, null);
        EXPECT_EQ(list.XAt(i), i + 1);
        EXPECT_EQ(list.YAt(i), 10.0 * (i + 1));
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(list.XAt(i), list.YAt(i)));
        EXPECT_EQ(null, i == 2);
        EXPECT_FALSE(empty);
    }
    EXPECT_EQ(list.GetActualIndex(0), 1);
    EXPECT_EQ(list.GetActualIndex(2), 0);
}

TEST(PlotDataNullList, TheScopesRingTakesItsWholeBlockAtOnce) {
    TPlotDataNullList list;
    list.SetRingBufferSize(1500000);
    EXPECT_EQ(list.GetMemoryUsed(), 36000000);
    AddPoints(list, 0, 1500010);
    EXPECT_EQ(list.GetMemoryUsed(), 36000000);
    EXPECT_EQ(list.XAt(0), 10);
    EXPECT_EQ(list.XAt(1499999), 1500009);
}

// ---- Lists without per-point flags or appearance -----------------------------------------------

TEST(PlotDataCompactLists, AreNeverNullOrEmptyAndAnswerTheCurrentAttributes) {
    TPlotDataCompactList compact;
    TPlotDataCompactIntervalList interval;
    for (TPlotDataCustomList* list : {static_cast<TPlotDataCustomList*>(&compact),
                                      static_cast<TPlotDataCustomList*>(&interval)}) {
        AddPoints(*list, 0, 3);
        list->GetCurrentPointAttributes().TraceLineColor = clRed;
        list->SetNull(1, true);
        list->SetEmpty(1, true);
        list->SetHigh(1, 5);
        list->SetTraceLineColor(1, clBlue);
        for (int i = 0; i < 3; ++i) {
            double x, y;
            bool empty = true, null = true;
            list->GetXYEmptyNull(i, x, y, empty, null);
            EXPECT_FALSE(list->GetNull(i) || list->GetEmpty(i) || empty || null) << i;
            EXPECT_EQ(list->GetHigh(i), 0);
            EXPECT_EQ(list->GetTraceLineColor(i), clRed);
        }
    }
}

TEST(PlotDataCompactLists, RoundToSinglePrecision) {
    const double single = static_cast<float>(0.1);
    ASSERT_NE(single, 0.1);
    TPlotDataCompactList compact;
    compact.Add(0.1, 0.1);
    EXPECT_EQ(compact.GetX(0), single);
    EXPECT_EQ(compact.GetY(0), single);
    compact.SetX(0, 0.1);
    compact.SetY(0, 0.1);
    EXPECT_EQ(Held(compact), (Points{{single, single}}));

    TPlotDataCompactIntervalList interval;
    interval.Add(0.1, 0.1);
    EXPECT_EQ(Held(interval), (Points{{0.1, single}})) << "X is not stored in a slot";
    interval.SetY(0, 0.1);
    EXPECT_EQ(interval.GetY(0), single);

    TPlotDataNullList standard;
    TPlotDataFullList full;
    standard.Add(0.1, 0.1);
    full.Add(0.1, 0.1);
    EXPECT_EQ(Held(standard), (Points{{0.1, 0.1}}));
    EXPECT_EQ(Held(full), (Points{{0.1, 0.1}}));
}

// ---- The interval list -----------------------------------------------------------------------

TEST(PlotDataCompactIntervalList, XFollowsTheFirstTwoPoints) {
    TPlotDataCompactIntervalList list;
    list.Add(10, 1);
    list.Add(12, 2);
    list.Add(13, 3);
    EXPECT_EQ(Held(list), (Points{{10, 1}, {12, 2}, {14, 3}}));
    EXPECT_EQ(list.GetInterval(), 2);
    EXPECT_EQ(list.GetX(5), 20) << "the formula, for any index";
}

TEST(PlotDataCompactIntervalList, AFullRingKeepsTheXOfItsRemainingPoints) {
    TPlotDataCompactIntervalList list;
    list.SetRingBufferSize(3);
    list.Add(10, 1);
    list.Add(12, 2);
    list.Add(13, 3);
    list.Add(99, 4);
    EXPECT_EQ(Held(list), (Points{{12, 2}, {14, 3}, {16, 4}}));
    list.DeletePoints(1);
    EXPECT_EQ(Held(list), (Points{{14, 3}, {16, 4}}));
}

TEST(PlotDataCompactIntervalList, OnlyTheFirstXCanBeSet) {
    const std::string message =
        "Data Style does not support setting individual X-Value with the exception of the first X-Value";
    TPlotDataCompactIntervalList list;
    EXPECT_EQ(ErrorOf([&] { list.SetX(0, 5); }), message) << "no point held";
    list.Add(10, 1);
    list.Add(12, 2);
    list.Add(13, 3);
    list.SetX(0, 100);
    EXPECT_EQ(Held(list), (Points{{100, 1}, {102, 2}, {104, 3}}));
    for (int index : {1, 2, -1, 3})
        EXPECT_EQ(ErrorOf([&] { list.SetX(index, 5); }), message) << index;
    EXPECT_EQ(Held(list), (Points{{100, 1}, {102, 2}, {104, 3}}));
}

TEST(PlotDataCompactIntervalList, ClearForgetsTheInterval) {
    TPlotDataCompactIntervalList list;
    list.Add(10, 1);
    list.Add(12, 2);
    list.Clear();
    EXPECT_EQ(list.GetInterval(), TPlotDataCompactIntervalList::kUnknownInterval);
    list.Add(50, 1);
    list.Add(55, 2);
    list.Add(0, 3);
    EXPECT_EQ(Held(list), (Points{{50, 1}, {55, 2}, {60, 3}}));
}

// ---- The full list ---------------------------------------------------------------------------

TEST(PlotDataFullList, EachPointTakesTheCurrentAttributes) {
    TPlotDataFullList list;
    CurrentPointAttributes& current = list.GetCurrentPointAttributes();
    current.TraceLineColor = clRed;
    current.TraceLineWidth = 2;
    current.TraceLineStyle = iplsDot;
    current.MarkerVisible = true;
    current.MarkerSize = 5;
    current.MarkerStyle = ipmsDiamond;
    current.MarkerPenColor = clLime;
    current.MarkerPenWidth = 3;
    current.MarkerPenStyle = psDash;
    current.MarkerBrushColor = clAqua;
    current.MarkerBrushStyle = bsCross;
    current.MarkerCharacter = 'x';
    current.BarVisible = false;
    current.BarReference = 1.5;
    current.BarWidth = 2.5;
    current.BarPenColor = clNavy;
    current.BarPenWidth = 4;
    current.BarPenStyle = psDot;
    current.BarBrushColor = clTeal;
    current.BarBrushStyle = bsDiagCross;
    list.Add(0, 0);
    current.TraceLineColor = clBlue;
    current.BarVisible = true;
    list.Add(1, 1);

    EXPECT_EQ(list.GetTraceLineColor(0), clRed);
    EXPECT_EQ(list.GetTraceLineWidth(0), 2);
    EXPECT_EQ(list.GetTraceLineStyle(0), iplsDot);
    EXPECT_TRUE(list.GetMarkerVisible(0));
    EXPECT_EQ(list.GetMarkerSize(0), 5);
    EXPECT_EQ(list.GetMarkerStyle(0), ipmsDiamond);
    EXPECT_EQ(list.GetMarkerPenColor(0), clLime);
    EXPECT_EQ(list.GetMarkerPenWidth(0), 3);
    EXPECT_EQ(list.GetMarkerPenStyle(0), psDash);
    EXPECT_EQ(list.GetMarkerBrushColor(0), clAqua);
    EXPECT_EQ(list.GetMarkerBrushStyle(0), bsCross);
    EXPECT_EQ(list.GetMarkerCharacter(0), 0) << "a new point's character starts at 0";
    EXPECT_FALSE(list.GetBarVisible(0));
    EXPECT_EQ(list.GetBarReference(0), 1.5);
    EXPECT_EQ(list.GetBarWidth(0), 2.5);
    EXPECT_EQ(list.GetBarPenColor(0), clNavy);
    EXPECT_EQ(list.GetBarPenWidth(0), 4);
    EXPECT_EQ(list.GetBarPenStyle(0), psDot);
    EXPECT_EQ(list.GetBarBrushColor(0), clTeal);
    EXPECT_EQ(list.GetBarBrushStyle(0), bsDiagCross);

    EXPECT_EQ(list.GetTraceLineColor(1), clBlue);
    EXPECT_TRUE(list.GetBarVisible(1));

    list.SetMarkerCharacter(1, 'o');
    list.SetBarWidth(1, 9);
    EXPECT_EQ(list.GetMarkerCharacter(1), 'o');
    EXPECT_EQ(list.GetBarWidth(1), 9);
    EXPECT_EQ(list.GetBarWidth(0), 2.5) << "per point";
}

TEST(PlotDataFullList, StoresPriceValuesAndFlagsPerPoint) {
    TPlotDataFullList list;
    AddPoints(list, 0, 2);
    EXPECT_EQ(list.GetHigh(1), 0);
    list.SetHigh(1, 4);
    list.SetLow(1, 1);
    list.SetOpen(1, 2);
    list.SetClose(1, 3);
    list.SetNull(1, true);
    list.SetEmpty(0, true);
    EXPECT_EQ((std::vector<double>{list.GetHigh(1), list.GetLow(1), list.GetOpen(1), list.GetClose(1)}),
              (std::vector<double>{4, 1, 2, 3}));
    EXPECT_EQ(list.GetHigh(0), 0);
    double x, y;
    bool empty, null;
    list.GetXYEmptyNull(1, x, y, empty, null);
    EXPECT_TRUE(null && !empty);
    list.GetXYEmptyNull(0, x, y, empty, null);
    EXPECT_TRUE(empty && !null);
}

}  // namespace
}  // namespace ondrix
