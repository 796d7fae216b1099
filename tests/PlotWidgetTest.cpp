// The window host of a component: repaint requests from any thread, the throttle with the real
// scheduler, size, input translation and the timer hooks.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPalette>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <thread>
#include <vector>

#include "plot/qt/PlotWidget.h"

using namespace ondrix;

namespace {

// Records what reaches it; paints a plain fill showing `content`. GUI thread only, except for
// the repaint requests the tests make from other threads.
class RecordingComponent : public TWindowedComponent {
public:
    struct Paint {
        std::thread::id thread;
        int content;
    };
    std::vector<Paint> paints;
    int content = 0;
    std::vector<std::string> input;
    bool wheelUsed = false;
    // How a key press fails: not at all, with the plot's own error, or with a fault.
    enum class KeyFailure { None, PlotError, Fault } keyFailure = KeyFailure::None;

    void iPaintTo(TCanvas& canvas) override {
        paints.push_back({std::this_thread::get_id(), content});
        canvas.SetBrush(TPlotBrush{clBlack, bsSolid});
        canvas.FillRect({0, 0, GetWidth(), GetHeight()});
    }
    void iMouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
        input.push_back("down " + Describe(button, shift, x, y));
    }
    void iMouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
        input.push_back("up " + Describe(button, shift, x, y));
    }
    void iMouseMove(TShiftState shift, int x, int y) override {
        input.push_back("move " + std::to_string(shift) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void iDoubleClick() override { input.push_back("double"); }
    bool iMouseWheel(int delta, TShiftState shift, int x, int y) override {
        input.push_back("wheel " + std::to_string(delta) + " " + std::to_string(shift) + " " + std::to_string(x) +
                        "," + std::to_string(y));
        return wheelUsed;
    }
    void iKeyDown(int& key, TShiftState shift) override {
        input.push_back("keydown " + std::to_string(key) + " " + std::to_string(shift));
        if (keyFailure == KeyFailure::PlotError) throw EPlotError("Index out of Bounds");
        if (keyFailure == KeyFailure::Fault) throw std::runtime_error("broken");
    }
    void iKeyUp(int& key, TShiftState shift) override {
        input.push_back("keyup " + std::to_string(key) + " " + std::to_string(shift));
    }
    void iKeyPress(char& key) override { input.push_back(std::string("keypress ") + key); }

private:
    static std::string Describe(TMouseButton button, TShiftState shift, int x, int y) {
        return std::to_string(button) + " " + std::to_string(shift) + " " + std::to_string(x) + "," + std::to_string(y);
    }
};

struct ShownWidget : ::testing::Test {
    void SetUp() override {
        widget = std::make_unique<TPlotWidget>(component);
        widget->resize(200, 100);
        widget->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !component.paints.empty(); }, 2000));
    }

    RecordingComponent component;
    std::unique_ptr<TPlotWidget> widget;
};

// ---- Repaints ------------------------------------------------------------------------------

TEST_F(ShownWidget, ARepaintRequestFromAnotherThreadPaintsOnTheGuiThread) {
    const size_t before = component.paints.size();
    std::thread([this] { component.InvalidateNow(); }).join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return component.paints.size() > before; }, 2000));
    for (const auto& paint : component.paints) EXPECT_EQ(paint.thread, std::this_thread::get_id());
}

TEST(PlotWidget, RequestsRacingTheWidgetsDestructionDoNothingOnceItIsGone) {
    RecordingComponent component;
    auto widget = std::make_unique<TPlotWidget>(component);
    widget->show();
    std::atomic<bool> stop{false};
    std::thread requester([&] {
        while (!stop) {
            component.InvalidateNow();
            component.InvalidateChange();
        }
    });
    QTest::qWait(50);
    widget.reset();
    const size_t paintedWhileShown = component.paints.size();
    QTest::qWait(50);
    stop = true;
    requester.join();
    component.InvalidateNow();
    QTest::qWait(20);
    EXPECT_EQ(component.paints.size(), paintedWhileShown);
}

TEST_F(ShownWidget, TheThrottleWithTheRealSchedulerBoundsThePaintsAndPaintsTheLastChange) {
    component.SetUpdateFrameRate(10);
    QTest::qWait(200);  // the frame-rate change has been painted
    const size_t before = component.paints.size();
    QElapsedTimer elapsed;
    elapsed.start();
    int changes = 0;
    while (elapsed.elapsed() < 1000) {
        component.content = ++changes;
        component.InvalidateChange();
        QCoreApplication::processEvents();
    }
    const size_t paintedWithinTheSecond = component.paints.size() - before;
    EXPECT_GT(changes, 1000);
    EXPECT_GE(paintedWithinTheSecond, 5u);
    EXPECT_LE(paintedWithinTheSecond, 11u) << "at most UpdateFrameRate + 1 paints in one second";
    ASSERT_TRUE(QTest::qWaitFor([&] { return component.paints.back().content == changes; }, 1000))
        << "the held-back last change is painted by the scheduled trailing repaint";
}

// ---- Size and input ------------------------------------------------------------------------

TEST_F(ShownWidget, AResizeSetsTheComponentsBounds) {
    widget->resize(321, 123);
    EXPECT_EQ(component.GetWidth(), 321);
    EXPECT_EQ(component.GetHeight(), 123);
}

TEST_F(ShownWidget, ANewPaletteRedrawsTheBackground) {
    component.TakeBackGroundChanged();
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Button, Qt::darkCyan);
    widget->setPalette(palette);
    EXPECT_TRUE(component.TakeBackGroundChanged());
}

TEST_F(ShownWidget, MouseButtonsAndMovesReachTheComponentWithButtonKeysAndPosition) {
    component.input.clear();
    QTest::mouseMove(widget.get(), QPoint(50, 60));
    QTest::mousePress(widget.get(), Qt::RightButton, Qt::ShiftModifier, QPoint(30, 40));
    QTest::mouseRelease(widget.get(), Qt::RightButton, Qt::ShiftModifier, QPoint(31, 41));
    const std::vector<std::string> expected = {
        "move 0 50,60",
        "down 1 " + std::to_string(ssShift | ssRight) + " 30,40",
        "up 1 " + std::to_string(ssShift) + " 31,41",
    };
    EXPECT_EQ(component.input, expected);
}

TEST_F(ShownWidget, ADoubleClickIsTheNotificationThenAPressFlaggedDouble) {
    component.input.clear();
    QTest::mouseDClick(widget.get(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 20));
    const auto dbl = std::find(component.input.begin(), component.input.end(), "double");
    ASSERT_NE(dbl, component.input.end());
    ASSERT_NE(dbl + 1, component.input.end());
    EXPECT_EQ(*(dbl + 1), "down 0 " + std::to_string(ssLeft | ssDouble) + " 10,20");
}

TEST_F(ShownWidget, TheWheelEventIsAcceptedOnlyWhenTheComponentUsedIt) {
    for (bool used : {false, true}) {
        component.input.clear();
        component.wheelUsed = used;
        QWheelEvent wheel(QPointF(15, 25), widget->mapToGlobal(QPointF(15, 25)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget.get(), &wheel);
        EXPECT_EQ(wheel.isAccepted(), used);
        EXPECT_EQ(component.input, std::vector<std::string>{"wheel -120 " + std::to_string(ssCtrl) + " 15,25"});
    }
}

TEST_F(ShownWidget, KeysArriveAsKeyCodesAndCharactersAndTheirErrorsAreSwallowed) {
    component.input.clear();
    QTest::keyClick(widget.get(), Qt::Key_Left, Qt::ControlModifier);
    QTest::keyClick(widget.get(), Qt::Key_A);
    const std::string ctrl = std::to_string(ssCtrl);
    const std::vector<std::string> expected = {
        "keydown 17 " + ctrl, "keydown 37 " + ctrl, "keyup 37 " + ctrl, "keyup 17 0",
        "keydown 65 0",       "keypress a",         "keyup 65 0",
    };
    EXPECT_EQ(component.input, expected);

    // A failing handler stops neither the event loop nor the next events; only a fault is reported.
    std::vector<std::string> reports;
    component.OnUnexpectedError = [&reports](const std::string& source, const std::exception& error) {
        reports.push_back(source + ": " + error.what());
    };
    using KeyFailure = RecordingComponent::KeyFailure;
    const std::pair<KeyFailure, std::vector<std::string>> failures[] = {
        {KeyFailure::PlotError, {}},
        {KeyFailure::Fault, {"an input handler: broken"}},
    };
    for (const auto& [failure, reported] : failures) {
        component.input.clear();
        reports.clear();
        component.keyFailure = failure;
        QTest::keyClick(widget.get(), Qt::Key_B);
        EXPECT_EQ(component.input, (std::vector<std::string>{"keydown 66 0", "keypress b", "keyup 66 0"}));
        EXPECT_EQ(reports, reported);
    }
}

TEST_F(ShownWidget, FocusSetsAndClearsTheComponentsFlag) {
    widget->activateWindow();
    widget->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return component.GetHasFocus(); }, 1000));
    widget->clearFocus();
    EXPECT_FALSE(component.GetHasFocus());
}

// ---- Timer ---------------------------------------------------------------------------------

TEST_F(ShownWidget, TheTimerHooksTickTheComponentUntilItStops) {
    int ticks = 0;
    component.OnTimer = [&] { ++ticks; };
    component.TimerStart(0, 10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 2000));
    component.TimerStop();
    const int stoppedAt = ticks;
    QTest::qWait(50);
    EXPECT_EQ(ticks, stoppedAt);

    ticks = 0;
    component.TimerStart(20, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks == 1; }, 2000));
    QTest::qWait(60);
    EXPECT_EQ(ticks, 1) << "an initial delay without a repeat interval fires once";
    EXPECT_FALSE(component.GetTimerRunning());
}

TEST_F(ShownWidget, GoingStopsTheComponentsTimerAndLeavesNoHookBehind) {
    int ticks = 0;
    component.OnTimer = [&] { ++ticks; };
    component.TimerStart(0, 10);
    widget.reset();
    EXPECT_FALSE(component.GetTimerRunning());
    EXPECT_FALSE(component.OnTimerArm);
    EXPECT_FALSE(component.OnTimerDisarm);
    component.TimerStart(0, 10);  // no host any more: nothing to arm, nothing to crash
    QTest::qWait(40);
    EXPECT_EQ(ticks, 0);
}

}  // namespace
