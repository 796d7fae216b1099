// The scope's plot as its configuration leaves it: every object and value the main window's
// table gives it, and nothing else.

#include <gtest/gtest.h>

#include <string>

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannel.h"
#include "plot/views/PlotDataCursor.h"
#include "plot/views/PlotDataView.h"
#include "plot/views/PlotLabel.h"
#include "plot/views/PlotLegend.h"
#include "plot/views/PlotToolBar.h"
#include "workbench/ScopePlotConfiguration.h"

namespace ondrix {
namespace {

constexpr TColor kGridGreen = ColorFromRgb(0x003100);
constexpr TColor kPaleGrey = ColorFromRgb(0xDDDDDD);

class ScopePlotConfiguration : public ::testing::Test {
protected:
    void SetUp() override { ConfigureScopePlot(plot); }
    TPlot plot;
};

TEST_F(ScopePlotConfiguration, PlotWideValues) {
    EXPECT_EQ(plot.GetUpdateFrameRate(), 10);
    EXPECT_EQ(plot.GetDataViewZHorz(), 1);
    EXPECT_EQ(plot.GetDataViewZVert(), 4);
    EXPECT_FALSE(plot.GetUserCanEditObjects());
    EXPECT_FALSE(plot.GetTitleVisible());
    EXPECT_EQ(plot.GetTitleText(), "Ondrix");
    EXPECT_EQ(plot.GetTitleFont(), MakeFont("Arial", 14, clWhite, true));
    EXPECT_TRUE(plot.GetClipAnnotationsToAxes());
    EXPECT_FALSE(plot.GetBackGroundGradientEnabled());
    EXPECT_EQ(plot.GetCopyToClipBoardFormat(), ipefJPEG);
    EXPECT_EQ(plot.GetDataFileFormat(), ipdffText);
    EXPECT_EQ(plot.GetDataFileColumnSeparator(), ipdfcsTab);
    EXPECT_EQ(plot.GetEditorFormStyle(), ipfsModal);
    EXPECT_EQ(plot.GetPrintMarginLeft(), 1);
    EXPECT_EQ(plot.GetPrintMarginTop(), 1);
    EXPECT_EQ(plot.GetPrintMarginRight(), 1);
    EXPECT_EQ(plot.GetPrintMarginBottom(), 1);
    EXPECT_EQ(plot.GetPrintDocumentName(), "Untitled");
    EXPECT_EQ(plot.GetHintsFont().Name, "MS Sans Serif");
    EXPECT_EQ(plot.GetHintsFont().Size, 8);
}

TEST_F(ScopePlotConfiguration, OneOfEachHelperObjectNoOthers) {
    EXPECT_EQ(plot.ToolBarCount(), 1);
    EXPECT_EQ(plot.LegendCount(), 1);
    EXPECT_EQ(plot.DataCursorCount(), 1);
    EXPECT_EQ(plot.LabelCount(), 1);
    EXPECT_EQ(plot.DataViewCount(), 1);
    EXPECT_EQ(plot.TableCount(), 0);
    EXPECT_EQ(plot.LimitCount(), 0);
    EXPECT_EQ(plot.AnnotationCount(), 0);
}

TEST_F(ScopePlotConfiguration, ToolBarHiddenWithSelectAndPreviewButtons) {
    ASSERT_EQ(plot.ToolBarCount(), 1);
    const TPlotToolBar& toolBar = *plot.GetToolBar(0);
    EXPECT_EQ(toolBar.GetName(), "Toolbar 1");
    EXPECT_FALSE(toolBar.GetVisible());
    EXPECT_FALSE(toolBar.GetEnabled());
    EXPECT_FALSE(toolBar.GetPopupEnabled());
    EXPECT_TRUE(toolBar.GetHorizontal());
    EXPECT_EQ(toolBar.GetZOrder(), 3);
    EXPECT_EQ(toolBar.GetZoomInOutFactor(), 2);
    EXPECT_TRUE(toolBar.GetShowSelectButton());
    EXPECT_TRUE(toolBar.GetShowPreviewButton());
}

TEST_F(ScopePlotConfiguration, LegendHiddenWithItsColumnCaptions) {
    ASSERT_EQ(plot.LegendCount(), 1);
    const TPlotLegend& legend = *plot.GetLegend(0);
    EXPECT_EQ(legend.GetName(), "Legend 1");
    EXPECT_FALSE(legend.GetVisible());
    EXPECT_FALSE(legend.GetEnabled());
    EXPECT_FALSE(legend.GetPopupEnabled());
    EXPECT_EQ(legend.GetZOrder(), 5);

    struct Caption {
        const std::string& (TPlotLegend::*get)() const;
        const char* text;
    } captions[] = {
        {&TPlotLegend::GetCaptionColumnTitle, "Title"},
        {&TPlotLegend::GetCaptionColumnXAxisTitle, "X-Axis"},
        {&TPlotLegend::GetCaptionColumnYAxisTitle, "Y-Axis"},
        {&TPlotLegend::GetCaptionColumnXValue, "X"},
        {&TPlotLegend::GetCaptionColumnYValue, "Y"},
        {&TPlotLegend::GetCaptionColumnYMax, "Y-Max"},
        {&TPlotLegend::GetCaptionColumnYMin, "Y-Min"},
        {&TPlotLegend::GetCaptionColumnYMean, "Y-Mean"},
    };
    for (const Caption& caption : captions) EXPECT_EQ((legend.*caption.get)(), caption.text);
}

TEST_F(ScopePlotConfiguration, DataCursorHiddenReadingEveryChannel) {
    ASSERT_EQ(plot.DataCursorCount(), 1);
    const TPlotDataCursor& cursor = *plot.GetDataCursor(0);
    EXPECT_EQ(cursor.GetName(), "Cursor 1");
    EXPECT_FALSE(cursor.GetVisible());
    EXPECT_FALSE(cursor.GetPopupEnabled());
    EXPECT_EQ(cursor.GetChannelName(), "<All>");
    EXPECT_TRUE(cursor.GetChannelAllowAll());
    EXPECT_FALSE(cursor.GetChannelShowAllInLegend());
    EXPECT_EQ(cursor.GetStyle(), ipcsValueXY);
    EXPECT_EQ(cursor.GetColor(), clWhite);
    EXPECT_FALSE(cursor.GetUseChannelColor());
    EXPECT_TRUE(cursor.GetHintShow());
    EXPECT_FALSE(cursor.GetHintHideOnRelease());
    EXPECT_EQ(cursor.GetHintOrientationSide(), iosBottomRight);
    EXPECT_EQ(cursor.GetHintPosition(), 50);
    EXPECT_EQ(cursor.GetPointer1Position(), 50);
    EXPECT_EQ(cursor.GetPointer2Position(), 60);
    EXPECT_EQ(cursor.GetPointerPenWidth(), 1);

    struct Caption {
        const std::string& (TPlotDataCursor::*get)() const;
        const char* text;
    } captions[] = {
        {&TPlotDataCursor::GetMenuItemCaptionValueXY, "Value X-Y"},
        {&TPlotDataCursor::GetMenuItemCaptionValueX, "Value X"},
        {&TPlotDataCursor::GetMenuItemCaptionValueY, "Value Y"},
        {&TPlotDataCursor::GetMenuItemCaptionDeltaX, "Period"},
        {&TPlotDataCursor::GetMenuItemCaptionDeltaY, "Peak-Peak"},
        {&TPlotDataCursor::GetMenuItemCaptionInverseDeltaX, "Frequency"},
    };
    for (const Caption& caption : captions) EXPECT_EQ((cursor.*caption.get)(), caption.text);
}

TEST_F(ScopePlotConfiguration, TitleLabelHiddenCentredWhite) {
    ASSERT_EQ(plot.LabelCount(), 1);
    const TPlotLabel& title = *plot.GetLabel(0);
    EXPECT_EQ(title.GetName(), "Title");
    EXPECT_FALSE(title.GetVisible());
    EXPECT_EQ(title.GetZOrder(), 2);
    EXPECT_EQ(title.GetCaption(), "Ondrix");
    EXPECT_EQ(title.GetAlignment(), iahCenter);
    EXPECT_EQ(title.GetFont().Color, clWhite);
}

TEST_F(ScopePlotConfiguration, DataViewGridOnEveryAxisInDarkGreen) {
    ASSERT_EQ(plot.DataViewCount(), 1);
    const TPlotDataView& view = *plot.GetDataView(0);
    EXPECT_EQ(view.GetName(), "Data View 1");
    EXPECT_EQ(view.GetGridXAxisName(), "<All>");
    EXPECT_EQ(view.GetGridYAxisName(), "<All>");
    EXPECT_EQ(view.GetGridLineColor(), kGridGreen);
    EXPECT_EQ(view.GetGridLineXMajorWidth(), 0);
    EXPECT_EQ(view.GetGridLineXMinorWidth(), 0);
    EXPECT_EQ(view.GetGridLineYMajorWidth(), 0);
    EXPECT_EQ(view.GetGridLineYMinorWidth(), 0);
    EXPECT_TRUE(view.GetAxesControlEnabled());
    EXPECT_EQ(view.GetAxesControlMouseStyle(), ipacsBoth);
    EXPECT_EQ(view.GetAxesControlWheelStyle(), ipacsBoth);
    EXPECT_FALSE(view.GetPopupEnabled());
}

TEST_F(ScopePlotConfiguration, XAxisScrollsOneScreenOfSamples) {
    ASSERT_EQ(plot.XAxisCount(), 1);
    const TPlotXAxis& x = *plot.GetXAxis(0);
    EXPECT_EQ(x.GetName(), "X-Axis 1");
    EXPECT_EQ(x.GetTitle(), "X-Axis1");
    EXPECT_EQ(x.GetTitleFont().Color, clSilver);
    EXPECT_EQ(x.GetLabelsFont().Color, clSilver);
    EXPECT_EQ(x.GetScaleLinesColor(), clSilver);
    EXPECT_EQ(x.GetMin(), 0);
    EXPECT_EQ(x.GetSpan(), 50000);
    EXPECT_EQ(x.GetLabelsPrecision(), 0);
    EXPECT_EQ(x.GetLabelsMinLength(), 8);
    EXPECT_EQ(x.GetDateTimeFormat(), "hh:nn:ss");
    EXPECT_EQ(x.GetTrackingStyle(), iptsScrollSmooth);
    EXPECT_EQ(x.GetTrackingAlignFirstStyle(), ipafsAuto);
    EXPECT_EQ(x.GetCursorPrecision(), 0);
    EXPECT_FALSE(x.GetScrollMinMaxEnabled());
    EXPECT_EQ(x.GetScrollMin(), 20);
    EXPECT_EQ(x.GetScrollMax(), 1500000);
    EXPECT_FALSE(x.GetRestoreValuesOnResume());
    EXPECT_FALSE(x.GetPopupEnabled());
    EXPECT_TRUE(x.GetGridLinesVisible());
}

TEST_F(ScopePlotConfiguration, FourYAxesOnlyTheFirstShown) {
    ASSERT_EQ(plot.YAxisCount(), 4);
    struct Expected {
        const char* name;
        bool visible;
        int zOrder;
        const char* title;
        TColor titleColor;
        TColor labelsColor;
        TColor scaleLinesColor;
    } expected[] = {
        {"Ch1YAxis", true, 3, "Y-Axis 1", clMaroon, clSilver, kPaleGrey},
        {"Ch2YAxis", false, 2, "Y-Axis 2", clWhite, clYellow, clYellow},
        {"Ch3YAxis", false, 1, "Y-Axis 3", clWhite, clBlue, clBlue},
        {"Ch4YAxis", false, 0, "Y-Axis 4", clWhite, clFuchsia, clFuchsia},
    };
    for (int a = 0; a < 4; ++a) {
        const TPlotYAxis& y = *plot.GetYAxis(a);
        const Expected& e = expected[a];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(y.GetName(), e.name);
        EXPECT_EQ(y.GetVisible(), e.visible);
        EXPECT_EQ(y.GetZOrder(), e.zOrder);
        EXPECT_EQ(y.GetTitle(), e.title);
        EXPECT_EQ(y.GetTitleFont().Color, e.titleColor);
        EXPECT_EQ(y.GetLabelsFont().Color, e.labelsColor);
        EXPECT_EQ(y.GetScaleLinesColor(), e.scaleLinesColor);
        EXPECT_EQ(y.GetMin(), -40000);
        EXPECT_EQ(y.GetSpan(), 80000);
        EXPECT_EQ(y.GetTrackingStyle(), iptsScaleMinMax);
        EXPECT_EQ(y.GetTrackingAlignFirstStyle(), ipafsAuto);
        EXPECT_EQ(y.GetLabelsPrecision(), 0);
        EXPECT_EQ(y.GetLabelsMinLength(), 5);
        EXPECT_EQ(y.GetCursorPrecision(), 0);
        EXPECT_FALSE(y.GetRestoreValuesOnResume());
        EXPECT_FALSE(y.GetPopupEnabled());
        EXPECT_TRUE(y.GetGridLinesVisible());
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
        SCOPED_TRACE(expected[c].title);
        EXPECT_EQ(channel.GetName(), "Channel " + std::to_string(c + 1));
        EXPECT_EQ(channel.GetTitleText(), expected[c].title);
        EXPECT_EQ(channel.GetColor(), expected[c].color);
        EXPECT_EQ(channel.GetMarkersStyle(), expected[c].marker);
        EXPECT_EQ(channel.GetMarkersSize(), 2);
        EXPECT_EQ(channel.GetMarkersTurnOffLimit(), 0);
        EXPECT_EQ(channel.GetMarkersFont().Color, clWhite);
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
