// The scope's plot as its configuration leaves it: every object and value the main window's
// table gives it, and nothing else.

#include <gtest/gtest.h>

#include "plot/PlotAxis.h"
#include "plot/PlotChannel.h"
#include "plot/PlotDataCursor.h"
#include "plot/PlotDataView.h"
#include "plot/PlotLabel.h"
#include "plot/PlotLegend.h"
#include "plot/PlotToolBar.h"
#include "workbench/ScopePlotConfiguration.h"

namespace ondrix {
namespace {

class ScopePlotConfiguration : public ::testing::Test {
protected:
    void SetUp() override { ConfigureScopePlot(plot); }
    TPlot plot;
};

TEST_F(ScopePlotConfiguration, PlotWideValues) {
    EXPECT_EQ(plot.GetDataViewZHorz(), 1);
    EXPECT_EQ(plot.GetDataViewZVert(), 4);
    EXPECT_FALSE(plot.GetUserCanEditObjects());
    EXPECT_FALSE(plot.GetTitleVisible());
    EXPECT_EQ(plot.GetTitleText(), "Ondrix");
    EXPECT_EQ(plot.GetDataFileColumnSeparator(), ipdfcsTab);
}

TEST_F(ScopePlotConfiguration, OneOfEachHelperObjectAllHidden) {
    ASSERT_EQ(plot.ToolBarCount(), 1);
    const TPlotToolBar& toolBar = *plot.GetToolBar(0);
    EXPECT_EQ(toolBar.GetName(), "Toolbar 1");
    EXPECT_FALSE(toolBar.GetVisible());
    EXPECT_FALSE(toolBar.GetEnabled());
    EXPECT_FALSE(toolBar.GetPopupEnabled());
    EXPECT_TRUE(toolBar.GetHorizontal());
    EXPECT_EQ(toolBar.GetZOrder(), 3);

    ASSERT_EQ(plot.LegendCount(), 1);
    const TPlotLegend& legend = *plot.GetLegend(0);
    EXPECT_EQ(legend.GetName(), "Legend 1");
    EXPECT_FALSE(legend.GetVisible());
    EXPECT_FALSE(legend.GetEnabled());
    EXPECT_FALSE(legend.GetPopupEnabled());
    EXPECT_EQ(legend.GetZOrder(), 5);

    ASSERT_EQ(plot.DataCursorCount(), 1);
    const TPlotDataCursor& cursor = *plot.GetDataCursor(0);
    EXPECT_EQ(cursor.GetName(), "Cursor 1");
    EXPECT_FALSE(cursor.GetVisible());
    EXPECT_FALSE(cursor.GetPopupEnabled());
    EXPECT_EQ(cursor.GetChannelName(), "<All>");

    ASSERT_EQ(plot.LabelCount(), 1);
    const TPlotLabel& title = *plot.GetLabel(0);
    EXPECT_EQ(title.GetName(), "Title");
    EXPECT_FALSE(title.GetVisible());
    EXPECT_EQ(title.GetZOrder(), 2);
    EXPECT_EQ(title.GetCaption(), "Ondrix");

    ASSERT_EQ(plot.DataViewCount(), 1);
    const TPlotDataView& view = *plot.GetDataView(0);
    EXPECT_EQ(view.GetName(), "Data View 1");
    EXPECT_EQ(view.GetGridXAxisName(), "<All>");
    EXPECT_EQ(view.GetGridYAxisName(), "<All>");
    EXPECT_FALSE(view.GetPopupEnabled());

    EXPECT_EQ(plot.TableCount(), 0);
    EXPECT_EQ(plot.LimitCount(), 0);
    EXPECT_EQ(plot.AnnotationCount(), 0);
}

TEST_F(ScopePlotConfiguration, XAxisScrollsOneScreenOfSamples) {
    ASSERT_EQ(plot.XAxisCount(), 1);
    const TPlotXAxis& x = *plot.GetXAxis(0);
    EXPECT_EQ(x.GetName(), "X-Axis 1");
    EXPECT_EQ(x.GetTitle(), "X-Axis1");
    EXPECT_EQ(x.GetMin(), 0);
    EXPECT_EQ(x.GetSpan(), 50000);
    EXPECT_EQ(x.GetTrackingStyle(), iptsScrollSmooth);
    EXPECT_EQ(x.GetTrackingAlignFirstStyle(), ipafsAuto);
    EXPECT_EQ(x.GetLabelsMinLength(), 8);
    EXPECT_FALSE(x.GetScrollMinMaxEnabled());
    EXPECT_EQ(x.GetScrollMin(), 20);
    EXPECT_EQ(x.GetScrollMax(), 1500000);
    EXPECT_FALSE(x.GetRestoreValuesOnResume());
    EXPECT_FALSE(x.GetPopupEnabled());
}

TEST_F(ScopePlotConfiguration, FourYAxesOnlyTheFirstShown) {
    ASSERT_EQ(plot.YAxisCount(), 4);
    struct Expected {
        const char* name;
        bool visible;
        int zOrder;
        const char* title;
    } expected[] = {
        {"Ch1YAxis", true, 3, "Y-Axis 1"},
        {"Ch2YAxis", false, 2, "Y-Axis 2"},
        {"Ch3YAxis", false, 1, "Y-Axis 3"},
        {"Ch4YAxis", false, 0, "Y-Axis 4"},
    };
    for (int a = 0; a < 4; ++a) {
        const TPlotYAxis& y = *plot.GetYAxis(a);
        EXPECT_EQ(y.GetName(), expected[a].name);
        EXPECT_EQ(y.GetVisible(), expected[a].visible) << expected[a].name;
        EXPECT_EQ(y.GetZOrder(), expected[a].zOrder) << expected[a].name;
        EXPECT_EQ(y.GetTitle(), expected[a].title);
        EXPECT_EQ(y.GetMin(), -40000);
        EXPECT_EQ(y.GetSpan(), 80000);
        EXPECT_EQ(y.GetTrackingStyle(), iptsScaleMinMax);
        EXPECT_EQ(y.GetTrackingAlignFirstStyle(), ipafsAuto);
        EXPECT_EQ(y.GetLabelsMinLength(), 5);
        EXPECT_FALSE(y.GetRestoreValuesOnResume());
        EXPECT_FALSE(y.GetPopupEnabled());
    }
}

TEST_F(ScopePlotConfiguration, FourChannelsOnTheFirstAxesWithFullRings) {
    ASSERT_EQ(plot.ChannelCount(), 4);
    struct Expected {
        const char* title;
        TColor color;
        TPlotMarkerStyle marker;
    } expected[] = {
        {"CH1", clRed, ipmsCircle},
        {"CH2", clYellow, ipmsSquare},
        {"CH3", clBlue, ipmsDiamond},
        {"CH4", clFuchsia, ipmsCross},
    };
    for (int c = 0; c < 4; ++c) {
        const TPlotChannel& channel = *plot.GetChannel(c);
        EXPECT_EQ(channel.GetName(), "Channel " + std::to_string(c + 1));
        EXPECT_EQ(channel.GetTitleText(), expected[c].title);
        EXPECT_EQ(channel.GetColor(), expected[c].color);
        EXPECT_EQ(channel.GetMarkersStyle(), expected[c].marker);
        EXPECT_EQ(channel.GetMarkersSize(), 2);
        EXPECT_EQ(channel.GetMarkersTurnOffLimit(), 0);
        EXPECT_FALSE(channel.GetMarkersVisible());
        EXPECT_FALSE(channel.GetVisibleInLegend());
        EXPECT_FALSE(channel.GetPopupEnabled());
        EXPECT_EQ(channel.GetXAxisName(), "X-Axis 1");
        EXPECT_EQ(channel.GetYAxisName(), "Ch1YAxis");
        EXPECT_EQ(channel.GetDataStyle(), ipdsStandard);
        EXPECT_EQ(channel.GetRingBufferSize(), kScopeRingBufferSize);
        EXPECT_EQ(channel.GetMemoryUsed(), 36000000);
    }
}

}  // namespace
}  // namespace ondrix
