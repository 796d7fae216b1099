#pragma once
// plot/axes holds the axes: their scale, tracking and zoom, ticks and labels, and drawing.
//
// The plot's axes. An axis owns the visible value range of one direction, Min .. Min + Span:
// it maps values to pixels and back for everything drawn against it, follows incoming data
// (tracking), zooms and scrolls on request, and handles its own mouse drags, wheel and keys. It
// chooses its ticks and writes the texts of its values (labels, data cursor, legend), and tells
// the layout how much room it needs; drawing comes with the painting step.
//
// Changes of the range, whatever their source (code, tracking, zoom, scroll, mouse, keys), go
// through SetMin and SetSpan, and everything but a single SetMin or SetSpan through SetMinSpan.
// Each actual change is reported to the owning component (DoAxesMinChange, DoAxesSpanChange,
// DoAxesMinSpanChange), which raises the X or Y events unless it is loading. Setting a value
// the axis already has reports nothing.
//
// Out-of-range settings are clamped (Min to +-1e300, Span to 1e-300 .. 1e300, linear pixels to
// +-32000, non-positive values on a log scale to 1); a NaN leaves the value as it is. The one
// error is Zoom's EPlotError "Linear Scale Zoom Factor must be Greater than Zero".
//
// The scale geometry (ScaleRect, MinPixel, MaxPixel, PixelsPerUnit, label side, hit rectangle)
// is recomputed by CalcScaleRect before every layout and paint pass, from the draw rectangle
// the layout gave the axis and the label metrics the painting step measured. CalcTicks measures
// those metrics itself, recomputes the geometry and rebuilds the tick list.
//
// Label lengths: LabelsMinLength (in widths of "0") is the least room a label gets. With
// LabelsMinLengthAutoAdjust it grows to the length of any longer label measured for the layout
// (GetLabelTextAdjust), and never shrinks by itself.
//
// Threads: GUI thread only.

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "plot/axes/PlotAxisTicks.h"
#include "plot/core/PlotFont.h"
#include "plot/core/PlotTextMeasure.h"
#include "plot/core/PlotValueText.h"
#include "plot/objects/PlotObjects.h"

namespace ondrix {

enum TPlotScaleType : uint8_t { ipstLinear, ipstLog10 };
inline constexpr auto kPlotScaleTypeNames = EnumValueNames<ipstLog10>({"ipstLinear", "ipstLog10"});

enum TPlotTrackingStyle : uint8_t {
    iptsScaleMinMax,
    iptsScaleMax,
    iptsScaleMin,
    iptsScrollSmooth,
    iptsScrollPage,
    iptsExpandCollapse,
    iptsExpandCollapseFast,
};
inline constexpr auto kPlotTrackingStyleNames = EnumValueNames<iptsExpandCollapseFast>(
    {"iptsScaleMinMax", "iptsScaleMax", "iptsScaleMin", "iptsScrollSmooth", "iptsScrollPage", "iptsExpandCollapse",
     "iptsExpandCollapseFast"});

// How the very first tracked value places the range.
enum TPlotAlignFirstStyle : uint8_t { ipafsMin, ipafsMax, ipafsAuto, ipafsNone };
inline constexpr auto kPlotAlignFirstStyleNames =
    EnumValueNames<ipafsNone>({"ipafsMin", "ipafsMax", "ipafsAuto", "ipafsNone"});

// What a drag, the wheel and the keys do on the axis.
enum TPlotAxisMode : uint8_t { ipamScroll, ipamZoom };

enum TRotationAngle : uint8_t { ira000, ira090, ira180, ira270 };
inline constexpr auto kRotationAngleNames = EnumValueNames<ira270>({"ira000", "ira090", "ira180", "ira270"});

// A Cartesian axis crosses the data view instead of lying beside it.
enum TPlotCartesianStyle : uint8_t { ipcsNone, ipcsMaster, ipcsChild };
inline constexpr auto kPlotCartesianStyleNames = EnumValueNames<ipcsChild>({"ipcsNone", "ipcsMaster", "ipcsChild"});

// Pen style of the grid lines the data view draws at an axis's ticks.
enum TPlotGridLineStyle : uint8_t { ipglsSolid, ipglsDash, ipglsDot };
inline constexpr auto kPlotGridLineStyleNames = EnumValueNames<ipglsDot>({"ipglsSolid", "ipglsDash", "ipglsDot"});

// The side of the scale line the labels are drawn on.
enum class TPlotAxisLabelSide : uint8_t { VerticalLeft, VerticalRight, HorizontalAbove, HorizontalBelow };

// What CalcScaleRect needs to know about the labels, measured on the canvas by the painting
// step with the labels' font. The stacked ends of an axis are moved inwards by a margin made of
// these, so that the end labels of two axes sharing a band do not collide.
struct TPlotAxisLabelMetrics {
    bool LabelsVisible = true;    // hidden labels take no room at a horizontal axis's ends
    bool LabelsRotated = false;   // by 90 or 270 degrees: length and height swap roles
    int MinLabelHeight = 0;       // text height of the label of Min
    int RequiredLabelLength = 0;  // the axis's required label length, in pixels
    int ZeroWidth = 0;            // width and height of the text "0"
    int ZeroHeight = 0;
    bool Cartesian = false;  // the axis crosses the data view: no end margins, fixed label side
};

class TCanvas;
struct TPlotPoint;
class TPlotAxis;

// The component's master-axis replay. With MasterUIInput set, the axis hands each press, move,
// release and key to these before handling the input itself, and the component passes it on to
// every other axis of the same kind. Filled by the component's mouse dispatch; an unset hook
// replays nothing.
struct TPlotMasterAxisHooks {
    std::function<void(TPlotAxis&, const TPlotMouseData&)> MouseLeft;
    std::function<void(TPlotAxis&, const TPlotMouseData&)> MouseMove;
    std::function<void(TPlotAxis&, const TPlotMouseData&)> MouseUp;
    std::function<void(TPlotAxis&, int& key, TShiftState)> KeyDown;
};

class TPlotAxis : public TPlotLayoutObject {
public:
    TPlotMasterAxisHooks MasterAxisHooks;

    // Which channel axis name refers to the axis: XAxisName or YAxisName.
    bool IsXAxis() const { return isXAxis_; }

    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& value);
    // A hidden title serves as the axis's hint.
    bool GetTitleShow() const { return titleShow_; }
    void SetTitleShow(bool value);

    // ---- Range ----
    double GetMin() const { return min_; }
    void SetMin(double value);
    double GetSpan() const { return span_; }
    void SetSpan(double value);
    double GetMax() const { return min_ + span_; }
    // Applies both and reports the combined change once; each single change is reported too.
    void SetMinSpan(double min, double span);

    // Takes effect on the pixels at the next CalcScaleRect.
    bool GetReverseScale() const { return reverseScale_; }
    void SetReverseScale(bool value);
    TPlotScaleType GetScaleType() const { return scaleType_; }
    void SetScaleType(TPlotScaleType value);

    // ---- Tracking ----
    bool GetTrackingEnabled() const { return trackingEnabled_; }
    // Pause (false) and resume (true); with RestoreValuesOnResume, resuming brings back the
    // range and LabelsMinLength of the moment of pausing.
    void SetTrackingEnabled(bool value);
    TPlotTrackingStyle GetTrackingStyle() const { return trackingStyle_; }
    void SetTrackingStyle(TPlotTrackingStyle value);
    TPlotAlignFirstStyle GetTrackingAlignFirstStyle() const { return trackingAlignFirstStyle_; }
    void SetTrackingAlignFirstStyle(TPlotAlignFirstStyle value);
    // Largest span the scroll styles widen to; 0 turns the widening off.
    double GetTrackingScrollCompressMax() const { return trackingScrollCompressMax_; }
    void SetTrackingScrollCompressMax(double value);
    bool GetRestoreValuesOnResume() const { return restoreValuesOnResume_; }
    void SetRestoreValuesOnResume(bool value);
    bool GetFirstAlignDone() const { return firstAlignDone_; }
    double GetResumeMin() const { return resumeMin_; }
    double GetResumeSpan() const { return resumeSpan_; }
    double GetResumeLabelsMinLength() const { return resumeLabelsMinLength_; }

    // One new X value (X axis) or Y value (Y axis) from a channel.
    void NewTrackingData(double value);
    // The next tracked value is aligned again; the plot calls it when all data is cleared.
    void ResetFirstAlign() { firstAlignDone_ = false; }
    // Saves the current range and LabelsMinLength for the next resume.
    void UpdateResumeValues();

    // ---- Scrolling, input and value texts ----
    bool GetScrollMinMaxEnabled() const { return scrollMinMaxEnabled_; }
    void SetScrollMinMaxEnabled(bool value);
    double GetScrollMin() const { return scrollMin_; }
    void SetScrollMin(double value);
    double GetScrollMax() const { return scrollMax_; }
    void SetScrollMax(double value);
    // Mouse and key input on this axis is applied to all axes of its kind.
    bool GetMasterUIInput() const { return masterUIInput_; }
    void SetMasterUIInput(bool value);
    // Factor of the data cursor's value texts.
    double GetCursorScaler() const { return cursorScaler_; }
    void SetCursorScaler(double value);
    TPlotAxisMode GetMode() const { return mode_; }
    void SetMode(TPlotAxisMode value);
    // Mode, inverted while Ctrl is held (the shift state the component pushed last).
    TPlotAxisMode GetActualMode() const { return ModeWith(GetShiftState()); }

    // ---- Label and layout settings used here ----
    // In widths of "0"; resuming may restore it.
    double GetLabelsMinLength() const { return labelsMinLength_; }
    void SetLabelsMinLength(double value);
    // The stacked-end margin's share of the size of "0".
    double GetStackingEndsMargin() const { return stackingEndsMargin_; }
    void SetStackingEndsMargin(double value);
    // Room between labels, in widths (heights) of "0".
    double GetLabelSeparation() const { return labelSeparation_; }
    void SetLabelSeparation(double value);
    // Room beside the title, in title heights.
    double GetTitleMargin() const { return titleMargin_; }
    void SetTitleMargin(double value);

    // Stored-configuration reading only: the stored names "Span"/"Span_2", "LabelSeparation"
    // and "TitleMargin" go straight into their fields, unclamped and unreported.
    void LoadSpanRaw(double value);
    void LoadLabelSeparationRaw(double value) { labelSeparation_ = value; }
    void LoadTitleMarginRaw(double value) { titleMargin_ = value; }

    // ---- Appearance of the title, labels, scale line and grid ----
    const TPlotFont& GetTitleFont() const { return titleFont_; }
    void SetTitleFont(const TPlotFont& value);
    const TPlotFont& GetLabelsFont() const { return labelsFont_; }
    void SetLabelsFont(const TPlotFont& value);
    // The scale line and the ticks.
    TColor GetScaleLinesColor() const { return scaleLinesColor_; }
    void SetScaleLinesColor(TColor value);
    // Significant digits, or decimals with a fixed-point style, of the label texts; at least 0.
    int32_t GetLabelsPrecision() const { return labelsPrecision_; }
    void SetLabelsPrecision(int32_t value);
    const std::string& GetDateTimeFormat() const { return dateTimeFormat_; }
    void SetDateTimeFormat(const std::string& value);
    // The same for the data cursor's value texts.
    int32_t GetCursorPrecision() const { return cursorFormat_.Precision; }
    void SetCursorPrecision(int32_t value);
    // Whether the data view draws the axis's tick lines across itself.
    bool GetGridLinesVisible() const { return gridLinesVisible_; }
    void SetGridLinesVisible(bool value);

    // Read beside the title instead of along the axis.
    bool GetTitleRotated() const { return titleRotated_; }
    void SetTitleRotated(bool value);
    // Tick lengths in pixels and the count of minor ticks between two majors.
    int32_t GetMajorLength() const { return majorLength_; }
    void SetMajorLength(int32_t value);
    int32_t GetMinorLength() const { return minorLength_; }
    void SetMinorLength(int32_t value);
    int32_t GetMinorCount() const { return minorCount_; }
    void SetMinorCount(int32_t value);
    // Pixels between the scale line and the data view, and beyond the title.
    int32_t GetInnerMargin() const { return innerMargin_; }
    void SetInnerMargin(int32_t value);
    int32_t GetOuterMargin() const { return outerMargin_; }
    void SetOuterMargin(int32_t value);
    bool GetLabelsVisible() const { return labelsVisible_; }
    void SetLabelsVisible(bool value);
    // Gap between a major tick and its label, in heights of "A".
    double GetLabelsMargin() const { return labelsMargin_; }
    void SetLabelsMargin(double value);
    TRotationAngle GetLabelsRotation() const { return labelsRotation_; }
    void SetLabelsRotation(TRotationAngle value);
    bool GetLabelsRotated() const { return labelsRotation_ == ira090 || labelsRotation_ == ira270; }
    TPlotTextFormat GetLabelsFormatStyle() const { return labelsFormatStyle_; }
    void SetLabelsFormatStyle(TPlotTextFormat value);
    TPrecisionStyle GetLabelsPrecisionStyle() const { return labelsPrecisionStyle_; }
    void SetLabelsPrecisionStyle(TPrecisionStyle value);
    bool GetLabelsMinLengthAutoAdjust() const { return labelsMinLengthAutoAdjust_; }
    void SetLabelsMinLengthAutoAdjust(bool value);
    // The scale line and the ticks; ScaleLineShow is kept for configurations only.
    bool GetScaleLinesShow() const { return scaleLinesShow_; }
    void SetScaleLinesShow(bool value);
    bool GetScaleLineShow() const { return scaleLineShow_; }
    void SetScaleLineShow(bool value);
    // 0 chooses them automatically. The increment is kept within 0 .. 1e300.
    double GetDesiredStart() const { return desiredStart_; }
    void SetDesiredStart(double value);
    double GetDesiredIncrement() const { return desiredIncrement_; }
    void SetDesiredIncrement(double value);

    // ---- Cursor and legend value formats (the label ones while ...UseDefaultFormat) ----
    bool GetCursorUseDefaultFormat() const { return cursorUseDefaultFormat_; }
    void SetCursorUseDefaultFormat(bool value);
    TPlotTextFormat GetCursorFormatStyle() const { return cursorFormat_.Style; }
    void SetCursorFormatStyle(TPlotTextFormat value);
    const std::string& GetCursorDateTimeFormat() const { return cursorFormat_.DateTimeFormat; }
    void SetCursorDateTimeFormat(const std::string& value);
    TPrecisionStyle GetCursorPrecisionStyle() const { return cursorFormat_.PrecisionStyle; }
    void SetCursorPrecisionStyle(TPrecisionStyle value);
    double GetCursorMinLength() const { return cursorMinLength_; }
    void SetCursorMinLength(double value);
    bool GetCursorMinLengthAutoAdjust() const { return cursorMinLengthAutoAdjust_; }
    void SetCursorMinLengthAutoAdjust(bool value);
    bool GetLegendUseDefaultFormat() const { return legendUseDefaultFormat_; }
    void SetLegendUseDefaultFormat(bool value);
    TPlotTextFormat GetLegendFormatStyle() const { return legendFormat_.Style; }
    void SetLegendFormatStyle(TPlotTextFormat value);
    const std::string& GetLegendDateTimeFormat() const { return legendFormat_.DateTimeFormat; }
    void SetLegendDateTimeFormat(const std::string& value);
    TPrecisionStyle GetLegendPrecisionStyle() const { return legendFormat_.PrecisionStyle; }
    void SetLegendPrecisionStyle(TPrecisionStyle value);
    int32_t GetLegendPrecision() const { return legendFormat_.Precision; }
    void SetLegendPrecision(int32_t value);
    double GetLegendMinLength() const { return legendMinLength_; }
    void SetLegendMinLength(double value);
    bool GetLegendMinLengthAutoAdjust() const { return legendMinLengthAutoAdjust_; }
    void SetLegendMinLengthAutoAdjust(bool value);

    // ---- Cartesian placement and alignment (stored; the layout reads them) ----
    TPlotCartesianStyle GetCartesianStyle() const { return cartesianStyle_; }
    void SetCartesianStyle(TPlotCartesianStyle value);
    const std::string& GetCartesianChildRefAxisName() const { return cartesianChildRefAxisName_; }
    void SetCartesianChildRefAxisName(const std::string& value);
    double GetCartesianChildRefValue() const { return cartesianChildRefValue_; }
    void SetCartesianChildRefValue(double value);
    const std::string& GetAlignRefAxisName() const { return alignRefAxisName_; }
    void SetAlignRefAxisName(const std::string& value);

    // ---- Value texts ----
    std::string GetLabelText(double value) const;
    // The same while measuring for the layout: a longer text may grow LabelsMinLength.
    std::string GetLabelTextAdjust(double value);
    // With CR LF and CR replaced by blanks, for one-line displays.
    std::string GetCursorText(double value) const;
    std::string GetLegendText(double value) const;
    // The cursor's settings in the plain number style.
    std::string GetCursorValueText(double value) const;

    // ---- Sizes for the layout, the legend and the cursor, in pixels ----
    // Room a label takes along the axis: LabelsMinLength, the label of the highest round value
    // in view, and every label of the tick list, whichever is widest.
    int GetRequiredLabelLength(const TPlotTextMeasure& measure, const TPlotFont& font);
    int GetRequiredLegendLength(const TPlotTextMeasure& measure, const TPlotFont& font) const;
    int GetRequiredCursorLength(const TPlotTextMeasure& measure, const TPlotFont& font) const;
    // Room across the axis: margins, ticks, labels and title.
    int GetRequiredWidth(const TPlotTextMeasure& measure) override;
    // The part of it without the outer margin and the title, as of the last GetRequiredWidth;
    // a Cartesian axis needs only that.
    int GetRequiredWidthWithoutTitle() const { return requiredWidthWithoutTitle_; }
    // Room the layout keeps free beyond each end of the axis for the end labels: half a label's
    // extent along the axis, rounded down.
    int GetRequiredLengthGaurd(const TPlotTextMeasure& measure) override;

    // ---- Ticks ----
    // Measures the labels, recomputes the scale geometry and, unless TickListCustom, rebuilds
    // the tick list; always updates the ticks' pixels.
    void CalcTicks(const TPlotTextMeasure& measure);
    // Each tick's Visible (on the scale) and, when visible, its Pixel.
    void CalcTickPixels();
    // The label metrics CalcScaleRect needs, measured in LabelsFont.
    TPlotAxisLabelMetrics MeasureLabelMetrics(const TPlotTextMeasure& measure);
    const TPlotTickList& GetTickList() const { return ticks_; }
    // Whether the last date-time tick choice stepped by calendar months or years.
    bool GetTicksStepMonths() const { return ticksStepMonths_; }
    bool GetTicksStepYears() const { return ticksStepYears_; }

    // The application's own ticks: CalcTicks keeps the list while TickListCustom is set.
    // Indices outside 0 .. count - 1 throw EPlotError "Index out of Bounds".
    bool GetTickListCustom() const { return tickListCustom_; }
    void SetTickListCustom(bool value);
    // Throws EPlotError "Log Scale Requires Position to be Greater Than Zero" for a position
    // <= 0 on a log scale.
    void TickListAdd(double position, const std::string& label, TPlotTickType style);
    void TickListClear();
    int GetTickListCount() const { return static_cast<int>(ticks_.size()); }
    const std::string& GetTickListItemLabel(int index) const;
    double GetTickListItemPosition(int index) const;
    TPlotTickType GetTickListItemStyle(int index) const;
    void SetTickListItemLabel(int index, const std::string& value);
    void SetTickListItemPosition(int index, double value);
    void SetTickListItemStyle(int index, TPlotTickType value);

    // ---- Drawing (PlotAxisDraw.cpp), after the layout pass's CalcTicks ----
    // Labels, then the scale line and ticks, the title, and the focus rectangle while the user
    // has selected the axis; nothing while hidden.
    void Draw(TCanvas& canvas);
    // Lines across the rectangle at the visible ticks (vertical lines for a horizontal axis),
    // majors and minors each on request in their own style, colour and width; nothing is drawn
    // outside the rectangle, and nothing at all while GridLinesVisible is off.
    void DrawGridLines(TCanvas& canvas, const TPlotRect& rect, bool showMajors, bool showMinors,
                       TPlotGridLineStyle majorStyle, TPlotGridLineStyle minorStyle, TColor majorColor,
                       TColor minorColor, int majorWidth, int minorWidth);

    // ---- Geometry ----
    void CalcScaleRect(const TPlotAxisLabelMetrics& metrics);
    const TPlotRect& GetScaleRect() const { return scaleRect_; }
    const TPlotRect& GetHitRect() const { return hitRect_; }
    TPlotAxisLabelSide GetLabelSide() const { return labelSide_; }
    int GetMinPixels() const { return minPixel_; }
    int GetMaxPixels() const { return maxPixel_; }
    double GetPixelsPerUnit() const { return pixelsPerUnit_; }
    // The scale's pixel length.
    int GetSpanLength() const { return maxPixel_ > minPixel_ ? maxPixel_ - minPixel_ : minPixel_ - maxPixel_; }

    // ---- Mapping ----
    // Called for every drawn point: one multiply and a clamp on the linear scale.
    int PositionToPixels(double value) const {
        if (mapping_ == TPixelMapping::Linear) {
            const double pixel = minPixel_ - RoundHalfEven((value - min_) * pixelsPerUnit_);
            if (!(pixel >= -kPixelLimit)) return -kPixelLimit;  // NaN lands here too
            if (pixel > kPixelLimit) return kPixelLimit;
            return static_cast<int>(pixel);
        }
        if (mapping_ == TPixelMapping::Midpoint) return (minPixel_ + maxPixel_) / 2;
        return Log10ToPixels(value);
    }
    double PixelsToPosition(int pixel) const { return PixelsToPositionDouble(pixel); }
    double PixelsToPositionDouble(double pixel) const;
    int WidthToPixels(double width) const;
    // Whether the value's pixel lies within the scale's pixel extent, ends included.
    bool PointOnScale(double value) const;
    bool ValueOnScale(double value) const { return PointOnScale(value); }
    // Fraction 0..1 along the scale from its left (horizontal) or bottom (vertical) end.
    double PositionToPercent(double value) const;
    double PercentToPosition(double fraction) const;

    // ---- Zoom and scroll ----
    // Linear: the span times the factor about the centre (2 zooms out, 0.5 in). Log: the range
    // widened by 10^factor on both sides.
    void Zoom(double factor);
    // Positive percent zooms in: the reference span divided by 10^percent.
    void ZoomPercentByReference(double referenceMin, double referenceSpan, double referenceMax, double percent);
    // Moves the reference range by percent of its span, inside the scroll limits when enabled.
    void ScrollPercentByReference(double referenceMin, double referenceSpan, double referenceMax, double percent);
    // The range between the rectangle's edges along the axis.
    void ZoomRect(const TPlotRect& rect);
    // The extent of the visible channels bound to the axis; unchanged when there is none.
    void ZoomToFit();
    // The same from the channels' running statistics, visible or not.
    void ZoomToFitFast();

    // ---- Input ----
    void DoMouseLeft(const TPlotMouseData& data) override;
    void DoMouseMove(const TPlotMouseData& data) override;
    void DoMouseUp(const TPlotMouseData& data) override;
    void DoMouseHint(const TPlotMouseData& data, THintData& hint) override;
    bool iMouseWheel(int delta, TShiftState shift, int x, int y) override;
    void iKeyDown(int& key, TShiftState shift) override;
    bool iMouseHitTest(const TPlotMouseData& data) override;
    TPlotCursor GetMousePointer(int x, int y) override;
    // Axes share the selection with axes added by Shift or Ctrl.
    void NotificationSetFocus(TPlotObject& obj) override;
    // "Tracking Enabled", "Update Resume Values" and "Zoom to Fit" before the common items.
    void AddMenuItems(TPlotPopupMenu& menu) override;

protected:
    enum class TPlotAxisKind : uint8_t { X, Y };
    // Sets the kind's tracking defaults, which depend on the owning plot's class.
    TPlotAxis(TPlotComponent* owner, TPlotObjectEvents events, TPlotAxisKind kind);

private:
    enum class TPixelMapping : uint8_t { Midpoint, Linear, Log10 };
    static constexpr int kPixelLimit = 32000;

    // Nearest integer, ties to even, without a library call: adding and taking away 2^52 leaves
    // the default rounding of the addition to do the work (strict IEEE arithmetic assumed, as
    // the build has no fast-math).
    static double RoundHalfEven(double x) {
        constexpr double kTwoPow52 = 4503599627370496.0;
        if (!(std::fabs(x) < kTwoPow52)) return x;
        return x >= 0 ? (x + kTwoPow52) - kTwoPow52 : (x - kTwoPow52) + kTwoPow52;
    }


    TPlotAxisMode ModeWith(TShiftState shift) const;
    TPlotValueFormat LabelFormat() const;
    std::string FormatValue(const TPlotValueFormat& format, double value) const;
    // Ticks between the start position and the maximum, with the increment CalcTicks chose.
    void AddTicksFrom(double start, const TPlotTickIncrement& increment);
    // Adds the tick when it lands on the scale (and above 0 on a log scale), labelled if major.
    void AddTickOnScale(double position, TPlotTickType style);
    TPlotTickObject& TickAt(int index);
    const TPlotTickObject& TickAt(int index) const;
    void UpdateMapping();
    int Log10ToPixels(double value) const;
    // log10 of Min and of Max, for the log scale.
    std::pair<double, double> LogRange() const;
    // The value at a fraction of the range from Min towards the maximum.
    double ValueAtFraction(double fraction) const;
    void FitTo(bool runningStatistics);
    void HandOverToMaster(const std::function<void(TPlotAxis&, const TPlotMouseData&)>& hook,
                          const TPlotMouseData& data);
    void RequestImmediateRepaint();

    // Drawing steps. The scale line and the ticks are gathered as segment pairs and handed to
    // the canvas in one call.
    void DrawLines(TCanvas& canvas);
    void DrawScaleLine(std::vector<TPlotPoint>& segments) const;
    void DrawScaleMajorTick(std::vector<TPlotPoint>& segments, int pixel) const;
    void DrawScaleMinorTick(std::vector<TPlotPoint>& segments, int pixel) const;
    void DrawScaleTick(std::vector<TPlotPoint>& segments, int pixel, int length) const;
    void DrawScaleLabel(TCanvas& canvas, const TPlotTickObject& tick);
    void DrawTitle(TCanvas& canvas);
    // Where the scale line lies across the axis, and which way ticks and labels grow from it
    // (+1 right or down, -1 left or up).
    int ScaleLineCoordinate() const;
    int OutwardDirection() const;

    const bool isXAxis_;
    std::string title_;
    bool titleShow_ = false;

    double min_ = 0;
    double span_ = 100;
    bool inMinSpan_ = false;
    bool reverseScale_ = false;
    TPlotScaleType scaleType_ = ipstLinear;

    bool trackingEnabled_ = true;
    TPlotTrackingStyle trackingStyle_ = iptsScaleMinMax;
    TPlotAlignFirstStyle trackingAlignFirstStyle_ = ipafsNone;
    double trackingScrollCompressMax_ = 0;
    bool restoreValuesOnResume_ = true;
    bool firstAlignDone_ = false;
    double resumeMin_ = 0;
    double resumeSpan_ = 100;
    double resumeLabelsMinLength_ = 0;

    bool scrollMinMaxEnabled_ = false;
    double scrollMin_ = 0;
    double scrollMax_ = 100;
    bool masterUIInput_ = false;
    double cursorScaler_ = 1;
    TPlotAxisMode mode_ = ipamScroll;

    double labelsMinLength_ = 5;
    double stackingEndsMargin_ = 0.5;
    double labelSeparation_ = 2;
    double titleMargin_ = 0.25;

    TPlotFont titleFont_ = MakeFont("Arial", 10, clWhite, true);
    TPlotFont labelsFont_ = FontWithColor(clWhite);
    TColor scaleLinesColor_ = clWhite;
    int32_t labelsPrecision_ = 3;
    std::string dateTimeFormat_ = "hh:nn:ss";
    bool gridLinesVisible_ = true;

    bool titleRotated_ = false;
    int32_t majorLength_ = 7;
    int32_t minorLength_ = 3;
    int32_t minorCount_ = 1;
    int32_t innerMargin_ = 5;
    int32_t outerMargin_ = 5;
    bool labelsVisible_ = true;
    double labelsMargin_ = 0.25;
    TRotationAngle labelsRotation_ = ira000;
    TPlotTextFormat labelsFormatStyle_ = iptfValue;
    TPrecisionStyle labelsPrecisionStyle_ = ipsSignificantDigits;
    bool labelsMinLengthAutoAdjust_ = false;
    bool scaleLinesShow_ = true;
    bool scaleLineShow_ = true;
    double desiredStart_ = 0;
    double desiredIncrement_ = 0;

    bool cursorUseDefaultFormat_ = true;
    TPlotValueFormat cursorFormat_;
    double cursorMinLength_ = 5;
    bool cursorMinLengthAutoAdjust_ = false;
    bool legendUseDefaultFormat_ = true;
    TPlotValueFormat legendFormat_;
    double legendMinLength_ = 5;
    bool legendMinLengthAutoAdjust_ = false;

    TPlotCartesianStyle cartesianStyle_ = ipcsNone;
    std::string cartesianChildRefAxisName_ = "<None>";
    double cartesianChildRefValue_ = 0;
    std::string alignRefAxisName_ = "<None>";

    TPlotTickList ticks_;
    bool tickListCustom_ = false;
    bool ticksStepMonths_ = false;
    bool ticksStepYears_ = false;
    int requiredWidthWithoutTitle_ = 0;

    TPlotRect scaleRect_;
    TPlotRect hitRect_;
    TPlotAxisLabelSide labelSide_ = TPlotAxisLabelSide::VerticalLeft;
    int minPixel_ = 0;
    int maxPixel_ = 0;
    double pixelsPerUnit_ = 0;
    TPixelMapping mapping_ = TPixelMapping::Midpoint;

    bool mouseDown_ = false;
    int lastMouseX_ = 0;
    int lastMouseY_ = 0;
};

// Horizontal unless the plot's axes are reversed. Tracks with iptsScrollSmooth in a TPlot (the
// strip chart), iptsScaleMinMax elsewhere; aligns its first value automatically.
class TPlotXAxis : public TPlotAxis {
public:
    TPlotXAxis(TPlotComponent* owner, TPlotObjectEvents events);
};

// Vertical unless the plot's axes are reversed. Tracks with iptsScaleMinMax and no first
// alignment.
class TPlotYAxis : public TPlotAxis {
public:
    TPlotYAxis(TPlotComponent* owner, TPlotObjectEvents events);
};

}  // namespace ondrix
