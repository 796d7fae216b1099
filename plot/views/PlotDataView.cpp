#include "plot/views/PlotDataView.h"

#include <algorithm>
#include <utility>

#include "plot/axes/PlotAxis.h"
#include "plot/component/PlotComponent.h"
#include "plot/views/PlotToolBar.h"

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

void TPlotDataView::SetBackgroundTransparent(bool value) { SetField(backgroundTransparent_, value); }
void TPlotDataView::SetBackgroundColor(TColor value) { SetField(backgroundColor_, value); }

void TPlotDataView::SetGridShow(bool value) { SetField(gridShow_, value); }
void TPlotDataView::SetGridLineColor(TColor value) { SetField(gridLineColor_, value); }
void TPlotDataView::SetGridLineShowLeft(bool value) { SetField(gridLineShowLeft_, value); }
void TPlotDataView::SetGridLineShowTop(bool value) { SetField(gridLineShowTop_, value); }
void TPlotDataView::SetGridLineShowRight(bool value) { SetField(gridLineShowRight_, value); }
void TPlotDataView::SetGridLineShowBottom(bool value) { SetField(gridLineShowBottom_, value); }
void TPlotDataView::SetGridLineShowXMajors(bool value) { SetField(gridLineShowXMajors_, value); }
void TPlotDataView::SetGridLineShowXMinors(bool value) { SetField(gridLineShowXMinors_, value); }
void TPlotDataView::SetGridLineShowYMajors(bool value) { SetField(gridLineShowYMajors_, value); }
void TPlotDataView::SetGridLineShowYMinors(bool value) { SetField(gridLineShowYMinors_, value); }
void TPlotDataView::SetGridLineMajorStyle(TPlotGridLineStyle value) { SetField(gridLineMajorStyle_, value); }
void TPlotDataView::SetGridLineMinorStyle(TPlotGridLineStyle value) { SetField(gridLineMinorStyle_, value); }
void TPlotDataView::SetGridLineXMajorCustom(bool value) { SetField(gridLineXMajorCustom_, value); }
void TPlotDataView::SetGridLineXMinorCustom(bool value) { SetField(gridLineXMinorCustom_, value); }
void TPlotDataView::SetGridLineYMajorCustom(bool value) { SetField(gridLineYMajorCustom_, value); }
void TPlotDataView::SetGridLineYMinorCustom(bool value) { SetField(gridLineYMinorCustom_, value); }
void TPlotDataView::SetGridLineXMajorColor(TColor value) { SetField(gridLineXMajor_.Color, value); }
void TPlotDataView::SetGridLineXMinorColor(TColor value) { SetField(gridLineXMinor_.Color, value); }
void TPlotDataView::SetGridLineYMajorColor(TColor value) { SetField(gridLineYMajor_.Color, value); }
void TPlotDataView::SetGridLineYMinorColor(TColor value) { SetField(gridLineYMinor_.Color, value); }
void TPlotDataView::SetGridLineXMajorStyle(TPlotGridLineStyle value) { SetField(gridLineXMajor_.Style, value); }
void TPlotDataView::SetGridLineXMinorStyle(TPlotGridLineStyle value) { SetField(gridLineXMinor_.Style, value); }
void TPlotDataView::SetGridLineYMajorStyle(TPlotGridLineStyle value) { SetField(gridLineYMajor_.Style, value); }
void TPlotDataView::SetGridLineYMinorStyle(TPlotGridLineStyle value) { SetField(gridLineYMinor_.Style, value); }
void TPlotDataView::SetGridLineXMajorWidth(int32_t value) { SetField(gridLineXMajor_.Width, std::max(value, 0)); }
void TPlotDataView::SetGridLineXMinorWidth(int32_t value) { SetField(gridLineXMinor_.Width, std::max(value, 0)); }
void TPlotDataView::SetGridLineYMajorWidth(int32_t value) { SetField(gridLineYMajor_.Width, std::max(value, 0)); }
void TPlotDataView::SetGridLineYMinorWidth(int32_t value) { SetField(gridLineYMinor_.Width, std::max(value, 0)); }

void TPlotDataView::SetAxesControlMouseStyle(TPlotAxesControlStyle value) { SetField(axesControlMouseStyle_, value); }
void TPlotDataView::SetAxesControlWheelStyle(TPlotAxesControlStyle value) { SetField(axesControlWheelStyle_, value); }

TPlotDataViewMode TPlotDataView::GetMode() const {
    const TPlotToolBar& toolBar = *GetOwner()->GetToolBar(0);
    if (toolBar.GetSelectActive()) return ipdvmSelect;
    if (toolBar.GetZoomBoxActive()) return ipdvmZoomBox;
    if (axesControlEnabled_) return ipdvmScrollZoom;
    return ipdvmNone;
}

void TPlotDataView::SetZoomBox(const TPlotRect& corners) {
    if (zoomBoxActive_ && zoomBox_ == corners) return;
    zoomBoxActive_ = true;
    zoomBox_ = corners;
    TriggerChange();
}

void TPlotDataView::EndZoomBox() { SetField(zoomBoxActive_, false); }

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

}  // namespace ondrix
