#include "plot/views/PlotDataCursor.h"

#include <algorithm>
#include <utility>

#include "plot/channels/PlotChannel.h"
#include "plot/component/PlotComponent.h"
#include "plot/views/PlotDataView.h"

namespace ondrix {

TPlotDataCursor::TPlotDataCursor(TPlotComponent* owner, TPlotObjectEvents events)
    : TPlotManagerObject(owner, std::move(events)), channel_(&TPlotComponent::GetChannelByName) {
    SetVisible(false);
    DoSetup();
}

double TPlotDataCursor::ClampedPercent(double value) { return value >= 0 ? std::min(value, 100.0) : 0; }

void TPlotDataCursor::SetChannelName(const std::string& value) {
    if (channel_.SetName(value)) TriggerChange();
}

TPlotChannelCustom* TPlotDataCursor::GetChannel() { return channel_.Get(*GetOwner()); }

bool TPlotDataCursor::GetAllChannels() const { return SameText(channel_.Name(), kDataCursorAllChannels); }

void TPlotDataCursor::SetChannelAllowAll(bool value) { SetField(channelAllowAll_, value); }
void TPlotDataCursor::SetChannelShowAllInLegend(bool value) { SetField(channelShowAllInLegend_, value); }

void TPlotDataCursor::SetStyle(TPlotDataCursorStyle value) {
    if (value == style_) return;
    style_ = value;
    DoSetup();
    TriggerChange();
}

void TPlotDataCursor::SetScopeStyle(bool value) {
    if (value == scopeStyle_) return;
    scopeStyle_ = value;
    DoSetup();
    TriggerChange();
}

void TPlotDataCursor::SetColor(TColor value) { SetField(color_, value); }
void TPlotDataCursor::SetUseChannelColor(bool value) { SetField(useChannelColor_, value); }
void TPlotDataCursor::SetPointerPenWidth(int32_t value) { SetField(pointerPenWidth_, std::max(value, 0)); }
void TPlotDataCursor::SetFont(const TPlotFont& value) { SetField(font_, ClampedFont(value)); }

void TPlotDataCursor::SetHintShow(bool value) { SetField(hintShow_, value); }
void TPlotDataCursor::SetHintHideOnRelease(bool value) { SetField(hintHideOnRelease_, value); }
void TPlotDataCursor::SetHintOrientationSide(TOrientationSide value) { SetField(hintOrientationSide_, value); }
void TPlotDataCursor::SetHintPosition(double value) { SetField(hintPosition_, ClampedPercent(value)); }

void TPlotDataCursor::SetPointer1Position(double value) { SetField(pointer1Position_, ClampedPercent(value)); }
void TPlotDataCursor::SetPointer2Position(double value) { SetField(pointer2Position_, ClampedPercent(value)); }

int TPlotDataCursor::GetPointer1Pixels() const {
    if (dataView_ == nullptr) return 0;
    return pointer1Horizontal_ ? dataView_->PositionPercentToPixelsY(pointer1Position_)
                               : dataView_->PositionPercentToPixelsX(pointer1Position_);
}

int TPlotDataCursor::GetPointer2Pixels() const {
    if (dataView_ == nullptr) return 0;
    return pointer2Horizontal_ ? dataView_->PositionPercentToPixelsY(pointer2Position_)
                               : dataView_->PositionPercentToPixelsX(pointer2Position_);
}

void TPlotDataCursor::SetMenuUserCanChangeOptions(bool value) { SetField(menuUserCanChangeOptions_, value); }
void TPlotDataCursor::SetMenuItemVisibleValueXY(bool value) { SetField(menuItemVisibleValueXY_, value); }
void TPlotDataCursor::SetMenuItemVisibleValueX(bool value) { SetField(menuItemVisibleValueX_, value); }
void TPlotDataCursor::SetMenuItemVisibleValueY(bool value) { SetField(menuItemVisibleValueY_, value); }
void TPlotDataCursor::SetMenuItemVisibleDeltaX(bool value) { SetField(menuItemVisibleDeltaX_, value); }
void TPlotDataCursor::SetMenuItemVisibleDeltaY(bool value) { SetField(menuItemVisibleDeltaY_, value); }
void TPlotDataCursor::SetMenuItemVisibleInverseDeltaX(bool value) { SetField(menuItemVisibleInverseDeltaX_, value); }
void TPlotDataCursor::SetMenuItemCaptionValueXY(const std::string& value) { SetField(menuItemCaptionValueXY_, value); }
void TPlotDataCursor::SetMenuItemCaptionValueX(const std::string& value) { SetField(menuItemCaptionValueX_, value); }
void TPlotDataCursor::SetMenuItemCaptionValueY(const std::string& value) { SetField(menuItemCaptionValueY_, value); }
void TPlotDataCursor::SetMenuItemCaptionDeltaX(const std::string& value) { SetField(menuItemCaptionDeltaX_, value); }
void TPlotDataCursor::SetMenuItemCaptionDeltaY(const std::string& value) { SetField(menuItemCaptionDeltaY_, value); }
void TPlotDataCursor::SetMenuItemCaptionInverseDeltaX(const std::string& value) {
    SetField(menuItemCaptionInverseDeltaX_, value);
}

void TPlotDataCursor::DoSetup() {
    pointer1Shown_ = true;
    pointer2Shown_ = false;
    pointer1Horizontal_ = false;
    pointer2Horizontal_ = false;
    hintAlongX_ = false;
    switch (style_) {
        case ipcsValueXY:
        case ipcsValueX:
            break;
        case ipcsValueY:
            if (scopeStyle_) {
                pointer1Shown_ = false;
                pointer2Shown_ = true;
                pointer2Horizontal_ = true;
                hintAlongX_ = true;
            }
            break;
        case ipcsDeltaX:
        case ipcsInverseDeltaX:
            pointer2Shown_ = true;
            break;
        case ipcsDeltaY:
            pointer2Shown_ = true;
            pointer1Horizontal_ = true;
            pointer2Horizontal_ = true;
            hintAlongX_ = true;
            break;
    }
    if (GetXYAxesReversed()) {
        pointer1Horizontal_ = !pointer1Horizontal_;
        pointer2Horizontal_ = !pointer2Horizontal_;
        hintAlongX_ = !hintAlongX_;
    }
}

bool TPlotDataCursor::IsDeltaStyle() const {
    return style_ == ipcsDeltaX || style_ == ipcsDeltaY || style_ == ipcsInverseDeltaX;
}

// Only channels of a TPlot know how to take a reading; the XY plot's have no cursor reading.
void TPlotDataCursor::DoUpdate() {
    TPlotComponent& plot = *GetOwner();
    plot.DoBeforeDataCursorUpdate(*this);
    if (!GetAllChannels()) {
        if (auto* channel = dynamic_cast<TPlotChannel*>(GetChannel())) channel->DataCursorUpate(*this);
        return;
    }
    for (int i = 0; i < plot.ChannelCount(); ++i)
        if (auto* channel = dynamic_cast<TPlotChannel*>(plot.GetChannel(i))) channel->DataCursorUpate(*this);
}

void TPlotDataCursor::SetData(double x, double y, TPlotDataPointStatus status) {
    if (x == valueX_ && y == valueY_ && status == valueStatus_) return;
    valueX_ = x;
    valueY_ = y;
    valueStatus_ = status;
    GetOwner()->DoDataCursorChange(*this);
}

void TPlotDataCursor::SetVisible(bool value) {
    const bool shown = value && !GetVisible();
    TPlotManagerObject::SetVisible(value);
    if (shown) DoUpdate();
}

void TPlotDataCursor::SetXYAxesReversed(bool value) {
    TPlotManagerObject::SetXYAxesReversed(value);
    DoSetup();
}

void TPlotDataCursor::NotificationRemove(TPlotObject& obj) {
    channel_.NotificationRemove(obj);
    if (&obj == dataView_) dataView_ = nullptr;
}

void TPlotDataCursor::NotificationRename(TPlotObject& obj) { channel_.NotificationRename(obj); }

}  // namespace ondrix
