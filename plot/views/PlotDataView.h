#pragma once
// plot/views holds the objects drawn around and over the data: the data view, data cursor,
// labels, legend, toolbar and the extras (limits, tables, annotations).
//
// The data view, the rectangle the channels are drawn in. The layout gives it its DrawRect, which
// spans the axes' scales. It fills its background, draws the grid (the tick lines of the axes it
// follows, then a frame on its edges), the selection frame and the zoom box, and converts between
// pixels and positions in percent of its extent. Drags on it move the axes, draw a zoom box or
// do nothing, by the mode the plot's toolbar sets.
//
// Grid axes are bound by name and cached like a channel's axes; the name "<All>" (any letter
// case) stands for every axis of that kind.
//
// Pixel extent: the frame lies on Left..Right and Top..Bottom, both ends included, so the bottom
// edge sets the bottom-right corner pixel and the selection's focus rectangle is one pixel larger
// to the right and bottom than DrawRect.
//
// Threads: GUI thread only.

#include <cstdint>
#include <string>

#include "plot/axes/PlotAxis.h"
#include "plot/core/PlotCanvas.h"
#include "plot/objects/PlotObjectReference.h"
#include "plot/objects/PlotObjects.h"

namespace ondrix {

class TCanvas;

// Which axes a drag or the wheel on the data view moves (Shift swaps X and Y for the single
// kinds).
enum TPlotAxesControlStyle : uint8_t { ipacsXAxis, ipacsYAxis, ipacsBoth };
inline constexpr auto kPlotAxesControlStyleNames = EnumValueNames<ipacsBoth>({"ipacsXAxis", "ipacsYAxis", "ipacsBoth"});

// What a press on the data view starts.
enum TPlotDataViewMode : uint8_t { ipdvmNone, ipdvmZoomBox, ipdvmSelect, ipdvmScrollZoom };

// Colour, pen width (0 is one pixel) and style of one kind of grid line.
struct TPlotGridLinePen {
    TColor Color = clGreen;
    int32_t Width = 0;
    TPlotGridLineStyle Style = ipglsSolid;
};

class TPlotDataView : public TPlotLayoutObject {
public:
    TPlotDataView(TPlotComponent* owner, TPlotObjectEvents events);

    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& value);

    const std::string& GetGridXAxisName() const { return gridXAxis_.Name(); }
    void SetGridXAxisName(const std::string& value);
    const std::string& GetGridYAxisName() const { return gridYAxis_.Name(); }
    void SetGridYAxisName(const std::string& value);
    // The axis the grid follows, or null when no axis of that kind bears the name.
    TPlotXAxis* GetGridXAxis();
    TPlotYAxis* GetGridYAxis();

    // ---- Background ----
    // Transparent leaves the component's background visible.
    bool GetBackgroundTransparent() const { return backgroundTransparent_; }
    void SetBackgroundTransparent(bool value);
    TColor GetBackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(TColor value);

    // ---- Grid lines ----
    // Off hides the tick lines and the frame.
    bool GetGridShow() const { return gridShow_; }
    void SetGridShow(bool value);
    // The common colour of the grid lines and of the frame.
    TColor GetGridLineColor() const { return gridLineColor_; }
    void SetGridLineColor(TColor value);
    // The frame's edges.
    bool GetGridLineShowLeft() const { return gridLineShowLeft_; }
    void SetGridLineShowLeft(bool value);
    bool GetGridLineShowTop() const { return gridLineShowTop_; }
    void SetGridLineShowTop(bool value);
    bool GetGridLineShowRight() const { return gridLineShowRight_; }
    void SetGridLineShowRight(bool value);
    bool GetGridLineShowBottom() const { return gridLineShowBottom_; }
    void SetGridLineShowBottom(bool value);
    // Which tick lines are drawn.
    bool GetGridLineShowXMajors() const { return gridLineShowXMajors_; }
    void SetGridLineShowXMajors(bool value);
    bool GetGridLineShowXMinors() const { return gridLineShowXMinors_; }
    void SetGridLineShowXMinors(bool value);
    bool GetGridLineShowYMajors() const { return gridLineShowYMajors_; }
    void SetGridLineShowYMajors(bool value);
    bool GetGridLineShowYMinors() const { return gridLineShowYMinors_; }
    void SetGridLineShowYMinors(bool value);
    // The common styles, drawn in GridLineColor one pixel wide.
    TPlotGridLineStyle GetGridLineMajorStyle() const { return gridLineMajorStyle_; }
    void SetGridLineMajorStyle(TPlotGridLineStyle value);
    TPlotGridLineStyle GetGridLineMinorStyle() const { return gridLineMinorStyle_; }
    void SetGridLineMinorStyle(TPlotGridLineStyle value);
    // A kind of line marked custom uses its own colour, width and style instead of the common ones.
    bool GetGridLineXMajorCustom() const { return gridLineXMajorCustom_; }
    void SetGridLineXMajorCustom(bool value);
    bool GetGridLineXMinorCustom() const { return gridLineXMinorCustom_; }
    void SetGridLineXMinorCustom(bool value);
    bool GetGridLineYMajorCustom() const { return gridLineYMajorCustom_; }
    void SetGridLineYMajorCustom(bool value);
    bool GetGridLineYMinorCustom() const { return gridLineYMinorCustom_; }
    void SetGridLineYMinorCustom(bool value);
    TColor GetGridLineXMajorColor() const { return gridLineXMajor_.Color; }
    void SetGridLineXMajorColor(TColor value);
    TColor GetGridLineXMinorColor() const { return gridLineXMinor_.Color; }
    void SetGridLineXMinorColor(TColor value);
    TColor GetGridLineYMajorColor() const { return gridLineYMajor_.Color; }
    void SetGridLineYMajorColor(TColor value);
    TColor GetGridLineYMinorColor() const { return gridLineYMinor_.Color; }
    void SetGridLineYMinorColor(TColor value);
    TPlotGridLineStyle GetGridLineXMajorStyle() const { return gridLineXMajor_.Style; }
    void SetGridLineXMajorStyle(TPlotGridLineStyle value);
    TPlotGridLineStyle GetGridLineXMinorStyle() const { return gridLineXMinor_.Style; }
    void SetGridLineXMinorStyle(TPlotGridLineStyle value);
    TPlotGridLineStyle GetGridLineYMajorStyle() const { return gridLineYMajor_.Style; }
    void SetGridLineYMajorStyle(TPlotGridLineStyle value);
    TPlotGridLineStyle GetGridLineYMinorStyle() const { return gridLineYMinor_.Style; }
    void SetGridLineYMinorStyle(TPlotGridLineStyle value);
    // Pen widths of the lines that use their own attributes; 0 is a one-pixel line.
    int32_t GetGridLineXMajorWidth() const { return gridLineXMajor_.Width; }
    void SetGridLineXMajorWidth(int32_t value);
    int32_t GetGridLineXMinorWidth() const { return gridLineXMinor_.Width; }
    void SetGridLineXMinorWidth(int32_t value);
    int32_t GetGridLineYMajorWidth() const { return gridLineYMajor_.Width; }
    void SetGridLineYMajorWidth(int32_t value);
    int32_t GetGridLineYMinorWidth() const { return gridLineYMinor_.Width; }
    void SetGridLineYMinorWidth(int32_t value);

    // ---- Axis control ----
    // Drags and the wheel on the data view act on the axes. The mode is read at every mouse
    // event and changes nothing on screen, so setting it reports no change.
    bool GetAxesControlEnabled() const { return axesControlEnabled_; }
    void SetAxesControlEnabled(bool value) { axesControlEnabled_ = value; }
    TPlotAxesControlStyle GetAxesControlMouseStyle() const { return axesControlMouseStyle_; }
    void SetAxesControlMouseStyle(TPlotAxesControlStyle value);
    TPlotAxesControlStyle GetAxesControlWheelStyle() const { return axesControlWheelStyle_; }
    void SetAxesControlWheelStyle(TPlotAxesControlStyle value);

    // ---- Mode and zoom box ----
    // Toolbar 0's Select button wins over everything, then its Zoom Box button, then axis
    // control. Throws EPlotError
    // "List index out of bounds (0)" when the plot has no toolbar.
    TPlotDataViewMode GetMode() const;
    // The box being dragged, from the press point (Left, Top) to the pointer (Right, Bottom), in
    // any direction. Set and ended by the mouse handling.
    bool GetZoomBoxActive() const { return zoomBoxActive_; }
    const TPlotRect& GetZoomBox() const { return zoomBox_; }
    void SetZoomBox(const TPlotRect& corners);
    void EndZoomBox();

    // ---- Input (PlotDataViewInput.cpp) ----
    // A left press starts a gesture by the mode at that moment: a zoom box, a drag of the axes,
    // or nothing. The wheel moves the axes in scroll/zoom mode only.
    void DoMouseLeft(const TPlotMouseData& data) override;
    void DoMouseMove(const TPlotMouseData& data) override;
    void DoMouseUp(const TPlotMouseData& data) override;
    bool iMouseWheel(int delta, TShiftState shift, int x, int y) override;
    TPlotCursor GetMousePointer(int x, int y) override;
    // Every axis takes the box, in client pixels, as its new range, unless the plot's
    // OnBeforeZoomBox cancels; the host may also change the box there.
    void DoZoom(const TPlotRect& box);

    // ---- Percent positions ----
    // 0 % is the left (bottom) edge, 100 % the right (top) edge. Pixels round to nearest with
    // ties to even. A view of no width (height) maps every pixel to 0 % rather than dividing by
    // zero; a NaN percent counts as 0 %, and pixels beyond the int32 range stop at its ends.
    double PixelsXToPositionPercent(int x) const;
    double PixelsYToPositionPercent(int y) const;
    int32_t PositionPercentToPixelsX(double percent) const;
    int32_t PositionPercentToPixelsY(double percent) const;

    // ---- Drawing ----
    // Before the layers: fills DrawRect with BackgroundColor unless transparent.
    void DrawBackground(TCanvas& canvas) const;
    // In the layer pass, clipped to the view: the grid, then the selection's focus rectangle in
    // place of the frame, then the zoom box in zoom-box mode. `background` is the component's.
    void Draw(TCanvas& canvas, TColor background);
    // The dotted, pixel-inverting box over the zoom box's corners; drawing it again erases it.
    void DrawZoomBox(TCanvas& canvas) const;

    void NotificationRemove(TPlotObject& obj) override;
    void NotificationRename(TPlotObject& obj) override;

private:
    void DrawGrid(TCanvas& canvas, TColor background);
    // The pens of one direction's lines: their own when custom, else the common colour and style.
    TPlotGridLinePen GridPen(bool custom, const TPlotGridLinePen& own, TPlotGridLineStyle common) const;
    void DrawFrame(TCanvas& canvas, bool left, bool top, bool right, bool bottom) const;

    std::string title_;
    TPlotObjectReference<TPlotXAxis> gridXAxis_;
    TPlotObjectReference<TPlotYAxis> gridYAxis_;

    bool backgroundTransparent_ = true;
    TColor backgroundColor_ = clTeal;

    bool gridShow_ = true;
    TColor gridLineColor_ = clGreen;
    bool gridLineShowLeft_ = true;
    bool gridLineShowTop_ = true;
    bool gridLineShowRight_ = true;
    bool gridLineShowBottom_ = true;
    bool gridLineShowXMajors_ = true;
    bool gridLineShowXMinors_ = false;
    bool gridLineShowYMajors_ = true;
    bool gridLineShowYMinors_ = false;
    TPlotGridLineStyle gridLineMajorStyle_ = ipglsSolid;
    TPlotGridLineStyle gridLineMinorStyle_ = ipglsSolid;
    bool gridLineXMajorCustom_ = false;
    bool gridLineXMinorCustom_ = false;
    bool gridLineYMajorCustom_ = false;
    bool gridLineYMinorCustom_ = false;
    TPlotGridLinePen gridLineXMajor_;
    TPlotGridLinePen gridLineXMinor_;
    TPlotGridLinePen gridLineYMajor_;
    TPlotGridLinePen gridLineYMinor_;

    static void StyleAxes(TPlotAxesControlStyle style, TShiftState shift, bool& xAxes, bool& yAxes);
    template <class Call>
    void ForEachAxis(bool xAxes, bool yAxes, Call call);

    bool zoomBoxActive_ = false;
    TPlotRect zoomBox_;
    // The press point of a drag, and whether Shift has restricted it to one kind of axis.
    TPlotPoint dragStart_;
    bool axisLockDecided_ = false;
    bool axisLockX_ = false;

    bool axesControlEnabled_ = false;
    TPlotAxesControlStyle axesControlMouseStyle_ = ipacsBoth;
    TPlotAxesControlStyle axesControlWheelStyle_ = ipacsXAxis;
};

}  // namespace ondrix
