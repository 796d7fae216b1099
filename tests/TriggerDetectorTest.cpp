// The trigger's crossing detection, sample by sample.

#include <gtest/gtest.h>

#include <vector>

#include "acquisition/TriggerDetector.h"

namespace ondrix {
namespace {

struct Case {
    const char* name;
    TriggerEdge edge;
    double level;
    double hysteresis;
    std::vector<double> values;  // at X 0, 1, 2, ...
    std::vector<double> crossings;  // the X of each crossing found
};

std::vector<double> Crossings(TriggerDetector& detector, const std::vector<double>& values, double firstX = 0) {
    std::vector<double> found;
    for (size_t i = 0; i < values.size(); ++i)
        if (const auto crossing = detector.Feed(firstX + static_cast<double>(i), values[i])) found.push_back(crossing->x);
    return found;
}

TEST(TriggerDetector, FindsTheCrossingsOfItsEdge) {
    const Case cases[] = {
        {"rising", TriggerEdge::Rising, 0, 0, {-10, -5, 5, 10, -10, 10}, {1.5, 4.5}},
        {"falling", TriggerEdge::Falling, 0, 0, {10, 5, -5, -10, 10, -10}, {1.5, 4.5}},
        {"either", TriggerEdge::Either, 0, 0, {-10, 10, -10}, {0.5, 1.5}},
        {"level hit exactly counts at that sample", TriggerEdge::Rising, 100, 0, {50, 100, 150}, {1}},
        {"resting on the level triggers once", TriggerEdge::Rising, 0, 0, {-1, 0, 0, 0, 1}, {1}},
        {"no crossing", TriggerEdge::Rising, 0, 0, {-5, -4, -3, -2}, {}},
        {"the first sample above the level is no crossing", TriggerEdge::Rising, 0, 0, {5, 10, 20}, {}},
        {"the first sample below is no falling crossing", TriggerEdge::Falling, 0, 0, {-5, -10}, {}},
        {"noise around the level, no hysteresis", TriggerEdge::Rising, 0, 0, {-10, 1, -1, 1, -1, 1}, {0.9090909090909091, 2.5, 4.5}},
        {"noise around the level, hysteresis 5", TriggerEdge::Rising, 0, 5, {-10, 1, -1, 1, -1, 1, -6, 3}, {0.9090909090909091, 6.666666666666667}},
        {"hysteresis band edge re-arms", TriggerEdge::Rising, 0, 5, {-5, 1, -5, 1}, {0.8333333333333334, 2.8333333333333335}},
        {"falling with hysteresis", TriggerEdge::Falling, 0, 5, {10, -1, 1, -1, 6, -2}, {0.9090909090909091, 4.75}},
    };
    for (const Case& c : cases) {
        TriggerDetector detector({0, c.edge, c.level, c.hysteresis});
        const std::vector<double> found = Crossings(detector, c.values);
        ASSERT_EQ(found.size(), c.crossings.size()) << c.name;
        for (size_t i = 0; i < found.size(); ++i) EXPECT_DOUBLE_EQ(found[i], c.crossings[i]) << c.name << " #" << i;
    }
}

TEST(TriggerDetector, ACrossingStraddlingTwoBatchesIsFound) {
    TriggerDetector detector({0, TriggerEdge::Rising, 0, 0});
    EXPECT_TRUE(Crossings(detector, {-30, -20, -10}, 100).empty());
    EXPECT_EQ(Crossings(detector, {10, 20}, 103), (std::vector<double>{102.5}));
}

TEST(TriggerDetector, RearmingForgetsTheSignal) {
    TriggerDetector detector({0, TriggerEdge::Rising, 0, 0});
    EXPECT_TRUE(Crossings(detector, {-10}).empty());
    detector.Rearm();
    EXPECT_TRUE(Crossings(detector, {10, 20}, 1).empty()) << "the signal must be seen below the level again";
}

TEST(TriggerText, ChannelEdgeAndLevel) {
    const ParsedTrigger rising = ParseTriggerText("CH3:rising:-200");
    EXPECT_EQ(rising.error, "");
    EXPECT_EQ(rising.settings.channel, 2);
    EXPECT_EQ(rising.settings.edge, TriggerEdge::Rising);
    EXPECT_EQ(rising.settings.level, -200);
    EXPECT_EQ(ParseTriggerText("CH1:either:32767").settings.edge, TriggerEdge::Either);
    for (const char* refused : {"CH5:rising:0", "CH1:up:0", "CH1:rising:", "CH1:rising:40000", "CH1:rising:1.5",
                                "ch1:rising:0", "CH1", "CH1:falling"})
        EXPECT_NE(ParseTriggerText(refused).error, "") << refused;
}

}  // namespace
}  // namespace ondrix
