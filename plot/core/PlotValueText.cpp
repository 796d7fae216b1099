#include "plot/core/PlotValueText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string_view>

#include "plot/core/PlotCalendar.h"

namespace ondrix {

namespace {

// More decimals than this only write zeros a double cannot fill, or exhaust memory.
constexpr int kMaxDecimals = 400;

constexpr int64_t kMillisecondsPerDay = 86400000;
// Days of the years -9999 .. 9999 and a little more: beyond them a date has no four-digit year.
constexpr double kDateLimitDays = 4.4e6;

// Fixed-point text with exactly `decimals` decimals. A value that rounds to zero loses its
// sign, so that ticks a rounding error puts just below zero read "0", not "-0".
std::string Fixed(double value, int decimals) {
    if (!std::isfinite(value) || decimals > kMaxDecimals) throw std::range_error("no fixed text");
    std::string text(320 + kMaxDecimals, '\0');
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals);
    text.resize(static_cast<size_t>(result.ptr - text.data()));
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

std::string Scientific(double value, int decimals) {
    if (!std::isfinite(value) || decimals > kMaxDecimals) throw std::range_error("no scientific text");
    char text[32 + kMaxDecimals];
    const auto result = std::to_chars(std::begin(text), std::end(text), value, std::chars_format::scientific, decimals);
    return std::string(text, result.ptr);
}

// Commas between groups of three digits of the integer part.
std::string WithThousands(std::string text) {
    const size_t digitsStart = text[0] == '-' ? 1 : 0;
    size_t digitsEnd = text.find('.');
    if (digitsEnd == std::string::npos) digitsEnd = text.size();
    for (size_t at = digitsEnd; at > digitsStart + 3; at -= 3) text.insert(at - 3, ",");
    return text;
}

const char* SiPrefix(int exponent) {
    switch (exponent) {
        case 24: return "Y";
        case 21: return "Z";
        case 18: return "E";
        case 15: return "P";
        case 12: return "T";
        case 9: return "G";
        case 6: return "M";
        case 3: return "K";
        case 0: return "";
        case -3: return "m";
        case -6: return "\xC2\xB5";  // the micro sign
        case -9: return "n";
        case -12: return "p";
        case -15: return "f";
        case -18: return "a";
        case -21: return "z";
        case -24: return "y";
        default: return nullptr;
    }
}

std::string Prefixed(double value, int32_t precision, TPrecisionStyle style) {
    if (!std::isfinite(value)) throw std::range_error("no prefix text");
    const int exponent = value == 0 ? 0 : 3 * static_cast<int>(std::log10(std::fabs(value)) / 3);
    const char* prefix = SiPrefix(exponent);
    if (prefix == nullptr) return "Unknown";
    // Multiplying by an exact power of ten keeps 0.001 at exactly 1 "m".
    const double scaled = exponent >= 0 ? value / std::pow(10.0, exponent) : value * std::pow(10.0, -exponent);
    return Fixed(scaled, PlotDecimalCount(precision, style, scaled)) + prefix;
}

// The price in thirty-seconds and eighths of a thirty-second: 101.5 is 101 and 16/32, "101.160".
// The half-eighth added first rounds to the nearest eighth. The whole part is the floor, so that
// the fraction of a negative price still counts upwards from it.
std::string Price32nds(double value) {
    const double shifted = value + 1.0 / 512;
    double whole = std::floor(shifted);
    long long units = std::llround((shifted - whole) * 1024);
    if (units == 1024) {
        whole += 1;
        units = 0;
    }
    const long long thirtySeconds = units / 32;
    const long long eighths = (units % 32) / 4;
    std::string text = Fixed(whole, 0) + ".";
    if (thirtySeconds < 10) text += '0';
    return text + std::to_string(thirtySeconds) + std::to_string(eighths);
}

std::string Padded(int64_t number, size_t width) {
    std::string text = std::to_string(number < 0 ? -number : number);
    if (text.size() < width) text.insert(0, width - text.size(), '0');
    return number < 0 ? "-" + text : text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    return true;
}

size_t RunLength(std::string_view text, size_t at) {
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[at])));
    size_t end = at;
    while (end < text.size() && std::tolower(static_cast<unsigned char>(text[end])) == letter) ++end;
    return end - at;
}

}  // namespace

int PlotDecimalCount(int32_t precision, TPrecisionStyle style, double referenceWidth) {
    if (style == ipsFixedDecimalPoints) return std::max(precision, 0);
    if (precision <= 0) return 0;
    if (referenceWidth == 0) return 1;
    const double width = std::fabs(referenceWidth);
    if (!std::isfinite(width)) return 0;
    int decimals = precision - (static_cast<int>(std::trunc(std::log10(width))) + 1);
    if (width < 1) ++decimals;
    return std::max(decimals, 0);
}

std::string FormatPlotDateTime(const std::string& format, double days) {
    if (!(std::fabs(days) <= kDateLimitDays)) throw std::out_of_range("date beyond the calendar");
    std::string_view rest = format;
    std::string text;
    if (!rest.empty() && (rest[0] == 'J' || rest[0] == 'j')) {
        text = Fixed(std::trunc(days), 0) + " ";
        rest.remove_prefix(1);
    }

    const int64_t milliseconds = std::llround(days * kMillisecondsPerDay);
    const int64_t wholeDays = milliseconds >= 0 ? milliseconds / kMillisecondsPerDay
                                                : -((-milliseconds + kMillisecondsPerDay - 1) / kMillisecondsPerDay);
    int64_t ofDay = milliseconds - wholeDays * kMillisecondsPerDay;
    const TPlotDate date = PlotDateFromDays(wholeDays);
    const int64_t millisecond = ofDay % 1000;
    ofDay /= 1000;
    const int64_t second = ofDay % 60;
    ofDay /= 60;
    const int64_t minute = ofDay % 60;
    const int64_t hour = ofDay / 60;

    bool twelveHours = false;
    for (size_t at = 0; at < rest.size() && !twelveHours; ++at)
        twelveHours = StartsWithNoCase(rest.substr(at), "am/pm");
    const int64_t shownHour = twelveHours ? (hour % 12 == 0 ? 12 : hour % 12) : hour;

    for (size_t at = 0; at < rest.size();) {
        const char c = rest[at];
        if (c == '\'' || c == '"') {
            const size_t close = rest.find(c, at + 1);
            const size_t end = close == std::string_view::npos ? rest.size() : close;
            text.append(rest.substr(at + 1, end - at - 1));
            at = end + 1;
            continue;
        }
        if (StartsWithNoCase(rest.substr(at), "am/pm")) {
            const bool upper = rest[at] == 'A';
            text += hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
            at += 5;
            continue;
        }
        const size_t run = RunLength(rest, at);
        const bool twoDigits = run >= 2;
        switch (std::tolower(static_cast<unsigned char>(c))) {
            case 'y':
                text += run >= 3 ? Padded(date.Year, 4) : Padded(((date.Year % 100) + 100) % 100, 2);
                at += std::min<size_t>(run, 4);
                continue;
            case 'm': text += Padded(date.Month, twoDigits ? 2 : 1); break;
            case 'd': text += Padded(date.Day, twoDigits ? 2 : 1); break;
            case 'h': text += Padded(shownHour, twoDigits ? 2 : 1); break;
            case 'n': text += Padded(minute, twoDigits ? 2 : 1); break;
            case 's': text += Padded(second, twoDigits ? 2 : 1); break;
            case 'z':
                text += Padded(millisecond, run >= 3 ? 3 : 1);
                at += std::min<size_t>(run, 3);
                continue;
            default:
                text += c;
                ++at;
                continue;
        }
        at += std::min<size_t>(run, 2);
    }
    return text;
}

std::string FormatPlotValue(const TPlotValueFormat& format, double value, double span, bool log10Scale) {
    try {
        switch (format.Style) {
            case iptfValue:
                if (log10Scale) {
                    if (value <= 0) return "Unknown";
                    return Fixed(value, std::max(0, -static_cast<int>(std::trunc(std::log10(value) - 0.5))));
                }
                return Fixed(value, PlotDecimalCount(format.Precision, format.PrecisionStyle, span));
            case iptfExponent: {
                const int32_t digits = format.PrecisionStyle == ipsFixedDecimalPoints ? format.Precision + 1
                                                                                       : format.Precision;
                return Scientific(value, std::max(digits, 0));
            }
            case iptfPrefix: return Prefixed(value, format.Precision, format.PrecisionStyle);
            case iptfDateTime: return FormatPlotDateTime(format.DateTimeFormat, value);
            case iptfPrice32nds: return Price32nds(value);
            case iptfThousands:
                return WithThousands(Fixed(value, PlotDecimalCount(format.Precision, format.PrecisionStyle, span)));
        }
        return "Unknown";
    } catch (const std::exception&) {
        return "Error";
    }
}

int PlotTextLength(const std::string& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(),
                                          [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace ondrix
