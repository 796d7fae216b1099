#include "acquisition/TriggerSweep.h"

#include <algorithm>
#include <cmath>

#include "acquisition/WireProtocol.h"

namespace ondrix {

bool SweepSettings::operator==(const SweepSettings& other) const {
    return on == other.on && detection == other.detection && mode == other.mode &&
           positionPercent == other.positionPercent && holdOff == other.holdOff;
}

namespace {

double WholeWithin(double value, double low, double high) {
    return std::isnan(value) ? 0 : std::round(std::clamp(value, low, high));
}

}  // namespace

SweepSettings WithinRanges(const SweepSettings& settings) {
    const SweepSettings defaults;
    SweepSettings within = settings;
    TriggerSettings& detection = within.detection;
    detection.channel = std::clamp(detection.channel, 0, kChannelCount - 1);
    if (static_cast<unsigned>(detection.edge) > static_cast<unsigned>(TriggerEdge::Either))
        detection.edge = defaults.detection.edge;
    detection.level = WholeWithin(detection.level, kTriggerLevelMin, kTriggerLevelMax);
    detection.hysteresis = WholeWithin(detection.hysteresis, 0, kTriggerHysteresisMax);
    if (static_cast<unsigned>(within.mode) > static_cast<unsigned>(TriggerMode::Single)) within.mode = defaults.mode;
    within.positionPercent = std::clamp(within.positionPercent, 0, 100);
    within.holdOff = std::min(within.holdOff, kTriggerHoldOffMax);
    return within;
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
