#include "plot/axes/PlotAxis.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "plot/component/PlotComponent.h"

namespace ondrix {

namespace {

constexpr double kMinLimit = 1e300;
constexpr double kSpanFloor = 1e-300;
constexpr double kSpanLimit = 1e300;


// Per wheel notch: a scroll step in spans, a zoom step in decades.
constexpr double kWheelScrollStep = 0.05;
constexpr double kWheelZoomStepLinear = 0.025;
constexpr double kWheelZoomStepLog = 0.05;


// A log scale has no place for values <= 0; they stand in as 1 wherever the scale is used.
double LogSafe(double value) { return value > 0 ? value : 1; }

// Sets a flag for the lifetime of the guard, also when leaving by an exception.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& flag_;
};

// One-line displays (cursor, legend) show a multi-line text with blanks for its line breaks.
std::string OnOneLine(std::string text) {
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) text.replace(at, 2, " ");
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

// Below this a span cannot be divided into steps.
constexpr double kIndivisibleSpan = 1e-299;

// Calendar walks go past the maximum by up to a step of this many days per counted month/year.
constexpr double kLongestMonthDays = 31;
constexpr double kLongestYearDays = 366;

}  // namespace

// ---- Construction ------------------------------------------------------------------------

TPlotAxis::TPlotAxis(TPlotComponent* owner, TPlotObjectEvents events, TPlotAxisKind kind)
    : TPlotLayoutObject(owner, std::move(events)), isXAxis_(kind == TPlotAxisKind::X) {
    if (isXAxis_) {
        // Asked of the owner itself, so that axes added or loaded later get the same default as
        // the ones its constructor adds.
        const bool stripChart = owner != nullptr && owner->IsStripChart();
        trackingStyle_ = stripChart ? iptsScrollSmooth : iptsScaleMinMax;
        trackingAlignFirstStyle_ = ipafsAuto;
    } else {
        trackingStyle_ = iptsScaleMinMax;
        trackingAlignFirstStyle_ = ipafsNone;
    }
}

TPlotXAxis::TPlotXAxis(TPlotComponent* owner, TPlotObjectEvents events)
    : TPlotAxis(owner, std::move(events), TPlotAxisKind::X) {
    SetHorizontal(true);
}

TPlotYAxis::TPlotYAxis(TPlotComponent* owner, TPlotObjectEvents events)
    : TPlotAxis(owner, std::move(events), TPlotAxisKind::Y) {}

void TPlotAxis::SetTitle(const std::string& value) {
    if (value == title_) return;
    title_ = value;
    TriggerChange();
}

void TPlotAxis::SetTitleShow(bool value) { SetField(titleShow_, value); }

// ---- Range -------------------------------------------------------------------------------

void TPlotAxis::SetMin(double value) {
    if (std::isnan(value)) return;
    value = std::clamp(value, -kMinLimit, kMinLimit);
    if (value == min_) return;
    const double oldMin = min_;
    min_ = value;
    TriggerChange();
    GetOwner()->DoAxesMinChange(*this, oldMin, min_);
    if (!inMinSpan_) GetOwner()->DoAxesMinSpanChange(*this, oldMin, span_, min_, span_);
}

void TPlotAxis::SetSpan(double value) {
    if (std::isnan(value)) return;
    value = std::clamp(value, kSpanFloor, kSpanLimit);
    if (value == span_) return;
    const double oldSpan = span_;
    span_ = value;
    UpdateMapping();
    TriggerChange();
    GetOwner()->DoAxesSpanChange(*this, oldSpan, span_);
    if (!inMinSpan_) GetOwner()->DoAxesMinSpanChange(*this, min_, oldSpan, min_, span_);
}

void TPlotAxis::SetMinSpan(double min, double span) {
    if (scaleType_ == ipstLog10) {
        min = LogSafe(min);
        span = LogSafe(span);
    }
    // Compared as they would be stored, so that a value beyond the limits that ends up equal to
    // the current one reports nothing.
    if (std::isnan(min)) min = min_;
    if (std::isnan(span)) span = span_;
    min = std::clamp(min, -kMinLimit, kMinLimit);
    span = std::clamp(span, kSpanFloor, kSpanLimit);
    if (min == min_ && span == span_) return;

    const double oldMin = min_;
    const double oldSpan = span_;
    {
        FlagGuard combined(inMinSpan_);
        SetMin(min);
        SetSpan(span);
    }
    GetOwner()->DoAxesMinSpanChange(*this, oldMin, oldSpan, min_, span_);
}

void TPlotAxis::SetReverseScale(bool value) { SetField(reverseScale_, value); }

void TPlotAxis::SetScaleType(TPlotScaleType value) {
    if (value == scaleType_) return;
    scaleType_ = value;
    UpdateMapping();
    TriggerChange();
}

void TPlotAxis::LoadSpanRaw(double value) {
    span_ = value;
    UpdateMapping();
}

// ---- Tracking ----------------------------------------------------------------------------

void TPlotAxis::SetTrackingEnabled(bool value) {
    if (value == trackingEnabled_) return;
    trackingEnabled_ = value;
    if (restoreValuesOnResume_) {
        if (!value) {
            UpdateResumeValues();
        } else {
            SetMinSpan(resumeMin_, resumeSpan_);
            SetLabelsMinLength(resumeLabelsMinLength_);
        }
    }
    TriggerChange();
}

void TPlotAxis::SetTrackingStyle(TPlotTrackingStyle value) { SetField(trackingStyle_, value); }
void TPlotAxis::SetTrackingAlignFirstStyle(TPlotAlignFirstStyle value) { SetField(trackingAlignFirstStyle_, value); }
void TPlotAxis::SetTrackingScrollCompressMax(double value) { SetField(trackingScrollCompressMax_, value); }
void TPlotAxis::SetRestoreValuesOnResume(bool value) { SetField(restoreValuesOnResume_, value); }

void TPlotAxis::UpdateResumeValues() {
    resumeMin_ = min_;
    resumeSpan_ = span_;
    resumeLabelsMinLength_ = labelsMinLength_;
}

void TPlotAxis::NewTrackingData(double value) {
    if (!trackingEnabled_) return;
    double min = min_;
    double span = span_;

    if (!firstAlignDone_) {
        firstAlignDone_ = true;
        switch (trackingAlignFirstStyle_) {
            case ipafsMin: min = value; break;
            case ipafsMax: min = value - span_; break;
            case ipafsAuto:
                if (value < min_ || value > min_ + span_) min = value;
                break;
            case ipafsNone: break;
        }
    }

    switch (trackingStyle_) {
        case iptsScaleMinMax:
            if (value > min + span_) span = value - min;
            if (value < min) min = value;
            break;
        case iptsScaleMax:
            if (value > min + span_) span = value - min;
            break;
        case iptsScaleMin:
            if (value < min) min = value;
            break;
        case iptsScrollSmooth:
        case iptsScrollPage:
            if (value > min + span_) {
                // Widen first, so that a short record stays whole on screen, and scroll only
                // once the span has passed the limit.
                if (trackingScrollCompressMax_ != 0) {
                    if (value - min > span_) span = value - min;
                    if (span_ > trackingScrollCompressMax_) span = trackingScrollCompressMax_;
                }
                min = trackingStyle_ == iptsScrollSmooth ? value - span : min + span;
            } else if (value < min_) {
                min = trackingStyle_ == iptsScrollSmooth ? value : min - span;
            }
            break;
        case iptsExpandCollapse:
            ZoomToFit();
            return;
        case iptsExpandCollapseFast:
            ZoomToFitFast();
            return;
    }
    SetMinSpan(min, span);
}

// ---- Scrolling, input and label settings -------------------------------------------------

void TPlotAxis::SetScrollMinMaxEnabled(bool value) { SetField(scrollMinMaxEnabled_, value); }
void TPlotAxis::SetScrollMin(double value) { SetField(scrollMin_, value); }
void TPlotAxis::SetScrollMax(double value) { SetField(scrollMax_, value); }
void TPlotAxis::SetMasterUIInput(bool value) { SetField(masterUIInput_, value); }
void TPlotAxis::SetCursorScaler(double value) { SetField(cursorScaler_, value); }
void TPlotAxis::SetMode(TPlotAxisMode value) { SetField(mode_, value); }
void TPlotAxis::SetLabelsMinLength(double value) { SetField(labelsMinLength_, value); }
void TPlotAxis::SetStackingEndsMargin(double value) { SetField(stackingEndsMargin_, value); }

TPlotAxisMode TPlotAxis::ModeWith(TShiftState shift) const {
    if ((shift & ssCtrl) == 0) return mode_;
    return mode_ == ipamScroll ? ipamZoom : ipamScroll;
}

// ---- Appearance --------------------------------------------------------------------------

void TPlotAxis::SetTitleFont(const TPlotFont& value) { SetField(titleFont_, ClampedFont(value)); }
void TPlotAxis::SetLabelsFont(const TPlotFont& value) { SetField(labelsFont_, ClampedFont(value)); }
void TPlotAxis::SetScaleLinesColor(TColor value) { SetField(scaleLinesColor_, value); }
void TPlotAxis::SetLabelsPrecision(int32_t value) { SetField(labelsPrecision_, std::max(value, 0)); }
void TPlotAxis::SetDateTimeFormat(const std::string& value) { SetField(dateTimeFormat_, value); }
void TPlotAxis::SetCursorPrecision(int32_t value) { SetField(cursorFormat_.Precision, std::max(value, 0)); }
void TPlotAxis::SetGridLinesVisible(bool value) { SetField(gridLinesVisible_, value); }
void TPlotAxis::SetLabelSeparation(double value) { SetField(labelSeparation_, value); }
void TPlotAxis::SetTitleMargin(double value) { SetField(titleMargin_, value); }
void TPlotAxis::SetTitleRotated(bool value) { SetField(titleRotated_, value); }
void TPlotAxis::SetMajorLength(int32_t value) { SetField(majorLength_, value); }
void TPlotAxis::SetMinorLength(int32_t value) { SetField(minorLength_, value); }
void TPlotAxis::SetMinorCount(int32_t value) { SetField(minorCount_, value); }
void TPlotAxis::SetInnerMargin(int32_t value) { SetField(innerMargin_, value); }
void TPlotAxis::SetOuterMargin(int32_t value) { SetField(outerMargin_, value); }
void TPlotAxis::SetLabelsVisible(bool value) { SetField(labelsVisible_, value); }
void TPlotAxis::SetLabelsMargin(double value) { SetField(labelsMargin_, value); }
void TPlotAxis::SetLabelsRotation(TRotationAngle value) { SetField(labelsRotation_, value); }
void TPlotAxis::SetLabelsFormatStyle(TPlotTextFormat value) { SetField(labelsFormatStyle_, value); }
void TPlotAxis::SetLabelsPrecisionStyle(TPrecisionStyle value) { SetField(labelsPrecisionStyle_, value); }
void TPlotAxis::SetLabelsMinLengthAutoAdjust(bool value) { SetField(labelsMinLengthAutoAdjust_, value); }
void TPlotAxis::SetScaleLinesShow(bool value) { SetField(scaleLinesShow_, value); }
void TPlotAxis::SetScaleLineShow(bool value) { SetField(scaleLineShow_, value); }
void TPlotAxis::SetDesiredStart(double value) { SetField(desiredStart_, value); }

void TPlotAxis::SetDesiredIncrement(double value) {
    if (std::isnan(value)) return;
    SetField(desiredIncrement_, std::clamp(value, 0.0, kSpanLimit));
}

void TPlotAxis::SetCursorUseDefaultFormat(bool value) { SetField(cursorUseDefaultFormat_, value); }
void TPlotAxis::SetCursorFormatStyle(TPlotTextFormat value) { SetField(cursorFormat_.Style, value); }
void TPlotAxis::SetCursorDateTimeFormat(const std::string& value) { SetField(cursorFormat_.DateTimeFormat, value); }
void TPlotAxis::SetCursorPrecisionStyle(TPrecisionStyle value) { SetField(cursorFormat_.PrecisionStyle, value); }
void TPlotAxis::SetCursorMinLength(double value) { SetField(cursorMinLength_, value); }
void TPlotAxis::SetCursorMinLengthAutoAdjust(bool value) { SetField(cursorMinLengthAutoAdjust_, value); }
void TPlotAxis::SetLegendUseDefaultFormat(bool value) { SetField(legendUseDefaultFormat_, value); }
void TPlotAxis::SetLegendFormatStyle(TPlotTextFormat value) { SetField(legendFormat_.Style, value); }
void TPlotAxis::SetLegendDateTimeFormat(const std::string& value) { SetField(legendFormat_.DateTimeFormat, value); }
void TPlotAxis::SetLegendPrecisionStyle(TPrecisionStyle value) { SetField(legendFormat_.PrecisionStyle, value); }
void TPlotAxis::SetLegendPrecision(int32_t value) { SetField(legendFormat_.Precision, std::max(value, 0)); }
void TPlotAxis::SetLegendMinLength(double value) { SetField(legendMinLength_, value); }
void TPlotAxis::SetLegendMinLengthAutoAdjust(bool value) { SetField(legendMinLengthAutoAdjust_, value); }

void TPlotAxis::SetCartesianStyle(TPlotCartesianStyle value) { SetField(cartesianStyle_, value); }
void TPlotAxis::SetCartesianChildRefAxisName(const std::string& value) { SetField(cartesianChildRefAxisName_, value); }
void TPlotAxis::SetCartesianChildRefValue(double value) { SetField(cartesianChildRefValue_, value); }
void TPlotAxis::SetAlignRefAxisName(const std::string& value) { SetField(alignRefAxisName_, value); }

// ---- Value texts -------------------------------------------------------------------------

TPlotValueFormat TPlotAxis::LabelFormat() const {
    return {labelsFormatStyle_, dateTimeFormat_, labelsPrecision_, labelsPrecisionStyle_};
}

std::string TPlotAxis::FormatValue(const TPlotValueFormat& format, double value) const {
    return FormatPlotValue(format, value, span_, scaleType_ == ipstLog10);
}

std::string TPlotAxis::GetLabelText(double value) const { return FormatValue(LabelFormat(), value); }

std::string TPlotAxis::GetLabelTextAdjust(double value) {
    std::string text = GetLabelText(value);
    if (labelsMinLengthAutoAdjust_) {
        const double length = PlotTextLength(text);
        if (length > labelsMinLength_) SetLabelsMinLength(length);
    }
    return text;
}

std::string TPlotAxis::GetCursorText(double value) const {
    return OnOneLine(FormatValue(cursorUseDefaultFormat_ ? LabelFormat() : cursorFormat_, value));
}

std::string TPlotAxis::GetLegendText(double value) const {
    return OnOneLine(FormatValue(legendUseDefaultFormat_ ? LabelFormat() : legendFormat_, value));
}

std::string TPlotAxis::GetCursorValueText(double value) const {
    TPlotValueFormat format = cursorUseDefaultFormat_ ? LabelFormat() : cursorFormat_;
    format.Style = iptfValue;
    return OnOneLine(FormatValue(format, value));
}

// ---- Sizes -------------------------------------------------------------------------------

// The min-length part is taken before measuring, so a label that grows LabelsMinLength widens
// the axis from the next layout on, also after the label itself has scrolled away.
int TPlotAxis::GetRequiredLabelLength(const TPlotTextMeasure& measure, const TPlotFont& font) {
    int length = RoundToInt(measure.TextWidth("0", font) * labelsMinLength_);
    const double highestRound = span_ * (std::trunc(min_ / span_) + 1);
    length = std::max(length, measure.TextWidth(GetLabelTextAdjust(highestRound), font));
    for (const TPlotTickObject& tick : ticks_)
        if (tick.Style == ipttMajor) length = std::max(length, measure.TextWidth(tick.Label, font));
    return length;
}

int TPlotAxis::GetRequiredLegendLength(const TPlotTextMeasure& measure, const TPlotFont& font) const {
    return RoundToInt(measure.TextWidth("0", font) * (legendUseDefaultFormat_ ? labelsMinLength_ : legendMinLength_));
}

int TPlotAxis::GetRequiredCursorLength(const TPlotTextMeasure& measure, const TPlotFont& font) const {
    return RoundToInt(measure.TextWidth("0", font) * (cursorUseDefaultFormat_ ? labelsMinLength_ : cursorMinLength_));
}

int TPlotAxis::GetRequiredWidth(const TPlotTextMeasure& measure) {
    int titlePart = 0;
    if (titleShow_ && cartesianStyle_ == ipcsNone) {
        const int height = measure.TextHeight(title_, titleFont_);
        const int across = titleRotated_ ? measure.TextWidth(title_, titleFont_) : height;
        titlePart = RoundToInt(height * titleMargin_ + across);
    }
    const int tickPart = scaleLinesShow_ ? std::max({majorLength_, 0, minorLength_}) : 0;
    int labelPart = 0;
    if (labelsVisible_) {
        // A label's length lies across a vertical axis unless rotated, along a horizontal one
        // unless rotated.
        const bool lengthAcross = GetIsHorz() == GetLabelsRotated();
        const int labelSize = lengthAcross ? GetRequiredLabelLength(measure, labelsFont_)
                                           : measure.TextHeight(GetLabelText(min_), labelsFont_);
        labelPart = RoundToInt(measure.TextHeight("A", labelsFont_) * labelsMargin_) + labelSize;
    }
    requiredWidthWithoutTitle_ = innerMargin_ + tickPart + labelPart;
    return requiredWidthWithoutTitle_ + outerMargin_ + titlePart;
}

int TPlotAxis::GetRequiredLengthGaurd(const TPlotTextMeasure& measure) {
    if (!labelsVisible_) return 0;
    const bool heightAlong = GetIsHorz() == GetLabelsRotated();
    if (heightAlong) return measure.TextHeight("XYZ", labelsFont_) / 2;
    return GetRequiredLabelLength(measure, labelsFont_) / 2;
}

// ---- Ticks -------------------------------------------------------------------------------

TPlotAxisLabelMetrics TPlotAxis::MeasureLabelMetrics(const TPlotTextMeasure& measure) {
    TPlotAxisLabelMetrics metrics;
    metrics.LabelsVisible = labelsVisible_;
    metrics.LabelsRotated = GetLabelsRotated();
    metrics.MinLabelHeight = measure.TextHeight(GetLabelText(min_), labelsFont_);
    metrics.RequiredLabelLength = GetRequiredLabelLength(measure, labelsFont_);
    metrics.ZeroWidth = measure.TextWidth("0", labelsFont_);
    metrics.ZeroHeight = measure.TextHeight("0", labelsFont_);
    metrics.Cartesian = cartesianStyle_ != ipcsNone;
    return metrics;
}

void TPlotAxis::CalcTicks(const TPlotTextMeasure& measure) {
    ticksStepMonths_ = false;
    ticksStepYears_ = false;
    CalcScaleRect(MeasureLabelMetrics(measure));
    if (tickListCustom_) {
        CalcTickPixels();
        return;
    }
    ticks_.clear();

    // How many labels fit along the scale, each with its separation.
    const bool lengthAlong = GetIsHorz() != GetLabelsRotated();
    const int pitch =
        lengthAlong ? RoundToInt(measure.TextWidth("0", labelsFont_) * (labelSeparation_ + 1) +
                                 GetRequiredLabelLength(measure, labelsFont_))
                    : RoundToInt(measure.TextHeight("0", labelsFont_) * (labelSeparation_ + 1));
    int maxLabels = std::max(1, GetSpanLength() / std::max(pitch, 1));

    if (scaleType_ == ipstLog10) {
        const double low = LogSafe(min_);
        if (std::log10(low + span_) - std::log10(low) > 1) {
            for (const TPlotTickPosition& tick : CalcLog10Ticks(min_, span_, maxLabels))
                AddTickOnScale(tick.Position, tick.Style);
            CalcTickPixels();
            return;
        }
    }

    const int minors = std::max(minorCount_, 0);
    TPlotTickIncrement increment;
    if (span_ <= kIndivisibleSpan) {
        increment = {span_, 1};
    } else if (desiredIncrement_ != 0 &&
               ((!labelsVisible_ && span_ / desiredIncrement_ < GetSpanLength() / static_cast<double>(minors + 1)) ||
                maxLabels > span_ / desiredIncrement_)) {
        // Without labels only the minor steps must keep a pixel each.
        increment = {desiredIncrement_, std::max(1, RoundToInt(span_ / desiredIncrement_))};
        maxLabels = increment.Count;
    } else if (labelsFormatStyle_ == iptfDateTime) {
        increment = CalcDateTimeTicks(span_, maxLabels);
        if (increment.Calendar != TPlotCalendarStep::None && !CalendarStepUsable(increment.Calendar, min_, span_))
            increment = CalcLinearTicks(span_, maxLabels);
    } else if (labelsFormatStyle_ == iptfPrice32nds) {
        increment = CalcPrice32Ticks(span_, maxLabels);
    } else {
        increment = CalcLinearTicks(span_, maxLabels);
    }
    ticksStepMonths_ = increment.Calendar == TPlotCalendarStep::Months;
    ticksStepYears_ = increment.Calendar == TPlotCalendarStep::Years;

    // Calendar steps stay whole months and years.
    if (increment.Calendar == TPlotCalendarStep::None) {
        if (increment.Count < 2 && maxLabels > 1) {
            increment.Increment /= 2;
            increment.Count = 2;
        }
        if (maxLabels < increment.Count) {
            increment.Count = maxLabels;
            increment.Increment = span_ / maxLabels;
        }
    }

    double start;
    if (increment.Calendar != TPlotCalendarStep::None) {
        start = CalendarStart(increment.Calendar, static_cast<int>(increment.Increment), min_);
    } else if (desiredStart_ != 0 && min_ <= desiredStart_ && desiredStart_ <= GetMax()) {
        start = desiredStart_;
        while (start > min_ && start - increment.Increment != start) start -= increment.Increment;
    } else {
        start = std::trunc(min_ / increment.Increment) * increment.Increment - increment.Increment;
    }
    AddTicksFrom(start, increment);
    CalcTickPixels();
}

// Walks one step past the maximum, since a value just beyond it may still round onto the last
// pixel.
void TPlotAxis::AddTicksFrom(double position, const TPlotTickIncrement& increment) {
    const int minors = std::max(minorCount_, 0);
    const double minorStep = increment.Increment / (minors + 1);
    const int calendarCount = static_cast<int>(increment.Increment);
    double last = GetMax() + increment.Increment;
    if (increment.Calendar == TPlotCalendarStep::Months) last = GetMax() + calendarCount * kLongestMonthDays;
    if (increment.Calendar == TPlotCalendarStep::Years) last = GetMax() + calendarCount * kLongestYearDays;

    while (position <= last) {
        AddTickOnScale(position, ipttMajor);
        double next = position;
        if (increment.Calendar != TPlotCalendarStep::None) {
            next = AddCalendarStep(increment.Calendar, calendarCount, position);
        } else if (minors >= 1 && minorStep != 0) {
            for (int i = 0; i < minors; ++i) {
                next += minorStep;
                AddTickOnScale(next, ipttMinor);
            }
            next += minorStep;
        } else {
            next += increment.Increment;
        }
        if (next == position) break;
        position = next;
    }
}

void TPlotAxis::AddTickOnScale(double position, TPlotTickType style) {
    if (!PointOnScale(position)) return;
    if (scaleType_ == ipstLog10 && position <= 0) return;
    TPlotTickObject tick;
    tick.Style = style;
    tick.Position = position;
    if (style == ipttMajor) tick.Label = GetLabelText(position);
    ticks_.push_back(std::move(tick));
}

void TPlotAxis::CalcTickPixels() {
    for (TPlotTickObject& tick : ticks_) {
        tick.Visible = PointOnScale(tick.Position);
        if (tick.Visible) tick.Pixel = PositionToPixels(tick.Position);
    }
}

void TPlotAxis::SetTickListCustom(bool value) { SetField(tickListCustom_, value); }

void TPlotAxis::TickListAdd(double position, const std::string& label, TPlotTickType style) {
    if (scaleType_ == ipstLog10 && !(position > 0))
        throw EPlotError("Log Scale Requires Position to be Greater Than Zero");
    TPlotTickObject tick;
    tick.Style = style;
    tick.Position = position;
    tick.Label = label;
    ticks_.push_back(std::move(tick));
    TriggerChange();
}

void TPlotAxis::TickListClear() {
    if (ticks_.empty()) return;
    ticks_.clear();
    TriggerChange();
}

TPlotTickObject& TPlotAxis::TickAt(int index) {
    if (index < 0 || index >= GetTickListCount()) throw EPlotError("Index out of Bounds");
    return ticks_[static_cast<size_t>(index)];
}

const TPlotTickObject& TPlotAxis::TickAt(int index) const {
    if (index < 0 || index >= GetTickListCount()) throw EPlotError("Index out of Bounds");
    return ticks_[static_cast<size_t>(index)];
}

const std::string& TPlotAxis::GetTickListItemLabel(int index) const { return TickAt(index).Label; }
double TPlotAxis::GetTickListItemPosition(int index) const { return TickAt(index).Position; }
TPlotTickType TPlotAxis::GetTickListItemStyle(int index) const { return TickAt(index).Style; }
void TPlotAxis::SetTickListItemLabel(int index, const std::string& value) { SetField(TickAt(index).Label, value); }
void TPlotAxis::SetTickListItemPosition(int index, double value) { SetField(TickAt(index).Position, value); }
void TPlotAxis::SetTickListItemStyle(int index, TPlotTickType value) { SetField(TickAt(index).Style, value); }

// ---- Geometry ----------------------------------------------------------------------------

void TPlotAxis::CalcScaleRect(const TPlotAxisLabelMetrics& metrics) {
    const bool horizontal = GetIsHorz();
    if (metrics.Cartesian) {
        labelSide_ = horizontal ? TPlotAxisLabelSide::HorizontalBelow : TPlotAxisLabelSide::VerticalRight;
    } else if (horizontal) {
        labelSide_ = GetReverseSide() ? TPlotAxisLabelSide::HorizontalAbove : TPlotAxisLabelSide::HorizontalBelow;
    } else {
        labelSide_ = GetReverseSide() ? TPlotAxisLabelSide::VerticalRight : TPlotAxisLabelSide::VerticalLeft;
    }

    int endMargin = 0;
    if (!metrics.Cartesian) {
        if (horizontal) {
            const int labelLength = !metrics.LabelsVisible ? 0
                                    : metrics.LabelsRotated ? metrics.MinLabelHeight
                                                            : metrics.RequiredLabelLength;
            endMargin = RoundToInt(labelLength / 2.0) + RoundToInt(metrics.ZeroWidth * stackingEndsMargin_);
        } else {
            const int labelHeight = metrics.LabelsRotated ? metrics.RequiredLabelLength : metrics.MinLabelHeight;
            endMargin = (labelHeight + RoundToInt(metrics.ZeroHeight * stackingEndsMargin_)) / 2;
        }
    }
    const int startMargin = GetStartStacked() ? endMargin : 0;
    const int stopMargin = GetStopStacked() ? endMargin : 0;

    // The stacked ends are the left and right of a horizontal axis, the bottom and top of a
    // vertical one; the hit rectangle keeps them and grows across the axis.
    const TPlotRect& draw = GetDrawRect();
    scaleRect_ = draw;
    hitRect_ = draw;
    if (horizontal) {
        scaleRect_.Left += startMargin;
        scaleRect_.Right -= stopMargin;
        minPixel_ = reverseScale_ ? scaleRect_.Right : scaleRect_.Left;
        maxPixel_ = reverseScale_ ? scaleRect_.Left : scaleRect_.Right;
        hitRect_.Top -= 2;
        hitRect_.Bottom += 2;
    } else {
        scaleRect_.Bottom -= startMargin;
        scaleRect_.Top += stopMargin;
        minPixel_ = reverseScale_ ? scaleRect_.Top : scaleRect_.Bottom;
        maxPixel_ = reverseScale_ ? scaleRect_.Bottom : scaleRect_.Top;
        hitRect_.Left -= 2;
        hitRect_.Right += 2;
    }
    UpdateMapping();
}

void TPlotAxis::UpdateMapping() {
    pixelsPerUnit_ = (minPixel_ - maxPixel_) / span_;
    if (minPixel_ == maxPixel_ || span_ <= kSpanFloor) {
        mapping_ = TPixelMapping::Midpoint;
    } else {
        mapping_ = scaleType_ == ipstLinear ? TPixelMapping::Linear : TPixelMapping::Log10;
    }
}

// ---- Mapping -----------------------------------------------------------------------------

// A log scale maps decades: the logarithms of Min and Max, each kept positive.
std::pair<double, double> TPlotAxis::LogRange() const {
    const double low = LogSafe(min_);
    return {std::log10(low), std::log10(low + LogSafe(span_))};
}

int TPlotAxis::Log10ToPixels(double value) const {
    const auto [logMin, logMax] = LogRange();
    if (logMax == logMin) return 0;
    const double offset =
        RoundHalfEven((std::log10(LogSafe(value)) - logMin) * (minPixel_ - maxPixel_) / (logMax - logMin));
    // Not clamped to the drawable range as the linear form is; only kept within int.
    const double pixel = minPixel_ - offset;
    return static_cast<int>(std::clamp(pixel, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

double TPlotAxis::PixelsToPositionDouble(double pixel) const {
    if (minPixel_ == maxPixel_) return min_;
    // MinPixel and MaxPixel already carry the orientation and ReverseScale.
    return ValueAtFraction((pixel - minPixel_) / (maxPixel_ - minPixel_));
}

double TPlotAxis::ValueAtFraction(double fraction) const {
    if (scaleType_ == ipstLinear) return min_ + span_ * fraction;
    const auto [logMin, logMax] = LogRange();
    return std::pow(10.0, logMin + fraction * (logMax - logMin));
}

int TPlotAxis::WidthToPixels(double width) const {
    return std::abs(PositionToPixels(min_ + width) - PositionToPixels(min_));
}

bool TPlotAxis::PointOnScale(double value) const {
    const int pixel = PositionToPixels(value);
    return pixel >= std::min(minPixel_, maxPixel_) && pixel <= std::max(minPixel_, maxPixel_);
}

// On a log scale the fraction is the logarithmic one, so that percent positions agree with pixels.
double TPlotAxis::PositionToPercent(double value) const {
    double fraction;
    if (scaleType_ == ipstLinear) {
        fraction = (value - min_) / span_;
    } else {
        const auto [logMin, logMax] = LogRange();
        fraction = logMax == logMin ? 0 : (std::log10(LogSafe(value)) - logMin) / (logMax - logMin);
    }
    return reverseScale_ ? 1 - fraction : fraction;
}

double TPlotAxis::PercentToPosition(double fraction) const {
    return ValueAtFraction(reverseScale_ ? 1 - fraction : fraction);
}

// ---- Zoom and scroll ---------------------------------------------------------------------

void TPlotAxis::Zoom(double factor) {
    if (scaleType_ == ipstLinear) {
        if (!(factor > 0)) throw EPlotError("Linear Scale Zoom Factor must be Greater than Zero");
        const double newSpan = span_ * factor;
        const double centre = (min_ + GetMax()) / 2;
        SetMinSpan(centre - newSpan / 2, newSpan);
    } else {
        const double growth = std::pow(10.0, factor);
        SetMinSpan(min_ / growth, span_ * growth);
    }
}

void TPlotAxis::ZoomPercentByReference(double referenceMin, double referenceSpan, double, double percent) {
    const double divisor = std::pow(10.0, percent);
    if (scaleType_ == ipstLinear) {
        const double newSpan = referenceSpan / divisor;
        const double centre = (min_ + GetMax()) / 2;
        SetMinSpan(centre - newSpan / 2, newSpan);
    } else {
        SetMinSpan(divisor * referenceMin, referenceSpan / divisor);
    }
}

void TPlotAxis::ScrollPercentByReference(double referenceMin, double referenceSpan, double referenceMax,
                                         double percent) {
    if (scaleType_ == ipstLinear) {
        double newMin = referenceMin + percent * referenceSpan;
        if (scrollMinMaxEnabled_) {
            if (newMin <= scrollMin_) {
                newMin = scrollMin_;
            } else if (newMin + span_ >= scrollMax_) {
                newMin = scrollMax_ - span_;
            }
        }
        SetMinSpan(newMin, span_);
    } else {
        const double decades = std::log10(referenceMax) - std::log10(referenceMin);
        const double growth = std::pow(10.0, percent * decades);
        SetMinSpan(referenceMin * growth, referenceMax * growth - referenceMin * growth);
    }
}

void TPlotAxis::ZoomRect(const TPlotRect& rect) {
    int first = GetIsHorz() ? rect.Left : rect.Bottom;
    int second = GetIsHorz() ? rect.Right : rect.Top;
    if (reverseScale_) std::swap(first, second);
    const double a = PixelsToPosition(first);
    const double b = PixelsToPosition(second);
    SetMinSpan(a, b - a);
}

void TPlotAxis::ZoomToFit() { FitTo(false); }
void TPlotAxis::ZoomToFitFast() { FitTo(true); }

void TPlotAxis::FitTo(bool runningStatistics) {
    double lowest = kNoMinimum;
    double highest = kNoMaximum;
    const TPlotComponent& plot = *GetOwner();
    for (int i = 0; i < plot.ChannelCount(); ++i) {
        TPlotChannelCustom& channel = *plot.GetChannel(i);
        if (!SameText(isXAxis_ ? channel.GetXAxisName() : channel.GetYAxisName(), GetName())) continue;
        double channelMin;
        double channelMax;
        if (runningStatistics) {
            channelMin = isXAxis_ ? channel.GetRunningXMin() : channel.GetRunningYMin();
            channelMax = isXAxis_ ? channel.GetRunningXMax() : channel.GetRunningYMax();
        } else {
            if (!channel.GetVisible()) continue;
            channelMin = isXAxis_ ? channel.GetVisibleMinX() : channel.GetVisibleMinY();
            channelMax = isXAxis_ ? channel.GetVisibleMaxX() : channel.GetVisibleMaxY();
        }
        lowest = std::min(lowest, channelMin);
        highest = std::max(highest, channelMax);
    }
    if (highest > -1e299 && lowest < 1e299 && highest != lowest) SetMinSpan(lowest, highest - lowest);
}

// ---- Input -------------------------------------------------------------------------------

void TPlotAxis::HandOverToMaster(const std::function<void(TPlotAxis&, const TPlotMouseData&)>& hook,
                                 const TPlotMouseData& data) {
    if (masterUIInput_ && hook) hook(*this, data);
}

void TPlotAxis::RequestImmediateRepaint() {
    if (OnInvalidateNow) OnInvalidateNow();
}

void TPlotAxis::DoMouseLeft(const TPlotMouseData& data) {
    HandOverToMaster(MasterAxisHooks.MouseLeft, data);
    mouseDown_ = true;
    lastMouseX_ = data.X;
    lastMouseY_ = data.Y;
}

void TPlotAxis::DoMouseMove(const TPlotMouseData& data) {
    if (!mouseDown_) return;
    HandOverToMaster(MasterAxisHooks.MouseMove, data);
    if (data.DblClick) return;
    RequestImmediateRepaint();
    SetTrackingEnabled(false);

    int moved;
    if (GetIsHorz()) {
        moved = reverseScale_ ? lastMouseX_ - data.X : data.X - lastMouseX_;
    } else {
        moved = reverseScale_ ? data.Y - lastMouseY_ : lastMouseY_ - data.Y;
    }
    lastMouseX_ = data.X;
    lastMouseY_ = data.Y;
    const int spanLength = GetSpanLength();
    if (spanLength == 0) return;
    const double fraction = static_cast<double>(moved) / spanLength;

    if (ModeWith(data.Shift) == ipamScroll) {
        // The scale follows the mouse like a dragged sheet.
        ScrollPercentByReference(min_, span_, GetMax(), -fraction);
    } else {
        ZoomPercentByReference(min_, span_, GetMax(), scaleType_ == ipstLinear ? fraction / 4 : fraction * 2);
    }
}

void TPlotAxis::DoMouseUp(const TPlotMouseData& data) {
    HandOverToMaster(MasterAxisHooks.MouseUp, data);
    const bool clicked = mouseDown_ && iMouseHitTest(data);
    mouseDown_ = false;
    if (clicked) GetOwner()->DoObjectClick(*this);
}

void TPlotAxis::DoMouseHint(const TPlotMouseData& data, THintData& hint) {
    if (titleShow_) return;
    hint.Text = title_;
    hint.Left = data.X;
    hint.Top = data.Y - 20;
    GetOwner()->DoAxisCustomizeHint(*this, hint.Text);
}

void TPlotAxis::NotificationSetFocus(TPlotObject& obj) {
    if (&obj == this) return;
    const bool addsToSelection = (GetShiftState() & (ssShift | ssCtrl)) != 0;
    if (dynamic_cast<const TPlotAxis*>(&obj) == nullptr || !addsToSelection) SetUserSelected(false);
}

void TPlotAxis::AddMenuItems(TPlotPopupMenu& menu) {
    menu.Clear();
    menu.Add("Tracking Enabled", [this] { SetTrackingEnabled(!trackingEnabled_); }).Checked = trackingEnabled_;
    menu.Add("Update Resume Values", [this] { UpdateResumeValues(); }).Enabled =
        !trackingEnabled_ && (min_ != resumeMin_ || span_ != resumeSpan_);
    menu.Add("Zoom to Fit", [this] { ZoomToFit(); });
    AddCommonMenuItems(menu);
}

bool TPlotAxis::iMouseWheel(int delta, TShiftState shift, int, int) {
    if (delta == 0) return false;
    SetTrackingEnabled(false);
    const double step = delta > 0 ? 1 : -1;
    if (ModeWith(shift) == ipamScroll) {
        ScrollPercentByReference(min_, span_, GetMax(), step * kWheelScrollStep);
    } else {
        ZoomPercentByReference(min_, span_, GetMax(),
                               step * (scaleType_ == ipstLinear ? kWheelZoomStepLinear : kWheelZoomStepLog));
    }
    return true;
}

void TPlotAxis::iKeyDown(int& key, TShiftState shift) {
    if (masterUIInput_ && MasterAxisHooks.KeyDown) MasterAxisHooks.KeyDown(*this, key, shift);
    SetTrackingEnabled(false);
    double amount = 0;
    switch (key) {
        case vkPrior:
        case vkEnd: amount = 1; break;
        case vkNext:
        case vkHome: amount = -1; break;
        case vkUp:
        case vkRight: amount = 0.01; break;
        case vkLeft:
        case vkDown: amount = -0.01; break;
        default: return;
    }
    RequestImmediateRepaint();
    // The keys follow Mode alone: Ctrl does not invert it here.
    if (mode_ == ipamScroll) {
        ScrollPercentByReference(min_, span_, GetMax(), amount);
    } else {
        ZoomPercentByReference(min_, span_, GetMax(), amount);
    }
}

bool TPlotAxis::iMouseHitTest(const TPlotMouseData& data) { return hitRect_.Contains(data.X, data.Y); }

// The pointer shows what a drag would do now, Ctrl included.
TPlotCursor TPlotAxis::GetMousePointer(int, int) {
    if (GetActualMode() == ipamScroll) return crHandPoint;
    return GetIsHorz() ? crSizeWE : crSizeNS;
}

}  // namespace ondrix
