#pragma once
// The plot component: a container of named plot objects of eleven kinds (toolbars, legends,
// tables, X axes, Y axes, channels, data views, data cursors, limits, labels, annotations). It
// owns the master manager, which owns every object, and offers per kind the family add, count,
// get by index, get by name, index by name, delete, remove all and manager.
//
// Repaints: every change of an object ends in InvalidateChange, which calls OnRepaintRequest at
// once, or, between BeginUpdate and EndUpdate, once at EndUpdate if anything changed. The
// frame-rate throttle and the painting itself join here with the component frame; this is
// only the seam they plug into.
//
// Errors: EPlotError "List index out of bounds (%d)" from get by index and delete with an index
// outside 0..count-1; "Label Index 0 can not be Deleted (Resevered for Title)". Get by name
// never fails: it answers null.
//
// Threads: GUI thread only.

#include <functional>
#include <memory>
#include <string>

#include "plot/PlotChannelCustom.h"
#include "plot/PlotObjects.h"

namespace ondrix {

class TPlotAnnotation;
class TPlotDataCursor;
class TPlotDataView;
class TPlotLabel;
class TPlotLegend;
class TPlotLimit;
class TPlotTable;
class TPlotToolBar;
class TPlotAxis;
class TPlotXAxis;
class TPlotYAxis;
class TPlotMasterManager;
class TPlotObjectManager;
class TPlotLayoutManager;
class TPlotChannelManager;
class TPlotXAxisManager;
class TPlotYAxisManager;
class TPlotDataViewManager;
class TPlotDataCursorManager;
class TPlotToolBarManager;
class TPlotLegendManager;
class TPlotTableManager;
class TPlotLimitManager;
class TPlotLabelManager;

// The column separator of the plot's text data files and of its channels' data and log files.
enum TPlotDataFileColumnSeparator : uint8_t { ipdfcsTab, ipdfcsComma };

class TPlotComponent {
public:
    TPlotComponent();
    virtual ~TPlotComponent();
    TPlotComponent(const TPlotComponent&) = delete;
    TPlotComponent& operator=(const TPlotComponent&) = delete;

    // Asks the host to repaint the plot.
    std::function<void()> OnRepaintRequest;

    // ---- Repaint seam ----
    // A flag, not a counter: one EndUpdate ends any number of BeginUpdate calls.
    void BeginUpdate();
    void EndUpdate();
    bool GetUpdateLocked() const { return updateLocked_; }
    void InvalidateChange();
    // Unconditional, also between BeginUpdate and EndUpdate: selection and cursor feedback.
    void InvalidateNow();

    // The master manager's change hook.
    virtual void MasterChange();
    // The master manager's remove hook: forgets obj wherever the component holds it.
    virtual void MasterRemove(TPlotObject& obj);

    // ---- Loading ----
    // Set while a stored configuration is read: the component raises no events meanwhile.
    bool GetLoading() const { return loading_; }
    void SetLoading(bool value) { loading_ = value; }

    // ---- Axis value events ----
    // The axis's index among the axes of its kind, then the old and the new values. The X
    // events fire for X axes, the Y events for Y axes.
    using TPlotObjectDoubleValueChangeEvent = std::function<void(int index, double oldValue, double newValue)>;
    using TPlotAxesMinSpanChangeEvent =
        std::function<void(int index, double oldMin, double oldSpan, double newMin, double newSpan)>;
    TPlotObjectDoubleValueChangeEvent OnXAxisMinChange;
    TPlotObjectDoubleValueChangeEvent OnXAxisSpanChange;
    TPlotAxesMinSpanChangeEvent OnXAxisMinSpanChange;
    TPlotObjectDoubleValueChangeEvent OnYAxisMinChange;
    TPlotObjectDoubleValueChangeEvent OnYAxisSpanChange;
    TPlotAxesMinSpanChangeEvent OnYAxisMinSpanChange;
    // Called by the axes' setters. An axis not (yet) in the plot has no index and raises nothing.
    void DoAxesMinChange(const TPlotAxis& axis, double oldValue, double newValue);
    void DoAxesSpanChange(const TPlotAxis& axis, double oldValue, double newValue);
    void DoAxesMinSpanChange(const TPlotAxis& axis, double oldMin, double oldSpan, double newMin, double newSpan);

    // ---- Object clicks ----
    // A release over the object that was pressed. The per-kind click events are raised from
    // here once the mouse dispatch exists; until then this one hook hears every click.
    TPlotObjectEvent OnObjectClick;
    void DoObjectClick(TPlotObject& obj);

    // ---- Managers ----
    TPlotMasterManager& GetMasterManager() const { return *master_; }
    TPlotLayoutManager* GetLayoutManager() const;
    TPlotObjectManager* GetPlotObjectManager() const;
    void DisableLayoutManager();
    void EnableLayoutManager();
    void SetChannelClass(TPlotChannelClass channelClass);

    // ---- Plot-wide properties ----
    // The data view's position across the horizontal and the vertical sides.
    int32_t GetDataViewZHorz() const;
    void SetDataViewZHorz(int32_t value);
    int32_t GetDataViewZVert() const;
    void SetDataViewZVert(int32_t value);
    bool GetUserCanEditObjects() const;
    void SetUserCanEditObjects(bool value);
    bool GetXYAxesReverse() const;
    void SetXYAxesReverse(bool value);

    // The title is label 0: its Caption, Visible and MarginBottom. Without a label they answer
    // "", false and 0, and writes do nothing.
    std::string GetTitleText() const;
    void SetTitleText(const std::string& value);
    bool GetTitleVisible() const;
    void SetTitleVisible(bool value);
    double GetTitleMargin() const;
    void SetTitleMargin(double value);

    // The select mode of toolbar 0; false, and nothing to set, without a toolbar.
    bool GetSelectModeActive() const;
    void SetSelectModeActive(bool value);

    TPlotDataFileColumnSeparator GetDataFileColumnSeparator() const { return dataFileColumnSeparator_; }
    void SetDataFileColumnSeparator(TPlotDataFileColumnSeparator value) { dataFileColumnSeparator_ = value; }
    // Tab (code 9) or comma (code 44).
    char GetDataFileColumnSeparatorChar() const { return dataFileColumnSeparator_ == ipdfcsComma ? ',' : '\t'; }

    // ---- Channel data ----
    // Appends points start..stop of channel `source` to channel `destination` with AddXY,
    // copying each point's Null and Empty marks; stop below start copies nothing. Fails with
    // "Start Index Must be 0 or Greater" or "StopIndex Must Out Of Range" (stop beyond the
    // source's newest point), and with "List index out of bounds (%d)" for a channel index.
    void TransferChannelData(int source, int destination, int start, int stop);
    // Clears every channel, then lets every axis align to the next data as to the first.
    void ClearAllData();

    // ---- Object families ----
    // add: answers the new object's index (count - 1). delete: frees the object and repaints.
    // remove all: frees every object of the kind.
    int AddChannel();
    int ChannelCount() const;
    TPlotChannelCustom* GetChannel(int index) const;
    TPlotChannelCustom* GetChannelByName(const std::string& name) const;
    int GetChannelIndexByName(const std::string& name) const;
    void DeleteChannel(int index);
    void RemoveAllChannels();
    TPlotChannelManager* GetChannelManager() const;

    int AddXAxis();
    int XAxisCount() const;
    TPlotXAxis* GetXAxis(int index) const;
    TPlotXAxis* GetXAxisByName(const std::string& name) const;
    int GetXAxisIndexByName(const std::string& name) const;
    void DeleteXAxis(int index);
    void RemoveAllXAxes();
    TPlotXAxisManager* GetXAxisManager() const;

    int AddYAxis();
    int YAxisCount() const;
    TPlotYAxis* GetYAxis(int index) const;
    TPlotYAxis* GetYAxisByName(const std::string& name) const;
    int GetYAxisIndexByName(const std::string& name) const;
    void DeleteYAxis(int index);
    void RemoveAllYAxes();
    TPlotYAxisManager* GetYAxisManager() const;

    int AddDataView();
    int DataViewCount() const;
    TPlotDataView* GetDataView(int index) const;
    TPlotDataView* GetDataViewByName(const std::string& name) const;
    int GetDataViewIndexByName(const std::string& name) const;
    void DeleteDataView(int index);
    void RemoveAllDataViews();
    TPlotDataViewManager* GetDataViewManager() const;

    int AddDataCursor();
    int DataCursorCount() const;
    TPlotDataCursor* GetDataCursor(int index) const;
    TPlotDataCursor* GetDataCursorByName(const std::string& name) const;
    int GetDataCursorIndexByName(const std::string& name) const;
    void DeleteDataCursor(int index);
    void RemoveAllDataCursors();
    TPlotDataCursorManager* GetDataCursorManager() const;

    int AddToolBar();
    int ToolBarCount() const;
    TPlotToolBar* GetToolBar(int index) const;
    TPlotToolBar* GetToolBarByName(const std::string& name) const;
    int GetToolBarIndexByName(const std::string& name) const;
    void DeleteToolBar(int index);
    void RemoveAllToolBars();
    TPlotToolBarManager* GetToolBarManager() const;

    int AddLegend();
    int LegendCount() const;
    TPlotLegend* GetLegend(int index) const;
    TPlotLegend* GetLegendByName(const std::string& name) const;
    int GetLegendIndexByName(const std::string& name) const;
    void DeleteLegend(int index);
    void RemoveAllLegends();
    TPlotLegendManager* GetLegendManager() const;

    int AddTable();
    int TableCount() const;
    TPlotTable* GetTable(int index) const;
    TPlotTable* GetTableByName(const std::string& name) const;
    int GetTableIndexByName(const std::string& name) const;
    void DeleteTable(int index);
    void RemoveAllTables();
    TPlotTableManager* GetTableManager() const;

    int AddLimit();
    int LimitCount() const;
    TPlotLimit* GetLimit(int index) const;
    TPlotLimit* GetLimitByName(const std::string& name) const;
    int GetLimitIndexByName(const std::string& name) const;
    void DeleteLimit(int index);
    void RemoveAllLimits();
    TPlotLimitManager* GetLimitManager() const;

    // Label 0 is the title: DeleteLabel refuses it, RemoveAllLabels keeps it.
    int AddLabel();
    int LabelCount() const;
    TPlotLabel* GetLabel(int index) const;
    TPlotLabel* GetLabelByName(const std::string& name) const;
    int GetLabelIndexByName(const std::string& name) const;
    void DeleteLabel(int index);
    void RemoveAllLabels();
    TPlotLabelManager* GetLabelManager() const;

    int AddAnnotation();
    int AnnotationCount() const;
    TPlotAnnotation* GetAnnotation(int index) const;
    TPlotAnnotation* GetAnnotationByName(const std::string& name) const;
    int GetAnnotationIndexByName(const std::string& name) const;
    void DeleteAnnotation(int index);
    void RemoveAllAnnotations();

private:
    int AxisIndex(const TPlotAxis& axis) const;

    bool loading_ = false;
    TPlotDataFileColumnSeparator dataFileColumnSeparator_ = ipdfcsTab;
    bool updateLocked_ = false;
    bool invalidatePending_ = false;
    std::unique_ptr<TPlotMasterManager> master_;
};

}  // namespace ondrix
