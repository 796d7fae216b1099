#pragma once
// The texts of axis values: tick labels, data-cursor and legend values. One formatter for all of
// them, so that a value reads the same wherever the plot shows it.
//
// Numbers are written without the locale (the point is always "."), so a label looks the same
// on every desktop. Whatever cannot be formatted (a NaN, an infinity, a date beyond the
// calendar, an absurd decimal count) reads "Error"; a value a log scale or the SI prefixes have
// no place for reads "Unknown".
//
// Date-time values are days since 1899-12-30 00:00, the fraction being the time of day. Format
// letters, in either letter case:
//   yyyy, yy  year (4 digits; last 2 digits)     h, hh   hour (24-hour unless am/pm follows)
//   m, mm     month (no leading zero; 2 digits)  n, nn   minute
//   d, dd     day                                 s, ss   second
//   z, zzz    millisecond (no padding; 3 digits)  am/pm   "am" or "pm" in the case written
//   'text' or "text" is copied without its quotes; every other character is copied as it is.
// A format that starts with "J" or "j" prints the whole number of days, a blank, and then the
// rest of the format.

#include <cstdint>
#include <string>

#include "plot/core/PlotTypes.h"

namespace ondrix {

enum TPlotTextFormat : uint8_t { iptfValue, iptfExponent, iptfPrefix, iptfDateTime, iptfPrice32nds, iptfThousands };
inline constexpr auto kPlotTextFormatNames = EnumValueNames<iptfThousands>(
    {"iptfValue", "iptfExponent", "iptfPrefix", "iptfDateTime", "iptfPrice32nds", "iptfThousands"});

enum TPrecisionStyle : uint8_t { ipsSignificantDigits, ipsFixedDecimalPoints };
inline constexpr auto kPrecisionStyleNames =
    EnumValueNames<ipsFixedDecimalPoints>({"ipsSignificantDigits", "ipsFixedDecimalPoints"});

// One set of format settings; an axis has one for labels, one for the cursor, one for the legend.
struct TPlotValueFormat {
    TPlotTextFormat Style = iptfValue;
    std::string DateTimeFormat = "hh:nn:ss";
    int32_t Precision = 3;
    TPrecisionStyle PrecisionStyle = ipsSignificantDigits;
};

// Decimals that show `precision` significant digits of numbers about as wide as
// `referenceWidth` (or exactly `precision` decimals with the fixed style); never below 0.
int PlotDecimalCount(int32_t precision, TPrecisionStyle style, double referenceWidth);

// The text of `value` in the format. `span` is the reference width of the decimal count (the
// axis's span); `log10Scale` gives plain values the decimals their decade needs.
std::string FormatPlotValue(const TPlotValueFormat& format, double value, double span, bool log10Scale);

// The date-time format applied to a value in days. Throws std::out_of_range beyond the years
// -9999 .. 9999 or for a value that is not finite.
std::string FormatPlotDateTime(const std::string& format, double days);

// Length in characters (UTF-8 code points), as label lengths are counted.
int PlotTextLength(const std::string& text);

}  // namespace ondrix
