// What the user sees of live data in the main window, against the virtual MPU: RUN shows the
// new samples whatever view was frozen before, and a Y axis narrowed by a zoom widens for
// values beyond it before the display pauses.

#include <gtest/gtest.h>

#include <QTest>

#include <functional>
#include <string>

#include "MainWindowRig.h"
#include "ScopeRig.h"
#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannel.h"
#include "workbench/Mainform.h"

namespace ondrix {
namespace {

struct LiveWindow : test::MainWindow {
    explicit LiveWindow(const std::string& portsFolder) : test::MainWindow(test::WindowSetup(portsFolder)) {}

    void StartRunning() {
        form.Run.click();
        ASSERT_TRUE(form.Session().Running()) << (notifier.messages.empty() ? "" : notifier.messages[0]);
    }
    const TPlotXAxis& XAxis() { return *form.Plot1.GetXAxis(0); }
    const TPlotYAxis& YAxis() { return *form.Plot1.GetYAxis(0); }
    double NewestX() {
        const TPlotChannel& channel = *form.Plot1.GetChannel(0);
        return channel.GetDataX(channel.GetCount() - 1);
    }
};

// Each way of freezing the view, then STOP and RUN: the display runs, and its X axis reaches
// the newest samples as they come.
TEST(MainWindowLiveView, RunShowsTheNewSamplesWhateverViewWasFrozen) {
    struct Case {
        const char* name;
        std::function<void(TForm1&)> freeze;
    } cases[] = {
        {"a click on the plot", [](TForm1& form) { form.ToolBar1.ToolButton_Pause.trigger(); }},
        {"an X zoom", [](TForm1& form) { form.ToolBar1.ToolButton_ZoomInX.trigger(); }},
        {"Zoom All", [](TForm1& form) { form.ToolBar1.ToolButton_ZoomAll.trigger(); }},
        {"the cursors", [](TForm1& form) { form.ToolBar1.ToolButton_Cursor.trigger(); }},
    };
    test::VirtualMpuRig mpu;
    LiveWindow w(mpu.PortsFolder());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(w.StartRunning());
        ASSERT_TRUE(w.WaitForPoints(test::kScreenWidth + 200));
        c.freeze(w.form);
        ASSERT_TRUE(w.form.View().States().ResumeEnabled);
        w.form.Stop.click();

        ASSERT_NO_FATAL_FAILURE(w.StartRunning());
        EXPECT_FALSE(w.form.View().States().ResumeEnabled) << "RUN runs the display";
        EXPECT_FALSE(w.form.View().States().CursorDown);
        EXPECT_FALSE(w.form.ToolBar1.ToolButton_UnZoom.isEnabled()) << "the history is emptied";
        ASSERT_TRUE(w.WaitForPoints(test::kScreenWidth + 500));
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.XAxis().GetMax() >= w.NewestX() - 1; }, 2000))
            << "the newest sample " << w.NewestX() << " is beyond the view's end " << w.XAxis().GetMax();
        EXPECT_TRUE(w.XAxis().GetTrackingEnabled());
        w.form.Stop.click();
    }
    EXPECT_TRUE(w.notifier.messages.empty());
}

// The damped oscillation on CH4 swings to +30000 and -26489 (49 samples later) at the start of
// every 2000 samples.
// After Y Axis Zoom In to -20000..20000 and Resume, the first value beyond that range widens
// the span, which pauses the display; the swings in view are then taken in whole, not cut off
// at the first value that happened to cross.
TEST(MainWindowLiveView, ANarrowedYAxisWidensForTheDataBeyondItThenPauses) {
    test::VirtualMpuRig mpu;
    LiveWindow w(mpu.PortsFolder());
    ASSERT_NO_FATAL_FAILURE(w.StartRunning());
    ASSERT_TRUE(w.WaitForPoints(test::kScreenWidth + 2200)) << "a whole swing is in view";
    w.form.ToolBar1.ToolButton_ZoomInY.trigger();
    ASSERT_EQ(w.YAxis().GetMin(), -20000);
    ASSERT_EQ(w.YAxis().GetSpan(), 40000);

    w.form.ToolBar1.ToolButton_Resume.trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.form.View().States().ResumeEnabled; }, 5000))
        << "the damped swing beyond the narrowed range did not pause the display";
    EXPECT_EQ(w.YAxis().GetMax(), 30000);
    EXPECT_EQ(w.YAxis().GetMin(), -26489);
    EXPECT_FALSE(w.YAxis().GetTrackingEnabled());
    EXPECT_FALSE(w.form.ToolBar1.ToolButton_ReZoom.isEnabled());
    w.form.Stop.click();
}

}  // namespace
}  // namespace ondrix
