#include "plot/PlotDataCursor.h"

#include <utility>

#include "plot/PlotChannelCustom.h"
#include "plot/PlotComponent.h"
#include "plot/PlotDataView.h"

namespace ondrix {

TPlotDataCursor::TPlotDataCursor(TPlotComponent* owner, TPlotObjectEvents events)
    : TPlotManagerObject(owner, std::move(events)), channel_(&TPlotComponent::GetChannelByName) {
    SetVisible(false);
}

void TPlotDataCursor::SetChannelName(const std::string& value) {
    if (channel_.SetName(value)) TriggerChange();
}

TPlotChannelCustom* TPlotDataCursor::GetChannel() { return channel_.Get(*GetOwner()); }

void TPlotDataCursor::NotificationRemove(TPlotObject& obj) {
    channel_.NotificationRemove(obj);
    if (&obj == dataView_) dataView_ = nullptr;
}

void TPlotDataCursor::NotificationRename(TPlotObject& obj) { channel_.NotificationRename(obj); }

}  // namespace ondrix
