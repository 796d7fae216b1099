// Per-point shapes of TPlotChannel drawn besides its trace: bars and the price symbols.
// Widths and heights are in axis units, so the shapes scale with the zoom.

#include <algorithm>

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannel.h"
#include "plot/channels/PlotValueArea.h"

namespace ondrix {

namespace {

TPlotPen SolidPen(TColor color) { return TPlotPen{color, 0, psSolid}; }
TPlotBrush SolidBrush(TColor color) { return TPlotBrush{color, bsSolid}; }

}  // namespace

// A box per point whose bar is visible: BarWidth wide (X units) centred on the point's X, from
// its BarReference to its Y; outlined with its bar pen and filled with its bar brush, each in
// the channel's Color when the matching UseChannelColor is set.
void TPlotChannel::DrawBar(TCanvas& canvas, bool reversed) {
    TPlotXAxis* xAxis = GetXAxis();
    TPlotYAxis* yAxis = GetYAxis();
    if (xAxis == nullptr || yAxis == nullptr) return;
    TPlotValueArea area(canvas, *xAxis, *yAxis, reversed);
    ForEachUsablePointInView([&](int i, double x, double y) {
        if (!GetDataBarVisible(i)) return;
        const TColor penColor = barPenUseChannelColor_ ? GetColor() : GetDataBarPenColor(i);
        const TColor brushColor = barBrushUseChannelColor_ ? GetColor() : GetDataBarBrushColor(i);
        canvas.SetPen(TPlotPen{penColor, GetDataBarPenWidth(i), GetDataBarPenStyle(i)});
        canvas.SetBrush(TPlotBrush{brushColor, GetDataBarBrushStyle(i)});
        const double half = GetDataBarWidth(i) / 2;
        area.Box(x - half, GetDataBarReference(i), x + half, y);
    });
}

// Per point, solid boxes: the bar from Low to High, HighLowBarWidth wide (X units) and centred
// on the point's X, in HighLowBarColor; the Open tick (when HighLowOpenShow) against the bar's
// left side, HighLowOpenWidth wide and HighLowOpenHeight high (Y units), centred on Open, in
// HighLowOpenColor; the Close tick likewise against the right side, centred on Close.
void TPlotChannel::DrawHighLow(TCanvas& canvas, bool reversed) {
    TPlotXAxis* xAxis = GetXAxis();
    TPlotYAxis* yAxis = GetYAxis();
    if (xAxis == nullptr || yAxis == nullptr) return;
    TPlotValueArea area(canvas, *xAxis, *yAxis, reversed);
    const auto box = [&](TColor color, double x1, double y1, double x2, double y2) {
        canvas.SetPen(SolidPen(color));
        canvas.SetBrush(SolidBrush(color));
        area.Box(x1, y1, x2, y2);
    };
    const double half = highLowBarWidth_ / 2;
    ForEachUsablePointInView([&](int i, double x, double) {
        box(highLowBarColor_, x - half, GetDataLow(i), x + half, GetDataHigh(i));
        if (highLowOpenShow_) {
            const double open = GetDataOpen(i);
            box(highLowOpenColor_, x - half - highLowOpenWidth_, open - highLowOpenHeight_ / 2, x - half,
                open + highLowOpenHeight_ / 2);
        }
        if (highLowCloseShow_) {
            const double close = GetDataClose(i);
            box(highLowCloseColor_, x + half, close - highLowCloseHeight_ / 2, x + half + highLowCloseWidth_,
                close + highLowCloseHeight_ / 2);
        }
    });
}

// Per point: the shadow, a line at the point's X from Low to High in HighLowShadowColor, then
// the body over it, a box HighLowBarWidth wide (X units) centred on the point's X from Open to
// Close, outlined in the shadow colour and filled in HighLowBullishColor when Close is at or
// above Open, else in HighLowBearishColor.
void TPlotChannel::DrawHighLowCandleStick(TCanvas& canvas, bool reversed) {
    TPlotXAxis* xAxis = GetXAxis();
    TPlotYAxis* yAxis = GetYAxis();
    if (xAxis == nullptr || yAxis == nullptr) return;
    const TPlotTraceMapper mapper(*xAxis, *yAxis, reversed);
    TPlotValueArea area(canvas, *xAxis, *yAxis, reversed);
    const double half = highLowBarWidth_ / 2;
    ForEachUsablePointInView([&](int i, double x, double) {
        const double open = GetDataOpen(i);
        const double close = GetDataClose(i);
        canvas.SetPen(SolidPen(highLowShadowColor_));
        TPlotPoint from, to;
        if (mapper.ClipAndMap(x, GetDataLow(i), x, GetDataHigh(i), ipurScale, from, to)) canvas.Line(from, to);
        canvas.SetBrush(SolidBrush(close >= open ? highLowBullishColor_ : highLowBearishColor_));
        area.Box(x - half, open, x + half, close);
    });
}

}  // namespace ondrix
