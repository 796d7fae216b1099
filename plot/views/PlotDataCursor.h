#pragma once
// The measuring cursor. So far what the object model needs (the channel it reads, bound by name
// and cached, and the data view it lies in) and its stored settings: what it measures, where its
// pointers and hint box sit, its colours and its menu captions. Drawing, the readings, the hint
// box, "<All>" and the input handling come with the data cursor work.
//
// Positions are percent of the data view and are clamped to 0..100 (anything not >= 0, NaN
// included, becomes 0).

#include <cstdint>
#include <string>

#include "plot/objects/PlotObjectReference.h"
#include "plot/objects/PlotObjects.h"

namespace ondrix {

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

class TPlotDataCursor : public TPlotManagerObject {
public:
    // Starts hidden: the toolbar's Cursor button shows it.
    TPlotDataCursor(TPlotComponent* owner, TPlotObjectEvents events);

    const std::string& GetChannelName() const { return channel_.Name(); }
    void SetChannelName(const std::string& value);
    // The channel read, or null when no channel bears the name.
    TPlotChannelCustom* GetChannel();

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
    // The pointers' colour unless the channel's colour is used.
    TColor GetColor() const { return color_; }
    void SetColor(TColor value);
    bool GetUseChannelColor() const { return useChannelColor_; }
    void SetUseChannelColor(bool value);
    // Pen width of a pointer not being dragged; at least 0 (the thinnest line).
    int32_t GetPointerPenWidth() const { return pointerPenWidth_; }
    void SetPointerPenWidth(int32_t value);

    // ---- Hint box ----
    bool GetHintShow() const { return hintShow_; }
    void SetHintShow(bool value);
    // The hint shows only while a pointer is dragged.
    bool GetHintHideOnRelease() const { return hintHideOnRelease_; }
    void SetHintHideOnRelease(bool value);
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

    // ---- Captions of the Style menu's items, one per style ----
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

    void NotificationRemove(TPlotObject& obj) override;
    void NotificationRename(TPlotObject& obj) override;

private:
    TPlotObjectReference<TPlotChannelCustom> channel_;
    TPlotDataView* dataView_ = nullptr;

    bool channelAllowAll_ = true;
    bool channelShowAllInLegend_ = true;
    TPlotDataCursorStyle style_ = ipcsValueXY;
    TColor color_ = clYellow;
    bool useChannelColor_ = true;
    int32_t pointerPenWidth_ = 1;

    bool hintShow_ = true;
    bool hintHideOnRelease_ = false;
    TOrientationSide hintOrientationSide_ = iosBottomRight;
    double hintPosition_ = 50;

    double pointer1Position_ = 50;
    double pointer2Position_ = 60;

    std::string menuItemCaptionValueXY_ = "Value X-Y";
    std::string menuItemCaptionValueX_ = "Value X";
    std::string menuItemCaptionValueY_ = "Value Y";
    std::string menuItemCaptionDeltaX_ = "Period";
    std::string menuItemCaptionDeltaY_ = "Peak-Peak";
    std::string menuItemCaptionInverseDeltaX_ = "Frequency";
};

}  // namespace ondrix
