// The data cursor on the canvas: its pointer lines and its hint box, which remember where they
// were drawn so that the mouse finds them again.

#include <string>

#include "plot/channels/PlotChannelCustom.h"
#include "plot/component/PlotComponent.h"
#include "plot/core/PlotCanvas.h"
#include "plot/views/PlotDataCursor.h"
#include "plot/views/PlotDataView.h"

namespace ondrix {

namespace {

// The half-width of a pointer's hit band and the gap between a pointer and its hint box.
constexpr int kPointerReach = 5;

void Shift(TPlotRect& box, int dx, int dy) {
    box.Left += dx;
    box.Right += dx;
    box.Top += dy;
    box.Bottom += dy;
}

// Back inside the view, left edge before right and top before bottom: a box larger than the
// view keeps its right and bottom edges on the view's.
void ShiftInside(TPlotRect& box, const TPlotRect& view) {
    if (box.Left < view.Left) Shift(box, view.Left - box.Left, 0);
    if (box.Right > view.Right) Shift(box, view.Right - box.Right, 0);
    if (box.Top < view.Top) Shift(box, 0, view.Top - box.Top);
    if (box.Bottom > view.Bottom) Shift(box, 0, view.Bottom - box.Bottom);
}

}  // namespace

TColor TPlotDataCursor::PointerColor() {
    const TPlotChannelCustom* channel = GetChannel();
    return useChannelColor_ && channel != nullptr ? channel->GetColor() : color_;
}

void TPlotDataCursor::Draw(TCanvas& canvas) {
    if (dataView_ == nullptr || !GetVisible()) return;
    DoUpdate();
    canvas.Save();
    const TColor color = PointerColor();
    // A dragged pointer is drawn thin, so that it does not hide what it is being moved onto.
    auto penFor = [&](TDragPart part) { return TPlotPen{color, drag_ == part ? 0 : pointerPenWidth_, psSolid}; };
    pointer1Rect_ = TPlotRect{};
    pointer2Rect_ = TPlotRect{};
    if (pointer1Shown_) {
        canvas.SetPen(penFor(TDragPart::Pointer1));
        pointer1Rect_ = DrawPointer(canvas, pointer1Horizontal_, pointer1Position_);
    }
    if (pointer2Shown_) {
        canvas.SetPen(penFor(TDragPart::Pointer2));
        pointer2Rect_ = DrawPointer(canvas, pointer2Horizontal_, pointer2Position_);
    }
    hintShowing_ = hintShow_ && !GetAllChannels() && !(hintHideOnRelease_ && !GetDragging());
    if (hintShowing_) DrawHint(canvas);
    canvas.Restore();
}

TPlotRect TPlotDataCursor::DrawPointer(TCanvas& canvas, bool horizontal, double position) const {
    const TPlotRect& view = dataView_->GetDrawRect();
    if (horizontal) {
        const int y = dataView_->PositionPercentToPixelsY(position);
        canvas.Line({view.Left, y}, {view.Right, y});
        return {view.Left, y - kPointerReach, view.Right, y + kPointerReach + 1};
    }
    const int x = dataView_->PositionPercentToPixelsX(position);
    canvas.Line({x, view.Top}, {x, view.Bottom});
    return {x - kPointerReach, view.Top, x + kPointerReach + 1, view.Bottom};
}

void TPlotDataCursor::DrawHint(TCanvas& canvas) {
    if (dataView_ == nullptr) return;
    const TPlotChannelCustom* channel = GetChannel();
    std::string text = channel != nullptr ? displayText_ : "No Channel";
    GetOwner()->DoDataCursorCustomizeHint(*this, text);

    TPlotFont font = font_;
    font.Color = clInfoText;
    canvas.SetFont(font);
    const int w = canvas.TextWidth(text);
    const int h = canvas.DrawText(text, TPlotRect{0, 0, w, 0}, tfWordBreak | tfNoPrefix | tfMeasureOnly);
    const int a = canvas.TextWidth("A");
    const int boxHeight = a / 2 + h;
    const int boxWidth = w + a;

    const TPlotRect& view = dataView_->GetDrawRect();
    const bool delta = IsDeltaStyle();
    const int p1 = GetPointer1Pixels();
    const int p2 = GetPointer2Pixels();
    // The pointer the box sits beside; for the distance styles it only decides the side.
    const int c = !pointer1Shown_ && pointer2Shown_ ? p2 : p1;
    const int between = (p1 + p2) / 2;
    TPlotRect box;
    if (!hintAlongX_) {
        if (c + kPointerReach + a + w > view.Right) hintOrientationSide_ = iosTopLeft;
        if (c - kPointerReach - a - w < view.Left) hintOrientationSide_ = iosBottomRight;
        if (delta)
            box.Left = between - boxWidth / 2;
        else if (hintOrientationSide_ == iosBottomRight)
            box.Left = c + kPointerReach;
        else
            box.Left = c - boxWidth - kPointerReach;
        box.Right = box.Left + boxWidth;
        box.Top = dataView_->PositionPercentToPixelsY(hintPosition_) - boxHeight / 2;
        box.Bottom = box.Top + boxHeight;
    } else {
        if (c + a + h > view.Bottom) hintOrientationSide_ = iosTopLeft;
        if (c - a - h < view.Top) hintOrientationSide_ = iosBottomRight;
        if (delta)
            box.Top = between - boxHeight / 2;
        else if (hintOrientationSide_ == iosBottomRight)
            box.Top = c + kPointerReach;
        else
            box.Top = c - boxHeight - kPointerReach;
        box.Bottom = box.Top + boxHeight;
        box.Left = dataView_->PositionPercentToPixelsX(hintPosition_) - boxWidth / 2;
        box.Right = box.Left + boxWidth;
    }
    ShiftInside(box, view);

    if (delta) {
        canvas.SetPen(TPlotPen{PointerColor(), 0, psDot});
        canvas.SetBrush(TPlotBrush{clInfoBk, bsClear});
        if (!hintAlongX_) {
            const int y = (box.Top + box.Bottom) / 2;
            canvas.Line({p1, y}, {p2, y});
        } else {
            const int x = (box.Left + box.Right) / 2;
            canvas.Line({x, p1}, {x, p2});
        }
    }

    const TColor outline = useChannelColor_ && channel != nullptr ? channel->GetColor() : clBlack;
    canvas.SetPen(TPlotPen{outline, 0, psSolid});
    canvas.SetBrush(TPlotBrush{clInfoBk, bsSolid});
    canvas.Rectangle(box);
    canvas.DrawText(text, TPlotRect{box.Left + 2, box.Top + 1, box.Right, box.Bottom},
                    tfLeft | tfVerticalCenter | tfNoPrefix);
    canvas.SetBrush(TPlotBrush{clInfoBk, bsClear});
    canvas.Rectangle(box);
    if (GetUserSelected()) canvas.DrawFocusRect(TPlotRect{box.Left - 2, box.Top - 2, box.Right + 2, box.Bottom + 2});
    hintRect_ = box;
}

}  // namespace ondrix
