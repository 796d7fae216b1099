#pragma once
// A component with its own timer.
//
// The timer is the host's: the component arms it with an interval (OnTimerArm) and disarms it
// (OnTimerDisarm); the host calls TimerTick on the GUI thread at every expiry. The component
// decides the intervals: an initial delay first, then the repeat interval.
//
// Threads: timer calls and ticks belong to the GUI thread.

#include <functional>

#include "plot/component/ComponentBase.h"

namespace ondrix {

class TWindowedComponent : public TComponentBase {
public:
    TWindowedComponent() = default;
    ~TWindowedComponent() override;

    // Installed by the host: (re)start its timer with the interval, or stop it.
    std::function<void(int intervalMs)> OnTimerArm;
    std::function<void()> OnTimerDisarm;
    // The host's timer expired.
    void TimerTick();

    bool GetTimerRunning() const override { return timerRunning_; }
    void TimerStart(int initialDelayMs, int repeatIntervalMs) override;
    void TimerStop() override;

private:
    void Arm(int intervalMs);

    bool timerRunning_ = false;
    // Set while the initial delay runs: the first tick switches to the repeat interval.
    bool firstTickPending_ = false;
    int repeatIntervalMs_ = 0;
};

}  // namespace ondrix
