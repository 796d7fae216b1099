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

// The prologue runs on the timer's own thread, whole, before the first tick, which then comes
// one period after it.
TEST(PeriodicTimer, PrologueRunsOnTheTimersThreadBeforeTheFirstTick) {
    PeriodicTimer timer;
    using Clock = std::chrono::steady_clock;
    std::atomic<bool> prologueDone{false};
    std::atomic<bool> tickedBeforePrologueEnded{false};
    std::thread::id prologueThread, tickThread;
    Clock::time_point prologueEnd, firstTick;
    std::atomic<int> ticks{0};
    timer.Start(
        10ms,
        [&] {
            if (!prologueDone) tickedBeforePrologueEnded = true;
            if (ticks++ == 0) {
                tickThread = std::this_thread::get_id();
                firstTick = Clock::now();
            }
        },
        [&] {
            prologueThread = std::this_thread::get_id();
            std::this_thread::sleep_for(30ms);
            prologueEnd = Clock::now();
            prologueDone = true;
        });
    const auto started = Clock::now();
    while (ticks.load() == 0) std::this_thread::sleep_for(1ms);
    timer.Stop();
    EXPECT_LT(started, prologueEnd) << "Start returns without waiting for the prologue";
    EXPECT_FALSE(tickedBeforePrologueEnded);
    EXPECT_NE(prologueThread, std::this_thread::get_id());
    EXPECT_EQ(prologueThread, tickThread);
    EXPECT_GE(firstTick - prologueEnd, 10ms);
}

// A wait inside a tick (or the prologue) ends as soon as Stop is asked for, and says so.
TEST(PeriodicTimer, PauseIsCutShortByStop) {
    PeriodicTimer timer;
    std::atomic<bool> pausing{false};
    std::atomic<int> pauseResult{-1};
    timer.Start(1h, [] {}, [&] {
        pausing = true;
        pauseResult = timer.Pause(10s) ? 1 : 0;
    });
    while (!pausing) std::this_thread::sleep_for(1ms);
    const auto before = std::chrono::steady_clock::now();
    timer.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
    EXPECT_EQ(pauseResult.load(), 0);

    pauseResult = -1;
    timer.Start(1h, [] {}, [&] { pauseResult = timer.Pause(5ms) ? 1 : 0; });
    for (int waited = 0; pauseResult.load() == -1 && waited < 5000; ++waited) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(pauseResult.load(), 1) << "a pause that runs its course";
    timer.Stop();
}

}  // namespace
}  // namespace ondrix
