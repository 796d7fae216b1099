#include "plot/objects/PlotObjects.h"

#include <utility>

namespace ondrix {

void CheckPlotObjectEvents(const TPlotObjectEvents& events) {
    if (!events.OnChange) throw EPlotError("OnChange event handler can not be null");
    if (!events.OnInsert) throw EPlotError("OnInsert event handler can not be null");
    if (!events.OnRemove) throw EPlotError("OnRemove event handler can not be null");
    if (!events.OnRename) throw EPlotError("AOnRename event handler can not be null");
}

bool ReferenceFollowsRename(const TPlotObject* cached, const std::string& referencedName,
                            const TPlotObject& renamed) {
    if (cached != nullptr) return cached == &renamed;
    return !renamed.GetPreviousName().empty() && SameText(renamed.GetPreviousName(), referencedName);
}

// ---- TPlotObject -------------------------------------------------------------------------

void TPlotObject::ReportUnexpectedError(const std::exception& error) const {
    ondrix::ReportUnexpectedError(OnUnexpectedError, name_, error);
}

TPlotObject::TPlotObject(TPlotComponent* owner, TPlotObjectEvents events)
    : OnChange(std::move(events.OnChange)),
      OnRemove(std::move(events.OnRemove)),
      OnInsert(std::move(events.OnInsert)),
      OnRename(std::move(events.OnRename)),
      owner_(owner) {}

TPlotObject::~TPlotObject() = default;

void TPlotObject::SetName(const std::string& name) {
    if (name == name_) return;
    previousName_ = name_;
    name_ = name;
    if (OnRename) OnRename(*this);
    TriggerChange();
}

void TPlotObject::SetVisible(bool value) {
    if (value == visible_) return;
    visible_ = value;
    TriggerChange();
}

void TPlotObject::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    if (!value) {
        pressed_ = false;
        userSelected_ = false;
    }
    TriggerChange();
}

void TPlotObject::SetLayer(int32_t value) {
    if (value == layer_) return;
    layer_ = value;
    TriggerChange();
}

void TPlotObject::SetPopupEnabled(bool value) {
    if (value == popupEnabled_) return;
    popupEnabled_ = value;
    TriggerChange();
}

void TPlotObject::SetUserCanEdit(bool value) {
    if (value == userCanEdit_) return;
    userCanEdit_ = value;
    TriggerChange();
}

void TPlotObject::SetXYAxesReversed(bool value) {
    if (value == xyAxesReversed_) return;
    xyAxesReversed_ = value;
    TriggerChange();
}

void TPlotObject::SetUserSelected(bool value) {
    if (value == userSelected_) return;
    userSelected_ = value;
    if (OnInvalidateNow) OnInvalidateNow();
    if (value) {
        if (OnSetFocus) OnSetFocus(*this);
        DoSetFocus();
    } else {
        DoLostFocus();
    }
}

void TPlotObject::TriggerChange() {
    if (OnChange) OnChange(*this);
}

void TPlotObject::TriggerLayoutChange() {
    if (OnLayoutChange) OnLayoutChange(*this);
    TriggerChange();
}

void TPlotObject::NotificationRemove(TPlotObject&) {}
void TPlotObject::NotificationRename(TPlotObject&) {}
void TPlotObject::NotificationSetFocus(TPlotObject& obj) {
    if (&obj != this) SetUserSelected(false);
}

// The kind's events are the component's; an object outside a plot raises none.
void TPlotObject::iMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (!enabled_) return;
    const TPlotMouseData data = MakeMouseData(button, shift, x, y, false);
    if (button == mbRight && popupEnabled_ && eventSink_ != nullptr) eventSink_->DoObjectPopupMenu(*this, x, y);
    if (button == mbLeft) {
        pressed_ = true;
        DoMouseLeft(data);
    }
    if (eventSink_ != nullptr && iMouseHitTest(data)) eventSink_->DoObjectMouseDown(*this, button, shift, x, y);
}

void TPlotObject::iMouseMove(THintData& hint, TShiftState shift, int x, int y, bool dblClick) {
    const TPlotMouseData data = MakeMouseData(mbLeft, shift, x, y, dblClick);
    if (pressed_) {
        DoMouseMove(data);
    } else {
        DoMouseHint(data, hint);
    }
    if (eventSink_ != nullptr && iMouseHitTest(data)) eventSink_->DoObjectMouseMove(*this, shift, x, y);
}

void TPlotObject::iMouseUp(TMouseButton button, TShiftState shift, int x, int y, bool dblClick) {
    const TPlotMouseData data = MakeMouseData(button, shift, x, y, dblClick);
    DoMouseUp(data);
    if (!pressed_) return;
    pressed_ = false;
    if (eventSink_ != nullptr && iMouseHitTest(data)) eventSink_->DoObjectMouseUp(*this, button, shift, x, y);
}

bool TPlotObject::iMouseHitTest(const TPlotMouseData&) { return false; }
bool TPlotObject::iMouseWheel(int, TShiftState, int, int) { return false; }
void TPlotObject::iKeyDown(int&, TShiftState) {}

void TPlotObject::DoMouseHint(const TPlotMouseData&, THintData&) {}
void TPlotObject::DoMouseLeft(const TPlotMouseData&) {}
void TPlotObject::DoMouseMove(const TPlotMouseData&) {}
void TPlotObject::DoMouseUp(const TPlotMouseData&) {}
void TPlotObject::DoMouseDoubleClick(const TPlotMouseData&) {}
void TPlotObject::DoSetFocus() {
    if (eventSink_ != nullptr) eventSink_->DoObjectGotFocus(*this);
}

void TPlotObject::DoLostFocus() {
    if (eventSink_ != nullptr) eventSink_->DoObjectLostFocus(*this);
}

void TPlotObject::DoMouseNotOver() {}

TPlotObject* TPlotObject::GetMouseObject(int, int) {
    mouseObject_ = this;
    return this;
}

TPlotCursor TPlotObject::GetMousePointer(int x, int y) {
    if (mouseObject_ != nullptr && mouseObject_ != this) return mouseObject_->GetMousePointer(x, y);
    return crDefault;
}

void TPlotObject::AddMenuItems(TPlotPopupMenu& menu) {
    menu.Clear();
    AddCommonMenuItems(menu);
}

void TPlotObject::AddCommonMenuItems(TPlotPopupMenu& menu) {
    if (userCanEdit_ && eventSink_ != nullptr) menu.Add("Edit...", [this] { eventSink_->DoObjectEdit(*this); });
}

void TPlotObject::Loaded() {
    if (OnInsert) OnInsert(*this);
}

void TPlotObject::ReportRemoval() {
    if (OnRemove) OnRemove(*this);
    TriggerLayoutChange();
}

TPlotMouseData TPlotObject::MakeMouseData(TMouseButton button, TShiftState shift, int x, int y,
                                          bool dblClick) const {
    return MakePlotMouseData(button, shift, x, y, dblClick, xyAxesReversed_);
}

// ---- TPlotManagerObject ------------------------------------------------------------------

namespace {
// Runs before the base is built, so a refused object never exists even in part.
TPlotObjectEvents CheckedEvents(const TPlotComponent* owner, TPlotObjectEvents events) {
    if (owner == nullptr) throw EPlotError("Owner must be assigned");
    CheckPlotObjectEvents(events);
    return events;
}
}  // namespace

TPlotManagerObject::TPlotManagerObject(TPlotComponent* owner, TPlotObjectEvents events)
    : TPlotObject(owner, CheckedEvents(owner, std::move(events))) {}

// ---- TPlotLayoutObject -------------------------------------------------------------------

void TPlotLayoutObject::SetStartPercent(double value) {
    if (value == startPercent_) return;
    startPercent_ = value;
    TriggerChange();
}

void TPlotLayoutObject::SetStopPercent(double value) {
    if (value == stopPercent_) return;
    stopPercent_ = value;
    TriggerChange();
}

void TPlotLayoutObject::SetZOrder(int32_t value) {
    if (value == zOrder_) return;
    zOrder_ = value;
    TriggerLayoutChange();
}

void TPlotLayoutObject::SetHorizontal(bool value) {
    if (value == horizontal_) return;
    horizontal_ = value;
    TriggerLayoutChange();
}

void TPlotLayoutObject::SetForceStacking(bool value) {
    if (value == forceStacking_) return;
    forceStacking_ = value;
    TriggerLayoutChange();
}

int TPlotLayoutObject::GetRequiredWidth(const TPlotTextMeasure&) { return 0; }
int TPlotLayoutObject::GetRequiredLengthGaurd(const TPlotTextMeasure&) { return 0; }

bool TPlotLayoutObject::iMouseHitTest(const TPlotMouseData& data) { return drawRect_.Contains(data.X, data.Y); }

void TPlotLayoutObject::Loaded() {
    TPlotManagerObject::Loaded();
    if (OnLayoutChange) OnLayoutChange(*this);
}

// ---- TPlotButton -------------------------------------------------------------------------

void TPlotButton::SetDown(bool value) {
    if (value == down_) return;
    down_ = value;
    if (OnInvalidate) OnInvalidate(*this);
    if (OnDownChange) OnDownChange(*this);
}

void TPlotButton::SetEnabled(bool value) {
    if (!value) repeatTimer_.reset();
    TPlotObject::SetEnabled(value);
}

void TPlotButton::DoMouseLeft(const TPlotMouseData&) {
    SetPressed(true);
    if (autoRepeat_ && GetEventSink() != nullptr) {
        repeatTimer_ = GetEventSink()->CreateTimer([this] { RepeatTick(); });
        repeatStarted_ = false;
        if (repeatTimer_) repeatTimer_->Start(500);
    }
    if (OnInvalidate) OnInvalidate(*this);
}

void TPlotButton::DoMouseUp(const TPlotMouseData& data) {
    if (!GetPressed()) return;
    SetPressed(false);
    repeatTimer_.reset();
    if (OnInvalidate) OnInvalidate(*this);
    if (!drawRect_.Contains(data.X, data.Y)) return;
    if (groupIndex_ != 0 && OnGroupClick) OnGroupClick(*this);
    if (OnClick) OnClick(*this);
}

void TPlotButton::RepeatTick() {
    if (!repeatStarted_) {
        repeatStarted_ = true;
        repeatTimer_->Start(50);
    }
    if (OnClick) OnClick(*this);
    if (OnInvalidate) OnInvalidate(*this);
}

}  // namespace ondrix
