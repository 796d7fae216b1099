// The trigger in the main window, against the virtual MPU's square wave on CH3 (+-15000, period
// 1000 samples, one sample per millisecond): sweeps that hold the picture still, Single's pause
// and Resume, Auto's return to scrolling, and the settings kept in ondrix.ini.

#include <gtest/gtest.h>

#include <QTest>

#include <cmath>
#include <string>
#include <vector>

#include "Bytes.h"
#include "MainWindowRig.h"
#include "ScopeRig.h"
#include "SweepSettings.h"
#include "acquisition/ExtraSettings.h"
#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannel.h"
#include "workbench/Mainform.h"

namespace ondrix {
namespace {

constexpr int kSquareChannel = 2;
constexpr int kSweepWidth = 1000;

SweepSettings SquareTrigger(TriggerMode mode, double level = 0) {
    SweepSettings settings;
    settings.on = true;
    settings.detection = {kSquareChannel, TriggerEdge::Rising, level, 0};
    settings.mode = mode;
    return settings;
}

struct TriggerWindow : test::MainWindow {
    explicit TriggerWindow(const std::string& portsFolder, const std::string& settingsFolder = {})
        : test::MainWindow(test::WindowSetup(portsFolder).WithSettingsIn(settingsFolder)) {}

    // As the user sets it up: the screen width typed and left, which pauses, then Resume.
    void SetScreenWidth(int samples) {
        form.Others.Edit5.setText(QString::number(samples));
        Leave(form.Others.Edit5);
        form.ToolBar1.ToolButton_Resume.trigger();
    }
    // The user's change in the trigger bar.
    void ChooseTrigger(const SweepSettings& settings) {
        form.TriggerBar.Show(settings);
        form.TriggerBar.OnChange();
    }
    // RUN with the trigger on CH3's rising edge at `level`, one sweep 1000 samples wide.
    void StartSweeping(TriggerMode mode, double level = 0) {
        SetScreenWidth(kSweepWidth);
        ChooseTrigger(SquareTrigger(mode, level));
        form.Run.click();
        ASSERT_TRUE(form.Session().Running()) << (notifier.messages.empty() ? "" : notifier.messages[0]);
    }
    // The trigger point of the next sweep after `previous`; none after 10 s.
    std::optional<double> NextSweep(std::optional<double> previous) {
        if (!QTest::qWaitFor([&] { return form.Trigger().TriggerPoint() != previous; }, 10000)) return std::nullopt;
        return form.Trigger().TriggerPoint();
    }
    const TPlotXAxis& XAxis() { return *form.Plot1.GetXAxis(0); }
    const TPlotChannel& Square() { return *form.Plot1.GetChannel(kSquareChannel); }
    double SquareAt(double x) {
        const int index = static_cast<int>(x) - static_cast<int>(Square().GetDataX(0));
        return Square().GetDataY(index);
    }
    double NewestX() { return Square().GetDataX(Square().GetCount() - 1); }
};

TEST(MainWindowTrigger, NormalSweepsPutTheTriggerPointOnTheSamePixelSweepAfterSweep) {
    test::VirtualMpuRig mpu;
    TriggerWindow w(mpu.PortsFolder());
    ASSERT_NO_FATAL_FAILURE(w.StartSweeping(TriggerMode::Normal));

    std::optional<double> point;
    std::vector<int> pixels;
    for (int sweep = 0; sweep < 3; ++sweep) {
        point = w.NextSweep(point);
        ASSERT_TRUE(point) << "sweep " << sweep;
        // The sweep's screen: the trigger point 10 % in, from the square's own rising edge.
        EXPECT_FALSE(w.XAxis().GetTrackingEnabled());
        EXPECT_DOUBLE_EQ(w.XAxis().GetSpan(), kSweepWidth);
        EXPECT_DOUBLE_EQ(*point - w.XAxis().GetMin(), kSweepWidth / 10);
        EXPECT_EQ(w.SquareAt(std::floor(*point)), -15000) << *point;
        EXPECT_EQ(w.SquareAt(std::ceil(*point)), 15000) << *point;
        pixels.push_back(w.XAxis().PositionToPixels(*point));
        EXPECT_TRUE(w.form.View().States().PauseEnabled) << "a held sweep is not a paused display";
    }
    EXPECT_EQ(pixels[1], pixels[0]);
    EXPECT_EQ(pixels[2], pixels[0]);

    // The sweep holds the display, not the acquisition.
    const int points = w.Points(0);
    ASSERT_TRUE(w.WaitForPoints(points + 200));
    EXPECT_TRUE(w.notifier.messages.empty());
}

TEST(MainWindowTrigger, SinglePausesAfterOneSweepAndResumeArmsAgain) {
    test::VirtualMpuRig mpu;
    TriggerWindow w(mpu.PortsFolder());
    ASSERT_NO_FATAL_FAILURE(w.StartSweeping(TriggerMode::Single));

    const std::optional<double> first = w.NextSweep(std::nullopt);
    ASSERT_TRUE(first);
    EXPECT_TRUE(w.form.View().States().ResumeEnabled);
    EXPECT_FALSE(w.form.View().States().PauseEnabled);
    EXPECT_EQ(w.form.StatusBar1.HintPanel.text().toStdString(), TriggeredAtText(*first));
    const double heldMin = w.XAxis().GetMin();
    const int points = w.Points(0);
    ASSERT_TRUE(w.WaitForPoints(points + 1500)) << "the acquisition goes on";
    EXPECT_EQ(w.form.Trigger().TriggerPoint(), first) << "a second edge passed: Single took no second sweep";
    EXPECT_EQ(w.XAxis().GetMin(), heldMin);

    w.form.ToolBar1.ToolButton_Resume.trigger();
    const std::optional<double> second = w.NextSweep(first);
    ASSERT_TRUE(second);
    EXPECT_GT(*second, w.Points(0) - 3000.0) << "armed again at Resume, not a sweep of old data";
    EXPECT_TRUE(w.form.View().States().ResumeEnabled);
    EXPECT_EQ(w.form.StatusBar1.HintPanel.text().toStdString(), TriggeredAtText(*second));
}

// A Single sweep held, STOP, RUN: the new run arms Single again and shows the sweep it catches,
// not the old sweep's range over channels that RUN has cleared.
TEST(MainWindowTrigger, RunArmsSingleAgainAndShowsTheSweepItCatches) {
    test::VirtualMpuRig mpu;
    TriggerWindow w(mpu.PortsFolder());
    ASSERT_NO_FATAL_FAILURE(w.StartSweeping(TriggerMode::Single));
    const std::optional<double> old = w.NextSweep(std::nullopt);
    ASSERT_TRUE(old);
    w.form.Stop.click();

    w.form.Run.click();
    ASSERT_TRUE(w.form.Session().Running());
    EXPECT_TRUE(w.form.View().States().PauseEnabled) << "RUN runs the display until the sweep";
    const std::optional<double> caught = w.NextSweep(std::nullopt);
    ASSERT_TRUE(caught);
    EXPECT_GE(*caught, kSweepWidth) << "a sweep of the new samples, after the prefill";
    EXPECT_EQ(w.form.StatusBar1.HintPanel.text().toStdString(), TriggeredAtText(*caught));
    EXPECT_DOUBLE_EQ(*caught - w.XAxis().GetMin(), kSweepWidth / 10) << "the plot shows the sweep";
    EXPECT_DOUBLE_EQ(w.XAxis().GetSpan(), kSweepWidth);
    EXPECT_TRUE(w.form.View().States().ResumeEnabled) << "Single pauses after its sweep";
    EXPECT_TRUE(w.notifier.messages.empty());
}

// A level the square wave never reaches: after a screen width without a trigger, Auto scrolls
// with the data again, while Normal keeps the last sweep on the screen.
TEST(MainWindowTrigger, AutoScrollsAgainWithoutATriggerWhileNormalHoldsTheLastSweep) {
    for (const TriggerMode mode : {TriggerMode::Auto, TriggerMode::Normal}) {
        SCOPED_TRACE(mode == TriggerMode::Auto ? "Auto" : "Normal");
        test::VirtualMpuRig mpu;
        TriggerWindow w(mpu.PortsFolder());
        ASSERT_NO_FATAL_FAILURE(w.StartSweeping(mode));
        ASSERT_TRUE(w.NextSweep(std::nullopt));

        w.ChooseTrigger(SquareTrigger(mode, 20000));
        const double heldMin = w.XAxis().GetMin();
        ASSERT_TRUE(w.WaitForPoints(w.Points(0) + 2 * kSweepWidth));
        if (mode == TriggerMode::Auto) {
            EXPECT_TRUE(w.XAxis().GetTrackingEnabled());
            EXPECT_GT(w.XAxis().GetMin(), heldMin + kSweepWidth);
            EXPECT_GE(w.XAxis().GetMax(), w.NewestX() - 100) << "the newest samples are on the screen";
        } else {
            EXPECT_FALSE(w.XAxis().GetTrackingEnabled());
            EXPECT_EQ(w.XAxis().GetMin(), heldMin);
        }
    }
}

TEST(MainWindowTrigger, TheSettingsAreKeptInTheSideFileForTheNextStart) {
    test::TemporaryFolder noPorts, settingsFolder;
    const SweepSettings chosen = test::UnusualSweep();
    {
        TriggerWindow w(noPorts.String(), settingsFolder.String());
        EXPECT_FALSE(w.form.TriggerBar.Settings().on) << "off on a first start: the display scrolls as ever";
        w.ChooseTrigger(chosen);
        ASSERT_TRUE(w.WaitForFiles());
        EXPECT_TRUE(w.notifier.messages.empty());
    }
    const std::string stored = test::ReadText((settingsFolder.Path() / kExtraSettingsFileName).string());
    EXPECT_NE(stored.find("trigger.mode = single"), std::string::npos) << stored;

    TriggerWindow again(noPorts.String(), settingsFolder.String());
    EXPECT_EQ(again.form.TriggerBar.Settings(), chosen);
    EXPECT_EQ(again.form.Trigger().Settings(), chosen);
}

}  // namespace
}  // namespace ondrix
