// The mouse over a channel: what hits it, and the clicks it reports to the plot.

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannel.h"
#include "plot/component/PlotComponent.h"
#include "plot/views/PlotDataCursor.h"
#include "plot/views/PlotLegend.h"

namespace ondrix {

namespace {

// How far, in pixels, the trace may lie from the mouse along the Y axis and still be hit.
constexpr int kTraceHitReach = 10;

}  // namespace

// ---- TPlotChannelCustom ----------------------------------------------------------------------

// Markers are found where the last paint put them: the last drawn range, at the pixels the
// marker drawing computes. Markers turned off for too many points in view are not there to hit.
int TPlotChannelCustom::MarkerAt(const TPlotMouseData& data, TPlotRect& box) {
    if (!GetOwner()->GetSelectModeActive() || !GetMarkersVisible()) return -1;
    const int s = GetMarkersSize();
    int hit = -1;
    ForEachShowingMarker(GetXYAxesReversed(), [&](int index, TPlotPoint at) {
        const TPlotRect marker{at.X - s, at.Y - s, at.X + s, at.Y + s};
        if (!marker.Contains(data.X, data.Y)) return true;
        box = marker;
        hit = index;
        return false;
    });
    return hit;
}

bool TPlotChannelCustom::iMouseHitTest(const TPlotMouseData& data) {
    if (visibleInLegend_ && legendRect_.Contains(data.X, data.Y)) return true;
    selectedPointIndex_ = MarkerAt(data, selectedMarkerRect_);
    return selectedPointIndex_ >= 0;
}

void TPlotChannelCustom::DoMouseLeft(const TPlotMouseData& data) {
    selectedPointIndex_ = MarkerAt(data, selectedMarkerRect_);
    pressedOnMarker_ = selectedPointIndex_ >= 0;
}

// The plot hands a release to the pressed object and to every selected one, so a selected
// channel hears it twice: only the first, which ends the press, reports a click.
void TPlotChannelCustom::DoMouseUp(const TPlotMouseData& data) {
    const bool pressed = GetPressed();
    const bool markerClick = pressed && pressedOnMarker_ && selectedMarkerRect_.Contains(data.X, data.Y);
    pressedOnMarker_ = false;
    if (markerClick) GetOwner()->DoDataPointClick(*this, selectedPointIndex_);
    if (pressed && visibleInLegend_ && legendRect_.Contains(data.X, data.Y)) GetOwner()->DoObjectClick(*this);
}

TPlotCursor TPlotChannelCustom::GetMousePointer(int, int) { return crHandPoint; }

void TPlotChannelCustom::NotificationSetFocus(TPlotObject& obj) {
    if (&obj == this || dynamic_cast<const TPlotLegend*>(&obj) != nullptr) return;
    auto* cursor = dynamic_cast<TPlotDataCursor*>(&obj);
    if (cursor != nullptr && cursor->GetChannel() == this) return;
    SetUserSelected(false);
}

// ---- TPlotChannel ----------------------------------------------------------------------------

bool TPlotChannel::iMouseHitTest(const TPlotMouseData& data) {
    if (TPlotChannelCustom::iMouseHitTest(data)) return true;
    return data.Button == mbRight && TraceHit(data);
}

// The trace's pixel at the mouse's X-axis pixel must lie in the box reaching 10 pixels from the
// mouse, right and bottom edges excluded; with reversed axes the X axis runs vertically.
bool TPlotChannel::TraceHit(const TPlotMouseData& data) {
    TPlotXAxis* xAxis = GetXAxis();
    TPlotYAxis* yAxis = GetYAxis();
    if (xAxis == nullptr || yAxis == nullptr) return false;
    double y;
    if (!GetYInterpolated(xAxis->PixelsToPosition(data.XAxisPixels), y)) return false;
    const TPlotTraceMapper mapper(*xAxis, *yAxis, GetXYAxesReversed());
    const TPlotPoint trace = mapper.Place(data.XAxisPixels, yAxis->PositionToPixels(y));
    const TPlotRect reach{data.X - kTraceHitReach, data.Y - kTraceHitReach, data.X + kTraceHitReach,
                          data.Y + kTraceHitReach};
    return reach.Contains(trace.X, trace.Y);
}

}  // namespace ondrix
