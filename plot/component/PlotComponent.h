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
#include <vector>

#include "plot/channels/PlotChannelCustom.h"
#include "plot/component/PlotExportHost.h"
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
enum TPlotToolBarButtonType : uint8_t;

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
using TPlotNotifyEvent = std::function<void()>;
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

class TPlotComponent : public TWindowedComponent, public TPlotObjectEventSink {
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

    // ---- Object events (PlotComponentEvents.cpp) ----
    // Raised with the object's index in its kind's manager; only the first kind that lists the
    // object, in the order channel, X axis, Y axis, data cursor, data view, legend, limit,
    // annotation, raises. None while loading.
    using TPlotIndexEvent = std::function<void(int index)>;
    using TPlotObjectMouseEvent = std::function<void(int index, TMouseButton button, TShiftState shift, int x, int y)>;
    using TPlotObjectMouseMoveEvent = std::function<void(int index, TShiftState shift, int x, int y)>;
    // Setting `cancel` keeps the menu closed.
    using TPlotPopupMenuEvent = std::function<void(int index, bool& cancel, int screenX, int screenY)>;
    // The host may change the text.
    using TPlotObjectCustomizeTextEvent = std::function<void(int index, std::string& text)>;

    TPlotIndexEvent OnClickChannel, OnClickXAxis, OnClickYAxis, OnClickDataCursor, OnClickDataView, OnClickLegend,
        OnClickLimit, OnClickAnnotation;
    TPlotIndexEvent OnDblClickChannel, OnDblClickXAxis, OnDblClickYAxis, OnDblClickDataCursor, OnDblClickDataView,
        OnDblClickLegend, OnDblClickLimit, OnDblClickAnnotation;
    TPlotObjectMouseEvent OnMouseDownChannel, OnMouseDownXAxis, OnMouseDownYAxis, OnMouseDownDataCursor,
        OnMouseDownDataView, OnMouseDownLegend, OnMouseDownLimit, OnMouseDownAnnotation;
    TPlotObjectMouseMoveEvent OnMouseMoveChannel, OnMouseMoveXAxis, OnMouseMoveYAxis, OnMouseMoveDataCursor,
        OnMouseMoveDataView, OnMouseMoveLegend, OnMouseMoveLimit, OnMouseMoveAnnotation;
    TPlotObjectMouseEvent OnMouseUpChannel, OnMouseUpXAxis, OnMouseUpYAxis, OnMouseUpDataCursor, OnMouseUpDataView,
        OnMouseUpLegend, OnMouseUpLimit, OnMouseUpAnnotation;
    // Limits have no focus events.
    TPlotIndexEvent OnGotFocusChannel, OnGotFocusXAxis, OnGotFocusYAxis, OnGotFocusDataCursor, OnGotFocusDataView,
        OnGotFocusLegend, OnGotFocusAnnotation;
    TPlotIndexEvent OnLostFocusChannel, OnLostFocusXAxis, OnLostFocusYAxis, OnLostFocusDataCursor,
        OnLostFocusDataView, OnLostFocusLegend, OnLostFocusAnnotation;
    TPlotPopupMenuEvent OnPopupMenuChannel, OnPopupMenuXAxis, OnPopupMenuYAxis, OnPopupMenuDataCursor,
        OnPopupMenuDataView, OnPopupMenuLegend, OnPopupMenuLimit, OnPopupMenuAnnotation;

    // The click family, or the double-click family when the gesture began with a double click;
    // either way the double-click flag is cleared.
    void DoObjectClick(TPlotObject& obj) override;
    void DoObjectMouseDown(TPlotObject& obj, TMouseButton button, TShiftState shift, int x, int y) override;
    void DoObjectMouseMove(TPlotObject& obj, TShiftState shift, int x, int y) override;
    void DoObjectMouseUp(TPlotObject& obj, TMouseButton button, TShiftState shift, int x, int y) override;
    void DoObjectGotFocus(TPlotObject& obj) override;
    void DoObjectLostFocus(TPlotObject& obj) override;
    void DoObjectPopupMenu(TPlotObject& obj, int x, int y) override;
    void DoObjectEdit(TPlotObject& obj) override;
    std::unique_ptr<TPlotTimer> CreateTimer(std::function<void()> onTick) override;

    // A left press and release on the same marker: the channel's index and the point's index;
    // the double-click event when the gesture began with a double click.
    std::function<void(int channelIndex, int dataIndex)> OnClickDataPoint;
    std::function<void(int channelIndex, int dataIndex)> OnDblClickDataPoint;
    void DoDataPointClick(TPlotChannelCustom& channel, int index);

    // The common "Edit..." item of an object's menu, or the toolbar's Edit button with the
    // toolbar: the host opens its property editor, if it has one.
    TPlotObjectEvent OnEditObject;

    // ---- Toolbar events ----
    // The toolbar's index and the handler that ran.
    std::function<void(int index, TPlotToolBarButtonType buttonType)> OnToolBarButtonClick;
    TPlotObjectCustomizeTextEvent OnToolBarCustomizeHint;
    void DoToolBarButtonClick(TPlotObject& toolBar, TPlotToolBarButtonType buttonType);
    void DoToolBarCustomizeHint(TPlotObject& toolBar, std::string& text);

    // ---- Data cursor events ----
    TPlotIndexEvent OnBeforeDataCursorUpdate;
    TPlotIndexEvent OnDataCursorChange;
    TPlotObjectCustomizeTextEvent OnDataCursorCustomizeHint;
    void DoBeforeDataCursorUpdate(TPlotObject& cursor);
    void DoDataCursorChange(TPlotObject& cursor);
    void DoDataCursorCustomizeHint(TPlotObject& cursor, std::string& text);

    // ---- Axis hints and the zoom box ----
    TPlotObjectCustomizeTextEvent OnXAxisCustomizeHint;
    TPlotObjectCustomizeTextEvent OnYAxisCustomizeHint;
    void DoAxisCustomizeHint(const TPlotAxis& axis, std::string& text);
    // Before a zoom box is applied to the axes, in client pixels: the host may change the box
    // or cancel the zoom.
    std::function<void(TPlotRect& zoomRect, bool& cancel)> OnBeforeZoomBox;

    // ---- Tracking ----
    // Every X axis in index order, then every Y axis.
    void DisableAllTracking();
    void EnableAllTracking();
    // Every object of the plot drops its selection.
    void ClearAllUserSelections();

    // ---- Mouse, keyboard and hints (PlotComponentInput.cpp) ----
    // A gesture runs press, moves, release: the object found at the press (DownObject) keeps it;
    // the selected objects receive drags, the wheel and keys. Hints come from the object under a
    // resting pointer, show HintsPause ms later and go HintsHidePause ms after, or at any move.
    void iMouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void iMouseMove(TShiftState shift, int x, int y) override;
    void iMouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void iDoubleClick() override;
    // Reported as used in every case.
    bool iMouseWheel(int wheelDelta, TShiftState shift, int x, int y) override;
    void iKeyDown(int& key, TShiftState shift) override;
    // The four arrow keys belong to the plot, not to focus navigation.
    bool iWantSpecialKey(int key) override;
    // The mouse capture went to another window (or the pointer left the plot): no hint, no
    // object under the pointer.
    void WMCaptureChanged();
    void iMouseLeave() override { WMCaptureChanged(); }
    void HintTimer();
    void KillHint();
    // The object under the point: selected objects first, the data view and legends last.
    TPlotObject* FindMouseObject(const TPlotMouseData& data);
    void MousePointerSet(TPlotCursor cursor);

    bool GetHintsShow() const { return hintsShow_; }
    void SetHintsShow(bool value) { hintsShow_ = value; }
    int32_t GetHintsPause() const { return hintsPause_; }
    void SetHintsPause(int32_t value) { hintsPause_ = value; }
    int32_t GetHintsHidePause() const { return hintsHidePause_; }
    void SetHintsHidePause(int32_t value) { hintsHidePause_ = value; }
    bool GetHintShowing() const { return hintShowing_; }
    const std::string& GetHintText() const { return hintText_; }
    TPlotObject* GetDownObject() const { return downObject_; }
    TPlotObject* GetOverObject() const { return overObject_; }
    bool GetDblClick() const { return dblClick_; }
    // The menu objects fill on a right press.
    TPlotPopupMenu& GetPopupMenu() { return popupMenu_; }

    // Master-axis replay: the same input to every other axis of the kind, once.
    void MasterAxisMouseLeft(TPlotAxis& axis, const TPlotMouseData& data);
    void MasterAxisMouseMove(TPlotAxis& axis, const TPlotMouseData& data);
    void MasterAxisMouseUp(TPlotAxis& axis, const TPlotMouseData& data);
    void MasterAxisKeyDown(TPlotAxis& axis, int& key, TShiftState shift);

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
    TPlotPrintOrientation GetPrintOrientation() const { return printOrientation_; }
    void SetPrintOrientation(TPlotPrintOrientation value) { printOrientation_ = value; }
    bool GetPrintShowDialog() const { return printShowDialog_; }
    void SetPrintShowDialog(bool value) { printShowDialog_ = value; }
    // Used when the host's printer list holds it; otherwise the host's default printer.
    const std::string& GetPrinterName() const { return printerName_; }
    void SetPrinterName(const std::string& value) { printerName_ = value; }

    // ---- Pictures, clipboard and printing (PlotComponentExport.cpp) ----
    // Every picture is the normal paint pass into an off-screen canvas of the component's size.
    // The window system's part (clipboard, dialogs, printer) is the host's (SetExportHost).
    // Failures raise EPlotError; the toolbar's buttons show them through the host instead.
    void SetExportHost(TPlotExportHost* host) { exportHost_ = host; }
    TPlotExportHost* GetExportHost() const { return exportHost_; }
    // Without toolbars and selection marks, in CopyToClipBoardFormat; the toolbars' Visible and
    // the repaints come back also when a step fails.
    void CopyToClipBoard();
    // The component's own metafile, painted now as it stands (toolbars and selections too).
    const TPlotMetafile& GetSnapShotPicture();
    // The save dialog, then the picture file its ending names (in any letter case), written in
    // the background; an unknown ending fails with "Unknown picture file type" and writes nothing.
    void Save();
    // The picture the name's ending asks for: BMP, EMF, JPEG (quality 100, progressive) or
    // PNG (compression 9).
    void SaveImageToFile(const std::string& fileName);
    void SaveImageToBitmap(const std::string& fileName);
    void SaveImageToMetaFile(const std::string& fileName);
    // "Compression must be in the range of 1-100" outside 1..100.
    void SaveImageToJPEG(const std::string& fileName, int quality, bool progressive);
    // "Compression must be in the range of 0-9" outside 0..9.
    void SaveImageToPNG(const std::string& fileName, int compression);
    // A JPEG file's bytes.
    std::string GetJPEG(int quality, bool progressive);
    // Failures are "Error Printing : " and the failure's message.
    void PrintChart();
    // An export the user asked for (a toolbar button): a failure is shown through the host.
    void ExportForUser(void (TPlotComponent::*operation)());
    // Qt's print preview window, modal.
    void PreviewChart();
    TPlotNotifyEvent OnBeforePrint;
    TPlotNotifyEvent OnAfterPrint;

    // ---- Data files and the data log (PlotComponentData.cpp) ----
    // The channels' points in DataFileFormat; failures are "Error Saving Data - " and the
    // failure's message.
    void SaveDataToFile(const std::string& fileName);
    // Appends a text, log or compact-interval file's points to the channels; failures are
    // "Error Loading Data - " and the failure's message.
    void LoadDataFromFile(const std::string& fileName);
    // The last data file saved or loaded.
    const std::string& GetDataFileName() const { return dataFileName_; }
    TPlotNotifyEvent OnAfterSaveData;
    TPlotNotifyEvent OnAfterLoadData;
    const std::string& GetLogFileName() const { return logFileName_; }
    void SetLogFileName(const std::string& value) { logFileName_ = value; }
    int32_t GetLogBufferSize() const { return logBufferSize_; }
    void SetLogBufferSize(int32_t value) { logBufferSize_ = value; }
    bool GetLoggingActive() const { return loggingActive_; }
    // Fails with "Log File Name not Defined" or "Logging Already Active". Without `append` the
    // file starts over with its header.
    void LogActivate(bool append);
    // Fails with "Logging not Active"; writes the rows still pending.
    void LogDeactivate();
    // Appends the rows added since the last write and starts counting again.
    void WriteLog();
    // One point on each channel at the same X (ys[k] for channel k; missing ones are not
    // added), counted as a row of the data log. More values than channels fail with "List index
    // out of bounds (%d)" before any is added.
    void AddDataArray(double x, const std::vector<double>& ys);

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
    // A joining object gets the plot as its event sink; an axis, its master-axis hooks.
    void JoinInput(TPlotObject& obj);
    TPlotMouseData MouseDataAt(TMouseButton button, TShiftState shift, int x, int y) const;
    void PushShiftState(TShiftState shift);
    void SetMouseCapture(bool take);
    template <class Replay>
    void ReplayToOtherAxes(const TPlotAxis& axis, Replay replay);
    // The hint box, last in the paint pass.
    void DrawHint(TCanvas& canvas);

    // Export steps (PlotComponentExport.cpp).
    TPlotExportHost& ExportHost() const;
    TPlotSurfaceFactory& Surfaces() const;
    void PaintPicture(TCanvas& canvas);
    // The print settings as they stand.
    TPlotPrintJob PrintJob() const;
    std::unique_ptr<TPlotBitmap> PaintBitmap();
    std::unique_ptr<TPlotMetafile> PaintMetafile();
    std::string PaintEmf(const std::string& title);
    // Paints now; the answer encodes the file the name's ending asks for, on any thread.
    std::function<std::string()> PictureFileEncoder(const std::string& fileName);
    // The whole component without toolbars and selection marks, for the clipboard and a page.
    template <class Painter>
    auto PaintWithoutToolBars(Painter paint);

    // The paint pass's steps (PlotComponentPaint.cpp).
    void CalcAllTicks(const TPlotTextMeasure& measure);
    void DrawLayers(TCanvas& canvas, TPlotDataView& dataView);
    void DrawOutSideObjects(TCanvas& canvas);

    bool loading_ = false;

    // Input state.
    TShiftState shiftState_ = 0;
    bool mouseIsDown_ = false;
    TPlotObject* downObject_ = nullptr;
    TPlotObject* overObject_ = nullptr;
    bool axisMultiSelectDrag_ = false;
    bool dblClick_ = false;
    bool masterAxisReplaying_ = false;
    bool hasCapture_ = false;
    bool hintsShow_ = true;
    int32_t hintsPause_ = 500;
    int32_t hintsHidePause_ = 2500;
    std::string hintText_;
    int hintLeft_ = 0;
    int hintTop_ = 0;
    bool hintShowing_ = false;
    bool hintPainted_ = false;
    bool captureLost_ = false;
    TPlotPopupMenu popupMenu_;

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
    TPlotPrintOrientation printOrientation_ = ippoLandscape;
    bool printShowDialog_ = true;
    std::string printerName_;
    TPlotExportHost* exportHost_ = nullptr;
    std::unique_ptr<TPlotMetafile> snapShot_;

    std::string dataFileName_;
    std::string logFileName_;
    int32_t logBufferSize_ = 0;
    bool loggingActive_ = false;
    int32_t pendingLogRows_ = 0;
    // Per pending row, how many channels (0 up) took a value: a row with fewer values leaves
    // the other channels' fields empty instead of shifting their points into it.
    std::vector<int32_t> pendingLogWidths_;
    // Rows already in the log file: the compact form writes X only in its first two rows.
    int32_t logRowsWritten_ = 0;

    std::unique_ptr<TPlotMasterManager> master_;
};

}  // namespace ondrix
