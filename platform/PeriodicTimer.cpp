#include "PeriodicTimer.h"

namespace ondrix {

PeriodicTimer::~PeriodicTimer() { Stop(); }

void PeriodicTimer::Start(std::chrono::milliseconds period, std::function<void()> tick,
                          std::function<void()> prologue) {
    Stop();
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = false;
    thread_ = std::thread([this, period, tick = std::move(tick), prologue = std::move(prologue)] {
        Loop(period, tick, prologue);
    });
}

void PeriodicTimer::Stop() {
    std::thread finished;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        if (!thread_.joinable()) return;
        if (thread_.get_id() == std::this_thread::get_id()) return;
        finished = std::move(thread_);
    }
    stopRequested_.notify_all();
    finished.join();
}

bool PeriodicTimer::Active() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return thread_.joinable() && !stopping_;
}

bool PeriodicTimer::Pause(std::chrono::steady_clock::duration duration) {
    std::unique_lock<std::mutex> lock(mutex_);
    return !stopRequested_.wait_for(lock, duration, [this] { return stopping_; });
}

void PeriodicTimer::Loop(std::chrono::milliseconds period, const std::function<void()>& tick,
                         const std::function<void()>& prologue) {
    using Clock = std::chrono::steady_clock;
    if (prologue) prologue();
    auto deadline = Clock::now() + period;
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopRequested_.wait_until(lock, deadline, [this] { return stopping_; })) {
        lock.unlock();
        tick();
        lock.lock();
        deadline += period;
        const auto now = Clock::now();
        if (deadline <= now) deadline += ((now - deadline) / period + 1) * period;
    }
}

}  // namespace ondrix
