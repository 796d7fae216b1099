#include "plot/PlotDataView.h"

#include <algorithm>
#include <utility>

#include "plot/PlotAxis.h"
#include "plot/PlotComponent.h"
#include "plot/PlotToolBar.h"

namespace ondrix {

TPlotDataView::TPlotDataView(TPlotComponent* owner, TPlotObjectEvents events)
    : TPlotLayoutObject(owner, std::move(events)),
      gridXAxis_(&TPlotComponent::GetXAxisByName),
      gridYAxis_(&TPlotComponent::GetYAxisByName) {}

void TPlotDataView::SetTitle(const std::string& value) {
    if (value == title_) return;
    title_ = value;
    TriggerChange();
}

void TPlotDataView::SetGridXAxisName(const std::string& value) {
    if (gridXAxis_.SetName(value)) TriggerChange();
}

void TPlotDataView::SetGridYAxisName(const std::string& value) {
    if (gridYAxis_.SetName(value)) TriggerChange();
}

void TPlotDataView::SetBackgroundTransparent(bool value) { Store(backgroundTransparent_, value); }
void TPlotDataView::SetBackgroundColor(TColor value) { Store(backgroundColor_, value); }

void TPlotDataView::SetGridShow(bool value) { Store(gridShow_, value); }
void TPlotDataView::SetGridLineColor(TColor value) { Store(gridLineColor_, value); }
void TPlotDataView::SetGridLineShowLeft(bool value) { Store(gridLineShowLeft_, value); }
void TPlotDataView::SetGridLineShowTop(bool value) { Store(gridLineShowTop_, value); }
void TPlotDataView::SetGridLineShowRight(bool value) { Store(gridLineShowRight_, value); }
void TPlotDataView::SetGridLineShowBottom(bool value) { Store(gridLineShowBottom_, value); }
void TPlotDataView::SetGridLineShowXMajors(bool value) { Store(gridLineShowXMajors_, value); }
void TPlotDataView::SetGridLineShowXMinors(bool value) { Store(gridLineShowXMinors_, value); }
void TPlotDataView::SetGridLineShowYMajors(bool value) { Store(gridLineShowYMajors_, value); }
void TPlotDataView::SetGridLineShowYMinors(bool value) { Store(gridLineShowYMinors_, value); }
void TPlotDataView::SetGridLineMajorStyle(TPlotGridLineStyle value) { Store(gridLineMajorStyle_, value); }
void TPlotDataView::SetGridLineMinorStyle(TPlotGridLineStyle value) { Store(gridLineMinorStyle_, value); }
void TPlotDataView::SetGridLineXMajorCustom(bool value) { Store(gridLineXMajorCustom_, value); }
void TPlotDataView::SetGridLineXMinorCustom(bool value) { Store(gridLineXMinorCustom_, value); }
void TPlotDataView::SetGridLineYMajorCustom(bool value) { Store(gridLineYMajorCustom_, value); }
void TPlotDataView::SetGridLineYMinorCustom(bool value) { Store(gridLineYMinorCustom_, value); }
void TPlotDataView::SetGridLineXMajorColor(TColor value) { Store(gridLineXMajor_.Color, value); }
void TPlotDataView::SetGridLineXMinorColor(TColor value) { Store(gridLineXMinor_.Color, value); }
void TPlotDataView::SetGridLineYMajorColor(TColor value) { Store(gridLineYMajor_.Color, value); }
void TPlotDataView::SetGridLineYMinorColor(TColor value) { Store(gridLineYMinor_.Color, value); }
void TPlotDataView::SetGridLineXMajorStyle(TPlotGridLineStyle value) { Store(gridLineXMajor_.Style, value); }
void TPlotDataView::SetGridLineXMinorStyle(TPlotGridLineStyle value) { Store(gridLineXMinor_.Style, value); }
void TPlotDataView::SetGridLineYMajorStyle(TPlotGridLineStyle value) { Store(gridLineYMajor_.Style, value); }
void TPlotDataView::SetGridLineYMinorStyle(TPlotGridLineStyle value) { Store(gridLineYMinor_.Style, value); }
void TPlotDataView::SetGridLineXMajorWidth(int32_t value) { Store(gridLineXMajor_.Width, std::max(value, 0)); }
void TPlotDataView::SetGridLineXMinorWidth(int32_t value) { Store(gridLineXMinor_.Width, std::max(value, 0)); }
void TPlotDataView::SetGridLineYMajorWidth(int32_t value) { Store(gridLineYMajor_.Width, std::max(value, 0)); }
void TPlotDataView::SetGridLineYMinorWidth(int32_t value) { Store(gridLineYMinor_.Width, std::max(value, 0)); }

void TPlotDataView::SetAxesControlMouseStyle(TPlotAxesControlStyle value) { Store(axesControlMouseStyle_, value); }
void TPlotDataView::SetAxesControlWheelStyle(TPlotAxesControlStyle value) { Store(axesControlWheelStyle_, value); }

TPlotDataViewMode TPlotDataView::GetMode() const {
    const TPlotToolBar& toolBar = *GetOwner()->GetToolBar(0);
    if (toolBar.GetSelectModeActive()) return ipdvmSelect;
    if (axesControlEnabled_) return ipdvmScrollZoom;
    return ipdvmNone;
}

void TPlotDataView::SetZoomBox(const TPlotRect& corners) {
    if (zoomBoxActive_ && zoomBox_ == corners) return;
    zoomBoxActive_ = true;
    zoomBox_ = corners;
    TriggerChange();
}

void TPlotDataView::EndZoomBox() { Store(zoomBoxActive_, false); }

TPlotXAxis* TPlotDataView::GetGridXAxis() { return gridXAxis_.Get(*GetOwner()); }

TPlotYAxis* TPlotDataView::GetGridYAxis() { return gridYAxis_.Get(*GetOwner()); }

void TPlotDataView::NotificationRemove(TPlotObject& obj) {
    gridXAxis_.NotificationRemove(obj);
    gridYAxis_.NotificationRemove(obj);
}

void TPlotDataView::NotificationRename(TPlotObject& obj) {
    gridXAxis_.NotificationRename(obj);
    gridYAxis_.NotificationRename(obj);
}

void TPlotDataView::NotificationSetFocus(TPlotObject& obj) {
    if (&obj != this && GetUserSelected()) SetUserSelected(false);
}

}  // namespace ondrix
