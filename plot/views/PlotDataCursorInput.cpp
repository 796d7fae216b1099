// The data cursor under the mouse and the keys: dragging its pointers and its hint, the keys
// that step them, how it shares the selection with its channel, and its pop-up menu.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "plot/channels/PlotChannelCustom.h"
#include "plot/component/PlotComponent.h"
#include "plot/views/PlotDataCursor.h"
#include "plot/views/PlotDataView.h"

namespace ondrix {

namespace {

std::string WithoutLineBreaks(std::string text) {
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }), text.end());
    return text;
}

}  // namespace

void TPlotDataCursor::RepaintNow() {
    if (OnInvalidateNow) OnInvalidateNow();
}

// ---- Mouse -----------------------------------------------------------------------------------

bool TPlotDataCursor::iMouseHitTest(const TPlotMouseData& data) {
    return (pointer1Shown_ && pointer1Rect_.Contains(data.X, data.Y)) ||
           (pointer2Shown_ && pointer2Rect_.Contains(data.X, data.Y)) ||
           (hintShowing_ && hintRect_.Contains(data.X, data.Y));
}

// The hint is asked first: where it overlaps a pointer, the press takes the hint.
void TPlotDataCursor::DoMouseLeft(const TPlotMouseData& data) {
    if (dataView_ == nullptr) return;
    pressX_ = data.X;
    pressY_ = data.Y;
    if (hintShowing_ && hintRect_.Contains(data.X, data.Y)) {
        drag_ = TDragPart::Hint;
        dragStartPixels_ = hintAlongX_ ? dataView_->PositionPercentToPixelsX(hintPosition_)
                                       : dataView_->PositionPercentToPixelsY(hintPosition_);
    } else if (pointer1Shown_ && pointer1Rect_.Contains(data.X, data.Y)) {
        drag_ = TDragPart::Pointer1;
        dragStartPixels_ = GetPointer1Pixels();
    } else if (pointer2Shown_ && pointer2Rect_.Contains(data.X, data.Y)) {
        drag_ = TDragPart::Pointer2;
        dragStartPixels_ = GetPointer2Pixels();
    } else {
        return;
    }
    RepaintNow();
    DoUpdate();
}

bool TPlotDataCursor::DragAlongX() const {
    switch (drag_) {
        case TDragPart::Hint:
            return hintAlongX_;
        case TDragPart::Pointer1:
            return !pointer1Horizontal_;
        case TDragPart::Pointer2:
            return !pointer2Horizontal_;
        case TDragPart::None:
            break;
    }
    return false;
}

double& TPlotDataCursor::DraggedPosition() {
    if (drag_ == TDragPart::Hint) return hintPosition_;
    return drag_ == TDragPart::Pointer2 ? pointer2Position_ : pointer1Position_;
}

// The dragged part keeps its offset from the pointer; the position is written without a change
// report, the drag repaints at once instead.
void TPlotDataCursor::DoMouseMove(const TPlotMouseData& data) {
    if (drag_ == TDragPart::None || dataView_ == nullptr) return;
    const double percent = DragAlongX() ? dataView_->PixelsXToPositionPercent(dragStartPixels_ + data.X - pressX_)
                                        : dataView_->PixelsYToPositionPercent(dragStartPixels_ + data.Y - pressY_);
    DraggedPosition() = ClampedPercent(percent);
    DoUpdate();
    RepaintNow();
}

void TPlotDataCursor::DoMouseUp(const TPlotMouseData& data) {
    drag_ = TDragPart::None;
    RepaintNow();
    if (GetPressed() && iMouseHitTest(data)) GetOwner()->DoObjectClick(*this);
}

TPlotCursor TPlotDataCursor::GetMousePointer(int, int) { return crHandPoint; }

// ---- Keys ------------------------------------------------------------------------------------

// One step is one pixel of the data view, in percent.
void TPlotDataCursor::iKeyDown(int& key, TShiftState shift) {
    if (dataView_ == nullptr) return;
    const double sx = std::fabs(dataView_->PixelsXToPositionPercent(101) - dataView_->PixelsXToPositionPercent(100));
    const double sy = std::fabs(dataView_->PixelsYToPositionPercent(101) - dataView_->PixelsYToPositionPercent(100));
    if (shift & ssCtrl) {
        const double step = pointer1Horizontal_ ? sy : sx;
        const bool hintAlongY = hintShow_ && !hintAlongX_;
        const bool hintAlongXShown = hintShow_ && hintAlongX_;
        const bool vertical = pointer1Shown_ && !pointer1Horizontal_;
        const bool horizontal = pointer1Shown_ && pointer1Horizontal_;
        switch (key) {
            case vkPrior: pointer1Position_ += 5 * step; break;
            case vkNext: pointer1Position_ -= 5 * step; break;
            case vkEnd: pointer1Position_ = 100; break;
            case vkHome: pointer1Position_ = 0; break;
            case vkLeft:
                if (hintAlongXShown) hintPosition_ -= sx;
                if (vertical) pointer1Position_ -= sx;
                break;
            case vkRight:
                if (hintAlongXShown) hintPosition_ += sx;
                if (vertical) pointer1Position_ += sx;
                break;
            case vkUp:
                if (hintAlongY) hintPosition_ += sy;
                if (horizontal) pointer1Position_ += sy;
                break;
            case vkDown:
                if (hintAlongY) hintPosition_ -= sy;
                if (horizontal) pointer1Position_ -= sy;
                break;
            default: break;
        }
    } else if (pointer2Shown_) {
        const double step = pointer2Horizontal_ ? sy : sx;
        switch (key) {
            case vkPrior: pointer2Position_ += 5 * step; break;
            case vkNext: pointer2Position_ -= 5 * step; break;
            case vkEnd: pointer2Position_ = 100; break;
            case vkHome: pointer2Position_ = 0; break;
            case vkLeft:
                if (!pointer2Horizontal_) pointer2Position_ -= sx;
                break;
            case vkRight:
                if (!pointer2Horizontal_) pointer2Position_ += sx;
                break;
            case vkUp:
                if (pointer2Horizontal_) pointer2Position_ += sy;
                break;
            case vkDown:
                if (pointer2Horizontal_) pointer2Position_ -= sy;
                break;
            default: break;
        }
    }
    hintPosition_ = ClampedPercent(hintPosition_);
    pointer1Position_ = ClampedPercent(pointer1Position_);
    pointer2Position_ = ClampedPercent(pointer2Position_);
    RepaintNow();
}

// ---- Selection -------------------------------------------------------------------------------

void TPlotDataCursor::DoSetFocus() {
    TPlotManagerObject::DoSetFocus();
    if (TPlotChannelCustom* channel = GetChannel()) channel->SetUserSelected(true);
}

void TPlotDataCursor::NotificationSetFocus(TPlotObject& obj) {
    if (&obj == this) return;
    if (auto* channel = dynamic_cast<TPlotChannelCustom*>(&obj)) {
        if (channel == GetChannel()) return;
        if (GetUserSelected()) {
            SetChannelName(channel->GetName());
            return;
        }
    }
    SetUserSelected(false);
}

// ---- Pop-up menu -----------------------------------------------------------------------------

void TPlotDataCursor::AddMenuItems(TPlotPopupMenu& menu) {
    // The base clears the menu and offers the common items; they go after the cursor's own.
    TPlotManagerObject::AddMenuItems(menu);
    const std::vector<TPlotMenuItem> common = menu.Items();
    menu.Clear();

    AddChannelMenu(menu);
    AddStyleMenu(menu);
    if (menuUserCanChangeOptions_) {
        TPlotMenuItem& options = menu.Add("Options");
        options.Add("Use Channel Color", [this] { SetUseChannelColor(!useChannelColor_); }).Checked = useChannelColor_;
        options.Add("Hide Hint On Release", [this] { SetHintHideOnRelease(!hintHideOnRelease_); }).Checked =
            hintHideOnRelease_;
    }
    TPlotMenuItem& flip = menu.Add("Flip Alignment", [this] {
        SetHintOrientationSide(hintOrientationSide_ == iosBottomRight ? iosTopLeft : iosBottomRight);
    });
    flip.Enabled = (style_ == ipcsValueXY || style_ == ipcsValueX || style_ == ipcsValueY) && !GetAllChannels();

    for (const TPlotMenuItem& item : common) menu.Add(item.Caption) = item;
}

// Items name their channel, not hold it: the menu is clicked after it has closed.
void TPlotDataCursor::AddChannelMenu(TPlotPopupMenu& menu) {
    TPlotMenuItem& channels = menu.Add("Channel");
    TPlotComponent& plot = *GetOwner();
    if (channelAllowAll_) {
        channels
            .Add(kDataCursorAllChannels,
                 [this] {
                     SetChannelName(kDataCursorAllChannels);
                     TPlotComponent& owner = *GetOwner();
                     for (int i = 0; i < owner.ChannelCount(); ++i) owner.GetChannel(i)->SetUserSelected(false);
                 })
            .Checked = GetAllChannels();
    }
    const TPlotChannelCustom* current = GetChannel();
    for (int i = 0; i < plot.ChannelCount(); ++i) {
        TPlotChannelCustom* channel = plot.GetChannel(i);
        if (!channel->GetVisible()) continue;
        channels
            .Add(WithoutLineBreaks(channel->GetTitleText()),
                 [this, name = channel->GetName()] {
                     SetChannelName(name);
                     if (TPlotChannelCustom* chosen = GetOwner()->GetChannelByName(name))
                         chosen->SetUserSelected(true);
                 })
            .Checked = channel == current;
    }
}

void TPlotDataCursor::AddStyleMenu(TPlotPopupMenu& menu) {
    struct TStyleItem {
        TPlotDataCursorStyle Style;
        const std::string& Caption;
        bool Visible;
    };
    const TStyleItem items[] = {
        {ipcsValueXY, menuItemCaptionValueXY_, menuItemVisibleValueXY_},
        {ipcsValueX, menuItemCaptionValueX_, menuItemVisibleValueX_},
        {ipcsValueY, menuItemCaptionValueY_, menuItemVisibleValueY_},
        {ipcsDeltaX, menuItemCaptionDeltaX_, menuItemVisibleDeltaX_},
        {ipcsDeltaY, menuItemCaptionDeltaY_, menuItemVisibleDeltaY_},
        {ipcsInverseDeltaX, menuItemCaptionInverseDeltaX_, menuItemVisibleInverseDeltaX_},
    };
    TPlotMenuItem& styles = menu.Add("Style");
    for (const TStyleItem& entry : items) {
        TPlotMenuItem& item = styles.Add(entry.Caption, [this, style = entry.Style] { SetStyle(style); });
        item.Checked = entry.Style == style_;
        item.Visible = entry.Visible;
    }
}

}  // namespace ondrix
