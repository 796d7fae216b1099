#include "plot/core/PlotNumberText.h"

#include <charconv>
#include <iterator>

namespace ondrix {

std::string DoubleToText(double value) {
    char text[32];
    const auto result = std::to_chars(std::begin(text), std::end(text), value);
    return std::string(text, result.ptr);
}

// to_chars rather than printf: the C locale of the process must not turn the '.' into a ','.
std::string DoubleToGeneralText(double value) {
    char text[32];
    const auto result = std::to_chars(std::begin(text), std::end(text), value, std::chars_format::general, 15);
    return std::string(text, result.ptr);
}

bool TextToDouble(std::string_view text, double& value) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    const char* const end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Beyond double's range: the wider type reads it, and the narrowing gives the infinity
        // or the zero that the text stands for.
        long double wide = 0;
        result = std::from_chars(text.data(), end, wide);
        value = static_cast<double>(wide);
    }
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

}  // namespace ondrix
