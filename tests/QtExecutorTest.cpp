// Handing work to the GUI thread: order, thread, and what happens once the executor is gone.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "platform/qt/QtExecutor.h"

using namespace ondrix;

namespace {

TEST(QtExecutor, TasksFromManyThreadsRunOnTheOwnerThreadEachThreadsInOrder) {
    QtExecutor executor;
    constexpr int kThreads = 4;
    constexpr int kTasks = 2000;
    std::vector<std::vector<int>> ran(kThreads);
    bool offThread = false;
    const auto owner = std::this_thread::get_id();

    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kTasks; ++i)
                executor.Post([&, t, i] {
                    offThread |= std::this_thread::get_id() != owner;
                    ran[t].push_back(i);
                });
        });
    for (auto& thread : threads) thread.join();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        for (const auto& r : ran)
            if (r.size() != kTasks) return false;
        return true;
    }, 5000));
    EXPECT_FALSE(offThread);
    for (const auto& r : ran)
        for (int i = 0; i < kTasks; ++i) ASSERT_EQ(r[i], i);
}

TEST(QtExecutor, ATaskNeverRunsInsidePostNorInsideTheTaskThatPostedIt) {
    QtExecutor executor;
    std::vector<int> ran;
    executor.Post([&] {
        executor.Post([&] { ran.push_back(3); });
        ran.push_back(1);
    });
    executor.Post([&] { ran.push_back(2); });
    EXPECT_TRUE(ran.empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ran.size() == 3; }, 2000));
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST(QtExecutor, TasksQueuedOrPostedThroughAHandleAfterItIsGoneAreDropped) {
    int ran = 0;
    std::shared_ptr<Executor> handle;
    {
        QtExecutor executor;
        handle = executor.Handle();
        handle->Post([&] { ++ran; });
    }
    std::atomic<bool> stop{false};
    std::thread poster([&] {
        while (!stop) handle->Post([&] { ++ran; });
    });
    QTest::qWait(30);
    stop = true;
    poster.join();
    EXPECT_EQ(ran, 0);
}

}  // namespace
