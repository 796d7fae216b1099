#pragma once
// Tick choice for an axis: the tick list type and the rules that pick round-numbered major
// increments for a span so that at most a given number of labels appear. The axis (CalcTicks)
// measures how many labels fit, asks one of these rules for the increment, and then walks the
// range adding the ticks that land on its scale.
//
// Pure functions of their arguments; no state, no drawing.

#include <cstdint>
#include <string>
#include <vector>

namespace ondrix {

enum TPlotTickType : uint8_t { ipttMajor, ipttMinor };

struct TPlotTickObject {
    TPlotTickType Style = ipttMajor;
    double Position = 0;  // axis value
    int Pixel = 0;        // valid while Visible
    bool Visible = false;
    std::string Label;  // major ticks only
};

using TPlotTickList = std::vector<TPlotTickObject>;

// Walking by calendar months or years instead of a fixed number of days.
enum class TPlotCalendarStep : uint8_t { None, Months, Years };

// A major increment and the number of intervals it cuts the span into. With calendar stepping
// the increment is a whole number of months or years.
struct TPlotTickIncrement {
    double Increment = 0;
    int Count = 1;
    TPlotCalendarStep Calendar = TPlotCalendarStep::None;
};

// The smallest of 1, 2, 5 times a power of ten that keeps span / increment within maxLabels.
TPlotTickIncrement CalcLinearTicks(double span, int maxLabels);

// Binary fractions of a unit (1/256 up to 1) for prices quoted in thirty-seconds; spans that
// need more than a unit per label step as linear ticks do.
TPlotTickIncrement CalcPrice32Ticks(double span, int maxLabels);

// Values in days: the first rung of a ladder of clock and calendar steps (1 ms .. 14 days,
// 1/2/3/6 months, 1/2/5/10.. years) that keeps span / increment within maxLabels. A span shorter
// than the first rung gets linear ticks.
TPlotTickIncrement CalcDateTimeTicks(double span, int maxLabels);

struct TPlotTickPosition {
    double Position = 0;
    TPlotTickType Style = ipttMajor;
};

// Candidate ticks of a log10 scale over min .. min + span, in increasing order, to be kept when
// they land on the scale: a major tick per decade with minors at 2..9 times it when maxLabels
// allows, otherwise majors every 2, 5, 10, 20, 50, 100 or 200 decades. A non-positive min
// counts as 1.
std::vector<TPlotTickPosition> CalcLog10Ticks(double min, double span, int maxLabels);

// First calendar tick of a walk: the start of the month (year) at or before `min`, rounded down
// to a multiple of `count` months (years), and one step earlier. Calendar walks are kept to
// dates from 1899-12-30 (months) or 1400 (years) up to 8999, and month walks to a century;
// CalendarStepUsable says whether min .. min + span lies there.
bool CalendarStepUsable(TPlotCalendarStep step, double min, double span);
double CalendarStart(TPlotCalendarStep step, int count, double min);
// The position `count` months (years) after a month (year) start.
double AddCalendarStep(TPlotCalendarStep step, int count, double position);

}  // namespace ondrix
