// The plot layout: side lists, band bookkeeping as objects come and go, and the layout pass on
// the scope's own plot with fixed text metrics, so that every rectangle is exact.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plot/axes/PlotAxis.h"
#include "plot/component/PlotLayoutManager.h"
#include "plot/core/PlotValueText.h"
#include "plot/views/PlotDataView.h"
#include "plot/views/PlotLabel.h"
#include "plot/views/PlotLegend.h"
#include "plot/views/PlotToolBar.h"
#include "workbench/ScopePlotConfiguration.h"

using namespace ondrix;

namespace {

// Every character 7 px wide and 13 px high, whatever the font.
class FixedMetrics : public TPlotTextMeasure {
public:
    int TextWidth(const std::string& text, const TPlotFont&) const override { return 7 * PlotTextLength(text); }
    int TextHeight(const std::string&, const TPlotFont&) const override { return 13; }
};

// With these metrics a scope Y axis (labels up to "40000", LabelsMinLength 5, no title) is
// 5 inner + 7 tick + round(13 * 0.25) label gap + 35 label + 5 outer = 55 px wide and keeps
// half a label height, 6 px, beyond each end; the X axis is 5 + 7 + 3 + 13 + 5 = 33 px thick
// and keeps half its 8-digit minimum label, 28 px, beyond each end.
constexpr int kYAxisWidth = 55;
constexpr int kXAxisWidth = 33;
constexpr int kYGuard = 6;
constexpr int kXGuard = 28;

struct ScopeLayout : ::testing::Test {
    void SetUp() override { ConfigureScopePlot(plot); }

    TPlotLayoutManager& layout() { return *plot.GetLayoutManager(); }
    TPlotYAxis& yAxis(const char* name) { return *plot.GetYAxisByName(name); }
    void Run() { layout().CalcLayout(metrics, frame); }
    TPlotRect DataViewRect() const { return plot.GetDataView(0)->GetDrawRect(); }

    TPlot plot;
    FixedMetrics metrics;
    TPlotLayoutFrame frame{1024, 660, 0, 5, 5, 5, 5};
};

std::vector<std::string> Names(const TPlotLayoutList& list) {
    std::vector<std::string> names;
    for (const TPlotLayoutObject* obj : list) names.push_back(obj->GetName());
    return names;
}

}  // namespace

TEST_F(ScopeLayout, MeasuresTheAxesAsTheFixedMetricsPredict) {
    EXPECT_EQ(yAxis("Ch1YAxis").GetRequiredWidth(metrics), kYAxisWidth);
    EXPECT_EQ(yAxis("Ch1YAxis").GetRequiredLengthGaurd(metrics), kYGuard);
    EXPECT_EQ(plot.GetXAxis(0)->GetRequiredWidth(metrics), kXAxisWidth);
    EXPECT_EQ(plot.GetXAxis(0)->GetRequiredLengthGaurd(metrics), kXGuard);
}

TEST_F(ScopeLayout, SortsTheStoredBandsIntoSides) {
    EXPECT_EQ(Names(layout().GetLeftList()),
              (std::vector<std::string>{"Ch4YAxis", "Ch3YAxis", "Ch2YAxis", "Ch1YAxis"}));
    EXPECT_EQ(Names(layout().GetRightList()), (std::vector<std::string>{"Legend 1"}));
    EXPECT_EQ(Names(layout().GetBelowList()), (std::vector<std::string>{"X-Axis 1"}));
    EXPECT_EQ(Names(layout().GetAboveList()), (std::vector<std::string>{"Title", "Toolbar 1"}));
    EXPECT_TRUE(plot.GetLegend(0)->GetReverseSide());
    EXPECT_FALSE(yAxis("Ch1YAxis").GetReverseSide());
}

// Shown Y axes close up towards the data view in the order 1, 2, 3, 4; hidden ones take no room.
TEST_F(ScopeLayout, ShownYAxesCloseUpTowardsTheDataView) {
    // Left of the data view: outer margin 5, then the bands; right of it only the X axis's end
    // guard; above it the Y axes' top guards; below it the X axis.
    const int right = 1024 - (kXGuard + 5) - 1;
    const int top = kYGuard + 5;
    const int bottom = 660 - (kXAxisWidth + 5) - 1;
    struct Case {
        std::vector<const char*> shown;
        std::vector<int> leftEdges;  // of the shown axes, in the order listed
    } cases[] = {
        {{"Ch1YAxis"}, {5}},
        {{"Ch1YAxis", "Ch2YAxis"}, {5 + kYAxisWidth, 5}},
        {{"Ch1YAxis", "Ch3YAxis"}, {5 + kYAxisWidth, 5}},
        {{"Ch1YAxis", "Ch2YAxis", "Ch3YAxis", "Ch4YAxis"},
         {5 + 3 * kYAxisWidth, 5 + 2 * kYAxisWidth, 5 + kYAxisWidth, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown.size());
        for (const char* name : {"Ch1YAxis", "Ch2YAxis", "Ch3YAxis", "Ch4YAxis"}) yAxis(name).SetVisible(false);
        for (const char* name : c.shown) yAxis(name).SetVisible(true);
        Run();
        const int left = 5 + static_cast<int>(c.shown.size()) * kYAxisWidth;
        for (std::size_t i = 0; i < c.shown.size(); ++i) {
            const int edge = c.leftEdges[i];
            EXPECT_EQ(yAxis(c.shown[i]).GetDrawRect(), (TPlotRect{edge, top, edge + kYAxisWidth, bottom}))
                << c.shown[i];
        }
        EXPECT_EQ(plot.GetXAxis(0)->GetDrawRect(), (TPlotRect{left, bottom, right, bottom + kXAxisWidth}));
        EXPECT_EQ(DataViewRect(), (TPlotRect{left, top, right, bottom}));
    }
}

TEST_F(ScopeLayout, TwoAxesOfOneBandShareItAndDropTheGuardsWhereTheyMeet) {
    TPlotYAxis& lower = yAxis("Ch1YAxis");
    TPlotYAxis& upper = yAxis("Ch2YAxis");
    // Extents first: moving between bands re-sorts the sides, a new extent alone does not.
    lower.SetStopPercent(50);
    upper.SetStartPercent(50);
    upper.SetVisible(true);
    upper.SetZOrder(3);
    upper.SetTitleShow(true);  // 13 px title and round(13 * 0.25) gap: the wider of the two
    frame.Height = 650;  // a data view 600 px high
    Run();

    const int wide = kYAxisWidth + 16;
    const int top = kYGuard + 5;
    const int bottom = top + 600;
    EXPECT_EQ(lower.GetDrawRect(), (TPlotRect{5, bottom - 300, 5 + wide, bottom}));
    EXPECT_EQ(upper.GetDrawRect(), (TPlotRect{5, top, 5 + wide, bottom - 300}));
    EXPECT_TRUE(lower.GetStopStacked());
    EXPECT_FALSE(lower.GetStartStacked());
    EXPECT_TRUE(upper.GetStartStacked());
    EXPECT_FALSE(upper.GetStopStacked());
    // Stacked ends need no guard: with only the shared ends stacked both outer guards remain;
    // with every end stacked (forced), no guard is kept at either end.
    const TPlotLayoutList left = TPlotLayoutManager::UpdateVisibleList(layout().GetLeftList());
    EXPECT_EQ(Names(left), (std::vector<std::string>{"Ch1YAxis", "Ch2YAxis"}));
    EXPECT_EQ(TPlotLayoutManager::GetMaxGaurd(metrics, left, true), kYGuard);
    EXPECT_EQ(TPlotLayoutManager::GetMaxGaurd(metrics, left, false), kYGuard);
    lower.SetForceStacking(true);
    upper.SetForceStacking(true);
    TPlotLayoutManager::UpdateStacking(left);
    EXPECT_TRUE(lower.GetStartStacked());
    EXPECT_TRUE(upper.GetStopStacked());
    EXPECT_EQ(TPlotLayoutManager::GetMaxGaurd(metrics, left, true), 0);
    EXPECT_EQ(TPlotLayoutManager::GetMaxGaurd(metrics, left, false), 0);
    EXPECT_EQ(TPlotLayoutManager::GetTotalRequiredWidth(metrics, left), wide);
}

TEST_F(ScopeLayout, SideListsOrderABandByStartAndPutEqualKeysLatestFirst) {
    yAxis("Ch2YAxis").SetZOrder(3);  // Ch1YAxis's band; Ch2YAxis was listed after it
    struct Case {
        double ch1Start, ch2Start;
        std::vector<std::string> band;
    } cases[] = {
        {0, 50, {"Ch1YAxis", "Ch2YAxis"}},
        {50, 0, {"Ch2YAxis", "Ch1YAxis"}},
        {0, 0, {"Ch2YAxis", "Ch1YAxis"}},
        {0.4, 0.2, {"Ch2YAxis", "Ch1YAxis"}},  // both round to the key of 0 %
        {49.5, 50.4, {"Ch2YAxis", "Ch1YAxis"}},  // 49.5 rounds to even: 50 as well
    };
    for (const Case& c : cases) {
        yAxis("Ch1YAxis").SetStartPercent(c.ch1Start);
        yAxis("Ch2YAxis").SetStartPercent(c.ch2Start);
        layout().DoLayoutChange();
        std::vector<std::string> expected{"Ch4YAxis", "Ch3YAxis"};
        expected.insert(expected.end(), c.band.begin(), c.band.end());
        EXPECT_EQ(Names(layout().GetLeftList()), expected) << c.ch1Start << " " << c.ch2Start;
    }
}

TEST_F(ScopeLayout, AToolBarAloneAboveSitsOnTheBorderAndKeepsTheTopGuard) {
    frame.Border = 2;
    plot.GetToolBar(0)->SetVisible(true);
    Run();
    // The band above is the toolbar's thickness, and the toolbar-only rule keeps the guard below
    // the toolbar.
    const int top = 36 + 2 + 5 + kYGuard;
    EXPECT_EQ(DataViewRect().Top, top);
    const TPlotRect& bar = plot.GetToolBar(0)->GetDrawRect();
    EXPECT_EQ(bar.Top, 2);
    EXPECT_EQ(bar.Bottom, 2 + plot.GetToolBar(0)->GetRequiredWidth(metrics));
    EXPECT_EQ(bar.Left, 2);
    EXPECT_EQ(bar.Right, 1021);

    // With the title above as well, the toolbar is no longer alone: no guard below the bands.
    plot.GetLabel(0)->SetVisible(true);
    Run();
    EXPECT_EQ(plot.GetLabel(0)->GetRequiredWidth(metrics), 13);
    EXPECT_EQ(DataViewRect().Top, 36 + 13 + 2 + 5);
}

TEST_F(ScopeLayout, AYAxisAddedAtRunTimeBecomesTheOutermostBand) {
    TPlotYAxis& added = *plot.GetYAxis(plot.AddYAxis());
    EXPECT_EQ(added.GetZOrder(), 0);
    EXPECT_EQ(yAxis("Ch1YAxis").GetZOrder(), 4);
    EXPECT_EQ(yAxis("Ch4YAxis").GetZOrder(), 1);
    EXPECT_EQ(plot.GetDataViewZVert(), 5);
    EXPECT_EQ(plot.GetLegend(0)->GetZOrder(), 6);
    EXPECT_EQ(plot.GetDataViewZHorz(), 1);  // the other orientation stays
    EXPECT_EQ(plot.GetXAxis(0)->GetZOrder(), 0);

    Run();
    EXPECT_EQ(added.GetDrawRect().Left, 5);
    EXPECT_EQ(added.GetDrawRect().Right, yAxis("Ch1YAxis").GetDrawRect().Left);
    EXPECT_EQ(yAxis("Ch1YAxis").GetDrawRect().Right, DataViewRect().Left);
}

TEST_F(ScopeLayout, DeletingTheOnlyObjectOfABandClosesIt) {
    plot.DeleteYAxis(plot.GetYAxisIndexByName("Ch2YAxis"));
    EXPECT_EQ(yAxis("Ch1YAxis").GetZOrder(), 2);
    EXPECT_EQ(yAxis("Ch3YAxis").GetZOrder(), 1);
    EXPECT_EQ(yAxis("Ch4YAxis").GetZOrder(), 0);
    EXPECT_EQ(plot.GetDataViewZVert(), 3);
    EXPECT_EQ(plot.GetLegend(0)->GetZOrder(), 4);
    EXPECT_EQ(Names(layout().GetLeftList()), (std::vector<std::string>{"Ch4YAxis", "Ch3YAxis", "Ch1YAxis"}));

    // A band still held by another object stays.
    yAxis("Ch3YAxis").SetZOrder(2);
    plot.DeleteYAxis(plot.GetYAxisIndexByName("Ch3YAxis"));
    EXPECT_EQ(yAxis("Ch1YAxis").GetZOrder(), 2);
    EXPECT_EQ(plot.GetDataViewZVert(), 3);
}

TEST_F(ScopeLayout, WithoutYAxesTheDataViewIsEmpty) {
    plot.RemoveAllYAxes();
    Run();
    EXPECT_GT(DataViewRect().Top, DataViewRect().Bottom);
}

// A vertical axis over 0..50 % of the data view: half its height rounds to even.
TEST_F(ScopeLayout, PercentPlacementRoundsHalvesToEven) {
    struct Case {
        int viewHeight;
        int halfHeight;
    } cases[] = {{101, 50}, {103, 52}, {100, 50}};
    yAxis("Ch1YAxis").SetStopPercent(50);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.viewHeight);
        frame.Height = c.viewHeight + (kYGuard + 5) + (kXAxisWidth + 5) + 1;
        Run();
        const int bottom = kYGuard + 5 + c.viewHeight;
        EXPECT_EQ(yAxis("Ch1YAxis").GetDrawRect().Bottom, bottom);
        EXPECT_EQ(yAxis("Ch1YAxis").GetDrawRect().Top, bottom - c.halfHeight);
    }
}

TEST_F(ScopeLayout, ReversingTheAxesTurnsThemAndFillsTheOtherSides) {
    plot.SetXYAxesReverse(true);
    EXPECT_FALSE(plot.GetXAxis(0)->GetHorizontal());
    for (const char* name : {"Ch1YAxis", "Ch2YAxis", "Ch3YAxis", "Ch4YAxis"}) EXPECT_TRUE(yAxis(name).GetHorizontal());
    EXPECT_EQ(Names(layout().GetLeftList()), (std::vector<std::string>{"X-Axis 1"}));
    EXPECT_EQ(layout().GetBelowList().size(), 4u);

    Run();
    // X axes now give the data view's height, Y axes its width.
    const TPlotRect view = DataViewRect();
    EXPECT_EQ(view.Top, plot.GetXAxis(0)->GetScaleRect().Top);
    EXPECT_EQ(view.Bottom, plot.GetXAxis(0)->GetScaleRect().Bottom);
    EXPECT_EQ(view.Left, yAxis("Ch1YAxis").GetScaleRect().Left);
    EXPECT_EQ(view.Right, yAxis("Ch1YAxis").GetScaleRect().Right);
}

TEST_F(ScopeLayout, CartesianAndAlignedAxesFollowTheDataView) {
    TPlotYAxis& master = yAxis("Ch2YAxis");
    master.SetCartesianStyle(ipcsMaster);
    TPlotYAxis& aligned = yAxis("Ch3YAxis");
    yAxis("Ch1YAxis").SetStopPercent(50);
    aligned.SetAlignRefAxisName("ch1yaxis");
    TPlotYAxis& orphan = yAxis("Ch4YAxis");
    orphan.SetCartesianStyle(ipcsChild);
    orphan.SetCartesianChildRefAxisName("nothing");
    Run();
    const TPlotRect view = plot.GetDataView(0)->GetDrawRect();
    const TPlotRect& ch1 = yAxis("Ch1YAxis").GetDrawRect();
    // The master crosses the middle of the first estimate, which the Y axes' scales span here.
    EXPECT_EQ(master.GetDrawRect().Left, (view.Left + view.Right) / 2);
    EXPECT_EQ(master.GetDrawRect().Right, master.GetDrawRect().Left);
    EXPECT_EQ(aligned.GetDrawRect().Top, ch1.Top);
    EXPECT_EQ(aligned.GetDrawRect().Bottom, ch1.Bottom);
    EXPECT_EQ(orphan.GetDrawRect(), TPlotRect{});
}

TEST_F(ScopeLayout, CollisionDetectionKeepsAxisItemsApartAndInsideTheDataView) {
    Run();
    const TPlotRect view = DataViewRect();
    TPlotLayoutManager& manager = layout();
    manager.ClearAxesCollisionList();
    const TPlotRect outside{0, 0, 10, 10};
    EXPECT_TRUE(manager.AddAxesCollisionDetectionItem(outside));  // the first is always taken
    const TPlotRect inside{view.Left + 10, view.Top + 10, view.Left + 20, view.Top + 20};
    struct Case {
        TPlotRect rect;
        bool taken;
    } cases[] = {
        {inside, true},
        {{inside.Left + 5, inside.Top + 5, inside.Right + 5, inside.Bottom + 5}, false},  // overlaps
        {{inside.Right, inside.Top, inside.Right + 10, inside.Bottom}, true},            // touches only
        {{view.Right - 5, view.Top + 10, view.Right + 5, view.Top + 20}, false},        // leaves the view
    };
    for (const Case& c : cases) EXPECT_EQ(manager.AddAxesCollisionDetectionItem(c.rect), c.taken);
    manager.ClearAxesCollisionList();
    manager.AddAxesCollisionItem(inside);
    EXPECT_FALSE(manager.AddAxesCollisionDetectionItem(inside));
}
