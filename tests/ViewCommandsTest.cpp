// The view commands and their zoom history on the scope's own plot, wired to the plot's events
// the way the main window wires them, so that every span a command changes comes back to it.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <vector>

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannel.h"
#include "plot/views/PlotDataCursor.h"
#include "workbench/ScopePlotConfiguration.h"
#include "workbench/ViewCommands.h"
#include "workbench/ZoomHistory.h"

namespace ondrix {

void PrintTo(const ZoomView& view, std::ostream* out) {
    *out << "X " << view.X.Min << "/" << view.X.Span;
    for (int k = 0; k < ZoomView::kYAxisCount; ++k) *out << ", Y" << k << " " << view.Y[k].Min << "/" << view.Y[k].Span;
}

void PrintTo(const ViewButtonStates& s, std::ostream* out) {
    *out << "Resume " << s.ResumeEnabled << " Pause " << s.PauseEnabled << " UnZoom " << s.UnZoomEnabled
         << " ReZoom " << s.ReZoomEnabled << " Move " << s.MoveDown << " ZoomAxis " << s.ZoomAxisDown << " Select "
         << s.SelectDown << " ZoomSel " << s.ZoomSelDown << " Cursor " << s.CursorDown;
}

namespace {

using Command = void (ViewCommands::*)();

ZoomView Uniform(AxisRange x, AxisRange y) { return {x, {y, y, y, y}}; }

// A view told apart from others by its X Min alone.
ZoomView Numbered(int id) { return Uniform({static_cast<double>(id), 1}, {0, 1}); }

class ViewCommandsTest : public ::testing::Test {
protected:
    ViewCommandsTest() {
        plot.OnXAxisSpanChange = [this](int, double, double) { view.AxisSpanChanged(); };
        plot.OnYAxisSpanChange = [this](int index, double, double) { view.YAxisSpanChanged(index); };
        plot.OnBeforeZoomBox = [this](TPlotRect&, bool&) { view.BeforeZoomBox(); };
        view.OnStatesChange = [this](const ViewButtonStates& states) {
            shown = states;
            ++notifications;
        };
    }

    TPlotXAxis& XAxis() { return *plot.GetXAxis(0); }
    TPlotYAxis& YAxis(int k) { return *plot.GetYAxis(k); }

    ZoomView OnScreen() {
        ZoomView v;
        v.X = {XAxis().GetMin(), XAxis().GetSpan()};
        for (int k = 0; k < ZoomView::kYAxisCount; ++k) v.Y[k] = {YAxis(k).GetMin(), YAxis(k).GetSpan()};
        return v;
    }

    // Sets the axes as a user would (which pauses), then resumes, so that a command starts from
    // a running display; the notifications so far are forgotten.
    void StartFrom(const ZoomView& v) {
        XAxis().SetMinSpan(v.X.Min, v.X.Span);
        for (int k = 0; k < ZoomView::kYAxisCount; ++k) YAxis(k).SetMinSpan(v.Y[k].Min, v.Y[k].Span);
        view.Resume();
        notifications = 0;
    }

    bool AnyAxisTracking() {
        bool any = XAxis().GetTrackingEnabled();
        for (int k = 0; k < ZoomView::kYAxisCount; ++k) any = any || YAxis(k).GetTrackingEnabled();
        return any;
    }

    bool AllAxesTracking() {
        bool all = XAxis().GetTrackingEnabled();
        for (int k = 0; k < ZoomView::kYAxisCount; ++k) all = all && YAxis(k).GetTrackingEnabled();
        return all;
    }

    void SetAllMarkers(bool visible) {
        for (int i = 0; i < 4; ++i) plot.GetChannel(i)->SetMarkersVisible(visible);
    }

    // Markers are switched on all four channels together; -1 when they disagree.
    int Markers() {
        const bool first = plot.GetChannel(0)->GetMarkersVisible();
        for (int i = 1; i < 4; ++i)
            if (plot.GetChannel(i)->GetMarkersVisible() != first) return -1;
        return first ? 1 : 0;
    }

    static ViewButtonStates Paused(bool unZoom, bool reZoom) {
        ViewButtonStates s;
        s.ResumeEnabled = true;
        s.PauseEnabled = false;
        s.UnZoomEnabled = unZoom;
        s.ReZoomEnabled = reZoom;
        return s;
    }

    TPlot plot;
    bool configured = (ConfigureScopePlot(plot), true);  // before the commands read the toolbar
    uint32_t screenWidth = 50000;
    ViewCommands view{plot, [this] { return screenWidth; }};
    ViewButtonStates shown;
    int notifications = 0;
};

// ---- The history alone --------------------------------------------------------------------

// Views are numbered by what is on screen. Each step: what the user does, the view on screen
// when Un Zoom saves it, the view shown afterwards (-1: nothing restored), and the history.
TEST(ZoomHistory, UnZoomAndReZoomWalkAnAppendOnlyHistory) {
    enum Op { Push, Undo, Redo, Empty };
    struct Step {
        Op op;
        int screen;  // pushed (Push) or on screen (Undo)
        int restored;
        int length, position;
        bool unZoom, reZoom;
    } steps[] = {
        {Push, 0, -1, 1, 1, true, false},   // zoom from 0 to 1
        {Push, 1, -1, 2, 2, true, false},   // zoom from 1 to 2
        {Undo, 2, 1, 3, 1, true, true},     // 2 is saved before leaving it
        {Undo, 1, 0, 3, 0, false, true},    // the oldest: Un Zoom ends
        {Undo, 0, -1, 3, 0, false, true},   // disabled: nothing changes
        {Redo, 0, 1, 3, 1, true, true},
        {Push, 1, -1, 4, 4, true, false},   // zoom from 1 to 3: appended after 2, nothing lost
        {Undo, 3, 1, 5, 3, true, true},     // 3 saved; back to the view before it
        {Undo, 1, 2, 5, 2, true, true},     // the newer entry kept from before
        {Redo, 0, 1, 5, 3, true, true},
        {Redo, 0, 3, 5, 4, true, false},    // the saved view: Re Zoom ends
        {Redo, 0, -1, 5, 4, true, false},   // disabled: nothing changes
        {Undo, 3, 1, 5, 3, true, true},     // 3 saved again in its own place, not appended
        {Empty, 0, -1, 0, 0, false, false}, // Run
        {Undo, 7, -1, 0, 0, false, false},  // nothing to go back to
    };
    ZoomHistory history;
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(n++);
        std::optional<ZoomView> restored;
        switch (s.op) {
            case Push: history.Push(Numbered(s.screen)); break;
            case Undo: restored = history.UnZoom(Numbered(s.screen)); break;
            case Redo: restored = history.ReZoom(); break;
            case Empty: history.Empty(); break;
        }
        if (s.restored < 0) {
            EXPECT_FALSE(restored.has_value());
        } else {
            ASSERT_TRUE(restored.has_value());
            EXPECT_EQ(*restored, Numbered(s.restored));
        }
        EXPECT_EQ(history.Length(), s.length);
        EXPECT_EQ(history.Position(), s.position);
        EXPECT_EQ(history.UnZoomEnabled(), s.unZoom);
        EXPECT_EQ(history.ReZoomEnabled(), s.reZoom);
    }
    EXPECT_THROW(history.Entry(0), std::out_of_range);
}

// ---- Zoom commands --------------------------------------------------------------------------

// From X 1000/3000 and every Y axis -1000/4000 (Y axes 1..3 hidden, as the scope starts), with
// channels 0 and 1 holding X 50..400 and hidden channel 2 reaching X 10000.
TEST_F(ViewCommandsTest, EachZoomPausesSavesTheViewAndCanBeUndoneAndRedone) {
    const ZoomView start = Uniform({1000, 3000}, {-1000, 4000});
    const AxisRange full{-40000, 80000};
    const AxisRange y = start.Y[0];
    struct Case {
        const char* name;
        Command command;
        ZoomView expected;
        bool markersOff;
    } cases[] = {
        {"Zoom In", &ViewCommands::ZoomIn, Uniform({1750, 1500}, {0, 2000}), false},
        {"Zoom Out", &ViewCommands::ZoomOut, Uniform({-500, 6000}, {-3000, 8000}), false},
        {"X Axis Zoom In", &ViewCommands::ZoomInX, {{1750, 1500}, {y, y, y, y}}, false},
        {"X Axis Zoom Out", &ViewCommands::ZoomOutX, {{-500, 6000}, {y, y, y, y}}, false},
        {"Y Axis Zoom In", &ViewCommands::ZoomInY, {start.X, {AxisRange{0, 2000}, y, y, y}}, false},
        {"Y Axis Zoom Out", &ViewCommands::ZoomOutY, {start.X, {AxisRange{-3000, 8000}, y, y, y}}, false},
        {"Zoom Fit", &ViewCommands::ZoomFit, Uniform({-22500, 50000}, full), true},
        {"Zoom All", &ViewCommands::ZoomAll, Uniform({50, 350}, full), true},
    };
    plot.GetChannel(0)->AddXY(100, 5);
    plot.GetChannel(0)->AddXY(400, 5);
    plot.GetChannel(1)->AddXY(50, 0);
    plot.GetChannel(1)->AddXY(300, 0);
    plot.GetChannel(2)->AddXY(10000, 0);
    plot.GetChannel(2)->SetVisible(false);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view.EmptyHistory();
        StartFrom(start);
        SetAllMarkers(true);

        (view.*c.command)();
        EXPECT_EQ(OnScreen(), c.expected);
        EXPECT_FALSE(AnyAxisTracking());
        EXPECT_EQ(view.States(), Paused(true, false));
        EXPECT_EQ(shown, view.States());
        EXPECT_EQ(notifications, 1) << "the spans the command changed came back as more changes";
        ASSERT_EQ(view.History().Length(), 1) << "the spans the command changed were saved as views";
        EXPECT_EQ(view.History().Entry(0), start);
        EXPECT_EQ(Markers(), c.markersOff ? 0 : 1);

        view.UnZoom();
        EXPECT_EQ(OnScreen(), start);
        EXPECT_EQ(shown, Paused(false, true));
        EXPECT_EQ(Markers(), 0) << "span 3000";

        view.ReZoom();
        EXPECT_EQ(OnScreen(), c.expected);
        EXPECT_EQ(shown, Paused(true, false));
        EXPECT_EQ(Markers(), c.expected.X.Span < 500 ? 1 : 0);
    }
}

TEST_F(ViewCommandsTest, ZoomFitCentresTheScreenWidthOnAWholeSample) {
    struct Case {
        double min, span;
        uint32_t width;
        double expectedMin;
    } cases[] = {
        {1000, 3000, 50000, -22500},
        {0, 50000, 50000, 0},
        {-1001, 1, 1000, -1500},  // centre -1000.5 goes toward zero, to -1000
        {0.6, 10, 1001, -495},    // centre 5.6 to 5; half of 1001 is 500
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.min);
        StartFrom(Uniform({c.min, c.span}, {-5, 10}));
        screenWidth = c.width;
        view.ZoomFit();
        EXPECT_EQ(OnScreen(), Uniform({c.expectedMin, static_cast<double>(c.width)}, {-40000, 80000}));
    }
}

TEST_F(ViewCommandsTest, YZoomTouchesAxisZeroAndTheShownYAxesOnly) {
    struct Case {
        const char* name;
        std::set<int> shownAxes;
        std::set<int> zoomed;
    } cases[] = {
        {"Y axis 0 only", {0}, {0}},
        {"Show Y Axis For Ch3", {0, 2}, {0, 2}},
        {"every axis shown", {0, 1, 2, 3}, {0, 1, 2, 3}},
        {"even a hidden Y axis 0", {}, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int k = 0; k < ZoomView::kYAxisCount; ++k) YAxis(k).SetVisible(c.shownAxes.count(k) > 0);
        for (Command command : {&ViewCommands::ZoomInY, &ViewCommands::ZoomOutY}) {
            StartFrom(Uniform({0, 50000}, {-40000, 80000}));
            (view.*command)();
            const double span = command == &ViewCommands::ZoomInY ? 40000 : 160000;
            for (int k = 0; k < ZoomView::kYAxisCount; ++k)
                EXPECT_EQ(YAxis(k).GetSpan(), c.zoomed.count(k) ? span : 80000) << "Y axis " << k;
        }
    }
}

// ---- The history on the plot --------------------------------------------------------------

TEST_F(ViewCommandsTest, TwentyFiveZoomsKeepTheViewsBeforeTheLastTwenty) {
    std::vector<ZoomView> before(26);  // before[k]: the view before zoom k
    for (int k = 1; k <= 25; ++k) {
        before[k] = OnScreen();
        view.ZoomInX();
    }
    const ZoomView last = OnScreen();
    EXPECT_EQ(view.History().Length(), 20);
    EXPECT_EQ(view.History().Entry(0), before[6]);

    view.UnZoom();  // saves the view after zoom 25, which drops the one before zoom 6
    EXPECT_EQ(OnScreen(), before[25]);
    EXPECT_EQ(view.History().Entry(0), before[7]);
    for (int k = 24; k >= 7; --k) {
        EXPECT_TRUE(view.States().UnZoomEnabled) << k;
        view.UnZoom();
        EXPECT_EQ(OnScreen(), before[k]);
    }
    EXPECT_EQ(view.States(), Paused(false, true));
    view.UnZoom();
    EXPECT_EQ(OnScreen(), before[7]);

    for (int k = 8; k <= 25; ++k) {
        view.ReZoom();
        EXPECT_EQ(OnScreen(), before[k]);
    }
    EXPECT_TRUE(view.States().ReZoomEnabled);
    view.ReZoom();
    EXPECT_EQ(OnScreen(), last);
    EXPECT_EQ(shown, Paused(true, false));
}

TEST_F(ViewCommandsTest, RunEmptiesTheHistoryAndRunsTheDisplayAgain) {
    view.ZoomInX();
    view.ZoomInX();
    view.UnZoom();
    ASSERT_EQ(shown, Paused(true, true));
    view.RestartDisplay();
    EXPECT_EQ(shown, ViewButtonStates{});
    EXPECT_TRUE(AllAxesTracking());

    const ZoomView screen = OnScreen();
    view.UnZoom();
    view.ReZoom();
    EXPECT_EQ(OnScreen(), screen);
    EXPECT_EQ(view.History().Length(), 0);
}

// Whatever froze the display, RUN shows the new samples as they come.
TEST_F(ViewCommandsTest, RunResumesADisplayFrozenByAnyMeans) {
    struct Case {
        const char* name;
        std::function<void()> freeze;
    } cases[] = {
        {"click", [this] { view.PlotClick(); }},
        {"zoom", [this] { view.ZoomInY(); }},
        {"select", [this] { view.Select(); }},
        {"cursor", [this] { view.Cursor(); }},
    };
    TPlotChannelCustom& channel = *plot.GetChannel(0);
    channel.AddXY(0, 0);  // the first value aligns instead of tracking
    double newestX = 50000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartFrom(Uniform({0, 50000}, {-40000, 80000}));
        c.freeze();
        ASSERT_TRUE(view.States().ResumeEnabled);
        view.RestartDisplay();
        EXPECT_EQ(shown, ViewButtonStates{});
        EXPECT_TRUE(AllAxesTracking());
        newestX += 10000;
        channel.AddXY(newestX, 0);
        EXPECT_EQ(XAxis().GetMax(), newestX) << "the X axis follows the data";
    }
}

// A loaded recording fills the screen whatever view the live data left, and a single sample
// still gets a span.
TEST_F(ViewCommandsTest, ARecordingIsShownWholeOnAPausedDisplay) {
    const struct Case {
        double count;
        AxisRange x;
    } cases[] = {{7, {0, 6}}, {1, {0, 1}}, {1500000, {0, 1499999}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        StartFrom(Uniform({123456, 500}, {-10, 20}));
        view.ZoomInX();
        view.ShowRecording(c.count);
        EXPECT_EQ(OnScreen(), Uniform(c.x, {-40000, 80000}));
        EXPECT_EQ(shown, Paused(false, false));
        EXPECT_EQ(Markers(), c.x.Span < 500 ? 1 : 0);
    }
}

TEST_F(ViewCommandsTest, AZoomBoxIsSavedBeforeItIsApplied) {
    const ZoomView start = OnScreen();
    TPlotRect box;
    bool cancel = false;
    plot.OnBeforeZoomBox(box, cancel);
    XAxis().SetMinSpan(100, 200);  // the data view applies the box
    YAxis(0).SetMinSpan(-10, 20);
    EXPECT_EQ(shown, Paused(true, false));

    view.UnZoom();
    EXPECT_EQ(OnScreen(), start);
    view.ReZoom();
    EXPECT_EQ(XAxis().GetSpan(), 200);
    EXPECT_EQ(YAxis(0).GetSpan(), 20);
}

TEST_F(ViewCommandsTest, DisabledUnZoomAndReZoomDoNothing) {
    SetAllMarkers(true);
    view.UnZoom();
    view.ReZoom();
    EXPECT_EQ(notifications, 0);
    EXPECT_TRUE(AllAxesTracking());
    EXPECT_EQ(Markers(), 1);
}

// ---- Pause, Resume and the modes ------------------------------------------------------------

TEST_F(ViewCommandsTest, ButtonStatesFollowTheCommands) {
    using V = ViewCommands;
    struct Case {
        const char* name;
        std::vector<Command> commands;
        bool paused;
        bool zoomAxis, select, zoomSel, cursor;
    } cases[] = {
        {"start-up", {}, false, false, false, false, false},
        {"Pause", {&V::Pause}, true, false, false, false, false},
        {"Resume", {&V::Pause, &V::Resume}, false, false, false, false, false},
        {"Zoom Axis", {&V::ZoomAxis}, false, true, false, false, false},
        {"Move", {&V::ZoomAxis, &V::Move}, false, false, false, false, false},
        {"Cursor down pauses", {&V::Cursor}, true, false, false, false, true},
        {"Cursor down while paused", {&V::Pause, &V::Cursor}, true, false, false, false, true},
        {"Cursor up stays paused", {&V::Cursor, &V::Cursor}, true, false, false, false, false},
        {"Resume raises Cursor", {&V::Cursor, &V::Resume}, false, false, false, false, false},
        {"Select", {&V::Select}, true, false, true, false, false},
        {"Select twice", {&V::Select, &V::Select}, true, false, false, false, false},
        {"Zoom Sel raises Select", {&V::Select, &V::ZoomSel}, true, false, false, true, false},
        {"Zoom Sel", {&V::ZoomSel}, true, false, false, true, false},
        {"Select raises Zoom Sel", {&V::ZoomSel, &V::Select}, true, false, true, false, false},
        {"Resume ends select mode", {&V::Select, &V::Resume}, false, false, false, false, false},
        {"Resume keeps Zoom Sel", {&V::ZoomSel, &V::Resume}, false, false, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPlot fresh;
        ConfigureScopePlot(fresh);
        ViewCommands commands(fresh, [] { return 50000u; });
        ViewButtonStates mirrored = commands.States();
        commands.OnStatesChange = [&](const ViewButtonStates& s) { mirrored = s; };
        for (Command command : c.commands) (commands.*command)();

        ViewButtonStates expected;
        expected.ResumeEnabled = c.paused;
        expected.PauseEnabled = !c.paused;
        expected.MoveDown = !c.zoomAxis;
        expected.ZoomAxisDown = c.zoomAxis;
        expected.SelectDown = c.select;
        expected.ZoomSelDown = c.zoomSel;
        expected.CursorDown = c.cursor;
        EXPECT_EQ(commands.States(), expected);
        EXPECT_EQ(mirrored, expected);
        // What the buttons show is what the plot does.
        EXPECT_EQ(fresh.GetXAxis(0)->GetTrackingEnabled(), !c.paused);
        EXPECT_EQ(fresh.GetYAxis(3)->GetMode(), c.zoomAxis ? ipamZoom : ipamScroll);
        EXPECT_EQ(fresh.GetDataCursor(0)->GetVisible(), c.cursor);
        EXPECT_EQ(fresh.GetSelectModeActive(), c.select);
    }
}

TEST_F(ViewCommandsTest, ClicksAndSpanChangesPause) {
    struct Case {
        const char* name;
        std::function<void()> act;
        bool pauses;
    } cases[] = {
        {"single click", [this] { view.PlotClick(); }, true},
        {"X span", [this] { XAxis().SetSpan(2000); }, true},
        {"span of a hidden Y axis", [this] { YAxis(3).SetSpan(10); }, true},
        {"X Min alone", [this] { XAxis().SetMin(123); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartFrom(Uniform({0, 50000}, {-40000, 80000}));
        c.act();
        EXPECT_EQ(view.States().ResumeEnabled, c.pauses);
        EXPECT_EQ(shown.ResumeEnabled, c.pauses);
        EXPECT_EQ(AllAxesTracking(), !c.pauses);
        EXPECT_EQ(view.History().Length(), 0);
    }
}

// The scope's channels feed the axes while the display runs: the X axis scrolls its Min along,
// and a Y axis narrowed by a zoom widens for the first value beyond it.
TEST_F(ViewCommandsTest, TrackingThatWidensASpanPausesTheDisplay) {
    TPlotChannelCustom& channel = *plot.GetChannel(0);
    channel.AddXY(0, 0);  // the first value aligns instead of tracking
    view.ZoomInY();
    view.Resume();
    channel.AddXY(60000, 15000);
    EXPECT_EQ(XAxis().GetMin(), 10000) << "the X axis did not scroll";
    EXPECT_FALSE(view.States().ResumeEnabled) << "scrolling paused the display";

    channel.AddXY(60001, 30000);
    EXPECT_EQ(YAxis(0).GetSpan(), 50000);
    EXPECT_EQ(shown, Paused(true, false));
    EXPECT_FALSE(AnyAxisTracking());
}

// The batch that crossed the narrowed range ends: the axis takes in every swing in view, both
// ways, and nothing else moves. A span the user changed is left as the user made it.
TEST_F(ViewCommandsTest, AYAxisWidenedByItsDataTakesInTheDataInView) {
    TPlotChannelCustom& channel = *plot.GetChannel(0);
    TPlotChannelCustom& hidden = *plot.GetChannel(1);
    channel.AddXY(0, 0);
    channel.AddXY(10000, -26000);
    hidden.AddXY(10000, -35000);
    hidden.SetVisible(false);
    view.ZoomInY();
    view.Resume();
    const double xMin = XAxis().GetMin();

    channel.AddXY(20000, 30000);
    EXPECT_EQ(YAxis(0).GetMax(), 30000) << "tracking stops at the first value beyond";
    EXPECT_EQ(YAxis(0).GetMin(), -20000);
    view.SamplesAppended();
    EXPECT_EQ(YAxis(0).GetMin(), -26000) << "the swing in view, but not the hidden channel's";
    EXPECT_EQ(YAxis(0).GetMax(), 30000);
    EXPECT_EQ(XAxis().GetMin(), xMin);
    EXPECT_EQ(shown, Paused(true, false));
    EXPECT_EQ(view.History().Length(), 1) << "no view saved for the widening";

    YAxis(0).SetMinSpan(-100, 200);  // as a drag does, on a paused display
    view.SamplesAppended();
    EXPECT_EQ(YAxis(0).GetMin(), -100);
    EXPECT_EQ(YAxis(0).GetSpan(), 200);
}

// An axis that brings back its paused range on resume changes its span inside Resume: that
// must not pause the display Resume has just started.
TEST_F(ViewCommandsTest, AResumeThatRestoresSpansStaysResumed) {
    XAxis().SetRestoreValuesOnResume(true);
    view.Pause();
    XAxis().SetSpan(1000);
    view.Resume();
    EXPECT_EQ(XAxis().GetSpan(), 50000);
    EXPECT_TRUE(AllAxesTracking());
    EXPECT_EQ(shown, ViewButtonStates{});
}

// A trigger sweep holds the X axis without pausing the display or touching the user's history;
// the data then move on beyond it and it stays. Following the data again is refused while the
// user has the display paused.
TEST_F(ViewCommandsTest, ASweepHoldsTheXAxisWithoutPausing) {
    TPlotChannelCustom& channel = *plot.GetChannel(0);
    channel.AddXY(0, 0);
    StartFrom(Uniform({0, 50000}, {-40000, 80000}));
    view.HoldSweep(1234.5, 1000);
    EXPECT_EQ(OnScreen().X, (AxisRange{1234.5, 1000}));
    EXPECT_FALSE(XAxis().GetTrackingEnabled());
    EXPECT_EQ(view.States(), ViewButtonStates{});
    EXPECT_EQ(view.History().Length(), 0);
    channel.AddXY(60000, 100);
    EXPECT_EQ(OnScreen().X, (AxisRange{1234.5, 1000}));

    view.FollowData();
    EXPECT_TRUE(AllAxesTracking());
    channel.AddXY(60001, 100);
    EXPECT_EQ(XAxis().GetMax(), 60001);
    EXPECT_EQ(view.States(), ViewButtonStates{});

    view.HoldSweep(5000, 1000);
    view.Pause();
    view.FollowData();
    EXPECT_FALSE(AnyAxisTracking());
    EXPECT_EQ(OnScreen().X, (AxisRange{5000, 1000}));
}

TEST_F(ViewCommandsTest, DoubleClickZoomsToFitOutsideCursorMode) {
    XAxis().SetMinSpan(1000, 3000);
    EXPECT_TRUE(view.PlotDoubleClick());
    EXPECT_EQ(XAxis().GetMin(), -22500);
    EXPECT_EQ(view.History().Length(), 1);

    view.Cursor();
    const ZoomView screen = OnScreen();
    EXPECT_FALSE(view.PlotDoubleClick());
    EXPECT_EQ(OnScreen(), screen);
    EXPECT_EQ(view.History().Length(), 1);
}

TEST_F(ViewCommandsTest, MarkersShowBelowAnXSpanOf500) {
    struct Case {
        double span;
        int markers;
    } cases[] = {{499, 1}, {500, 0}, {0.5, 1}, {50000, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.span);
        SetAllMarkers(c.markers == 0);
        XAxis().SetSpan(c.span);
        view.ShowMarkersBySpan();
        EXPECT_EQ(Markers(), c.markers);
    }
}

}  // namespace
}  // namespace ondrix
