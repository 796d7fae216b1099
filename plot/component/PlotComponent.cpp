#include "plot/component/PlotComponent.h"

#include <algorithm>

#include "plot/component/PlotMasterManager.h"

namespace ondrix {

namespace {

// The family operations of object kind T, written once for every kind: the published Add...,
// ...Count, Get..., Get...ByName, Get...IndexByName, Delete... and RemoveAll... only choose the
// kind's manager. An index outside the list fails in the manager with "List index out of bounds
// (%d)"; an unknown name answers null, or -1 for its index.
template <class T>
class TPlotFamily {
public:
    explicit TPlotFamily(TPlotKindManager<T>* manager) : manager_(*manager) {}

    // Makes an object of the kind and completes it (Loaded), which lists it: its index is the last.
    int Add() const {
        manager_.CreateObject().Loaded();
        return manager_.GetCount() - 1;
    }
    int Count() const { return manager_.GetCount(); }
    T* Get(int index) const { return manager_.GetItem(index); }
    T* GetByName(const std::string& name) const { return manager_.GetItemByName(name); }
    int IndexByName(const std::string& name) const { return manager_.GetObjectIndexByName(name); }
    // Frees the object; its removal reports a change on its way out.
    void Free(int index) const { manager_.FreeObject(*manager_.GetObject(index)); }
    // Frees the object, then asks the owner for a repaint of its own.
    void Delete(int index, TComponentBase& owner) const {
        Free(index);
        owner.InvalidateChange();
    }
    // Frees every object of the kind, listed or not yet loaded.
    void RemoveAll() const { manager_.Clear(); }

private:
    TPlotKindManager<T>& manager_;
};

// The kind follows from the manager, which is a TPlotKindManager<T>.
template <class T>
TPlotFamily<T> Family(TPlotKindManager<T>* manager) {
    return TPlotFamily<T>(manager);
}

double NotNegative(double value) { return value >= 0 ? value : 0; }

}  // namespace

TPlotComponent::TPlotComponent() : master_(std::make_unique<TPlotMasterManager>(this)) {
    SetBackGroundColor(clBlack);
    SetBorderStyle(ibsLowered);
    OnTimer = [this] { HintTimer(); };
    master_->OnChange = [this](TPlotObject&) { MasterChange(); };
    master_->OnRemove = [this](TPlotObject& obj) { MasterRemove(obj); };
    master_->OnInsert = [this](TPlotObject& obj) { JoinInput(obj); };
    master_->OnInvalidateNow = [this] { InvalidateNow(); };
    master_->OnUnexpectedError = [this](const std::string& source, const std::exception& error) {
        ReportUnexpectedError(source, error);
    };
}

TPlotComponent::~TPlotComponent() {
    // The rows still pending belong in the log file as much as those written before.
    if (loggingActive_) {
        try {
            LogDeactivate();
        } catch (const std::exception& error) {
            ReportUnexpectedError("the data log", error);
        }
    }
    master_->GetObjectManager()->ShutDownSetup();
    master_.reset();
}

void TPlotComponent::MasterChange() { InvalidateChange(); }

// The pressed and the hovered object may be the leaving object or a part of it (a toolbar's
// button), which the plot cannot tell: it forgets both rather than keep a dangling one. The
// gesture then ends without its release reaching that object.
void TPlotComponent::MasterRemove(TPlotObject&) {
    downObject_ = nullptr;
    overObject_ = nullptr;
}

// ---- Axis value events -------------------------------------------------

int TPlotComponent::AxisIndex(const TPlotAxis& axis) const {
    return axis.IsXAxis() ? GetXAxisManager()->IndexOf(axis) : GetYAxisManager()->IndexOf(axis);
}

void TPlotComponent::DoAxesMinChange(const TPlotAxis& axis, double oldValue, double newValue) {
    if (loading_) return;
    const int index = AxisIndex(axis);
    if (index < 0) return;
    const TPlotObjectDoubleValueChangeEvent& event = axis.IsXAxis() ? OnXAxisMinChange : OnYAxisMinChange;
    if (event) event(index, oldValue, newValue);
}

void TPlotComponent::DoAxesSpanChange(const TPlotAxis& axis, double oldValue, double newValue) {
    if (loading_) return;
    const int index = AxisIndex(axis);
    if (index < 0) return;
    const TPlotObjectDoubleValueChangeEvent& event = axis.IsXAxis() ? OnXAxisSpanChange : OnYAxisSpanChange;
    if (event) event(index, oldValue, newValue);
}

void TPlotComponent::DoAxesMinSpanChange(const TPlotAxis& axis, double oldMin, double oldSpan, double newMin,
                                         double newSpan) {
    if (loading_) return;
    const int index = AxisIndex(axis);
    if (index < 0) return;
    const TPlotAxesMinSpanChangeEvent& event = axis.IsXAxis() ? OnXAxisMinSpanChange : OnYAxisMinSpanChange;
    if (event) event(index, oldMin, oldSpan, newMin, newSpan);
}

// ---- Managers ----------------------------------------------------------------------------

TPlotLayoutManager* TPlotComponent::GetLayoutManager() const { return master_->GetLayoutManager(); }
TPlotObjectManager* TPlotComponent::GetPlotObjectManager() const { return master_->GetObjectManager(); }
void TPlotComponent::DisableLayoutManager() { GetLayoutManager()->SetEnabled(false); }
void TPlotComponent::EnableLayoutManager() { GetLayoutManager()->SetEnabled(true); }
void TPlotComponent::SetChannelClass(TPlotChannelClass channelClass) { master_->SetChannelClass(channelClass); }

// ---- Plot-wide properties ----------------------------------------------------------------

int32_t TPlotComponent::GetDataViewZHorz() const { return GetLayoutManager()->GetDataViewHorz().GetZOrder(); }
void TPlotComponent::SetDataViewZHorz(int32_t value) { GetLayoutManager()->GetDataViewHorz().SetZOrder(value); }
int32_t TPlotComponent::GetDataViewZVert() const { return GetLayoutManager()->GetDataViewVert().GetZOrder(); }
void TPlotComponent::SetDataViewZVert(int32_t value) { GetLayoutManager()->GetDataViewVert().SetZOrder(value); }

bool TPlotComponent::GetUserCanEditObjects() const { return master_->GetUserCanEditObjects(); }
void TPlotComponent::SetUserCanEditObjects(bool value) { master_->SetUserCanEditObjects(value); }
bool TPlotComponent::GetXYAxesReverse() const { return master_->GetXYAxesReverse(); }
void TPlotComponent::SetXYAxesReverse(bool value) { master_->SetXYAxesReverse(value); }

void TPlotComponent::SetHintsFont(const TPlotFont& value) { Store(hintsFont_, ClampedFont(value)); }

std::string TPlotComponent::GetTitleText() const { return LabelCount() > 0 ? GetLabel(0)->GetCaption() : ""; }

void TPlotComponent::SetTitleText(const std::string& value) {
    if (LabelCount() > 0) GetLabel(0)->SetCaption(value);
}

bool TPlotComponent::GetTitleVisible() const { return LabelCount() > 0 && GetLabel(0)->GetVisible(); }

void TPlotComponent::SetTitleVisible(bool value) {
    if (LabelCount() > 0) GetLabel(0)->SetVisible(value);
}

double TPlotComponent::GetTitleMargin() const { return LabelCount() > 0 ? GetLabel(0)->GetMarginBottom() : 0; }

void TPlotComponent::SetTitleMargin(double value) {
    if (LabelCount() > 0) GetLabel(0)->SetMarginBottom(value);
}

TPlotFont TPlotComponent::GetTitleFont() const { return LabelCount() > 0 ? GetLabel(0)->GetFont() : TPlotFont(); }

void TPlotComponent::SetTitleFont(const TPlotFont& value) {
    if (LabelCount() > 0) GetLabel(0)->SetFont(value);
}

bool TPlotComponent::GetSelectModeActive() const { return ToolBarCount() > 0 && GetToolBar(0)->GetSelectActive(); }

// Through the Select handler, so that the mode change pauses the axes and raises its event as a
// click would.
void TPlotComponent::SetSelectModeActive(bool value) {
    if (ToolBarCount() > 0 && value != GetToolBar(0)->GetSelectActive()) GetToolBar(0)->DoButtonClickSelect();
}

void TPlotComponent::ClearAllUserSelections() { GetPlotObjectManager()->ClearAllUserSelections(); }

// ---- Export and printing settings -------------------------------------------------------

void TPlotComponent::SetPrintMarginLeft(double value) { printMarginLeft_ = NotNegative(value); }
void TPlotComponent::SetPrintMarginTop(double value) { printMarginTop_ = NotNegative(value); }
void TPlotComponent::SetPrintMarginRight(double value) { printMarginRight_ = NotNegative(value); }
void TPlotComponent::SetPrintMarginBottom(double value) { printMarginBottom_ = NotNegative(value); }

// ---- Channel data ------------------------------------------------------------------------

void TPlotComponent::TransferChannelData(int source, int destination, int start, int stop) {
    TPlotChannelCustom& from = *GetChannel(source);
    TPlotChannelCustom& to = *GetChannel(destination);
    if (start < 0) throw EPlotError("Start Index Must be 0 or Greater");
    if (stop > from.GetCount() - 1) throw EPlotError("StopIndex Must Out Of Range");
    for (int i = start; i <= stop; ++i) {
        to.AddXY(from.GetDataX(i), from.GetDataY(i));
        const int added = to.GetCount() - 1;
        to.SetDataNull(added, from.GetDataNull(i));
        to.SetDataEmpty(added, from.GetDataEmpty(i));
    }
}

void TPlotComponent::ClearAllData() {
    if (loggingActive_) LogDeactivate();
    master_->ClearAllData();
}

// ---- Channels ----------------------------------------------------------------------------

int TPlotComponent::AddChannel() { return Family(GetChannelManager()).Add(); }
int TPlotComponent::ChannelCount() const { return Family(GetChannelManager()).Count(); }
TPlotChannelCustom* TPlotComponent::GetChannel(int index) const { return Family(GetChannelManager()).Get(index); }
TPlotChannelCustom* TPlotComponent::GetChannelByName(const std::string& name) const {
    return Family(GetChannelManager()).GetByName(name);
}
int TPlotComponent::GetChannelIndexByName(const std::string& name) const {
    return Family(GetChannelManager()).IndexByName(name);
}
void TPlotComponent::DeleteChannel(int index) { Family(GetChannelManager()).Delete(index, *this); }
void TPlotComponent::RemoveAllChannels() { Family(GetChannelManager()).RemoveAll(); }
TPlotChannelManager* TPlotComponent::GetChannelManager() const { return master_->GetChannelManager(); }

// ---- X axes ------------------------------------------------------------------------------

int TPlotComponent::AddXAxis() { return Family(GetXAxisManager()).Add(); }
int TPlotComponent::XAxisCount() const { return Family(GetXAxisManager()).Count(); }
TPlotXAxis* TPlotComponent::GetXAxis(int index) const { return Family(GetXAxisManager()).Get(index); }
TPlotXAxis* TPlotComponent::GetXAxisByName(const std::string& name) const {
    return Family(GetXAxisManager()).GetByName(name);
}
int TPlotComponent::GetXAxisIndexByName(const std::string& name) const {
    return Family(GetXAxisManager()).IndexByName(name);
}
void TPlotComponent::DeleteXAxis(int index) { Family(GetXAxisManager()).Delete(index, *this); }
void TPlotComponent::RemoveAllXAxes() { Family(GetXAxisManager()).RemoveAll(); }
TPlotXAxisManager* TPlotComponent::GetXAxisManager() const { return master_->GetXAxisManager(); }

// ---- Y axes ------------------------------------------------------------------------------

int TPlotComponent::AddYAxis() { return Family(GetYAxisManager()).Add(); }
int TPlotComponent::YAxisCount() const { return Family(GetYAxisManager()).Count(); }
TPlotYAxis* TPlotComponent::GetYAxis(int index) const { return Family(GetYAxisManager()).Get(index); }
TPlotYAxis* TPlotComponent::GetYAxisByName(const std::string& name) const {
    return Family(GetYAxisManager()).GetByName(name);
}
int TPlotComponent::GetYAxisIndexByName(const std::string& name) const {
    return Family(GetYAxisManager()).IndexByName(name);
}
void TPlotComponent::DeleteYAxis(int index) { Family(GetYAxisManager()).Delete(index, *this); }
void TPlotComponent::RemoveAllYAxes() { Family(GetYAxisManager()).RemoveAll(); }
TPlotYAxisManager* TPlotComponent::GetYAxisManager() const { return master_->GetYAxisManager(); }

// ---- Data views --------------------------------------------------------------------------

int TPlotComponent::AddDataView() { return Family(GetDataViewManager()).Add(); }
int TPlotComponent::DataViewCount() const { return Family(GetDataViewManager()).Count(); }
TPlotDataView* TPlotComponent::GetDataView(int index) const { return Family(GetDataViewManager()).Get(index); }
TPlotDataView* TPlotComponent::GetDataViewByName(const std::string& name) const {
    return Family(GetDataViewManager()).GetByName(name);
}
int TPlotComponent::GetDataViewIndexByName(const std::string& name) const {
    return Family(GetDataViewManager()).IndexByName(name);
}
void TPlotComponent::DeleteDataView(int index) { Family(GetDataViewManager()).Delete(index, *this); }
void TPlotComponent::RemoveAllDataViews() { Family(GetDataViewManager()).RemoveAll(); }
TPlotDataViewManager* TPlotComponent::GetDataViewManager() const { return master_->GetDataViewManager(); }

// ---- Data cursors ------------------------------------------------------------------------

int TPlotComponent::AddDataCursor() { return Family(GetDataCursorManager()).Add(); }
int TPlotComponent::DataCursorCount() const { return Family(GetDataCursorManager()).Count(); }
TPlotDataCursor* TPlotComponent::GetDataCursor(int index) const { return Family(GetDataCursorManager()).Get(index); }
TPlotDataCursor* TPlotComponent::GetDataCursorByName(const std::string& name) const {
    return Family(GetDataCursorManager()).GetByName(name);
}
int TPlotComponent::GetDataCursorIndexByName(const std::string& name) const {
    return Family(GetDataCursorManager()).IndexByName(name);
}
void TPlotComponent::DeleteDataCursor(int index) { Family(GetDataCursorManager()).Delete(index, *this); }
void TPlotComponent::RemoveAllDataCursors() { Family(GetDataCursorManager()).RemoveAll(); }
TPlotDataCursorManager* TPlotComponent::GetDataCursorManager() const { return master_->GetDataCursorManager(); }

// ---- Toolbars ----------------------------------------------------------------------------

int TPlotComponent::AddToolBar() { return Family(GetToolBarManager()).Add(); }
int TPlotComponent::ToolBarCount() const { return Family(GetToolBarManager()).Count(); }
TPlotToolBar* TPlotComponent::GetToolBar(int index) const { return Family(GetToolBarManager()).Get(index); }
TPlotToolBar* TPlotComponent::GetToolBarByName(const std::string& name) const {
    return Family(GetToolBarManager()).GetByName(name);
}
int TPlotComponent::GetToolBarIndexByName(const std::string& name) const {
    return Family(GetToolBarManager()).IndexByName(name);
}
void TPlotComponent::DeleteToolBar(int index) { Family(GetToolBarManager()).Delete(index, *this); }
void TPlotComponent::RemoveAllToolBars() { Family(GetToolBarManager()).RemoveAll(); }
TPlotToolBarManager* TPlotComponent::GetToolBarManager() const { return master_->GetToolBarManager(); }

// ---- Legends -----------------------------------------------------------------------------

int TPlotComponent::AddLegend() { return Family(GetLegendManager()).Add(); }
int TPlotComponent::LegendCount() const { return Family(GetLegendManager()).Count(); }
TPlotLegend* TPlotComponent::GetLegend(int index) const { return Family(GetLegendManager()).Get(index); }
TPlotLegend* TPlotComponent::GetLegendByName(const std::string& name) const {
    return Family(GetLegendManager()).GetByName(name);
}
int TPlotComponent::GetLegendIndexByName(const std::string& name) const {
    return Family(GetLegendManager()).IndexByName(name);
}
void TPlotComponent::DeleteLegend(int index) { Family(GetLegendManager()).Delete(index, *this); }
void TPlotComponent::RemoveAllLegends() { Family(GetLegendManager()).RemoveAll(); }
TPlotLegendManager* TPlotComponent::GetLegendManager() const { return master_->GetLegendManager(); }

// ---- Tables ------------------------------------------------------------------------------

int TPlotComponent::AddTable() { return Family(GetTableManager()).Add(); }
int TPlotComponent::TableCount() const { return Family(GetTableManager()).Count(); }
TPlotTable* TPlotComponent::GetTable(int index) const { return Family(GetTableManager()).Get(index); }
TPlotTable* TPlotComponent::GetTableByName(const std::string& name) const {
    return Family(GetTableManager()).GetByName(name);
}
int TPlotComponent::GetTableIndexByName(const std::string& name) const {
    return Family(GetTableManager()).IndexByName(name);
}
void TPlotComponent::DeleteTable(int index) { Family(GetTableManager()).Delete(index, *this); }
void TPlotComponent::RemoveAllTables() { Family(GetTableManager()).RemoveAll(); }
TPlotTableManager* TPlotComponent::GetTableManager() const { return master_->GetTableManager(); }

// ---- Limits ------------------------------------------------------------------------------

int TPlotComponent::AddLimit() { return Family(GetLimitManager()).Add(); }
int TPlotComponent::LimitCount() const { return Family(GetLimitManager()).Count(); }
TPlotLimit* TPlotComponent::GetLimit(int index) const { return Family(GetLimitManager()).Get(index); }
TPlotLimit* TPlotComponent::GetLimitByName(const std::string& name) const {
    return Family(GetLimitManager()).GetByName(name);
}
int TPlotComponent::GetLimitIndexByName(const std::string& name) const {
    return Family(GetLimitManager()).IndexByName(name);
}
void TPlotComponent::DeleteLimit(int index) { Family(GetLimitManager()).Delete(index, *this); }
void TPlotComponent::RemoveAllLimits() { Family(GetLimitManager()).RemoveAll(); }
TPlotLimitManager* TPlotComponent::GetLimitManager() const { return master_->GetLimitManager(); }

// ---- Labels ------------------------------------------------------------------------------

int TPlotComponent::AddLabel() { return Family(GetLabelManager()).Add(); }
int TPlotComponent::LabelCount() const { return Family(GetLabelManager()).Count(); }
TPlotLabel* TPlotComponent::GetLabel(int index) const { return Family(GetLabelManager()).Get(index); }
TPlotLabel* TPlotComponent::GetLabelByName(const std::string& name) const {
    return Family(GetLabelManager()).GetByName(name);
}
int TPlotComponent::GetLabelIndexByName(const std::string& name) const {
    return Family(GetLabelManager()).IndexByName(name);
}

// Label 0 is the title. Unlike the other kinds, no repaint of its own: the label's removal
// already reports a change.
void TPlotComponent::DeleteLabel(int index) {
    if (index == 0) throw EPlotError("Label Index 0 can not be Deleted (Resevered for Title)");
    Family(GetLabelManager()).Free(index);
}

void TPlotComponent::RemoveAllLabels() {
    while (LabelCount() > 1) Family(GetLabelManager()).Free(1);
}

TPlotLabelManager* TPlotComponent::GetLabelManager() const { return master_->GetLabelManager(); }

// ---- Annotations -------------------------------------------------------------------------

int TPlotComponent::AddAnnotation() { return Family(master_->GetAnnotationManager()).Add(); }
int TPlotComponent::AnnotationCount() const { return Family(master_->GetAnnotationManager()).Count(); }
TPlotAnnotation* TPlotComponent::GetAnnotation(int index) const {
    return Family(master_->GetAnnotationManager()).Get(index);
}
TPlotAnnotation* TPlotComponent::GetAnnotationByName(const std::string& name) const {
    return Family(master_->GetAnnotationManager()).GetByName(name);
}
int TPlotComponent::GetAnnotationIndexByName(const std::string& name) const {
    return Family(master_->GetAnnotationManager()).IndexByName(name);
}
void TPlotComponent::DeleteAnnotation(int index) { Family(master_->GetAnnotationManager()).Delete(index, *this); }
void TPlotComponent::RemoveAllAnnotations() { Family(master_->GetAnnotationManager()).RemoveAll(); }

}  // namespace ondrix
