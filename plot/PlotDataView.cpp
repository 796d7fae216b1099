#include "plot/PlotDataView.h"

#include <algorithm>
#include <utility>

#include "plot/PlotAxis.h"
#include "plot/PlotComponent.h"

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

void TPlotDataView::SetGridLineColor(TColor value) { Store(gridLineColor_, value); }
void TPlotDataView::SetGridLineXMajorWidth(int32_t value) { Store(gridLineXMajorWidth_, std::max(value, 0)); }
void TPlotDataView::SetGridLineXMinorWidth(int32_t value) { Store(gridLineXMinorWidth_, std::max(value, 0)); }
void TPlotDataView::SetGridLineYMajorWidth(int32_t value) { Store(gridLineYMajorWidth_, std::max(value, 0)); }
void TPlotDataView::SetGridLineYMinorWidth(int32_t value) { Store(gridLineYMinorWidth_, std::max(value, 0)); }

void TPlotDataView::SetAxesControlMouseStyle(TPlotAxesControlStyle value) { Store(axesControlMouseStyle_, value); }
void TPlotDataView::SetAxesControlWheelStyle(TPlotAxesControlStyle value) { Store(axesControlWheelStyle_, value); }

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
