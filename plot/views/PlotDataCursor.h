#pragma once
// The measuring cursor: one or two pointer lines across data view 0, placed in percent of the
// view, and a hint box with the reading its channel takes at the pointers: the values at pointer
// 1, the X or Y distance of the two pointers, or the inverse of the X distance. The reading
// itself is the channel's (TPlotChannel::DataCursorUpate); with the channel name "<All>" every
// channel takes its own reading at pointer 1 and no hint box is drawn.
//
// Positions are percent of the data view and are clamped to 0..100 (anything not >= 0, NaN
// included, becomes 0). A reading is taken at every paint, when the cursor is shown, and while a
// pointer is dragged; setting a position alone takes none.
//
// Input (delivered by the plot while the cursor is under the pointer or selected): a press on
// the hint box drags the hint along its pointer, a press on a pointer drags that pointer; keys
// move pointer 2, or with Ctrl pointer 1 and the hint. The hit rectangles are those of the last
// draw.
//
// Threads: GUI thread only.

#include <cstdint>
#include <string>

#include "plot/core/PlotFont.h"
#include "plot/objects/PlotObjectReference.h"
#include "plot/objects/PlotObjects.h"

namespace ondrix {

class TCanvas;
class TPlotChannelCustom;
class TPlotDataView;

// What the cursor measures: values at pointer 1, or the X or Y distance of two pointers, or the
// inverse of the X distance.
enum TPlotDataCursorStyle : uint8_t { ipcsValueXY, ipcsValueX, ipcsValueY, ipcsDeltaX, ipcsDeltaY, ipcsInverseDeltaX };
inline constexpr auto kPlotDataCursorStyleNames = EnumValueNames<ipcsInverseDeltaX>(
    {"ipcsValueXY", "ipcsValueX", "ipcsValueY", "ipcsDeltaX", "ipcsDeltaY", "ipcsInverseDeltaX"});

// The side of the pointer line the hint box sits on.
enum TOrientationSide : uint8_t { iosBottomRight, iosTopLeft };
inline constexpr auto kOrientationSideNames = EnumValueNames<iosTopLeft>({"iosBottomRight", "iosTopLeft"});

// The channel name that stands for every channel.
inline constexpr const char* kDataCursorAllChannels = "<All>";

class TPlotDataCursor : public TPlotManagerObject {
public:
    // Starts hidden: the toolbar's Cursor button shows it.
    TPlotDataCursor(TPlotComponent* owner, TPlotObjectEvents events);

    const std::string& GetChannelName() const { return channel_.Name(); }
    void SetChannelName(const std::string& value);
    // The channel read, or null when no channel bears the name ("<All>" included).
    TPlotChannelCustom* GetChannel();
    // The name is "<All>", in any letter case.
    bool GetAllChannels() const;

    TPlotDataView* GetDataView() const { return dataView_; }
    void SetDataView(TPlotDataView* value) { dataView_ = value; }

    // ---- Channel choice ----
    // The Channel menu offers "<All>".
    bool GetChannelAllowAll() const { return channelAllowAll_; }
    void SetChannelAllowAll(bool value);
    // With "<All>", legend 0 shows every channel's reading.
    bool GetChannelShowAllInLegend() const { return channelShowAllInLegend_; }
    void SetChannelShowAllInLegend(bool value);

    // ---- Measurement and look ----
    TPlotDataCursorStyle GetStyle() const { return style_; }
    void SetStyle(TPlotDataCursorStyle value);
    // A run-time switch, not stored: Value Y then reads the level of a horizontal pointer 2
    // instead of the channel at pointer 1.
    bool GetScopeStyle() const { return scopeStyle_; }
    void SetScopeStyle(bool value);
    // The pointers' colour unless the channel's colour is used.
    TColor GetColor() const { return color_; }
    void SetColor(TColor value);
    bool GetUseChannelColor() const { return useChannelColor_; }
    void SetUseChannelColor(bool value);
    // Pen width of a pointer not being dragged; at least 0 (the thinnest line).
    int32_t GetPointerPenWidth() const { return pointerPenWidth_; }
    void SetPointerPenWidth(int32_t value);
    // The hint text's font; the text itself is drawn in the desktop's tooltip colours.
    const TPlotFont& GetFont() const { return font_; }
    void SetFont(const TPlotFont& value);

    // ---- Hint box ----
    bool GetHintShow() const { return hintShow_; }
    void SetHintShow(bool value);
    // The hint shows only while a pointer is dragged.
    bool GetHintHideOnRelease() const { return hintHideOnRelease_; }
    void SetHintHideOnRelease(bool value);
    // Drawing flips it when the box does not fit on that side.
    TOrientationSide GetHintOrientationSide() const { return hintOrientationSide_; }
    void SetHintOrientationSide(TOrientationSide value);
    // Along the pointer line.
    double GetHintPosition() const { return hintPosition_; }
    void SetHintPosition(double value);

    // ---- Pointers ----
    double GetPointer1Position() const { return pointer1Position_; }
    void SetPointer1Position(double value);
    double GetPointer2Position() const { return pointer2Position_; }
    void SetPointer2Position(double value);
    // The pointer's pixel on the data view: a y for a horizontal pointer, else an x; 0 without
    // a data view.
    int GetPointer1Pixels() const;
    int GetPointer2Pixels() const;

    // Derived from the style, ScopeStyle and the plot's axis reversal. A horizontal pointer is a
    // line at a Y position; the hint slides along X beside horizontal pointers.
    bool GetPointer1Shown() const { return pointer1Shown_; }
    bool GetPointer2Shown() const { return pointer2Shown_; }
    bool GetPointer1Horizontal() const { return pointer1Horizontal_; }
    bool GetPointer2Horizontal() const { return pointer2Horizontal_; }
    bool GetHintAlongX() const { return hintAlongX_; }

    // ---- Pop-up menu ----
    // The menu has the Options submenu.
    bool GetMenuUserCanChangeOptions() const { return menuUserCanChangeOptions_; }
    void SetMenuUserCanChangeOptions(bool value);
    // Visibility and caption of each item of the Style submenu.
    bool GetMenuItemVisibleValueXY() const { return menuItemVisibleValueXY_; }
    void SetMenuItemVisibleValueXY(bool value);
    bool GetMenuItemVisibleValueX() const { return menuItemVisibleValueX_; }
    void SetMenuItemVisibleValueX(bool value);
    bool GetMenuItemVisibleValueY() const { return menuItemVisibleValueY_; }
    void SetMenuItemVisibleValueY(bool value);
    bool GetMenuItemVisibleDeltaX() const { return menuItemVisibleDeltaX_; }
    void SetMenuItemVisibleDeltaX(bool value);
    bool GetMenuItemVisibleDeltaY() const { return menuItemVisibleDeltaY_; }
    void SetMenuItemVisibleDeltaY(bool value);
    bool GetMenuItemVisibleInverseDeltaX() const { return menuItemVisibleInverseDeltaX_; }
    void SetMenuItemVisibleInverseDeltaX(bool value);
    const std::string& GetMenuItemCaptionValueXY() const { return menuItemCaptionValueXY_; }
    void SetMenuItemCaptionValueXY(const std::string& value);
    const std::string& GetMenuItemCaptionValueX() const { return menuItemCaptionValueX_; }
    void SetMenuItemCaptionValueX(const std::string& value);
    const std::string& GetMenuItemCaptionValueY() const { return menuItemCaptionValueY_; }
    void SetMenuItemCaptionValueY(const std::string& value);
    const std::string& GetMenuItemCaptionDeltaX() const { return menuItemCaptionDeltaX_; }
    void SetMenuItemCaptionDeltaX(const std::string& value);
    const std::string& GetMenuItemCaptionDeltaY() const { return menuItemCaptionDeltaY_; }
    void SetMenuItemCaptionDeltaY(const std::string& value);
    const std::string& GetMenuItemCaptionInverseDeltaX() const { return menuItemCaptionInverseDeltaX_; }
    void SetMenuItemCaptionInverseDeltaX(const std::string& value);

    // ---- Reading ----
    // Raises the plot's before-update event, then lets the channel, or with "<All>" every
    // channel in index order, take its reading.
    void DoUpdate();
    // The channel's reading: a change of any part raises the plot's data-cursor change event.
    void SetData(double x, double y, TPlotDataPointStatus status);
    double GetValueX() const { return valueX_; }
    double GetValueY() const { return valueY_; }
    TPlotDataPointStatus GetValueStatus() const { return valueStatus_; }
    // The reading's text, as the channel wrote it.
    const std::string& GetDisplayText() const { return displayText_; }
    void SetDisplayText(const std::string& value) { displayText_ = value; }

    // Showing the cursor takes a reading at once.
    void SetVisible(bool value) override;
    // Reversed axes swap the pointers' orientation and the hint's direction.
    void SetXYAxesReversed(bool value) override;

    // ---- Drawing (PlotDataCursorDraw.cpp) ----
    // Nothing without a data view or while hidden. Takes a reading, then draws the shown
    // pointers and, unless the hint is off, the channel is "<All>" or the hint hides while no
    // pointer is dragged, the hint box.
    void Draw(TCanvas& canvas);
    // The line of one pointer across the data view; answers its hit rectangle.
    TPlotRect DrawPointer(TCanvas& canvas, bool horizontal, double position) const;
    // The box beside pointer 1 (between the pointers for the distance styles), flipped to the
    // side where it fits and shifted back into the data view.
    void DrawHint(TCanvas& canvas);
    // As of the last draw.
    const TPlotRect& GetPointer1Rect() const { return pointer1Rect_; }
    const TPlotRect& GetPointer2Rect() const { return pointer2Rect_; }
    const TPlotRect& GetHintRect() const { return hintRect_; }
    bool GetHintShowing() const { return hintShowing_; }

    // ---- Input (PlotDataCursorInput.cpp) ----
    bool iMouseHitTest(const TPlotMouseData& data) override;
    void DoMouseLeft(const TPlotMouseData& data) override;
    void DoMouseMove(const TPlotMouseData& data) override;
    void DoMouseUp(const TPlotMouseData& data) override;
    void iKeyDown(int& key, TShiftState shift) override;
    TPlotCursor GetMousePointer(int x, int y) override;
    // After the got-focus event the cursor's channel is selected too.
    void DoSetFocus() override;
    // A clicked channel: the cursor stays selected with its own, follows another while
    // selected; anything else deselects it.
    void NotificationSetFocus(TPlotObject& obj) override;
    // Channel, Style and Options submenus, "Flip Alignment", then the common items.
    void AddMenuItems(TPlotPopupMenu& menu) override;
    // Whether a part is being dragged.
    bool GetDragging() const { return drag_ != TDragPart::None; }

    void NotificationRemove(TPlotObject& obj) override;
    void NotificationRename(TPlotObject& obj) override;

private:
    enum class TDragPart : uint8_t { None, Pointer1, Pointer2, Hint };

    // Percent positions never leave 0..100; anything not >= 0 becomes 0.
    static double ClampedPercent(double value);
    // Derives the pointers and the hint direction from the style.
    void DoSetup();
    // The colour of the pointers, and of the hint's outline when the channel's is used.
    TColor PointerColor();
    // The distance styles centre the hint between the two pointers.
    bool IsDeltaStyle() const;
    void RepaintNow();
    // Whether the dragged part moves along X (a vertical pointer, or a hint beside horizontal
    // ones).
    bool DragAlongX() const;
    double& DraggedPosition();
    void AddChannelMenu(TPlotPopupMenu& menu);
    void AddStyleMenu(TPlotPopupMenu& menu);

    TPlotObjectReference<TPlotChannelCustom> channel_;
    TPlotDataView* dataView_ = nullptr;

    bool channelAllowAll_ = true;
    bool channelShowAllInLegend_ = true;
    TPlotDataCursorStyle style_ = ipcsValueXY;
    bool scopeStyle_ = false;
    TColor color_ = clYellow;
    bool useChannelColor_ = true;
    int32_t pointerPenWidth_ = 1;
    TPlotFont font_;

    bool hintShow_ = true;
    bool hintHideOnRelease_ = false;
    TOrientationSide hintOrientationSide_ = iosBottomRight;
    double hintPosition_ = 50;

    double pointer1Position_ = 50;
    double pointer2Position_ = 60;

    bool pointer1Shown_ = true;
    bool pointer2Shown_ = false;
    bool pointer1Horizontal_ = false;
    bool pointer2Horizontal_ = false;
    bool hintAlongX_ = false;

    bool menuUserCanChangeOptions_ = true;
    bool menuItemVisibleValueXY_ = true;
    bool menuItemVisibleValueX_ = true;
    bool menuItemVisibleValueY_ = true;
    bool menuItemVisibleDeltaX_ = true;
    bool menuItemVisibleDeltaY_ = true;
    bool menuItemVisibleInverseDeltaX_ = true;
    std::string menuItemCaptionValueXY_ = "Value X-Y";
    std::string menuItemCaptionValueX_ = "Value X";
    std::string menuItemCaptionValueY_ = "Value Y";
    std::string menuItemCaptionDeltaX_ = "Period";
    std::string menuItemCaptionDeltaY_ = "Peak-Peak";
    std::string menuItemCaptionInverseDeltaX_ = "Frequency";

    double valueX_ = 0;
    double valueY_ = 0;
    TPlotDataPointStatus valueStatus_ = ipdpsValid;
    std::string displayText_;

    TPlotRect pointer1Rect_;
    TPlotRect pointer2Rect_;
    TPlotRect hintRect_;
    bool hintShowing_ = false;

    TDragPart drag_ = TDragPart::None;
    int pressX_ = 0;
    int pressY_ = 0;
    int dragStartPixels_ = 0;
};

}  // namespace ondrix
