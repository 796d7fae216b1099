// The plot's mouse, keyboard and hint handling: which object lies under the pointer, which
// objects are selected and so receive drags, the wheel and keys, and the hint box.

#include "plot/component/PlotComponent.h"
#include "plot/component/PlotLayoutManager.h"
#include "plot/component/PlotMasterManager.h"
#include "plot/core/PlotScopeExit.h"

namespace ondrix {

namespace {

bool IsAxis(const TPlotObject* obj) { return dynamic_cast<const TPlotAxis*>(obj) != nullptr; }

// Data views and legends lie under everything else: they are found only where nothing else is.
bool IsBackground(const TPlotObject& obj) {
    return dynamic_cast<const TPlotDataView*>(&obj) != nullptr || dynamic_cast<const TPlotLegend*>(&obj) != nullptr ||
           dynamic_cast<const TPlotDataViewLayout*>(&obj) != nullptr;
}

// Buttons, annotations and limits handle a press alone, whatever else is selected.
bool TakesPressAlone(const TPlotObject& obj) {
    return dynamic_cast<const TPlotButton*>(&obj) != nullptr || dynamic_cast<const TPlotAnnotation*>(&obj) != nullptr ||
           dynamic_cast<const TPlotLimit*>(&obj) != nullptr;
}

// A toolbar and its buttons are commands, not things to select.
bool Selectable(const TPlotObject& obj) {
    return dynamic_cast<const TPlotToolBar*>(&obj) == nullptr && dynamic_cast<const TPlotButton*>(&obj) == nullptr;
}

bool ButtonHeld(TShiftState shift) { return (shift & (ssLeft | ssRight)) != 0; }

}  // namespace

// ---- Hit-testing -------------------------------------------------------------------------

TPlotObject* TPlotComponent::FindMouseObject(const TPlotMouseData& data) {
    const std::vector<TPlotObject*>& objects = GetPlotObjectManager()->GetObjects();
    auto first = [&](auto wanted) -> TPlotObject* {
        for (TPlotObject* obj : objects) {
            if (obj->GetEnabled() && obj->GetVisible() && wanted(*obj) && obj->iMouseHitTest(data)) return obj;
        }
        return nullptr;
    };
    TPlotObject* found = first([](const TPlotObject& obj) { return obj.GetUserSelected() && !IsBackground(obj); });
    if (found == nullptr) found = first([](const TPlotObject& obj) { return !IsBackground(obj); });
    if (found == nullptr) found = first([](const TPlotObject& obj) { return IsBackground(obj); });
    return found != nullptr ? found->GetMouseObject(data.X, data.Y) : nullptr;
}

TPlotMouseData TPlotComponent::MouseDataAt(TMouseButton button, TShiftState shift, int x, int y) const {
    return MakePlotMouseData(button, shift, x, y, dblClick_, GetXYAxesReverse());
}

void TPlotComponent::PushShiftState(TShiftState shift) {
    shiftState_ = shift;
    GetPlotObjectManager()->SetShiftState(shift);
}

void TPlotComponent::MousePointerSet(TPlotCursor cursor) {
    if (OnMousePointer) OnMousePointer(cursor);
}

void TPlotComponent::SetMouseCapture(bool take) {
    if (take == hasCapture_) return;
    hasCapture_ = take;
    if (OnMouseCapture) OnMouseCapture(take);
}

// ---- Mouse -------------------------------------------------------------------------------

void TPlotComponent::iMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    PushShiftState(shift);
    mouseIsDown_ = true;
    KillHint();
    TPlotObjectManager& objects = *GetPlotObjectManager();
    if (button == mbRight) objects.ClearAllUserSelections();

    downObject_ = FindMouseObject(MouseDataAt(button, shift, x, y));
    if (downObject_ == nullptr) {
        objects.ClearAllUserSelections();
        return;
    }

    // Shift adds to the selection; Ctrl adds, and toggles axes; a plain press selects the
    // object alone (the others deselect themselves when told).
    TPlotObject& pressed = *downObject_;
    if ((shift & ssShift) != 0) {
        axisMultiSelectDrag_ = IsAxis(&pressed);
        if (Selectable(pressed)) pressed.SetUserSelected(true);
    } else if ((shift & ssCtrl) != 0) {
        axisMultiSelectDrag_ = IsAxis(&pressed);
        if (axisMultiSelectDrag_) {
            pressed.SetUserSelected(!pressed.GetUserSelected());
        } else if (Selectable(pressed)) {
            pressed.SetUserSelected(true);
        }
    } else if (Selectable(pressed)) {
        pressed.SetUserSelected(true);
    }

    // Selecting may have removed the object (a host handler); then nothing is pressed.
    if (downObject_ == nullptr) return;
    if (button == mbRight || TakesPressAlone(*downObject_)) {
        downObject_->iMouseDown(button, shift, x, y);
    } else {
        objects.MouseDownFocusObjects(button, shift, x, y);
    }
}

void TPlotComponent::iMouseMove(TShiftState shift, int x, int y) {
    if (axisMultiSelectDrag_) return;
    const bool inside = x >= 0 && y >= 0 && x < GetWidth() && y < GetHeight();
    if (!inside && !mouseIsDown_ && hasCapture_) SetMouseCapture(false);

    PushShiftState(shift);
    KillHint();
    TPlotObjectManager& objects = *GetPlotObjectManager();

    if (ButtonHeld(shift)) {
        if (downObject_ != nullptr && TakesPressAlone(*downObject_)) {
            THintData dropped;
            downObject_->iMouseMove(dropped, shift, x, y, dblClick_);
        } else {
            objects.MouseMoveFocusObjects(shift, x, y, dblClick_);
        }
        MousePointerSet(crDefault);
        return;
    }

    // No button is held: a release this plot did not see (it went to another window) ends the
    // gesture now.
    if (downObject_ != nullptr) {
        TPlotObject* missed = downObject_;
        downObject_ = nullptr;
        missed->iMouseUp(mbLeft, shift, x, y, dblClick_);
        objects.MouseUpFocusObjects(mbLeft, shift, x, y, dblClick_);
    }

    TPlotObject* found = FindMouseObject(MouseDataAt(mbLeft, shift, x, y));
    if (overObject_ != nullptr && overObject_ != found) {
        TPlotObject* left = overObject_;
        overObject_ = nullptr;
        left->DoMouseNotOver();
    }
    if (found == nullptr) {
        MousePointerSet(crDefault);
        return;
    }
    MousePointerSet(found->GetMousePointer(x, y));

    THintData hint;
    found->iMouseMove(hint, shift, x, y, dblClick_);
    if (hintsShow_ && !hint.Text.empty()) {
        hintText_ = hint.Text;
        hintLeft_ = hint.Left;
        hintTop_ = hint.Top;
        TimerStop();
        if (captureLost_ || mouseIsDown_) {
            captureLost_ = false;
        } else {
            TimerStart(0, hintsPause_);
        }
    }
    overObject_ = found;
}

void TPlotComponent::iMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    mouseIsDown_ = false;
    PushShiftState(shift);
    KillHint();
    axisMultiSelectDrag_ = false;
    // A selected object that was pressed hears the release twice: objects end their press on
    // the first.
    TPlotObject* pressed = downObject_;
    downObject_ = nullptr;
    if (pressed != nullptr) pressed->iMouseUp(button, shift, x, y, dblClick_);
    GetPlotObjectManager()->MouseUpFocusObjects(button, shift, x, y, dblClick_);
    dblClick_ = false;
}

void TPlotComponent::iDoubleClick() { dblClick_ = true; }

bool TPlotComponent::iMouseWheel(int wheelDelta, TShiftState shift, int x, int y) {
    GetPlotObjectManager()->MouseWheelFocusObjects(wheelDelta, shift, x, y);
    return true;
}

// ---- Keys --------------------------------------------------------------------------------

void TPlotComponent::iKeyDown(int& key, TShiftState shift) { GetPlotObjectManager()->KeyDownFocusObjects(key, shift); }

bool TPlotComponent::iWantSpecialKey(int key) { return key >= vkLeft && key <= vkDown; }

// ---- Master axes -------------------------------------------------------------------------

// The replayed axes hand their input to the master again; the flag makes that a no-op, so each
// input reaches every axis once.
template <class Replay>
void TPlotComponent::ReplayToOtherAxes(const TPlotAxis& axis, Replay replay) {
    if (masterAxisReplaying_) return;
    masterAxisReplaying_ = true;
    const TScopeExit done([this] { masterAxisReplaying_ = false; });
    const int count = axis.IsXAxis() ? XAxisCount() : YAxisCount();
    for (int i = 0; i < count; ++i) {
        TPlotAxis* other = axis.IsXAxis() ? static_cast<TPlotAxis*>(GetXAxis(i)) : GetYAxis(i);
        if (other != &axis) replay(*other);
    }
}

void TPlotComponent::MasterAxisMouseLeft(TPlotAxis& axis, const TPlotMouseData& data) {
    ReplayToOtherAxes(axis, [&data](TPlotAxis& other) { other.DoMouseLeft(data); });
}

void TPlotComponent::MasterAxisMouseMove(TPlotAxis& axis, const TPlotMouseData& data) {
    ReplayToOtherAxes(axis, [&data](TPlotAxis& other) { other.DoMouseMove(data); });
}

void TPlotComponent::MasterAxisMouseUp(TPlotAxis& axis, const TPlotMouseData& data) {
    ReplayToOtherAxes(axis, [&data](TPlotAxis& other) { other.DoMouseUp(data); });
}

void TPlotComponent::MasterAxisKeyDown(TPlotAxis& axis, int& key, TShiftState shift) {
    ReplayToOtherAxes(axis, [&key, shift](TPlotAxis& other) { other.iKeyDown(key, shift); });
}

// ---- Hints and capture -------------------------------------------------------------------

void TPlotComponent::HintTimer() {
    TimerStop();
    if (!hintShowing_) {
        hintShowing_ = true;
        TimerStart(0, hintsHidePause_);
        SetMouseCapture(true);
    } else {
        KillHint();
        SetMouseCapture(false);
    }
    InvalidateNow();
}

void TPlotComponent::KillHint() {
    TimerStop();
    if (hintPainted_) InvalidateNow();
    hintShowing_ = false;
}

void TPlotComponent::WMCaptureChanged() {
    hasCapture_ = false;
    KillHint();
    captureLost_ = true;
    if (hintPainted_) InvalidateNow();
    if (overObject_ != nullptr) {
        TPlotObject* left = overObject_;
        overObject_ = nullptr;
        left->DoMouseNotOver();
    }
}

void TPlotComponent::DrawHint(TCanvas& canvas) {
    hintPainted_ = hintShowing_;
    if (!hintShowing_) return;
    TPlotFont font = hintsFont_;
    font.Color = clInfoText;
    canvas.SetFont(font);
    canvas.SetPen(TPlotPen{clInfoText, 1, psSolid});
    canvas.SetBrush(TPlotBrush{clInfoBk, bsSolid});
    const TPlotRect box{hintLeft_, hintTop_, hintLeft_ + canvas.TextWidth(hintText_) + 4,
                        hintTop_ + canvas.TextHeight(hintText_) + 4};
    canvas.FillRect(box);
    canvas.SetBrush(TPlotBrush{clInfoBk, bsClear});
    canvas.TextOut(hintLeft_ + 2, hintTop_ + 2, hintText_);
}

}  // namespace ondrix
