// The mouse on the data view: dragging the axes, the zoom box, and the wheel.

#include <cstdlib>

#include "plot/component/PlotComponent.h"
#include "plot/views/PlotDataView.h"

namespace ondrix {

namespace {

// A Shift-drag on both kinds of axes keeps to one kind once it has gone this far along it, so
// a hand that wobbles a little does not move the other.
constexpr int kAxisLockDistance = 3;

}  // namespace

template <class Call>
void TPlotDataView::ForEachAxis(bool xAxes, bool yAxes, Call call) {
    TPlotComponent& plot = *GetOwner();
    if (xAxes)
        for (int i = 0; i < plot.XAxisCount(); ++i) call(*plot.GetXAxis(i));
    if (yAxes)
        for (int i = 0; i < plot.YAxisCount(); ++i) call(*plot.GetYAxis(i));
}

// A single-kind style moves its own kind of axes, or the other kind with Shift; ipacsBoth
// moves both.
void TPlotDataView::StyleAxes(TPlotAxesControlStyle style, TShiftState shift, bool& xAxes, bool& yAxes) {
    const bool shiftDown = (shift & ssShift) != 0;
    xAxes = style != ipacsYAxis ? style == ipacsBoth || !shiftDown : shiftDown;
    yAxes = style != ipacsXAxis ? style == ipacsBoth || !shiftDown : shiftDown;
}

void TPlotDataView::DoMouseLeft(const TPlotMouseData& data) {
    axisLockDecided_ = false;
    dragStart_ = {data.X, data.Y};
    switch (GetMode()) {
        case ipdvmZoomBox:
            GetOwner()->DisableAllTracking();
            SetZoomBox({data.X, data.Y, data.X, data.Y});
            break;
        case ipdvmScrollZoom: ForEachAxis(true, true, [&data](TPlotAxis& axis) { axis.DoMouseLeft(data); }); break;
        case ipdvmSelect:
        case ipdvmNone: break;
    }
}

void TPlotDataView::DoMouseMove(const TPlotMouseData& data) {
    if (!GetPressed()) return;
    switch (GetMode()) {
        case ipdvmZoomBox:
            if (!data.DblClick) SetZoomBox({dragStart_.X, dragStart_.Y, data.X, data.Y});
            break;
        case ipdvmScrollZoom: {
            if (axesControlMouseStyle_ == ipacsBoth && !axisLockDecided_ && (data.Shift & ssShift) != 0) {
                if (std::abs(data.X - dragStart_.X) > kAxisLockDistance) {
                    axisLockDecided_ = true;
                    axisLockX_ = true;
                }
                if (std::abs(data.Y - dragStart_.Y) > kAxisLockDistance) {
                    axisLockDecided_ = true;
                    axisLockX_ = false;
                }
            }
            bool xAxes, yAxes;
            StyleAxes(axesControlMouseStyle_, data.Shift, xAxes, yAxes);
            // A Shift-drag on both kinds keeps to the kind it decided on.
            if (axesControlMouseStyle_ == ipacsBoth && axisLockDecided_) {
                xAxes = axisLockX_;
                yAxes = !axisLockX_;
            }
            ForEachAxis(xAxes, yAxes, [&data](TPlotAxis& axis) { axis.DoMouseMove(data); });
            break;
        }
        case ipdvmSelect:
        case ipdvmNone: break;
    }
}

void TPlotDataView::DoMouseUp(const TPlotMouseData& data) {
    if (!GetPressed()) return;
    switch (GetMode()) {
        case ipdvmZoomBox:
            // Only a box drawn from its top-left corner toward the bottom-right zooms: dragging
            // back undoes the gesture.
            if (!data.DblClick && dragStart_.X < data.X && dragStart_.Y < data.Y)
                DoZoom({dragStart_.X, dragStart_.Y, data.X, data.Y});
            break;
        case ipdvmScrollZoom: ForEachAxis(true, true, [&data](TPlotAxis& axis) { axis.DoMouseUp(data); }); break;
        case ipdvmSelect:
        case ipdvmNone: break;
    }
    EndZoomBox();
    if (GetDrawRect().Contains(data.X, data.Y)) GetOwner()->DoObjectClick(*this);
    TriggerChange();
}

bool TPlotDataView::iMouseWheel(int delta, TShiftState shift, int x, int y) {
    if (GetMode() != ipdvmScrollZoom) return false;
    bool xAxes, yAxes;
    StyleAxes(axesControlWheelStyle_, shift, xAxes, yAxes);
    ForEachAxis(xAxes, yAxes, [&](TPlotAxis& axis) { axis.iMouseWheel(delta, shift, x, y); });
    return true;
}

TPlotCursor TPlotDataView::GetMousePointer(int, int) {
    switch (GetMode()) {
        case ipdvmZoomBox: return crDrag;
        case ipdvmScrollZoom: return crHandPoint;
        case ipdvmSelect:
        case ipdvmNone: break;
    }
    return crDefault;
}

void TPlotDataView::DoZoom(const TPlotRect& box) {
    TPlotRect zoomRect = box;
    bool cancel = false;
    TPlotComponent& plot = *GetOwner();
    if (plot.OnBeforeZoomBox) plot.OnBeforeZoomBox(zoomRect, cancel);
    if (cancel) return;
    ForEachAxis(true, true, [&zoomRect](TPlotAxis& axis) { axis.ZoomRect(zoomRect); });
}

}  // namespace ondrix
