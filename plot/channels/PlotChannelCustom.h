#pragma once
// plot/channels holds the channel classes, their trace drawing (the reader, the precomputed
// mapper, the segment batches), shapes and styles, and the value area; channels map through
// their axes and keep their points in plot/data.
//
// The common base of the plot's channels: one data series bound by name to one X axis and one
// Y axis. It owns its data list (PlotDataList.h), feeds new values to its axes so that they can
// follow the data (tracking), keeps running statistics, answers draw extents, and writes and
// reads its points as text and as a log.
//
// Axes are found by name on the owning plot and cached; the cache is dropped when the axis
// leaves the plot or the name changes, and a renamed axis hands its new name to the channels
// bound to it. While no axis bears the name, the channel gives no tracking data and every use
// looks the name up again, so an axis added later is picked up.
//
// Appearance properties that new points copy (Color, the trace line and the markers) live in
// the list's CurrentPointAttributes; the other properties live here.
//
// Threads: none of its own. Every call on a channel, its axes and the painting of the plot must
// be serialised; a producer on another thread hands its samples to the painting thread.
//
// Errors: EPlotError with fixed messages ("Data Point Null", "X-Axis not assigned", the array
// shape and logging messages documented at the members); errors of the data list ("Index out of
// Bounds", ...) pass through unchanged.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "plot/channels/PlotTraceMapper.h"
#include "plot/core/PlotFont.h"
#include "plot/core/PlotSegmentBatch.h"
#include "plot/data/PlotDataList.h"
#include "plot/objects/PlotObjectReference.h"
#include "plot/objects/PlotObjects.h"

namespace ondrix {

class TPlotAxis;
class TPlotXAxis;
class TPlotYAxis;

// ---- Arrays handed to the array entry points ------------------------------------------------

// Bounds of one dimension: indices Low..High, both included.
struct TPlotArrayBounds {
    int Low = 0;
    int High = -1;
    int Length() const { return High - Low + 1; }
};

// An array of doubles with any number of dimensions, each with its own index bounds, as hosts
// hand arrays to the plot. Values are stored with the last dimension varying fastest. A value
// type: copy it freely.
class TPlotVariantArray {
public:
    // No dimensions: not an array at all.
    TPlotVariantArray() = default;
    // All values 0; a dimension with High < Low holds no index.
    explicit TPlotVariantArray(std::vector<TPlotArrayBounds> bounds);
    // One dimension from `low` on, holding `values`.
    static TPlotVariantArray Vector(std::vector<double> values, int low = 0);

    int DimCount() const { return static_cast<int>(bounds_.size()); }
    // dim counts from 1, as in "first dimension"; fails with "Index out of Bounds" beyond DimCount.
    int LowBound(int dim) const;
    int HighBound(int dim) const;

    // Indices within the bounds, one per dimension; else "Index out of Bounds".
    double At(int i) const { return values_[Offset({i})]; }
    double At(int i, int j) const { return values_[Offset({i, j})]; }
    void Set(int i, double value) { values_[Offset({i})] = value; }
    void Set(int i, int j, double value) { values_[Offset({i, j})] = value; }

private:
    size_t Offset(std::initializer_list<int> indices) const;

    std::vector<TPlotArrayBounds> bounds_;
    std::vector<double> values_;
};

// The reading a data cursor last took on a channel, with the texts its hint showed.
struct TPlotCursorReading {
    double X = 0;
    double Y = 0;
    TPlotDataPointStatus Status = ipdpsValid;
    std::string XText;
    std::string YText;
};

// ---- TPlotChannelCustom ---------------------------------------------------------------------

class TPlotChannelCustom : public TPlotManagerObject {
public:
    TPlotChannelCustom(TPlotComponent* owner, TPlotObjectEvents events);
    ~TPlotChannelCustom() override;

    // ---- Published properties -------------------------------------------------------------
    // Every setter stores a changed value and reports it (TriggerChange), LogBufferSize excepted.

    const std::string& GetTitleText() const { return titleText_; }
    void SetTitleText(const std::string& value) { SetField(titleText_, value); }
    bool GetVisibleInLegend() const { return visibleInLegend_; }
    void SetVisibleInLegend(bool value) { SetField(visibleInLegend_, value); }
    bool GetTraceVisible() const { return traceVisible_; }
    void SetTraceVisible(bool value) { SetField(traceVisible_, value); }

    // The list's ring size; 0 for a growable list. Writing it resizes the list (see
    // TPlotDataCustomList::SetRingBufferSize for which points survive).
    int GetRingBufferSize() const { return data_->GetRingBufferSize(); }
    void SetRingBufferSize(int value);

    // Switches the list class. The new list keeps the appearance values and the ring size, but
    // not the points. The running statistics are reset with the points: statistics of points
    // that are gone would hold the axes' zoom-to-fit on data no longer shown.
    TPlotDataStyle GetDataStyle() const { return dataStyle_; }
    void SetDataStyle(TPlotDataStyle value);

    TColor GetColor() const { return Attributes().TraceLineColor; }
    void SetColor(TColor value) { SetAttribute(&CurrentPointAttributes::TraceLineColor, value); }
    TPlotLineStyle GetTraceLineStyle() const { return Attributes().TraceLineStyle; }
    void SetTraceLineStyle(TPlotLineStyle value) { SetAttribute(&CurrentPointAttributes::TraceLineStyle, value); }
    int32_t GetTraceLineWidth() const { return Attributes().TraceLineWidth; }
    void SetTraceLineWidth(int32_t value) { SetAttribute(&CurrentPointAttributes::TraceLineWidth, value); }

    bool GetMarkersAllowIndividual() const { return markersAllowIndividual_; }
    void SetMarkersAllowIndividual(bool value) { SetField(markersAllowIndividual_, value); }
    bool GetMarkersPenUseChannelColor() const { return markersPenUseChannelColor_; }
    void SetMarkersPenUseChannelColor(bool value) { SetField(markersPenUseChannelColor_, value); }
    bool GetMarkersBrushUseChannelColor() const { return markersBrushUseChannelColor_; }
    void SetMarkersBrushUseChannelColor(bool value) { SetField(markersBrushUseChannelColor_, value); }
    int32_t GetMarkersTurnOffLimit() const { return markersTurnOffLimit_; }
    void SetMarkersTurnOffLimit(int32_t value) { SetField(markersTurnOffLimit_, value); }
    bool GetMarkersVisible() const { return Attributes().MarkerVisible; }
    void SetMarkersVisible(bool value) { SetAttribute(&CurrentPointAttributes::MarkerVisible, value); }
    // Half the symbol's size, in pixels.
    int32_t GetMarkersSize() const { return Attributes().MarkerSize; }
    void SetMarkersSize(int32_t value) { SetAttribute(&CurrentPointAttributes::MarkerSize, value); }
    TPlotMarkerStyle GetMarkersStyle() const { return Attributes().MarkerStyle; }
    void SetMarkersStyle(TPlotMarkerStyle value) { SetAttribute(&CurrentPointAttributes::MarkerStyle, value); }
    TColor GetMarkersPenColor() const { return Attributes().MarkerPenColor; }
    void SetMarkersPenColor(TColor value) { SetAttribute(&CurrentPointAttributes::MarkerPenColor, value); }
    TPenStyle GetMarkersPenStyle() const { return Attributes().MarkerPenStyle; }
    void SetMarkersPenStyle(TPenStyle value) { SetAttribute(&CurrentPointAttributes::MarkerPenStyle, value); }
    int32_t GetMarkersPenWidth() const { return Attributes().MarkerPenWidth; }
    void SetMarkersPenWidth(int32_t value) { SetAttribute(&CurrentPointAttributes::MarkerPenWidth, value); }
    TColor GetMarkersBrushColor() const { return Attributes().MarkerBrushColor; }
    void SetMarkersBrushColor(TColor value) { SetAttribute(&CurrentPointAttributes::MarkerBrushColor, value); }
    TBrushStyle GetMarkersBrushStyle() const { return Attributes().MarkerBrushStyle; }
    void SetMarkersBrushStyle(TBrushStyle value) { SetAttribute(&CurrentPointAttributes::MarkerBrushStyle, value); }
    // Draws the character markers; kept by the channel, not by its points.
    const TPlotFont& GetMarkersFont() const { return markersFont_; }
    void SetMarkersFont(const TPlotFont& value) { SetField(markersFont_, ClampedFont(value)); }

    const std::string& GetXAxisName() const { return xAxis_.Name(); }
    void SetXAxisName(const std::string& value);
    const std::string& GetYAxisName() const { return yAxis_.Name(); }
    void SetYAxisName(const std::string& value);
    bool GetXAxisTrackingEnabled() const { return xAxisTrackingEnabled_; }
    void SetXAxisTrackingEnabled(bool value) { SetField(xAxisTrackingEnabled_, value); }
    bool GetYAxisTrackingEnabled() const { return yAxisTrackingEnabled_; }
    void SetYAxisTrackingEnabled(bool value) { SetField(yAxisTrackingEnabled_, value); }

    const std::string& GetLogFileName() const { return logFileName_; }
    void SetLogFileName(const std::string& value) { SetField(logFileName_, value); }
    // Points collected before a log write; below 2, every point is written at once.
    int32_t GetLogBufferSize() const { return logBufferSize_; }
    void SetLogBufferSize(int32_t value) { logBufferSize_ = value; }
    bool GetLoggingActive() const { return loggingActive_; }

    // ---- Data entry -----------------------------------------------------------------------
    // Single-point entries answer the storage slot that the list's Add returned; every entry
    // ends with TriggerChange.

    // Adds the point, updates the running statistics, gives the axes their tracking data (the
    // marker's far edges when markers are visible: X max, X min, then Y max, Y min), logs it.
    // O(1) apart from what the axes do with the tracking data.
    int AddXY(double x, double y);
    // A 2-dimensional array whose first dimension has 2 elements: AddXY(A[low1, j],
    // A[low1 + 1, j]) for each j of the second dimension, ascending. Fails with "Array Must Be 2
    // Dimensional" or "Array First Dimension Must Be 2 Elements".
    void AddXYArray(const TPlotVariantArray& values);
    // Two 1-dimensional arrays with the same bounds: AddXY(x[i], y[i]) for each i, ascending.
    // Fails with "X-Data array must be 1 dimensional", "Y-Data array must be 1 dimensional",
    // "X-Data and Y-Data low bound dimension must match" or "X-Data and Y-Data hogh bound
    // dimension must match".
    void AddXYArrays(const TPlotVariantArray& xValues, const TPlotVariantArray& yValues);
    // Resets the statistics and the draw range, ends logging (writing what is pending) and
    // empties the list; a ring keeps its size.
    void Clear();
    // Removes the n oldest points (the list's limits apply).
    void DeletePoints(int n);

    // ---- Data access ----------------------------------------------------------------------

    int GetCount() const { return data_->GetCount(); }
    // Writing Count sets the list's capacity: the newest points beyond it are cut off.
    void SetCount(int value);
    int GetCapacity() const { return data_->GetCapacity(); }
    int GetMaxDataPoints() const { return data_->GetMaxDataPoints(); }
    int GetDataPointSize() const { return data_->GetDataPointSize(); }
    int GetMemoryUsed() const { return data_->GetMemoryUsed(); }

    double GetDataX(int index) const { return data_->GetX(index); }
    double GetDataY(int index) const { return data_->GetY(index); }
    bool GetDataNull(int index) const { return data_->GetNull(index); }
    bool GetDataEmpty(int index) const { return data_->GetEmpty(index); }
    void GetXYEmptyNull(int index, double& x, double& y, bool& empty, bool& null) const {
        data_->GetXYEmptyNull(index, x, y, empty, null);
    }
    void SetDataX(int index, double value) { SetPointValue(&TPlotDataCustomList::SetX, index, value); }
    void SetDataY(int index, double value) { SetPointValue(&TPlotDataCustomList::SetY, index, value); }
    void SetDataNull(int index, bool value) { SetPointValue(&TPlotDataCustomList::SetNull, index, value); }
    void SetDataEmpty(int index, bool value) { SetPointValue(&TPlotDataCustomList::SetEmpty, index, value); }

    // Per-point appearance; lists without it answer the channel's values and ignore the setters.
    bool GetDataMarkerShow(int index) const { return data_->GetMarkerVisible(index); }
    void SetDataMarkerShow(int index, bool value) { SetPointValue(&TPlotDataCustomList::SetMarkerVisible, index, value); }
    TPlotMarkerStyle GetDataMarkerStyle(int index) const { return data_->GetMarkerStyle(index); }
    void SetDataMarkerStyle(int index, TPlotMarkerStyle value) {
        SetPointValue(&TPlotDataCustomList::SetMarkerStyle, index, value);
    }
    int32_t GetDataMarkerSize(int index) const { return data_->GetMarkerSize(index); }
    void SetDataMarkerSize(int index, int32_t value) { SetPointValue(&TPlotDataCustomList::SetMarkerSize, index, value); }
    TColor GetDataMarkerPenColor(int index) const { return data_->GetMarkerPenColor(index); }
    void SetDataMarkerPenColor(int index, TColor value) {
        SetPointValue(&TPlotDataCustomList::SetMarkerPenColor, index, value);
    }
    TPenStyle GetDataMarkerPenStyle(int index) const { return data_->GetMarkerPenStyle(index); }
    void SetDataMarkerPenStyle(int index, TPenStyle value) {
        SetPointValue(&TPlotDataCustomList::SetMarkerPenStyle, index, value);
    }
    int32_t GetDataMarkerPenWidth(int index) const { return data_->GetMarkerPenWidth(index); }
    void SetDataMarkerPenWidth(int index, int32_t value) {
        SetPointValue(&TPlotDataCustomList::SetMarkerPenWidth, index, value);
    }
    TColor GetDataMarkerBrushColor(int index) const { return data_->GetMarkerBrushColor(index); }
    void SetDataMarkerBrushColor(int index, TColor value) {
        SetPointValue(&TPlotDataCustomList::SetMarkerBrushColor, index, value);
    }
    TBrushStyle GetDataMarkerBrushStyle(int index) const { return data_->GetMarkerBrushStyle(index); }
    void SetDataMarkerBrushStyle(int index, TBrushStyle value) {
        SetPointValue(&TPlotDataCustomList::SetMarkerBrushStyle, index, value);
    }
    char GetDataMarkerCharacter(int index) const { return data_->GetMarkerCharacter(index); }
    void SetDataMarkerCharacter(int index, char value) {
        SetPointValue(&TPlotDataCustomList::SetMarkerCharacter, index, value);
    }
    TColor GetDataTraceLineColor(int index) const { return data_->GetTraceLineColor(index); }
    void SetDataTraceLineColor(int index, TColor value) {
        SetPointValue(&TPlotDataCustomList::SetTraceLineColor, index, value);
    }
    TPlotLineStyle GetDataTraceLineStyle(int index) const { return data_->GetTraceLineStyle(index); }
    void SetDataTraceLineStyle(int index, TPlotLineStyle value) {
        SetPointValue(&TPlotDataCustomList::SetTraceLineStyle, index, value);
    }
    int32_t GetDataTraceLineWidth(int index) const { return data_->GetTraceLineWidth(index); }
    void SetDataTraceLineWidth(int index, int32_t value) {
        SetPointValue(&TPlotDataCustomList::SetTraceLineWidth, index, value);
    }

    // ---- Statistics -----------------------------------------------------------------------

    // Scan every point that is neither Null nor Empty, store the result in the matching running
    // value and answer it: kNoMinimum / kNoMaximum / 0 when there is no such point.
    double GetXMin();
    double GetXMax();
    double GetXMean();
    double GetYMin();
    double GetYMax();
    double GetYMean();
    // Rebuilds every running value, RunningCount and the sums from one scan.
    void ReCalcRunningMinMaxMean();

    // Kept up to date by every AddXY, without scanning (kNoMinimum / kNoMaximum / 0 when empty).
    double GetRunningXMin() const { return runningXMin_; }
    double GetRunningXMax() const { return runningXMax_; }
    double GetRunningXMean() const { return runningXMean_; }
    double GetRunningYMin() const { return runningYMin_; }
    double GetRunningYMax() const { return runningYMax_; }
    double GetRunningYMean() const { return runningYMean_; }
    int32_t GetRunningCount() const { return runningCount_; }

    // ---- Extents --------------------------------------------------------------------------

    // The point's X (Y), widened by the marker's half size (MarkersSize pixels on the axis)
    // when markers are visible. Fail with "Data Point Null" for a Null point, and with
    // "X-Axis not assigned" / "Y-Axis not assigned" when markers are visible and the axis is
    // missing.
    double GetDataXDrawMax(int index);
    double GetDataXDrawMin(int index);
    double GetDataYDrawMax(int index);
    double GetDataYDrawMin(int index);

    // Extent of the data for zoom-to-fit, markers included: X over all data, Y within the
    // current X range. kNoMinimum / kNoMaximum without both axes, when the channel is not
    // Visible, or without a point that is neither Null nor Empty.
    virtual double GetVisibleMaxX() = 0;
    virtual double GetVisibleMinX() = 0;
    virtual double GetVisibleMaxY() = 0;
    virtual double GetVisibleMinY() = 0;

    // The logical index range to draw for the current X axis range: the last point at or
    // before the axis minimum to the first point at or after its maximum. Both are -1 without
    // an X axis or points.
    virtual void CalcStartXIndex() = 0;
    virtual void CalcStopXIndex() = 0;
    int GetDrawStartIndex() const { return drawStartIndex_; }
    int GetDrawStopIndex() const { return drawStopIndex_; }

    // ---- Axes -----------------------------------------------------------------------------

    // The bound axis, or null when no axis of that kind bears the name.
    TPlotXAxis* GetXAxis();
    TPlotYAxis* GetYAxis();
    bool AxesValid();
    // Pixel position of a value pair; (0, 0) unless both axes exist.
    void GetPointPixels(double x, double y, int& xPixels, int& yPixels);
    // The value as the axis shows it, or "No X-Axis" / "No Y-Axis" without the axis.
    std::string GetXValueText(double value);
    std::string GetYValueText(double value);

    void NotificationRemove(TPlotObject& obj) override;
    void NotificationRename(TPlotObject& obj) override;

    // ---- Drawing (PlotChannelCustomDraw.cpp) -----------------------------------------------
    // The paint pass calls DrawSetup, then Draw, for each channel. Draw paints only while
    // DrawSetup left DrawReady set; an error raised by one channel's drawing is dropped there,
    // so the rest of the plot still paints.

    // Ready when both axes exist, the channel is Visible and holds points, and the visible
    // range has both ends.
    virtual void DrawSetup(TCanvas& canvas);
    // The trace, then the markers.
    virtual void Draw(TCanvas& canvas, TColor backgroundColor);
    // Straight lines between consecutive valid points, each in that point's own pen; a Null
    // point breaks the line, an Empty point is skipped.
    virtual void DrawConnectPoints(TCanvas& canvas, bool reversed);
    // The marker of every point in the visible range whose marker is showing, unless more than
    // MarkersTurnOffLimit (when > 0) points are in view.
    virtual void DrawMarkers(TCanvas& canvas, bool reversed);
    // One marker centred on the pixel point; index -1 draws the legend's sample in the
    // channel's values, at most 6 pixels in size.
    void DrawMarker(TCanvas& canvas, int index, TPlotPoint point);
    // Markers visible, the point neither Null nor Empty, its own flag set when individual
    // markers are allowed, both axes present and both values on their scales.
    bool GetDataMarkerShowing(int index);
    // The part of the segment on the scales, as one line; nothing without both axes.
    void DrawLine(TCanvas& canvas, bool reversed, double x1, double y1, double x2, double y2,
                  TPlotUnitReferenceStyle reference);

    // ---- Mouse (PlotChannelInput.cpp) ------------------------------------------------------

    // Hit inside the legend rectangle (while VisibleInLegend), or, in the plot's select mode
    // with markers visible, on the box of a showing marker of the last drawn range: the first
    // such point becomes SelectedPointIndex (-1 after a miss).
    bool iMouseHitTest(const TPlotMouseData& data) override;
    // A left press on a marker box remembers it; the release inside that same box reports a
    // data-point click to the plot, a release inside the legend rectangle an object click.
    void DoMouseLeft(const TPlotMouseData& data) override;
    void DoMouseUp(const TPlotMouseData& data) override;
    TPlotCursor GetMousePointer(int x, int y) override;
    // A channel stays selected with a legend, and with a data cursor that reads it.
    void NotificationSetFocus(TPlotObject& obj) override;
    int GetSelectedPointIndex() const { return selectedPointIndex_; }
    // The channel's row in the legend, written by the legend when it lays out; not a change of
    // the channel's own.
    const TPlotRect& GetLegendRect() const { return legendRect_; }
    void SetLegendRect(const TPlotRect& rect) { legendRect_ = rect; }

    // ---- Data cursor reading (written by TPlotChannel's reading, PlotChannelCursor.cpp) ----
    double GetCursorValueX() const { return cursorReading_.X; }
    double GetCursorValueY() const { return cursorReading_.Y; }
    TPlotDataPointStatus GetCursorValueStatus() const { return cursorReading_.Status; }
    const std::string& GetCursorValueXText() const { return cursorReading_.XText; }
    const std::string& GetCursorValueYText() const { return cursorReading_.YText; }

    // ---- Files and logging ----------------------------------------------------------------

    // One line per point that is not Empty, oldest first: X, the plot's data separator, then Y
    // or "Null"; CR LF after each line. Numbers are written in the shortest decimal form that
    // reads back to the same double ("0.1", "1e+300", "-inf").
    void SaveDataToFile(const std::string& fileName);
    // Ends logging, reads and checks the whole file, then (after Clear when `clearFirst`)
    // appends its points with AddXY. The separator is a tab when the first line holds one, else
    // a comma; each line splits at its first separator; a line whose first field is empty is
    // skipped; a second field "Null" (any case) adds (X, 0) marked Null. A field that is not a
    // number fails before anything changes.
    void LoadDataFromFile(const std::string& fileName, bool clearFirst);

    // A text file "File Type = Plot Channel Config" with the channel's published properties
    // under [Channel]. Loading refuses another file type with "Incompatible Plot Channel
    // Configuration File Type" and sets nothing unless every property is valid. Errors carry
    // "Error Saving Properties - " or "Error Loading Properties - " before their message.
    // Defined with the property table (plot/config), which these files are written through.
    void SavePropertiesToFile(const std::string& fileName) const;
    void LoadPropertiesFromFile(const std::string& fileName);

    // Creates or empties LogFileName (or appends to it) and starts logging. Fails with "Log File
    // Name not Defined" for a blank name, "Logging Already Active" when logging.
    void LogActivate(bool append);
    // Appends the points added since the last write, one line each (X, separator, Y, CR LF; a
    // line is cut to 255 characters), and restarts the count.
    void WriteLog();
    // Stops logging and writes what is pending. Fails with "Logging not Active".
    void LogDeactivate();

protected:
    TPlotCursorReading& CursorReading() { return cursorReading_; }
    TPlotDataCustomList& Data() { return *data_; }
    const TPlotDataCustomList& Data() const { return *data_; }
    // The standard list when DataStyle is ipdsStandard, else null: hot loops read its points
    // through inline, non-virtual accessors.
    const TPlotDataNullList* StandardData() const { return standardData_; }

    // Tracking of one X value for the entries that bypass AddXY (Null, Empty, high-low points).
    void TrackX(double x);
    void SetDrawRange(int start, int stop) {
        drawStartIndex_ = start;
        drawStopIndex_ = stop;
    }
    void SetDrawStartIndex(int value) { drawStartIndex_ = value; }
    void SetDrawStopIndex(int value) { drawStopIndex_ = value; }

    // Calls fn(index) for every point that is neither Null nor Empty, oldest first.
    template <class Fn>
    void ForEachUsablePoint(int first, int last, Fn fn) const {
        double x, y;
        bool empty, null;
        for (int i = first; i <= last; ++i) {
            data_->GetXYEmptyNull(i, x, y, empty, null);
            if (!empty && !null) fn(i, x, y);
        }
    }
    // The same over the draw range, in index order; nothing without one.
    template <class Fn>
    void ForEachUsablePointInView(Fn fn) const {
        if (drawStartIndex_ < 0 || drawStopIndex_ < 0) return;
        ForEachUsablePoint(std::min(drawStartIndex_, drawStopIndex_), std::max(drawStartIndex_, drawStopIndex_), fn);
    }

    template <class T>
    void SetAttribute(T CurrentPointAttributes::*field, T value) {
        T& stored = data_->GetCurrentPointAttributes().*field;
        if (stored == value) return;
        stored = value;
        TriggerChange();
    }
    template <class T>
    void SetPointValue(void (TPlotDataCustomList::*setter)(int, T), int index, T value) {
        (data_.get()->*setter)(index, value);
        TriggerChange();
    }
    const CurrentPointAttributes& Attributes() const { return data_->GetCurrentPointAttributes(); }

    // The pen of a trace: width 1 is drawn as the thinnest pen, width 0.
    static TPlotPen TracePen(TColor color, TPlotLineStyle style, int32_t width);
    // The marker's vertical pixel for a Y value; channels that place markers elsewhere (on
    // digital levels) override it.
    virtual int MarkerYPixels(const TPlotAxis& yAxis, double y) const;
    // Segments of the trace on their way to the canvas, kept between paints.
    TPlotSegmentBatch& SegmentBatch() { return segmentBatch_; }
    // fn(index, pixel) for each point of the draw range whose marker is showing, in index order,
    // until fn answers false; nothing while more than MarkersTurnOffLimit (when > 0) points are in
    // view. Drawing and hit-testing the markers so always agree on where they are.
    void ForEachShowingMarker(bool reversed, const std::function<bool(int index, TPlotPoint at)>& fn);
    // Runs the drawing steps of one paint while DrawReady; an error raised by any of them is
    // dropped here, so the rest of the plot still paints.
    void DrawContained(const std::function<void(bool reversed)>& steps);

private:
    void ResetRunningStatistics();
    void TrackMarkerExtents();
    // Half the marker's extent in the axis's units.
    double MarkerHalfExtent(TPlotAxis& axis) const;
    double XMarkerHalfExtent();
    double YMarkerHalfExtent();
    double CheckedValue(int index, bool xValue) const;
    // The first showing marker of the last drawn range whose box holds the mouse, -1 if none;
    // `box` receives that marker's box.
    int MarkerAt(const TPlotMouseData& data, TPlotRect& box);
    char DataSeparator() const;

    std::unique_ptr<TPlotDataCustomList> data_;
    const TPlotDataNullList* standardData_ = nullptr;
    TPlotDataStyle dataStyle_ = ipdsStandard;

    std::string titleText_;
    bool visibleInLegend_ = true;
    bool traceVisible_ = true;
    bool markersAllowIndividual_ = false;
    bool markersPenUseChannelColor_ = true;
    bool markersBrushUseChannelColor_ = true;
    int32_t markersTurnOffLimit_ = 0;
    TPlotFont markersFont_ = FontWithColor(clWhite, true);
    bool xAxisTrackingEnabled_ = true;
    bool yAxisTrackingEnabled_ = true;
    std::string logFileName_;
    int32_t logBufferSize_ = 0;
    bool loggingActive_ = false;
    int32_t pendingLogCount_ = 0;

    double runningXMin_ = kNoMinimum;
    double runningXMax_ = kNoMaximum;
    double runningXMean_ = 0;
    double runningYMin_ = kNoMinimum;
    double runningYMax_ = kNoMaximum;
    double runningYMean_ = 0;
    int32_t runningCount_ = 0;
    // Extended precision: a long run of large values would otherwise lose the small ones.
    long double runningXSum_ = 0;
    long double runningYSum_ = 0;

    int drawStartIndex_ = -1;
    int drawStopIndex_ = -1;
    TPlotSegmentBatch segmentBatch_;

    int selectedPointIndex_ = -1;
    TPlotRect selectedMarkerRect_;
    // A left press landed on the marker in selectedMarkerRect_.
    bool pressedOnMarker_ = false;
    TPlotRect legendRect_;
    TPlotCursorReading cursorReading_;

    TPlotObjectReference<TPlotXAxis> xAxis_;
    TPlotObjectReference<TPlotYAxis> yAxis_;
};

// A channel class: how the channel manager makes the channels of its plot.
using TPlotChannelClass = std::unique_ptr<TPlotChannelCustom> (*)(TPlotComponent* owner, TPlotObjectEvents events);

template <class Channel>
std::unique_ptr<TPlotChannelCustom> CreateChannel(TPlotComponent* owner, TPlotObjectEvents events) {
    return std::make_unique<Channel>(owner, std::move(events));
}

}  // namespace ondrix
