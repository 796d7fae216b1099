// The legend's layout: which channels it lists, how wide each column is, how many layout
// columns and rows it shows, where each row goes and where the scroll buttons sit.

#include <algorithm>
#include <cmath>

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannelCustom.h"
#include "plot/component/PlotComponent.h"
#include "plot/views/PlotLegend.h"

namespace ondrix {

namespace {

// Whole parts of `count` items per `per`, the last part possibly short; `per` is at least 1.
int CeilDiv(int count, int per) { return (count + per - 1) / per; }

// How many steps of `pitch` fit in `room` when the last step needs no gap after it: at least
// one, so that a legend squeezed to nothing still has a place for its first row.
int FitCount(int room, int gap, int pitch) { return pitch > 0 ? std::max(1, (room + gap) / pitch) : 1; }

bool IsValueColumn(TPlotLegend::TColumn column) {
    return column == TPlotLegend::lcXValue || column == TPlotLegend::lcYValue;
}

}  // namespace

// ---- Names ---------------------------------------------------------------------------------

// Greedy breaking between words: a word that does not fit on its own keeps a line to itself,
// which the drawing shortens with an ellipsis. Line breaks in the text always break.
std::vector<std::string> TPlotLegend::WrapWords(const TPlotTextMeasure& measure, const TPlotFont& font,
                                                const std::string& text, int width) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
        const size_t end = text.find('\n', start);
        std::string paragraph = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();

        std::string line;
        size_t position = 0;
        while (position < paragraph.size()) {
            const size_t wordStart = paragraph.find_first_not_of(' ', position);
            if (wordStart == std::string::npos) break;
            const size_t wordEnd = std::min(paragraph.find(' ', wordStart), paragraph.size());
            const std::string word = paragraph.substr(wordStart, wordEnd - wordStart);
            position = wordEnd;
            const std::string longer = line.empty() ? word : line + ' ' + word;
            if (line.empty() || measure.TextWidth(longer, font) <= width) {
                line = longer;
            } else {
                lines.push_back(line);
                line = word;
            }
        }
        lines.push_back(line);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> TPlotLegend::NameLines(const TPlotTextMeasure& measure, const TPlotFont& font,
                                                const std::string& name) const {
    const int width = channelNameMaxWidth_ != 0 ? columnWidth_[lcName] : measure.TextWidth(name, font);
    return WrapWords(measure, font, name, width);
}

// ---- Layout steps --------------------------------------------------------------------------

// A channel listed before keeps the legend rectangle it was given, so that the legend can take
// it back when it stops drawing.
void TPlotLegend::RebuildItems() {
    std::vector<TPlotLegendItem> previous = std::move(items_);
    items_.clear();
    const TPlotComponent& plot = *GetOwner();
    for (int i = 0; i < plot.ChannelCount(); ++i) {
        TPlotChannelCustom* channel = plot.GetChannel(i);
        if (!channel->GetVisibleInLegend()) continue;
        TPlotLegendItem item;
        item.Channel = channel;
        const auto listed = std::find_if(previous.begin(), previous.end(),
                                         [channel](const TPlotLegendItem& p) { return p.Channel == channel; });
        if (listed != previous.end()) item.NameRect = listed->NameRect;
        items_.push_back(item);
    }
}

void TPlotLegend::MeasureNames(const TPlotTextMeasure& measure, int w0, int h0) {
    const bool wraps = channelNameMaxWidth_ != 0;
    columnWidth_[lcName] = wraps ? std::max(0, RoundToInt(w0 * channelNameMaxWidth_)) : 0;
    rowHeight_ = 0;
    for (TPlotLegendItem& item : items_) {
        const std::string name = GetNameText(*item.Channel);
        if (wraps) {
            int height = 0;
            for (const TPlotFont* font : {&font_, &selectedItemFont_}) {
                const int lines = static_cast<int>(NameLines(measure, *font, name).size());
                height = std::max(height, lines * measure.TextHeight("0", *font));
            }
            item.Height = height;
        } else {
            item.Height = h0;
            columnWidth_[lcName] = std::max({columnWidth_[lcName], measure.TextWidth(name, font_),
                                             measure.TextWidth(name, selectedItemFont_)});
        }
        rowHeight_ = std::max(rowHeight_, item.Height);
    }
}

bool TPlotLegend::ColumnWanted(TColumn column) const {
    if (column == lcName) return true;
    if (IsValueColumn(column) && cursorColumnsMode_) return true;
    return shown_[column];
}

const std::string* TPlotLegend::Caption(TColumn column) const {
    switch (column) {
        case lcName: return &captionColumnTitle_;
        case lcXAxisTitle: return &captionColumnXAxisTitle_;
        case lcYAxisTitle: return &captionColumnYAxisTitle_;
        case lcXValue: return &captionColumnXValue_;
        case lcYValue: return &captionColumnYValue_;
        case lcYMax: return &captionColumnYMax_;
        case lcYMin: return &captionColumnYMin_;
        case lcYMean: return &captionColumnYMean_;
        case lcLine:
        case lcMarker: break;
    }
    return nullptr;
}

// Every column but the name's, which MeasureNames sized; then the captions widen what they need.
void TPlotLegend::MeasureColumns(const TPlotTextMeasure& measure, int w0) {
    for (int c = 0; c < kColumnCount; ++c) {
        const auto column = static_cast<TColumn>(c);
        columnShown_[c] = ColumnWanted(column);
        if (column == lcName) continue;
        columnWidth_[c] = column == lcLine || column == lcMarker ? 16 : 0;
        if (!columnShown_[c] || column == lcLine || column == lcMarker) continue;
        for (const TPlotLegendItem& item : items_) {
            TPlotChannelCustom& channel = *item.Channel;
            const std::string text = CellText(column, channel);
            int width = measure.TextWidth(text, font_);
            if (IsValueColumn(column)) {
                const TPlotAxis* axis = column == lcXValue ? static_cast<TPlotAxis*>(channel.GetXAxis())
                                                           : static_cast<TPlotAxis*>(channel.GetYAxis());
                // A cursor reading changes at every move of the pointer: the column is sized
                // by characters so that it does not jitter with the digits' shapes.
                if (cursorColumnsMode_) width = static_cast<int>(text.size()) * w0;
                if (axis != nullptr)
                    width = std::max(width, cursorColumnsMode_ ? axis->GetRequiredCursorLength(measure, font_)
                                                               : axis->GetRequiredLegendLength(measure, font_));
            }
            columnWidth_[c] = std::max(columnWidth_[c], width);
        }
    }
    if (!columnTitlesVisible_) return;
    for (int c = 0; c < kColumnCount; ++c) {
        const std::string* caption = Caption(static_cast<TColumn>(c));
        if (columnShown_[c] && caption != nullptr)
            columnWidth_[c] = std::max(columnWidth_[c], measure.TextWidth(*caption, columnTitlesFont_));
    }
}

TPlotRect TPlotLegend::ItemArea() const {
    return {inner_.Left, inner_.Top + titleHeight_ + titleGap_, inner_.Right, inner_.Bottom};
}

// Column by column from TopIndex, each filled to the row count before the next starts.
void TPlotLegend::PlaceItems(int areaLeft, int areaTop) {
    layoutColumnX_.assign(static_cast<size_t>(layoutColumnCount_), 0);
    for (int c = 0; c < layoutColumnCount_; ++c)
        layoutColumnX_[static_cast<size_t>(c)] = areaLeft + c * (itemWidth_ + spacing_.layoutColumnGap);
    for (TPlotLegendItem& item : items_) {
        item.Column = -1;
        item.Row = -1;
    }
    lastShownIndex_ = topIndex_ - 1;
    int column = 0;
    int row = 0;
    for (int index = topIndex_; index < static_cast<int>(items_.size()); ++index) {
        if (row == layoutRowCount_) {
            row = 0;
            ++column;
        }
        if (column >= layoutColumnCount_) break;
        TPlotLegendItem& item = items_[static_cast<size_t>(index)];
        item.Column = column;
        item.Row = row;
        item.X = layoutColumnX_[static_cast<size_t>(column)];
        item.Y = areaTop + row * (rowHeight_ + spacing_.rowGap);
        lastShownIndex_ = index;
        ++row;
    }
}

void TPlotLegend::PlaceButtons(bool needed) {
    const TPlotRect area = ItemArea();
    upButton_->SetDrawRect({area.Right - kButtonSize, area.Top, area.Right, area.Top + kButtonSize});
    downButton_->SetDrawRect({area.Right - kButtonSize, area.Bottom - kButtonSize, area.Right, area.Bottom});
    upButton_->SetVisible(needed);
    downButton_->SetVisible(needed);
    upButton_->SetEnabled(topIndex_ > 0);
    downButton_->SetEnabled(lastShownIndex_ < static_cast<int>(items_.size()) - 1);
}

// ---- CalcRects -----------------------------------------------------------------------------

void TPlotLegend::CalcRects(const TPlotTextMeasure& measure) {
    const int w0 = measure.TextWidth("0", font_);
    const int h0 = measure.TextHeight("0", font_);
    const int marginLeft = RoundToInt(w0 * marginLeft_);
    const int marginTop = RoundToInt(h0 * marginTop_);
    const int marginRight = RoundToInt(w0 * marginRight_);
    const int marginBottom = RoundToInt(h0 * marginBottom_);
    const TPlotRect& rect = GetDrawRect();
    inner_ = {rect.Left + marginLeft, rect.Top + marginTop, rect.Right - marginRight, rect.Bottom - marginBottom};
    spacing_ = {RoundToInt(w0 * columnSpacing_), RoundToInt(h0 * rowSpacing_), RoundToInt(h0 * wrapColSpacingMin_)};

    RebuildItems();
    const int count = static_cast<int>(items_.size());
    topIndex_ = std::clamp(topIndex_, 0, std::max(count - 1, 0));

    MeasureNames(measure, w0, h0);
    titleHeight_ = columnTitlesVisible_ ? measure.TextHeight("0", columnTitlesFont_) : 0;
    titleGap_ = titleHeight_ / 4;
    MeasureColumns(measure, w0);

    int offset = 0;
    for (int c = 0; c < kColumnCount; ++c) {
        columnOffset_[c] = offset;
        if (columnShown_[c]) offset += columnWidth_[c] + spacing_.columnGap;
    }
    itemWidth_ = offset - spacing_.columnGap;

    // Capacity of the item area: rows that fit, and layout columns that fit (a horizontal
    // legend keeps room for the scroll buttons beside them).
    const TPlotRect area = ItemArea();
    const int areaWidth = area.Right - area.Left;
    const int areaHeight = area.Bottom - area.Top;
    const int rowsFit = FitCount(areaHeight, spacing_.rowGap, rowHeight_ + spacing_.rowGap);
    const int buttonRoom = GetHorizontal() ? kButtonRoom : 0;
    const int columnsFit = FitCount(areaWidth - buttonRoom, spacing_.layoutColumnGap,
                                    spacing_.layoutColumnGap + itemWidth_);

    // Counts below 1 would leave nowhere to put a row; they count as 1.
    int columns = std::max(1, wrapColAutoCountEnabled_ ? wrapColAutoCountMax_ : wrapColDesiredCount_);
    const int rowLimit = std::max(1, wrapRowAutoCountEnabled_ ? wrapRowAutoCountMax_ : wrapRowDesiredCount_);
    int rows = 0;
    if (count == 0) {
        columns = 0;
    } else if (GetHorizontal()) {
        columns = std::min(columns, columnsFit);
        rows = std::min(wrapRowAutoCountEnabled_ ? CeilDiv(count, columns) : rowLimit, rowLimit);
        // The two 17-pixel scroll buttons stand one above the other: they need about three rows.
        if (rows < 3 && rows * columns < count) rows = 3;
        if (wrapColAutoCountEnabled_) columns = std::min(columns, CeilDiv(count, rows));
    } else {
        if (wrapColAutoCountEnabled_) columns = CeilDiv(count, rowsFit);
        columns = std::max(1, std::min(columns, wrapColAutoCountMax_));
        rows = std::min({rowsFit, count, rowLimit});
        if (rows < 3 && rows * columns < count) rows = 3;
    }
    layoutColumnCount_ = columns;
    layoutRowCount_ = rows;

    // Everything fits: back to the first row before placing, so that no row stays scrolled away.
    const bool scrolls = rows * columns < count;
    if (!scrolls) topIndex_ = 0;
    PlaceItems(area.Left, area.Top);

    requiredWidth_ = columns * itemWidth_ + (columns - 1) * spacing_.layoutColumnGap + marginLeft + marginRight;
    requiredHeight_ = marginTop + titleHeight_ + titleGap_ + rows * (rowHeight_ + spacing_.rowGap) - spacing_.rowGap +
                      marginBottom;
    if (scrolls) requiredWidth_ += kButtonRoom;

    if (GetHorizontal() && wrapColSpacingAuto_ && columns > 1) {
        spacing_.layoutColumnGap = (areaWidth - kButtonRoom - columns * itemWidth_) / (columns - 1);
        PlaceItems(area.Left, area.Top);
    }
    const int rowsInFirstColumn = std::min(rows, count - topIndex_);
    if (!GetHorizontal() && wrapRowSpacingAuto_ && rowsInFirstColumn > 1) {
        spacing_.rowGap = (areaHeight - rowHeight_ * rowsInFirstColumn) / (rowsInFirstColumn - 1);
        PlaceItems(area.Left, area.Top);
    }
    PlaceButtons(scrolls);
}

int TPlotLegend::GetRequiredWidth(const TPlotTextMeasure& measure) {
    CalcRects(measure);
    if (items_.empty()) return 0;
    return GetHorizontal() ? requiredHeight_ : requiredWidth_;
}

}  // namespace ondrix
