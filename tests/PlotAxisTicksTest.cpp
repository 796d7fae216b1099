#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "PlotErrors.h"
#include "plot/axes/PlotAxis.h"
#include "plot/axes/PlotAxisTicks.h"
#include "plot/component/Plot.h"
#include "plot/config/PlotProperties.h"
#include "plot/core/PlotCalendar.h"
#include "plot/core/PlotValueText.h"

using namespace ondrix;
using ondrix::test::ErrorOf;

namespace {

// Every character the same size, whatever the font, so that every length is exact.
class FixedMetrics : public TPlotTextMeasure {
public:
    explicit FixedMetrics(int charWidth = 7, int charHeight = 13) : charWidth_(charWidth), charHeight_(charHeight) {}
    int TextWidth(const std::string& text, const TPlotFont&) const override {
        return charWidth_ * PlotTextLength(text);
    }
    int TextHeight(const std::string&, const TPlotFont&) const override { return charHeight_; }

private:
    int charWidth_;
    int charHeight_;
};

// A strip chart's X axis (horizontal) and Y axis (vertical), each given a draw rectangle of
// the scale length the test needs; repaint requests are counted.
struct AxisRig {
    AxisRig() {
        plot.OnRepaintRequest = [this] { ++repaints; };
    }

    TPlotAxis& Horizontal(int length) {
        TPlotAxis& axis = *plot.GetXAxis(0);
        axis.SetDrawRect(TPlotRect{0, 300, length, 340});
        return axis;
    }
    TPlotAxis& Vertical(int length) {
        TPlotAxis& axis = *plot.GetYAxis(0);
        axis.SetDrawRect(TPlotRect{0, 0, 60, length});
        return axis;
    }

    TPlot plot;
    int repaints = 0;
};

std::vector<double> Positions(const TPlotAxis& axis, TPlotTickType style) {
    std::vector<double> positions;
    for (const TPlotTickObject& tick : axis.GetTickList())
        if (tick.Style == style) positions.push_back(tick.Position);
    return positions;
}

std::vector<std::string> Labels(const TPlotAxis& axis) {
    std::vector<std::string> labels;
    for (const TPlotTickObject& tick : axis.GetTickList())
        if (tick.Style == ipttMajor) labels.push_back(tick.Label);
    return labels;
}

std::vector<double> Series(double first, double step, double last) {
    std::vector<double> values;
    for (double value = first; value <= last + step / 1000; value += step) values.push_back(value);
    return values;
}

double Days(int64_t year, int month, int day) { return static_cast<double>(PlotDaysFromDate(year, month, day)); }

}  // namespace

// ---- Increment choice ----------------------------------------------------------------------

TEST(AxisTickIncrement, LinearTakesTheSmallestOneTwoFiveStepThatKeepsTheLabelCount) {
    struct Case {
        double span;
        int maxLabels;
        double increment;
        int count;
    } cases[] = {
        {50000, 9, 10000, 5}, {80000, 12, 10000, 8}, {50000, 10, 5000, 10}, {100, 20, 5, 20},
        {1, 10, 0.1, 10},     {0.5, 4, 0.2, 2},       {7, 1, 10, 1},         {1e-6, 5, 2e-7, 5},
    };
    for (const Case& c : cases) {
        const TPlotTickIncrement chosen = CalcLinearTicks(c.span, c.maxLabels);
        EXPECT_DOUBLE_EQ(chosen.Increment, c.increment) << c.span << " / " << c.maxLabels;
        EXPECT_EQ(chosen.Count, c.count) << c.span << " / " << c.maxLabels;
        EXPECT_EQ(chosen.Calendar, TPlotCalendarStep::None);
    }
}

TEST(AxisTickIncrement, PriceStepsInBinaryFractionsThenAsLinear) {
    struct Case {
        double span;
        int maxLabels;
        double increment;
    } cases[] = {{1, 10, 1.0 / 8}, {0.1, 10, 1.0 / 64}, {0.01, 10, 1.0 / 256}, {1, 1, 1}, {30, 10, 5}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(CalcPrice32Ticks(c.span, c.maxLabels).Increment, c.increment) << c.span;
}

TEST(AxisTickIncrement, DateTimeClimbsTheClockAndCalendarLadder) {
    constexpr double kSecond = 1.0 / 86400;
    struct Case {
        double span;
        int maxLabels;
        double increment;  // days, or months / years with calendar stepping
        int count;
        TPlotCalendarStep calendar;
    } cases[] = {
        {1, 10, 4.0 / 24, 6, TPlotCalendarStep::None},            // 4 hours
        {60 * kSecond, 5, 15 * kSecond, 4, TPlotCalendarStep::None},
        {0.9 * kSecond, 9, 0.1 * kSecond, 9, TPlotCalendarStep::None},
        {30, 4, 14, 2, TPlotCalendarStep::None},
        {365, 10, 2, 6, TPlotCalendarStep::Months},
        {365, 2, 6, 2, TPlotCalendarStep::Months},
        {3652.5, 4, 5, 2, TPlotCalendarStep::Years},
    };
    for (const Case& c : cases) {
        const TPlotTickIncrement chosen = CalcDateTimeTicks(c.span, c.maxLabels);
        EXPECT_NEAR(chosen.Increment, c.increment, 1e-12) << c.span;
        EXPECT_EQ(chosen.Count, c.count) << c.span;
        EXPECT_EQ(chosen.Calendar, c.calendar) << c.span;
    }
}

TEST(AxisTickIncrement, CalendarWalkStartsAStepBeforeTheRoundedMonthOrYear) {
    EXPECT_EQ(CalendarStart(TPlotCalendarStep::Months, 2, Days(2000, 1, 15)), Days(1999, 11, 1));
    EXPECT_EQ(CalendarStart(TPlotCalendarStep::Months, 3, Days(2000, 5, 31) + 0.7), Days(2000, 1, 1));
    EXPECT_EQ(CalendarStart(TPlotCalendarStep::Years, 5, Days(2013, 6, 1)), Days(2005, 1, 1));
    EXPECT_EQ(AddCalendarStep(TPlotCalendarStep::Months, 6, Days(2000, 9, 1)), Days(2001, 3, 1));
    EXPECT_EQ(AddCalendarStep(TPlotCalendarStep::Years, 2, Days(1999, 1, 1)), Days(2001, 1, 1));
    EXPECT_FALSE(CalendarStepUsable(TPlotCalendarStep::Months, -10, 100));
    EXPECT_FALSE(CalendarStepUsable(TPlotCalendarStep::Months, 100, 40000));
    EXPECT_TRUE(CalendarStepUsable(TPlotCalendarStep::Years, -10, 40000));
}

// ---- The axis's tick list ------------------------------------------------------------------

// The scope's X axis: whole-number labels at least 8 "0"s long, two "0"s apart; "0" 6 pixels
// wide gives a 66-pixel pitch, 9 labels on 600 pixels.
TEST(AxisTicks, ScopeXAxisGetsMajorsEvery10000WithOneMinorBetween) {
    AxisRig rig;
    TPlotAxis& axis = rig.Horizontal(600);
    axis.SetLabelsPrecision(0);
    axis.SetLabelsMinLength(8);
    axis.SetMinSpan(0, 50000);
    axis.CalcTicks(FixedMetrics(6, 13));

    EXPECT_EQ(Positions(axis, ipttMajor), Series(0, 10000, 50000));
    EXPECT_EQ(Positions(axis, ipttMinor), Series(5000, 10000, 45000));
    EXPECT_EQ(Labels(axis), (std::vector<std::string>{"0", "10000", "20000", "30000", "40000", "50000"}));
    // Majors and minors alternate along the axis, each at its own pixel.
    const TPlotTickList& ticks = axis.GetTickList();
    ASSERT_EQ(ticks.size(), 11u);
    for (size_t i = 0; i < ticks.size(); ++i) {
        EXPECT_EQ(ticks[i].Style, i % 2 == 0 ? ipttMajor : ipttMinor) << i;
        EXPECT_TRUE(ticks[i].Visible) << i;
        EXPECT_EQ(ticks[i].Pixel, static_cast<int>(60 * i)) << i;
        if (ticks[i].Style == ipttMinor) {
            EXPECT_EQ(ticks[i].Label, "") << i;
        }
    }
}

// 13-pixel labels three heights apart: 39 pixels each.
TEST(AxisTicks, VerticalAxisLabelsWholeNumbersAsTheSpaceAllows) {
    struct Case {
        int length;
        std::vector<std::string> labels;
    } cases[] = {
        {400, {"-40000", "-30000", "-20000", "-10000", "0", "10000", "20000", "30000", "40000"}},
        {200, {"-40000", "-20000", "0", "20000", "40000"}},
        {40, {"0"}},  // one label fits: a step of 100000
    };
    for (const Case& c : cases) {
        AxisRig rig;
        TPlotAxis& axis = rig.Vertical(c.length);
        axis.SetLabelsPrecision(0);
        axis.SetMinSpan(-40000, 80000);
        axis.CalcTicks(FixedMetrics());
        EXPECT_EQ(Labels(axis), c.labels) << c.length;
    }
}

TEST(AxisTicks, DesiredIncrementAndStartPlaceTheMajors) {
    struct Case {
        const char* name;
        int length;  // 39 pixels per label
        double desiredIncrement;
        double desiredStart;
        bool labelsVisible;
        std::vector<double> majors;
    } cases[] = {
        {"increment 7, room for 20", 780, 7, 0, true, Series(0, 7, 98)},
        {"increment 7, room for 10: too many", 390, 7, 0, true, Series(0, 10, 100)},
        {"increment 7, labels hidden", 100, 7, 0, false, Series(0, 7, 98)},
        {"start 3, automatic 10", 390, 0, 3, true, Series(3, 10, 93)},
        {"start 3, increment 25", 780, 25, 3, true, {3, 28, 53, 78}},
        {"start outside the range", 390, 0, 300, true, Series(0, 10, 100)},
    };
    for (const Case& c : cases) {
        AxisRig rig;
        TPlotAxis& axis = rig.Vertical(c.length);
        axis.SetDesiredIncrement(c.desiredIncrement);
        axis.SetDesiredStart(c.desiredStart);
        axis.SetLabelsVisible(c.labelsVisible);
        axis.SetMinSpan(0, 100);
        axis.CalcTicks(FixedMetrics());
        const std::vector<double> majors = Positions(axis, ipttMajor);
        ASSERT_EQ(majors.size(), c.majors.size()) << c.name;
        for (size_t i = 0; i < majors.size(); ++i) EXPECT_NEAR(majors[i], c.majors[i], 1e-9) << c.name;
    }
}

TEST(AxisTicks, LogAxisGetsDecadesWithMinorsWhenThereIsRoom) {
    AxisRig rig;
    TPlotAxis& axis = rig.Vertical(400);
    axis.SetScaleType(ipstLog10);
    axis.SetMinSpan(1, 999);
    axis.CalcTicks(FixedMetrics());

    EXPECT_EQ(Positions(axis, ipttMajor), (std::vector<double>{1, 10, 100, 1000}));
    EXPECT_EQ(Labels(axis), (std::vector<std::string>{"1", "10", "100", "1000"}));
    std::vector<double> minors;
    for (const double decade : {1.0, 10.0, 100.0})
        for (int times = 2; times <= 9; ++times) minors.push_back(times * decade);
    EXPECT_EQ(Positions(axis, ipttMinor), minors);
}

TEST(AxisTicks, LogAxisSkipsDecadesWhenCrowded) {
    AxisRig rig;
    TPlotAxis& axis = rig.Vertical(200);  // 5 labels for 12 decades: every 5th
    axis.SetScaleType(ipstLog10);
    axis.SetMinSpan(1, 1e12 - 1);
    axis.CalcTicks(FixedMetrics());
    EXPECT_EQ(Positions(axis, ipttMajor), (std::vector<double>{1, 1e5, 1e10}));
    EXPECT_TRUE(Positions(axis, ipttMinor).empty());
}

TEST(AxisTicks, DateTimeAxisStepsByCalendarMonths) {
    AxisRig rig;
    TPlotAxis& axis = rig.Horizontal(600);
    axis.SetLabelsFormatStyle(iptfDateTime);
    axis.SetDateTimeFormat("yyyy-mm-dd");
    axis.SetMinSpan(Days(2000, 1, 15), 365);
    axis.CalcTicks(FixedMetrics());  // 10-character labels: 91-pixel pitch, 6 labels

    EXPECT_TRUE(axis.GetTicksStepMonths());
    EXPECT_FALSE(axis.GetTicksStepYears());
    EXPECT_EQ(Labels(axis), (std::vector<std::string>{"2000-03-01", "2000-05-01", "2000-07-01", "2000-09-01",
                                                      "2000-11-01", "2001-01-01"}));
    EXPECT_TRUE(Positions(axis, ipttMinor).empty());

    axis.SetMinSpan(Days(2000, 1, 1), 1);  // 4-hour steps: no calendar
    axis.CalcTicks(FixedMetrics());
    EXPECT_FALSE(axis.GetTicksStepMonths());
}

TEST(AxisTicks, IndivisibleSpanGetsTicksOnlyWhereTheyLand) {
    AxisRig rig;
    TPlotAxis& axis = rig.Vertical(400);
    axis.SetMinSpan(5, 1e-300);
    axis.CalcTicks(FixedMetrics());
    EXPECT_LE(axis.GetTickList().size(), 4u);
}

TEST(AxisTicks, TickPixelsFollowTheRangeWithoutANewChoice) {
    AxisRig rig;
    TPlotAxis& axis = rig.Horizontal(600);
    axis.SetMinSpan(0, 100);
    axis.CalcTicks(FixedMetrics());
    const size_t count = axis.GetTickList().size();

    axis.SetMin(50);
    axis.CalcTickPixels();
    ASSERT_EQ(axis.GetTickList().size(), count);
    for (const TPlotTickObject& tick : axis.GetTickList()) {
        EXPECT_EQ(tick.Visible, tick.Position >= 50) << tick.Position;
        if (tick.Visible) {
            EXPECT_EQ(tick.Pixel, static_cast<int>(std::lround((tick.Position - 50) * 6))) << tick.Position;
        }
    }
}

TEST(AxisTicks, CustomTickListIsKeptByCalcTicks) {
    AxisRig rig;
    TPlotAxis& axis = rig.Horizontal(600);
    axis.SetMinSpan(0, 100);
    axis.SetTickListCustom(true);
    axis.TickListAdd(25, "quarter", ipttMajor);
    axis.TickListAdd(150, "beyond", ipttMajor);
    axis.TickListAdd(30, "", ipttMinor);
    axis.CalcTicks(FixedMetrics());

    ASSERT_EQ(axis.GetTickListCount(), 3);
    EXPECT_EQ(axis.GetTickListItemLabel(0), "quarter");
    EXPECT_TRUE(axis.GetTickList()[0].Visible);
    EXPECT_EQ(axis.GetTickList()[0].Pixel, 150);
    EXPECT_FALSE(axis.GetTickList()[1].Visible);
    EXPECT_EQ(axis.GetTickListItemStyle(2), ipttMinor);

    const int before = rig.repaints;
    axis.SetTickListItemLabel(0, "Q1");
    axis.SetTickListItemPosition(0, 20);
    axis.SetTickListItemStyle(0, ipttMinor);
    axis.SetTickListItemStyle(0, ipttMinor);
    EXPECT_EQ(rig.repaints - before, 3);
    EXPECT_EQ(axis.GetTickListItemPosition(0), 20);

    axis.TickListClear();
    EXPECT_EQ(axis.GetTickListCount(), 0);
    axis.CalcTicks(FixedMetrics());
    EXPECT_EQ(axis.GetTickListCount(), 0);
}

TEST(AxisTicks, TickListRefusesBadIndicesAndNonPositiveLogPositions) {
    AxisRig rig;
    TPlotAxis& axis = rig.Horizontal(600);
    axis.TickListAdd(0, "zero", ipttMajor);
    EXPECT_EQ(ErrorOf([&] { axis.GetTickListItemLabel(1); }), "Index out of Bounds");
    EXPECT_EQ(ErrorOf([&] { axis.SetTickListItemPosition(-1, 3); }), "Index out of Bounds");

    axis.SetScaleType(ipstLog10);
    for (const double position : {0.0, -1.0, std::nan("")})
        EXPECT_EQ(ErrorOf([&] { axis.TickListAdd(position, "", ipttMajor); }),
                  "Log Scale Requires Position to be Greater Than Zero")
            << position;
    EXPECT_EQ(ErrorOf([&] { axis.TickListAdd(0.5, "", ipttMajor); }), "<no error>");
    EXPECT_EQ(axis.GetTickListCount(), 2);
}

// ---- Value texts ---------------------------------------------------------------------------

TEST(AxisValueText, DecimalCountFollowsPrecisionAndReferenceWidth) {
    struct Case {
        int32_t precision;
        TPrecisionStyle style;
        double width;
        int decimals;
    } cases[] = {
        {3, ipsFixedDecimalPoints, 12345, 3}, {0, ipsSignificantDigits, 0.5, 0},
        {-1, ipsSignificantDigits, 5, 0},     {3, ipsSignificantDigits, 0, 1},
        {3, ipsSignificantDigits, 0.5, 3},    {3, ipsSignificantDigits, 50000, 0},
        {3, ipsSignificantDigits, 2.5, 2},    {3, ipsSignificantDigits, 0.002, 5},
        {4, ipsSignificantDigits, -250, 1},   {3, ipsSignificantDigits, 1, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlotDecimalCount(c.precision, c.style, c.width), c.decimals)
            << c.precision << " " << int(c.style) << " " << c.width;
}

TEST(AxisValueText, EachFormatWritesTheDocumentedText) {
    struct Case {
        TPlotTextFormat style;
        int32_t precision;
        TPrecisionStyle precisionStyle;
        double span;
        bool log10;
        double value;
        const char* text;
    } cases[] = {
        {iptfValue, 3, ipsSignificantDigits, 0.5, false, 0.25, "0.250"},
        {iptfValue, 0, ipsSignificantDigits, 80000, false, -40000, "-40000"},
        {iptfValue, 0, ipsSignificantDigits, 100, false, -1e-9, "0"},
        {iptfValue, 2, ipsFixedDecimalPoints, 1e6, false, 1234567.891, "1234567.89"},
        {iptfValue, 3, ipsSignificantDigits, 100, true, 0.01, "0.01"},
        {iptfValue, 3, ipsSignificantDigits, 100, true, 1000, "1000"},
        {iptfValue, 3, ipsSignificantDigits, 100, true, 0, "Unknown"},
        {iptfValue, 3, ipsSignificantDigits, 100, true, -5, "Unknown"},
        {iptfValue, 3, ipsSignificantDigits, 100, false, std::nan(""), "Error"},
        {iptfExponent, 2, ipsSignificantDigits, 1, false, 12346, "1.23e+04"},
        {iptfExponent, 2, ipsFixedDecimalPoints, 1, false, 12346, "1.235e+04"},
        {iptfPrefix, 3, ipsSignificantDigits, 1, false, 2500, "2.50K"},
        {iptfPrefix, 3, ipsSignificantDigits, 1, false, 0.001, "1.00m"},
        {iptfPrefix, 3, ipsSignificantDigits, 1, false, 0.002, "0.00200"},
        {iptfPrefix, 3, ipsSignificantDigits, 1, false, -2500, "-2.50K"},
        {iptfPrefix, 3, ipsSignificantDigits, 1, false, 1e-6, "1.00\xC2\xB5"},
        {iptfPrefix, 3, ipsSignificantDigits, 1, false, 4.7e-6, "0.00470m"},
        {iptfPrefix, 3, ipsSignificantDigits, 1, false, 1.5e25, "15.0Y"},
        {iptfPrefix, 3, ipsSignificantDigits, 1, false, 0, "0.0"},
        {iptfPrefix, 3, ipsSignificantDigits, 1, false, 1e27, "Unknown"},
        {iptfPrice32nds, 3, ipsSignificantDigits, 1, false, 101.5, "101.160"},
        {iptfPrice32nds, 3, ipsSignificantDigits, 1, false, 101 + 8.0 / 32 + 2.0 / 256, "101.082"},
        {iptfPrice32nds, 3, ipsSignificantDigits, 1, false, 101, "101.000"},
        {iptfPrice32nds, 3, ipsSignificantDigits, 1, false, 99.999, "100.000"},
        {iptfThousands, 0, ipsSignificantDigits, 50000, false, 12345, "12,345"},
        {iptfThousands, 2, ipsFixedDecimalPoints, 1, false, 1234567.891, "1,234,567.89"},
        {iptfThousands, 0, ipsSignificantDigits, 50000, false, -1234, "-1,234"},
        {iptfThousands, 0, ipsSignificantDigits, 50000, false, 999, "999"},
        {iptfDateTime, 3, ipsSignificantDigits, 1, false, 1e9, "Error"},
    };
    for (const Case& c : cases) {
        TPlotValueFormat format;
        format.Style = c.style;
        format.Precision = c.precision;
        format.PrecisionStyle = c.precisionStyle;
        EXPECT_EQ(FormatPlotValue(format, c.value, c.span, c.log10), c.text) << c.value;
    }
}

TEST(AxisValueText, DateTimeFormatsWriteTheirFields) {
    constexpr double kHour = 1.0 / 24;
    constexpr double kSecond = 1.0 / 86400;
    const double march1st = Days(2000, 3, 1);
    struct Case {
        const char* format;
        double days;
        const char* text;
    } cases[] = {
        {"hh:nn:ss", 0.5 + 5 * kSecond, "12:00:05"},
        {"hh:nn:ss", 0, "00:00:00"},
        {"yyyy-mm-dd", march1st, "2000-03-01"},
        {"d/m/yy", march1st + 9, "10/3/00"},
        {"h:n:s.zzz", 1.5 * kHour + 7.25 * kSecond, "1:30:7.250"},
        {"ss.z", 7.05 * kSecond, "07.50"},
        {"h:nn am/pm", 18 * kHour, "6:00 pm"},
        {"hh AM/PM", 0, "12 AM"},
        {"'at' hh\"h\"", 9 * kHour, "at 09h"},
        {"Jhh:nn", 3.25, "3 06:00"},
        {"jdd", 40, "40 08"},
        {"yyyy-mm-dd", -1, "1899-12-29"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatPlotDateTime(c.format, c.days), c.text) << c.format;
}

TEST(AxisValueText, CursorAndLegendUseTheirOwnFormatsUnlessDefault) {
    AxisRig rig;
    TPlotAxis& axis = rig.Horizontal(600);
    axis.SetMinSpan(0, 100);
    axis.SetLabelsFormatStyle(iptfPrefix);
    EXPECT_EQ(axis.GetCursorText(2500), "2.50K");
    EXPECT_EQ(axis.GetLegendText(2500), "2.50K");
    EXPECT_EQ(axis.GetCursorValueText(2500), "2500");

    axis.SetCursorUseDefaultFormat(false);
    axis.SetCursorFormatStyle(iptfDateTime);
    axis.SetCursorDateTimeFormat("hh\r\nnn\rss");
    EXPECT_EQ(axis.GetCursorText(0.5), "12 00 00");
    axis.SetCursorPrecision(1);
    axis.SetCursorPrecisionStyle(ipsFixedDecimalPoints);
    EXPECT_EQ(axis.GetCursorValueText(2500), "2500.0");

    axis.SetLegendUseDefaultFormat(false);
    axis.SetLegendFormatStyle(iptfThousands);
    axis.SetLegendPrecision(0);
    EXPECT_EQ(axis.GetLegendText(12345), "12,345");
    EXPECT_EQ(axis.GetLabelText(2500), "2.50K");
}

// ---- Sizes ---------------------------------------------------------------------------------

TEST(AxisSizes, AutoAdjustGrowsLabelsMinLengthAndNeverShrinksIt) {
    for (const bool autoAdjust : {false, true}) {
        AxisRig rig;
        TPlotAxis& axis = rig.Horizontal(600);
        axis.SetLabelsPrecision(0);
        axis.SetLabelsMinLength(8);
        axis.SetLabelsMinLengthAutoAdjust(autoAdjust);
        axis.SetMinSpan(0, 123456789);  // the label "123456789"
        EXPECT_EQ(axis.GetRequiredLabelLength(FixedMetrics(), axis.GetLabelsFont()), 63) << autoAdjust;
        EXPECT_EQ(axis.GetLabelsMinLength(), autoAdjust ? 9 : 8);

        axis.SetMinSpan(0, 100);
        EXPECT_EQ(axis.GetRequiredLabelLength(FixedMetrics(), axis.GetLabelsFont()), autoAdjust ? 63 : 56);
    }
}

TEST(AxisSizes, RequiredLabelLengthCountsTheTickLabels) {
    AxisRig rig;
    TPlotAxis& axis = rig.Vertical(400);
    axis.SetLabelsPrecision(0);
    axis.SetMinSpan(-40000, 80000);
    EXPECT_EQ(axis.GetRequiredLabelLength(FixedMetrics(), axis.GetLabelsFont()), 35);  // "80000", 5 "0"s
    axis.CalcTicks(FixedMetrics());
    EXPECT_EQ(axis.GetRequiredLabelLength(FixedMetrics(), axis.GetLabelsFont()), 42);  // "-40000"
}

// 7 x 13 characters: labels "100" within LabelsMinLength 5 (35 px), margins 5 + 5, ticks 7,
// label margin round(13 x 0.25) = 3, title "Volts" 35 x 13.
TEST(AxisSizes, RequiredWidthAddsMarginsTicksLabelsAndTitle) {
    struct Case {
        const char* name;
        bool horizontal;
        std::function<void(TPlotAxis&)> setup;
        int width;
        int withoutTitle;
        int guard;
    } cases[] = {
        {"vertical", false, [](TPlotAxis&) {}, 55, 50, 6},
        {"vertical, title", false, [](TPlotAxis& a) { a.SetTitleShow(true); }, 71, 50, 6},
        {"vertical, rotated title", false,
         [](TPlotAxis& a) {
             a.SetTitleShow(true);
             a.SetTitleRotated(true);
         },
         93, 50, 6},
        {"vertical, Cartesian title", false,
         [](TPlotAxis& a) {
             a.SetTitleShow(true);
             a.SetCartesianStyle(ipcsMaster);
         },
         55, 50, 6},
        {"vertical, rotated labels", false, [](TPlotAxis& a) { a.SetLabelsRotation(ira270); }, 33, 28, 17},
        {"vertical, no scale lines", false, [](TPlotAxis& a) { a.SetScaleLinesShow(false); }, 48, 43, 6},
        {"vertical, negative major", false, [](TPlotAxis& a) { a.SetMajorLength(-4); }, 51, 46, 6},
        {"vertical, hidden labels", false, [](TPlotAxis& a) { a.SetLabelsVisible(false); }, 17, 12, 0},
        {"horizontal", true, [](TPlotAxis&) {}, 33, 28, 17},
        {"horizontal, rotated labels", true, [](TPlotAxis& a) { a.SetLabelsRotation(ira090); }, 55, 50, 6},
        {"horizontal, upside-down labels", true, [](TPlotAxis& a) { a.SetLabelsRotation(ira180); }, 33, 28, 17},
    };
    for (const Case& c : cases) {
        AxisRig rig;
        TPlotAxis& axis = c.horizontal ? rig.Horizontal(600) : rig.Vertical(400);
        axis.SetTitle("Volts");
        axis.SetMinSpan(0, 100);
        c.setup(axis);
        EXPECT_EQ(axis.GetRequiredWidth(FixedMetrics()), c.width) << c.name;
        EXPECT_EQ(axis.GetRequiredWidthWithoutTitle(), c.withoutTitle) << c.name;
        EXPECT_EQ(axis.GetRequiredLengthGaurd(FixedMetrics()), c.guard) << c.name;
    }
}

TEST(AxisSizes, LegendAndCursorLengthsUseTheirOwnMinLengthUnlessDefault) {
    AxisRig rig;
    TPlotAxis& axis = rig.Horizontal(600);
    axis.SetLegendMinLength(10);
    axis.SetCursorMinLength(3);
    const TPlotFont font;
    EXPECT_EQ(axis.GetRequiredLegendLength(FixedMetrics(), font), 35);
    EXPECT_EQ(axis.GetRequiredCursorLength(FixedMetrics(), font), 35);
    axis.SetLegendUseDefaultFormat(false);
    axis.SetCursorUseDefaultFormat(false);
    EXPECT_EQ(axis.GetRequiredLegendLength(FixedMetrics(), font), 70);
    EXPECT_EQ(axis.GetRequiredCursorLength(FixedMetrics(), font), 21);
}

// ---- Settings ------------------------------------------------------------------------------

TEST(AxisTickSettings, StartAsDocumentedAndReportChangesOnce) {
    struct Case {
        const char* name;
        const char* initial;
        const char* changed;
    } cases[] = {
        {"TitleRotated", "False", "True"},
        {"MajorLength", "7", "9"},
        {"MinorLength", "3", "2"},
        {"MinorCount", "1", "4"},
        {"InnerMargin", "5", "2"},
        {"OuterMargin", "5", "0"},
        {"LabelsVisible", "True", "False"},
        {"LabelsMargin", "0.25", "0.5"},
        {"LabelSeparation", "2", "3"},
        {"TitleMargin", "0.25", "1"},
        {"LabelsRotation", "ira000", "ira270"},
        {"LabelsFormatStyle", "iptfValue", "iptfThousands"},
        {"LabelsPrecisionStyle", "ipsSignificantDigits", "ipsFixedDecimalPoints"},
        {"LabelsMinLengthAutoAdjust", "False", "True"},
        {"ScaleLinesShow", "True", "False"},
        {"ScaleLineShow", "True", "False"},
        {"DesiredStart", "0", "3"},
        {"DesiredIncrement", "0", "7"},
        {"CursorUseDefaultFormat", "True", "False"},
        {"CursorFormatStyle", "iptfValue", "iptfPrefix"},
        {"CursorDateTimeFormat", "hh:nn:ss", "nn:ss"},
        {"CursorPrecisionStyle", "ipsSignificantDigits", "ipsFixedDecimalPoints"},
        {"CursorPrecision", "3", "1"},
        {"CursorMinLength", "5", "8"},
        {"CursorMinLengthAutoAdjust", "False", "True"},
        {"LegendUseDefaultFormat", "True", "False"},
        {"LegendFormatStyle", "iptfValue", "iptfExponent"},
        {"LegendDateTimeFormat", "hh:nn:ss", "hh:nn"},
        {"LegendPrecisionStyle", "ipsSignificantDigits", "ipsFixedDecimalPoints"},
        {"LegendPrecision", "3", "0"},
        {"LegendMinLength", "5", "6"},
        {"LegendMinLengthAutoAdjust", "False", "True"},
        {"CartesianStyle", "ipcsNone", "ipcsChild"},
        {"CartesianChildRefAxisName", "<None>", "X"},
        {"CartesianChildRefValue", "0", "2.5"},
        {"AlignRefAxisName", "<None>", "Y"},
    };
    for (const Case& c : cases) {
        AxisRig rig;
        TPlotAxis& axis = *rig.plot.GetYAxis(0);
        const TPlotProperty* property = FindPlotProperty(axis, c.name);
        ASSERT_NE(property, nullptr) << c.name;
        EXPECT_EQ(property->Read(axis), c.initial) << c.name;
        SetPlotProperty(axis, c.name, c.changed);
        EXPECT_EQ(property->Read(axis), c.changed) << c.name;
        const int repaints = rig.repaints;
        SetPlotProperty(axis, c.name, c.changed);
        EXPECT_EQ(rig.repaints, repaints) << c.name << " set again";
    }
}

TEST(AxisTickSettings, DesiredIncrementIsClampedAndReportsOnlyRealChanges) {
    AxisRig rig;
    TPlotAxis& axis = *rig.plot.GetYAxis(0);
    const int before = rig.repaints;
    axis.SetDesiredIncrement(-5);
    EXPECT_EQ(axis.GetDesiredIncrement(), 0);
    EXPECT_EQ(rig.repaints, before);
    axis.SetDesiredIncrement(1e301);
    EXPECT_EQ(axis.GetDesiredIncrement(), 1e300);
    axis.SetDesiredIncrement(2e300);
    EXPECT_EQ(axis.GetDesiredIncrement(), 1e300);
    EXPECT_EQ(rig.repaints, before + 1);
}
