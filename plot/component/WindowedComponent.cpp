#include "plot/component/WindowedComponent.h"

namespace ondrix {

TWindowedComponent::~TWindowedComponent() {
    if (timerRunning_ && OnTimerDisarm) OnTimerDisarm();
}

// ---- Timer -------------------------------------------------------------------------------

void TWindowedComponent::TimerStart(int initialDelayMs, int repeatIntervalMs) {
    if (timerRunning_) return;
    repeatIntervalMs_ = repeatIntervalMs;
    if (initialDelayMs > 0) {
        firstTickPending_ = true;
        Arm(initialDelayMs);
    } else if (repeatIntervalMs > 0) {
        firstTickPending_ = false;
        Arm(repeatIntervalMs);
    }
}

void TWindowedComponent::TimerStop() {
    if (!timerRunning_) return;
    timerRunning_ = false;
    firstTickPending_ = false;
    if (OnTimerDisarm) OnTimerDisarm();
}

void TWindowedComponent::TimerTick() {
    if (!timerRunning_) return;
    if (firstTickPending_) {
        firstTickPending_ = false;
        // An initial delay without a repeat interval fires once.
        if (repeatIntervalMs_ > 0)
            Arm(repeatIntervalMs_);
        else
            TimerStop();
    }
    if (OnTimer) OnTimer();
}

void TWindowedComponent::Arm(int intervalMs) {
    timerRunning_ = true;
    if (OnTimerArm) OnTimerArm(intervalMs);
}

}  // namespace ondrix
