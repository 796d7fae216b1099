#include "workbench/CursorReadout.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace ondrix {

int64_t TruncatedReading(double value) {
    if (std::isnan(value)) return 0;
    // 2^63 is exactly representable; everything at or beyond it saturates.
    constexpr double kLimit = 9223372036854775808.0;
    if (value >= kLimit) return std::numeric_limits<int64_t>::max();
    if (value <= -kLimit) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(value);
}

std::string DataValueText(double value, TDataFormat format) {
    const int64_t whole = TruncatedReading(value);
    if (format == TDataFormat::Dec) return std::to_string(whole);
    char text[5];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(static_cast<uint64_t>(whole) & 0xFFFFu));
    return text;
}

std::optional<double> SnappedPointerPercent(double min, double span, double percent) {
    const double position = static_cast<double>(TruncatedReading(min + span * percent * 0.01 + 0.5));
    if (span == 0) return std::nullopt;
    return (position - min) * 100 / span;
}

int32_t CursorSample(double x) {
    const int64_t sample = TruncatedReading(x + 0.5);
    if (sample > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (sample < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(sample);
}

}  // namespace ondrix
