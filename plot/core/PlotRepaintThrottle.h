#pragma once
// The repaint throttle of a plot component: turns change notifications, which may arrive
// thousands of times per second, into at most FrameRate repaints per second, and never leaves
// the last change unpainted.
//
// A change that arrives before a full interval has passed since the last repaint is held
// pending, and one trailing repaint is scheduled for the end of the interval (one for the whole
// burst, not one per change). A change costs one clock reading while it is held back.
//
// Hooks, all set before requests start coming:
// - the repaint hook asks the host to repaint the whole client area;
// - the clock answers monotonic milliseconds;
// - the scheduler asks the host to call `due` once, `delayMs` milliseconds from now.
// Without a scheduler nothing could paint a held-back change, so every change repaints at once.
//
// Threads: every operation may be called from any thread; the state is guarded by one mutex.
// The repaint hook and the scheduler run on the calling thread, outside the mutex, so the host
// must make both safe to call from any thread (the Qt host queues them to the GUI thread). The
// `due` callback may run on any thread; it does nothing once the throttle is destroyed, but the
// host must not run it concurrently with the destruction.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace ondrix {

class TPlotRepaintThrottle {
public:
    using TRepaint = std::function<void()>;
    using TClock = std::function<int64_t()>;
    using TScheduler = std::function<void(int64_t delayMs, std::function<void()> due)>;

    // What changed: the content only, or the background (which repaints the content too).
    enum class TChange { Content, BackGround };

    explicit TPlotRepaintThrottle(TRepaint repaint);
    ~TPlotRepaintThrottle();
    TPlotRepaintThrottle(const TPlotRepaintThrottle&) = delete;
    TPlotRepaintThrottle& operator=(const TPlotRepaintThrottle&) = delete;

    // The clock starts as the process's monotonic clock. A new clock's present counts as the
    // time of the last repaint, so readings of the old clock are never compared with it.
    void SetClock(TClock clock);
    void SetScheduler(TScheduler scheduler);
    // The steady clock in milliseconds.
    static int64_t SteadyMilliseconds();

    // Most repaints per second; 0 (or a negative value, stored as 0) turns the throttle off.
    int32_t GetFrameRate() const;
    void SetFrameRate(int32_t value);
    // Off: every change repaints at once.
    bool GetAutoFrameRate() const;
    void SetAutoFrameRate(bool value);

    // A change to show: held pending while updates are locked, else repainted within the bound.
    void Request(TChange change);
    // Repaints at once, also while updates are locked; clears what is pending.
    void RepaintNow();

    // A flag, not a counter: one EndUpdate ends any number of BeginUpdate calls. EndUpdate
    // repaints (within the bound) only if something changed meanwhile.
    void BeginUpdate();
    void EndUpdate();
    bool GetUpdateLocked() const;

    bool GetInvalidatePending() const;
    bool GetBackGroundPending() const;
    int64_t GetLastRepaintTime() const;

private:
    // What a decision taken under the mutex asks for once the mutex is released.
    struct TAction {
        bool repaint = false;
        TScheduler schedule;  // empty: schedule nothing
        int64_t scheduleDelayMs = 0;
    };

    TAction FrameRateCheck();
    TAction RepaintAt(int64_t now);
    void Perform(const TAction& action);
    void TrailingDue();

    TRepaint repaint_;
    TClock clock_;
    TScheduler scheduler_;

    mutable std::mutex mutex_;
    int32_t frameRate_ = 60;
    bool autoFrameRate_ = true;
    bool updateLocked_ = false;
    bool invalidatePending_ = false;
    bool backGroundPending_ = false;
    bool trailingScheduled_ = false;
    int64_t lastRepaintTime_ = 0;

    // Expires with the throttle, so that a trailing call the host runs late does nothing.
    std::shared_ptr<char> alive_ = std::make_shared<char>();
};

}  // namespace ondrix
