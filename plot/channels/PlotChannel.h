#pragma once
// The channel of TPlot. Its X values are expected to run monotonically, increasing or
// decreasing, which makes the visible range and lookups by X binary searches. Adds Null, Empty
// and high-low entries, time-stamped entries, and the fill, digital, high-low, bar and
// interpolation settings that its drawing uses.
//
// Direction: X counts as increasing unless the second point's X is below the first's
// (GetXIncreasing, read from the points on each use, so that it is right whatever changed the
// data since the last paint).
//
// Date-times are doubles counting days since 1899-12-30 00:00, local time: the plot's one
// date-time convention, so that day fractions are plain arithmetic (0.5 is noon).

#include <functional>
#include <vector>

#include "plot/channels/PlotChannelCustom.h"

namespace ondrix {

class TPlotDataCursor;
enum TPlotDataCursorStyle : uint8_t;

enum TPlotInterpolationStyle : uint8_t {
    ipistStraightLine,
    ipistCubicSpline,
    ipistPolynomial,
    ipistRational,
    ipistDifferential,
    ipistDifferentialTerminated,
};
inline constexpr auto kPlotInterpolationStyleNames = EnumValueNames<ipistDifferentialTerminated>(
    {"ipistStraightLine", "ipistCubicSpline", "ipistPolynomial", "ipistRational", "ipistDifferential",
     "ipistDifferentialTerminated"});

enum TPlotDigitalReferenceStyle : uint8_t { ipdrScale, ipdrPercent };
inline constexpr auto kPlotDigitalReferenceStyleNames = EnumValueNames<ipdrPercent>({"ipdrScale", "ipdrPercent"});

enum TPlotHighLowStyle : uint8_t { iphlsOpenClose, iphlsCandleStick };
inline constexpr auto kPlotHighLowStyleNames = EnumValueNames<iphlsCandleStick>({"iphlsOpenClose", "iphlsCandleStick"});

// Now as a plot date-time (days since 1899-12-30 00:00, local time).
double PlotDateTimeNow();

// One pixel column of the fast trace: every point falling into the column widens its min-max
// span; the first and last Y join it to its neighbours.
struct TPlotMinMaxPoint {
    bool Empty = true;
    int Column = 0;
    double X = 0;  // of the first point added
    double Max = -1e301;
    double Min = 1e301;
    double FirstY = 0;
    double LastY = 0;

    void Add(double x, double y, int column) {
        if (Empty) {
            Empty = false;
            Column = column;
            X = x;
            FirstY = y;
        }
        if (y > Max) Max = y;
        if (y < Min) Min = y;
        LastY = y;
    }
    void Clear() { *this = TPlotMinMaxPoint(); }
};

// One pixel column of the X axis in the channel's pixel list.
struct TPlotPixelPoint {
    bool Empty = true;
    double Y = 0;
};

class TPlotChannel : public TPlotChannelCustom {
public:
    TPlotChannel(TPlotComponent* owner, TPlotObjectEvents events);

    // The date-time source of AddYNow and the elapsed-time entries; replaceable for tests.
    std::function<double()> Clock = &PlotDateTimeNow;

    // ---- Data entry (each ends with TriggerChange and answers the list's slot) ----

    // (X, 0) marked Null (not Empty), or Empty (not Null). X alone goes to the X axis as
    // tracking data; no statistics.
    int AddXNull(double x);
    int AddXEmpty(double x);
    // (X, 0) with the price values, kept only by the full-feature list. X goes to the X axis
    // as tracking data; no statistics.
    int AddHighLow(double x, double high, double low, double open, double close);
    // AddXY with X = now, or the time since ElapsedStartTime in days or in seconds.
    int AddYNow(double y);
    int AddYElapsedTime(double y);
    int AddYElapsedSeconds(double y);
    void ResetElapsedStartTime();
    double GetElapsedStartTime() const { return elapsedStartTime_; }
    // Element k (counted from the low bound) gets X = k * interval + B, B being the newest
    // point's X, or 0 for an empty channel. Fails with "Y-Data array must be 1 dimensional".
    void AddYArray(double interval, const TPlotVariantArray& yValues);

    // ---- Visible range and lookups ----

    bool GetXIncreasing() const;
    void CalcStartXIndex() override;
    void CalcStopXIndex() override;
    // Binary search: the last index probed, which holds x when a point does (the first equal
    // point met); -1 only for an empty list.
    int CalcXIndexIncreasing(double x) const;
    int CalcXIndexDecreasing(double x) const;
    // The index of the first point at or beyond x along X; -1 without an X axis, without
    // points, or for x outside the points' X range.
    int CalcIndex(double x);
    // Y at x, linear between the two points around x in X-axis pixels (exact to the pixel);
    // false, with y = 0, when x is outside the data, at the first point, or next to a Null point.
    bool GetYInterpolated(double x, double& y);

    // ---- Data cursor reading (PlotChannelCursor.cpp) ----

    // The cursor's reading on this channel at its pointers' pixels, handed to the cursor
    // (SetData, then its DisplayText).
    void DataCursorUpate(TPlotDataCursor& cursor);
    // Stores the reading as this channel's cursor values and answers its text for the style.
    std::string GetDataCursorDisplayText(TPlotDataCursorStyle style, double x, double y, TPlotDataPointStatus status);

    double GetVisibleMaxX() override;
    double GetVisibleMinX() override;
    double GetVisibleMaxY() override;
    double GetVisibleMinY() override;

    // ---- Per-point price and bar values (full-feature list; others answer 0 / the channel's
    // values and ignore the setters) ----

    double GetDataHigh(int index) const { return Data().GetHigh(index); }
    void SetDataHigh(int index, double value) { SetPointValue(&TPlotDataCustomList::SetHigh, index, value); }
    double GetDataLow(int index) const { return Data().GetLow(index); }
    void SetDataLow(int index, double value) { SetPointValue(&TPlotDataCustomList::SetLow, index, value); }
    double GetDataOpen(int index) const { return Data().GetOpen(index); }
    void SetDataOpen(int index, double value) { SetPointValue(&TPlotDataCustomList::SetOpen, index, value); }
    double GetDataClose(int index) const { return Data().GetClose(index); }
    void SetDataClose(int index, double value) { SetPointValue(&TPlotDataCustomList::SetClose, index, value); }
    bool GetDataBarVisible(int index) const { return Data().GetBarVisible(index); }
    void SetDataBarVisible(int index, bool value) { SetPointValue(&TPlotDataCustomList::SetBarVisible, index, value); }
    double GetDataBarReference(int index) const { return Data().GetBarReference(index); }
    void SetDataBarReference(int index, double value) {
        SetPointValue(&TPlotDataCustomList::SetBarReference, index, value);
    }
    double GetDataBarWidth(int index) const { return Data().GetBarWidth(index); }
    void SetDataBarWidth(int index, double value) { SetPointValue(&TPlotDataCustomList::SetBarWidth, index, value); }
    TColor GetDataBarPenColor(int index) const { return Data().GetBarPenColor(index); }
    void SetDataBarPenColor(int index, TColor value) { SetPointValue(&TPlotDataCustomList::SetBarPenColor, index, value); }
    int32_t GetDataBarPenWidth(int index) const { return Data().GetBarPenWidth(index); }
    void SetDataBarPenWidth(int index, int32_t value) {
        SetPointValue(&TPlotDataCustomList::SetBarPenWidth, index, value);
    }
    TPenStyle GetDataBarPenStyle(int index) const { return Data().GetBarPenStyle(index); }
    void SetDataBarPenStyle(int index, TPenStyle value) {
        SetPointValue(&TPlotDataCustomList::SetBarPenStyle, index, value);
    }
    TColor GetDataBarBrushColor(int index) const { return Data().GetBarBrushColor(index); }
    void SetDataBarBrushColor(int index, TColor value) {
        SetPointValue(&TPlotDataCustomList::SetBarBrushColor, index, value);
    }
    TBrushStyle GetDataBarBrushStyle(int index) const { return Data().GetBarBrushStyle(index); }
    void SetDataBarBrushStyle(int index, TBrushStyle value) {
        SetPointValue(&TPlotDataCustomList::SetBarBrushStyle, index, value);
    }

    // ---- Published drawing properties (used by the trace drawing) ----

    bool GetFastDrawEnabled() const { return fastDrawEnabled_; }
    void SetFastDrawEnabled(bool value) { SetField(fastDrawEnabled_, value); }
    // Whether the fast drawing of a standard list takes whole blocks of points into a pixel
    // column through the list's min-max summary when the view holds many points per column. On
    // by default. Off, every point is read: the picture is the same, so switching it reports no
    // change.
    bool GetMinMaxSummaryEnabled() const { return minMaxSummaryEnabled_; }
    void SetMinMaxSummaryEnabled(bool value) { minMaxSummaryEnabled_ = value; }
    TPlotInterpolationStyle GetInterpolationStyle() const { return interpolationStyle_; }
    void SetInterpolationStyle(TPlotInterpolationStyle value) { SetField(interpolationStyle_, value); }

    bool GetFillEnabled() const { return fillEnabled_; }
    void SetFillEnabled(bool value) { SetField(fillEnabled_, value); }
    double GetFillReference() const { return fillReference_; }
    void SetFillReference(double value) { SetField(fillReference_, value); }
    TBrushStyle GetFillStyle() const { return fillStyle_; }
    void SetFillStyle(TBrushStyle value) { SetField(fillStyle_, value); }
    TColor GetFillColor() const { return fillColor_; }
    void SetFillColor(TColor value) { SetField(fillColor_, value); }
    bool GetFillUseChannelColor() const { return fillUseChannelColor_; }
    void SetFillUseChannelColor(bool value) { SetField(fillUseChannelColor_, value); }

    bool GetDigitalEnabled() const { return digitalEnabled_; }
    void SetDigitalEnabled(bool value) { SetField(digitalEnabled_, value); }
    TPlotDigitalReferenceStyle GetDigitalReferenceStyle() const { return digitalReferenceStyle_; }
    void SetDigitalReferenceStyle(TPlotDigitalReferenceStyle value) { SetField(digitalReferenceStyle_, value); }
    double GetDigitalReferenceLow() const { return digitalReferenceLow_; }
    void SetDigitalReferenceLow(double value) { SetField(digitalReferenceLow_, value); }
    double GetDigitalReferenceHigh() const { return digitalReferenceHigh_; }
    void SetDigitalReferenceHigh(double value) { SetField(digitalReferenceHigh_, value); }

    TPlotHighLowStyle GetHighLowStyle() const { return highLowStyle_; }
    void SetHighLowStyle(TPlotHighLowStyle value) { SetField(highLowStyle_, value); }
    bool GetHighLowEnabled() const { return highLowEnabled_; }
    void SetHighLowEnabled(bool value) { SetField(highLowEnabled_, value); }
    TColor GetHighLowBarColor() const { return highLowBarColor_; }
    void SetHighLowBarColor(TColor value) { SetField(highLowBarColor_, value); }
    double GetHighLowBarWidth() const { return highLowBarWidth_; }
    void SetHighLowBarWidth(double value) { SetField(highLowBarWidth_, value); }
    bool GetHighLowOpenShow() const { return highLowOpenShow_; }
    void SetHighLowOpenShow(bool value) { SetField(highLowOpenShow_, value); }
    TColor GetHighLowOpenColor() const { return highLowOpenColor_; }
    void SetHighLowOpenColor(TColor value) { SetField(highLowOpenColor_, value); }
    double GetHighLowOpenWidth() const { return highLowOpenWidth_; }
    void SetHighLowOpenWidth(double value) { SetField(highLowOpenWidth_, value); }
    double GetHighLowOpenHeight() const { return highLowOpenHeight_; }
    void SetHighLowOpenHeight(double value) { SetField(highLowOpenHeight_, value); }
    bool GetHighLowCloseShow() const { return highLowCloseShow_; }
    void SetHighLowCloseShow(bool value) { SetField(highLowCloseShow_, value); }
    TColor GetHighLowCloseColor() const { return highLowCloseColor_; }
    void SetHighLowCloseColor(TColor value) { SetField(highLowCloseColor_, value); }
    double GetHighLowCloseWidth() const { return highLowCloseWidth_; }
    void SetHighLowCloseWidth(double value) { SetField(highLowCloseWidth_, value); }
    double GetHighLowCloseHeight() const { return highLowCloseHeight_; }
    void SetHighLowCloseHeight(double value) { SetField(highLowCloseHeight_, value); }
    TColor GetHighLowShadowColor() const { return highLowShadowColor_; }
    void SetHighLowShadowColor(TColor value) { SetField(highLowShadowColor_, value); }
    TColor GetHighLowBullishColor() const { return highLowBullishColor_; }
    void SetHighLowBullishColor(TColor value) { SetField(highLowBullishColor_, value); }
    TColor GetHighLowBearishColor() const { return highLowBearishColor_; }
    void SetHighLowBearishColor(TColor value) { SetField(highLowBearishColor_, value); }

    bool GetBarEnabled() const { return barEnabled_; }
    void SetBarEnabled(bool value) { SetField(barEnabled_, value); }
    bool GetBarPenUseChannelColor() const { return barPenUseChannelColor_; }
    void SetBarPenUseChannelColor(bool value) { SetField(barPenUseChannelColor_, value); }
    bool GetBarBrushUseChannelColor() const { return barBrushUseChannelColor_; }
    void SetBarBrushUseChannelColor(bool value) { SetField(barBrushUseChannelColor_, value); }
    // Stored with the list's current appearance values, so that full-feature points copy them.
    double GetBarReference() const { return Attributes().BarReference; }
    void SetBarReference(double value) { SetAttribute(&CurrentPointAttributes::BarReference, value); }
    double GetBarWidth() const { return Attributes().BarWidth; }
    void SetBarWidth(double value) { SetAttribute(&CurrentPointAttributes::BarWidth, value); }
    TColor GetBarPenColor() const { return Attributes().BarPenColor; }
    void SetBarPenColor(TColor value) { SetAttribute(&CurrentPointAttributes::BarPenColor, value); }
    int32_t GetBarPenWidth() const { return Attributes().BarPenWidth; }
    void SetBarPenWidth(int32_t value) { SetAttribute(&CurrentPointAttributes::BarPenWidth, value); }
    TPenStyle GetBarPenStyle() const { return Attributes().BarPenStyle; }
    void SetBarPenStyle(TPenStyle value) { SetAttribute(&CurrentPointAttributes::BarPenStyle, value); }
    TColor GetBarBrushColor() const { return Attributes().BarBrushColor; }
    void SetBarBrushColor(TColor value) { SetAttribute(&CurrentPointAttributes::BarBrushColor, value); }
    TBrushStyle GetBarBrushStyle() const { return Attributes().BarBrushStyle; }
    void SetBarBrushStyle(TBrushStyle value) { SetAttribute(&CurrentPointAttributes::BarBrushStyle, value); }

    // ---- Drawing (PlotChannelDraw.cpp) ----

    // Ready when both axes exist, the channel is Visible and holds points, and the visible
    // range has both ends (the step styles draw without them). Also places the digital levels
    // and empties the pixel list, one entry per pixel of the X axis.
    void DrawSetup(TCanvas& canvas) override;
    // Fill (FillEnabled), bars (BarEnabled), trace, markers, then the high-low symbols
    // (HighLowEnabled) in the HighLowStyle; the later ones paint over the earlier.
    void Draw(TCanvas& canvas, TColor backgroundColor) override;
    // Nothing while TraceVisible is off. Else the digital levels when DigitalEnabled, or by
    // InterpolationStyle: straight lines (the fast min-max drawing when FastDrawEnabled, else
    // one line per pair of valid points), the interpolated curves, or steps.
    void DrawConnectPoints(TCanvas& canvas, bool reversed) override;

    // ---- Styles beyond the plain trace (PlotChannelStyles.cpp, PlotChannelShapes.cpp) ----

    // The area between the trace, as its style draws it, and FillReference.
    void DrawFill(TCanvas& canvas, bool reversed);
    // One bar per point from its bar reference to its Y.
    void DrawBar(TCanvas& canvas, bool reversed);
    // Per point: the High-Low bar with the Open tick on its left and the Close tick on its right.
    void DrawHighLow(TCanvas& canvas, bool reversed);
    // Per point: the High-Low shadow with an Open-Close body in the bullish or bearish colour.
    void DrawHighLowCandleStick(TCanvas& canvas, bool reversed);
    // Fails with "Pixel List XPixel out of Range" for a column outside the X axis's pixels.
    void AddPixelListValue(int column, double y);
    const std::vector<TPlotPixelPoint>& GetPixelList() const { return pixelList_; }
    int GetDigitalHighPixels() const { return digitalHighPixels_; }
    int GetDigitalLowPixels() const { return digitalLowPixels_; }
    // The index of the newest point that is neither Null nor Empty, -1 if none: the X extent of
    // zoom-to-fit, and the one step a step trace without a draw range shows.
    int NewestUsablePoint() const;

    // ---- Mouse (PlotChannelInput.cpp) ----

    // Besides the legend and the markers, a right press hits the trace: the interpolated Y at
    // the mouse's X-axis pixel lies within 10 pixels of the mouse on the Y axis.
    bool iMouseHitTest(const TPlotMouseData& data) override;

protected:
    int MarkerYPixels(const TPlotAxis& yAxis, double y) const override;

private:
    bool TraceHit(const TPlotMouseData& data);

    // The trace styles (PlotChannelStyles.cpp).
    void DrawStepTrace(const TPlotTraceMapper& mapper);
    void DrawInterpolatedTrace(const TPlotTraceMapper& mapper);
    void DrawDigitalTrace(const TPlotTraceMapper& mapper);

    // The fast drawing of straight lines; see PlotChannelDraw.cpp.
    void DrawFastTrace(const TPlotTraceMapper& mapper);
    // The fast drawing over any point reader; `blocks`, when not null, summarises the points
    // that `read` reads.
    template <class Reader>
    void DrawFast(const TPlotTraceMapper& mapper, Reader read, const TPlotMinMaxBlocks* blocks);
    // Enough points per pixel column in view for whole summary blocks to fit in columns.
    bool SummaryPaysOff() const;
    // The fast drawing's flush: the spans of A and B and the connectors A-B and B-C.
    void DrawPointSet(const TPlotTraceMapper& mapper, const TPlotMinMaxPoint& a, const TPlotMinMaxPoint& b,
                      const TPlotMinMaxPoint& c);
    void AddClippedLine(const TPlotTraceMapper& mapper, double x1, double y1, double x2, double y2);

private:
    // The draw index at the window's start or stop edge; -1 without an X axis or points.
    int WindowEdgeIndex(bool start);
    // Adds (X, 0) with the given marks, tracks X, reports the change.
    int AddMarkedX(double x, bool null, bool empty);
    // The oldest point that is neither Null nor Empty, -1 if none: the other X extent.
    int OldestUsablePoint() const;

    double elapsedStartTime_;
    std::vector<TPlotPixelPoint> pixelList_;
    int pixelListFirstColumn_ = 0;
    int digitalHighPixels_ = 0;
    int digitalLowPixels_ = 0;

    bool fastDrawEnabled_ = true;
    bool minMaxSummaryEnabled_ = true;
    TPlotInterpolationStyle interpolationStyle_ = ipistStraightLine;
    bool fillEnabled_ = false;
    double fillReference_ = 0;
    TBrushStyle fillStyle_ = bsSolid;
    TColor fillColor_ = clBlack;
    bool fillUseChannelColor_ = true;
    bool digitalEnabled_ = false;
    TPlotDigitalReferenceStyle digitalReferenceStyle_ = ipdrScale;
    double digitalReferenceLow_ = 10;
    double digitalReferenceHigh_ = 90;
    TPlotHighLowStyle highLowStyle_ = iphlsOpenClose;
    bool highLowEnabled_ = false;
    TColor highLowBarColor_ = clAqua;
    double highLowBarWidth_ = 0.5;
    bool highLowOpenShow_ = true;
    TColor highLowOpenColor_ = clLime;
    double highLowOpenWidth_ = 1;
    double highLowOpenHeight_ = 1;
    bool highLowCloseShow_ = true;
    TColor highLowCloseColor_ = clRed;
    double highLowCloseWidth_ = 1;
    double highLowCloseHeight_ = 1;
    TColor highLowShadowColor_ = clGray;
    TColor highLowBullishColor_ = clWhite;
    TColor highLowBearishColor_ = clGray;
    bool barEnabled_ = false;
    bool barPenUseChannelColor_ = true;
    bool barBrushUseChannelColor_ = true;
};

}  // namespace ondrix
