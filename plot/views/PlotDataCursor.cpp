#include "plot/views/PlotDataCursor.h"

#include <algorithm>
#include <utility>

#include "plot/channels/PlotChannelCustom.h"
#include "plot/component/PlotComponent.h"
#include "plot/views/PlotDataView.h"

namespace ondrix {

namespace {

double ClampPercent(double value) { return value >= 0 ? std::min(value, 100.0) : 0; }

}  // namespace

TPlotDataCursor::TPlotDataCursor(TPlotComponent* owner, TPlotObjectEvents events)
    : TPlotManagerObject(owner, std::move(events)), channel_(&TPlotComponent::GetChannelByName) {
    SetVisible(false);
}

void TPlotDataCursor::SetChannelName(const std::string& value) {
    if (channel_.SetName(value)) TriggerChange();
}

TPlotChannelCustom* TPlotDataCursor::GetChannel() { return channel_.Get(*GetOwner()); }

void TPlotDataCursor::SetChannelAllowAll(bool value) { SetField(channelAllowAll_, value); }
void TPlotDataCursor::SetChannelShowAllInLegend(bool value) { SetField(channelShowAllInLegend_, value); }

void TPlotDataCursor::SetStyle(TPlotDataCursorStyle value) { SetField(style_, value); }
void TPlotDataCursor::SetColor(TColor value) { SetField(color_, value); }
void TPlotDataCursor::SetUseChannelColor(bool value) { SetField(useChannelColor_, value); }
void TPlotDataCursor::SetPointerPenWidth(int32_t value) { SetField(pointerPenWidth_, std::max(value, 0)); }

void TPlotDataCursor::SetHintShow(bool value) { SetField(hintShow_, value); }
void TPlotDataCursor::SetHintHideOnRelease(bool value) { SetField(hintHideOnRelease_, value); }
void TPlotDataCursor::SetHintOrientationSide(TOrientationSide value) { SetField(hintOrientationSide_, value); }
void TPlotDataCursor::SetHintPosition(double value) { SetField(hintPosition_, ClampPercent(value)); }

void TPlotDataCursor::SetPointer1Position(double value) { SetField(pointer1Position_, ClampPercent(value)); }
void TPlotDataCursor::SetPointer2Position(double value) { SetField(pointer2Position_, ClampPercent(value)); }

void TPlotDataCursor::SetMenuItemCaptionValueXY(const std::string& value) { SetField(menuItemCaptionValueXY_, value); }
void TPlotDataCursor::SetMenuItemCaptionValueX(const std::string& value) { SetField(menuItemCaptionValueX_, value); }
void TPlotDataCursor::SetMenuItemCaptionValueY(const std::string& value) { SetField(menuItemCaptionValueY_, value); }
void TPlotDataCursor::SetMenuItemCaptionDeltaX(const std::string& value) { SetField(menuItemCaptionDeltaX_, value); }
void TPlotDataCursor::SetMenuItemCaptionDeltaY(const std::string& value) { SetField(menuItemCaptionDeltaY_, value); }
void TPlotDataCursor::SetMenuItemCaptionInverseDeltaX(const std::string& value) {
    SetField(menuItemCaptionInverseDeltaX_, value);
}

void TPlotDataCursor::NotificationRemove(TPlotObject& obj) {
    channel_.NotificationRemove(obj);
    if (&obj == dataView_) dataView_ = nullptr;
}

void TPlotDataCursor::NotificationRename(TPlotObject& obj) { channel_.NotificationRename(obj); }

}  // namespace ondrix
