#include "plot/component/PlotComponent.h"

#include <algorithm>

#include "plot/component/PlotMasterManager.h"

namespace ondrix {

namespace {

template <class Manager>
void FreeAt(Manager& manager, int index) {
    manager.FreeObject(*manager.GetObject(index));
}

double NotNegative(double value) { return value >= 0 ? value : 0; }

}  // namespace

TPlotComponent::TPlotComponent() : master_(std::make_unique<TPlotMasterManager>(this)) {
    SetBackGroundColor(clBlack);
    SetBorderStyle(ibsLowered);
    master_->OnChange = [this](TPlotObject&) { MasterChange(); };
    master_->OnRemove = [this](TPlotObject& obj) { MasterRemove(obj); };
    master_->OnInvalidateNow = [this] { InvalidateNow(); };
}

TPlotComponent::~TPlotComponent() {
    BeginDestruction();
    master_->GetObjectManager()->ShutDownSetup();
    master_.reset();
}

void TPlotComponent::MasterChange() { InvalidateChange(); }

// The component holds no object yet; the mouse dispatch's down, over and hint objects will be
// forgotten here.
void TPlotComponent::MasterRemove(TPlotObject&) {}

// ---- Axis value events and object clicks -------------------------------------------------

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

void TPlotComponent::DoObjectClick(TPlotObject& obj) {
    if (!loading_ && OnObjectClick) OnObjectClick(obj);
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

bool TPlotComponent::GetSelectModeActive() const { return ToolBarCount() > 0 && GetToolBar(0)->GetSelectModeActive(); }

void TPlotComponent::SetSelectModeActive(bool value) {
    if (ToolBarCount() > 0) GetToolBar(0)->SetSelectModeActive(value);
}

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

void TPlotComponent::ClearAllData() { master_->ClearAllData(); }

// ---- Channels ----------------------------------------------------------------------------

int TPlotComponent::AddChannel() { return master_->AddChannel(); }
int TPlotComponent::ChannelCount() const { return GetChannelManager()->GetCount(); }
TPlotChannelCustom* TPlotComponent::GetChannel(int index) const { return GetChannelManager()->GetItem(index); }
TPlotChannelCustom* TPlotComponent::GetChannelByName(const std::string& name) const {
    return GetChannelManager()->GetItemByName(name);
}
int TPlotComponent::GetChannelIndexByName(const std::string& name) const {
    return GetChannelManager()->GetObjectIndexByName(name);
}
void TPlotComponent::DeleteChannel(int index) {
    FreeAt(*GetChannelManager(), index);
    InvalidateChange();
}
void TPlotComponent::RemoveAllChannels() { GetChannelManager()->Clear(); }
TPlotChannelManager* TPlotComponent::GetChannelManager() const { return master_->GetChannelManager(); }

// ---- X axes ------------------------------------------------------------------------------

int TPlotComponent::AddXAxis() { return master_->AddXAxis(); }
int TPlotComponent::XAxisCount() const { return GetXAxisManager()->GetCount(); }
TPlotXAxis* TPlotComponent::GetXAxis(int index) const { return GetXAxisManager()->GetItem(index); }
TPlotXAxis* TPlotComponent::GetXAxisByName(const std::string& name) const {
    return GetXAxisManager()->GetItemByName(name);
}
int TPlotComponent::GetXAxisIndexByName(const std::string& name) const {
    return GetXAxisManager()->GetObjectIndexByName(name);
}
void TPlotComponent::DeleteXAxis(int index) {
    FreeAt(*GetXAxisManager(), index);
    InvalidateChange();
}
void TPlotComponent::RemoveAllXAxes() { GetXAxisManager()->Clear(); }
TPlotXAxisManager* TPlotComponent::GetXAxisManager() const { return master_->GetXAxisManager(); }

// ---- Y axes ------------------------------------------------------------------------------

int TPlotComponent::AddYAxis() { return master_->AddYAxis(); }
int TPlotComponent::YAxisCount() const { return GetYAxisManager()->GetCount(); }
TPlotYAxis* TPlotComponent::GetYAxis(int index) const { return GetYAxisManager()->GetItem(index); }
TPlotYAxis* TPlotComponent::GetYAxisByName(const std::string& name) const {
    return GetYAxisManager()->GetItemByName(name);
}
int TPlotComponent::GetYAxisIndexByName(const std::string& name) const {
    return GetYAxisManager()->GetObjectIndexByName(name);
}
void TPlotComponent::DeleteYAxis(int index) {
    FreeAt(*GetYAxisManager(), index);
    InvalidateChange();
}
void TPlotComponent::RemoveAllYAxes() { GetYAxisManager()->Clear(); }
TPlotYAxisManager* TPlotComponent::GetYAxisManager() const { return master_->GetYAxisManager(); }

// ---- Data views --------------------------------------------------------------------------

int TPlotComponent::AddDataView() { return master_->AddDataView(); }
int TPlotComponent::DataViewCount() const { return GetDataViewManager()->GetCount(); }
TPlotDataView* TPlotComponent::GetDataView(int index) const { return GetDataViewManager()->GetItem(index); }
TPlotDataView* TPlotComponent::GetDataViewByName(const std::string& name) const {
    return GetDataViewManager()->GetItemByName(name);
}
int TPlotComponent::GetDataViewIndexByName(const std::string& name) const {
    return GetDataViewManager()->GetObjectIndexByName(name);
}
void TPlotComponent::DeleteDataView(int index) {
    FreeAt(*GetDataViewManager(), index);
    InvalidateChange();
}
void TPlotComponent::RemoveAllDataViews() { GetDataViewManager()->Clear(); }
TPlotDataViewManager* TPlotComponent::GetDataViewManager() const { return master_->GetDataViewManager(); }

// ---- Data cursors ------------------------------------------------------------------------

int TPlotComponent::AddDataCursor() { return master_->AddDataCursor(); }
int TPlotComponent::DataCursorCount() const { return GetDataCursorManager()->GetCount(); }
TPlotDataCursor* TPlotComponent::GetDataCursor(int index) const { return GetDataCursorManager()->GetItem(index); }
TPlotDataCursor* TPlotComponent::GetDataCursorByName(const std::string& name) const {
    return GetDataCursorManager()->GetItemByName(name);
}
int TPlotComponent::GetDataCursorIndexByName(const std::string& name) const {
    return GetDataCursorManager()->GetObjectIndexByName(name);
}
void TPlotComponent::DeleteDataCursor(int index) {
    FreeAt(*GetDataCursorManager(), index);
    InvalidateChange();
}
void TPlotComponent::RemoveAllDataCursors() { GetDataCursorManager()->Clear(); }
TPlotDataCursorManager* TPlotComponent::GetDataCursorManager() const { return master_->GetDataCursorManager(); }

// ---- Toolbars ----------------------------------------------------------------------------

int TPlotComponent::AddToolBar() { return master_->AddToolBar(); }
int TPlotComponent::ToolBarCount() const { return GetToolBarManager()->GetCount(); }
TPlotToolBar* TPlotComponent::GetToolBar(int index) const { return GetToolBarManager()->GetItem(index); }
TPlotToolBar* TPlotComponent::GetToolBarByName(const std::string& name) const {
    return GetToolBarManager()->GetItemByName(name);
}
int TPlotComponent::GetToolBarIndexByName(const std::string& name) const {
    return GetToolBarManager()->GetObjectIndexByName(name);
}
void TPlotComponent::DeleteToolBar(int index) {
    FreeAt(*GetToolBarManager(), index);
    InvalidateChange();
}
void TPlotComponent::RemoveAllToolBars() { GetToolBarManager()->Clear(); }
TPlotToolBarManager* TPlotComponent::GetToolBarManager() const { return master_->GetToolBarManager(); }

// ---- Legends -----------------------------------------------------------------------------

int TPlotComponent::AddLegend() { return master_->AddLegend(); }
int TPlotComponent::LegendCount() const { return GetLegendManager()->GetCount(); }
TPlotLegend* TPlotComponent::GetLegend(int index) const { return GetLegendManager()->GetItem(index); }
TPlotLegend* TPlotComponent::GetLegendByName(const std::string& name) const {
    return GetLegendManager()->GetItemByName(name);
}
int TPlotComponent::GetLegendIndexByName(const std::string& name) const {
    return GetLegendManager()->GetObjectIndexByName(name);
}
void TPlotComponent::DeleteLegend(int index) {
    FreeAt(*GetLegendManager(), index);
    InvalidateChange();
}
void TPlotComponent::RemoveAllLegends() { GetLegendManager()->Clear(); }
TPlotLegendManager* TPlotComponent::GetLegendManager() const { return master_->GetLegendManager(); }

// ---- Tables ------------------------------------------------------------------------------

int TPlotComponent::AddTable() { return master_->AddTable(); }
int TPlotComponent::TableCount() const { return GetTableManager()->GetCount(); }
TPlotTable* TPlotComponent::GetTable(int index) const { return GetTableManager()->GetItem(index); }
TPlotTable* TPlotComponent::GetTableByName(const std::string& name) const {
    return GetTableManager()->GetItemByName(name);
}
int TPlotComponent::GetTableIndexByName(const std::string& name) const {
    return GetTableManager()->GetObjectIndexByName(name);
}
void TPlotComponent::DeleteTable(int index) {
    FreeAt(*GetTableManager(), index);
    InvalidateChange();
}
void TPlotComponent::RemoveAllTables() { GetTableManager()->Clear(); }
TPlotTableManager* TPlotComponent::GetTableManager() const { return master_->GetTableManager(); }

// ---- Limits ------------------------------------------------------------------------------

int TPlotComponent::AddLimit() { return master_->AddLimit(); }
int TPlotComponent::LimitCount() const { return GetLimitManager()->GetCount(); }
TPlotLimit* TPlotComponent::GetLimit(int index) const { return GetLimitManager()->GetItem(index); }
TPlotLimit* TPlotComponent::GetLimitByName(const std::string& name) const {
    return GetLimitManager()->GetItemByName(name);
}
int TPlotComponent::GetLimitIndexByName(const std::string& name) const {
    return GetLimitManager()->GetObjectIndexByName(name);
}
void TPlotComponent::DeleteLimit(int index) {
    FreeAt(*GetLimitManager(), index);
    InvalidateChange();
}
void TPlotComponent::RemoveAllLimits() { GetLimitManager()->Clear(); }
TPlotLimitManager* TPlotComponent::GetLimitManager() const { return master_->GetLimitManager(); }

// ---- Labels ------------------------------------------------------------------------------

int TPlotComponent::AddLabel() { return master_->AddLabel(); }
int TPlotComponent::LabelCount() const { return GetLabelManager()->GetCount(); }
TPlotLabel* TPlotComponent::GetLabel(int index) const { return GetLabelManager()->GetItem(index); }
TPlotLabel* TPlotComponent::GetLabelByName(const std::string& name) const {
    return GetLabelManager()->GetItemByName(name);
}
int TPlotComponent::GetLabelIndexByName(const std::string& name) const {
    return GetLabelManager()->GetObjectIndexByName(name);
}

// Unlike the other kinds, no repaint of its own: the label's removal already reports a change.
void TPlotComponent::DeleteLabel(int index) {
    if (index == 0) throw EPlotError("Label Index 0 can not be Deleted (Resevered for Title)");
    FreeAt(*GetLabelManager(), index);
}

void TPlotComponent::RemoveAllLabels() {
    while (LabelCount() > 1) FreeAt(*GetLabelManager(), 1);
}

TPlotLabelManager* TPlotComponent::GetLabelManager() const { return master_->GetLabelManager(); }

// ---- Annotations -------------------------------------------------------------------------

int TPlotComponent::AddAnnotation() { return master_->AddAnnotation(); }
int TPlotComponent::AnnotationCount() const { return master_->GetAnnotationManager()->GetCount(); }
TPlotAnnotation* TPlotComponent::GetAnnotation(int index) const {
    return master_->GetAnnotationManager()->GetItem(index);
}
TPlotAnnotation* TPlotComponent::GetAnnotationByName(const std::string& name) const {
    return master_->GetAnnotationManager()->GetItemByName(name);
}
int TPlotComponent::GetAnnotationIndexByName(const std::string& name) const {
    return master_->GetAnnotationManager()->GetObjectIndexByName(name);
}
void TPlotComponent::DeleteAnnotation(int index) {
    FreeAt(*master_->GetAnnotationManager(), index);
    InvalidateChange();
}
void TPlotComponent::RemoveAllAnnotations() { master_->GetAnnotationManager()->Clear(); }

void TPlotComponent::DoDataPointClick(TPlotChannelCustom& channel, int index) {
    if (loading_ || !OnClickDataPoint) return;
    const int channelIndex = GetChannelManager()->IndexOf(channel);
    if (channelIndex >= 0) OnClickDataPoint(channelIndex, index);
}

}  // namespace ondrix
