#include "platform/PeriodicTimer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace ondrix {
namespace {

using namespace std::chrono_literals;

TEST(PeriodicTimer, TicksAtItsPeriodWithoutOverlap) {
    PeriodicTimer timer;
    std::atomic<int> ticks{0};
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    timer.Start(5ms, [&] {
        if (inside.fetch_add(1) != 0) overlapped = true;
        std::this_thread::sleep_for(7ms);  // longer than the period
        inside.fetch_sub(1);
        ++ticks;
    });
    std::this_thread::sleep_for(200ms);
    timer.Stop();
    EXPECT_FALSE(overlapped);
    // Slow ticks skip missed deadlines instead of piling up; 200 ms of 7 ms ticks is at most ~29.
    EXPECT_GE(ticks.load(), 5);
    EXPECT_LE(ticks.load(), 30);
}

TEST(PeriodicTimer, AbsoluteDeadlinesKeepTheRate) {
    PeriodicTimer timer;
    std::atomic<int> ticks{0};
    timer.Start(10ms, [&] {
        std::this_thread::sleep_for(4ms);  // would stretch a relative schedule to 14 ms
        ++ticks;
    });
    std::this_thread::sleep_for(505ms);
    timer.Stop();
    // 50 deadlines passed; a "sleep 10 ms after each tick" timer would manage about 36.
    EXPECT_GE(ticks.load(), 42);
    EXPECT_LE(ticks.load(), 51);
}

TEST(PeriodicTimer, StopWaitsForTheRunningTick) {
    PeriodicTimer timer;
    std::atomic<bool> entered{false};
    std::atomic<bool> finished{false};
    timer.Start(1ms, [&] {
        entered = true;
        std::this_thread::sleep_for(50ms);
        finished = true;
    });
    while (!entered) std::this_thread::sleep_for(1ms);
    timer.Stop();
    EXPECT_TRUE(finished);
    EXPECT_FALSE(timer.Active());
}

TEST(PeriodicTimer, StopIsPromptAndRepeatable) {
    PeriodicTimer timer;
    timer.Stop();
    timer.Start(10s, [] {});
    EXPECT_TRUE(timer.Active());
    const auto before = std::chrono::steady_clock::now();
    timer.Stop();
    timer.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
}

TEST(PeriodicTimer, StopFromInsideATickEndsAfterIt) {
    PeriodicTimer timer;
    std::atomic<int> ticks{0};
    timer.Start(1ms, [&] {
        ++ticks;
        timer.Stop();
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(ticks.load(), 1);
    EXPECT_FALSE(timer.Active());
}

TEST(PeriodicTimer, StartReplacesTheRunningTimer) {
    PeriodicTimer timer;
    std::atomic<int> first{0};
    std::atomic<int> second{0};
    timer.Start(1ms, [&] { ++first; });
    std::this_thread::sleep_for(20ms);
    timer.Start(1ms, [&] { ++second; });
    const int firstAtRestart = first.load();
    std::this_thread::sleep_for(20ms);
    timer.Stop();
    EXPECT_EQ(first.load(), firstAtRestart);
    EXPECT_GT(second.load(), 0);
}

}  // namespace
}  // namespace ondrix
