// Sweeps: when the trigger's screens are complete, and what Auto, Normal and Single do between.

#include <gtest/gtest.h>

#include <vector>

#include "acquisition/TriggerSweep.h"

namespace ondrix {
namespace {

// A square wave of -100 / +100, `period` samples long, rising at X = period/2, 3·period/2, ...
double Square(double x, int period) { return static_cast<int>(x) % period < period / 2 ? -100 : 100; }

SweepSettings Settings(TriggerMode mode, int positionPercent = 10, uint32_t holdOff = 0) {
    SweepSettings settings;
    settings.on = true;
    settings.detection = {0, TriggerEdge::Rising, 0, 0};
    settings.mode = mode;
    settings.positionPercent = positionPercent;
    settings.holdOff = holdOff;
    return settings;
}

struct Fed {
    double atX;
    SweepStep step;
};

// Every step that was not None, with the sample that gave it.
std::vector<Fed> FeedSamples(TriggerSweep& sweep, double fromX, double toX, double (*signal)(double, int), int period) {
    std::vector<Fed> steps;
    for (double x = fromX; x < toX; ++x) {
        const SweepStep step = sweep.Feed(x, signal(x, period));
        if (step.kind != SweepStep::Kind::None) steps.push_back({x, step});
    }
    return steps;
}

double Flat(double, int) { return -50; }

TEST(TriggerSweep, SweepsCompleteWhenTheScreenIsFull) {
    // Period 40: rising edges between 19 and 20 (the level 0 is met at 19.5), then every 40.
    const struct {
        const char* name;
        int positionPercent;
        uint32_t holdOff;
        std::vector<double> triggerXs;
        std::vector<double> completedAt;
    } cases[] = {
        // 10 samples before the trigger point, 90 after: complete at the sample 89.5 after it.
        {"10 %", 10, 0, {19.5, 139.5, 259.5}, {109, 229, 349}},
        {"0 %: the trigger point at the left edge", 0, 0, {19.5, 139.5, 259.5}, {119, 239, 359}},
        {"100 %: the crossing's own sample completes it",
         100,
         0,
         {19.5, 59.5, 99.5, 139.5, 179.5, 219.5, 259.5, 299.5, 339.5},
         {20, 60, 100, 140, 180, 220, 260, 300, 340}},
        // After the sweep at 109, the next 60 samples are held off: the edge at 139.5 is skipped.
        {"hold-off skips crossings", 10, 60, {19.5, 179.5}, {109, 269}},
    };
    for (const auto& c : cases) {
        TriggerSweep sweep(Settings(TriggerMode::Normal, c.positionPercent, c.holdOff), 100);
        const std::vector<Fed> steps = FeedSamples(sweep, 0, 370, Square, 40);
        std::vector<double> triggerXs, completedAt;
        for (const Fed& fed : steps) {
            ASSERT_EQ(fed.step.kind, SweepStep::Kind::SweepComplete) << c.name;
            EXPECT_DOUBLE_EQ(fed.step.xMin, fed.step.triggerX - c.positionPercent) << c.name;
            triggerXs.push_back(fed.step.triggerX);
            completedAt.push_back(fed.atX);
        }
        EXPECT_EQ(triggerXs, c.triggerXs) << c.name;
        EXPECT_EQ(completedAt, c.completedAt) << c.name;
    }
}

TEST(TriggerSweep, SingleStopsAfterItsFirstSweepUntilRearmed) {
    TriggerSweep sweep(Settings(TriggerMode::Single), 100);
    std::vector<Fed> steps = FeedSamples(sweep, 0, 400, Square, 40);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_DOUBLE_EQ(steps[0].step.triggerX, 19.5);
    EXPECT_TRUE(sweep.Stopped());

    sweep.Rearm();
    EXPECT_FALSE(sweep.Stopped());
    steps = FeedSamples(sweep, 400, 600, Square, 40);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_DOUBLE_EQ(steps[0].step.triggerX, 419.5);
}

TEST(TriggerSweep, AutoRunsFreeAfterAScreenWithoutTriggerAndNormalWaits) {
    TriggerSweep automatic(Settings(TriggerMode::Auto), 100);
    std::vector<Fed> steps = FeedSamples(automatic, 0, 350, Flat, 0);
    ASSERT_EQ(steps.size(), 1u) << "told once, not at every sample";
    EXPECT_EQ(steps[0].step.kind, SweepStep::Kind::FreeRun);
    EXPECT_DOUBLE_EQ(steps[0].atX, 100);

    // A signal that comes back triggers again: its first high sample at 350 crosses from -50.
    steps = FeedSamples(automatic, 350, 500, Square, 40);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps[0].step.kind, SweepStep::Kind::SweepComplete);
    EXPECT_DOUBLE_EQ(steps[0].step.triggerX, 349 + 50.0 / 150);

    TriggerSweep normal(Settings(TriggerMode::Normal), 100);
    EXPECT_TRUE(FeedSamples(normal, 0, 350, Flat, 0).empty());
}

TEST(TriggerSweep, RestartDropsTheSweepInProgress) {
    TriggerSweep sweep(Settings(TriggerMode::Normal), 100);
    EXPECT_TRUE(FeedSamples(sweep, 0, 50, Square, 40).empty());  // triggered at 19.5, filling
    sweep.Restart(Settings(TriggerMode::Normal), 200);
    const std::vector<Fed> steps = FeedSamples(sweep, 50, 400, Square, 40);
    ASSERT_FALSE(steps.empty());
    EXPECT_DOUBLE_EQ(steps[0].step.triggerX, 59.5);
    EXPECT_DOUBLE_EQ(steps[0].step.xMin, 59.5 - 20);
}

}  // namespace
}  // namespace ondrix
