#pragma once
// The scope's trigger: turns the crossings a TriggerDetector finds on one channel into sweeps,
// the screens an oscilloscope holds still so that a repeating signal stands on the screen.
//
// A sweep starts at a crossing (the trigger point, X_t) and is complete once the samples after
// it fill the screen: `ScreenWidth` samples with X_t at `positionPercent` of the width from the
// left. What the display does with a complete sweep is the owner's business; this unit only
// says when one is complete, and, in Auto mode, when the signal has gone a whole screen width
// without a trigger, so that the display may scroll again.
//
// Modes: Auto and Normal re-arm after each sweep, once `holdOff` further samples have arrived;
// Single stops after its first sweep until Rearm. The detector sees every sample, also while a
// sweep fills or holds off, so that a crossing after re-arming is a crossing of the real signal.
//
// Work per sample is constant and allocates nothing. Threads: one thread at a time.

#include <cstdint>
#include <optional>

#include "acquisition/TriggerDetector.h"

namespace ondrix {

enum class TriggerMode { Auto, Normal, Single };

struct SweepSettings {
    // Off: the display scrolls as it always did, and nothing here runs.
    bool on = false;
    TriggerSettings detection;
    TriggerMode mode = TriggerMode::Auto;
    // The share of the screen width before the trigger point, 0 .. 100.
    int positionPercent = 10;
    // Samples after a complete sweep before the next crossing may start one.
    uint32_t holdOff = 0;

    bool operator==(const SweepSettings& other) const;
    bool operator!=(const SweepSettings& other) const { return !(*this == other); }
};

constexpr int kTriggerHysteresisMax = 65535;
// A million samples: minutes at the usual sample rates, and less than a channel keeps.
constexpr uint32_t kTriggerHoldOffMax = 1000000;

// The nearest settings the controls and the settings file can hold: each number brought into
// its range (levels and hysteresis to whole numbers, not-a-number as 0), a channel into 0 .. 3,
// and an edge or mode that names none of its kind back to the default.
SweepSettings WithinRanges(const SweepSettings& settings);

// What a sample meant for the display.
struct SweepStep {
    enum class Kind {
        None,
        // A sweep is complete: show `screenWidth` samples from `xMin`, the trigger point at
        // `triggerX`.
        SweepComplete,
        // Auto mode has waited a screen width for a trigger in vain: scroll with the data again.
        FreeRun,
    };
    Kind kind = Kind::None;
    double triggerX = 0;
    double xMin = 0;
};

class TriggerSweep {
public:
    explicit TriggerSweep(const SweepSettings& settings = {}, uint32_t screenWidth = 1);

    // Settings or screen width changed: the sweep in progress is dropped and the trigger armed.
    void Restart(const SweepSettings& settings, uint32_t screenWidth);
    // Arms again, also after a Single sweep.
    void Rearm();
    // The sample of the source channel at `x`; samples come in increasing X.
    SweepStep Feed(double x, double value);
    // The data break (a lost device came back): no crossing is measured across the gap.
    void Gap() { detector_.Rearm(); }

    const SweepSettings& Settings() const { return settings_; }
    uint32_t ScreenWidth() const { return screenWidth_; }
    // A Single sweep is complete and nothing more happens until Rearm.
    bool Stopped() const { return state_ == State::Stopped; }
    // Samples of the screen before the trigger point; the rest come after it.
    double PreTriggerSamples() const;

private:
    enum class State { Armed, Filling, HoldingOff, Stopped };

    SweepStep Armed(double x, const std::optional<TriggerCrossing>& crossing);
    SweepStep Fill(double x);

    SweepSettings settings_;
    uint32_t screenWidth_;
    TriggerDetector detector_;
    State state_ = State::Armed;
    // Armed: the first sample seen armed, for Auto's wait. Filling: the trigger point.
    std::optional<double> armedSince_;
    double triggerX_ = 0;
    bool freeRunning_ = false;
    uint32_t holdOffLeft_ = 0;
};

}  // namespace ondrix
