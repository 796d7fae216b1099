// The "Trigger" tool bar, headless: what it shows, and which user actions count as a change.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "SweepSettings.h"
#include "workbench/TriggerToolBar.h"

namespace ondrix {
namespace {

// A bar on screen as wide as the scope's window, counting the changes it reports.
struct ShownBar {
    static constexpr int kWindowWidth = 1024;

    ShownBar() {
        bar.OnChange = [this] { ++changes; };
        bar.resize(kWindowWidth, bar.sizeHint().height());
        bar.show();
        bar.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&bar));
    }

    TTriggerToolBar bar;
    int changes = 0;
};

// Types a number over what the box shows, without committing it.
void TypeNumber(QSpinBox& box, const char* digits) {
    box.setFocus();
    box.selectAll();
    QTest::keyClicks(&box, digits);
}

TEST(TriggerToolBarTest, ShowsSettingsWithoutReportingAChange) {
    ShownBar shown;
    EXPECT_EQ(shown.bar.Settings(), SweepSettings{}) << "a new bar";

    const SweepSettings unusual = test::UnusualSweep();
    shown.bar.Show(unusual);
    EXPECT_EQ(shown.bar.Settings(), unusual) << "unusual";
    shown.bar.Show(SweepSettings{});
    EXPECT_EQ(shown.bar.Settings(), SweepSettings{}) << "back to the defaults";
    EXPECT_EQ(shown.changes, 0);

    // A trigger can be set up before it is switched on.
    for (QWidget* control : {static_cast<QWidget*>(&shown.bar.SourceBox), static_cast<QWidget*>(&shown.bar.LevelBox),
                             static_cast<QWidget*>(&shown.bar.HoldOffBox)})
        EXPECT_TRUE(control->isEnabled()) << control->accessibleName().toStdString();
}

TEST(TriggerToolBarTest, EachUserChangeIsReportedOnceAndShown) {
    const struct {
        const char* action;
        std::function<void(TTriggerToolBar&)> act;
        std::function<void(SweepSettings&)> expect;
    } cases[] = {
        {"switch clicked", [](TTriggerToolBar& b) { QTest::mouseClick(&b.TriggerSwitch, Qt::LeftButton); },
         [](SweepSettings& s) { s.on = true; }},
        {"next source", [](TTriggerToolBar& b) { QTest::keyClick(&b.SourceBox, Qt::Key_Down); },
         [](SweepSettings& s) { s.detection.channel = 1; }},
        {"last edge", [](TTriggerToolBar& b) { QTest::keyClick(&b.EdgeBox, Qt::Key_End); },
         [](SweepSettings& s) { s.detection.edge = TriggerEdge::Either; }},
        {"next mode", [](TTriggerToolBar& b) { QTest::keyClick(&b.ModeBox, Qt::Key_Down); },
         [](SweepSettings& s) { s.mode = TriggerMode::Normal; }},
        {"level typed, Enter",
         [](TTriggerToolBar& b) {
             TypeNumber(b.LevelBox, "-1500");
             QTest::keyClick(&b.LevelBox, Qt::Key_Return);
         },
         [](SweepSettings& s) { s.detection.level = -1500; }},
        {"hysteresis typed, focus moved on",
         [](TTriggerToolBar& b) {
             TypeNumber(b.HysteresisBox, "250");
             b.ModeBox.setFocus();
         },
         [](SweepSettings& s) { s.detection.hysteresis = 250; }},
        {"position stepped", [](TTriggerToolBar& b) { QTest::keyClick(&b.PositionBox, Qt::Key_Up); },
         [](SweepSettings& s) { s.positionPercent = 11; }},
        {"hold-off typed, Enter",
         [](TTriggerToolBar& b) {
             TypeNumber(b.HoldOffBox, "20000");
             QTest::keyClick(&b.HoldOffBox, Qt::Key_Enter);
         },
         [](SweepSettings& s) { s.holdOff = 20000; }},
    };
    for (const auto& c : cases) {
        ShownBar shown;
        c.act(shown.bar);
        EXPECT_EQ(shown.changes, 1) << c.action;
        SweepSettings expected;
        c.expect(expected);
        EXPECT_EQ(shown.bar.Settings(), expected) << c.action;
    }
}

TEST(TriggerToolBarTest, TypingIsOneChangeWhenCommittedAndNoneForTheSameNumber) {
    ShownBar shown;
    TypeNumber(shown.bar.LevelBox, "1500");
    EXPECT_EQ(shown.changes, 0) << "nothing is committed while typing";
    QTest::keyClick(&shown.bar.LevelBox, Qt::Key_Return);
    EXPECT_EQ(shown.changes, 1);

    TypeNumber(shown.bar.LevelBox, "1500");
    QTest::keyClick(&shown.bar.LevelBox, Qt::Key_Return);
    EXPECT_EQ(shown.changes, 1) << "the number it already had";
    EXPECT_EQ(shown.bar.Settings().detection.level, 1500);
}

TEST(TriggerToolBarTest, ShowBringsValuesIntoTheControlsRanges) {
    const auto with = [](const std::function<void(SweepSettings&)>& change) {
        SweepSettings settings;
        change(settings);
        return settings;
    };
    const struct {
        const char* what;
        SweepSettings given;
        SweepSettings shown;
    } cases[] = {
        {"all too high",
         with([](SweepSettings& s) {
             s.detection.channel = 7;
             s.detection.level = 1e12;
             s.detection.hysteresis = 1e6;
             s.positionPercent = 150;
             s.holdOff = 4000000000u;
         }),
         with([](SweepSettings& s) {
             s.detection.channel = 3;
             s.detection.level = kTriggerLevelMax;
             s.detection.hysteresis = kTriggerHysteresisMax;
             s.positionPercent = 100;
             s.holdOff = kTriggerHoldOffMax;
         })},
        {"all too low",
         with([](SweepSettings& s) {
             s.detection.channel = -2;
             s.detection.level = -1e12;
             s.detection.hysteresis = -5;
             s.positionPercent = -3;
         }),
         with([](SweepSettings& s) {
             s.detection.level = kTriggerLevelMin;
             s.positionPercent = 0;
         })},
        {"fractions and not-a-number",
         with([](SweepSettings& s) {
             s.detection.level = 12.6;
             s.detection.hysteresis = std::numeric_limits<double>::quiet_NaN();
         }),
         with([](SweepSettings& s) { s.detection.level = 13; })},
        {"no such edge or mode",
         with([](SweepSettings& s) {
             s.detection.edge = static_cast<TriggerEdge>(9);
             s.mode = static_cast<TriggerMode>(-1);
         }),
         SweepSettings{}},
    };
    for (const auto& c : cases) {
        ShownBar shown;
        shown.bar.Show(c.given);
        EXPECT_EQ(shown.bar.Settings(), c.shown) << c.what;
        EXPECT_EQ(shown.changes, 0) << c.what;
    }
}

TEST(TriggerToolBarTest, FitsTheScopeWindowAndExplainsEachControl) {
    ShownBar shown;
    TTriggerToolBar& bar = shown.bar;
    EXPECT_EQ(bar.windowTitle(), "Trigger");
    EXPECT_EQ(bar.objectName(), "Trigger");
    EXPECT_EQ(bar.TriggerSwitch.text(), "Trigger");
    // Wider than the window, the last controls would hide behind the bar's overflow button.
    EXPECT_LE(bar.sizeHint().width(), ShownBar::kWindowWidth);

    const std::vector<QWidget*> controls = {&bar.TriggerSwitch, &bar.SourceBox,  &bar.EdgeBox,
                                            &bar.LevelBox,      &bar.HysteresisBox, &bar.ModeBox,
                                            &bar.PositionBox,   &bar.HoldOffBox};
    for (QWidget* control : controls) {
        EXPECT_FALSE(control->statusTip().isEmpty()) << control->accessibleName().toStdString();
        EXPECT_TRUE(control->isVisible()) << control->accessibleName().toStdString();
    }
}

}  // namespace
}  // namespace ondrix
