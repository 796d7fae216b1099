// The plot's events about its objects: the per-kind object events, the toolbar's, the data
// cursors' and the axes' hints, and what objects ask of the plot while handling input (menus,
// timers, the property editor).

#include <utility>

#include "plot/component/PlotComponent.h"
#include "plot/component/PlotMasterManager.h"

namespace ondrix {

namespace {

using C = TPlotComponent;

// One column of the object event table: how to find an object's index among its kind, and the
// kind's event of each family (null where the kind has none).
struct TObjectKindEvents {
    int (*IndexOf)(const C&, const TPlotObject&);
    C::TPlotIndexEvent C::*Click;
    C::TPlotIndexEvent C::*DblClick;
    C::TPlotObjectMouseEvent C::*MouseDown;
    C::TPlotObjectMouseMoveEvent C::*MouseMove;
    C::TPlotObjectMouseEvent C::*MouseUp;
    C::TPlotIndexEvent C::*GotFocus;
    C::TPlotIndexEvent C::*LostFocus;
    C::TPlotPopupMenuEvent C::*PopupMenu;
};

template <class Manager>
int IndexIn(Manager* manager, const TPlotObject& obj) {
    return manager != nullptr ? manager->IndexOf(obj) : -1;
}

// In the order in which the kinds are asked: the first that lists the object raises.
const TObjectKindEvents kObjectKinds[] = {
    {[](const C& c, const TPlotObject& o) { return IndexIn(c.GetChannelManager(), o); }, &C::OnClickChannel,
     &C::OnDblClickChannel, &C::OnMouseDownChannel, &C::OnMouseMoveChannel, &C::OnMouseUpChannel,
     &C::OnGotFocusChannel, &C::OnLostFocusChannel, &C::OnPopupMenuChannel},
    {[](const C& c, const TPlotObject& o) { return IndexIn(c.GetXAxisManager(), o); }, &C::OnClickXAxis,
     &C::OnDblClickXAxis, &C::OnMouseDownXAxis, &C::OnMouseMoveXAxis, &C::OnMouseUpXAxis, &C::OnGotFocusXAxis,
     &C::OnLostFocusXAxis, &C::OnPopupMenuXAxis},
    {[](const C& c, const TPlotObject& o) { return IndexIn(c.GetYAxisManager(), o); }, &C::OnClickYAxis,
     &C::OnDblClickYAxis, &C::OnMouseDownYAxis, &C::OnMouseMoveYAxis, &C::OnMouseUpYAxis, &C::OnGotFocusYAxis,
     &C::OnLostFocusYAxis, &C::OnPopupMenuYAxis},
    {[](const C& c, const TPlotObject& o) { return IndexIn(c.GetDataCursorManager(), o); }, &C::OnClickDataCursor,
     &C::OnDblClickDataCursor, &C::OnMouseDownDataCursor, &C::OnMouseMoveDataCursor, &C::OnMouseUpDataCursor,
     &C::OnGotFocusDataCursor, &C::OnLostFocusDataCursor, &C::OnPopupMenuDataCursor},
    {[](const C& c, const TPlotObject& o) { return IndexIn(c.GetDataViewManager(), o); }, &C::OnClickDataView,
     &C::OnDblClickDataView, &C::OnMouseDownDataView, &C::OnMouseMoveDataView, &C::OnMouseUpDataView,
     &C::OnGotFocusDataView, &C::OnLostFocusDataView, &C::OnPopupMenuDataView},
    {[](const C& c, const TPlotObject& o) { return IndexIn(c.GetLegendManager(), o); }, &C::OnClickLegend,
     &C::OnDblClickLegend, &C::OnMouseDownLegend, &C::OnMouseMoveLegend, &C::OnMouseUpLegend, &C::OnGotFocusLegend,
     &C::OnLostFocusLegend, &C::OnPopupMenuLegend},
    {[](const C& c, const TPlotObject& o) { return IndexIn(c.GetLimitManager(), o); }, &C::OnClickLimit,
     &C::OnDblClickLimit, &C::OnMouseDownLimit, &C::OnMouseMoveLimit, &C::OnMouseUpLimit, nullptr, nullptr,
     &C::OnPopupMenuLimit},
    {[](const C& c, const TPlotObject& o) { return IndexIn(c.GetMasterManager().GetAnnotationManager(), o); },
     &C::OnClickAnnotation, &C::OnDblClickAnnotation, &C::OnMouseDownAnnotation, &C::OnMouseMoveAnnotation,
     &C::OnMouseUpAnnotation, &C::OnGotFocusAnnotation, &C::OnLostFocusAnnotation, &C::OnPopupMenuAnnotation},
};

// The kind of the object and its index there; null when no kind lists it (a button, a label).
const TObjectKindEvents* KindOf(const C& plot, const TPlotObject& obj, int& index) {
    for (const TObjectKindEvents& kind : kObjectKinds) {
        index = kind.IndexOf(plot, obj);
        if (index >= 0) return &kind;
    }
    return nullptr;
}

// Raises the kind's event of one family, when the kind has it and the host handles it.
template <class Event, class... Args>
void Raise(C& plot, const TPlotObject& obj, Event C::*TObjectKindEvents::*family, Args&&... args) {
    if (plot.GetLoading()) return;
    int index = -1;
    const TObjectKindEvents* kind = KindOf(plot, obj, index);
    if (kind == nullptr || kind->*family == nullptr) return;
    const Event& event = plot.*(kind->*family);
    if (event) event(index, std::forward<Args>(args)...);
}

// Raises an event of one kind's objects with the object's index in the kind's manager.
template <class Manager, class Event, class... Args>
void RaiseIndexed(const C& plot, Manager* manager, const TPlotObject& obj, const Event& event, Args&&... args) {
    if (plot.GetLoading() || !event) return;
    const int index = IndexIn(manager, obj);
    if (index >= 0) event(index, std::forward<Args>(args)...);
}

}  // namespace

// ---- Object events -----------------------------------------------------------------------

void TPlotComponent::DoObjectClick(TPlotObject& obj) {
    const bool dblClick = dblClick_;
    dblClick_ = false;
    Raise(*this, obj, dblClick ? &TObjectKindEvents::DblClick : &TObjectKindEvents::Click);
}

void TPlotComponent::DoObjectMouseDown(TPlotObject& obj, TMouseButton button, TShiftState shift, int x, int y) {
    Raise(*this, obj, &TObjectKindEvents::MouseDown, button, shift, x, y);
}

void TPlotComponent::DoObjectMouseMove(TPlotObject& obj, TShiftState shift, int x, int y) {
    Raise(*this, obj, &TObjectKindEvents::MouseMove, shift, x, y);
}

void TPlotComponent::DoObjectMouseUp(TPlotObject& obj, TMouseButton button, TShiftState shift, int x, int y) {
    Raise(*this, obj, &TObjectKindEvents::MouseUp, button, shift, x, y);
}

void TPlotComponent::DoObjectGotFocus(TPlotObject& obj) { Raise(*this, obj, &TObjectKindEvents::GotFocus); }
void TPlotComponent::DoObjectLostFocus(TPlotObject& obj) { Raise(*this, obj, &TObjectKindEvents::LostFocus); }

void TPlotComponent::DoObjectPopupMenu(TPlotObject& obj, int x, int y) {
    const TPlotPoint screen = OnClientToScreen ? OnClientToScreen(x, y) : TPlotPoint{x, y};
    bool cancel = false;
    Raise(*this, obj, &TObjectKindEvents::PopupMenu, cancel, screen.X, screen.Y);
    if (cancel) return;
    obj.AddMenuItems(popupMenu_);
    if (OnShowPopupMenu && !popupMenu_.Empty()) OnShowPopupMenu(popupMenu_, x, y);
}

void TPlotComponent::DoObjectEdit(TPlotObject& obj) {
    if (OnEditObject) OnEditObject(obj);
}

std::unique_ptr<TPlotTimer> TPlotComponent::CreateTimer(std::function<void()> onTick) {
    return GetTimerFactory() ? GetTimerFactory()(std::move(onTick)) : nullptr;
}

void TPlotComponent::DoDataPointClick(TPlotChannelCustom& channel, int index) {
    const bool dblClick = dblClick_;
    dblClick_ = false;
    if (loading_) return;
    const auto& event = dblClick ? OnDblClickDataPoint : OnClickDataPoint;
    const int channelIndex = GetChannelManager()->IndexOf(channel);
    if (event && channelIndex >= 0) event(channelIndex, index);
}

// ---- Toolbar, data cursor and axis hint events -------------------------------------------

void TPlotComponent::DoToolBarButtonClick(TPlotObject& toolBar, TPlotToolBarButtonType buttonType) {
    RaiseIndexed(*this, GetToolBarManager(), toolBar, OnToolBarButtonClick, buttonType);
}

void TPlotComponent::DoToolBarCustomizeHint(TPlotObject& toolBar, std::string& text) {
    RaiseIndexed(*this, GetToolBarManager(), toolBar, OnToolBarCustomizeHint, text);
}

void TPlotComponent::DoBeforeDataCursorUpdate(TPlotObject& cursor) {
    RaiseIndexed(*this, GetDataCursorManager(), cursor, OnBeforeDataCursorUpdate);
}

void TPlotComponent::DoDataCursorChange(TPlotObject& cursor) {
    RaiseIndexed(*this, GetDataCursorManager(), cursor, OnDataCursorChange);
}

void TPlotComponent::DoDataCursorCustomizeHint(TPlotObject& cursor, std::string& text) {
    RaiseIndexed(*this, GetDataCursorManager(), cursor, OnDataCursorCustomizeHint, text);
}

void TPlotComponent::DoAxisCustomizeHint(const TPlotAxis& axis, std::string& text) {
    const TPlotObjectCustomizeTextEvent& event = axis.IsXAxis() ? OnXAxisCustomizeHint : OnYAxisCustomizeHint;
    if (loading_ || !event) return;
    const int index = AxisIndex(axis);
    if (index >= 0) event(index, text);
}

// ---- Tracking ----------------------------------------------------------------------------

void TPlotComponent::DisableAllTracking() {
    for (int i = 0; i < XAxisCount(); ++i) GetXAxis(i)->SetTrackingEnabled(false);
    for (int i = 0; i < YAxisCount(); ++i) GetYAxis(i)->SetTrackingEnabled(false);
}

void TPlotComponent::EnableAllTracking() {
    for (int i = 0; i < XAxisCount(); ++i) GetXAxis(i)->SetTrackingEnabled(true);
    for (int i = 0; i < YAxisCount(); ++i) GetYAxis(i)->SetTrackingEnabled(true);
}

// ---- Joining objects ---------------------------------------------------------------------

void TPlotComponent::JoinInput(TPlotObject& obj) {
    obj.SetEventSink(this);
    auto* axis = dynamic_cast<TPlotAxis*>(&obj);
    if (axis == nullptr) return;
    axis->MasterAxisHooks.MouseLeft = [this](TPlotAxis& a, const TPlotMouseData& d) { MasterAxisMouseLeft(a, d); };
    axis->MasterAxisHooks.MouseMove = [this](TPlotAxis& a, const TPlotMouseData& d) { MasterAxisMouseMove(a, d); };
    axis->MasterAxisHooks.MouseUp = [this](TPlotAxis& a, const TPlotMouseData& d) { MasterAxisMouseUp(a, d); };
    axis->MasterAxisHooks.KeyDown = [this](TPlotAxis& a, int& key, TShiftState shift) {
        MasterAxisKeyDown(a, key, shift);
    };
}

}  // namespace ondrix
