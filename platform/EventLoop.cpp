#include "EventLoop.h"

#include <algorithm>

namespace ondrix {

void EventLoop::Post(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    posted_.notify_one();
}

// Runs the oldest task with the lock released, so that the task may post again.
bool EventLoop::RunOne(std::unique_lock<std::mutex>& lock) {
    if (tasks_.empty()) return false;
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    task();
    lock.lock();
    return true;
}

bool EventLoop::RunUntil(const std::function<bool()>& done, std::chrono::steady_clock::duration timeout) {
    constexpr std::chrono::milliseconds kPollInterval{20};
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        lock.unlock();
        const bool finished = done();
        lock.lock();
        if (finished) return true;
        if (RunOne(lock)) continue;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return false;
        posted_.wait_until(lock, std::min(deadline, now + kPollInterval), [this] { return !tasks_.empty(); });
    }
}

size_t EventLoop::RunPending() {
    std::unique_lock<std::mutex> lock(mutex_);
    const size_t pending = tasks_.size();
    size_t ran = 0;
    while (ran < pending && RunOne(lock)) ++ran;
    return ran;
}

}  // namespace ondrix
