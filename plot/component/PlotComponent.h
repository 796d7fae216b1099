#pragma once
// plot/component holds what assembles the kinds into a plot: the component base classes, the
// per-kind managers and the master manager, the layout manager, the plot component with its
// paint pass, and TPlot. The kinds call back into it only through this header.
//
// The plot component: a container of named plot objects of eleven kinds (toolbars, legends,
// tables, X axes, Y axes, channels, data views, data cursors, limits, labels, annotations). It
// owns the master manager, which owns every object, and offers per kind the family add, count,
// get by index, get by name, index by name, delete, remove all and manager.
//
// Repaints: every change of an object ends in InvalidateChange, which goes through the repaint
// throttle (PlotRepaintThrottle.h): at most UpdateFrameRate calls of OnRepaintRequest per second
// while AutoFrameRate is on, and one trailing call at the end of the interval for a change held
// back. The throttle only holds changes back once the host has given it a scheduler
// (GetRepaintThrottle().SetScheduler); until then every change repaints at once.
//
// Errors: EPlotError "List index out of bounds (%d)" from get by index and delete with an index
// outside 0..count-1; "Label Index 0 can not be Deleted (Resevered for Title)". Get by name
// never fails: it answers null.
//
// Threads: GUI thread only, except the repaint requests (InvalidateChange, BackGroundChange,
// InvalidateNow, RepaintAll, BeginUpdate, EndUpdate and TakeBackGroundChanged), which any thread
// may call. OnRepaintRequest then runs on the requesting thread: the host must make it safe to
// call from any thread, and set it before requests start.

#include <functional>
#include <memory>
#include <string>

#include "plot/channels/PlotChannelCustom.h"
#include "plot/component/WindowedComponent.h"
#include "plot/core/PlotFont.h"
#include "plot/objects/PlotObjects.h"

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
inline constexpr auto kPlotDataFileColumnSeparatorNames = EnumValueNames<ipdfcsComma>({"ipdfcsTab", "ipdfcsComma"});
// The picture format a copy to the clipboard takes.
enum TPlotExportFormat : uint8_t { ipefMetaFile, ipefBitmap, ipefJPEG };
inline constexpr auto kPlotExportFormatNames = EnumValueNames<ipefJPEG>({"ipefMetaFile", "ipefBitmap", "ipefJPEG"});
// The form the plot's data files are written in: text columns, or 4-byte values for channels
// whose X values are equally spaced.
enum TPlotDataFileFormat : uint8_t { ipdffText, ipdffCompactInterval };
inline constexpr auto kPlotDataFileFormatNames =
    EnumValueNames<ipdffCompactInterval>({"ipdffText", "ipdffCompactInterval"});
// How the interactive property editor opens. The editor lives outside the plot and knows only
// the modal form.
enum TPlotEditorFormStyle : uint8_t { ipfsModal };
inline constexpr auto kPlotEditorFormStyleNames = EnumValueNames<ipfsModal>({"ipfsModal"});

// The direction a background gradient runs from its start colour to its stop colour. The four
// straight directions step one pixel line at a time; the diagonals run along the main diagonal
// from its named corner; rectangle and circle run from the border to the centre.
enum TFillDirection : uint8_t {
    ifdTopBottom,
    ifdBottomTop,
    ifdLeftRight,
    ifdRightLeft,
    ifdTopLeftBottomRight,
    ifdBottomRightTopLeft,
    ifdRectangle,
    ifdCircle
};
inline constexpr auto kFillDirectionNames = EnumValueNames<ifdCircle>(
    {"ifdTopBottom", "ifdBottomTop", "ifdLeftRight", "ifdRightLeft", "ifdTopLeftBottomRight", "ifdBottomRightTopLeft",
     "ifdRectangle", "ifdCircle"});

class TPlotComponent : public TWindowedComponent {
public:
    TPlotComponent();
    ~TPlotComponent() override;

    // ---- Painting (PlotComponentPaint.cpp) ----
    // The whole plot in its fixed order: background, data view, the layers (grid, channels,
    // Cartesian axes) clipped to the data view, then the axes and labels around it.
    // Nothing at all without a toolbar, a legend and a data view.
    void iPaintTo(TCanvas& canvas) override;
    // Paints once into a throw-away bitmap so that the layout and every object's DrawRect are
    // up to date without showing anything. Nothing without a surface factory.
    void ReCalcLayout();
    // Fills the rectangle with lines whose colour runs from the start to the stop colour.
    static void DrawGradientDirection(TCanvas& canvas, const TPlotRect& rect, TColor startColor, TColor stopColor,
                                      TFillDirection direction);

    // The master manager's change hook.
    virtual void MasterChange();
    // The master manager's remove hook: forgets obj wherever the component holds it.
    virtual void MasterRemove(TPlotObject& obj);
    // A strip chart's X axes scroll with the data by default; other plots' scale to it.
    virtual bool IsStripChart() const { return false; }

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
    // A left press and release on the same marker: the channel's index and the point's index.
    std::function<void(int channelIndex, int dataIndex)> OnClickDataPoint;
    void DoDataPointClick(TPlotChannelCustom& channel, int index);

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

    // The free space between the border and the outermost objects.
    int32_t GetOuterMarginLeft() const { return outerMarginLeft_; }
    void SetOuterMarginLeft(int32_t value) { Store(outerMarginLeft_, value); }
    int32_t GetOuterMarginTop() const { return outerMarginTop_; }
    void SetOuterMarginTop(int32_t value) { Store(outerMarginTop_, value); }
    int32_t GetOuterMarginRight() const { return outerMarginRight_; }
    void SetOuterMarginRight(int32_t value) { Store(outerMarginRight_, value); }
    int32_t GetOuterMarginBottom() const { return outerMarginBottom_; }
    void SetOuterMarginBottom(int32_t value) { Store(outerMarginBottom_, value); }
    // The background is a colour gradient instead of the plain background colour.
    bool GetBackGroundGradientEnabled() const { return backGroundGradientEnabled_; }
    void SetBackGroundGradientEnabled(bool value) { Store(backGroundGradientEnabled_, value); }
    TFillDirection GetBackGroundGradientDirection() const { return backGroundGradientDirection_; }
    void SetBackGroundGradientDirection(TFillDirection value) { Store(backGroundGradientDirection_, value); }
    TColor GetBackGroundGradientStartColor() const { return backGroundGradientStartColor_; }
    void SetBackGroundGradientStartColor(TColor value) { Store(backGroundGradientStartColor_, value); }
    TColor GetBackGroundGradientStopColor() const { return backGroundGradientStopColor_; }
    void SetBackGroundGradientStopColor(TColor value) { Store(backGroundGradientStopColor_, value); }
    bool GetClipAnnotationsToAxes() const { return clipAnnotationsToAxes_; }
    void SetClipAnnotationsToAxes(bool value) { Store(clipAnnotationsToAxes_, value); }
    // The hint box's text; starts as the default font.
    const TPlotFont& GetHintsFont() const { return hintsFont_; }
    void SetHintsFont(const TPlotFont& value);

    // The title is label 0: its Caption, Visible, MarginBottom and Font. Without a label they
    // answer "", false, 0 and the default font, and writes do nothing. Stored configurations keep
    // them with the label.
    std::string GetTitleText() const;
    void SetTitleText(const std::string& value);
    bool GetTitleVisible() const;
    void SetTitleVisible(bool value);
    double GetTitleMargin() const;
    void SetTitleMargin(double value);
    TPlotFont GetTitleFont() const;
    void SetTitleFont(const TPlotFont& value);

    // The select mode of toolbar 0; false, and nothing to set, without a toolbar.
    bool GetSelectModeActive() const;
    void SetSelectModeActive(bool value);

    // ---- Export and printing settings ----
    // Read only when exporting or printing: nothing on screen changes, so setting them asks for
    // no repaint.
    TPlotExportFormat GetCopyToClipBoardFormat() const { return copyToClipBoardFormat_; }
    void SetCopyToClipBoardFormat(TPlotExportFormat value) { copyToClipBoardFormat_ = value; }
    TPlotDataFileFormat GetDataFileFormat() const { return dataFileFormat_; }
    void SetDataFileFormat(TPlotDataFileFormat value) { dataFileFormat_ = value; }
    TPlotDataFileColumnSeparator GetDataFileColumnSeparator() const { return dataFileColumnSeparator_; }
    void SetDataFileColumnSeparator(TPlotDataFileColumnSeparator value) { dataFileColumnSeparator_ = value; }
    // Tab (code 9) or comma (code 44).
    char GetDataFileColumnSeparatorChar() const { return dataFileColumnSeparator_ == ipdfcsComma ? ',' : '\t'; }
    TPlotEditorFormStyle GetEditorFormStyle() const { return editorFormStyle_; }
    void SetEditorFormStyle(TPlotEditorFormStyle value) { editorFormStyle_ = value; }
    // Page margins in inches; negative values store 0.
    double GetPrintMarginLeft() const { return printMarginLeft_; }
    void SetPrintMarginLeft(double value);
    double GetPrintMarginTop() const { return printMarginTop_; }
    void SetPrintMarginTop(double value);
    double GetPrintMarginRight() const { return printMarginRight_; }
    void SetPrintMarginRight(double value);
    double GetPrintMarginBottom() const { return printMarginBottom_; }
    void SetPrintMarginBottom(double value);
    // The print job's title.
    const std::string& GetPrintDocumentName() const { return printDocumentName_; }
    void SetPrintDocumentName(const std::string& value) { printDocumentName_ = value; }

    // ---- Channel data ----
    // Appends points start..stop of channel `source` to channel `destination` with AddXY,
    // copying each point's Null and Empty marks; stop below start copies nothing. Fails with
    // "Start Index Must be 0 or Greater" or "StopIndex Must Out Of Range" (stop beyond the
    // source's newest point), and with "List index out of bounds (%d)" for a channel index.
    void TransferChannelData(int source, int destination, int start, int stop);
    // Clears every channel, then lets every axis align to the next data as to the first.
    void ClearAllData();

    // ---- Object families ----
    // Each name forwards to the one implementation that serves every kind (TPlotFamily in
    // PlotComponent.cpp). add: answers the new object's index (count - 1). delete: frees the
    // object and repaints. remove all: frees every object of the kind.
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

    // The paint pass's steps (PlotComponentPaint.cpp).
    void CalcAllTicks(const TPlotTextMeasure& measure);
    void DrawLayers(TCanvas& canvas, TPlotDataView& dataView);
    void DrawOutSideObjects(TCanvas& canvas);

    bool loading_ = false;

    int32_t outerMarginLeft_ = 5;
    int32_t outerMarginTop_ = 5;
    int32_t outerMarginRight_ = 5;
    int32_t outerMarginBottom_ = 5;
    bool backGroundGradientEnabled_ = false;
    TFillDirection backGroundGradientDirection_ = ifdTopBottom;
    TColor backGroundGradientStartColor_ = clBlue;
    TColor backGroundGradientStopColor_ = clBlack;
    bool clipAnnotationsToAxes_ = true;
    TPlotFont hintsFont_;

    TPlotExportFormat copyToClipBoardFormat_ = ipefMetaFile;
    TPlotDataFileFormat dataFileFormat_ = ipdffText;
    TPlotDataFileColumnSeparator dataFileColumnSeparator_ = ipdfcsTab;
    TPlotEditorFormStyle editorFormStyle_ = ipfsModal;
    double printMarginLeft_ = 1;
    double printMarginTop_ = 1;
    double printMarginRight_ = 1;
    double printMarginBottom_ = 1;
    std::string printDocumentName_ = "Untitled";

    std::unique_ptr<TPlotMasterManager> master_;
};

}  // namespace ondrix
