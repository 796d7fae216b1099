#pragma once
// Trigger settings for tests: shown field by field in a failure message, and a set with every
// setting away from its default.

#include <ostream>

#include "acquisition/TriggerSweep.h"

namespace ondrix {

inline void PrintTo(const SweepSettings& s, std::ostream* out) {
    *out << "{on " << s.on << ", CH" << s.detection.channel + 1 << ", edge " << static_cast<int>(s.detection.edge)
         << ", level " << s.detection.level << ", hysteresis " << s.detection.hysteresis << ", mode "
         << static_cast<int>(s.mode) << ", position " << s.positionPercent << " %, hold-off " << s.holdOff << "}";
}

namespace test {

inline SweepSettings UnusualSweep() {
    SweepSettings sweep;
    sweep.on = true;
    sweep.detection.channel = 2;
    sweep.detection.edge = TriggerEdge::Falling;
    sweep.detection.level = -1234;
    sweep.detection.hysteresis = 50;
    sweep.mode = TriggerMode::Single;
    sweep.positionPercent = 75;
    sweep.holdOff = 5000;
    return sweep;
}

}  // namespace test
}  // namespace ondrix
