// The toolbar: its handlers and the modes they latch, its spacers, clicks by mouse, hints, and
// its drawing pixel by pixel.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPalette>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "plot/axes/PlotAxis.h"
#include "plot/component/Plot.h"
#include "plot/config/PlotProperties.h"
#include "plot/qt/QtCanvas.h"
#include "plot/views/PlotDataCursor.h"
#include "plot/views/PlotDataView.h"
#include "plot/views/PlotToolBar.h"

using namespace ondrix;

namespace {

using TEvent = std::pair<int, TPlotToolBarButtonType>;
using Types = std::vector<TPlotToolBarButtonType>;

// A plot with its starting objects, whose toolbar events are recorded, and axes with known
// ranges: X 0..100 and Y -10..30, both tracking.
struct ToolBarTest : ::testing::Test {
    TPlot plot;
    TPlotToolBar& bar = *plot.GetToolBar(0);
    TPlotAxis& xAxis = *plot.GetXAxis(0);
    TPlotAxis& yAxis = *plot.GetYAxis(0);
    std::vector<TEvent> events;

    void SetUp() override {
        plot.OnToolBarButtonClick = [this](int index, TPlotToolBarButtonType type) { events.emplace_back(index, type); };
        xAxis.SetMinSpan(0, 100);
        yAxis.SetMinSpan(-10, 40);
    }
    Types Raised() const {
        Types types;
        for (const TEvent& event : events) types.push_back(event.second);
        return types;
    }
    bool AnyTracking() const { return xAxis.GetTrackingEnabled() || yAxis.GetTrackingEnabled(); }
    bool AllTracking() const { return xAxis.GetTrackingEnabled() && yAxis.GetTrackingEnabled(); }
};

}  // namespace

// ---- The buttons at creation -----------------------------------------------------------------

TEST_F(ToolBarTest, TheRowHoldsTheButtonsAndSpacersInDrawingOrder) {
    struct Entry {
        bool spacer;
        const char* hint;
        const char* image;
        int group;
        bool visible, down;
    } expected[] = {
        {false, "Resume All (Tracking)", "AUTO", 0, true, false},
        {false, "Pause All (Tracking)", "PAUSE", 0, true, false},
        {true, "", "", 0, true, false},
        {false, "Scroll (Axes)", "SCROLL", 2, true, true},
        {false, "Zoom (Axes)", "ZOOM", 2, true, false},
        {true, "", "", 0, true, false},
        {false, "Zoom Out All Axes", "ZOOMOUT", 0, true, false},
        {false, "Zoom In All Axes", "ZOOMIN", 0, true, false},
        {true, "", "", 0, true, false},
        {false, "Select", "SELECT", -1, false, false},
        {false, "Zoom Box", "SCROLLBOX", -1, true, false},
        {false, "Cursor", "CURSOR", -2, true, false},
        {true, "", "", 0, true, false},
        {false, "Properties", "PROPERTIES", 0, true, false},
        {true, "", "", 0, true, false},
        {false, "Copy to Clipboard", "COPY", 0, true, false},
        {false, "Save to File", "SAVE", 0, true, false},
        {false, "Print", "PRINTER", 0, true, false},
        {false, "Preview", "PREVIEW", 0, false, false},
    };
    ASSERT_EQ(bar.GetButtonCount(), 19);
    for (int i = 0; i < 19; ++i) {
        const Entry& e = expected[i];
        const TPlotToolBarButton& button = bar.GetButton(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(button.GetStyle(), e.spacer ? iptbbsSpacer : iptbbsButton);
        EXPECT_EQ(button.GetHint(), e.hint);
        EXPECT_EQ(button.GetImageName(), e.image);
        EXPECT_EQ(button.GetImageIndex(), -1);
        EXPECT_EQ(button.GetGroupIndex(), e.group);
        EXPECT_EQ(button.GetVisible(), e.visible);
        EXPECT_EQ(button.GetDown(), e.down);
        EXPECT_FALSE(button.GetAutoRepeat());
    }
    EXPECT_EQ(&bar.GetButton(iptbbtZoomOut), &bar.GetButton(6));
    EXPECT_EQ(&bar.GetButton(iptbbtZoomIn), &bar.GetButton(7));
    EXPECT_EQ(&bar.GetSpacer(4), &bar.GetButton(12));
    EXPECT_TRUE(bar.GetHorizontal());
}

// Each Show... setting is the visibility of its buttons; the published defaults are those of a
// new toolbar.
TEST_F(ToolBarTest, ShowSettingsAreTheVisibilityOfTheirButtons) {
    struct Case {
        const char* name;
        const char* initial;
        Types buttons;
    } cases[] = {
        {"ShowResumeButton", "True", {iptbbtResume}},
        {"ShowPauseButton", "True", {iptbbtPause}},
        {"ShowAxesModeButtons", "True", {iptbbtScrollAxesMode, iptbbtZoomAxesMode}},
        {"ShowZoomInOutButtons", "True", {iptbbtZoomOut, iptbbtZoomIn}},
        {"ShowSelectButton", "False", {iptbbtSelect}},
        {"ShowZoomBoxButton", "True", {iptbbtZoomBox}},
        {"ShowCursorButton", "True", {iptbbtCursor}},
        {"ShowEditButton", "True", {iptbbtEdit}},
        {"ShowCopyButton", "True", {iptbbtCopy}},
        {"ShowSaveButton", "True", {iptbbtSave}},
        {"ShowPrintButton", "True", {iptbbtPrint}},
        {"ShowPreviewButton", "False", {iptbbtPreview}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPlot fresh;
        TPlotToolBar& toolBar = *fresh.GetToolBar(0);
        int repaints = 0;
        fresh.OnRepaintRequest = [&repaints] { ++repaints; };
        const TPlotProperty* property = FindPlotProperty(toolBar, c.name);
        ASSERT_NE(property, nullptr);
        EXPECT_EQ(property->Read(toolBar), c.initial);

        std::vector<bool> before;
        for (int i = 0; i < toolBar.GetButtonCount(); ++i) before.push_back(toolBar.GetButton(i).GetVisible());
        const bool shown = std::string(c.initial) != "True";
        SetPlotProperty(toolBar, c.name, shown ? "True" : "False");
        EXPECT_EQ(repaints, 1);
        for (int i = 0; i < toolBar.GetButtonCount(); ++i) {
            const TPlotToolBarButton& button = toolBar.GetButton(i);
            bool listed = false;
            for (TPlotToolBarButtonType type : c.buttons) listed = listed || &button == &toolBar.GetButton(type);
            EXPECT_EQ(button.GetVisible(), listed ? shown : static_cast<bool>(before[i])) << "entry " << i;
        }
    }
}

TEST_F(ToolBarTest, ZoomInOutFactorStaysAtLeastOne) {
    struct Case {
        double set, stored;
    } cases[] = {{4, 4}, {1, 1}, {0.5, 1}, {0, 1}, {-3, 1}, {1.5, 1.5}};
    for (const Case& c : cases) {
        bar.SetZoomInOutFactor(c.set);
        EXPECT_EQ(bar.GetZoomInOutFactor(), c.stored) << c.set;
    }
}

// ---- Handlers ------------------------------------------------------------------------------

// Every handler, run alone on a new plot, ends with its own event from toolbar 0.
TEST(ToolBarHandlers, EachHandlerEndsWithItsOwnEvent) {
    using Handler = void (TPlotToolBar::*)();
    const std::pair<Handler, TPlotToolBarButtonType> cases[] = {
        {&TPlotToolBar::DoButtonClickResume, iptbbtResume},
        {&TPlotToolBar::DoButtonClickPause, iptbbtPause},
        {&TPlotToolBar::DoButtonClickScrollAxesMode, iptbbtScrollAxesMode},
        {&TPlotToolBar::DoButtonClickZoomAxesMode, iptbbtZoomAxesMode},
        {&TPlotToolBar::DoButtonClickSelect, iptbbtSelect},
        {&TPlotToolBar::DoButtonClickZoomBox, iptbbtZoomBox},
        {&TPlotToolBar::DoButtonClickZoomOut, iptbbtZoomOut},
        {&TPlotToolBar::DoButtonClickZoomIn, iptbbtZoomIn},
        {&TPlotToolBar::DoButtonClickCursor, iptbbtCursor},
        {&TPlotToolBar::DoButtonClickEdit, iptbbtEdit},
        {&TPlotToolBar::DoButtonClickCopy, iptbbtCopy},
        {&TPlotToolBar::DoButtonClickSave, iptbbtSave},
        {&TPlotToolBar::DoButtonClickPrint, iptbbtPrint},
        {&TPlotToolBar::DoButtonClickPreview, iptbbtPreview},
    };
    for (const auto& [handler, type] : cases) {
        SCOPED_TRACE(kPlotToolBarButtonTypeNames[type]);
        TPlot plot;
        std::vector<TEvent> events;
        plot.OnToolBarButtonClick = [&events](int index, TPlotToolBarButtonType t) { events.emplace_back(index, t); };
        std::vector<TPlotObject*> edited;
        plot.OnEditObject = [&edited](TPlotObject& obj) { edited.push_back(&obj); };
        (plot.GetToolBar(0)->*handler)();
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back(), TEvent(0, type));
        EXPECT_EQ(edited, type == iptbbtEdit ? std::vector<TPlotObject*>{plot.GetToolBar(0)} : std::vector<TPlotObject*>{});
    }
}

// A zoom pauses first, then scales every linear span by the factor about the axis's centre.
TEST_F(ToolBarTest, ZoomInAndOutPauseThenScaleEverySpanAboutItsCentre) {
    struct Case {
        const char* what;
        double factor;
        bool zoomIn;
        double spanScale;
    } cases[] = {
        {"zoom in, default factor", 2, true, 0.5},
        {"zoom out, default factor", 2, false, 2},
        {"zoom in by 4", 4, true, 0.25},
        {"zoom in with a factor stored as 1", 0.5, true, 1},
        {"zoom out with a factor stored as 1", 0.5, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        xAxis.SetMinSpan(0, 100);
        yAxis.SetMinSpan(-10, 40);
        plot.EnableAllTracking();
        events.clear();
        bar.SetZoomInOutFactor(c.factor);
        if (c.zoomIn) {
            bar.DoButtonClickZoomIn();
        } else {
            bar.DoButtonClickZoomOut();
        }
        EXPECT_EQ(Raised(), (Types{iptbbtPause, c.zoomIn ? iptbbtZoomIn : iptbbtZoomOut}));
        EXPECT_FALSE(AnyTracking());
        EXPECT_DOUBLE_EQ(xAxis.GetSpan(), 100 * c.spanScale);
        EXPECT_DOUBLE_EQ(xAxis.GetMin() + xAxis.GetSpan() / 2, 50);
        EXPECT_DOUBLE_EQ(yAxis.GetSpan(), 40 * c.spanScale);
        EXPECT_DOUBLE_EQ(yAxis.GetMin() + yAxis.GetSpan() / 2, 10);
    }
}

// A log axis takes no factor: it narrows or widens by a decade on each side.
TEST_F(ToolBarTest, ZoomOnALogAxisMovesByADecade) {
    yAxis.SetScaleType(ipstLog10);
    yAxis.SetMinSpan(10, 90);
    bar.DoButtonClickZoomOut();
    EXPECT_DOUBLE_EQ(yAxis.GetMin(), 1);
    EXPECT_DOUBLE_EQ(yAxis.GetSpan(), 900);
    bar.DoButtonClickZoomIn();
    EXPECT_DOUBLE_EQ(yAxis.GetMin(), 10);
    EXPECT_DOUBLE_EQ(yAxis.GetSpan(), 90);
}

TEST_F(ToolBarTest, AxesModeButtonsLatchOneAnotherAndSetEveryAxisMode) {
    TPlotAxis& secondY = *plot.GetYAxis(plot.AddYAxis());
    bar.DoButtonClickZoomAxesMode();
    EXPECT_TRUE(bar.GetButton(iptbbtZoomAxesMode).GetDown());
    EXPECT_FALSE(bar.GetButton(iptbbtScrollAxesMode).GetDown());
    for (const TPlotAxis* axis : {&xAxis, &yAxis, &secondY}) EXPECT_EQ(axis->GetMode(), ipamZoom);
    bar.DoButtonClickScrollAxesMode();
    EXPECT_TRUE(bar.GetButton(iptbbtScrollAxesMode).GetDown());
    EXPECT_FALSE(bar.GetButton(iptbbtZoomAxesMode).GetDown());
    for (const TPlotAxis* axis : {&xAxis, &yAxis, &secondY}) EXPECT_EQ(axis->GetMode(), ipamScroll);
    EXPECT_EQ(Raised(), (Types{iptbbtZoomAxesMode, iptbbtScrollAxesMode}));
}

// Select and Zoom Box are never down together, and toolbar 0's pair decides the data view's drag
// mode and the plot's select mode.
TEST_F(ToolBarTest, SelectAndZoomBoxExcludeEachOtherAndSetTheDataViewMode) {
    TPlotDataView& view = *plot.GetDataView(0);
    view.SetAxesControlEnabled(true);
    using Handler = void (TPlotToolBar::*)();
    struct Case {
        Handler click;
        bool select, zoomBox;
        TPlotDataViewMode mode;
    } cases[] = {
        {&TPlotToolBar::DoButtonClickZoomBox, false, true, ipdvmZoomBox},
        {&TPlotToolBar::DoButtonClickSelect, true, false, ipdvmSelect},  // raises Zoom Box
        {&TPlotToolBar::DoButtonClickZoomBox, false, true, ipdvmZoomBox},  // raises Select
        {&TPlotToolBar::DoButtonClickZoomBox, false, false, ipdvmScrollZoom},
        {&TPlotToolBar::DoButtonClickSelect, true, false, ipdvmSelect},
        {&TPlotToolBar::DoButtonClickSelect, false, false, ipdvmScrollZoom},
    };
    for (const Case& c : cases) {
        // Through a local reference: the undefined-behaviour checker of our compiler misreads a
        // member-function-pointer call on a reference member as a call on a foreign object.
        TPlotToolBar& clicked = bar;
        (clicked.*c.click)();
        EXPECT_EQ(bar.GetSelectActive(), c.select);
        EXPECT_EQ(bar.GetZoomBoxActive(), c.zoomBox);
        EXPECT_EQ(plot.GetSelectModeActive(), c.select);
        EXPECT_EQ(view.GetMode(), c.mode);
    }
}

TEST_F(ToolBarTest, SelectModePausesTheAxesAndIsSetThroughTheSelectHandler) {
    plot.SetSelectModeActive(true);
    EXPECT_TRUE(bar.GetSelectActive());
    EXPECT_FALSE(AnyTracking());
    plot.SetSelectModeActive(true);  // already so: no second click
    EXPECT_EQ(Raised(), Types{iptbbtSelect});
    plot.EnableAllTracking();
    plot.SetSelectModeActive(false);
    EXPECT_FALSE(bar.GetSelectActive());
    EXPECT_TRUE(AllTracking());  // raising Select resumes nothing
    EXPECT_EQ(Raised(), (Types{iptbbtSelect, iptbbtSelect}));
}

// Another toolbar's Select makes toolbar 0 follow, with toolbar 0's event first.
TEST_F(ToolBarTest, AnotherToolBarsSelectIsFollowedByToolBarZero) {
    TPlotToolBar& second = *plot.GetToolBar(plot.AddToolBar());
    second.DoButtonClickSelect();
    EXPECT_TRUE(second.GetSelectActive());
    EXPECT_TRUE(bar.GetSelectActive());
    EXPECT_EQ(events, (std::vector<TEvent>{{0, iptbbtSelect}, {1, iptbbtSelect}}));
    second.DoButtonClickSelect();
    EXPECT_FALSE(bar.GetSelectActive());
}

TEST_F(ToolBarTest, CursorShowsEveryDataCursorAndPausesThenHidesThemLeavingThePause) {
    plot.AddDataCursor();
    ASSERT_EQ(plot.DataCursorCount(), 2);
    bar.DoButtonClickCursor();
    EXPECT_TRUE(bar.GetCursorActive());
    EXPECT_TRUE(plot.GetDataCursor(0)->GetVisible());
    EXPECT_TRUE(plot.GetDataCursor(1)->GetVisible());
    EXPECT_TRUE(plot.GetDataCursor(0)->GetUserSelected());
    EXPECT_FALSE(AnyTracking());

    bar.DoButtonClickCursor();
    EXPECT_FALSE(bar.GetCursorActive());
    EXPECT_FALSE(plot.GetDataCursor(0)->GetVisible());
    EXPECT_FALSE(plot.GetDataCursor(1)->GetVisible());
    EXPECT_FALSE(AnyTracking());
    EXPECT_EQ(Raised(), (Types{iptbbtCursor, iptbbtCursor}));

    bar.DoButtonClickCursor();
    bar.TurnOffCursor();  // as Cursor's second click, but without an event
    EXPECT_FALSE(plot.GetDataCursor(1)->GetVisible());
    EXPECT_EQ(Raised(), (Types{iptbbtCursor, iptbbtCursor, iptbbtCursor}));
}

TEST_F(ToolBarTest, ResumeEndsCursorAndSelectModesClearsSelectionsAndTracksAgain) {
    bar.DoButtonClickZoomBox();
    bar.DoButtonClickCursor();
    plot.GetXAxis(0)->SetUserSelected(true);  // the cursor's selection goes with it
    bar.DoButtonClickZoomBox();
    bar.DoButtonClickSelect();
    events.clear();

    bar.DoButtonClickResume();
    EXPECT_EQ(Raised(), (Types{iptbbtCursor, iptbbtSelect, iptbbtResume}));
    EXPECT_FALSE(bar.GetCursorActive());
    EXPECT_FALSE(bar.GetSelectActive());
    EXPECT_FALSE(plot.GetDataCursor(0)->GetVisible());
    EXPECT_FALSE(plot.GetDataCursor(0)->GetUserSelected());
    EXPECT_FALSE(xAxis.GetUserSelected());
    EXPECT_TRUE(AllTracking());

    // Zoom Box is no mode Resume ends.
    bar.DoButtonClickZoomBox();
    bar.DoButtonClickResume();
    EXPECT_TRUE(bar.GetZoomBoxActive());
}

// ---- Spacers and Resume/Pause enabling ---------------------------------------------------------

TEST_F(ToolBarTest, ASpacerShowsWhileAButtonOfItsGroupShows) {
    using Setter = void (TPlotToolBar::*)(bool);
    struct Case {
        const char* what;
        std::vector<Setter> hide;
        std::vector<bool> spacers;  // 1 to 5
    } cases[] = {
        {"nothing hidden", {}, {true, true, true, true, true}},
        {"Resume only", {&TPlotToolBar::SetShowResumeButton}, {true, true, true, true, true}},
        {"Resume and Pause",
         {&TPlotToolBar::SetShowResumeButton, &TPlotToolBar::SetShowPauseButton},
         {false, true, true, true, true}},
        {"axes modes", {&TPlotToolBar::SetShowAxesModeButtons}, {true, false, true, true, true}},
        {"zoom in and out", {&TPlotToolBar::SetShowZoomInOutButtons}, {true, true, false, true, true}},
        {"Select alone", {&TPlotToolBar::SetShowSelectButton}, {true, true, true, true, true}},
        {"Zoom Box and Cursor",
         {&TPlotToolBar::SetShowZoomBoxButton, &TPlotToolBar::SetShowCursorButton},
         {true, true, true, false, true}},
        {"Edit", {&TPlotToolBar::SetShowEditButton}, {true, true, true, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TPlot fresh;
        TPlotToolBar& toolBar = *fresh.GetToolBar(0);
        toolBar.SetShowSelectButton(true);
        for (Setter hide : c.hide) (toolBar.*hide)(false);
        toolBar.UpdateSpacers();
        for (int n = 1; n <= 5; ++n) EXPECT_EQ(toolBar.GetSpacer(n).GetVisible(), c.spacers[n - 1]) << "spacer " << n;
    }
}

TEST_F(ToolBarTest, ResumeAndPauseAreEnabledByTheAxesTracking) {
    struct Case {
        bool xTracking, yTracking, resume, pause;
    } cases[] = {
        {true, true, false, true},
        {false, true, true, true},
        {true, false, true, true},
        {false, false, true, false},
    };
    for (const Case& c : cases) {
        xAxis.SetTrackingEnabled(c.xTracking);
        yAxis.SetTrackingEnabled(c.yTracking);
        bar.UpdateResumePauseButtons();
        EXPECT_EQ(bar.GetButton(iptbbtResume).GetEnabled(), c.resume) << c.xTracking << c.yTracking;
        EXPECT_EQ(bar.GetButton(iptbbtPause).GetEnabled(), c.pause) << c.xTracking << c.yTracking;
    }
    plot.RemoveAllXAxes();
    plot.RemoveAllYAxes();
    bar.UpdateResumePauseButtons();
    EXPECT_FALSE(bar.GetButton(iptbbtResume).GetEnabled());
    EXPECT_FALSE(bar.GetButton(iptbbtPause).GetEnabled());
}

// ---- Mouse and hints -----------------------------------------------------------------------------

namespace {

// Presses at one point and releases at another, as the plot's dispatch does.
void Click(TPlotButton& button, int downX, int downY, int upX, int upY) {
    button.iMouseDown(mbLeft, ssLeft, downX, downY);
    button.iMouseUp(mbLeft, 0, upX, upY, false);
}

}  // namespace

TEST_F(ToolBarTest, AMouseClickCountsOnlyWhenReleasedInsideThePressedButton) {
    TPlotToolBarButton& zoomBox = bar.GetButton(iptbbtZoomBox);
    zoomBox.SetDrawRect({100, 3, 130, 33});
    struct Case {
        const char* what;
        int upX, upY;
        bool clicked;
    } cases[] = {
        {"inside", 110, 20, true},
        {"last pixel", 129, 32, true},
        {"right of it", 130, 20, false},
        {"below it", 110, 33, false},
        {"far away", 400, 200, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        events.clear();
        const bool downBefore = zoomBox.GetDown();
        Click(zoomBox, 110, 20, c.upX, c.upY);
        EXPECT_FALSE(zoomBox.GetPressed());
        EXPECT_EQ(Raised(), c.clicked ? Types{iptbbtZoomBox} : Types{});
        EXPECT_EQ(zoomBox.GetDown(), c.clicked ? !downBefore : downBefore);
    }
}

// A mouse click runs the button's handler: Zoom latches and Scroll, its group partner, comes up.
TEST_F(ToolBarTest, AClickOnAGroupedButtonUnlatchesItsGroup) {
    TPlotToolBarButton& zoomAxes = bar.GetButton(iptbbtZoomAxesMode);
    zoomAxes.SetDrawRect({0, 0, 30, 30});
    Click(zoomAxes, 5, 5, 5, 5);
    EXPECT_TRUE(zoomAxes.GetDown());
    EXPECT_FALSE(bar.GetButton(iptbbtScrollAxesMode).GetDown());
    EXPECT_EQ(xAxis.GetMode(), ipamZoom);

    // A disabled button takes no press.
    TPlotToolBarButton& resume = bar.GetButton(iptbbtResume);
    resume.SetDrawRect({40, 0, 70, 30});
    resume.SetEnabled(false);
    events.clear();
    Click(resume, 45, 5, 45, 5);
    EXPECT_TRUE(events.empty());
}

TEST_F(ToolBarTest, TheMouseObjectIsTheVisibleEntryUnderThePointOrTheBar) {
    bar.SetDrawRect({0, 0, 600, 36});
    QImage image(600, 36, QImage::Format_RGB32);
    QtCanvas canvas(image);
    bar.Draw(canvas, clBlack);
    struct Case {
        int x;
        const TPlotObject* object;
    } cases[] = {
        {3, &bar.GetButton(iptbbtResume)},
        {33, &bar.GetButton(iptbbtPause)},
        {63, &bar.GetSpacer(1)},
        {73, &bar.GetButton(iptbbtScrollAxesMode)},
        {2, &bar},
        {590, &bar},
    };
    for (const Case& c : cases) EXPECT_EQ(bar.GetMouseObject(c.x, 10), c.object) << c.x;
}

// The pointer resting on a button offers its hint below it, as the host changed it.
TEST_F(ToolBarTest, AButtonOffersItsHintBelowItAndLightsUpWhenFlat) {
    std::vector<int> hintIndexes;
    plot.OnToolBarCustomizeHint = [&hintIndexes](int index, std::string& text) {
        hintIndexes.push_back(index);
        text = "<" + text + ">";
    };
    int repaints = 0;
    plot.OnRepaintRequest = [&repaints] { ++repaints; };
    bar.SetFlatButtons(true);
    repaints = 0;
    TPlotToolBarButton& pause = bar.GetButton(iptbbtPause);
    pause.SetDrawRect({33, 3, 63, 33});

    THintData hint;
    pause.iMouseMove(hint, 0, 40, 10, false);
    EXPECT_EQ(hint.Text, "<Pause All (Tracking)>");
    EXPECT_EQ(hint.Left, 33);
    EXPECT_EQ(hint.Top, 36);
    EXPECT_EQ(hintIndexes, std::vector<int>{0});
    EXPECT_TRUE(pause.GetMouseOver());
    EXPECT_EQ(repaints, 1);
    THintData again;
    pause.iMouseMove(again, 0, 41, 10, false);
    EXPECT_EQ(repaints, 1);  // still over it: nothing to repaint

    pause.DoMouseNotOver();
    EXPECT_FALSE(pause.GetMouseOver());
    EXPECT_EQ(repaints, 2);

    // A raised 3-D button looks the same under the pointer.
    bar.SetFlatButtons(false);
    repaints = 0;
    pause.iMouseMove(hint, 0, 40, 10, false);
    pause.DoMouseNotOver();
    EXPECT_EQ(repaints, 0);

    // A hidden bar shows no button, so hovering asks for no repaint.
    bar.SetFlatButtons(true);
    bar.SetVisible(false);
    repaints = 0;
    pause.iMouseMove(hint, 0, 40, 10, false);
    EXPECT_TRUE(pause.GetMouseOver());
    EXPECT_EQ(repaints, 0);

    // A spacer offers nothing.
    THintData none;
    bar.GetSpacer(1).iMouseMove(none, 0, 70, 10, false);
    EXPECT_EQ(none.Text, "");
}

// ---- Drawing -----------------------------------------------------------------------------------

namespace {

constexpr int kBarWidth = 560;
constexpr TPlotRect kBar{10, 20, 10 + kBarWidth, 20 + 36};

// A desktop whose button face is not the latched face, so that every look shows in the pixels.
QPalette ClassicPalette() {
    QPalette palette = QGuiApplication::palette();
    palette.setColor(QPalette::Button, QColor(0xD4, 0xD0, 0xC8));
    palette.setColor(QPalette::Light, QColor(0xFF, 0xFF, 0xFF));
    palette.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
    return palette;
}

// The toolbar drawn alone on white; the bar is given the thickness it asks for.
struct ToolBarDrawTest : ToolBarTest {
    const QPalette desktop = QGuiApplication::palette();
    QImage image{kBarWidth + 40, 100, QImage::Format_RGB32};
    QtCanvas canvas{image};
    TColor face = 0;
    TColor light = 0;
    TColor dark = 0;

    void SetUp() override {
        ToolBarTest::SetUp();
        QGuiApplication::setPalette(ClassicPalette());
        face = canvas.ResolveColor(clBtnFace);
        light = canvas.ResolveColor(clBtnHighlight);
        dark = canvas.ResolveColor(clBtnShadow);
    }
    void TearDown() override { QGuiApplication::setPalette(desktop); }

    void Draw() {
        image.fill(Qt::white);
        const int thickness = bar.GetRequiredWidth(TCanvasTextMeasure(canvas));
        bar.SetDrawRect({kBar.Left, kBar.Top, kBar.Right, kBar.Top + thickness});
        bar.Draw(canvas, clBlack);
    }
    TColor At(int x, int y) const { return ColorFromRgb(image.pixel(x, y) & 0xFFFFFF); }
    QImage Picture(const TPlotToolBarButton& button) const {
        const TPlotRect& r = button.GetDrawRect();
        return image.copy(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    }
};

}  // namespace

TEST_F(ToolBarDrawTest, TheDesktopColoursDifferSoThePixelsTellTheLooksApart) {
    EXPECT_EQ(face, ColorFromRgb(0xD4D0C8));
    EXPECT_NE(face, light);
    EXPECT_NE(face, dark);
    EXPECT_NE(face, ColorFromRgb(0xEFEFEF));
}

// Visible entries run in a row from the bar's corner + 3: buttons ButtonSize wide, spacers 10.
TEST_F(ToolBarDrawTest, LargeAndSmallButtonsArePlacedInOneRow) {
    struct Case {
        bool small;
        int thickness, size;
    } cases[] = {{false, 36, 30}, {true, 28, 22}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.small ? "small" : "large");
        bar.SetSmallButtons(c.small);
        Draw();
        EXPECT_EQ(bar.GetRequiredWidth(TCanvasTextMeasure(canvas)), c.thickness);
        EXPECT_EQ(bar.GetButtonSize(), c.size);
        int x = kBar.Left + 3;
        for (int i = 0; i < bar.GetButtonCount(); ++i) {
            const TPlotToolBarButton& entry = bar.GetButton(i);
            if (!entry.GetVisible()) continue;
            const int width = entry.GetStyle() == iptbbsSpacer ? 10 : c.size;
            EXPECT_EQ(entry.GetDrawRect(), (TPlotRect{x, kBar.Top + 3, x + width, kBar.Top + 3 + c.size})) << i;
            x += width;
        }
        // The bar's face, one pixel wider than its rectangle, inside its raised edge.
        EXPECT_EQ(At(kBar.Left, kBar.Top), light);
        EXPECT_EQ(At(kBar.Right - 1, kBar.Top + c.thickness - 1), dark);
        EXPECT_EQ(At(kBar.Right, kBar.Top + 5), face);
        EXPECT_EQ(At(kBar.Right + 1, kBar.Top + 5), ColorFromRgb(0xFFFFFF));
        EXPECT_EQ(At(kBar.Right - 5, kBar.Top + 5), face);
    }
}

TEST_F(ToolBarDrawTest, EveryPictureLoadsInBothSizesAndReloadsAfterASizeChange) {
    bar.SetShowSelectButton(true);
    bar.SetShowPreviewButton(true);
    Draw();
    for (int i = 0; i < bar.GetButtonCount(); ++i) {
        const TPlotToolBarButton& entry = bar.GetButton(i);
        EXPECT_EQ(entry.GetImageIndex() == -1, entry.GetStyle() == iptbbsSpacer) << i;
    }
    EXPECT_EQ(bar.GetImageList().GetCount(), 14);
    EXPECT_EQ(bar.GetImageList().GetWidth(), 24);

    int repaints = 0;
    plot.OnRepaintRequest = [&repaints] { ++repaints; };
    bar.SetSmallButtons(true);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(bar.GetButton(iptbbtResume).GetImageName(), "SMALLAUTO");
    EXPECT_EQ(bar.GetButton(iptbbtZoomBox).GetImageName(), "SMALLSCROLLBOX");
    for (int i = 0; i < bar.GetButtonCount(); ++i) EXPECT_EQ(bar.GetButton(i).GetImageIndex(), -1) << i;
    EXPECT_EQ(bar.GetImageList().GetCount(), 0);
    EXPECT_EQ(bar.GetImageList().GetWidth(), 16);
    Draw();
    for (int i = 0; i < bar.GetButtonCount(); ++i) {
        const TPlotToolBarButton& entry = bar.GetButton(i);
        EXPECT_EQ(entry.GetImageIndex() == -1, entry.GetStyle() == iptbbsSpacer) << i;
    }
    // Each picture is its own, and stays inside its button.
    for (TPlotToolBarButtonType a : {iptbbtZoomOut, iptbbtZoomAxesMode, iptbbtPrint})
        EXPECT_NE(Picture(bar.GetButton(a)), Picture(bar.GetButton(iptbbtZoomIn))) << a;
}

// A disabled button's picture is greyed: only the bar's face and bevel colours remain.
TEST_F(ToolBarDrawTest, ADisabledButtonIsGreyed) {
    for (bool small : {false, true}) {
        SCOPED_TRACE(small ? "small" : "large");
        bar.SetSmallButtons(small);
        plot.EnableAllTracking();
        Draw();
        const TPlotToolBarButton& resume = bar.GetButton(iptbbtResume);
        ASSERT_FALSE(resume.GetEnabled());
        const QImage greyed = Picture(resume);
        xAxis.SetTrackingEnabled(false);
        Draw();
        ASSERT_TRUE(resume.GetEnabled());
        const QImage normal = Picture(resume);
        EXPECT_NE(greyed, normal);
        bool colourful = false;
        for (int y = 0; y < normal.height(); ++y)
            for (int x = 0; x < normal.width(); ++x) {
                const TColor greyedPixel = ColorFromRgb(greyed.pixel(x, y) & 0xFFFFFF);
                EXPECT_TRUE(greyedPixel == face || greyedPixel == light || greyedPixel == dark) << x << "," << y;
                const TColor pixel = ColorFromRgb(normal.pixel(x, y) & 0xFFFFFF);
                colourful = colourful || (pixel != face && pixel != light && pixel != dark);
            }
        EXPECT_TRUE(colourful);
    }
}

// The corner pixels of a button tell its look: a 2-pixel bevel for 3-D buttons, a 1-pixel one
// (or none) for flat buttons, and the lighter face of a latched button.
TEST_F(ToolBarDrawTest, FlatAnd3DButtonsLookAsTheirStateSays) {
    const TColor activeFace = ColorFromRgb(0xEFEFEF);
    struct Case {
        const char* what;
        bool flat, down, mouseOver;
        TColor topLeft, innerTopLeft, bottomRight, inside;
    } cases[] = {
        {"3-D up", false, false, false, light, light, dark, face},
        {"3-D down", false, true, false, dark, dark, light, activeFace},
        {"3-D down, pointer over", false, true, true, dark, dark, light, activeFace},
        {"flat up", true, false, false, face, face, face, face},
        {"flat up, pointer over", true, false, true, light, face, dark, face},
        {"flat down", true, true, false, dark, activeFace, light, activeFace},
        {"flat down, pointer over", true, true, true, dark, face, light, face},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bar.SetFlatButtons(c.flat);
        TPlotToolBarButton& cursor = bar.GetButton(iptbbtCursor);
        cursor.SetDown(c.down);
        THintData hint;
        if (c.mouseOver) {
            cursor.DoMouseHint({}, hint);
        } else {
            cursor.DoMouseNotOver();
        }
        Draw();
        const TPlotRect& r = cursor.GetDrawRect();
        EXPECT_EQ(At(r.Left, r.Top), c.topLeft);
        EXPECT_EQ(At(r.Left + 1, r.Top + 1), c.innerTopLeft);
        EXPECT_EQ(At(r.Right - 1, r.Bottom - 1), c.bottomRight);
        EXPECT_EQ(At(r.Left + 3, r.Top + 3), c.inside);
    }
}

TEST_F(ToolBarDrawTest, AFlatBorderLeavesTheBarsEdgeOut) {
    bar.SetFlatBorder(true);
    Draw();
    EXPECT_EQ(At(kBar.Left, kBar.Top), face);
    EXPECT_EQ(At(kBar.Right - 1, kBar.Top + 35), face);
}

// A latched 3-D button's picture moves one pixel down and right.
TEST_F(ToolBarDrawTest, ALatchedButtonsPictureIsShiftedByOnePixel) {
    const auto pictureBox = [this](const TPlotToolBarButton& button) {
        const QImage picture = Picture(button);
        QImage inner = picture.copy(3, 3, picture.width() - 6, picture.height() - 6);
        TPlotRect ink{inner.width(), inner.height(), 0, 0};
        for (int y = 0; y < inner.height(); ++y)
            for (int x = 0; x < inner.width(); ++x) {
                const TColor pixel = ColorFromRgb(inner.pixel(x, y) & 0xFFFFFF);
                if (pixel == face || pixel == ColorFromRgb(0xEFEFEF)) continue;
                ink = {std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1),
                       std::max(ink.Bottom, y + 1)};
            }
        return ink;
    };
    Draw();
    const TPlotRect up = pictureBox(bar.GetButton(iptbbtCursor));
    bar.DoButtonClickCursor();
    Draw();
    const TPlotRect down = pictureBox(bar.GetButton(iptbbtCursor));
    EXPECT_EQ(down, (TPlotRect{up.Left + 1, up.Top + 1, up.Right + 1, up.Bottom + 1}));
}

// The plot's paint pass draws its toolbars after the labels.
TEST(ToolBarPaint, ThePlotsPaintDrawsTheToolBar) {
    TPlot plot;
    plot.SetBounds(500, 300);
    QImage image(500, 300, QImage::Format_RGB32);
    image.fill(Qt::black);
    QtCanvas canvas(image);
    plot.iPaintTo(canvas);
    const TPlotToolBar& bar = *plot.GetToolBar(0);
    const TPlotRect& resume = bar.GetButton(iptbbtResume).GetDrawRect();
    EXPECT_EQ(resume.Left, bar.GetDrawRect().Left + 3);
    EXPECT_EQ(resume.Right - resume.Left, 30);
    EXPECT_EQ(ColorFromRgb(image.pixel(resume.Left, resume.Top) & 0xFFFFFF), canvas.ResolveColor(clBtnHighlight));
    EXPECT_EQ(ColorFromRgb(image.pixel(resume.Left + 2, resume.Top + 2) & 0xFFFFFF), canvas.ResolveColor(clBtnFace));
}
