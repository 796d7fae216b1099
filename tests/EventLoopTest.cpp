#include "platform/EventLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace ondrix {
namespace {

using namespace std::chrono_literals;

TEST(EventLoop, RunsTasksFromOtherThreadsInOrderOnTheCallingThread) {
    EventLoop loop;
    std::vector<int> order;
    std::vector<std::thread::id> threads;
    std::thread producer([&] {
        for (int i = 0; i < 100; ++i)
            loop.Post([&, i] {
                order.push_back(i);
                threads.push_back(std::this_thread::get_id());
            });
    });
    EXPECT_TRUE(loop.RunUntil([&] { return order.size() == 100; }, 5s));
    producer.join();
    for (int i = 0; i < 100; ++i) EXPECT_EQ(order[i], i);
    for (auto id : threads) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST(EventLoop, TimesOutAndNoticesOutsideFlags) {
    EventLoop loop;
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(loop.RunUntil([] { return false; }, 50ms));
    EXPECT_GE(std::chrono::steady_clock::now() - before, 50ms);

    std::atomic<bool> flag{false};
    std::thread setter([&] {
        std::this_thread::sleep_for(30ms);
        flag = true;
    });
    EXPECT_TRUE(loop.RunUntil([&] { return flag.load(); }, 5s));
    setter.join();
}

TEST(EventLoop, RunPendingRunsOnlyWhatIsAlreadyThere) {
    EventLoop loop;
    int runs = 0;
    std::function<void()> reposting = [&] {
        ++runs;
        loop.Post(reposting);
    };
    loop.Post(reposting);
    EXPECT_EQ(loop.RunPending(), 1u);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(loop.RunPending(), 1u);
    EXPECT_EQ(runs, 2);
}

TEST(EventLoop, RunPendingCountsTheTasksItRan) {
    EventLoop loop;
    EXPECT_EQ(loop.RunPending(), 0u);
    int runs = 0;
    for (int i = 0; i < 3; ++i) loop.Post([&] { ++runs; });
    EXPECT_EQ(loop.RunPending(), 3u);
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(loop.RunPending(), 0u);
}

}  // namespace
}  // namespace ondrix
