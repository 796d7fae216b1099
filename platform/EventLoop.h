#pragma once
// A minimal owner-thread loop for programs and tests without a window system: worker threads
// Post tasks, the owning thread runs them in order inside RunUntil.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

#include "Executor.h"

namespace ondrix {

class EventLoop : public Executor {
public:
    void Post(std::function<void()> task) override;

    // Runs posted tasks until `done` holds or `timeout` has passed; returns whether `done` held.
    // `done` is checked before the first wait, after every task and at least every 20 ms, so it
    // may watch flags that no task sets (a signal, a counter of another thread).
    bool RunUntil(const std::function<bool()>& done, std::chrono::steady_clock::duration timeout);
    // Runs the tasks already posted, without waiting for more. Returns how many ran, so that a
    // caller can tell "nothing was queued" from "what was queued did nothing".
    size_t RunPending();

private:
    bool RunOne(std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
};

}  // namespace ondrix
