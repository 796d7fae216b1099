#pragma once
// The master manager of a plot: owns the per-kind managers, the object manager and the layout
// manager, and routes the five notifications that tie the objects together (insert, remove,
// rename, set-focus, change).
//
// Every manager it makes gets the master's four handlers (NotificationChange, NotificationInsert,
// NotificationRemove, NotificationRename) and hands them to every object it creates, so an
// object reaches the master through its own OnChange, OnInsert, OnRemove and OnRename.
//
// Life of an object:
//   1. A per-kind manager's CreateObject makes it (an Add... of the component, or a stored
//      configuration being read); the manager owns it (std::unique_ptr) from then on. It is in
//      no list yet.
//   2. Properties are set (or read from a stored configuration), then Loaded: OnInsert brings it
//      to NotificationInsert, which lists it in the object manager, in the layout manager if it
//      is a layout object, then in its kind's manager, which names it if it has no name and sets
//      the kind's defaults.
//   3. Freeing (a Delete... or RemoveAll... of the component, or a manager's Clear): the owning
//      manager moves the unique_ptr out of its store, then the object, still whole, reports
//      its removal: OnRemove brings it to NotificationRemove, which tells the component first,
//      then takes it out of every list; each owned manager first tells all its other objects,
//      so that channels, data views and cursors drop their cached references to it. Then the
//      layout hears of the change, and only then is the object destroyed. Its destructor calls
//      nobody, so nothing can reach an object that is partly gone.
//   4. Destruction of the plot: the component first unhooks OnRemove, OnLayoutChange and
//      OnChange of every object (TPlotObjectManager::ShutDownSetup). The master then unlinks the
//      managers from each other and frees them in the order toolbar, legend, table, channel,
//      X axis, Y axis, data view, data cursor, limit, label, annotation, object manager, layout
//      manager; each owned manager destroys its objects silently. The object and layout managers
//      only point at objects, and go last.
//
// Threads: GUI thread only.

#include <functional>
#include <memory>
#include <vector>

#include "plot/channels/PlotChannelCustom.h"
#include "plot/component/PlotLayoutManager.h"
#include "plot/component/PlotManagers.h"
#include "plot/objects/PlotObjects.h"

namespace ondrix {

class TPlotMasterManager {
public:
    explicit TPlotMasterManager(TPlotComponent* owner);
    ~TPlotMasterManager();
    TPlotMasterManager(const TPlotMasterManager&) = delete;
    TPlotMasterManager& operator=(const TPlotMasterManager&) = delete;

    // The component's hooks.
    std::function<void()> OnInvalidateNow;
    TPlotErrorReport OnUnexpectedError;
    TPlotObjectEvent OnChange;
    TPlotObjectEvent OnInsert;
    TPlotObjectEvent OnRemove;

    TPlotChannelClass GetChannelClass() const;
    void SetChannelClass(TPlotChannelClass channelClass);

    // Copied into every object's UserCanEdit, and into every object that joins later.
    bool GetUserCanEditObjects() const { return userCanEditObjects_; }
    void SetUserCanEditObjects(bool value);
    // X axes vertical and Y axes horizontal; passed to the layout manager and to every object.
    bool GetXYAxesReverse() const { return xyAxesReverse_; }
    void SetXYAxesReverse(bool value);

    void ShowToolBars(bool visible);
    void DeSelectAll();
    // Clear on every channel, then ResetFirstAlign on every X and Y axis, so that the next data
    // places the axes as the first data did.
    void ClearAllData();

    void NotificationInsert(TPlotObject& obj);
    void NotificationRemove(TPlotObject& obj);
    void NotificationRename(TPlotObject& obj);
    void NotificationSetFocus(TPlotObject& obj);
    void NotificationChange(TPlotObject& obj);

    TPlotToolBarManager* GetToolBarManager() const { return toolBarManager_.get(); }
    TPlotLegendManager* GetLegendManager() const { return legendManager_.get(); }
    TPlotTableManager* GetTableManager() const { return tableManager_.get(); }
    TPlotXAxisManager* GetXAxisManager() const { return xAxisManager_.get(); }
    TPlotYAxisManager* GetYAxisManager() const { return yAxisManager_.get(); }
    TPlotChannelManager* GetChannelManager() const { return channelManager_.get(); }
    TPlotDataViewManager* GetDataViewManager() const { return dataViewManager_.get(); }
    TPlotDataCursorManager* GetDataCursorManager() const { return dataCursorManager_.get(); }
    TPlotLimitManager* GetLimitManager() const { return limitManager_.get(); }
    TPlotLabelManager* GetLabelManager() const { return labelManager_.get(); }
    TPlotAnnotationManager* GetAnnotationManager() const { return annotationManager_.get(); }
    TPlotObjectManager* GetObjectManager() const { return objectManager_.get(); }
    TPlotLayoutManager* GetLayoutManager() const { return layoutManager_.get(); }

private:
    // The eleven per-kind managers in notification order; empty slots left out.
    std::vector<TPlotObjectOwnedManager*> KindManagers() const;
    TPlotObjectEvents ManagerEvents();

    bool userCanEditObjects_ = true;
    bool xyAxesReverse_ = false;
    std::unique_ptr<TPlotObjectManager> objectManager_;
    std::unique_ptr<TPlotToolBarManager> toolBarManager_;
    std::unique_ptr<TPlotLegendManager> legendManager_;
    std::unique_ptr<TPlotTableManager> tableManager_;
    std::unique_ptr<TPlotChannelManager> channelManager_;
    std::unique_ptr<TPlotDataCursorManager> dataCursorManager_;
    std::unique_ptr<TPlotDataViewManager> dataViewManager_;
    std::unique_ptr<TPlotXAxisManager> xAxisManager_;
    std::unique_ptr<TPlotYAxisManager> yAxisManager_;
    std::unique_ptr<TPlotLimitManager> limitManager_;
    std::unique_ptr<TPlotLabelManager> labelManager_;
    std::unique_ptr<TPlotAnnotationManager> annotationManager_;
    std::unique_ptr<TPlotLayoutManager> layoutManager_;
};

}  // namespace ondrix
