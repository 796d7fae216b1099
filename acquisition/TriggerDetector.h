#pragma once
// Finds the moment a channel's signal crosses a level, the event an oscilloscope's trigger
// starts a sweep at. Fed one sample at a time as the samples arrive: constant work per sample,
// no allocation.
//
// A crossing counts only from the side the edge names: a rising one needs the signal below the
// level first, so a signal that starts above it has not crossed. With hysteresis, the signal
// must also have left the band (level - hysteresis, for a rising edge) since the last crossing,
// so noise around the level triggers once, not at every wiggle.
//
// Threads: one thread at a time.

#include <cstdint>
#include <optional>
#include <string>

namespace ondrix {

enum class TriggerEdge { Rising, Falling, Either };

// The channels carry 16-bit values.
constexpr int kTriggerLevelMin = -32768;
constexpr int kTriggerLevelMax = 32767;

struct TriggerSettings {
    int channel = 0;  // 0 .. 3
    TriggerEdge edge = TriggerEdge::Rising;
    double level = 0;
    double hysteresis = 0;  // at least 0

    bool operator==(const TriggerSettings& other) const {
        return channel == other.channel && edge == other.edge && level == other.level && hysteresis == other.hysteresis;
    }
};

// The words the command line and the settings file use: "CH1" .. "CH4" for channels 0 .. 3, and
// "rising", "falling", "either". Nothing for any other text, or for a value with no word.
std::optional<int> TriggerChannelFromName(const std::string& name);
std::string TriggerChannelName(int channel);
std::optional<TriggerEdge> TriggerEdgeFromName(const std::string& name);
std::string TriggerEdgeName(TriggerEdge edge);

struct TriggerCrossing {
    // Where the signal met the level, interpolated between the sample before and this one.
    double x;
    TriggerEdge edge;  // Rising or Falling: the way it crossed
};

class TriggerDetector {
public:
    explicit TriggerDetector(const TriggerSettings& settings);

    // The crossing that completes at this sample, if one does.
    std::optional<TriggerCrossing> Feed(double x, double value);
    // Forgets the signal's history: the next crossing needs the signal on the far side again.
    void Rearm();

    const TriggerSettings& Settings() const { return settings_; }

private:
    TriggerSettings settings_;
    bool armedRising_ = false;   // the signal was at or below level - hysteresis (below, without)
    bool armedFalling_ = false;  // the mirror for a falling edge
    bool hasPrevious_ = false;
    double previousX_ = 0;
    double previousValue_ = 0;
};

// "CH1:rising:0", "CH3:falling:-200", "CH2:either:1500": the channel, the edge and the level.
// Empty `error` when the text is one.
struct ParsedTrigger {
    TriggerSettings settings;
    std::string error;
};
ParsedTrigger ParseTriggerText(const std::string& text);

}  // namespace ondrix
