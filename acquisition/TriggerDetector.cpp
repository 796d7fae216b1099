#include "acquisition/TriggerDetector.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iterator>

namespace ondrix {

TriggerDetector::TriggerDetector(const TriggerSettings& settings) : settings_(settings) {
    settings_.hysteresis = std::max(0.0, settings_.hysteresis);
}

void TriggerDetector::Rearm() {
    armedRising_ = false;
    armedFalling_ = false;
    hasPrevious_ = false;
}

std::optional<TriggerCrossing> TriggerDetector::Feed(double x, double value) {
    const double level = settings_.level;
    const double band = settings_.hysteresis;
    const bool wantsRising = settings_.edge != TriggerEdge::Falling;
    const bool wantsFalling = settings_.edge != TriggerEdge::Rising;

    std::optional<TriggerEdge> crossed;
    if (wantsRising && armedRising_ && value >= level) {
        crossed = TriggerEdge::Rising;
        armedRising_ = false;
    } else if (wantsFalling && armedFalling_ && value <= level) {
        crossed = TriggerEdge::Falling;
        armedFalling_ = false;
    }
    // Without hysteresis the far side is strictly beyond the level, so that a signal resting on
    // the level does not trigger again and again.
    if (band > 0 ? value <= level - band : value < level) armedRising_ = true;
    if (band > 0 ? value >= level + band : value > level) armedFalling_ = true;

    std::optional<TriggerCrossing> crossing;
    if (crossed) {
        double at = x;
        if (hasPrevious_ && value != previousValue_ && value != level)
            at = previousX_ + (level - previousValue_) / (value - previousValue_) * (x - previousX_);
        crossing = TriggerCrossing{at, *crossed};
    }
    hasPrevious_ = true;
    previousX_ = x;
    previousValue_ = value;
    return crossing;
}

namespace {

constexpr const char* kEdgeNames[] = {"rising", "falling", "either"};  // in TriggerEdge's order

}  // namespace

std::optional<int> TriggerChannelFromName(const std::string& name) {
    if (name.size() != 3 || name.compare(0, 2, "CH") != 0 || name[2] < '1' || name[2] > '4') return std::nullopt;
    return name[2] - '1';
}

std::string TriggerChannelName(int channel) { return "CH" + std::to_string(channel + 1); }

std::optional<TriggerEdge> TriggerEdgeFromName(const std::string& name) {
    for (int edge = 0; edge < static_cast<int>(std::size(kEdgeNames)); ++edge)
        if (name == kEdgeNames[edge]) return static_cast<TriggerEdge>(edge);
    return std::nullopt;
}

std::string TriggerEdgeName(TriggerEdge edge) {
    const auto index = static_cast<size_t>(edge);
    return index < std::size(kEdgeNames) ? kEdgeNames[index] : "";
}

ParsedTrigger ParseTriggerText(const std::string& text) {
    ParsedTrigger parsed;
    const size_t first = text.find(':');
    const size_t second = first == std::string::npos ? first : text.find(':', first + 1);
    const std::string usage = "takes CHn:rising|falling|either:LEVEL, not '" + text + "'";
    if (second == std::string::npos) {
        parsed.error = usage;
        return parsed;
    }
    const std::string channel = text.substr(0, first);
    const std::string edge = text.substr(first + 1, second - first - 1);
    const std::string level = text.substr(second + 1);
    const std::optional<int> channelIndex = TriggerChannelFromName(channel);
    if (!channelIndex) {
        parsed.error = usage;
        return parsed;
    }
    parsed.settings.channel = *channelIndex;
    if (const std::optional<TriggerEdge> named = TriggerEdgeFromName(edge))
        parsed.settings.edge = *named;
    else
        parsed.error = usage;
    char* end = nullptr;
    errno = 0;
    const long value = level.empty() ? 0 : std::strtol(level.c_str(), &end, 10);
    if (level.empty() || *end != '\0' || errno != 0 || value < kTriggerLevelMin || value > kTriggerLevelMax)
        parsed.error = "the trigger level is a 16-bit value from -32768 to 32767, not '" + level + "'";
    parsed.settings.level = static_cast<double>(value);
    return parsed;
}

}  // namespace ondrix
