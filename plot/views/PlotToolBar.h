#pragma once
// The plot's command and mode bar: fourteen push buttons and five spacers in one row.
//
// Three buttons latch the plot's interaction modes: Select, Zoom Box (never down together
// through the handlers) and Cursor (the data cursors shown). Scroll and Zoom choose how drags
// act on the axes; the rest are one-shot commands. Every handler is public (DoButtonClick...)
// and does exactly what a click on its button does, so a host can hide the toolbar and drive
// the plot from its own controls. Each handler ends by raising the plot's OnToolBarButtonClick
// with its button type; a handler that runs another (Zoom In pauses first) raises both events.
//
// Toolbar 0 of a plot is special: its Select and Zoom Box buttons decide the data view's drag
// mode, and its Select button is the plot's select mode.
//
// Threads: GUI thread only.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "plot/core/PlotCanvas.h"
#include "plot/objects/PlotObjects.h"
#include "plot/views/PlotToolBarIcons.h"

namespace ondrix {

// The published order of the handlers' types, which the click event reports; it is not the
// drawing order (Zoom Out stands before Zoom In there).
enum TPlotToolBarButtonType : uint8_t {
    iptbbtResume,
    iptbbtPause,
    iptbbtScrollAxesMode,
    iptbbtZoomAxesMode,
    iptbbtSelect,
    iptbbtZoomBox,
    iptbbtZoomOut,
    iptbbtZoomIn,
    iptbbtCursor,
    iptbbtEdit,
    iptbbtCopy,
    iptbbtSave,
    iptbbtPrint,
    iptbbtPreview
};
inline constexpr auto kPlotToolBarButtonTypeNames = EnumValueNames<iptbbtPreview>(
    {"iptbbtResume", "iptbbtPause", "iptbbtScrollAxesMode", "iptbbtZoomAxesMode", "iptbbtSelect", "iptbbtZoomBox",
     "iptbbtZoomOut", "iptbbtZoomIn", "iptbbtCursor", "iptbbtEdit", "iptbbtCopy", "iptbbtSave", "iptbbtPrint",
     "iptbbtPreview"});

enum TPlotToolBarButtonStyle : uint8_t { iptbbsButton, iptbbsSpacer };
inline constexpr auto kPlotToolBarButtonStyleNames = EnumValueNames<iptbbsSpacer>({"iptbbsButton", "iptbbsSpacer"});

class TPlotToolBar;

// ---- TPlotToolBarButton ------------------------------------------------------------------

// One entry of the toolbar's row: a button with a hint and a picture, or a spacer, which only
// takes room. Held by its toolbar, by no manager; its repaints go through the toolbar.
class TPlotToolBarButton : public TPlotButton {
public:
    TPlotToolBarButton(TPlotToolBar& toolBar, TPlotToolBarImageList& images, TPlotToolBarButtonStyle style);

    TPlotToolBar& GetToolBar() const { return toolBar_; }
    TPlotToolBarButtonStyle GetStyle() const { return style_; }
    const std::string& GetHint() const { return hint_; }
    void SetHint(const std::string& value) { hint_ = value; }
    // The picture's name in the toolbar's image list, and where it was loaded: -1 until the
    // first draw loads it.
    const std::string& GetImageName() const { return imageName_; }
    void SetImageName(const std::string& value) { imageName_ = value; }
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value) { imageIndex_ = value; }
    bool GetFlat() const { return flat_; }
    void SetFlat(bool value) { flat_ = value; }
    bool GetMouseOver() const { return mouseOver_; }

    // The pointer rests on the button: it lights up (when flat) and offers its hint below it,
    // as the host may have changed it.
    void DoMouseHint(const TPlotMouseData& data, THintData& hint) override;
    void DoMouseNotOver() override;

    // In its DrawRect; a spacer draws nothing. Loads the picture on the first draw.
    void Draw(TCanvas& canvas);

private:
    void SetMouseOver(bool value);

    TPlotToolBar& toolBar_;
    TPlotToolBarImageList& images_;
    TPlotToolBarButtonStyle style_;
    std::string hint_;
    std::string imageName_;
    int imageIndex_ = -1;
    bool flat_ = false;
    bool mouseOver_ = false;
};

// ---- TPlotToolBar ------------------------------------------------------------------------

class TPlotToolBar : public TPlotLayoutObject {
public:
    TPlotToolBar(TPlotComponent* owner, TPlotObjectEvents events);
    ~TPlotToolBar() override;

    // The 19 entries in drawing order, spacers included.
    int GetButtonCount() const { return static_cast<int>(entries_.size()); }
    TPlotToolBarButton& GetButton(int index) const { return *entries_.at(static_cast<size_t>(index)); }
    TPlotToolBarButton& GetButton(TPlotToolBarButtonType type) const { return *buttons_[type]; }
    // Spacer 1 to 5, left to right.
    TPlotToolBarButton& GetSpacer(int number) const { return *spacers_.at(static_cast<size_t>(number - 1)); }
    const TPlotToolBarImageList& GetImageList() const { return images_; }

    // ---- Settings ----
    // The span factor of Zoom Out on linear axes (Zoom In uses its inverse). At least 1, so a
    // zoom never turns a span round; smaller values store 1.
    double GetZoomInOutFactor() const { return zoomInOutFactor_; }
    void SetZoomInOutFactor(double value);
    // No 3-D edge around the bar.
    bool GetFlatBorder() const { return flatBorder_; }
    void SetFlatBorder(bool value);
    // Copied into every button's Flat.
    bool GetFlatButtons() const { return flatButtons_; }
    void SetFlatButtons(bool value);
    // 16-pixel pictures on 22-pixel buttons instead of 24 on 30; the pictures reload.
    bool GetSmallButtons() const { return smallButtons_; }
    void SetSmallButtons(bool value);
    // The pixel size of a button along and across the row.
    int GetButtonSize() const { return smallButtons_ ? 22 : 30; }

    // The visibility of the buttons; AxesModeButtons covers Scroll and Zoom, ZoomInOutButtons
    // Zoom Out and Zoom In. Select and Preview are the two hidden at creation.
    bool GetShowResumeButton() const { return IsShown(iptbbtResume); }
    void SetShowResumeButton(bool value) { Show({iptbbtResume}, value); }
    bool GetShowPauseButton() const { return IsShown(iptbbtPause); }
    void SetShowPauseButton(bool value) { Show({iptbbtPause}, value); }
    bool GetShowAxesModeButtons() const { return IsShown(iptbbtScrollAxesMode); }
    void SetShowAxesModeButtons(bool value) { Show({iptbbtScrollAxesMode, iptbbtZoomAxesMode}, value); }
    bool GetShowZoomInOutButtons() const { return IsShown(iptbbtZoomOut); }
    void SetShowZoomInOutButtons(bool value) { Show({iptbbtZoomOut, iptbbtZoomIn}, value); }
    bool GetShowSelectButton() const { return IsShown(iptbbtSelect); }
    void SetShowSelectButton(bool value) { Show({iptbbtSelect}, value); }
    bool GetShowZoomBoxButton() const { return IsShown(iptbbtZoomBox); }
    void SetShowZoomBoxButton(bool value) { Show({iptbbtZoomBox}, value); }
    bool GetShowCursorButton() const { return IsShown(iptbbtCursor); }
    void SetShowCursorButton(bool value) { Show({iptbbtCursor}, value); }
    bool GetShowEditButton() const { return IsShown(iptbbtEdit); }
    void SetShowEditButton(bool value) { Show({iptbbtEdit}, value); }
    bool GetShowCopyButton() const { return IsShown(iptbbtCopy); }
    void SetShowCopyButton(bool value) { Show({iptbbtCopy}, value); }
    bool GetShowSaveButton() const { return IsShown(iptbbtSave); }
    void SetShowSaveButton(bool value) { Show({iptbbtSave}, value); }
    bool GetShowPrintButton() const { return IsShown(iptbbtPrint); }
    void SetShowPrintButton(bool value) { Show({iptbbtPrint}, value); }
    bool GetShowPreviewButton() const { return IsShown(iptbbtPreview); }
    void SetShowPreviewButton(bool value) { Show({iptbbtPreview}, value); }

    // ---- Handlers ----
    // Cursor and Select off (each with its own event), every selection cleared, tracking on.
    // Zoom Box stays as it is.
    void DoButtonClickResume();
    void DoButtonClickPause();
    // Latch their button and set every axis's Mode.
    void DoButtonClickScrollAxesMode();
    void DoButtonClickZoomAxesMode();
    // Pause first, then every X axis and every Y axis zooms about its centre.
    void DoButtonClickZoomIn();
    void DoButtonClickZoomOut();
    // Toggle; Select and Zoom Box each raise the other.
    void DoButtonClickSelect();
    void DoButtonClickZoomBox();
    void DoButtonClickCursor();
    // Asks the host for its property editor (the plot's OnEditObject with the toolbar).
    void DoButtonClickEdit();
    // Raise their events only: the host does the copying, saving and printing.
    void DoButtonClickCopy();
    void DoButtonClickSave();
    void DoButtonClickPrint();
    void DoButtonClickPreview();

    bool GetCursorActive() const { return GetButton(iptbbtCursor).GetDown(); }
    bool GetZoomBoxActive() const { return GetButton(iptbbtZoomBox).GetDown(); }
    bool GetSelectActive() const { return GetButton(iptbbtSelect).GetDown(); }
    // Raises the Cursor button, which hides the data cursors; no toolbar event.
    void TurnOffCursor();

    // A spacer shows when a button of the group it closes shows (the Select button does not
    // count for spacer 4).
    void UpdateSpacers();
    // Resume is enabled when any axis is paused, Pause when not every axis is; with no axes
    // both are disabled.
    void UpdateResumePauseButtons();

    // ---- Layout, drawing and input ----
    int GetRequiredWidth(const TPlotTextMeasure& measure) override;
    // The bar in its DrawRect and its visible entries in a row from its top-left corner.
    void Draw(TCanvas& canvas, TColor background);
    // The first visible entry under the point, spacers included; else the toolbar itself.
    TPlotObject* GetMouseObject(int x, int y) override;
    // The buttons report their input to the plot as the toolbar does.
    void SetEventSink(TPlotObjectEventSink* sink) override;
    // A button's press, latch or hover state changed.
    void InvalidateButton();

private:
    TPlotToolBarButton& AddEntry(TPlotToolBarButtonStyle style);
    bool IsShown(TPlotToolBarButtonType type) const { return GetButton(type).GetVisible(); }
    void Show(std::initializer_list<TPlotToolBarButtonType> types, bool value);
    void SetupImages();
    void RaiseClick(TPlotToolBarButtonType type);
    void ZoomAllAxes(double linearFactor, double logFactor);
    void SetAllAxesMode(bool zoom);

    // Down-change reactions and the group unlatching of mouse clicks.
    void CursorDownChange();
    void SelectDownChange();
    void GroupClick(TPlotButton& clicked);

    // Declared before the entries, which draw from it.
    TPlotToolBarImageList images_{24};
    std::vector<std::unique_ptr<TPlotToolBarButton>> entries_;
    std::array<TPlotToolBarButton*, iptbbtPreview + 1> buttons_{};
    std::array<TPlotToolBarButton*, 5> spacers_{};

    double zoomInOutFactor_ = 2;
    bool flatBorder_ = false;
    bool flatButtons_ = false;
    bool smallButtons_ = false;
};

}  // namespace ondrix
