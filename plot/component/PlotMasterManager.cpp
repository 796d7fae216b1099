#include "plot/component/PlotMasterManager.h"

#include "plot/channels/PlotChannel.h"

namespace ondrix {

TPlotMasterManager::TPlotMasterManager(TPlotComponent* owner) {
    objectManager_ = std::make_unique<TPlotObjectManager>(owner, ManagerEvents());
    toolBarManager_ = std::make_unique<TPlotToolBarManager>(owner, ManagerEvents());
    legendManager_ = std::make_unique<TPlotLegendManager>(owner, ManagerEvents());
    tableManager_ = std::make_unique<TPlotTableManager>(owner, ManagerEvents());
    channelManager_ = std::make_unique<TPlotChannelManager>(owner, ManagerEvents(), &CreateChannel<TPlotChannel>);
    dataCursorManager_ = std::make_unique<TPlotDataCursorManager>(owner, ManagerEvents());
    dataViewManager_ = std::make_unique<TPlotDataViewManager>(owner, ManagerEvents());
    xAxisManager_ = std::make_unique<TPlotXAxisManager>(owner, ManagerEvents());
    yAxisManager_ = std::make_unique<TPlotYAxisManager>(owner, ManagerEvents());
    limitManager_ = std::make_unique<TPlotLimitManager>(owner, ManagerEvents());
    labelManager_ = std::make_unique<TPlotLabelManager>(owner, ManagerEvents());
    annotationManager_ = std::make_unique<TPlotAnnotationManager>(owner, ManagerEvents());
    layoutManager_ = std::make_unique<TPlotLayoutManager>(owner, ManagerEvents());

    for (TPlotAxisManagerLinks* links : {static_cast<TPlotAxisManagerLinks*>(channelManager_.get()),
                                         static_cast<TPlotAxisManagerLinks*>(dataViewManager_.get()),
                                         static_cast<TPlotAxisManagerLinks*>(limitManager_.get())}) {
        links->SetXAxisManager(xAxisManager_.get());
        links->SetYAxisManager(yAxisManager_.get());
    }
    dataCursorManager_->SetChannelManager(channelManager_.get());
    dataCursorManager_->SetDataViewManager(dataViewManager_.get());
}

TPlotMasterManager::~TPlotMasterManager() {
    for (TPlotAxisManagerLinks* links : {static_cast<TPlotAxisManagerLinks*>(channelManager_.get()),
                                         static_cast<TPlotAxisManagerLinks*>(dataViewManager_.get()),
                                         static_cast<TPlotAxisManagerLinks*>(limitManager_.get())}) {
        links->SetXAxisManager(nullptr);
        links->SetYAxisManager(nullptr);
    }
    dataCursorManager_->SetChannelManager(nullptr);
    dataCursorManager_->SetDataViewManager(nullptr);

    toolBarManager_.reset();
    legendManager_.reset();
    tableManager_.reset();
    channelManager_.reset();
    xAxisManager_.reset();
    yAxisManager_.reset();
    dataViewManager_.reset();
    dataCursorManager_.reset();
    limitManager_.reset();
    labelManager_.reset();
    annotationManager_.reset();
    objectManager_.reset();
    layoutManager_.reset();
}

TPlotObjectEvents TPlotMasterManager::ManagerEvents() {
    return {[this](TPlotObject& obj) { NotificationChange(obj); },
            [this](TPlotObject& obj) { NotificationInsert(obj); },
            [this](TPlotObject& obj) { NotificationRemove(obj); },
            [this](TPlotObject& obj) { NotificationRename(obj); }};
}

std::vector<TPlotObjectOwnedManager*> TPlotMasterManager::KindManagers() const {
    std::vector<TPlotObjectOwnedManager*> managers;
    for (TPlotObjectOwnedManager* manager :
         {static_cast<TPlotObjectOwnedManager*>(toolBarManager_.get()),
          static_cast<TPlotObjectOwnedManager*>(legendManager_.get()),
          static_cast<TPlotObjectOwnedManager*>(tableManager_.get()),
          static_cast<TPlotObjectOwnedManager*>(xAxisManager_.get()),
          static_cast<TPlotObjectOwnedManager*>(yAxisManager_.get()),
          static_cast<TPlotObjectOwnedManager*>(channelManager_.get()),
          static_cast<TPlotObjectOwnedManager*>(dataViewManager_.get()),
          static_cast<TPlotObjectOwnedManager*>(dataCursorManager_.get()),
          static_cast<TPlotObjectOwnedManager*>(limitManager_.get()),
          static_cast<TPlotObjectOwnedManager*>(labelManager_.get()),
          static_cast<TPlotObjectOwnedManager*>(annotationManager_.get())}) {
        if (manager != nullptr) managers.push_back(manager);
    }
    return managers;
}

// ---- Channel class -----------------------------------------------------------------------

TPlotChannelClass TPlotMasterManager::GetChannelClass() const { return channelManager_->GetChannelClass(); }

void TPlotMasterManager::SetChannelClass(TPlotChannelClass channelClass) {
    channelManager_->SetChannelClass(channelClass);
}

// ---- Plot-wide settings ------------------------------------------------------------------

void TPlotMasterManager::SetUserCanEditObjects(bool value) {
    userCanEditObjects_ = value;
    for (TPlotObject* obj : objectManager_->GetObjects()) obj->SetUserCanEdit(value);
}

void TPlotMasterManager::SetXYAxesReverse(bool value) {
    xyAxesReverse_ = value;
    layoutManager_->SetXYAxesReverse(value);
    for (TPlotObjectOwnedManager* manager : KindManagers()) {
        for (TPlotObject* obj : manager->GetObjects()) obj->SetXYAxesReversed(value);
    }
    if (OnInvalidateNow) OnInvalidateNow();
}

void TPlotMasterManager::ShowToolBars(bool visible) {
    for (TPlotObject* toolBar : toolBarManager_->GetObjects()) toolBar->SetVisible(visible);
}

void TPlotMasterManager::DeSelectAll() {
    for (TPlotObject* obj : objectManager_->GetObjects()) obj->SetUserSelected(false);
}

void TPlotMasterManager::ClearAllData() {
    for (TPlotObject* channel : channelManager_->GetObjects()) static_cast<TPlotChannelCustom*>(channel)->Clear();
    for (TPlotObject* axis : xAxisManager_->GetObjects()) static_cast<TPlotAxis*>(axis)->ResetFirstAlign();
    for (TPlotObject* axis : yAxisManager_->GetObjects()) static_cast<TPlotAxis*>(axis)->ResetFirstAlign();
}

// ---- Notifications -----------------------------------------------------------------------

void TPlotMasterManager::NotificationInsert(TPlotObject& obj) {
    objectManager_->NotificationInsert(obj);
    if (layoutManager_ != nullptr) layoutManager_->NotificationInsert(obj);
    for (TPlotObjectOwnedManager* manager : KindManagers()) manager->NotificationInsert(obj);

    obj.OnSetFocus = [this](TPlotObject& selected) { NotificationSetFocus(selected); };
    obj.OnInvalidateNow = [this] {
        if (OnInvalidateNow) OnInvalidateNow();
    };
    obj.OnUnexpectedError = [this](const std::string& source, const std::exception& error) {
        ReportUnexpectedError(OnUnexpectedError, source, error);
    };
    obj.SetUserCanEdit(userCanEditObjects_);
    obj.SetXYAxesReversed(xyAxesReverse_);
    if (OnInsert) OnInsert(obj);
}

void TPlotMasterManager::NotificationRemove(TPlotObject& obj) {
    if (OnRemove) OnRemove(obj);
    if (objectManager_ != nullptr) objectManager_->NotificationRemove(obj);
    if (layoutManager_ != nullptr) layoutManager_->NotificationRemove(obj);
    for (TPlotObjectOwnedManager* manager : KindManagers()) manager->NotificationRemove(obj);
}

void TPlotMasterManager::NotificationRename(TPlotObject& obj) {
    for (TPlotObjectOwnedManager* manager : KindManagers()) manager->NotificationRename(obj);
    if (layoutManager_ != nullptr) layoutManager_->NotificationRename(obj);
}

void TPlotMasterManager::NotificationSetFocus(TPlotObject& obj) {
    for (TPlotObjectOwnedManager* manager : KindManagers()) manager->NotificationSetFocus(obj);
    if (layoutManager_ != nullptr) layoutManager_->NotificationSetFocus(obj);
}

void TPlotMasterManager::NotificationChange(TPlotObject& obj) {
    if (OnChange) OnChange(obj);
}

}  // namespace ondrix
