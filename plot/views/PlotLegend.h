#pragma once
// The plot's legend: a small table with one row per channel shown in it (VisibleInLegend), in
// channel order. A row holds a sample of the trace line, the marker, the channel's name and,
// on request, its axes' titles, its last X and Y values (or the data cursor's reading) and its
// running Y maximum, minimum and mean. Rows wrap into several layout columns when the counts
// allow it; two scroll buttons page through rows that do not fit.
//
// Lengths of the published spacing properties count in the legend font's "0": widths in its
// width, heights in its height, each rounded to whole pixels with ties to even.
//
// The layout (CalcRects) runs when the plot's layout asks for the legend's thickness and again
// when it draws. It writes each shown channel's legend rectangle (its name cell), which is
// where a click selects the channel; a legend that is not drawn takes its rectangles back.
//
// Threads: GUI thread only.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plot/core/PlotCanvas.h"
#include "plot/core/PlotFont.h"
#include "plot/objects/PlotObjects.h"

namespace ondrix {

class TPlotChannelCustom;
class TPlotLegend;

// Where a channel's name takes its text colour from.
enum TPlotLegendChannelNameColorStyle : uint8_t {
    iplcncsFont,
    iplcncsChannel,
    iplcncsXAxisLabelsFont,
    iplcncsYAxisLabelsFont
};
inline constexpr auto kPlotLegendChannelNameColorStyleNames = EnumValueNames<iplcncsYAxisLabelsFont>(
    {"iplcncsFont", "iplcncsChannel", "iplcncsXAxisLabelsFont", "iplcncsYAxisLabelsFont"});

// ---- TPlotLegendButton -------------------------------------------------------------------

// One of the legend's two scroll buttons, 17 pixels square; held by the legend, repeating while
// held. Its repaints go through the legend.
class TPlotLegendButton : public TPlotButton {
public:
    TPlotLegendButton(TPlotLegend& legend, bool pointsUp);

    bool GetPointsUp() const { return pointsUp_; }
    // Face, edge (sunken while pressed) and the arrow, black when enabled, grey when not.
    void Draw(TCanvas& canvas);

private:
    bool pointsUp_;
};

// ---- TPlotLegendItem ---------------------------------------------------------------------

// A channel's row as the last layout left it. Column and Row are -1 for a row scrolled out of
// view.
struct TPlotLegendItem {
    TPlotChannelCustom* Channel = nullptr;  // not owned; the row goes when the channel leaves the plot
    int Height = 0;  // the name cell's height; the row itself is the legend's RowHeight
    int X = 0;
    int Y = 0;
    int Column = -1;
    int Row = -1;
    // The legend rectangle this legend last gave the channel, so that it takes back only its own.
    TPlotRect NameRect;

    bool Shown() const { return Column >= 0; }
};

// ---- TPlotLegend -------------------------------------------------------------------------

class TPlotLegend : public TPlotLayoutObject {
public:
    // The cells of a row, left to right.
    enum TColumn : uint8_t {
        lcLine,
        lcMarker,
        lcName,
        lcXAxisTitle,
        lcYAxisTitle,
        lcXValue,
        lcYValue,
        lcYMax,
        lcYMin,
        lcYMean,
    };
    static constexpr int kColumnCount = lcYMean + 1;
    static constexpr int kButtonSize = 17;
    // The room kept beside the rows for the scroll buttons.
    static constexpr int kButtonRoom = 25;

    TPlotLegend(TPlotComponent* owner, TPlotObjectEvents events);
    ~TPlotLegend() override;

    // ---- Margins and colours ----
    double GetMarginLeft() const { return marginLeft_; }
    void SetMarginLeft(double value);
    double GetMarginTop() const { return marginTop_; }
    void SetMarginTop(double value);
    double GetMarginRight() const { return marginRight_; }
    void SetMarginRight(double value);
    double GetMarginBottom() const { return marginBottom_; }
    void SetMarginBottom(double value);
    TColor GetBackGroundColor() const { return backGroundColor_; }
    void SetBackGroundColor(TColor value);
    bool GetBackGroundTransparent() const { return backGroundTransparent_; }
    void SetBackGroundTransparent(bool value);
    TColor GetSelectedItemBackGroundColor() const { return selectedItemBackGroundColor_; }
    void SetSelectedItemBackGroundColor(TColor value);

    // ---- Fonts: rows, the selected channel's name, column titles ----
    const TPlotFont& GetFont() const { return font_; }
    void SetFont(const TPlotFont& value);
    const TPlotFont& GetSelectedItemFont() const { return selectedItemFont_; }
    void SetSelectedItemFont(const TPlotFont& value);
    const TPlotFont& GetColumnTitlesFont() const { return columnTitlesFont_; }
    void SetColumnTitlesFont(const TPlotFont& value);

    // ---- Columns shown ----
    bool GetShowColumnLine() const { return shown_[lcLine]; }
    void SetShowColumnLine(bool value) { SetShown(lcLine, value); }
    bool GetShowColumnMarker() const { return shown_[lcMarker]; }
    void SetShowColumnMarker(bool value) { SetShown(lcMarker, value); }
    bool GetShowColumnXAxisTitle() const { return shown_[lcXAxisTitle]; }
    void SetShowColumnXAxisTitle(bool value) { SetShown(lcXAxisTitle, value); }
    bool GetShowColumnYAxisTitle() const { return shown_[lcYAxisTitle]; }
    void SetShowColumnYAxisTitle(bool value) { SetShown(lcYAxisTitle, value); }
    bool GetShowColumnXValue() const { return shown_[lcXValue]; }
    void SetShowColumnXValue(bool value) { SetShown(lcXValue, value); }
    bool GetShowColumnYValue() const { return shown_[lcYValue]; }
    void SetShowColumnYValue(bool value) { SetShown(lcYValue, value); }
    bool GetShowColumnYMax() const { return shown_[lcYMax]; }
    void SetShowColumnYMax(bool value) { SetShown(lcYMax, value); }
    bool GetShowColumnYMin() const { return shown_[lcYMin]; }
    void SetShowColumnYMin(bool value) { SetShown(lcYMin, value); }
    bool GetShowColumnYMean() const { return shown_[lcYMean]; }
    void SetShowColumnYMean(bool value) { SetShown(lcYMean, value); }

    // ---- Column titles ----
    bool GetColumnTitlesVisible() const { return columnTitlesVisible_; }
    void SetColumnTitlesVisible(bool value);
    const std::string& GetCaptionColumnTitle() const { return captionColumnTitle_; }
    void SetCaptionColumnTitle(const std::string& value);
    const std::string& GetCaptionColumnXAxisTitle() const { return captionColumnXAxisTitle_; }
    void SetCaptionColumnXAxisTitle(const std::string& value);
    const std::string& GetCaptionColumnYAxisTitle() const { return captionColumnYAxisTitle_; }
    void SetCaptionColumnYAxisTitle(const std::string& value);
    const std::string& GetCaptionColumnXValue() const { return captionColumnXValue_; }
    void SetCaptionColumnXValue(const std::string& value);
    const std::string& GetCaptionColumnYValue() const { return captionColumnYValue_; }
    void SetCaptionColumnYValue(const std::string& value);
    const std::string& GetCaptionColumnYMax() const { return captionColumnYMax_; }
    void SetCaptionColumnYMax(const std::string& value);
    const std::string& GetCaptionColumnYMin() const { return captionColumnYMin_; }
    void SetCaptionColumnYMin(const std::string& value);
    const std::string& GetCaptionColumnYMean() const { return captionColumnYMean_; }
    void SetCaptionColumnYMean(const std::string& value);

    // ---- Spacing and wrapping ----
    double GetColumnSpacing() const { return columnSpacing_; }
    void SetColumnSpacing(double value);
    // RowSpacing and WrapRowSpacingMin are two names of one value.
    double GetRowSpacing() const { return rowSpacing_; }
    void SetRowSpacing(double value);
    double GetWrapRowSpacingMin() const { return rowSpacing_; }
    void SetWrapRowSpacingMin(double value) { SetRowSpacing(value); }
    double GetWrapColSpacingMin() const { return wrapColSpacingMin_; }
    void SetWrapColSpacingMin(double value);
    int32_t GetWrapColDesiredCount() const { return wrapColDesiredCount_; }
    void SetWrapColDesiredCount(int32_t value);
    int32_t GetWrapRowDesiredCount() const { return wrapRowDesiredCount_; }
    void SetWrapRowDesiredCount(int32_t value);
    bool GetWrapColAutoCountEnabled() const { return wrapColAutoCountEnabled_; }
    void SetWrapColAutoCountEnabled(bool value);
    bool GetWrapRowAutoCountEnabled() const { return wrapRowAutoCountEnabled_; }
    void SetWrapRowAutoCountEnabled(bool value);
    int32_t GetWrapColAutoCountMax() const { return wrapColAutoCountMax_; }
    void SetWrapColAutoCountMax(int32_t value);
    int32_t GetWrapRowAutoCountMax() const { return wrapRowAutoCountMax_; }
    void SetWrapRowAutoCountMax(int32_t value);
    bool GetWrapColSpacingAuto() const { return wrapColSpacingAuto_; }
    void SetWrapColSpacingAuto(bool value);
    bool GetWrapRowSpacingAuto() const { return wrapRowSpacingAuto_; }
    void SetWrapRowSpacingAuto(bool value);

    // ---- Names ----
    // 0: the name column is as wide as the widest name; otherwise that many "0" widths, and
    // longer names wrap between words.
    double GetChannelNameMaxWidth() const { return channelNameMaxWidth_; }
    void SetChannelNameMaxWidth(double value);
    TPlotLegendChannelNameColorStyle GetChannelNameColorStyle() const { return channelNameColorStyle_; }
    void SetChannelNameColorStyle(TPlotLegendChannelNameColorStyle value);

    // ---- Run-time state ----
    // Set by the plot at every paint (legend 0 only): the X and Y value columns then show the
    // data cursor's readings, whatever ShowColumnXValue and ShowColumnYValue say. Not a change.
    bool GetCursorColumnsMode() const { return cursorColumnsMode_; }
    void SetCursorColumnsMode(bool value) { cursorColumnsMode_ = value; }
    // The first row shown, and the last (-1 with no rows).
    int GetTopIndex() const { return topIndex_; }
    int GetLastShownIndex() const { return lastShownIndex_; }
    const std::vector<TPlotLegendItem>& GetItems() const { return items_; }
    // Layout columns and rows of the last layout (F and H), the size it asked for, and the sizes
    // of a row.
    int GetLayoutColumnCount() const { return layoutColumnCount_; }
    int GetLayoutRowCount() const { return layoutRowCount_; }
    int GetNeededWidth() const { return requiredWidth_; }
    int GetNeededHeight() const { return requiredHeight_; }
    int GetItemWidth() const { return itemWidth_; }
    int GetRowHeight() const { return rowHeight_; }
    bool GetColumnShown(TColumn column) const { return columnShown_[column]; }
    int GetColumnWidth(TColumn column) const { return columnWidth_[column]; }
    int GetColumnOffset(TColumn column) const { return columnOffset_[column]; }
    TPlotLegendButton& GetUpButton() const { return *upButton_; }
    TPlotLegendButton& GetDownButton() const { return *downButton_; }

    // ---- Scrolling: one row per click, then a repaint ----
    void UpButtonClick();
    void DownButtonClick();

    // ---- Cell texts ----
    std::string GetNameText(const TPlotChannelCustom& channel) const;
    std::string GetXAxisNameText(TPlotChannelCustom& channel) const;
    std::string GetYAxisNameText(TPlotChannelCustom& channel) const;
    std::string GetXAxisValueText(TPlotChannelCustom& channel) const;
    std::string GetYAxisValueText(TPlotChannelCustom& channel) const;
    std::string GetYAxisMaxText(TPlotChannelCustom& channel) const;
    std::string GetYAxisMinText(TPlotChannelCustom& channel) const;
    std::string GetYAxisMeanText(TPlotChannelCustom& channel) const;

    // ---- Layout and drawing (PlotLegendLayout.cpp, PlotLegendDraw.cpp) ----
    // Lays the rows out in DrawRect: the item list, the columns, the counts, every row's place
    // and the scroll buttons.
    void CalcRects(const TPlotTextMeasure& measure);
    // Runs the layout and answers the height a horizontal legend needs, the width a vertical one
    // needs; 0 with no rows, as nothing would be drawn there.
    int GetRequiredWidth(const TPlotTextMeasure& measure) override;
    // Only when Visible and there are rows; otherwise the channels' legend rectangles this legend
    // gave are taken back, so that no click lands on a name no longer shown.
    void Draw(TCanvas& canvas, TColor background);

    // ---- Input ----
    // The up button, the down button, the channel whose name cell holds the point, else the
    // legend.
    TPlotObject* GetMouseObject(int x, int y) override;
    // A release inside the legend after a press on it is a click (or a double click).
    void DoMouseUp(const TPlotMouseData& data) override;
    // The buttons report their input to the plot as the legend does.
    void SetEventSink(TPlotObjectEventSink* sink) override;
    // A channel leaving the plot leaves the rows at once, before any layout runs again.
    void NotificationRemove(TPlotObject& obj) override;

private:
    // A button's pressed look changed, or a click scrolled.
    void InvalidateButtons();
    struct TSpacing {
        int columnGap = 0;
        int rowGap = 0;
        int layoutColumnGap = 0;
    };

    void SetShown(TColumn column, bool value);
    bool ColumnWanted(TColumn column) const;
    // Word-wrapped lines of a name in the cell's width; one line per line break without wrapping.
    std::vector<std::string> NameLines(const TPlotTextMeasure& measure, const TPlotFont& font,
                                       const std::string& name) const;
    static std::vector<std::string> WrapWords(const TPlotTextMeasure& measure, const TPlotFont& font,
                                              const std::string& text, int width);
    std::string CellText(TColumn column, TPlotChannelCustom& channel) const;
    const std::string* Caption(TColumn column) const;

    void RebuildItems();
    void MeasureNames(const TPlotTextMeasure& measure, int w0, int h0);
    void MeasureColumns(const TPlotTextMeasure& measure, int w0);
    void PlaceItems(int areaLeft, int areaTop);
    void PlaceButtons(bool needed);
    TPlotRect ItemArea() const;

    void DrawColumnTitles(TCanvas& canvas);
    void DrawItem(TCanvas& canvas, TPlotLegendItem& item);
    void DrawLineSample(TCanvas& canvas, const TPlotChannelCustom& channel, int left, int middle);
    void DrawName(TCanvas& canvas, TPlotChannelCustom& channel, const TPlotRect& cell);
    void TakeBackLegendRects();

    // Published.
    double marginLeft_ = 1;
    double marginTop_ = 1;
    double marginRight_ = 1;
    double marginBottom_ = 1;
    TColor backGroundColor_ = clGray;
    bool backGroundTransparent_ = true;
    TColor selectedItemBackGroundColor_ = clYellow;
    TPlotFont font_ = FontWithColor(clWhite);
    TPlotFont selectedItemFont_ = FontWithColor(clBlack);
    TPlotFont columnTitlesFont_ = FontWithColor(clAqua, true);
    std::array<bool, kColumnCount> shown_{true, false, true, false, false, false, false, false, false, false};
    bool columnTitlesVisible_ = false;
    std::string captionColumnTitle_ = "Title";
    std::string captionColumnXAxisTitle_ = "X-Axis";
    std::string captionColumnYAxisTitle_ = "Y-Axis";
    std::string captionColumnXValue_ = "X";
    std::string captionColumnYValue_ = "Y";
    std::string captionColumnYMax_ = "Y-Max";
    std::string captionColumnYMin_ = "Y-Min";
    std::string captionColumnYMean_ = "Y-Mean";
    double columnSpacing_ = 0.5;
    double rowSpacing_ = 0.25;
    double wrapColSpacingMin_ = 2;
    int32_t wrapColDesiredCount_ = 1;
    int32_t wrapRowDesiredCount_ = 5;
    bool wrapColAutoCountEnabled_ = false;
    bool wrapRowAutoCountEnabled_ = true;
    int32_t wrapColAutoCountMax_ = 100;
    int32_t wrapRowAutoCountMax_ = 100;
    bool wrapColSpacingAuto_ = true;
    bool wrapRowSpacingAuto_ = false;
    double channelNameMaxWidth_ = 0;
    TPlotLegendChannelNameColorStyle channelNameColorStyle_ = iplcncsFont;

    // Run-time state.
    bool cursorColumnsMode_ = false;
    std::unique_ptr<TPlotLegendButton> upButton_;
    std::unique_ptr<TPlotLegendButton> downButton_;
    std::vector<TPlotLegendItem> items_;
    int topIndex_ = 0;
    int lastShownIndex_ = -1;
    std::array<bool, kColumnCount> columnShown_{};
    std::array<int, kColumnCount> columnWidth_{};
    std::array<int, kColumnCount> columnOffset_{};
    std::vector<int> layoutColumnX_;
    int layoutColumnCount_ = 0;
    int layoutRowCount_ = 0;
    int requiredWidth_ = 0;
    int requiredHeight_ = 0;
    int itemWidth_ = 0;
    int rowHeight_ = 0;
    int titleHeight_ = 0;
    int titleGap_ = 0;
    TSpacing spacing_;
    TPlotRect inner_;
};

}  // namespace ondrix
