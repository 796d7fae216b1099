#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "PlotErrors.h"
#include "plot/axes/PlotAxis.h"
#include "plot/component/Plot.h"

using namespace ondrix;

namespace {

std::string Text(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

// A channel whose extents are whatever the test says, so that the fits can be checked without
// data.
class FixedExtentChannel : public TPlotChannel {
public:
    using TPlotChannel::TPlotChannel;

    double GetVisibleMinX() override { return minX; }
    double GetVisibleMaxX() override { return maxX; }
    double GetVisibleMinY() override { return minY; }
    double GetVisibleMaxY() override { return maxY; }

    void SetExtents(double lowX, double highX, double lowY, double highY) {
        minX = lowX;
        maxX = highX;
        minY = lowY;
        maxY = highY;
    }

    double minX = kNoMinimum;
    double maxX = kNoMaximum;
    double minY = kNoMinimum;
    double maxY = kNoMaximum;
};

// A bare component with one X axis and two Y axes, recording the axis events as text:
// "XMin 0: 0 -> 10", "YSpan 1: 100 -> 50", "XMinSpan 0: 0,100 -> 10,50".
struct AxisRig {
    AxisRig() {
        plot.AddXAxis();
        plot.AddYAxis();
        plot.AddYAxis();
        plot.OnXAxisMinChange = Recorder("XMin");
        plot.OnXAxisSpanChange = Recorder("XSpan");
        plot.OnYAxisMinChange = Recorder("YMin");
        plot.OnYAxisSpanChange = Recorder("YSpan");
        plot.OnXAxisMinSpanChange = MinSpanRecorder("XMinSpan");
        plot.OnYAxisMinSpanChange = MinSpanRecorder("YMinSpan");
    }

    TPlotComponent::TPlotObjectDoubleValueChangeEvent Recorder(const std::string& name) {
        return [this, name](int index, double oldValue, double newValue) {
            events.push_back(name + " " + std::to_string(index) + ": " + Text(oldValue) + " -> " + Text(newValue));
        };
    }
    TPlotComponent::TPlotAxesMinSpanChangeEvent MinSpanRecorder(const std::string& name) {
        return [this, name](int index, double oldMin, double oldSpan, double newMin, double newSpan) {
            events.push_back(name + " " + std::to_string(index) + ": " + Text(oldMin) + "," + Text(oldSpan) + " -> " +
                             Text(newMin) + "," + Text(newSpan));
        };
    }

    TPlotAxis& X() const { return *plot.GetXAxis(0); }
    TPlotAxis& Y(int index = 0) const { return *plot.GetYAxis(index); }

    TPlotComponent plot;
    std::vector<std::string> events;
};

// Gives the axis a draw rectangle and recomputes its scale, with no label room at the ends.
void Place(TPlotAxis& axis, const TPlotRect& rect) {
    axis.SetDrawRect(rect);
    axis.CalcScaleRect(TPlotAxisLabelMetrics{});
}

TPlotMouseData Mouse(int x, int y, TShiftState shift = 0, bool dblClick = false) {
    TPlotMouseData data;
    data.X = x;
    data.Y = y;
    data.Shift = shift;
    data.DblClick = dblClick;
    return data;
}

using test::ErrorOf;

}  // namespace

// ---- Defaults ----------------------------------------------------------------------------

TEST(PlotAxisDefaults, TrackingStyleFollowsTheKindAndThePlot) {
    TPlot strip;
    TXYPlot xy;
    TPlotComponent bare;
    bare.AddXAxis();
    bare.AddYAxis();
    strip.AddXAxis();  // added later, still an X axis of the strip chart
    struct Row {
        const char* what;
        const TPlotAxis* axis;
        TPlotTrackingStyle style;
        TPlotAlignFirstStyle alignFirst;
    } rows[] = {
        {"TPlot X", strip.GetXAxis(0), iptsScrollSmooth, ipafsAuto},
        {"TPlot later X", strip.GetXAxis(1), iptsScrollSmooth, ipafsAuto},
        {"TPlot Y", strip.GetYAxis(0), iptsScaleMinMax, ipafsNone},
        {"TXYPlot X", xy.GetXAxis(0), iptsScaleMinMax, ipafsAuto},
        {"bare X", bare.GetXAxis(0), iptsScaleMinMax, ipafsAuto},
        {"bare Y", bare.GetYAxis(0), iptsScaleMinMax, ipafsNone},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.axis->GetTrackingStyle(), row.style);
        EXPECT_EQ(row.axis->GetTrackingAlignFirstStyle(), row.alignFirst);
        EXPECT_EQ(row.axis->GetMin(), 0);
        EXPECT_EQ(row.axis->GetSpan(), 100);
    }
}

// ---- Range and its reports ---------------------------------------------------------------

TEST(PlotAxisRange, OutOfRangeValuesAreClamped) {
    AxisRig rig;
    TPlotAxis& axis = rig.X();
    struct Row {
        const char* what;
        std::function<void(TPlotAxis&)> set;
        double min;
        double span;
    } rows[] = {
        {"min above the limit", [](TPlotAxis& a) { a.SetMin(2e300); }, 1e300, 100},
        {"min -infinity", [](TPlotAxis& a) { a.SetMin(-INFINITY); }, -1e300, 100},
        {"span zero", [](TPlotAxis& a) { a.SetSpan(0); }, 0, 1e-300},
        {"span negative", [](TPlotAxis& a) { a.SetSpan(-5); }, 0, 1e-300},
        {"span above the limit", [](TPlotAxis& a) { a.SetSpan(1e301); }, 0, 1e300},
        {"NaN leaves both", [](TPlotAxis& a) { a.SetMinSpan(NAN, NAN); }, 0, 100},
        {"log scale: non-positive become 1",
         [](TPlotAxis& a) {
             a.SetScaleType(ipstLog10);
             a.SetMinSpan(-3, 0);
         },
         1, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        axis.SetScaleType(ipstLinear);
        axis.SetMinSpan(0, 100);
        row.set(axis);
        EXPECT_EQ(axis.GetMin(), row.min);
        EXPECT_EQ(axis.GetSpan(), row.span);
    }
}

TEST(PlotAxisReports, SettingTheCurrentValueReportsNothing) {
    AxisRig rig;
    rig.X().SetMin(0);
    rig.X().SetSpan(100);
    rig.X().SetMinSpan(0, 100);
    rig.X().SetMin(1e300);
    rig.events.clear();
    rig.X().SetMinSpan(5e300, 100);  // clamps to what it already is
    EXPECT_TRUE(rig.events.empty()) << rig.events.front();
}

TEST(PlotAxisReports, EachChangeIsReportedOnceWithOldAndNewValues) {
    struct Row {
        const char* what;
        std::function<void(TPlotAxis&)> change;
        std::vector<std::string> events;
    } rows[] = {
        {"SetMin", [](TPlotAxis& a) { a.SetMin(10); }, {"XMin 0: 0 -> 10", "XMinSpan 0: 0,100 -> 10,100"}},
        {"SetSpan", [](TPlotAxis& a) { a.SetSpan(50); }, {"XSpan 0: 100 -> 50", "XMinSpan 0: 0,100 -> 0,50"}},
        {"SetMinSpan, both",
         [](TPlotAxis& a) { a.SetMinSpan(10, 50); },
         {"XMin 0: 0 -> 10", "XSpan 0: 100 -> 50", "XMinSpan 0: 0,100 -> 10,50"}},
        {"SetMinSpan, span only",
         [](TPlotAxis& a) { a.SetMinSpan(0, 70); },
         {"XSpan 0: 100 -> 70", "XMinSpan 0: 0,100 -> 0,70"}},
        {"Zoom",
         [](TPlotAxis& a) { a.Zoom(2); },
         {"XMin 0: 0 -> -50", "XSpan 0: 100 -> 200", "XMinSpan 0: 0,100 -> -50,200"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        AxisRig rig;
        row.change(rig.X());
        EXPECT_EQ(rig.events, row.events);
    }
}

TEST(PlotAxisReports, EventsCarryTheIndexAmongTheAxesOfTheKind) {
    AxisRig rig;
    rig.Y(1).SetMinSpan(5, 10);
    EXPECT_EQ(rig.events,
              (std::vector<std::string>{"YMin 1: 0 -> 5", "YSpan 1: 100 -> 10", "YMinSpan 1: 0,100 -> 5,10"}));
}

TEST(PlotAxisReports, NoEventsWhileLoadingButTheValuesChange) {
    AxisRig rig;
    rig.plot.SetLoading(true);
    rig.X().SetMinSpan(10, 50);
    rig.Y().SetMin(3);
    EXPECT_TRUE(rig.events.empty());
    EXPECT_EQ(rig.X().GetMin(), 10);
    rig.plot.SetLoading(false);
    rig.X().SetMin(11);
    EXPECT_EQ(rig.events.size(), 2u);
}

TEST(PlotAxisReports, StoredValuesGoStraightIntoTheirFields) {
    AxisRig rig;
    Place(rig.X(), {0, 0, 500, 20});
    rig.X().LoadSpanRaw(0);
    rig.X().LoadLabelSeparationRaw(-3);
    rig.X().LoadTitleMarginRaw(7);
    EXPECT_EQ(rig.X().GetSpan(), 0);
    EXPECT_EQ(rig.X().GetLabelSeparation(), -3);
    EXPECT_EQ(rig.X().GetTitleMargin(), 7);
    EXPECT_TRUE(rig.events.empty());
    EXPECT_EQ(rig.X().PositionToPixels(40), 250);  // no width: the middle pixel
}

// ---- Tracking ----------------------------------------------------------------------------

TEST(PlotAxisTracking, EachStyleMovesTheRangeAsDataArrives) {
    struct Step {
        double value;
        double min;
        double span;
    };
    struct Row {
        const char* what;
        TPlotTrackingStyle style;
        TPlotAlignFirstStyle alignFirst;
        double compressMax;
        double min;
        double span;
        std::vector<Step> steps;
    } rows[] = {
        {"scroll smooth: strip chart", iptsScrollSmooth, ipafsAuto, 0, 0, 50000,
         {{0, 0, 50000}, {25000, 0, 50000}, {50000, 0, 50000}, {50001, 1, 50000}, {60000, 10000, 50000},
          {4000, 4000, 50000}}},
        {"scale min-max: top extends, then bottom moves", iptsScaleMinMax, ipafsNone, 0, -40000, 80000,
         {{45000, -40000, 85000}, {-50000, -50000, 85000}}},
        {"auto first alignment outside the range", iptsScaleMinMax, ipafsAuto, 0, 0, 100, {{120, 120, 100}}},
        {"auto first alignment inside the range, then no more alignment", iptsScaleMinMax, ipafsAuto, 0, 0, 100,
         {{50, 0, 100}, {150, 0, 150}}},
        {"first alignment at Min", iptsScaleMax, ipafsMin, 0, 0, 100, {{30, 30, 100}}},
        {"first alignment at Max", iptsScaleMax, ipafsMax, 0, 0, 100, {{30, -70, 100}}},
        {"no first alignment", iptsScaleMinMax, ipafsNone, 0, 0, 100, {{500, 0, 500}}},
        {"scroll page: one page however far, one page back", iptsScrollPage, ipafsNone, 0, 0, 100,
         {{250, 100, 100}, {150, 100, 100}, {50, 0, 100}}},
        {"compress: widen past the limit, then scroll at or one step above it", iptsScrollSmooth, ipafsNone, 1000,
         0, 100,
         {{200, 0, 200},
          {600, 0, 600},
          {1000, 0, 1000},
          {1200, 0, 1200},
          {1400, 400, 1000},
          {1600, 400, 1200},
          {1800, 800, 1000}}},
        {"scale max ignores values below", iptsScaleMax, ipafsNone, 0, 0, 100, {{150, 0, 150}, {-50, 0, 150}}},
        {"scale min ignores values above", iptsScaleMin, ipafsNone, 0, 0, 100, {{-50, -50, 100}, {150, -50, 100}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        AxisRig rig;
        TPlotAxis& axis = rig.X();
        axis.SetTrackingStyle(row.style);
        axis.SetTrackingAlignFirstStyle(row.alignFirst);
        axis.SetTrackingScrollCompressMax(row.compressMax);
        axis.SetMinSpan(row.min, row.span);
        for (const Step& step : row.steps) {
            SCOPED_TRACE("value " + Text(step.value));
            axis.NewTrackingData(step.value);
            EXPECT_EQ(axis.GetMin(), step.min);
            EXPECT_EQ(axis.GetSpan(), step.span);
        }
    }
}

TEST(PlotAxisTracking, FirstAlignmentWaitsForResetAndPausedAxesIgnoreData) {
    AxisRig rig;
    TPlotAxis& axis = rig.X();  // iptsScaleMinMax, ipafsAuto
    axis.SetTrackingEnabled(false);
    axis.NewTrackingData(1000);
    EXPECT_EQ(axis.GetMin(), 0);
    EXPECT_FALSE(axis.GetFirstAlignDone());

    axis.SetTrackingEnabled(true);
    axis.NewTrackingData(1000);
    EXPECT_TRUE(axis.GetFirstAlignDone());
    EXPECT_EQ(axis.GetMin(), 1000);
    axis.NewTrackingData(5000);  // no alignment any more: the top extends
    EXPECT_EQ(axis.GetMin(), 1000);
    EXPECT_EQ(axis.GetSpan(), 4000);

    axis.ResetFirstAlign();
    axis.NewTrackingData(-7);
    EXPECT_EQ(axis.GetMin(), -7);
    EXPECT_EQ(axis.GetSpan(), 4000);
}

TEST(PlotAxisTracking, PauseAndResumeRestoreTheRangeOnlyWhenAsked) {
    for (bool restore : {true, false}) {
        SCOPED_TRACE(restore ? "RestoreValuesOnResume" : "no restore");
        AxisRig rig;
        TPlotAxis& axis = rig.X();
        axis.SetRestoreValuesOnResume(restore);
        axis.SetLabelsMinLength(8);

        axis.SetTrackingEnabled(false);
        axis.Zoom(0.5);  // the user zooms while paused
        axis.SetLabelsMinLength(12);
        axis.SetTrackingEnabled(true);

        EXPECT_EQ(axis.GetMin(), restore ? 0 : 25);
        EXPECT_EQ(axis.GetSpan(), restore ? 100 : 50);
        EXPECT_EQ(axis.GetLabelsMinLength(), restore ? 8 : 12);
    }
}

// ---- Zoom and scroll ---------------------------------------------------------------------

TEST(PlotAxisZoom, FactorScalesTheSpanAboutTheCentre) {
    struct Row {
        TPlotScaleType scale;
        double min, span, factor, newMin, newSpan;
    } rows[] = {
        {ipstLinear, 0, 100, 2, -50, 200},
        {ipstLinear, 0, 100, 0.5, 25, 50},
        {ipstLog10, 10, 90, 1, 1, 900},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("factor " + Text(row.factor));
        AxisRig rig;
        rig.X().SetScaleType(row.scale);
        rig.X().SetMinSpan(row.min, row.span);
        rig.X().Zoom(row.factor);
        EXPECT_DOUBLE_EQ(rig.X().GetMin(), row.newMin);
        EXPECT_DOUBLE_EQ(rig.X().GetSpan(), row.newSpan);
    }
}

TEST(PlotAxisZoom, NonPositiveLinearFactorFailsAndLeavesTheAxis) {
    for (double factor : {0.0, -1.0, std::nan("")}) {
        SCOPED_TRACE(Text(factor));
        AxisRig rig;
        EXPECT_EQ(ErrorOf([&] { rig.X().Zoom(factor); }), "Linear Scale Zoom Factor must be Greater than Zero");
        EXPECT_EQ(rig.X().GetMin(), 0);
        EXPECT_EQ(rig.X().GetSpan(), 100);
        EXPECT_TRUE(rig.events.empty());
    }
}

TEST(PlotAxisScroll, ScrollLimitsKeepTheRangeInside) {
    struct Row {
        double min;
        double percent;
        double newMin;
    } rows[] = {
        {30000, -1, 20},          {100000, -0.5, 75000},   {20, -0.01, 20},
        {1440000, 1, 1450000},    {1000000, 0.5, 1025000}, {1450000, 0.01, 1450000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Text(row.min) + " by " + Text(row.percent));
        AxisRig rig;
        TPlotAxis& axis = rig.X();
        axis.SetScrollMinMaxEnabled(true);
        axis.SetScrollMin(20);
        axis.SetScrollMax(1500000);
        axis.SetMinSpan(row.min, 50000);
        axis.ScrollPercentByReference(axis.GetMin(), axis.GetSpan(), axis.GetMax(), row.percent);
        EXPECT_EQ(axis.GetMin(), row.newMin);
        EXPECT_EQ(axis.GetSpan(), 50000);
    }
}

TEST(PlotAxisScroll, LogScaleScrollsByDecades) {
    AxisRig rig;
    TPlotAxis& axis = rig.X();
    axis.SetScaleType(ipstLog10);
    axis.SetMinSpan(1, 9);  // 1 .. 10
    axis.ScrollPercentByReference(1, 9, 10, 1);
    EXPECT_DOUBLE_EQ(axis.GetMin(), 10);
    EXPECT_DOUBLE_EQ(axis.GetSpan(), 90);
}

TEST(PlotAxisZoom, ZoomRectTakesTheEdgesAlongTheAxis) {
    struct Row {
        const char* what;
        bool horizontal;
        bool reverse;
        double newMin;
        double newSpan;
    } rows[] = {
        {"horizontal", true, false, 20, 40},
        {"horizontal reversed", true, true, 40, 40},
        {"vertical", false, false, 40, 40},
        {"vertical reversed", false, true, 20, 40},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        AxisRig rig;
        TPlotAxis& axis = row.horizontal ? rig.X() : rig.Y();
        axis.SetReverseScale(row.reverse);
        Place(axis, row.horizontal ? TPlotRect{0, 0, 500, 20} : TPlotRect{0, 0, 20, 500});
        axis.ZoomRect({100, 100, 300, 300});
        EXPECT_DOUBLE_EQ(axis.GetMin(), row.newMin);
        EXPECT_DOUBLE_EQ(axis.GetSpan(), row.newSpan);
    }
}

// ---- Fits --------------------------------------------------------------------------------

class PlotAxisFit : public ::testing::Test {
protected:
    PlotAxisFit() {
        plot.SetChannelClass(&CreateChannel<FixedExtentChannel>);
        plot.AddXAxis();
        plot.AddYAxis();
        plot.AddYAxis();
        plot.AddChannel();
        plot.AddChannel();
        plot.AddChannel();
    }
    FixedExtentChannel& Channel(int index) { return dynamic_cast<FixedExtentChannel&>(*plot.GetChannel(index)); }
    TPlotAxis& Y() { return *plot.GetYAxis(0); }

    TPlotComponent plot;
};

TEST_F(PlotAxisFit, ZoomToFitSpansTheVisibleChannelsOfTheAxis) {
    Channel(0).SetExtents(1, 2, -5, 20);
    Channel(1).SetExtents(3, 4, 10, 30);
    Channel(2).SetExtents(5, 6, -1000, 1000);
    Channel(2).SetVisible(false);
    Channel(1).SetYAxisName("y-AXIS 1");  // names match ignoring case
    Y().ZoomToFit();
    EXPECT_EQ(Y().GetMin(), -5);
    EXPECT_EQ(Y().GetSpan(), 35);

    Channel(0).SetYAxisName(plot.GetYAxis(1)->GetName());
    plot.GetXAxis(0)->ZoomToFit();
    EXPECT_EQ(plot.GetXAxis(0)->GetMin(), 1);
    EXPECT_EQ(plot.GetXAxis(0)->GetSpan(), 3);
    Y().ZoomToFit();
    EXPECT_EQ(Y().GetMin(), 10);
    EXPECT_EQ(Y().GetSpan(), 20);
}

TEST_F(PlotAxisFit, NothingToFitLeavesTheAxis) {
    Y().ZoomToFit();  // channels with no data
    Channel(0).SetExtents(7, 7, 7, 7);
    Y().ZoomToFit();  // a single value
    TPlotComponent empty;
    empty.AddYAxis();
    empty.GetYAxis(0)->ZoomToFit();  // no channels at all
    EXPECT_EQ(Y().GetMin(), 0);
    EXPECT_EQ(Y().GetSpan(), 100);
    EXPECT_EQ(empty.GetYAxis(0)->GetSpan(), 100);
}

TEST_F(PlotAxisFit, ExpandCollapseStylesFitInsteadOfFollowingTheValue) {
    Channel(0).SetExtents(0, 0, -5, 20);
    Y().SetTrackingStyle(iptsExpandCollapse);
    Y().NewTrackingData(999);
    EXPECT_EQ(Y().GetMin(), -5);
    EXPECT_EQ(Y().GetSpan(), 25);

    // The fast style reads the running statistics, which these channels never filled.
    Y().SetTrackingStyle(iptsExpandCollapseFast);
    Channel(0).SetExtents(0, 0, -50, 50);
    Y().NewTrackingData(999);
    EXPECT_EQ(Y().GetMin(), -5);
}

TEST(PlotAxisFitFast, UsesTheRunningStatisticsOfHiddenChannelsToo) {
    TPlot plot;
    TPlotChannel& channel = *plot.GetChannel(0);
    channel.AddXY(10, 5);
    channel.AddXY(30, -2);
    channel.SetVisible(false);
    TPlotAxis& x = *plot.GetXAxis(0);
    TPlotAxis& y = *plot.GetYAxis(0);
    x.SetMinSpan(0, 100);
    x.ZoomToFit();  // hidden: nothing to fit
    EXPECT_EQ(x.GetMin(), 0);
    x.ZoomToFitFast();
    y.ZoomToFitFast();
    EXPECT_EQ(x.GetMin(), 10);
    EXPECT_EQ(x.GetSpan(), 20);
    EXPECT_EQ(y.GetMin(), -2);
    EXPECT_EQ(y.GetSpan(), 7);
}

// ---- Mapping -----------------------------------------------------------------------------

TEST(PlotAxisMapping, LinearPixelsRoundHalfToEvenAndClampAt32000) {
    AxisRig rig;
    TPlotAxis& axis = rig.Y();
    Place(axis, {0, 0, 20, 100});  // one pixel per unit, value 0 at pixel 100
    ASSERT_EQ(axis.GetPixelsPerUnit(), 1);
    struct Row {
        double value;
        int pixel;
    } rows[] = {
        {0.5, 100},      {1.5, 98},       {2.5, 98},     {3.5, 96},       {-0.5, 100}, {-1.5, 102},
        {0.49, 100},     {0.51, 99},      {99.5, 0},     {32100, -32000}, {-31900, 32000}, {-31901, 32000},
        {1e300, -32000}, {-1e300, 32000},
    };
    for (const Row& row : rows) EXPECT_EQ(axis.PositionToPixels(row.value), row.pixel) << "value " << row.value;
}

TEST(PlotAxisMapping, SpanAtItsFloorMapsEveryValueToTheMiddlePixel) {
    AxisRig rig;
    Place(rig.X(), {100, 0, 701, 20});
    rig.X().SetSpan(0);
    EXPECT_EQ(rig.X().GetSpan(), 1e-300);
    for (double value : {-1e9, 0.0, 1e-300, 55.0, 1e9}) EXPECT_EQ(rig.X().PositionToPixels(value), 400) << value;
}

TEST(PlotAxisMapping, ScaleWithoutLengthMapsToItsPixelAndBackToMin) {
    AxisRig rig;
    rig.X().SetMin(42);
    Place(rig.X(), {5, 5, 5, 25});
    EXPECT_EQ(rig.X().PositionToPixels(1000), 5);
    EXPECT_EQ(rig.X().PixelsToPosition(300), 42);
    EXPECT_EQ(rig.X().PixelsToPositionDouble(-3.5), 42);
}

TEST(PlotAxisMapping, Log10MapsDecadesToEqualLengths) {
    AxisRig rig;
    TPlotAxis& axis = rig.X();
    axis.SetScaleType(ipstLog10);
    axis.SetMinSpan(1, 999);  // 1 .. 1000
    Place(axis, {0, 0, 300, 20});
    struct Row {
        double value;
        int pixel;
    } rows[] = {{1, 0}, {10, 100}, {100, 200}, {1000, 300}, {std::sqrt(1000.0), 150}, {0, 0}, {-5, 0}, {1e6, 600}};
    for (const Row& row : rows) EXPECT_EQ(axis.PositionToPixels(row.value), row.pixel) << "value " << row.value;
    EXPECT_DOUBLE_EQ(axis.PixelsToPosition(100), 10);
    EXPECT_NEAR(axis.PixelsToPositionDouble(250), std::pow(10.0, 2.5), 1e-9);
    EXPECT_DOUBLE_EQ(axis.PositionToPercent(100), 2.0 / 3);
}

TEST(PlotAxisMapping, PixelsAndValuesAreInverseInEveryOrientation) {
    struct Row {
        const char* what;
        bool horizontal;
        bool reverse;
        int pixelOfMin;
        int pixelOfMax;
    } rows[] = {
        {"horizontal", true, false, 100, 600},
        {"horizontal reversed", true, true, 600, 100},
        {"vertical", false, false, 600, 100},
        {"vertical reversed", false, true, 100, 600},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        AxisRig rig;
        TPlotAxis& axis = row.horizontal ? rig.X() : rig.Y();
        axis.SetReverseScale(row.reverse);
        axis.SetMinSpan(0, 50000);
        Place(axis, row.horizontal ? TPlotRect{100, 0, 600, 20} : TPlotRect{0, 100, 20, 600});

        EXPECT_EQ(axis.GetMinPixels(), row.pixelOfMin);
        EXPECT_EQ(axis.GetMaxPixels(), row.pixelOfMax);
        EXPECT_EQ(axis.GetSpanLength(), 500);
        EXPECT_EQ(axis.PositionToPixels(0), row.pixelOfMin);
        EXPECT_EQ(axis.PositionToPixels(50000), row.pixelOfMax);
        EXPECT_EQ(axis.PixelsToPosition(row.pixelOfMin), 0);
        EXPECT_EQ(axis.PixelsToPosition(row.pixelOfMax), 50000);
        EXPECT_EQ(axis.PixelsToPosition((row.pixelOfMin + row.pixelOfMax) / 2), 25000);
        for (int pixel = 50; pixel <= 600; ++pixel) {
            ASSERT_EQ(axis.PositionToPixels(axis.PixelsToPosition(pixel)), pixel);
        }

        // Percent runs from the left or bottom end, whichever end Min is at.
        EXPECT_DOUBLE_EQ(axis.PositionToPercent(10000), row.reverse ? 0.8 : 0.2);
        EXPECT_DOUBLE_EQ(axis.PercentToPosition(0.2), row.reverse ? 40000 : 10000);
        EXPECT_EQ(axis.WidthToPixels(10000), 100);
        EXPECT_TRUE(axis.PointOnScale(50000));
        EXPECT_FALSE(axis.ValueOnScale(50200));
        EXPECT_FALSE(axis.PointOnScale(-200));
    }
}

// ---- Scale geometry ----------------------------------------------------------------------

TEST(PlotAxisGeometry, ScaleRectMovesInAtStackedEndsByTheLabelRoom) {
    enum Labels { Plain, Rotated, Hidden, Cartesian };
    struct Row {
        const char* what;
        bool horizontal;
        bool reverse;
        bool startStacked;
        bool stopStacked;
        bool reverseSide;
        Labels labels;
        TPlotRect scale;
        int minPixel;
        int maxPixel;
        TPlotRect hit;
        TPlotAxisLabelSide side;
    } rows[] = {
        // Vertical, draw rectangle {10, 20, 60, 420}: c = (14 + round(13 * 0.5)) div 2 = 10,
        // rotated (45 + 6) div 2 = 25.
        {"vertical", false, false, false, false, false, Plain, {10, 20, 60, 420}, 420, 20, {8, 20, 62, 420},
         TPlotAxisLabelSide::VerticalLeft},
        {"vertical reversed, right side", false, true, false, false, true, Plain, {10, 20, 60, 420}, 20, 420,
         {8, 20, 62, 420}, TPlotAxisLabelSide::VerticalRight},
        {"vertical start-stacked", false, false, true, false, false, Plain, {10, 20, 60, 410}, 410, 20,
         {8, 20, 62, 420}, TPlotAxisLabelSide::VerticalLeft},
        {"vertical stop-stacked", false, false, false, true, false, Plain, {10, 30, 60, 420}, 420, 30,
         {8, 20, 62, 420}, TPlotAxisLabelSide::VerticalLeft},
        {"vertical both stacked, rotated labels", false, false, true, true, false, Rotated, {10, 45, 60, 395}, 395,
         45, {8, 20, 62, 420}, TPlotAxisLabelSide::VerticalLeft},
        {"vertical Cartesian", false, false, true, true, false, Cartesian, {10, 20, 60, 420}, 420, 20,
         {8, 20, 62, 420}, TPlotAxisLabelSide::VerticalRight},
        // Horizontal, draw rectangle {100, 300, 600, 340}: c = round(45 / 2) + round(5 * 0.5) =
        // 22 + 2 (ties to even), rotated round(14 / 2) + 2, hidden 0 + 2.
        {"horizontal", true, false, false, false, false, Plain, {100, 300, 600, 340}, 100, 600,
         {100, 298, 600, 342}, TPlotAxisLabelSide::HorizontalBelow},
        {"horizontal reversed, above", true, true, false, false, true, Plain, {100, 300, 600, 340}, 600, 100,
         {100, 298, 600, 342}, TPlotAxisLabelSide::HorizontalAbove},
        {"horizontal both stacked", true, false, true, true, false, Plain, {124, 300, 576, 340}, 124, 576,
         {100, 298, 600, 342}, TPlotAxisLabelSide::HorizontalBelow},
        {"horizontal both stacked, reversed", true, true, true, true, false, Plain, {124, 300, 576, 340}, 576, 124,
         {100, 298, 600, 342}, TPlotAxisLabelSide::HorizontalBelow},
        {"horizontal start-stacked, hidden labels", true, false, true, false, false, Hidden, {102, 300, 600, 340},
         102, 600, {100, 298, 600, 342}, TPlotAxisLabelSide::HorizontalBelow},
        {"horizontal stop-stacked, rotated labels", true, false, false, true, false, Rotated, {100, 300, 591, 340},
         100, 591, {100, 298, 600, 342}, TPlotAxisLabelSide::HorizontalBelow},
        {"horizontal Cartesian", true, false, true, true, true, Cartesian, {100, 300, 600, 340}, 100, 600,
         {100, 298, 600, 342}, TPlotAxisLabelSide::HorizontalBelow},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        AxisRig rig;
        TPlotAxis& axis = row.horizontal ? rig.X() : rig.Y();
        axis.SetReverseScale(row.reverse);
        axis.SetStartStacked(row.startStacked);
        axis.SetStopStacked(row.stopStacked);
        axis.SetReverseSide(row.reverseSide);
        axis.SetDrawRect(row.horizontal ? TPlotRect{100, 300, 600, 340} : TPlotRect{10, 20, 60, 420});
        TPlotAxisLabelMetrics metrics;
        metrics.MinLabelHeight = 14;
        metrics.RequiredLabelLength = 45;
        metrics.ZeroWidth = 5;
        metrics.ZeroHeight = 13;
        metrics.LabelsRotated = row.labels == Rotated;
        metrics.LabelsVisible = row.labels != Hidden;
        metrics.Cartesian = row.labels == Cartesian;
        axis.CalcScaleRect(metrics);

        EXPECT_EQ(axis.GetScaleRect(), row.scale);
        EXPECT_EQ(axis.GetMinPixels(), row.minPixel);
        EXPECT_EQ(axis.GetMaxPixels(), row.maxPixel);
        EXPECT_DOUBLE_EQ(axis.GetPixelsPerUnit(), (row.minPixel - row.maxPixel) / 100.0);
        EXPECT_EQ(axis.GetHitRect(), row.hit);
        EXPECT_EQ(axis.GetLabelSide(), row.side);
    }
}

// ---- Mouse and keys ----------------------------------------------------------------------

// An X axis 0..100 over pixels 0..500 and a Y axis 0..100 over pixels 500..0: 50 pixels are
// 10 units.
struct InputRig : AxisRig {
    InputRig() {
        Place(X(), {0, 0, 500, 20});
        Place(Y(), {0, 0, 20, 500});
        plot.OnClickXAxis = [this](int index) { clicks.push_back(plot.GetXAxis(index)->GetName()); };
        plot.OnClickYAxis = [this](int index) { clicks.push_back(plot.GetYAxis(index)->GetName()); };
    }
    std::vector<std::string> clicks;
};

TEST(PlotAxisMouse, DragScrollsWithTheMouseOrZoomsAndStopsTracking) {
    const double zoomedSpan = 100 / std::pow(10.0, 0.1 / 4);
    struct Row {
        const char* what;
        bool horizontal;
        bool reverse;
        TPlotAxisMode mode;
        TShiftState shift;
        int from;
        int to;
        double min;
        double span;
    } rows[] = {
        {"horizontal, right", true, false, ipamScroll, 0, 200, 250, -10, 100},
        {"horizontal reversed", true, true, ipamScroll, 0, 200, 250, 10, 100},
        {"vertical, up", false, false, ipamScroll, 0, 300, 250, -10, 100},
        {"vertical reversed", false, true, ipamScroll, 0, 300, 250, 10, 100},
        {"Ctrl turns scroll into zoom", true, false, ipamScroll, ssCtrl, 200, 250, 50 - zoomedSpan / 2, zoomedSpan},
        {"zoom mode", true, false, ipamZoom, 0, 200, 250, 50 - zoomedSpan / 2, zoomedSpan},
        {"Ctrl turns zoom into scroll", true, false, ipamZoom, ssCtrl, 200, 250, -10, 100},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        InputRig rig;
        TPlotAxis& axis = row.horizontal ? rig.X() : rig.Y();
        axis.SetReverseScale(row.reverse);
        Place(axis, axis.GetDrawRect());
        axis.SetMode(row.mode);
        auto at = [&](int along) { return row.horizontal ? Mouse(along, 10, row.shift) : Mouse(10, along, row.shift); };
        axis.DoMouseLeft(at(row.from));
        axis.DoMouseMove(at(row.to));
        EXPECT_DOUBLE_EQ(axis.GetMin(), row.min);
        EXPECT_DOUBLE_EQ(axis.GetSpan(), row.span);
        EXPECT_FALSE(axis.GetTrackingEnabled());
    }
}

TEST(PlotAxisMouse, MovesCountFromTheLastPositionAndOnlyWhilePressed) {
    InputRig rig;
    TPlotAxis& axis = rig.X();
    axis.DoMouseMove(Mouse(300, 10));  // not pressed
    EXPECT_EQ(axis.GetMin(), 0);
    EXPECT_TRUE(axis.GetTrackingEnabled());

    axis.DoMouseLeft(Mouse(200, 10));
    axis.DoMouseMove(Mouse(300, 10, 0, true));  // part of a double click
    EXPECT_EQ(axis.GetMin(), 0);
    EXPECT_TRUE(axis.GetTrackingEnabled());
    axis.DoMouseMove(Mouse(250, 10));
    axis.DoMouseMove(Mouse(300, 10));
    EXPECT_DOUBLE_EQ(axis.GetMin(), -20);  // 200 -> 300 in all; the double-click move did not count
    axis.DoMouseUp(Mouse(300, 10));
    axis.DoMouseMove(Mouse(400, 10));
    EXPECT_DOUBLE_EQ(axis.GetMin(), -20);
}

TEST(PlotAxisMouse, ReleaseOverTheAxisAfterAPressIsAClick) {
    InputRig rig;
    TPlotAxis& axis = rig.X();  // hit rectangle {0, -2, 500, 22}
    axis.DoMouseUp(Mouse(100, 10));  // no press
    axis.DoMouseLeft(Mouse(100, 10));
    axis.DoMouseUp(Mouse(100, 100));  // released elsewhere
    axis.DoMouseLeft(Mouse(100, 10));
    axis.DoMouseUp(Mouse(120, 21));
    EXPECT_EQ(rig.clicks, std::vector<std::string>{"X-Axis 1"});
    EXPECT_TRUE(axis.iMouseHitTest(Mouse(499, -2)));
    EXPECT_FALSE(axis.iMouseHitTest(Mouse(500, 10)));
}

TEST(PlotAxisMouse, MasterInputIsHandedOverFirstAndOnlyWhenAsked) {
    InputRig rig;
    TPlotAxis& axis = rig.X();
    std::vector<std::string> heard;
    auto mouseHook = [&](const char* what) {
        return [&heard, what](TPlotAxis& source, const TPlotMouseData&) {
            heard.push_back(std::string(what) + " at min " + Text(source.GetMin()));
        };
    };
    axis.MasterAxisHooks.MouseLeft = mouseHook("left");
    axis.MasterAxisHooks.MouseMove = mouseHook("move");
    axis.MasterAxisHooks.MouseUp = mouseHook("up");
    axis.MasterAxisHooks.KeyDown = [&](TPlotAxis& source, int& key, TShiftState) {
        heard.push_back("key " + std::to_string(key) + " at min " + Text(source.GetMin()));
    };
    int key = 33;
    axis.DoMouseLeft(Mouse(200, 10));
    axis.DoMouseUp(Mouse(200, 10));
    axis.iKeyDown(key, 0);
    EXPECT_TRUE(heard.empty());

    axis.SetMasterUIInput(true);
    axis.DoMouseLeft(Mouse(200, 10));
    axis.DoMouseMove(Mouse(250, 10));
    axis.DoMouseUp(Mouse(250, 10));
    axis.iKeyDown(key, 0);
    EXPECT_EQ(heard, (std::vector<std::string>{"left at min 100", "move at min 100", "up at min 90",
                                               "key 33 at min 90"}));
}

TEST(PlotAxisMouse, WheelScrollsFivePercentOrZoomsPerNotch) {
    const double linearZoom = std::pow(10.0, 0.025);
    struct Row {
        const char* what;
        TPlotAxisMode mode;
        TShiftState shift;
        int delta;
        double min;
        double span;
    } rows[] = {
        {"scroll up", ipamScroll, 0, 120, 5, 100},
        {"scroll down, any size", ipamScroll, 0, -1, -5, 100},
        {"zoom in", ipamZoom, 0, 120, 50 - 50 / linearZoom, 100 / linearZoom},
        {"zoom out", ipamZoom, 0, -120, 50 - 50 * linearZoom, 100 * linearZoom},
        {"Ctrl zooms in scroll mode", ipamScroll, ssCtrl, 240, 50 - 50 / linearZoom, 100 / linearZoom},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        InputRig rig;
        rig.X().SetMode(row.mode);
        EXPECT_TRUE(rig.X().iMouseWheel(row.delta, row.shift, 100, 10));
        EXPECT_DOUBLE_EQ(rig.X().GetMin(), row.min);
        EXPECT_DOUBLE_EQ(rig.X().GetSpan(), row.span);
        EXPECT_FALSE(rig.X().GetTrackingEnabled());
    }

    InputRig rig;
    EXPECT_FALSE(rig.X().iMouseWheel(0, 0, 100, 10));
    EXPECT_TRUE(rig.X().GetTrackingEnabled());

    rig.X().SetScaleType(ipstLog10);
    rig.X().SetMinSpan(10, 90);
    rig.X().SetMode(ipamZoom);
    rig.X().iMouseWheel(120, 0, 100, 10);
    EXPECT_DOUBLE_EQ(rig.X().GetMin(), 10 * std::pow(10.0, 0.05));
    EXPECT_DOUBLE_EQ(rig.X().GetSpan(), 90 / std::pow(10.0, 0.05));
}

TEST(PlotAxisKeys, PagesHomeEndAndArrowsScrollOrZoomByMode) {
    const double arrowZoom = std::pow(10.0, 0.01);
    struct Row {
        int key;
        TPlotAxisMode mode;
        TShiftState shift;
        double min;
        double span;
    } rows[] = {
        {33, ipamScroll, 0, 100, 100},   {35, ipamScroll, 0, 100, 100},  {34, ipamScroll, 0, -100, 100},
        {36, ipamScroll, 0, -100, 100},  {38, ipamScroll, 0, 1, 100},    {39, ipamScroll, 0, 1, 100},
        {37, ipamScroll, 0, -1, 100},    {40, ipamScroll, 0, -1, 100},   {65, ipamScroll, 0, 0, 100},
        {33, ipamScroll, ssCtrl, 100, 100},  // Ctrl does not invert the keys
        {33, ipamZoom, 0, 45, 10},       {34, ipamZoom, 0, -450, 1000},
        {38, ipamZoom, 0, 50 - 50 / arrowZoom, 100 / arrowZoom},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("key " + std::to_string(row.key) + (row.mode == ipamZoom ? " zoom" : " scroll"));
        InputRig rig;
        rig.X().SetMode(row.mode);
        int key = row.key;
        rig.X().iKeyDown(key, row.shift);
        EXPECT_DOUBLE_EQ(rig.X().GetMin(), row.min);
        EXPECT_DOUBLE_EQ(rig.X().GetSpan(), row.span);
        EXPECT_FALSE(rig.X().GetTrackingEnabled());
    }
}

TEST(PlotAxisMouse, PointerShowsTheActualModeAlongTheAxis) {
    InputRig rig;
    EXPECT_EQ(rig.X().GetMousePointer(0, 0), crHandPoint);
    rig.X().SetShiftState(ssCtrl);
    EXPECT_EQ(rig.X().GetMousePointer(0, 0), crSizeWE);
    rig.Y().SetMode(ipamZoom);
    EXPECT_EQ(rig.Y().GetMousePointer(0, 0), crSizeNS);
    EXPECT_EQ(rig.Y().GetActualMode(), ipamZoom);
}

TEST(PlotAxisMouse, HiddenTitleIsTheHint) {
    InputRig rig;
    THintData hint;
    rig.X().DoMouseHint(Mouse(120, 40), hint);
    EXPECT_EQ(hint.Text, "X-Axis 1");
    EXPECT_EQ(hint.Left, 120);
    EXPECT_EQ(hint.Top, 20);

    THintData none;
    rig.X().SetTitleShow(true);
    rig.X().DoMouseHint(Mouse(120, 40), none);
    EXPECT_EQ(none.Text, "");
}
