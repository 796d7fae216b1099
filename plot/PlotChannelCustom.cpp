#include "plot/PlotChannelCustom.h"

#include <utility>

#include "plot/PlotAxis.h"
#include "plot/PlotComponent.h"

namespace ondrix {

TPlotChannelCustom::TPlotChannelCustom(TPlotComponent* owner, TPlotObjectEvents events)
    : TPlotManagerObject(owner, std::move(events)),
      xAxis_(&TPlotComponent::GetXAxisByName),
      yAxis_(&TPlotComponent::GetYAxisByName) {}

void TPlotChannelCustom::SetTitleText(const std::string& value) {
    if (value == titleText_) return;
    titleText_ = value;
    TriggerChange();
}

void TPlotChannelCustom::SetColor(TColor value) {
    if (value == color_) return;
    color_ = value;
    TriggerChange();
}

void TPlotChannelCustom::SetXAxisName(const std::string& value) {
    if (xAxis_.SetName(value)) TriggerChange();
}

void TPlotChannelCustom::SetYAxisName(const std::string& value) {
    if (yAxis_.SetName(value)) TriggerChange();
}

TPlotXAxis* TPlotChannelCustom::GetXAxis() { return xAxis_.Get(*GetOwner()); }

TPlotYAxis* TPlotChannelCustom::GetYAxis() { return yAxis_.Get(*GetOwner()); }

void TPlotChannelCustom::NotificationRemove(TPlotObject& obj) {
    xAxis_.NotificationRemove(obj);
    yAxis_.NotificationRemove(obj);
}

void TPlotChannelCustom::NotificationRename(TPlotObject& obj) {
    xAxis_.NotificationRename(obj);
    yAxis_.NotificationRename(obj);
}

}  // namespace ondrix
