#pragma once
// Calls a function every period on a thread of its own.
//
// Ticks never overlap: the next one starts only after the previous returned. Deadlines are
// absolute (start + k × period), so a slow tick does not shift the ones after it; a deadline
// missed entirely is skipped rather than run late in a burst. Stop waits for a running tick to
// finish, so whatever the tick uses may be released as soon as Stop returns. A tick that has
// to wait (between bytes it sends, say) uses Pause, which Stop cuts short.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace ondrix {

class PeriodicTimer {
public:
    PeriodicTimer() = default;
    ~PeriodicTimer();
    PeriodicTimer(const PeriodicTimer&) = delete;
    PeriodicTimer& operator=(const PeriodicTimer&) = delete;

    // Stops a running timer first; the first tick comes one period after Start. A prologue
    // runs on the timer's thread before that, and the first tick comes one period after it.
    void Start(std::chrono::milliseconds period, std::function<void()> tick, std::function<void()> prologue = {});
    // Harmless when not running. Called from inside a tick it only asks the timer to end after
    // that tick, since waiting there would wait for itself.
    void Stop();
    bool Active() const;
    // From inside a tick or the prologue: waits for `duration`, or less if Stop is asked for
    // meanwhile. False when Stop was asked for, so that the tick can give up its work.
    bool Pause(std::chrono::steady_clock::duration duration);

private:
    void Loop(std::chrono::milliseconds period, const std::function<void()>& tick,
              const std::function<void()>& prologue);

    mutable std::mutex mutex_;
    std::condition_variable stopRequested_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace ondrix
