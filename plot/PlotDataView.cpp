#include "plot/PlotDataView.h"

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
