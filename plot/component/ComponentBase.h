#pragma once
// The base of every drawn component: size, background colour, bevelled border, the repaint
// throttle, the report of unexpected errors, and the input entry points the window host calls.
//
// Painting is double-buffered: Paint draws the whole client area into a fresh off-screen bitmap
// through iPaintTo and copies it to the window in one operation, so nothing flickers. A paint
// that fails shows a black client area with the error's message in white instead, and the next
// paint tries again.
//
// The component knows no window system. The host (plot/qt) gives it a surface factory for its
// off-screen bitmaps, a repaint hook (OnRepaintRequest) and the throttle's clock and scheduler,
// and calls Paint, SetBounds and the i... input operations from its window's events.
//
// Threads: the thread that builds the component (the GUI thread) owns it, and only it paints:
// samples reach the channels on that thread too, so no paint pass can meet an append and no
// lock is needed; debug builds check it. The repaint requests (InvalidateChange,
// BackGroundChange, InvalidateNow, RepaintAll, BeginUpdate, EndUpdate) may come from any thread;
// they only update the throttle's state and call OnRepaintRequest, never paint.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "plot/core/PlotCanvas.h"
#include "plot/core/PlotRepaintThrottle.h"
#include "plot/objects/PlotObjects.h"

namespace ondrix {

enum TBevelStyle : uint8_t { ibsNone, ibsRaised, ibsLowered };
inline constexpr auto kBevelStyleNames = EnumValueNames<ibsLowered>({"ibsNone", "ibsRaised", "ibsLowered"});

class TComponentBase {
public:
    TComponentBase();
    virtual ~TComponentBase();
    TComponentBase(const TComponentBase&) = delete;
    TComponentBase& operator=(const TComponentBase&) = delete;

    // Asks the host to repaint the whole client area. Runs on the requesting thread: the host
    // makes it safe to call from any thread.
    std::function<void()> OnRepaintRequest;

    // ---- Size ----
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    // The window's client size changed: the whole plot, background included, is repainted.
    void SetBounds(int width, int height);

    // ---- Appearance ----
    TColor GetBackGroundColor() const { return backGroundColor_; }
    virtual void SetBackGroundColor(TColor value);
    TBevelStyle GetBorderStyle() const { return borderStyle_; }
    virtual void SetBorderStyle(TBevelStyle value);
    // 2 pixels of bevel, or none.
    int GetBorderMargin() const { return borderStyle_ == ibsNone ? 0 : 2; }
    int32_t GetOffsetX() const { return offsetX_; }
    void SetOffsetX(int32_t value);
    int32_t GetOffsetY() const { return offsetY_; }
    void SetOffsetY(int32_t value);
    // The client area's centre, shifted by OffsetX and OffsetY.
    virtual TPlotPoint GetCenterPoint() const;
    // Off while painting into another device (a picture, a page).
    bool GetCachedDrawing() const { return cachedDrawing_; }
    virtual void SetCachedDrawing(bool value) { cachedDrawing_ = value; }
    // Kept for the property editor; the component does not read it.
    bool GetOptionSaveAllProperties() const { return optionSaveAllProperties_; }
    void SetOptionSaveAllProperties(bool value) { optionSaveAllProperties_ = value; }
    bool GetHasFocus() const { return hasFocus_; }

    // ---- Repaint requests ----
    // A flag, not a counter: one EndUpdate ends any number of BeginUpdate calls. EndUpdate
    // repaints, within the frame-rate bound, only if something changed meanwhile.
    virtual void BeginUpdate();
    virtual void EndUpdate();
    bool GetUpdateLocked() const { return throttle_.GetUpdateLocked(); }
    // A content change: a throttled repaint.
    void InvalidateChange();
    // A background change: marks the background changed, then a throttled repaint.
    void BackGroundChange();
    // Unconditional, also between BeginUpdate and EndUpdate: selection and cursor feedback.
    void InvalidateNow();
    // Everything, background included.
    virtual void RepaintAll();
    // Whether the background changed since the last call. Starts true.
    bool TakeBackGroundChanged() { return backGroundChanged_.exchange(false); }
    // Where the host installs its clock and scheduler.
    TPlotRepaintThrottle& GetRepaintThrottle() { return throttle_; }

    // Most repaints per second while AutoFrameRate is on; 0 turns the throttle off. Negative
    // values store 0.
    int32_t GetUpdateFrameRate() const { return throttle_.GetFrameRate(); }
    void SetUpdateFrameRate(int32_t value);
    // Off: every change repaints at once. Switching it off also ends an update bracket.
    bool GetAutoFrameRate() const { return throttle_.GetAutoFrameRate(); }
    void SetAutoFrameRate(bool value);

    // ---- Painting ----
    // Where the off-screen bitmaps come from; set by the host before the first paint.
    void SetSurfaceFactory(std::shared_ptr<TPlotSurfaceFactory> factory) { surfaces_ = std::move(factory); }
    TPlotSurfaceFactory* GetSurfaceFactory() const { return surfaces_.get(); }
    // The screen paint: the whole client area into a fresh off-screen bitmap, then onto the
    // window canvas at (0, 0). Never throws: a failing pass paints the error screen.
    void Paint(TCanvas& window);
    // Paints the whole component onto a canvas of another device with its top-left corner at
    // (x, y), clipped to the component's size. With `keepDeviceBackground` the background
    // fill is left out, so the device's own background shows. The canvas's state is restored.
    void iPaintToDC(TCanvas& device, int x, int y, bool keepDeviceBackground);
    // The whole component onto the canvas, (0, 0) being its top-left corner.
    virtual void iPaintTo(TCanvas& canvas) = 0;

    // The client rectangle filled with the colour and the border drawn; nothing while painting
    // into another device that keeps its own background.
    virtual void DrawBackGround(TCanvas& canvas, TColor color);
    // A raised or sunken 2-pixel edge around the client rectangle, or nothing.
    virtual void DrawBorder(TCanvas& canvas);

    // ---- Errors that are not the plot's own ----
    // Told of every such error a paint pass, an object or an input handler contains; unset,
    // the report goes to standard error. `source` names the object or what was being done.
    TPlotErrorReport OnUnexpectedError;
    void ReportUnexpectedError(const std::string& source, const std::exception& error) const;

    // ---- Timer: one timer per component; each tick calls OnTimer ----
    std::function<void()> OnTimer;
    virtual bool GetTimerRunning() const = 0;
    // Nothing while running. A non-zero initial delay is waited first and the repeat interval
    // takes over at the first tick; with no initial delay the repeat interval starts at once;
    // with neither nothing starts.
    virtual void TimerStart(int initialDelayMs, int repeatIntervalMs) = 0;
    virtual void TimerStop() = 0;

    // ---- Input entry points, called by the host's window events ----
    // Focus: the flag and a repaint; losing focus also ends any mouse gesture.
    virtual void iDoSetFocus();
    virtual void iDoKillFocus();
    virtual bool iWantSpecialKey(int key);
    virtual void iKeyUp(int& key, TShiftState shift);
    virtual void iKeyDown(int& key, TShiftState shift);
    virtual void iKeyPress(char& key);
    virtual void iMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void iMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void iMouseMove(TShiftState shift, int x, int y);
    virtual void iDoubleClick();
    // True when the wheel turn was used.
    virtual bool iMouseWheel(int wheelDelta, TShiftState shift, int x, int y);
    // The pointer left the window, or another window took the mouse.
    virtual void iMouseLeave();

    // ---- What the host does for the input handling ----
    // The pointer shape over the window; client to screen coordinates; showing a filled pop-up
    // menu at a client point (the host runs the chosen item's click after the menu closed);
    // taking and releasing the mouse capture. Unset hooks do nothing (and screen coordinates
    // are the client's).
    std::function<void(TPlotCursor)> OnMousePointer;
    std::function<TPlotPoint(int x, int y)> OnClientToScreen;
    std::function<void(TPlotPopupMenu& menu, int x, int y)> OnShowPopupMenu;
    std::function<void(bool take)> OnMouseCapture;
    // Where objects get timers of their own (a button's auto-repeat).
    void SetTimerFactory(TPlotTimerFactory factory) { timerFactory_ = std::move(factory); }
    const TPlotTimerFactory& GetTimerFactory() const { return timerFactory_; }

protected:
    // Painting starts here; debug builds stop at a paint from another thread than the owner's.
    void CheckOwnerThread() const;

    // The setter pattern of the appearance properties: a changed value is stored, then
    // reported as a content or a background change.
    enum class TRepaintKind { Content, BackGround, None };
    template <class T>
    void Store(T& field, T value, TRepaintKind kind = TRepaintKind::Content) {
        if (field == value) return;
        field = value;
        if (kind == TRepaintKind::Content) InvalidateChange();
        if (kind == TRepaintKind::BackGround) BackGroundChange();
    }

private:
    void PaintErrorScreen(TCanvas& canvas, const std::string& message) const;

    int width_ = 500;
    int height_ = 200;
    TColor backGroundColor_ = clBtnFace;
    TBevelStyle borderStyle_ = ibsNone;
    int32_t offsetX_ = 0;
    int32_t offsetY_ = 0;
    bool cachedDrawing_ = true;
    bool optionSaveAllProperties_ = false;
    bool hasFocus_ = false;
    bool keepDeviceBackground_ = false;
    std::thread::id ownerThread_ = std::this_thread::get_id();

    std::shared_ptr<TPlotSurfaceFactory> surfaces_;
    TPlotTimerFactory timerFactory_;
    TPlotRepaintThrottle throttle_;
    std::atomic<bool> backGroundChanged_{true};
};

}  // namespace ondrix
