#pragma once
// Calendar dates of the plot's date-time values (days since 1899-12-30) in the proleptic
// Gregorian calendar, for any year the 64-bit day count holds.

#include <cstdint>

namespace ondrix {

struct TPlotDate {
    int64_t Year = 1899;
    int Month = 12;  // 1..12
    int Day = 30;    // 1..31
};

// Day 0 of the plot's dates is 1899-12-30, 693899 days after 0000-03-01: the arithmetic below
// counts years from March so that the leap day falls at the end of a year.
constexpr int64_t kPlotDayZeroFromMarch0 = 693899;

// Days since 1899-12-30 of a date; the month may lie outside 1..12 and carries into the year.
constexpr int64_t PlotDaysFromDate(int64_t year, int64_t month, int day) {
    const int64_t monthIndex = month - 1;
    const int64_t carry = monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
    year += carry;
    const int64_t m = monthIndex - 12 * carry + 1;
    const int64_t y = m <= 2 ? year - 1 : year;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - kPlotDayZeroFromMarch0;
}

constexpr TPlotDate PlotDateFromDays(int64_t days) {
    const int64_t z = days + kPlotDayZeroFromMarch0;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    TPlotDate date;
    date.Day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    date.Month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.Year = yearOfEra + era * 400 + (date.Month <= 2 ? 1 : 0);
    return date;
}

}  // namespace ondrix
