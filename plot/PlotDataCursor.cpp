#include "plot/PlotDataCursor.h"

#include <algorithm>
#include <utility>

#include "plot/PlotChannelCustom.h"
#include "plot/PlotComponent.h"
#include "plot/PlotDataView.h"

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

void TPlotDataCursor::SetChannelAllowAll(bool value) { Store(channelAllowAll_, value); }
void TPlotDataCursor::SetChannelShowAllInLegend(bool value) { Store(channelShowAllInLegend_, value); }

void TPlotDataCursor::SetStyle(TPlotDataCursorStyle value) { Store(style_, value); }
void TPlotDataCursor::SetColor(TColor value) { Store(color_, value); }
void TPlotDataCursor::SetUseChannelColor(bool value) { Store(useChannelColor_, value); }
void TPlotDataCursor::SetPointerPenWidth(int32_t value) { Store(pointerPenWidth_, std::max(value, 0)); }

void TPlotDataCursor::SetHintShow(bool value) { Store(hintShow_, value); }
void TPlotDataCursor::SetHintHideOnRelease(bool value) { Store(hintHideOnRelease_, value); }
void TPlotDataCursor::SetHintOrientationSide(TOrientationSide value) { Store(hintOrientationSide_, value); }
void TPlotDataCursor::SetHintPosition(double value) { Store(hintPosition_, ClampPercent(value)); }

void TPlotDataCursor::SetPointer1Position(double value) { Store(pointer1Position_, ClampPercent(value)); }
void TPlotDataCursor::SetPointer2Position(double value) { Store(pointer2Position_, ClampPercent(value)); }

void TPlotDataCursor::SetMenuItemCaptionValueXY(const std::string& value) { Store(menuItemCaptionValueXY_, value); }
void TPlotDataCursor::SetMenuItemCaptionValueX(const std::string& value) { Store(menuItemCaptionValueX_, value); }
void TPlotDataCursor::SetMenuItemCaptionValueY(const std::string& value) { Store(menuItemCaptionValueY_, value); }
void TPlotDataCursor::SetMenuItemCaptionDeltaX(const std::string& value) { Store(menuItemCaptionDeltaX_, value); }
void TPlotDataCursor::SetMenuItemCaptionDeltaY(const std::string& value) { Store(menuItemCaptionDeltaY_, value); }
void TPlotDataCursor::SetMenuItemCaptionInverseDeltaX(const std::string& value) {
    Store(menuItemCaptionInverseDeltaX_, value);
}

void TPlotDataCursor::NotificationRemove(TPlotObject& obj) {
    channel_.NotificationRemove(obj);
    if (&obj == dataView_) dataView_ = nullptr;
}

void TPlotDataCursor::NotificationRename(TPlotObject& obj) { channel_.NotificationRename(obj); }

}  // namespace ondrix
