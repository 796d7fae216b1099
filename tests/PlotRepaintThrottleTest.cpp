#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "plot/component/Plot.h"
#include "plot/core/PlotRepaintThrottle.h"

using namespace ondrix;

namespace {

using TChange = TPlotRepaintThrottle::TChange;

// A clock the test moves by hand and a scheduler whose calls fall due as the clock passes them,
// the way a single-shot timer on the GUI thread would fire.
struct FakeTimeline {
    int64_t now = 0;
    struct Call {
        int64_t dueAt;
        std::function<void()> due;
    };
    std::vector<Call> calls;
    int scheduled = 0;

    TPlotRepaintThrottle::TClock Clock() {
        return [this] { return now; };
    }
    TPlotRepaintThrottle::TScheduler Scheduler() {
        return [this](int64_t delayMs, std::function<void()> due) {
            EXPECT_GT(delayMs, 0);
            ++scheduled;
            calls.push_back({now + delayMs, std::move(due)});
        };
    }
    // Moves the clock to `time`, running each call when its time comes, in time order.
    void AdvanceTo(int64_t time) {
        for (int fired = 0;; ++fired) {
            if (fired == 1000) {
                ADD_FAILURE() << "a timer keeps rescheduling itself at " << now;
                return;
            }
            auto next = std::min_element(calls.begin(), calls.end(),
                                         [](const Call& a, const Call& b) { return a.dueAt < b.dueAt; });
            if (next == calls.end() || next->dueAt > time) break;
            Call call = std::move(*next);
            calls.erase(next);
            now = std::max(now, call.dueAt);
            call.due();
        }
        now = time;
    }
};

// A throttle on a fake timeline that records when it repainted.
struct ThrottleRig {
    explicit ThrottleRig(int32_t frameRate = 10) {
        throttle.SetClock(timeline.Clock());
        throttle.SetScheduler(timeline.Scheduler());
        throttle.SetFrameRate(frameRate);
    }
    void ChangeAt(int64_t time, TChange change = TChange::Content) {
        timeline.AdvanceTo(time);
        throttle.Request(change);
    }

    FakeTimeline timeline;
    std::vector<int64_t> repaints;
    TPlotRepaintThrottle throttle{[this] { repaints.push_back(timeline.now); }};
};

}  // namespace

// ---- The bound and the trailing repaint --------------------------------------------------

TEST(PlotRepaintThrottle, ASecondOfChangesStaysWithinTheRateAndEndsPainted) {
    // Spacing of the changes in ms; 1000 changes in one second at 1 ms.
    for (int64_t spacing : {1, 7, 33, 99, 100, 150}) {
        SCOPED_TRACE("spacing " + std::to_string(spacing));
        ThrottleRig rig;
        int64_t last = 0;
        for (int64_t t = 0; t < 1000; t += spacing) rig.ChangeAt(last = t);
        rig.timeline.AdvanceTo(5000);

        ASSERT_FALSE(rig.repaints.empty());
        EXPECT_LE(rig.repaints.size(), 11u) << "10 per second plus the trailing one";
        for (size_t i = 1; i < rig.repaints.size(); ++i)
            EXPECT_GE(rig.repaints[i] - rig.repaints[i - 1], 100) << "repaint " << i;
        EXPECT_GE(rig.repaints.back(), last) << "the last change was never painted";
        EXPECT_LE(rig.repaints.back(), last + 100) << "painted later than the end of its interval";
        EXPECT_FALSE(rig.throttle.GetInvalidatePending());
        EXPECT_TRUE(rig.timeline.calls.empty());
    }
}

TEST(PlotRepaintThrottle, ChangesFarEnoughApartRepaintAtOnceWithoutATimer) {
    ThrottleRig rig;
    for (int64_t t : {100, 250, 350}) rig.ChangeAt(t);
    EXPECT_EQ(rig.repaints, (std::vector<int64_t>{100, 250, 350}));
    EXPECT_EQ(rig.timeline.scheduled, 0);
}

TEST(PlotRepaintThrottle, ABurstThenSilenceGetsExactlyOneTrailingRepaint) {
    ThrottleRig rig;
    rig.ChangeAt(200);  // passes: a full interval since the start
    ASSERT_EQ(rig.repaints, std::vector<int64_t>{200});
    for (int64_t t = 210; t < 260; ++t) rig.ChangeAt(t);
    EXPECT_EQ(rig.repaints.size(), 1u) << "held back within the interval";
    EXPECT_EQ(rig.timeline.scheduled, 1) << "one timer for the whole burst";
    EXPECT_TRUE(rig.throttle.GetInvalidatePending());

    rig.timeline.AdvanceTo(299);
    EXPECT_EQ(rig.repaints.size(), 1u);
    rig.timeline.AdvanceTo(10000);
    EXPECT_EQ(rig.repaints, (std::vector<int64_t>{200, 300})) << "at the end of the interval, once";
    EXPECT_FALSE(rig.throttle.GetInvalidatePending());
    EXPECT_EQ(rig.timeline.scheduled, 1);
}

TEST(PlotRepaintThrottle, ANewHostSchedulesItsOwnTrailingRepaintWhenTheOldOnesCallNeverRuns) {
    ThrottleRig rig;
    rig.ChangeAt(200);
    rig.ChangeAt(210);  // held back; the trailing call goes to the first host
    rig.timeline.calls.clear();  // that host is gone before its timer fires

    FakeTimeline newHost;
    newHost.now = rig.timeline.now = 220;
    rig.throttle.SetScheduler(newHost.Scheduler());
    rig.throttle.Request(TChange::Content);
    EXPECT_EQ(newHost.scheduled, 1);
    rig.timeline.now = 300;
    newHost.AdvanceTo(300);
    EXPECT_EQ(rig.repaints, (std::vector<int64_t>{200, 300}));
}

TEST(PlotRepaintThrottle, ARepaintWithinTheIntervalPostponesOrCancelsTheTrailingOne) {
    // A change held back at 250 waits for 300; an immediate repaint at 260 paints it.
    ThrottleRig cancelled;
    cancelled.ChangeAt(200);
    cancelled.ChangeAt(250);
    cancelled.timeline.AdvanceTo(260);
    cancelled.throttle.RepaintNow();
    cancelled.timeline.AdvanceTo(1000);
    EXPECT_EQ(cancelled.repaints, (std::vector<int64_t>{200, 260})) << "nothing left to paint at 300";

    // Another change at 270 is held back again: the timer at 300 is too early and waits for 360.
    ThrottleRig postponed;
    postponed.ChangeAt(200);
    postponed.ChangeAt(250);
    postponed.timeline.AdvanceTo(260);
    postponed.throttle.RepaintNow();
    postponed.ChangeAt(270);
    postponed.timeline.AdvanceTo(1000);
    EXPECT_EQ(postponed.repaints, (std::vector<int64_t>{200, 260, 360}));
    EXPECT_EQ(postponed.timeline.scheduled, 2);
}

TEST(PlotRepaintThrottle, TheIntervalIsRoundedUpToWholeMilliseconds) {
    ThrottleRig rig(60);  // 16.7 ms: 17 ms keeps the rate at or below 60
    rig.ChangeAt(100);
    rig.ChangeAt(116);
    rig.timeline.AdvanceTo(200);
    EXPECT_EQ(rig.repaints, (std::vector<int64_t>{100, 117}));
}

// ---- Throttle off ------------------------------------------------------------------------

TEST(PlotRepaintThrottle, WithoutThrottleEveryChangeRepaintsAtOnce) {
    struct Case {
        const char* name;
        int32_t frameRate;
        bool autoFrameRate;
        bool scheduler;
    } cases[] = {
        {"frame rate 0", 0, true, true},
        {"negative frame rate stores 0", -5, true, true},
        {"AutoFrameRate off", 10, false, true},
        {"no scheduler to paint a held-back change", 10, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ThrottleRig rig(c.frameRate);
        rig.throttle.SetAutoFrameRate(c.autoFrameRate);
        if (!c.scheduler) rig.throttle.SetScheduler(nullptr);
        for (int64_t t = 0; t < 10; ++t) rig.ChangeAt(t);
        EXPECT_EQ(rig.repaints.size(), 10u);
        EXPECT_EQ(rig.timeline.scheduled, 0);
        EXPECT_FALSE(rig.throttle.GetInvalidatePending());
    }
}

// ---- Update brackets and immediate repaints ----------------------------------------------

TEST(PlotRepaintThrottle, AnUpdateBracketHoldsChangesAndEndsWithOneRepaintWithinTheBound) {
    ThrottleRig rig;
    rig.throttle.BeginUpdate();
    rig.throttle.BeginUpdate();  // a flag, not a counter
    for (int64_t t = 100; t < 400; t += 10) rig.ChangeAt(t, t % 20 ? TChange::BackGround : TChange::Content);
    EXPECT_TRUE(rig.repaints.empty());
    EXPECT_EQ(rig.timeline.scheduled, 0) << "nothing to schedule while locked";
    EXPECT_TRUE(rig.throttle.GetInvalidatePending());
    EXPECT_TRUE(rig.throttle.GetBackGroundPending());

    rig.timeline.AdvanceTo(400);
    rig.throttle.EndUpdate();
    EXPECT_EQ(rig.repaints, std::vector<int64_t>{400});
    EXPECT_FALSE(rig.throttle.GetUpdateLocked());
    EXPECT_FALSE(rig.throttle.GetInvalidatePending());
    EXPECT_FALSE(rig.throttle.GetBackGroundPending());

    rig.throttle.BeginUpdate();
    rig.timeline.AdvanceTo(1000);
    rig.throttle.EndUpdate();
    EXPECT_EQ(rig.repaints.size(), 1u) << "nothing changed";

    // Ended within the interval of a repaint: the bracket's change is the trailing repaint's.
    rig.throttle.RepaintNow();
    rig.throttle.BeginUpdate();
    rig.ChangeAt(1010);
    rig.throttle.EndUpdate();
    rig.ChangeAt(1020);
    EXPECT_EQ(rig.repaints, (std::vector<int64_t>{400, 1000}));
    rig.timeline.AdvanceTo(2000);
    EXPECT_EQ(rig.repaints, (std::vector<int64_t>{400, 1000, 1100}));
    EXPECT_EQ(rig.timeline.scheduled, 1);
}

TEST(PlotRepaintThrottle, ATrailingRepaintDueInsideABracketLeavesTheChangeToEndUpdate) {
    ThrottleRig rig;
    rig.ChangeAt(200);
    rig.ChangeAt(250);
    rig.throttle.BeginUpdate();
    rig.timeline.AdvanceTo(330);
    EXPECT_EQ(rig.repaints, std::vector<int64_t>{200});
    EXPECT_TRUE(rig.throttle.GetInvalidatePending());
    rig.throttle.EndUpdate();
    EXPECT_EQ(rig.repaints, (std::vector<int64_t>{200, 330}));
}

TEST(PlotRepaintThrottle, RepaintNowIgnoresTheBoundAndTheBracket) {
    ThrottleRig rig;
    rig.ChangeAt(200);
    rig.throttle.BeginUpdate();
    rig.ChangeAt(210, TChange::BackGround);
    rig.throttle.RepaintNow();
    EXPECT_EQ(rig.repaints, (std::vector<int64_t>{200, 210}));
    EXPECT_FALSE(rig.throttle.GetBackGroundPending());
    EXPECT_EQ(rig.throttle.GetLastRepaintTime(), 210);
    rig.throttle.EndUpdate();
    EXPECT_EQ(rig.repaints.size(), 2u) << "the immediate repaint already showed the change";
}

TEST(PlotRepaintThrottle, ATimerRunLateAfterTheThrottleIsGoneDoesNothing) {
    FakeTimeline timeline;
    int repaints = 0;
    {
        TPlotRepaintThrottle throttle([&] { ++repaints; });
        throttle.SetClock(timeline.Clock());
        throttle.SetScheduler(timeline.Scheduler());
        throttle.SetFrameRate(10);
        throttle.Request(TChange::Content);
        ASSERT_EQ(timeline.calls.size(), 1u);
    }
    timeline.AdvanceTo(1000);
    EXPECT_EQ(repaints, 0);
}

// ---- The component's requests ------------------------------------------------------------

TEST(PlotComponentRepaint, ObjectChangesGoThroughTheThrottleOnceTheHostGivesItATimer) {
    FakeTimeline timeline;
    TPlot plot;
    std::vector<int64_t> repaints;
    plot.OnRepaintRequest = [&] { repaints.push_back(timeline.now); };
    plot.SetUpdateFrameRate(10);
    plot.GetRepaintThrottle().SetClock(timeline.Clock());
    plot.GetRepaintThrottle().SetScheduler(timeline.Scheduler());
    repaints.clear();

    timeline.AdvanceTo(100);
    for (int i = 0; i < 50; ++i) plot.GetChannel(0)->AddXY(i, i);
    EXPECT_EQ(repaints, std::vector<int64_t>{100});
    timeline.AdvanceTo(1000);
    EXPECT_EQ(repaints, (std::vector<int64_t>{100, 200}));
}

TEST(PlotComponentRepaint, BackGroundChangesMarkTheBackgroundUntilThePaintPassTakesIt) {
    TPlot plot;
    int repaints = 0;
    plot.OnRepaintRequest = [&] { ++repaints; };
    EXPECT_TRUE(plot.TakeBackGroundChanged()) << "a new plot has never drawn its background";
    EXPECT_FALSE(plot.TakeBackGroundChanged());

    plot.SetTitleText("content only");
    EXPECT_FALSE(plot.TakeBackGroundChanged());
    const std::function<void()> backgroundChanges[] = {
        [&] { plot.BackGroundChange(); },
        [&] { plot.RepaintAll(); },
        [&] { plot.SetUpdateFrameRate(plot.GetUpdateFrameRate() + 1); },
        [&] { plot.SetAutoFrameRate(true); },
    };
    plot.SetAutoFrameRate(false);  // so that switching it on is a change too
    plot.TakeBackGroundChanged();
    for (const auto& change : backgroundChanges) {
        repaints = 0;
        change();
        EXPECT_EQ(repaints, 1);
        EXPECT_TRUE(plot.TakeBackGroundChanged());
    }

    plot.BeginUpdate();
    plot.BackGroundChange();
    EXPECT_TRUE(plot.GetRepaintThrottle().GetBackGroundPending());
    plot.EndUpdate();
    EXPECT_FALSE(plot.GetRepaintThrottle().GetBackGroundPending());
}

TEST(PlotComponentRepaint, SwitchingAutoFrameRateOffEndsAnUpdateBracket) {
    TPlot plot;
    int repaints = 0;
    plot.OnRepaintRequest = [&] { ++repaints; };
    EXPECT_TRUE(plot.GetAutoFrameRate());
    EXPECT_EQ(plot.GetUpdateFrameRate(), 60);
    plot.BeginUpdate();
    plot.SetTitleText("held");
    EXPECT_EQ(repaints, 0);
    plot.SetAutoFrameRate(false);
    EXPECT_FALSE(plot.GetUpdateLocked());
    EXPECT_EQ(repaints, 1);
    plot.SetAutoFrameRate(false);
    EXPECT_EQ(repaints, 1) << "no change, no request";
}

// ---- Threads -----------------------------------------------------------------------------

// Two threads request repaints while a third plays the GUI thread that runs the timers. The
// clock moves 1 ms per request, so the bound is checked against it.
TEST(PlotRepaintThrottleThreads, RequestsFromTwoThreadsKeepTheBoundAndOneTimer) {
    std::atomic<int64_t> now{0};
    std::mutex timersMutex;
    std::vector<std::function<void()>> timers;
    std::atomic<int> outstanding{0};
    std::atomic<int> mostOutstanding{0};
    std::atomic<int> repaints{0};

    TPlotRepaintThrottle throttle([&] { ++repaints; });
    throttle.SetClock([&] { return now.load(); });
    throttle.SetScheduler([&](int64_t, std::function<void()> due) {
        const int count = ++outstanding;
        int most = mostOutstanding.load();
        while (count > most && !mostOutstanding.compare_exchange_weak(most, count)) {
        }
        std::lock_guard<std::mutex> lock(timersMutex);
        timers.push_back(std::move(due));
    });
    throttle.SetFrameRate(10);

    auto runTimers = [&] {
        std::vector<std::function<void()>> due;
        {
            std::lock_guard<std::mutex> lock(timersMutex);
            due.swap(timers);
        }
        for (auto& call : due) {
            --outstanding;
            call();
        }
    };

    constexpr int kRequestsPerThread = 5000;
    std::atomic<int> running{2};
    auto requester = [&](TChange change) {
        for (int i = 0; i < kRequestsPerThread; ++i) {
            ++now;
            throttle.Request(change);
            if (i % 100 == 0) throttle.RepaintNow();
        }
        --running;
    };
    std::thread a(requester, TChange::Content);
    std::thread b(requester, TChange::BackGround);
    while (running > 0) runTimers();
    a.join();
    b.join();
    now += 1000;
    while (!timers.empty() || outstanding > 0) runTimers();

    EXPECT_LE(mostOutstanding.load(), 1) << "more than one trailing repaint scheduled at once";
    EXPECT_FALSE(throttle.GetInvalidatePending());
    EXPECT_FALSE(throttle.GetBackGroundPending());
    const int immediate = 2 * (kRequestsPerThread / 100);
    EXPECT_LE(repaints.load(), immediate + 2 * kRequestsPerThread / 100 + 2);
    EXPECT_GT(repaints.load(), immediate);
}
