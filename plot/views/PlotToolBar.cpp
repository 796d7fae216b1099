#include "plot/views/PlotToolBar.h"

#include <iterator>
#include <utility>

#include "plot/axes/PlotAxis.h"
#include "plot/component/PlotComponent.h"
#include "plot/views/PlotDataCursor.h"

namespace ondrix {

namespace {

// The buttons in drawing order, as a user sees them from left to right.
struct TButtonDefinition {
    TPlotToolBarButtonType Type;
    const char* Hint;
    const char* LargeImage;
    const char* SmallImage;
    int32_t Group;     // buttons of one non-zero group unlatch each other when clicked
    bool Shown;        // at creation
    bool SpacerAfter;  // a spacer closes the button's group
};

constexpr TButtonDefinition kButtons[] = {
    {iptbbtResume, "Resume All (Tracking)", "AUTO", "SMALLAUTO", 0, true, false},
    {iptbbtPause, "Pause All (Tracking)", "PAUSE", "SMALLPAUSE", 0, true, true},
    {iptbbtScrollAxesMode, "Scroll (Axes)", "SCROLL", "SMALLSCROLL", 2, true, false},
    {iptbbtZoomAxesMode, "Zoom (Axes)", "ZOOM", "SMALLZOOM", 2, true, true},
    {iptbbtZoomOut, "Zoom Out All Axes", "ZOOMOUT", "SMALLZOOMOUT", 0, true, false},
    {iptbbtZoomIn, "Zoom In All Axes", "ZOOMIN", "SMALLZOOMIN", 0, true, true},
    {iptbbtSelect, "Select", "SELECT", "SMALLSELECT", -1, false, false},
    {iptbbtZoomBox, "Zoom Box", "SCROLLBOX", "SMALLSCROLLBOX", -1, true, false},
    {iptbbtCursor, "Cursor", "CURSOR", "SMALLCURSOR", -2, true, true},
    {iptbbtEdit, "Properties", "PROPERTIES", "SMALLPROPERTIES", 0, true, true},
    {iptbbtCopy, "Copy to Clipboard", "COPY", "SMALLCOPY", 0, true, false},
    {iptbbtSave, "Save to File", "SAVE", "SMALLSAVE", 0, true, false},
    {iptbbtPrint, "Print", "PRINTER", "SMALLPRINTER", 0, true, false},
    {iptbbtPreview, "Preview", "PREVIEW", "SMALLPREVIEW", 0, false, false},
};

// The handler a click on the button of each type runs, in the order of the types.
using THandler = void (TPlotToolBar::*)();
constexpr THandler kHandlers[] = {
    &TPlotToolBar::DoButtonClickResume,  &TPlotToolBar::DoButtonClickPause,
    &TPlotToolBar::DoButtonClickScrollAxesMode, &TPlotToolBar::DoButtonClickZoomAxesMode,
    &TPlotToolBar::DoButtonClickSelect,  &TPlotToolBar::DoButtonClickZoomBox,
    &TPlotToolBar::DoButtonClickZoomOut, &TPlotToolBar::DoButtonClickZoomIn,
    &TPlotToolBar::DoButtonClickCursor,  &TPlotToolBar::DoButtonClickEdit,
    &TPlotToolBar::DoButtonClickCopy,    &TPlotToolBar::DoButtonClickSave,
    &TPlotToolBar::DoButtonClickPrint,   &TPlotToolBar::DoButtonClickPreview,
};
static_assert(std::size(kHandlers) == iptbbtPreview + 1, "one handler for each button type");

}  // namespace

// ---- TPlotToolBarButton ------------------------------------------------------------------

TPlotToolBarButton::TPlotToolBarButton(TPlotToolBar& toolBar, TPlotToolBarImageList& images,
                                       TPlotToolBarButtonStyle style)
    : TPlotButton(toolBar.GetOwner(), {}), toolBar_(toolBar), images_(images), style_(style) {}

void TPlotToolBarButton::DoMouseHint(const TPlotMouseData&, THintData& hint) {
    if (style_ == iptbbsSpacer) return;
    SetMouseOver(true);
    if (hint_.empty()) return;
    std::string text = hint_;
    toolBar_.GetOwner()->DoToolBarCustomizeHint(toolBar_, text);
    hint.Text = text;
    hint.Left = GetDrawRect().Left;
    hint.Top = GetDrawRect().Bottom + 3;
}

void TPlotToolBarButton::DoMouseNotOver() { SetMouseOver(false); }

// Only a flat button looks different under the pointer.
void TPlotToolBarButton::SetMouseOver(bool value) {
    if (value == mouseOver_) return;
    mouseOver_ = value;
    if (flat_ && OnInvalidate) OnInvalidate(*this);
}

// ---- TPlotToolBar: construction ------------------------------------------------------------

TPlotToolBar::TPlotToolBar(TPlotComponent* owner, TPlotObjectEvents events)
    : TPlotLayoutObject(owner, std::move(events)) {
    SetHorizontal(true);
    size_t spacers = 0;
    for (const TButtonDefinition& definition : kButtons) {
        TPlotToolBarButton& button = AddEntry(iptbbsButton);
        button.SetHint(definition.Hint);
        button.SetImageName(definition.LargeImage);
        button.SetGroupIndex(definition.Group);
        button.SetVisible(definition.Shown);
        button.OnInvalidate = [this](TPlotButton&) { InvalidateButton(); };
        button.OnGroupClick = [this](TPlotButton& clicked) { GroupClick(clicked); };
        button.OnClick = [this, handler = kHandlers[definition.Type]](TPlotButton&) { (this->*handler)(); };
        buttons_[definition.Type] = &button;
        if (definition.SpacerAfter) spacers_.at(spacers++) = &AddEntry(iptbbsSpacer);
    }
    GetButton(iptbbtScrollAxesMode).SetDown(true);
    GetButton(iptbbtCursor).OnDownChange = [this](TPlotButton&) { CursorDownChange(); };
    GetButton(iptbbtSelect).OnDownChange = [this](TPlotButton&) { SelectDownChange(); };
}

TPlotToolBar::~TPlotToolBar() = default;

TPlotToolBarButton& TPlotToolBar::AddEntry(TPlotToolBarButtonStyle style) {
    entries_.push_back(std::make_unique<TPlotToolBarButton>(*this, images_, style));
    return *entries_.back();
}

void TPlotToolBar::SetEventSink(TPlotObjectEventSink* sink) {
    TPlotLayoutObject::SetEventSink(sink);
    for (const auto& entry : entries_) {
        entry->SetEventSink(sink);
        entry->OnUnexpectedError = OnUnexpectedError;
    }
}

// A button's look follows the pointer and the mouse button, so it is shown at once instead of
// waiting for the repaint throttle, which exists to pace data arriving, not a user's click.
// A hidden bar shows nothing a button could change.
void TPlotToolBar::InvalidateButton() {
    if (!GetVisible()) return;
    if (OnInvalidateNow) {
        OnInvalidateNow();
    } else {
        TriggerChange();
    }
}

// ---- Settings ------------------------------------------------------------------------------

void TPlotToolBar::SetZoomInOutFactor(double value) { SetField(zoomInOutFactor_, value >= 1 ? value : 1.0); }
void TPlotToolBar::SetFlatBorder(bool value) { SetField(flatBorder_, value); }

void TPlotToolBar::SetFlatButtons(bool value) {
    if (value == flatButtons_) return;
    flatButtons_ = value;
    for (const auto& entry : entries_) entry->SetFlat(value);
    TriggerChange();
}

void TPlotToolBar::SetSmallButtons(bool value) {
    if (value == smallButtons_) return;
    smallButtons_ = value;
    SetupImages();
    TriggerChange();
}

// The pictures of the new size load again on the next draw.
void TPlotToolBar::SetupImages() {
    for (const TButtonDefinition& definition : kButtons)
        GetButton(definition.Type).SetImageName(smallButtons_ ? definition.SmallImage : definition.LargeImage);
    images_.Reset(smallButtons_ ? 16 : 24);
    for (const auto& entry : entries_) entry->SetImageIndex(-1);
}

void TPlotToolBar::Show(std::initializer_list<TPlotToolBarButtonType> types, bool value) {
    bool changed = false;
    for (TPlotToolBarButtonType type : types) {
        TPlotToolBarButton& button = GetButton(type);
        if (button.GetVisible() == value) continue;
        button.SetVisible(value);
        changed = true;
    }
    if (changed) TriggerChange();
}

// ---- Handlers ------------------------------------------------------------------------------

void TPlotToolBar::RaiseClick(TPlotToolBarButtonType type) { GetOwner()->DoToolBarButtonClick(*this, type); }

void TPlotToolBar::DoButtonClickResume() {
    if (GetCursorActive()) DoButtonClickCursor();
    if (GetSelectActive()) DoButtonClickSelect();
    GetOwner()->ClearAllUserSelections();
    GetOwner()->EnableAllTracking();
    RaiseClick(iptbbtResume);
}

void TPlotToolBar::DoButtonClickPause() {
    GetOwner()->DisableAllTracking();
    RaiseClick(iptbbtPause);
}

void TPlotToolBar::SetAllAxesMode(bool zoom) {
    const TPlotAxisMode mode = zoom ? ipamZoom : ipamScroll;
    TPlotComponent& plot = *GetOwner();
    for (int i = 0; i < plot.XAxisCount(); ++i) plot.GetXAxis(i)->SetMode(mode);
    for (int i = 0; i < plot.YAxisCount(); ++i) plot.GetYAxis(i)->SetMode(mode);
}

void TPlotToolBar::DoButtonClickScrollAxesMode() {
    GetButton(iptbbtScrollAxesMode).SetDown(true);
    GetButton(iptbbtZoomAxesMode).SetDown(false);
    SetAllAxesMode(false);
    RaiseClick(iptbbtScrollAxesMode);
}

void TPlotToolBar::DoButtonClickZoomAxesMode() {
    GetButton(iptbbtZoomAxesMode).SetDown(true);
    GetButton(iptbbtScrollAxesMode).SetDown(false);
    SetAllAxesMode(true);
    RaiseClick(iptbbtZoomAxesMode);
}

// A log axis has no factor of its own: it widens or narrows by one decade on each side.
void TPlotToolBar::ZoomAllAxes(double linearFactor, double logFactor) {
    TPlotComponent& plot = *GetOwner();
    const auto zoom = [&](TPlotAxis& axis) {
        axis.Zoom(axis.GetScaleType() == ipstLinear ? linearFactor : logFactor);
    };
    for (int i = 0; i < plot.XAxisCount(); ++i) zoom(*plot.GetXAxis(i));
    for (int i = 0; i < plot.YAxisCount(); ++i) zoom(*plot.GetYAxis(i));
}

void TPlotToolBar::DoButtonClickZoomOut() {
    DoButtonClickPause();
    ZoomAllAxes(zoomInOutFactor_, 1.0);
    RaiseClick(iptbbtZoomOut);
}

void TPlotToolBar::DoButtonClickZoomIn() {
    DoButtonClickPause();
    ZoomAllAxes(1.0 / zoomInOutFactor_, -1.0);
    RaiseClick(iptbbtZoomIn);
}

void TPlotToolBar::DoButtonClickSelect() {
    TPlotToolBarButton& select = GetButton(iptbbtSelect);
    select.SetDown(!select.GetDown());
    GetButton(iptbbtZoomBox).SetDown(false);
    RaiseClick(iptbbtSelect);
}

void TPlotToolBar::DoButtonClickZoomBox() {
    GetButton(iptbbtSelect).SetDown(false);
    TPlotToolBarButton& zoomBox = GetButton(iptbbtZoomBox);
    zoomBox.SetDown(!zoomBox.GetDown());
    RaiseClick(iptbbtZoomBox);
}

void TPlotToolBar::DoButtonClickCursor() {
    TPlotToolBarButton& cursor = GetButton(iptbbtCursor);
    cursor.SetDown(!cursor.GetDown());
    RaiseClick(iptbbtCursor);
}

void TPlotToolBar::DoButtonClickEdit() {
    GetOwner()->DoObjectEdit(*this);
    RaiseClick(iptbbtEdit);
}

void TPlotToolBar::DoButtonClickCopy() {
    GetOwner()->ExportForUser(&TPlotComponent::CopyToClipBoard);
    RaiseClick(iptbbtCopy);
}
void TPlotToolBar::DoButtonClickSave() {
    GetOwner()->ExportForUser(&TPlotComponent::Save);
    RaiseClick(iptbbtSave);
}
void TPlotToolBar::DoButtonClickPrint() {
    GetOwner()->ExportForUser(&TPlotComponent::PrintChart);
    RaiseClick(iptbbtPrint);
}
void TPlotToolBar::DoButtonClickPreview() {
    GetOwner()->ExportForUser(&TPlotComponent::PreviewChart);
    RaiseClick(iptbbtPreview);
}

void TPlotToolBar::TurnOffCursor() { GetButton(iptbbtCursor).SetDown(false); }

// ---- Down changes and groups ---------------------------------------------------------------

// Measuring needs still data: showing the cursors pauses every axis, and hiding them leaves
// the axes paused until the user resumes.
void TPlotToolBar::CursorDownChange() {
    TPlotComponent& plot = *GetOwner();
    const bool shown = GetCursorActive();
    for (int i = 0; i < plot.DataCursorCount(); ++i) plot.GetDataCursor(i)->SetVisible(shown);
    if (!shown) return;
    plot.DisableAllTracking();
    if (plot.DataCursorCount() > 0) plot.GetDataCursor(0)->SetUserSelected(true);
}

// The plot's select mode is toolbar 0's Select button: another toolbar's Select makes toolbar 0
// follow, and for toolbar 0 itself the state already matches.
void TPlotToolBar::SelectDownChange() {
    TPlotComponent& plot = *GetOwner();
    if (GetSelectActive()) {
        plot.DisableAllTracking();
        plot.SetSelectModeActive(true);
    } else {
        plot.SetSelectModeActive(false);
    }
}

void TPlotToolBar::GroupClick(TPlotButton& clicked) {
    for (const auto& entry : entries_)
        if (entry.get() != &clicked && entry->GetGroupIndex() == clicked.GetGroupIndex()) entry->SetDown(false);
}

// ---- Spacers and Resume/Pause ----------------------------------------------------------------

void TPlotToolBar::UpdateSpacers() {
    const auto shown = [this](TPlotToolBarButtonType type) { return IsShown(type); };
    GetSpacer(1).SetVisible(shown(iptbbtResume) || shown(iptbbtPause));
    GetSpacer(2).SetVisible(shown(iptbbtScrollAxesMode) || shown(iptbbtZoomAxesMode));
    GetSpacer(3).SetVisible(shown(iptbbtZoomOut) || shown(iptbbtZoomIn));
    GetSpacer(4).SetVisible(shown(iptbbtZoomBox) || shown(iptbbtCursor));
    GetSpacer(5).SetVisible(shown(iptbbtEdit));
}

void TPlotToolBar::UpdateResumePauseButtons() {
    TPlotComponent& plot = *GetOwner();
    bool anyPaused = false;
    bool allPaused = true;
    const auto note = [&](const TPlotAxis& axis) {
        const bool paused = !axis.GetTrackingEnabled();
        anyPaused = anyPaused || paused;
        allPaused = allPaused && paused;
    };
    for (int i = 0; i < plot.XAxisCount(); ++i) note(*plot.GetXAxis(i));
    for (int i = 0; i < plot.YAxisCount(); ++i) note(*plot.GetYAxis(i));
    GetButton(iptbbtResume).SetEnabled(anyPaused);
    GetButton(iptbbtPause).SetEnabled(!allPaused);
}

// ---- Layout and input ----------------------------------------------------------------------

int TPlotToolBar::GetRequiredWidth(const TPlotTextMeasure&) { return smallButtons_ ? 28 : 36; }

TPlotObject* TPlotToolBar::GetMouseObject(int x, int y) {
    for (const auto& entry : entries_)
        if (entry->GetVisible() && entry->GetDrawRect().Contains(x, y)) return entry.get();
    return TPlotLayoutObject::GetMouseObject(x, y);
}

}  // namespace ondrix
