// The legend's drawing: background, column titles, each shown row's cells, the scroll buttons
// and the focus rectangle.

#include <algorithm>
#include <vector>

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannelCustom.h"
#include "plot/component/PlotComponent.h"
#include "plot/core/PlotScopeExit.h"
#include "plot/views/PlotLegend.h"

namespace ondrix {

namespace {

// The line sample's dashes, in pixels from the column's left edge, each run from `from` up to
// but not including `to`: 13 pixels in all, so that every style shows at least one full period.
struct TDashRun {
    int from;
    int to;
};

std::vector<TDashRun> DashRuns(TPlotLineStyle style) {
    switch (style) {
        case iplsSolid: break;
        case iplsDash: return {{0, 5}, {8, 13}};
        case iplsDot: return {{0, 2}, {4, 6}, {8, 10}};
        case iplsDashDot: return {{0, 5}, {7, 9}};
        case iplsDashDotDot: return {{0, 5}, {7, 9}, {11, 13}};
    }
    return {{0, 13}};
}

TPlotBrush ClearBrush(const TCanvas& canvas) { return TPlotBrush{canvas.GetBrush().Color, bsClear}; }

}  // namespace

// ---- TPlotLegendButton -------------------------------------------------------------------

void TPlotLegendButton::Draw(TCanvas& canvas) {
    const TPlotRect& box = GetDrawRect();
    canvas.SetBrush(TPlotBrush{clBtnFace, bsSolid});
    canvas.FillRect(box);
    canvas.DrawEdge(box, GetPressed() ? esSunken : esRaised);

    // Four rows 2, 4, 6 and 8 pixels wide: an arrow 8 wide and 4 high about the centre.
    canvas.SetBrush(TPlotBrush{GetEnabled() ? clBlack : clGray, bsSolid});
    const int centreX = box.Left + (box.Right - box.Left) / 2;
    const int centreY = box.Top + (box.Bottom - box.Top) / 2;
    for (int step = 0; step < 4; ++step) {
        const int half = step + 1;
        const int y = pointsUp_ ? centreY - 2 + step : centreY + 1 - step;
        canvas.FillRect({centreX - half, y, centreX + half, y + 1});
    }
}

// ---- TPlotLegend -------------------------------------------------------------------------

void TPlotLegend::Draw(TCanvas& canvas, TColor) {
    if (!GetVisible()) {
        TakeBackLegendRects();
        return;
    }
    CalcRects(TCanvasTextMeasure(canvas));
    if (items_.empty()) return;

    canvas.Save();
    const TScopeExit restore([&canvas] { canvas.Restore(); });
    if (!backGroundTransparent_) {
        canvas.SetBrush(TPlotBrush{backGroundColor_, bsSolid});
        canvas.FillRect(GetDrawRect());
    }
    DrawColumnTitles(canvas);

    const TPlotComponent& plot = *GetOwner();
    for (int i = 0; i < plot.ChannelCount(); ++i) plot.GetChannel(i)->SetLegendRect({});
    for (TPlotLegendItem& item : items_) {
        item.NameRect = {};
        if (item.Shown()) DrawItem(canvas, item);
    }

    for (TPlotLegendButton* button : {upButton_.get(), downButton_.get()})
        if (button->GetVisible()) button->Draw(canvas);

    if (GetUserSelected()) {
        TPlotRect focus = GetDrawRect();
        if (GetHorizontal()) {
            focus.Top += 2;
            focus.Bottom -= 2;
        } else {
            focus.Left += 2;
            focus.Right -= 2;
        }
        canvas.DrawFocusRect(focus);
    }
}

// A rectangle that another legend has given the channel since stays as it is.
void TPlotLegend::TakeBackLegendRects() {
    for (TPlotLegendItem& item : items_) {
        if (item.NameRect == TPlotRect{}) continue;
        if (item.Channel->GetLegendRect() == item.NameRect) item.Channel->SetLegendRect({});
        item.NameRect = {};
    }
}

// Once above each layout column that holds a row, on one line and unclipped: the name's caption
// to the left, the axis titles' centred, the numbers' to the right like the numbers below them.
void TPlotLegend::DrawColumnTitles(TCanvas& canvas) {
    if (!columnTitlesVisible_) return;
    int usedColumns = 0;
    for (const TPlotLegendItem& item : items_) usedColumns = std::max(usedColumns, item.Column + 1);
    canvas.SetFont(columnTitlesFont_);
    canvas.SetBrush(ClearBrush(canvas));
    for (int layoutColumn = 0; layoutColumn < usedColumns; ++layoutColumn) {
        const int x = layoutColumnX_[static_cast<size_t>(layoutColumn)];
        for (int c = 0; c < kColumnCount; ++c) {
            const auto column = static_cast<TColumn>(c);
            const std::string* caption = Caption(column);
            if (!columnShown_[c] || caption == nullptr) continue;
            const int left = x + columnOffset_[c];
            const int spare = columnWidth_[c] - canvas.TextWidth(*caption);
            int textLeft = left + spare;
            if (column == lcName) textLeft = left;
            if (column == lcXAxisTitle || column == lcYAxisTitle) textLeft = left + spare / 2;
            canvas.TextOut(textLeft, inner_.Top, *caption);
        }
    }
}

void TPlotLegend::DrawItem(TCanvas& canvas, TPlotLegendItem& item) {
    TPlotChannelCustom& channel = *item.Channel;
    const int nameLeft = item.X + columnOffset_[lcName];
    const TPlotRect cell{nameLeft, item.Y, nameLeft + columnWidth_[lcName] + 1, item.Y + item.Height};
    channel.SetLegendRect(cell);
    item.NameRect = cell;

    const int middle = item.Y + rowHeight_ / 2;
    if (columnShown_[lcLine]) DrawLineSample(canvas, channel, item.X + columnOffset_[lcLine], middle);
    if (columnShown_[lcMarker]) {
        // A character marker is written in the markers' font.
        canvas.SetFont(channel.GetMarkersFont());
        channel.DrawMarker(canvas, -1, {item.X + columnOffset_[lcMarker] + columnWidth_[lcMarker] / 2, middle});
    }
    DrawName(canvas, channel, cell);

    canvas.SetFont(font_);
    canvas.SetBrush(ClearBrush(canvas));
    for (int c = lcXAxisTitle; c < kColumnCount; ++c) {
        if (!columnShown_[c]) continue;
        const auto column = static_cast<TColumn>(c);
        const int left = item.X + columnOffset_[c];
        const TTextFormat align = column == lcXAxisTitle || column == lcYAxisTitle ? tfLeft : tfRight;
        canvas.DrawText(CellText(column, channel), {left, item.Y, left + columnWidth_[c], item.Y + rowHeight_},
                        align | tfVerticalCenter | tfNoPrefix);
    }
}

// Three one-pixel rows about the middle, the dashes laid out by pixels rather than by the pen's
// style, so that every style is told apart in so short a sample.
void TPlotLegend::DrawLineSample(TCanvas& canvas, const TPlotChannelCustom& channel, int left, int middle) {
    std::vector<TPlotPoint> segments;
    for (const TDashRun& run : DashRuns(channel.GetTraceLineStyle())) {
        for (int y = middle - 1; y <= middle + 1; ++y) {
            segments.push_back({left + run.from, y});
            segments.push_back({left + run.to, y});
        }
    }
    canvas.SetPen(TPlotPen{channel.GetColor(), 1, psSolid});
    canvas.Lines(segments.data(), segments.size());
}

// The canvas cannot both break between words and end a line in an ellipsis, so the name is
// broken into lines here, each drawn with the ellipsis: a word longer than the cell then ends
// in "..." instead of being cut off mid-letter.
void TPlotLegend::DrawName(TCanvas& canvas, TPlotChannelCustom& channel, const TPlotRect& cell) {
    const bool selected = channel.GetUserSelected();
    TPlotFont font = selected ? selectedItemFont_ : font_;
    if (selected) {
        canvas.SetBrush(TPlotBrush{selectedItemBackGroundColor_, bsSolid});
        canvas.FillRect(cell);
    }
    switch (channelNameColorStyle_) {
        case iplcncsFont: break;
        case iplcncsChannel: font.Color = channel.GetColor(); break;
        case iplcncsXAxisLabelsFont:
            if (const TPlotXAxis* axis = channel.GetXAxis()) font.Color = axis->GetLabelsFont().Color;
            break;
        case iplcncsYAxisLabelsFont:
            if (const TPlotYAxis* axis = channel.GetYAxis()) font.Color = axis->GetLabelsFont().Color;
            break;
    }
    canvas.SetFont(font);
    canvas.SetBrush(ClearBrush(canvas));
    const int lineHeight = canvas.TextHeight("0");
    int top = cell.Top;
    for (const std::string& line : NameLines(TCanvasTextMeasure(canvas), font, GetNameText(channel))) {
        if (top >= cell.Bottom) break;
        canvas.DrawText(line, {cell.Left, top, cell.Right, std::min(top + lineHeight, cell.Bottom)},
                        tfLeft | tfNoPrefix | tfEndEllipsis);
        top += lineHeight;
    }
}

}  // namespace ondrix
