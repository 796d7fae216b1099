#pragma once
// Trigger settings in a test's failure message, every field by name.

#include <ostream>

#include "acquisition/TriggerSweep.h"

namespace ondrix {

inline void PrintTo(const SweepSettings& s, std::ostream* out) {
    *out << "{on " << s.on << ", CH" << s.detection.channel + 1 << ", edge " << static_cast<int>(s.detection.edge)
         << ", level " << s.detection.level << ", hysteresis " << s.detection.hysteresis << ", mode "
         << static_cast<int>(s.mode) << ", position " << s.positionPercent << " %, hold-off " << s.holdOff << "}";
}

}  // namespace ondrix
