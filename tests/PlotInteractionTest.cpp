// Working the plot with mouse and keys: events synthesised on the real window, offscreen, reach
// the plot's objects through hit-testing and the selection; axes move by drag, wheel, zoom box
// and keys; hints come and go on the component's timer.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

#include <string>
#include <vector>

#include "plot/axes/PlotAxis.h"
#include "plot/component/Plot.h"
#include "plot/qt/PlotWidget.h"
#include "plot/qt/QtCanvas.h"
#include "plot/views/PlotDataView.h"
#include "plot/views/PlotToolBar.h"

using namespace ondrix;

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 400;

// A TPlot in its window with its layout worked out: X 0..100 and Y 0..100, tracking off, axis
// control on as in the scope. Events go to the window as the window system would send them.
struct InteractionRig : ::testing::Test {
    TPlot plot;
    TPlotWidget widget{plot};
    TPlotXAxis& xAxis = *plot.GetXAxis(0);
    TPlotYAxis& yAxis = *plot.GetYAxis(0);
    TPlotDataView& view = *plot.GetDataView(0);

    void SetUp() override {
        widget.resize(kWidth, kHeight);
        plot.SetBounds(kWidth, kHeight);
        plot.GetChannel(0)->SetXAxisTrackingEnabled(false);
        plot.GetChannel(0)->SetYAxisTrackingEnabled(false);
        xAxis.SetTrackingEnabled(false);
        yAxis.SetTrackingEnabled(false);
        xAxis.SetMinSpan(0, 100);
        yAxis.SetMinSpan(0, 100);
        view.SetAxesControlEnabled(true);
        plot.ReCalcLayout();
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), button, held, keys);
        QApplication::sendEvent(&widget, &event);
    }
    void Press(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier, Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonPress, at, button, button, keys);
    }
    void DragTo(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        Mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton, keys);
    }
    void Hover(QPoint at) { Mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }
    void Release(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier, Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton, keys);
    }
    void Click(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        Press(at, keys);
        Release(at, keys);
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        Press(from, keys);
        DragTo(to, keys);
        Release(to, keys);
    }
    void Wheel(QPoint at, int delta) {
        QWheelEvent event(QPointF(at), widget.mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&widget, &event);
    }
    void Key(int qtKey) {
        QKeyEvent event(QEvent::KeyPress, qtKey, Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    }

    QPoint ViewCentre() const {
        const TPlotRect& r = view.GetDrawRect();
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    QPoint Centre(const TPlotLayoutObject& obj) const {
        const TPlotRect& r = obj.GetDrawRect();
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
};

using PlotInteraction = InteractionRig;

TEST_F(PlotInteraction, APressOnNothingClearsEverySelection) {
    Click(ViewCentre());
    ASSERT_TRUE(view.GetUserSelected());
    xAxis.SetUserSelected(true);
    Click({1, 1});  // the border: no object there
    EXPECT_FALSE(view.GetUserSelected());
    EXPECT_FALSE(xAxis.GetUserSelected());
}

TEST_F(PlotInteraction, DraggingTheDataViewMovesTheAxesAShiftDragKeepsToTheFirstDirection) {
    struct Row {
        const char* what;
        QPoint firstStep;  // from the press
        Qt::KeyboardModifiers keys;
        bool xMoves, yMoves;
    };
    const Row rows[] = {
        {"plain drag", {40, 30}, Qt::NoModifier, true, true},
        {"shift, 4 px right first", {4, 0}, Qt::ShiftModifier, true, false},
        {"shift, 4 px down first", {0, 4}, Qt::ShiftModifier, false, true},
        // 3 pixels decide nothing; the next move passes both distances at once, and Y wins.
        {"shift, 3 px right, then diagonal", {3, 0}, Qt::ShiftModifier, false, true},
    };
    for (const Row& r : rows) {
        SetUp();
        const QPoint start = ViewCentre();
        Press(start, r.keys);
        DragTo(start + r.firstStep, r.keys);
        const double xAfterFirst = xAxis.GetMin();
        const double yAfterFirst = yAxis.GetMin();
        DragTo(start + r.firstStep + QPoint(30, 30), r.keys);
        Release(start + r.firstStep + QPoint(30, 30), r.keys);
        EXPECT_EQ(xAxis.GetMin() != xAfterFirst, r.xMoves) << r.what;
        EXPECT_EQ(yAxis.GetMin() != yAfterFirst, r.yMoves) << r.what;
        EXPECT_DOUBLE_EQ(xAxis.GetSpan(), 100) << r.what << ": scroll mode keeps the span";
    }
}

TEST_F(PlotInteraction, AZoomBoxDrawnDownAndRightSetsTheAxesToItsCornersOnlyUnlessTheHostVetoes) {
    plot.GetToolBar(0)->DoButtonClickZoomBox();
    const TPlotRect& r = view.GetDrawRect();
    const QPoint topLeft(r.Left + 40, r.Top + 30);
    const QPoint bottomRight(r.Left + 140, r.Top + 130);

    Drag(bottomRight, topLeft);
    EXPECT_DOUBLE_EQ(xAxis.GetMin(), 0) << "drawn up and to the left";
    EXPECT_DOUBLE_EQ(xAxis.GetSpan(), 100);
    Drag(topLeft, {topLeft.x() + 50, topLeft.y()});
    EXPECT_DOUBLE_EQ(yAxis.GetSpan(), 100) << "no height";

    bool veto = true;
    int asked = 0;
    plot.OnBeforeZoomBox = [&](TPlotRect&, bool& cancel) {
        ++asked;
        cancel = veto;
    };
    xAxis.SetTrackingEnabled(true);
    Drag(topLeft, bottomRight);
    EXPECT_EQ(asked, 1);
    EXPECT_DOUBLE_EQ(xAxis.GetSpan(), 100) << "vetoed";
    EXPECT_FALSE(xAxis.GetTrackingEnabled()) << "the press paused tracking already";

    veto = false;
    const double left = xAxis.PixelsToPosition(topLeft.x());
    const double right = xAxis.PixelsToPosition(bottomRight.x());
    const double bottom = yAxis.PixelsToPosition(bottomRight.y());
    const double top = yAxis.PixelsToPosition(topLeft.y());
    Drag(topLeft, bottomRight);
    EXPECT_DOUBLE_EQ(xAxis.GetMin(), left);
    EXPECT_DOUBLE_EQ(xAxis.GetMax(), right);
    EXPECT_DOUBLE_EQ(yAxis.GetMin(), bottom);
    EXPECT_DOUBLE_EQ(yAxis.GetMax(), top);
}

TEST_F(PlotInteraction, TheWheelMovesTheAxesOnlyOnceTheDataViewIsSelectedAndOnlyInScrollZoomMode) {
    Wheel(ViewCentre(), 120);
    EXPECT_DOUBLE_EQ(xAxis.GetMin(), 0) << "the data view was never clicked";

    Click(ViewCentre());
    Wheel(ViewCentre(), 120);
    EXPECT_NE(xAxis.GetMin(), 0);
    EXPECT_DOUBLE_EQ(yAxis.GetMin(), 0) << "the wheel moves X axes by default";

    for (auto mode : {&TPlotToolBar::DoButtonClickZoomBox, &TPlotToolBar::DoButtonClickSelect}) {
        (plot.GetToolBar(0)->*mode)();
        Click(ViewCentre());
        const double before = xAxis.GetMin();
        Wheel(ViewCentre(), 120);
        EXPECT_DOUBLE_EQ(xAxis.GetMin(), before);
    }
}

TEST_F(PlotInteraction, ShiftClickingTwoAxesKeepsBothSelectedAndAPlainDragMovesBoth) {
    TPlotXAxis& second = *plot.GetXAxis(plot.AddXAxis());
    second.SetTrackingEnabled(false);
    second.SetMinSpan(0, 100);
    plot.ReCalcLayout();

    Click(Centre(xAxis), Qt::ShiftModifier);
    Click(Centre(second), Qt::ShiftModifier);
    EXPECT_TRUE(xAxis.GetUserSelected());
    EXPECT_TRUE(second.GetUserSelected());

    Drag(Centre(second), Centre(second) + QPoint(50, 0));
    EXPECT_NE(xAxis.GetMin(), 0);
    EXPECT_NE(second.GetMin(), 0);

    Click(ViewCentre());
    EXPECT_FALSE(xAxis.GetUserSelected()) << "a plain click elsewhere ends the multiple selection";
    EXPECT_FALSE(second.GetUserSelected());
}

TEST_F(PlotInteraction, ADoubleClickInTheDataViewRaisesItsDoubleClickEventNotItsClick) {
    std::vector<std::string> heard;
    plot.OnClickDataView = [&](int index) { heard.push_back("click " + std::to_string(index)); };
    plot.OnDblClickDataView = [&](int index) { heard.push_back("double " + std::to_string(index)); };
    const QPoint at = ViewCentre();
    Click(at);
    Mouse(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    Release(at);
    EXPECT_EQ(heard, (std::vector<std::string>{"click 0", "double 0"}));
}

TEST_F(PlotInteraction, NoObjectEventIsRaisedWhileTheComponentLoads) {
    int clicks = 0;
    plot.OnClickDataView = [&](int) { ++clicks; };
    plot.OnGotFocusDataView = [&](int) { ++clicks; };
    plot.SetLoading(true);
    Click(ViewCentre());
    plot.SetLoading(false);
    EXPECT_EQ(clicks, 0);
}

TEST_F(PlotInteraction, AReleaseMissedElsewhereIsDeliveredByTheNextMoveWithoutAButton) {
    int releases = 0;
    plot.OnMouseUpDataView = [&](int, TMouseButton, TShiftState, int, int) { ++releases; };
    Press(ViewCentre());
    Hover(ViewCentre() + QPoint(5, 5));
    EXPECT_EQ(releases, 1);
    EXPECT_EQ(plot.GetDownObject(), nullptr);
}

TEST_F(PlotInteraction, LosingTheKeyboardFocusEndsADrag) {
    const QPoint start = ViewCentre();
    Press(start);
    DragTo(start + QPoint(20, 0));
    const double dragged = xAxis.GetMin();
    QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&widget, &focusOut);
    EXPECT_FALSE(view.GetPressed());
    EXPECT_EQ(plot.GetDownObject(), nullptr);
    DragTo(start + QPoint(60, 0));
    EXPECT_DOUBLE_EQ(xAxis.GetMin(), dragged) << "the drag went on after the focus was lost";
}

TEST_F(PlotInteraction, PageUpOnAMasterXAxisMovesEveryXAxis) {
    TPlotXAxis& second = *plot.GetXAxis(plot.AddXAxis());
    second.SetTrackingEnabled(false);
    second.SetMinSpan(0, 100);
    xAxis.SetMasterUIInput(true);
    plot.ReCalcLayout();

    Click(Centre(xAxis));
    Key(Qt::Key_PageUp);
    EXPECT_NE(xAxis.GetMin(), 0);
    EXPECT_DOUBLE_EQ(second.GetMin(), xAxis.GetMin()) << "the key was replayed once on the other axis";
    EXPECT_DOUBLE_EQ(yAxis.GetMin(), 0) << "Y axes are another kind";
}

TEST_F(PlotInteraction, ARightPressOffersTheAxisMenuUnlessTheHostCancels) {
    std::vector<std::string> shown;
    plot.OnShowPopupMenu = [&](TPlotPopupMenu& menu, int, int) {
        for (const TPlotMenuItem& item : menu.Items()) shown.push_back(item.Caption);
    };
    bool cancel = false;
    plot.OnPopupMenuXAxis = [&](int, bool& c, int, int) { c = cancel; };
    Press(Centre(xAxis), Qt::NoModifier, Qt::RightButton);
    Release(Centre(xAxis), Qt::NoModifier, Qt::RightButton);
    EXPECT_EQ(shown, (std::vector<std::string>{"Tracking Enabled", "Update Resume Values", "Zoom to Fit", "Edit..."}));

    shown.clear();
    cancel = true;
    Press(Centre(xAxis), Qt::NoModifier, Qt::RightButton);
    EXPECT_TRUE(shown.empty());
}

// The hint timing without a window: the component's timer is the test's.
struct HintRig : ::testing::Test {
    std::vector<int> armed;  // intervals the timer was started with; -1 for a stop; outlives the plot
    TPlot plot;
    TPlotXAxis& xAxis = *plot.GetXAxis(0);

    void SetUp() override {
        plot.OnTimerArm = [this](int ms) { armed.push_back(ms); };
        plot.OnTimerDisarm = [this] { armed.push_back(-1); };
        xAxis.SetTitle("Time");
        xAxis.SetTitleShow(false);
        plot.SetSurfaceFactory(std::make_shared<QtSurfaceFactory>());
        plot.ReCalcLayout();
    }
    TPlotPoint OverAxis() const {
        const TPlotRect& r = xAxis.GetDrawRect();
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    QImage Painted() {
        QImage image(plot.GetWidth(), plot.GetHeight(), QImage::Format_RGB32);
        QtCanvas canvas(image);
        plot.iPaintTo(canvas);
        return image;
    }
    int LastStart() const {
        for (auto it = armed.rbegin(); it != armed.rend(); ++it)
            if (*it >= 0) return *it;
        return -1;
    }
};

TEST_F(HintRig, AnAxisWithAHiddenTitleOffersItAsAHintThatComesAfterThePauseAndGoes) {
    std::string customised;
    plot.OnXAxisCustomizeHint = [&](int, std::string& text) {
        customised = text;
        text += "!";
    };
    const TPlotPoint at = OverAxis();
    plot.iMouseMove(0, at.X, at.Y);
    EXPECT_EQ(customised, "Time");
    EXPECT_EQ(LastStart(), 500);
    EXPECT_FALSE(plot.GetHintShowing());

    const QImage before = Painted();
    plot.TimerTick();
    EXPECT_TRUE(plot.GetHintShowing());
    EXPECT_EQ(plot.GetHintText(), "Time!");
    EXPECT_EQ(LastStart(), 2500);
    // The box sits at the pointer, 20 pixels up, and changes nothing else.
    const QImage with = Painted();
    int inBox = 0;
    int elsewhere = 0;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x) {
            if (with.pixel(x, y) == before.pixel(x, y)) continue;
            const bool near = x >= at.X && x < at.X + 60 && y >= at.Y - 20 && y < at.Y + 5;
            (near ? inBox : elsewhere) += 1;
        }
    EXPECT_GT(inBox, 100);
    EXPECT_EQ(elsewhere, 0);

    plot.TimerTick();
    EXPECT_FALSE(plot.GetHintShowing()) << "gone after the hide pause";

    plot.iMouseMove(0, at.X, at.Y);
    plot.TimerTick();
    ASSERT_TRUE(plot.GetHintShowing());
    plot.iMouseMove(0, at.X + 1, at.Y);
    EXPECT_FALSE(plot.GetHintShowing()) << "any move removes it";

    plot.SetHintsShow(false);
    armed.clear();
    plot.iMouseMove(0, at.X, at.Y);
    EXPECT_EQ(LastStart(), -1) << "hints off";
}

TEST_F(HintRig, NoHintStartsDuringAGestureOrRightAfterTheMouseLeft) {
    const TPlotPoint at = OverAxis();
    plot.iMouseDown(mbLeft, ssLeft, at.X, at.Y);
    armed.clear();
    plot.iMouseMove(ssLeft, at.X, at.Y);
    EXPECT_EQ(LastStart(), -1) << "a button is held";
    plot.iMouseUp(mbLeft, 0, at.X, at.Y);

    plot.iMouseLeave();
    armed.clear();
    plot.iMouseMove(0, at.X, at.Y);
    EXPECT_EQ(LastStart(), -1);
    plot.iMouseMove(0, at.X, at.Y);
    EXPECT_EQ(LastStart(), 500);
}

}  // namespace

namespace {

// A host timer the test ticks by hand; it logs its starts and counts the timers alive.
struct ManualTimer : TPlotTimer {
    std::function<void()> tick;
    std::vector<int>& started;
    int& alive;
    ManualTimer(std::function<void()> onTick, std::vector<int>& log, int& count)
        : tick(std::move(onTick)), started(log), alive(count) {
        ++alive;
    }
    ~ManualTimer() override { --alive; }
    void Start(int intervalMs) override { started.push_back(intervalMs); }
    void Stop() override {}
};

TEST(PlotButtonAutoRepeat, HoldingTheButtonClicksAfterHalfASecondThenEvery50MsAndTheReleaseEndsIt) {
    TPlot plot;
    std::vector<int> started;
    int alive = 0;
    ManualTimer* timer = nullptr;
    plot.SetTimerFactory([&](std::function<void()> onTick) -> std::unique_ptr<TPlotTimer> {
        auto made = std::make_unique<ManualTimer>(std::move(onTick), started, alive);
        timer = made.get();
        return made;
    });
    TPlotButton button(&plot, {});
    button.SetEventSink(&plot);
    button.SetDrawRect({10, 10, 40, 40});
    button.SetAutoRepeat(true);
    int clicks = 0;
    button.OnClick = [&](TPlotButton&) { ++clicks; };

    button.iMouseDown(mbLeft, ssLeft, 20, 20);
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(started, (std::vector<int>{500}));
    timer->tick();
    timer->tick();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(started, (std::vector<int>{500, 50})) << "the rate takes over at the first tick";
    button.iMouseUp(mbLeft, 0, 20, 20, false);
    EXPECT_EQ(clicks, 3) << "the release inside is a click of its own";
    EXPECT_EQ(alive, 0) << "the release ends the repeat";

    button.iMouseDown(mbLeft, ssLeft, 20, 20);
    button.SetEnabled(false);
    EXPECT_EQ(alive, 0) << "disabling ends the repeat";
}

}  // namespace
