#pragma once
// Runs posted tasks on the thread that created the executor, inside that thread's Qt event
// loop (the GUI thread for the windows), one at a time in the order posted.
//
// Worker threads hand their results over through a queue under a standard mutex and wake the
// loop through an eventfd, rather than through Qt's own cross-thread event posting: every
// hand-over is then visible to ThreadSanitizer, which cannot see into the uninstrumented Qt
// libraries and would report each posted task as a race.
//
// The wake-up is not re-entered while a task runs: a task that opens a nested event loop (a
// modal message box) holds the later tasks back until it returns, so it must never wait in
// that loop for one of them.
//
// Lifetime: tasks not yet run when the executor goes are dropped. Post must not be called
// while the executor is being destroyed; a thread that might, posts through Handle(), which
// stays safe and drops its tasks once the executor is gone.

#include <QSocketNotifier>

#include <functional>
#include <memory>

#include "platform/Executor.h"

namespace ondrix {

class QtExecutor final : public Executor {
public:
    QtExecutor();
    ~QtExecutor() override;
    QtExecutor(const QtExecutor&) = delete;
    QtExecutor& operator=(const QtExecutor&) = delete;

    // Thread-safe; the task runs later on the executor's thread, never inside Post.
    void Post(std::function<void()> task) override;
    // Posts here while the executor lives; afterwards its posts do nothing.
    std::shared_ptr<Executor> Handle() const;

private:
    class Inbox;

    std::shared_ptr<Inbox> inbox_;
    std::unique_ptr<QSocketNotifier> wakeUp_;
};

}  // namespace ondrix
