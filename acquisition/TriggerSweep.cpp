#include "acquisition/TriggerSweep.h"

namespace ondrix {

bool SweepSettings::operator==(const SweepSettings& other) const {
    return on == other.on && detection.channel == other.detection.channel && detection.edge == other.detection.edge &&
           detection.level == other.detection.level && detection.hysteresis == other.detection.hysteresis &&
           mode == other.mode && positionPercent == other.positionPercent && holdOff == other.holdOff;
}

TriggerSweep::TriggerSweep(const SweepSettings& settings, uint32_t screenWidth)
    : settings_(settings), screenWidth_(screenWidth), detector_(settings.detection) {}

void TriggerSweep::Restart(const SweepSettings& settings, uint32_t screenWidth) {
    settings_ = settings;
    screenWidth_ = screenWidth;
    detector_ = TriggerDetector(settings.detection);
    Rearm();
}

void TriggerSweep::Rearm() {
    state_ = State::Armed;
    armedSince_.reset();
    freeRunning_ = false;
}

double TriggerSweep::PreTriggerSamples() const { return screenWidth_ * (settings_.positionPercent / 100.0); }

SweepStep TriggerSweep::Feed(double x, double value) {
    // Fed in every state, so that the detector knows which side of the level the signal is on
    // when the trigger arms again.
    const std::optional<TriggerCrossing> crossing = detector_.Feed(x, value);
    switch (state_) {
        case State::Armed:
            return Armed(x, crossing);
        case State::Filling:
            return Fill(x);
        case State::HoldingOff:
            if (--holdOffLeft_ == 0) Rearm();
            return {};
        case State::Stopped:
            return {};
    }
    return {};
}

SweepStep TriggerSweep::Fill(double x) {
    // Complete when the next sample would lie beyond the screen's right edge.
    const double xMin = triggerX_ - PreTriggerSamples();
    if (x + 1 <= xMin + screenWidth_) return {};
    const SweepStep complete{SweepStep::Kind::SweepComplete, triggerX_, xMin};
    if (settings_.mode == TriggerMode::Single) {
        state_ = State::Stopped;
    } else if (settings_.holdOff > 0) {
        state_ = State::HoldingOff;
        holdOffLeft_ = settings_.holdOff;
    } else {
        Rearm();
    }
    return complete;
}

SweepStep TriggerSweep::Armed(double x, const std::optional<TriggerCrossing>& crossing) {
    if (crossing) {
        state_ = State::Filling;
        triggerX_ = crossing->x;
        // At 100 % the screen ends at the trigger point: the crossing's own sample completes it.
        return Fill(x);
    }
    if (!armedSince_) armedSince_ = x;
    if (settings_.mode == TriggerMode::Auto && !freeRunning_ && x - *armedSince_ >= screenWidth_) {
        freeRunning_ = true;
        return {SweepStep::Kind::FreeRun, 0, 0};
    }
    return {};
}

}  // namespace ondrix
