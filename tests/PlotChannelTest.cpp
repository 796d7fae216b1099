#include <gtest/gtest.h>

#include <time.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "Bytes.h"
#include "PlotErrors.h"
#include "TemporaryFolder.h"
#include "plot/axes/PlotAxis.h"
#include "plot/component/Plot.h"

using namespace ondrix;

namespace {

using test::ErrorOf;
using test::ReadText;

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// A scale as the layout and painting would give it: horizontal axes from pixel Left to Right,
// vertical ones from Bottom (Min) to Top.
void GiveScale(TPlotAxis& axis, const TPlotRect& rect) {
    axis.SetDrawRect(rect);
    axis.CalcScaleRect(TPlotAxisLabelMetrics{});
}

// The TPlot's own channel and axes, with tracking off unless a test wants it: the axes then
// stay where the test puts them.
struct ChannelTest : ::testing::Test {
    TPlot plot;
    TPlotChannel& channel = *plot.GetChannel(0);
    TPlotXAxis& xAxis = *plot.GetXAxis(0);
    TPlotYAxis& yAxis = *plot.GetYAxis(0);

    void SetUp() override {
        channel.SetXAxisTrackingEnabled(false);
        channel.SetYAxisTrackingEnabled(false);
    }
    void AddRamp(TPlotChannelCustom& target, int count, double step = 1) {
        for (int i = 0; i < count; ++i) target.AddXY(i * step, i * 10.0);
    }
    std::vector<double> Xs(const TPlotChannelCustom& target) const {
        std::vector<double> xs;
        for (int i = 0; i < target.GetCount(); ++i) xs.push_back(target.GetDataX(i));
        return xs;
    }
};

}  // namespace

// ---- Visible range and lookups -------------------------------------------------------------

TEST_F(ChannelTest, VisibleRangeTakesOnePointBeyondEachEdgeOfTheAxis) {
    struct Row {
        double min, max;
        int start, stop;
    } rows[] = {
        {2.5, 6.5, 2, 7},    // the points just outside the window are drawn, so the trace reaches its edges
        {2, 6, 2, 6},        // a window edge on a point needs no neighbour
        {20, 30, 9, 9},      // the axis beyond the newest point: only the last point
        {-10, -5, 0, 0},     // before the oldest point: only the first
        {-100, 100, 0, 9},   // all of it
    };
    AddRamp(channel, 10);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.min << ".." << row.max);
        xAxis.SetMinSpan(row.min, row.max - row.min);
        channel.CalcStartXIndex();
        channel.CalcStopXIndex();
        EXPECT_EQ(channel.GetDrawStartIndex(), row.start);
        EXPECT_EQ(channel.GetDrawStopIndex(), row.stop);
    }
}

TEST_F(ChannelTest, VisibleRangeOfDecreasingXMirrorsTheSearch) {
    for (int i = 9; i >= 0; --i) channel.AddXY(i, i);  // X = 9, 8, ... 0
    xAxis.SetMinSpan(2.5, 4);
    channel.CalcStartXIndex();
    channel.CalcStopXIndex();
    EXPECT_FALSE(channel.GetXIncreasing());
    EXPECT_EQ(channel.GetDrawStartIndex(), 2);  // X = 7, the first point above the window
    EXPECT_EQ(channel.GetDrawStopIndex(), 7);   // X = 2, the first point below it
}

TEST_F(ChannelTest, VisibleRangeIsUnsetWithoutPointsOrXAxis) {
    channel.CalcStartXIndex();
    channel.CalcStopXIndex();
    EXPECT_EQ(channel.GetDrawStartIndex(), -1);
    EXPECT_EQ(channel.GetDrawStopIndex(), -1);

    AddRamp(channel, 3);
    channel.SetXAxisName("nowhere");
    channel.CalcStartXIndex();
    channel.CalcStopXIndex();
    EXPECT_EQ(channel.GetDrawStartIndex(), -1);
    EXPECT_EQ(channel.GetDrawStopIndex(), -1);
}

TEST_F(ChannelTest, CalcIndexFindsTheFirstPointAtOrBeyondX) {
    struct Row {
        double x;
        int increasing, decreasing;
    } rows[] = {
        {-5, -1, -1}, {0, 0, 9}, {5, 1, 8}, {10, 1, 8}, {85, 9, 0}, {90, 9, 0}, {95, -1, -1},
    };
    TPlotChannel& down = *plot.GetChannel(plot.AddChannel());
    for (int i = 0; i < 10; ++i) {
        channel.AddXY(i * 10, 0);
        down.AddXY(90 - i * 10, 0);
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(row.x);
        EXPECT_EQ(channel.CalcIndex(row.x), row.increasing);
        EXPECT_EQ(down.CalcIndex(row.x), row.decreasing);
    }
    channel.SetXAxisName("nowhere");
    EXPECT_EQ(channel.CalcIndex(50), -1);
}

TEST_F(ChannelTest, GetYInterpolatedIsLinearInXAxisPixels) {
    GiveScale(xAxis, {0, 0, 1000, 20});  // 0..100 over 1000 pixels: 10 pixels per unit
    channel.AddXY(10, 100);
    channel.AddXY(11, 200);
    channel.AddXNull(12);
    channel.AddXY(13, 300);
    channel.AddXY(14, 400);
    channel.AddXY(14.04, 500);  // on the same pixel as 14

    struct Row {
        double x;
        bool found;
        double y;
    } rows[] = {
        {10.4, true, 140},    // 4 of the 10 pixels between the points
        {10.43, true, 140},   // still pixel 104: exact to the pixel, not to the value
        {11, true, 200},      // on a point
        {10, false, 0},       // on the first point: no neighbour before it
        {9, false, 0},        // outside the data
        {11.5, false, 0},     // the next point is Null
        {12.5, false, 0},     // the point before is Null
        {14.02, true, 500},   // both neighbours on one pixel: the point at or after x
        {15, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.x);
        double y = -1;
        EXPECT_EQ(channel.GetYInterpolated(row.x, y), row.found);
        EXPECT_DOUBLE_EQ(y, row.y);
    }

    channel.SetDigitalEnabled(true);
    double y = -1;
    EXPECT_TRUE(channel.GetYInterpolated(13.5, y));
    EXPECT_EQ(y, 300);  // digital levels hold until the next point
}

TEST_F(ChannelTest, VisibleExtentsFollowTheXRangeAndSkipUnusablePoints) {
    channel.AddXY(0, 1000);  // outside the X window below: not part of the Y extent
    for (int i = 1; i < 10; ++i) channel.AddXY(i, i * 10);
    channel.AddXNull(10);
    xAxis.SetMinSpan(2.5, 4);  // range 2..7 with its edge points

    EXPECT_EQ(channel.GetVisibleMaxY(), 70);
    EXPECT_EQ(channel.GetVisibleMinY(), 20);
    EXPECT_EQ(channel.GetVisibleMaxX(), 9);  // the Null point at 10 does not count
    EXPECT_EQ(channel.GetVisibleMinX(), 0);

    channel.SetVisible(false);
    EXPECT_EQ(channel.GetVisibleMaxY(), kNoMaximum);
    EXPECT_EQ(channel.GetVisibleMinX(), kNoMinimum);
}

// ---- Tracking ------------------------------------------------------------------------------

TEST_F(ChannelTest, AddXYGivesTheAxesTheMarkerEdgesXFirstMaxBeforeMin) {
    // Both axes follow values below Min by moving Min there, so each tracking value shows up as
    // one Min change.
    std::vector<std::string> heard;
    plot.OnXAxisMinChange = [&](int, double, double now) { heard.push_back("X " + std::to_string(now)); };
    plot.OnYAxisMinChange = [&](int, double, double now) { heard.push_back("Y " + std::to_string(now)); };
    xAxis.SetTrackingStyle(iptsScaleMinMax);
    xAxis.SetTrackingAlignFirstStyle(ipafsNone);
    GiveScale(xAxis, {0, 0, 1000, 20});  // 10 pixels per unit: 2 pixels are 0.2
    GiveScale(yAxis, {0, 0, 20, 500});   // 5 pixels per unit: 2 pixels are 0.4
    channel.SetXAxisTrackingEnabled(true);
    channel.SetYAxisTrackingEnabled(true);

    struct Row {
        bool markers;
        std::vector<std::string> heard;
    } rows[] = {
        {false, {"X 50.000000", "Y 50.000000"}},
        {true, {"X 50.200000", "X 49.800000", "Y 50.400000", "Y 49.600000"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.markers);
        xAxis.SetMinSpan(100, 100);
        yAxis.SetMinSpan(100, 100);
        channel.SetMarkersVisible(row.markers);
        channel.SetMarkersSize(2);
        heard.clear();
        channel.AddXY(50, 50);
        EXPECT_EQ(heard, row.heard);
    }
}

TEST_F(ChannelTest, AChannelBoundToAMissingAxisStopsTrackingUntilTheAxisExists) {
    channel.SetYAxisTrackingEnabled(true);
    channel.SetYAxisName("Y-Axis 2");
    channel.AddXY(0, 1e6);
    EXPECT_EQ(yAxis.GetSpan(), 100);
    EXPECT_FALSE(channel.AxesValid());
    EXPECT_EQ(channel.GetYValueText(1), "No Y-Axis");
    int px = -1, py = -1;
    channel.GetPointPixels(1, 1, px, py);
    EXPECT_EQ(px, 0);
    EXPECT_EQ(py, 0);

    TPlotYAxis& added = *plot.GetYAxis(plot.AddYAxis());
    ASSERT_EQ(added.GetName(), "Y-Axis 2");
    channel.AddXY(1, 5000);
    EXPECT_TRUE(channel.AxesValid());
    EXPECT_EQ(added.GetSpan(), 5000);  // 0..100 widened up to the new value
    EXPECT_EQ(yAxis.GetSpan(), 100);
}

TEST_F(ChannelTest, NullEmptyAndHighLowEntriesTrackXOnlyAndKeepNoStatistics) {
    channel.SetXAxisTrackingEnabled(true);
    channel.SetYAxisTrackingEnabled(true);
    xAxis.SetTrackingStyle(iptsScaleMinMax);
    xAxis.SetTrackingAlignFirstStyle(ipafsNone);
    channel.AddXNull(500);
    EXPECT_EQ(xAxis.GetMax(), 500);
    channel.AddXEmpty(700);
    EXPECT_EQ(xAxis.GetMax(), 700);
    channel.AddHighLow(900, 4, 1, 2, 3);
    EXPECT_EQ(xAxis.GetMax(), 900);
    EXPECT_EQ(yAxis.GetSpan(), 100);
    EXPECT_EQ(channel.GetRunningCount(), 0);
    EXPECT_EQ(channel.GetRunningXMax(), kNoMaximum);

    EXPECT_TRUE(channel.GetDataNull(0));
    EXPECT_FALSE(channel.GetDataEmpty(0));
    EXPECT_FALSE(channel.GetDataNull(1));
    EXPECT_TRUE(channel.GetDataEmpty(1));
}

// ---- Data entry ----------------------------------------------------------------------------

TEST_F(ChannelTest, EveryAddEndsInOneChangeReport) {
    int repaints = 0;
    plot.OnRepaintRequest = [&] { ++repaints; };
    const std::function<void()> adds[] = {
        [&] { channel.AddXY(1, 1); },     [&] { channel.AddXNull(2); },
        [&] { channel.AddXEmpty(3); },    [&] { channel.AddHighLow(4, 1, 1, 1, 1); },
        [&] { channel.AddYElapsedTime(1); },
    };
    for (const auto& add : adds) {
        repaints = 0;
        add();
        EXPECT_EQ(repaints, 1);
    }
}

TEST_F(ChannelTest, AddXYAnswersTheRingSlotItWrote) {
    channel.SetRingBufferSize(3);
    const int slots[] = {channel.AddXY(0, 0), channel.AddXY(1, 0), channel.AddXY(2, 0), channel.AddXY(3, 0),
                         channel.AddXY(4, 0)};
    EXPECT_EQ(std::vector<int>(std::begin(slots), std::end(slots)), (std::vector<int>{0, 1, 2, 0, 1}));
    EXPECT_EQ(Xs(channel), (std::vector<double>{2, 3, 4}));
}

TEST_F(ChannelTest, AddYArrayContinuesFromTheNewestX) {
    channel.AddYArray(0.5, TPlotVariantArray::Vector({5, 6, 7}, 3));  // position counts from the low bound
    EXPECT_EQ(Xs(channel), (std::vector<double>{0, 0.5, 1}));
    channel.AddYArray(0.5, TPlotVariantArray::Vector({8, 9}));
    EXPECT_EQ(Xs(channel), (std::vector<double>{0, 0.5, 1, 1, 1.5}));  // the first repeats the newest X
    EXPECT_EQ(channel.GetDataY(4), 9);
}

TEST_F(ChannelTest, ArrayEntriesCheckTheirShapes) {
    TPlotVariantArray matrix({{1, 2}, {5, 7}});  // 2 x 3, indices from 1 and from 5
    for (int j = 5; j <= 7; ++j) {
        matrix.Set(1, j, j);
        matrix.Set(2, j, j * 10);
    }
    channel.AddXYArray(matrix);
    EXPECT_EQ(Xs(channel), (std::vector<double>{5, 6, 7}));
    EXPECT_EQ(channel.GetDataY(2), 70);
    channel.AddXYArrays(TPlotVariantArray::Vector({8, 9}, 1), TPlotVariantArray::Vector({80, 90}, 1));
    EXPECT_EQ(channel.GetCount(), 5);
    EXPECT_EQ(channel.GetDataY(4), 90);

    const TPlotVariantArray vector = TPlotVariantArray::Vector({1, 2});
    struct Row {
        std::function<void()> call;
        const char* message;
    } rows[] = {
        {[&] { channel.AddXYArray(vector); }, "Array Must Be 2 Dimensional"},
        {[&] { channel.AddXYArray(TPlotVariantArray()); }, "Array Must Be 2 Dimensional"},
        {[&] { channel.AddXYArray(TPlotVariantArray({{0, 2}, {0, 1}})); }, "Array First Dimension Must Be 2 Elements"},
        {[&] { channel.AddXYArrays(matrix, vector); }, "X-Data array must be 1 dimensional"},
        {[&] { channel.AddXYArrays(vector, matrix); }, "Y-Data array must be 1 dimensional"},
        {[&] { channel.AddXYArrays(vector, TPlotVariantArray::Vector({1, 2}, 1)); },
         "X-Data and Y-Data low bound dimension must match"},
        {[&] { channel.AddXYArrays(vector, TPlotVariantArray::Vector({1, 2, 3})); },
         "X-Data and Y-Data hogh bound dimension must match"},
        {[&] { channel.AddYArray(1, matrix); }, "Y-Data array must be 1 dimensional"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        EXPECT_EQ(ErrorOf(row.call), row.message);
        EXPECT_EQ(channel.GetCount(), 5);
    }
}

TEST_F(ChannelTest, ElapsedTimeEntriesCountFromTheLastReset) {
    double now = 100;
    channel.Clock = [&] { return now; };
    channel.ResetElapsedStartTime();
    now = 100.5;
    channel.AddYElapsedSeconds(1);
    channel.AddYElapsedTime(2);
    channel.AddYNow(3);
    EXPECT_EQ(Xs(channel), (std::vector<double>{43200, 0.5, 100.5}));

    // Plot date-times count days from 1899-12-30; the Unix epoch is day 25569 there, and the
    // local offset from UTC is less than a day.
    const double unixDays = static_cast<double>(time(nullptr)) / 86400 + 25569;
    EXPECT_NEAR(PlotDateTimeNow(), unixDays, 1);
}

// ---- Statistics ----------------------------------------------------------------------------

TEST_F(ChannelTest, StatisticsGettersSkipNullAndEmptyPoints) {
    channel.AddXY(1, 10);
    channel.AddXNull(100);
    channel.AddXEmpty(-100);
    channel.AddXY(3, 30);
    channel.AddXY(1000, 1000);
    channel.SetDataNull(4, true);  // marked Null after its add

    struct Row {
        const char* name;
        std::function<double()> get;
        double expected;
        std::function<double()> running;
    } rows[] = {
        {"XMin", [&] { return channel.GetXMin(); }, 1, [&] { return channel.GetRunningXMin(); }},
        {"XMax", [&] { return channel.GetXMax(); }, 3, [&] { return channel.GetRunningXMax(); }},
        {"XMean", [&] { return channel.GetXMean(); }, 2, [&] { return channel.GetRunningXMean(); }},
        {"YMin", [&] { return channel.GetYMin(); }, 10, [&] { return channel.GetRunningYMin(); }},
        {"YMax", [&] { return channel.GetYMax(); }, 30, [&] { return channel.GetRunningYMax(); }},
        {"YMean", [&] { return channel.GetYMean(); }, 20, [&] { return channel.GetRunningYMean(); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.get(), row.expected);
        EXPECT_EQ(row.running(), row.expected);  // the scan's result is kept as the running value
    }

    channel.ReCalcRunningMinMaxMean();
    EXPECT_EQ(channel.GetRunningCount(), 2);
    channel.AddXY(5, 50);  // the rebuilt sums carry on: (1 + 3 + 5) / 3
    EXPECT_EQ(channel.GetRunningXMean(), 3);
}

TEST_F(ChannelTest, ClearResetsTheStatisticsSoTheNextMeanIsTheNextPoint) {
    AddRamp(channel, 5);
    channel.CalcStartXIndex();
    channel.Clear();
    EXPECT_EQ(channel.GetCount(), 0);
    EXPECT_EQ(channel.GetDrawStartIndex(), -1);
    EXPECT_EQ(channel.GetRunningXMin(), kNoMinimum);
    EXPECT_EQ(channel.GetRunningYMax(), kNoMaximum);
    EXPECT_EQ(channel.GetRunningCount(), 0);
    channel.AddXY(42, -7);
    EXPECT_EQ(channel.GetRunningXMean(), 42);
    EXPECT_EQ(channel.GetRunningYMean(), -7);
    EXPECT_EQ(channel.GetRunningXMin(), 42);

    // Of an empty channel: the no-minimum and no-maximum sentinels, mean 0.
    channel.Clear();
    EXPECT_EQ(channel.GetXMin(), kNoMinimum);
    EXPECT_EQ(channel.GetYMax(), kNoMaximum);
    EXPECT_EQ(channel.GetXMean(), 0);
}

TEST_F(ChannelTest, RunningMeanKeepsSmallValuesBesideLargeOnes) {
    // Doubles 1e17 apart are 16 apart: a double sum would lose every 2 added to it.
    channel.AddXY(1e17, 0);
    for (int i = 0; i < 4; ++i) channel.AddXY(2, 0);
    channel.AddXY(-1e17, 0);
    EXPECT_DOUBLE_EQ(channel.GetRunningXMean(), 8.0 / 6);
}

// ---- Data style and properties -------------------------------------------------------------

TEST_F(ChannelTest, ADataStyleChangeKeepsAppearanceAndRingButDropsPointsAndStatistics) {
    channel.SetRingBufferSize(100);
    channel.SetMarkersSize(5);
    channel.SetColor(clBlue);
    channel.SetBarWidth(7);
    AddRamp(channel, 10);
    channel.SetDataStyle(ipdsFullFeature);

    EXPECT_EQ(channel.GetCount(), 0);
    EXPECT_EQ(channel.GetRingBufferSize(), 100);
    EXPECT_EQ(channel.GetRunningCount(), 0);
    EXPECT_EQ(channel.GetRunningXMax(), kNoMaximum);
    EXPECT_EQ(channel.GetRunningXMean(), 0);
    channel.AddXY(1, 1);
    EXPECT_EQ(channel.GetDataMarkerSize(0), 5);  // the full list copies the channel's values
    EXPECT_EQ(channel.GetDataTraceLineColor(0), clBlue);
    EXPECT_EQ(channel.GetDataBarWidth(0), 7);
    EXPECT_EQ(channel.GetDataPointSize(), 136);
}

TEST_F(ChannelTest, AppearanceDefaultsReachNewPoints) {
    channel.SetDataStyle(ipdsFullFeature);
    channel.AddXY(0, 0);
    EXPECT_EQ(channel.GetDataTraceLineColor(0), channel.GetColor());  // red: the first palette colour
    EXPECT_EQ(channel.GetDataTraceLineWidth(0), 1);
    EXPECT_EQ(channel.GetDataMarkerSize(0), 3);
    EXPECT_EQ(channel.GetDataMarkerStyle(0), ipmsCircle);
    EXPECT_EQ(channel.GetDataMarkerPenColor(0), clRed);
    EXPECT_EQ(channel.GetDataMarkerBrushColor(0), clRed);
    EXPECT_FALSE(channel.GetDataMarkerShow(0));
    EXPECT_EQ(channel.GetDataBarWidth(0), 5);
    EXPECT_EQ(channel.GetDataBarPenColor(0), clRed);
}

TEST(ChannelMemory, FourScopeRingsTakeExactlyTheirSlots) {
    TPlot plot;
    while (plot.ChannelCount() < 4) plot.AddChannel();
    int64_t total = 0;
    for (int i = 0; i < 4; ++i) {
        plot.GetChannel(i)->SetRingBufferSize(1500000);
        total += plot.GetChannel(i)->GetMemoryUsed();
    }
    EXPECT_EQ(total, 4 * 36000000LL);
}

// ---- Draw extents --------------------------------------------------------------------------

TEST_F(ChannelTest, DrawExtentsAddTheMarkerAndRefuseNullPointsAndMissingAxes) {
    GiveScale(xAxis, {0, 0, 1000, 20});
    channel.AddXY(5, 50);
    channel.AddXNull(6);
    EXPECT_EQ(channel.GetDataXDrawMax(0), 5);  // markers hidden: the value itself
    EXPECT_EQ(ErrorOf([&] { channel.GetDataYDrawMin(1); }), "Data Point Null");

    channel.SetMarkersVisible(true);
    channel.SetMarkersSize(3);
    EXPECT_NEAR(channel.GetDataXDrawMax(0), 5.3, 1e-9);
    EXPECT_NEAR(channel.GetDataXDrawMin(0), 4.7, 1e-9);

    channel.SetXAxisName("nowhere");
    channel.SetYAxisName("nowhere");
    struct Row {
        std::function<void()> call;
        const char* message;
    } rows[] = {
        {[&] { channel.GetDataXDrawMax(0); }, "X-Axis not assigned"},
        {[&] { channel.GetDataXDrawMin(0); }, "X-Axis not assigned"},
        {[&] { channel.GetDataYDrawMax(0); }, "Y-Axis not assigned"},
        {[&] { channel.GetDataYDrawMin(0); }, "Y-Axis not assigned"},
        {[&] { channel.GetDataXDrawMax(1); }, "Data Point Null"},  // checked before the axis
        {[&] { channel.GetDataXDrawMax(2); }, "Index out of Bounds"},
    };
    for (const Row& row : rows) EXPECT_EQ(ErrorOf(row.call), row.message);
    EXPECT_EQ(channel.GetXValueText(1), "No X-Axis");
}

// ---- Plot-wide channel data ----------------------------------------------------------------

TEST_F(ChannelTest, TransferChannelDataCopiesPointsWithTheirMarks) {
    TPlotChannelCustom& target = *plot.GetChannel(plot.AddChannel());
    channel.AddXY(1, 10);
    channel.AddXNull(2);
    channel.AddXEmpty(3);
    channel.AddXY(4, 40);

    plot.TransferChannelData(0, 1, 1, 3);
    ASSERT_EQ(Xs(target), (std::vector<double>{2, 3, 4}));
    EXPECT_TRUE(target.GetDataNull(0));
    EXPECT_FALSE(target.GetDataEmpty(0));
    EXPECT_TRUE(target.GetDataEmpty(1));
    EXPECT_FALSE(target.GetDataNull(1));
    EXPECT_EQ(target.GetDataY(2), 40);

    plot.TransferChannelData(0, 1, 2, 1);  // stop before start: nothing
    EXPECT_EQ(target.GetCount(), 3);
    EXPECT_EQ(ErrorOf([&] { plot.TransferChannelData(0, 1, -1, 2); }), "Start Index Must be 0 or Greater");
    EXPECT_EQ(ErrorOf([&] { plot.TransferChannelData(0, 1, 0, 4); }), "StopIndex Must Out Of Range");
    EXPECT_EQ(ErrorOf([&] { plot.TransferChannelData(0, 5, 0, 1); }), "List index out of bounds (5)");
    EXPECT_EQ(target.GetCount(), 3);
}

TEST_F(ChannelTest, ClearAllDataEmptiesEveryChannelAndRealignsEveryAxis) {
    TPlotChannelCustom& second = *plot.GetChannel(plot.AddChannel());
    TPlotYAxis& secondY = *plot.GetYAxis(plot.AddYAxis());
    second.SetYAxisName(secondY.GetName());
    channel.SetXAxisTrackingEnabled(true);
    channel.SetYAxisTrackingEnabled(true);
    channel.AddXY(1, 1);
    second.AddXY(1, 1);
    ASSERT_TRUE(xAxis.GetFirstAlignDone());
    ASSERT_TRUE(yAxis.GetFirstAlignDone());
    ASSERT_TRUE(secondY.GetFirstAlignDone());

    plot.ClearAllData();
    EXPECT_EQ(channel.GetCount(), 0);
    EXPECT_EQ(second.GetCount(), 0);
    EXPECT_FALSE(xAxis.GetFirstAlignDone());
    EXPECT_FALSE(yAxis.GetFirstAlignDone());
    EXPECT_FALSE(secondY.GetFirstAlignDone());

    // A single channel's Clear leaves the alignment alone.
    channel.AddXY(1, 1);
    channel.Clear();
    EXPECT_TRUE(xAxis.GetFirstAlignDone());
}

// ---- Data files ----------------------------------------------------------------------------

struct ChannelFileTest : ChannelTest {
    test::TemporaryFolder folder;
    std::string path = (folder.Path() / "channel.txt").string();
};

TEST_F(ChannelFileTest, SaveWritesOneLinePerPointThatIsNotEmpty) {
    channel.AddXY(0, 0.1);
    channel.AddXNull(1);
    channel.AddXEmpty(2);
    channel.AddXY(1e300, -2.5);

    channel.SaveDataToFile(path);
    EXPECT_EQ(ReadText(path), "0\t0.1\r\n1\tNull\r\n1e+300\t-2.5\r\n");
    plot.SetDataFileColumnSeparator(ipdfcsComma);
    channel.SaveDataToFile(path);
    EXPECT_EQ(ReadText(path), "0,0.1\r\n1,Null\r\n1e+300,-2.5\r\n");
}

TEST_F(ChannelFileTest, SavedPointsLoadBackBitForBit) {
    const double values[] = {0.1, 1.0 / 3, 1e300, -2.5e-300, 123456789.123, 5e-324};
    for (const double v : values) channel.AddXY(v, -v);
    channel.SetDataNull(2, true);
    for (const auto separator : {ipdfcsTab, ipdfcsComma}) {
        SCOPED_TRACE(separator);
        plot.SetDataFileColumnSeparator(separator);
        channel.SaveDataToFile(path);
        TPlotChannelCustom& copy = *plot.GetChannel(plot.AddChannel());
        copy.LoadDataFromFile(path, false);
        ASSERT_EQ(copy.GetCount(), channel.GetCount());
        for (int i = 0; i < copy.GetCount(); ++i) {
            EXPECT_EQ(copy.GetDataX(i), channel.GetDataX(i));
            EXPECT_EQ(copy.GetDataNull(i), i == 2);
            EXPECT_EQ(copy.GetDataY(i), i == 2 ? 0 : channel.GetDataY(i));
        }
    }
}

TEST_F(ChannelFileTest, LoadDetectsTheSeparatorAndSkipsLinesWithoutX) {
    struct Row {
        const char* text;
        std::vector<double> xs;
        std::vector<double> ys;
        std::vector<bool> nulls;
    } rows[] = {
        {"1\t10\r\n\t99\r\n2\tnull\r\n3\tNULL\r\n4\t-4.5", {1, 2, 3, 4}, {10, 0, 0, -4.5}, {false, true, true, false}},
        {"1,10\n,5\n2,2.5e3\n\n", {1, 2}, {10, 2500}, {false, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        WriteFile(path, row.text);
        channel.Clear();
        channel.LoadDataFromFile(path, false);
        EXPECT_EQ(Xs(channel), row.xs);
        for (int i = 0; i < channel.GetCount(); ++i) {
            EXPECT_EQ(channel.GetDataY(i), row.ys[static_cast<size_t>(i)]);
            EXPECT_EQ(channel.GetDataNull(i), row.nulls[static_cast<size_t>(i)]);
        }
    }
}

TEST_F(ChannelFileTest, ABadNumberFailsTheLoadBeforeAnythingChanges) {
    const struct {
        const char* file;
        const char* error;
    } cases[] = {
        // A tab in the first line makes tab the separator: the comma is then part of a field.
        {"1\t10\n2\t20,5\n", "'20,5' is not a valid number"},
        // Not values a channel can show: one infinity would stretch its Y axis to the sentinels.
        {"1\t10\n2\tinf\n", "'inf' is not a valid number"},
        {"-INF\t10\n", "'-INF' is not a valid number"},
        {"1\tnan\n", "'nan' is not a valid number"},
        {"1e999\t10\n", "'1e999' is not a valid number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        WriteFile(path, c.file);
        channel.Clear();
        channel.AddXY(7, 70);
        EXPECT_EQ(ErrorOf([&] { channel.LoadDataFromFile(path, true); }), c.error);
        EXPECT_EQ(Xs(channel), (std::vector<double>{7}));
    }
}

TEST_F(ChannelFileTest, LoadAppendsOrReplaces) {
    WriteFile(path, "5\t50\r\n");
    channel.AddXY(1, 10);
    channel.LoadDataFromFile(path, false);
    EXPECT_EQ(Xs(channel), (std::vector<double>{1, 5}));
    channel.LoadDataFromFile(path, true);
    EXPECT_EQ(Xs(channel), (std::vector<double>{5}));
    EXPECT_EQ(channel.GetRunningXMean(), 5);
}

// ---- Logging -------------------------------------------------------------------------------

TEST_F(ChannelFileTest, PropertyFilesCarryEveryPublishedProperty) {
    channel.SetTitleText("Motor");
    channel.SetMarkersStyle(ipmsDiamond);
    channel.SetFillReference(-2.5);
    channel.SavePropertiesToFile(path);
    EXPECT_EQ(ReadText(path).rfind("File Type = Plot Channel Config\n[Channel]\n", 0), 0u);

    TPlot other;
    TPlotChannel& copy = *other.GetChannel(0);
    copy.LoadPropertiesFromFile(path);
    EXPECT_EQ(copy.GetTitleText(), "Motor");
    EXPECT_EQ(copy.GetMarkersStyle(), ipmsDiamond);
    EXPECT_EQ(copy.GetFillReference(), -2.5);

    const std::pair<const char*, const char*> refused[] = {
        {"File Type = Plot Axis Config\n[Channel]\n",
         "Error Loading Properties - Incompatible Plot Channel Configuration File Type"},
        {"File Type = Plot Channel Config\n[Channel]\nMarkersStyle = ipmsStar\n",
         "Error Loading Properties - line 3: Property MarkersStyle: 'ipmsStar' is not one of its values"},
    };
    for (const auto& [text, message] : refused) {
        WriteFile(path, text);
        try {
            copy.LoadPropertiesFromFile(path);
            ADD_FAILURE() << text;
        } catch (const EPlotError& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
    EXPECT_THROW(channel.SavePropertiesToFile((folder.Path() / "missing" / "x.cfg").string()), EPlotError);
}

TEST_F(ChannelFileTest, LogWritesInBuffersOfLogBufferSizeAndClearFlushes) {
    channel.SetLogFileName(path);
    channel.SetLogBufferSize(3);
    channel.LogActivate(false);
    EXPECT_TRUE(channel.GetLoggingActive());
    channel.AddXY(1, 10);
    channel.AddXY(2, 20);
    EXPECT_EQ(ReadText(path), "");
    channel.AddXY(3, 30);
    EXPECT_EQ(ReadText(path), "1\t10\r\n2\t20\r\n3\t30\r\n");
    channel.AddXY(4, 0.5);
    channel.Clear();
    EXPECT_FALSE(channel.GetLoggingActive());
    EXPECT_EQ(ReadText(path), "1\t10\r\n2\t20\r\n3\t30\r\n4\t0.5\r\n");
}

TEST_F(ChannelFileTest, LogActivationTruncatesOrAppends) {
    plot.SetDataFileColumnSeparator(ipdfcsComma);
    WriteFile(path, "old\r\n");
    channel.SetLogFileName(path);
    channel.LogActivate(true);
    channel.AddXY(1, 2);  // LogBufferSize 0: written at once
    EXPECT_EQ(ReadText(path), "old\r\n1,2\r\n");
    channel.LogDeactivate();
    channel.LogActivate(false);
    EXPECT_EQ(ReadText(path), "");
    channel.AddXY(3, 4);
    EXPECT_EQ(ReadText(path), "3,4\r\n");
}

TEST_F(ChannelFileTest, LogMisuseIsRefused) {
    struct Row {
        const char* fileName;
        bool activeFirst;
        std::function<void()> call;
        const char* message;
    } rows[] = {
        {"", false, [&] { channel.LogActivate(false); }, "Log File Name not Defined"},
        {"   ", false, [&] { channel.LogActivate(false); }, "Log File Name not Defined"},
        {"log.txt", true, [&] { channel.LogActivate(true); }, "Logging Already Active"},
        {"log.txt", false, [&] { channel.LogDeactivate(); }, "Logging not Active"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        const std::string name = row.fileName == std::string("log.txt") ? path : row.fileName;
        channel.SetLogFileName(name);
        if (row.activeFirst) channel.LogActivate(false);
        EXPECT_EQ(ErrorOf(row.call), row.message);
        if (channel.GetLoggingActive()) channel.LogDeactivate();
    }
}
