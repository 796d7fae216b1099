#pragma once
// What the channel panel shows of the data cursor: the pointer snapped to a whole sample under
// the mouse, the channels' values there in decimal or hexadecimal, and the sample number a
// cursor reading stands for, from which two double clicks measure a time interval.

#include <cstdint>
#include <optional>
#include <string>

namespace ondrix {

enum class TDataFormat { Dec, Hex };

// A reading truncated toward zero; values beyond the 64-bit range saturate and NaN gives 0,
// so that no reading can make the conversion undefined.
int64_t TruncatedReading(double value);

// Dec: the truncated value in decimal ("-5"). Hex: its low 16 bits as four upper-case
// hexadecimal digits ("FFFB").
std::string DataValueText(double value, TDataFormat format);

// The pointer position, in percent of the data view, of the whole sample nearest to `percent`
// on an X axis from `min` spanning `span`; nothing when the span is 0.
std::optional<double> SnappedPointerPercent(double min, double span, double percent);

// The sample a cursor X stands for: X + 0.5 truncated toward zero, kept to 32 bits.
int32_t CursorSample(double x);

}  // namespace ondrix
