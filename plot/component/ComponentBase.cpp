#include "plot/component/ComponentBase.h"

#include "plot/core/PlotScopeExit.h"

#include <algorithm>
#include <cassert>
#include <exception>

namespace ondrix {

TComponentBase::TComponentBase()
    : throttle_([this] {
          if (OnRepaintRequest) OnRepaintRequest();
      }) {}

TComponentBase::~TComponentBase() = default;

// ---- Size and appearance -----------------------------------------------------------------

void TComponentBase::SetBounds(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    BackGroundChange();
}

void TComponentBase::SetBackGroundColor(TColor value) { Store(backGroundColor_, value, TRepaintKind::BackGround); }
void TComponentBase::SetBorderStyle(TBevelStyle value) { Store(borderStyle_, value, TRepaintKind::BackGround); }
void TComponentBase::SetOffsetX(int32_t value) { Store(offsetX_, value, TRepaintKind::BackGround); }
void TComponentBase::SetOffsetY(int32_t value) { Store(offsetY_, value, TRepaintKind::BackGround); }

TPlotPoint TComponentBase::GetCenterPoint() const { return {width_ / 2 + offsetX_, height_ / 2 + offsetY_}; }

// ---- Repaint requests --------------------------------------------------------------------

void TComponentBase::BeginUpdate() { throttle_.BeginUpdate(); }
void TComponentBase::EndUpdate() { throttle_.EndUpdate(); }
void TComponentBase::InvalidateChange() { throttle_.Request(TPlotRepaintThrottle::TChange::Content); }

void TComponentBase::BackGroundChange() {
    backGroundChanged_ = true;
    throttle_.Request(TPlotRepaintThrottle::TChange::BackGround);
}

void TComponentBase::InvalidateNow() { throttle_.RepaintNow(); }
void TComponentBase::RepaintAll() { BackGroundChange(); }

void TComponentBase::SetUpdateFrameRate(int32_t value) {
    if (std::max(value, 0) == throttle_.GetFrameRate()) return;
    throttle_.SetFrameRate(value);
    BackGroundChange();
}

void TComponentBase::SetAutoFrameRate(bool value) {
    if (value == throttle_.GetAutoFrameRate()) return;
    throttle_.SetAutoFrameRate(value);
    if (value)
        BackGroundChange();
    else
        EndUpdate();
}

// ---- Painting ----------------------------------------------------------------------------

void TComponentBase::Paint(TCanvas& window) {
    CheckOwnerThread();
    // A paint that fails must never reach the window system's event loop.
    try {
        if (surfaces_ == nullptr) return;
        std::unique_ptr<TPlotBitmap> offScreen = surfaces_->CreateBitmap(width_, height_);
        TCanvas& canvas = offScreen->Canvas();
        canvas.SetBrush(TPlotBrush{canvas.GetBrush().Color, bsSolid});
        canvas.SetPen(TPlotPen{canvas.GetPen().Color, canvas.GetPen().Width, psSolid});
        try {
            iPaintTo(canvas);
        } catch (const EPlotError& error) {
            PaintErrorScreen(canvas, error.what());
        } catch (const std::exception& error) {
            PaintErrorScreen(canvas, error.what());
            ReportUnexpectedError("the paint pass", error);
        }
        window.DrawBitmap({0, 0}, *offScreen);
    } catch (const std::exception& error) {
        ReportUnexpectedError("the screen paint", error);
    }
}

void TComponentBase::ReportUnexpectedError(const std::string& source, const std::exception& error) const {
    ondrix::ReportUnexpectedError(OnUnexpectedError, source, error);
}

void TComponentBase::CheckOwnerThread() const { assert(std::this_thread::get_id() == ownerThread_); }

void TComponentBase::PaintErrorScreen(TCanvas& canvas, const std::string& message) const {
    // Whatever the failed pass left behind (a clip, an origin) must not hide the message.
    canvas.RemoveClip();
    canvas.SetBrush(TPlotBrush{clBlack, bsSolid});
    canvas.FillRect({0, 0, width_, height_});
    TPlotFont font = canvas.GetFont();
    font.Color = clWhite;
    canvas.SetFont(font);
    canvas.SetBrush(TPlotBrush{clBlack, bsClear});
    canvas.DrawText(message, {0, 0, width_, height_}, tfLeft | tfWordBreak | tfNoPrefix);
}

void TComponentBase::iPaintToDC(TCanvas& device, int x, int y, bool keepDeviceBackground) {
    device.Save();
    TScopeExit restore([&device] { device.Restore(); });
    device.SetClipRect({x, y, x + width_, y + height_});
    device.SetOrigin({device.GetOrigin().X + x, device.GetOrigin().Y + y});
    // The clip above becomes the one the pass's own RemoveClip returns to.
    device.Save();
    TScopeExit restoreClip([&device] { device.Restore(); });

    CheckOwnerThread();
    TScopeExit restoreOptions([this, cached = cachedDrawing_, keep = keepDeviceBackground_] {
        SetCachedDrawing(cached);
        keepDeviceBackground_ = keep;
    });
    SetCachedDrawing(false);
    keepDeviceBackground_ = keepDeviceBackground;
    iPaintTo(device);
}

void TComponentBase::DrawBackGround(TCanvas& canvas, TColor color) {
    if (keepDeviceBackground_) return;
    canvas.SetBrush(TPlotBrush{color, bsSolid});
    canvas.FillRect({0, 0, width_, height_});
    DrawBorder(canvas);
}

void TComponentBase::DrawBorder(TCanvas& canvas) {
    if (borderStyle_ == ibsNone) return;
    canvas.DrawEdge({0, 0, width_, height_}, borderStyle_ == ibsRaised ? esRaised : esSunken);
}

// ---- Input -------------------------------------------------------------------------------

void TComponentBase::iDoSetFocus() {
    hasFocus_ = true;
    InvalidateNow();
}

void TComponentBase::iDoKillFocus() {
    hasFocus_ = false;
    iMouseUp(mbLeft, 0, 0, 0);
    InvalidateNow();
}

bool TComponentBase::iWantSpecialKey(int) { return false; }
void TComponentBase::iKeyUp(int&, TShiftState) {}
void TComponentBase::iKeyDown(int&, TShiftState) {}
void TComponentBase::iKeyPress(char&) {}
void TComponentBase::iMouseDown(TMouseButton, TShiftState, int, int) {}
void TComponentBase::iMouseUp(TMouseButton, TShiftState, int, int) {}
void TComponentBase::iMouseMove(TShiftState, int, int) {}
void TComponentBase::iDoubleClick() {}
bool TComponentBase::iMouseWheel(int, TShiftState, int, int) { return false; }
void TComponentBase::iMouseLeave() {}

}  // namespace ondrix
