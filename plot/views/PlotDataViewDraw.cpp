// The data view's drawing and its percent positions.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "plot/axes/PlotAxis.h"
#include "plot/component/PlotComponent.h"
#include "plot/core/PlotCanvas.h"
#include "plot/views/PlotDataView.h"

namespace ondrix {

namespace {

constexpr const char* kAllAxes = "<All>";

// Every axis of the kind for "<All>", in manager order and hidden ones too; else the named axis,
// looked up again at every paint until one bears the name.
template <class Axis>
void DrawAxesTickLines(TCanvas& canvas, const TPlotComponent& plot, TPlotObjectReference<Axis>& reference,
                       int axisCount, Axis* (TPlotComponent::*axisAt)(int) const, const TPlotRect& rect,
                       bool showMajors, bool showMinors, const TPlotGridLinePen& major, const TPlotGridLinePen& minor) {
    const auto draw = [&](TPlotAxis& axis) {
        axis.DrawGridLines(canvas, rect, showMajors, showMinors, major.Style, minor.Style, major.Color, minor.Color,
                           major.Width, minor.Width);
    };
    if (SameText(reference.Name(), kAllAxes)) {
        for (int i = 0; i < axisCount; ++i) draw(*(plot.*axisAt)(i));
    } else if (Axis* axis = reference.Get(plot)) {
        draw(*axis);
    }
}

int32_t RoundToPixel(double pixel) {
    const double rounded = std::nearbyint(pixel);  // the default rounding mode: ties to even
    constexpr double kLowest = std::numeric_limits<int32_t>::min();
    constexpr double kHighest = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(rounded, kLowest, kHighest));
}

double PercentOrZero(double percent) { return std::isnan(percent) ? 0 : percent; }

}  // namespace

// ---- Percent positions ----------------------------------------------------------------------

double TPlotDataView::PixelsXToPositionPercent(int x) const {
    const TPlotRect& r = GetDrawRect();
    const double width = static_cast<double>(r.Right) - r.Left;
    if (width == 0) return 0;
    return (x - static_cast<double>(r.Left)) / width * 100;
}

double TPlotDataView::PixelsYToPositionPercent(int y) const {
    const TPlotRect& r = GetDrawRect();
    const double height = static_cast<double>(r.Bottom) - r.Top;
    if (height == 0) return 0;
    return (1 - (y - static_cast<double>(r.Top)) / height) * 100;
}

int32_t TPlotDataView::PositionPercentToPixelsX(double percent) const {
    const TPlotRect& r = GetDrawRect();
    const double width = static_cast<double>(r.Right) - r.Left;
    return RoundToPixel(width * PercentOrZero(percent) / 100 + r.Left);
}

int32_t TPlotDataView::PositionPercentToPixelsY(double percent) const {
    const TPlotRect& r = GetDrawRect();
    const double height = static_cast<double>(r.Bottom) - r.Top;
    return RoundToPixel(height * (100 - PercentOrZero(percent)) / 100 + r.Top);
}

// ---- Drawing --------------------------------------------------------------------------------

void TPlotDataView::DrawBackground(TCanvas& canvas) const {
    if (backgroundTransparent_) return;
    canvas.SetBrush(TPlotBrush{backgroundColor_, bsSolid});
    canvas.FillRect(GetDrawRect());
}

void TPlotDataView::Draw(TCanvas& canvas, TColor background) {
    DrawGrid(canvas, background);
    if (GetUserSelected()) {
        // The focus rectangle inverts pixels: over the frame's colour it would not read as a
        // selection, so the frame is erased first.
        canvas.SetPen(TPlotPen{background, 0, psSolid});
        canvas.SetBrush(TPlotBrush{background, bsClear});
        DrawFrame(canvas, true, true, true, true);
        const TPlotRect& r = GetDrawRect();
        canvas.DrawFocusRect(TPlotRect{r.Left, r.Top, r.Right + 1, r.Bottom + 1});
    }
    if (zoomBoxActive_ && GetMode() == ipdvmZoomBox) DrawZoomBox(canvas);
}

void TPlotDataView::DrawZoomBox(TCanvas& canvas) const {
    if (!zoomBoxActive_) return;
    canvas.DrawFocusRect(TPlotRect{std::min(zoomBox_.Left, zoomBox_.Right), std::min(zoomBox_.Top, zoomBox_.Bottom),
                                   std::max(zoomBox_.Left, zoomBox_.Right), std::max(zoomBox_.Top, zoomBox_.Bottom)});
}

TPlotGridLinePen TPlotDataView::GridPen(bool custom, const TPlotGridLinePen& own, TPlotGridLineStyle common) const {
    return custom ? own : TPlotGridLinePen{gridLineColor_, 0, common};
}

void TPlotDataView::DrawGrid(TCanvas& canvas, TColor background) {
    if (!gridShow_) return;
    canvas.SetBrush(TPlotBrush{background, bsSolid});
    const TPlotComponent& plot = *GetOwner();
    const TPlotRect& rect = GetDrawRect();

    DrawAxesTickLines(canvas, plot, gridXAxis_, plot.XAxisCount(), &TPlotComponent::GetXAxis, rect,
                      gridLineShowXMajors_, gridLineShowXMinors_,
                      GridPen(gridLineXMajorCustom_, gridLineXMajor_, gridLineMajorStyle_),
                      GridPen(gridLineXMinorCustom_, gridLineXMinor_, gridLineMinorStyle_));
    DrawAxesTickLines(canvas, plot, gridYAxis_, plot.YAxisCount(), &TPlotComponent::GetYAxis, rect,
                      gridLineShowYMajors_, gridLineShowYMinors_,
                      GridPen(gridLineYMajorCustom_, gridLineYMajor_, gridLineMajorStyle_),
                      GridPen(gridLineYMinorCustom_, gridLineYMinor_, gridLineMinorStyle_));

    canvas.SetPen(TPlotPen{gridLineColor_, 0, psSolid});
    DrawFrame(canvas, gridLineShowLeft_, gridLineShowTop_, gridLineShowRight_, gridLineShowBottom_);
}

void TPlotDataView::DrawFrame(TCanvas& canvas, bool left, bool top, bool right, bool bottom) const {
    const TPlotRect& r = GetDrawRect();
    if (left) canvas.Line({r.Left, r.Top}, {r.Left, r.Bottom});
    if (right) canvas.Line({r.Right, r.Top}, {r.Right, r.Bottom});
    if (top) canvas.Line({r.Left, r.Top}, {r.Right, r.Top});
    // One past Right, so that the bottom-right corner pixel is set too.
    if (bottom) canvas.Line({r.Left, r.Bottom}, {r.Right + 1, r.Bottom});
}

}  // namespace ondrix
