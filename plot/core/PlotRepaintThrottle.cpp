#include "plot/core/PlotRepaintThrottle.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace ondrix {

namespace {

// Whole milliseconds between repaints, rounded up so that the rate is never exceeded.
int64_t IntervalMs(int32_t frameRate) { return (1000 + frameRate - 1) / frameRate; }

}  // namespace

TPlotRepaintThrottle::TPlotRepaintThrottle(TRepaint repaint)
    : repaint_(std::move(repaint)), clock_(&SteadyMilliseconds), lastRepaintTime_(clock_()) {}

TPlotRepaintThrottle::~TPlotRepaintThrottle() = default;

int64_t TPlotRepaintThrottle::SteadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void TPlotRepaintThrottle::SetClock(TClock clock) {
    std::lock_guard<std::mutex> lock(mutex_);
    clock_ = std::move(clock);
    lastRepaintTime_ = clock_();
}

void TPlotRepaintThrottle::SetScheduler(TScheduler scheduler) {
    std::lock_guard<std::mutex> lock(mutex_);
    scheduler_ = std::move(scheduler);
    // A call the previous host scheduled may never run (the host is gone): waiting for it would
    // leave every later change of a burst unpainted.
    trailingScheduled_ = false;
}

int32_t TPlotRepaintThrottle::GetFrameRate() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return frameRate_;
}

void TPlotRepaintThrottle::SetFrameRate(int32_t value) {
    std::lock_guard<std::mutex> lock(mutex_);
    frameRate_ = std::max(value, 0);
}

bool TPlotRepaintThrottle::GetAutoFrameRate() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return autoFrameRate_;
}

void TPlotRepaintThrottle::SetAutoFrameRate(bool value) {
    std::lock_guard<std::mutex> lock(mutex_);
    autoFrameRate_ = value;
}

// ---- Requests ----------------------------------------------------------------------------

void TPlotRepaintThrottle::Request(TChange change) {
    TAction action;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        bool& pending = change == TChange::BackGround ? backGroundPending_ : invalidatePending_;
        pending = true;
        if (updateLocked_) return;
        action = FrameRateCheck();
    }
    Perform(action);
}

void TPlotRepaintThrottle::RepaintNow() {
    TAction action;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        action = RepaintAt(clock_());
    }
    Perform(action);
}

void TPlotRepaintThrottle::BeginUpdate() {
    std::lock_guard<std::mutex> lock(mutex_);
    updateLocked_ = true;
}

void TPlotRepaintThrottle::EndUpdate() {
    TAction action;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        updateLocked_ = false;
        if (!invalidatePending_ && !backGroundPending_) return;
        action = FrameRateCheck();
    }
    Perform(action);
}

bool TPlotRepaintThrottle::GetUpdateLocked() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return updateLocked_;
}

bool TPlotRepaintThrottle::GetInvalidatePending() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return invalidatePending_;
}

bool TPlotRepaintThrottle::GetBackGroundPending() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return backGroundPending_;
}

int64_t TPlotRepaintThrottle::GetLastRepaintTime() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastRepaintTime_;
}

// ---- Decisions (under the mutex) ---------------------------------------------------------

// The clock is read under the mutex so that the repaint times every thread sees only grow.
TPlotRepaintThrottle::TAction TPlotRepaintThrottle::FrameRateCheck() {
    if (!autoFrameRate_ || frameRate_ == 0 || !scheduler_) return RepaintAt(clock_());
    // The trailing repaint already scheduled will paint this change too: no clock reading, which
    // keeps a burst of appends from the acquisition cheap.
    if (trailingScheduled_) return {};
    const int64_t now = clock_();
    const int64_t remaining = lastRepaintTime_ + IntervalMs(frameRate_) - now;
    if (remaining <= 0) return RepaintAt(now);
    TAction action;
    if (!trailingScheduled_) {
        trailingScheduled_ = true;
        action.schedule = scheduler_;
        action.scheduleDelayMs = remaining;
    }
    return action;
}

TPlotRepaintThrottle::TAction TPlotRepaintThrottle::RepaintAt(int64_t now) {
    invalidatePending_ = false;
    backGroundPending_ = false;
    lastRepaintTime_ = now;
    TAction action;
    action.repaint = true;
    return action;
}

// ---- Hooks (outside the mutex, so that they may call back in) ----------------------------

void TPlotRepaintThrottle::Perform(const TAction& action) {
    if (action.repaint && repaint_) repaint_();
    if (!action.schedule) return;
    std::weak_ptr<char> alive = alive_;
    action.schedule(action.scheduleDelayMs, [this, alive] {
        if (alive.lock()) TrailingDue();
    });
}

// Whatever repainted meanwhile may have cleared the change or restarted the interval; locked
// updates leave the change to EndUpdate.
void TPlotRepaintThrottle::TrailingDue() {
    TAction action;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        trailingScheduled_ = false;
        if (updateLocked_ || (!invalidatePending_ && !backGroundPending_)) return;
        action = FrameRateCheck();
    }
    Perform(action);
}

}  // namespace ondrix
