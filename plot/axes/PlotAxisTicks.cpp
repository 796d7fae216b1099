#include "plot/axes/PlotAxisTicks.h"

#include <algorithm>
#include <cmath>

#include "plot/core/PlotCalendar.h"

namespace ondrix {

namespace {

constexpr double kMillisecond = 1.0 / 86400000;
constexpr double kSecond = 1.0 / 86400;
constexpr double kMinute = 1.0 / 1440;
constexpr double kHour = 1.0 / 24;
constexpr double kDaysPerYear = 365.25;

// Calendar walks stay where the date arithmetic and four-digit years hold.
constexpr double kMonthWalkFirstDay = 0;
constexpr double kYearWalkFirstDay = -182625;
constexpr double kCalendarWalkLastDay = 2593224;
constexpr double kMonthWalkLongestSpan = 36525;

struct DateTimeRung {
    double days;  // the length a label needs, for the choice
    TPlotCalendarStep calendar;
    int calendarCount;
};

constexpr DateTimeRung kDateTimeLadder[] = {
    {1 * kMillisecond, TPlotCalendarStep::None, 0},   {2 * kMillisecond, TPlotCalendarStep::None, 0},
    {5 * kMillisecond, TPlotCalendarStep::None, 0},   {10 * kMillisecond, TPlotCalendarStep::None, 0},
    {20 * kMillisecond, TPlotCalendarStep::None, 0},  {50 * kMillisecond, TPlotCalendarStep::None, 0},
    {100 * kMillisecond, TPlotCalendarStep::None, 0}, {200 * kMillisecond, TPlotCalendarStep::None, 0},
    {500 * kMillisecond, TPlotCalendarStep::None, 0}, {1 * kSecond, TPlotCalendarStep::None, 0},
    {2 * kSecond, TPlotCalendarStep::None, 0},        {5 * kSecond, TPlotCalendarStep::None, 0},
    {10 * kSecond, TPlotCalendarStep::None, 0},       {15 * kSecond, TPlotCalendarStep::None, 0},
    {20 * kSecond, TPlotCalendarStep::None, 0},       {30 * kSecond, TPlotCalendarStep::None, 0},
    {1 * kMinute, TPlotCalendarStep::None, 0},        {2 * kMinute, TPlotCalendarStep::None, 0},
    {5 * kMinute, TPlotCalendarStep::None, 0},        {10 * kMinute, TPlotCalendarStep::None, 0},
    {15 * kMinute, TPlotCalendarStep::None, 0},       {20 * kMinute, TPlotCalendarStep::None, 0},
    {30 * kMinute, TPlotCalendarStep::None, 0},       {1 * kHour, TPlotCalendarStep::None, 0},
    {2 * kHour, TPlotCalendarStep::None, 0},          {4 * kHour, TPlotCalendarStep::None, 0},
    {6 * kHour, TPlotCalendarStep::None, 0},          {12 * kHour, TPlotCalendarStep::None, 0},
    {1, TPlotCalendarStep::None, 0},                  {7, TPlotCalendarStep::None, 0},
    {14, TPlotCalendarStep::None, 0},                 {31, TPlotCalendarStep::Months, 1},
    {61, TPlotCalendarStep::Months, 2},               {92, TPlotCalendarStep::Months, 3},
    {183, TPlotCalendarStep::Months, 6},
};

int IntervalCount(double span, double increment) {
    const double count = std::nearbyint(span / increment);
    return count < 1 ? 1 : count > 1e9 ? 1000000000 : static_cast<int>(count);
}

double FloorToMultiple(double value, double multiple) { return std::floor(value / multiple) * multiple; }

}  // namespace

TPlotTickIncrement CalcLinearTicks(double span, int maxLabels) {
    const int n = std::max(maxLabels, 1);
    double exponent = std::trunc(std::log10(span) - 1 - std::log10(n));
    for (;; ++exponent) {
        const double decade = std::pow(10.0, exponent);
        for (const double mantissa : {1.0, 2.0, 5.0}) {
            const double increment = mantissa * decade;
            if (n >= span / increment) return {increment, IntervalCount(span, increment)};
        }
    }
}

TPlotTickIncrement CalcPrice32Ticks(double span, int maxLabels) {
    const int n = std::max(maxLabels, 1);
    for (double increment = 1.0 / 256; increment <= 1; increment *= 2)
        if (n >= span / increment) return {increment, IntervalCount(span, increment)};
    return CalcLinearTicks(span, n);
}

TPlotTickIncrement CalcDateTimeTicks(double span, int maxLabels) {
    const int n = std::max(maxLabels, 1);
    if (span < kDateTimeLadder[0].days) return CalcLinearTicks(span, n);
    for (const DateTimeRung& rung : kDateTimeLadder) {
        if (n < span / rung.days) continue;
        const int count = IntervalCount(span, rung.days);
        if (rung.calendar == TPlotCalendarStep::None) return {rung.days, count};
        return {static_cast<double>(rung.calendarCount), count, rung.calendar};
    }
    // Years: 1, 2, 5 times a power of ten.
    for (double decade = 1;; decade *= 10) {
        for (const double mantissa : {1.0, 2.0, 5.0}) {
            const double years = mantissa * decade;
            if (n >= span / (years * kDaysPerYear))
                return {years, IntervalCount(span, years * kDaysPerYear), TPlotCalendarStep::Years};
        }
    }
}

std::vector<TPlotTickPosition> CalcLog10Ticks(double min, double span, int maxLabels) {
    const int n = std::max(maxLabels, 1);
    const double low = min > 0 ? min : 1;
    const double end = span + low;
    const double decades = std::log10(end) - std::log10(low);
    double step = 1;
    if (n < decades) {
        step = 200;
        for (const double candidate : {2.0, 5.0, 10.0, 20.0, 50.0, 100.0}) {
            if (n >= decades / candidate) {
                step = candidate;
                break;
            }
        }
    }
    const bool withMinors = step == 1;
    std::vector<TPlotTickPosition> ticks;
    for (double decade = FloorToMultiple(std::trunc(std::log10(low)) - 1, step);; decade += step) {
        const double value = std::pow(10.0, decade);
        if (value > end) break;
        ticks.push_back({value, ipttMajor});
        if (withMinors)
            for (int times = 2; times <= 9; ++times) ticks.push_back({times * value, ipttMinor});
    }
    return ticks;
}

bool CalendarStepUsable(TPlotCalendarStep step, double min, double span) {
    if (step == TPlotCalendarStep::None) return false;
    const bool years = step == TPlotCalendarStep::Years;
    const double first = years ? kYearWalkFirstDay : kMonthWalkFirstDay;
    const double longest = years ? kCalendarWalkLastDay - kYearWalkFirstDay : kMonthWalkLongestSpan;
    return min >= first && min <= kCalendarWalkLastDay && span <= longest;
}

double CalendarStart(TPlotCalendarStep step, int count, double min) {
    const TPlotDate date = PlotDateFromDays(static_cast<int64_t>(std::floor(min)));
    const int64_t stride = std::max(count, 1);
    if (step == TPlotCalendarStep::Years) {
        const int64_t year = static_cast<int64_t>(FloorToMultiple(static_cast<double>(date.Year), stride)) - stride;
        return static_cast<double>(PlotDaysFromDate(year, 1, 1));
    }
    const int64_t monthIndex = date.Year * 12 + (date.Month - 1);
    const int64_t first = static_cast<int64_t>(FloorToMultiple(static_cast<double>(monthIndex), stride)) - stride;
    return static_cast<double>(PlotDaysFromDate(0, first + 1, 1));
}

double AddCalendarStep(TPlotCalendarStep step, int count, double position) {
    const TPlotDate date = PlotDateFromDays(static_cast<int64_t>(std::floor(position)));
    if (step == TPlotCalendarStep::Years) return static_cast<double>(PlotDaysFromDate(date.Year + count, 1, 1));
    return static_cast<double>(PlotDaysFromDate(date.Year, date.Month + count, 1));
}

}  // namespace ondrix
