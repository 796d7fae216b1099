// Drawing of every channel class: setup, the generic trace, the clipped line and the markers.

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <string>

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannelCustom.h"

namespace ondrix {

namespace {

TPenStyle PenStyleOf(TPlotLineStyle style) {
    switch (style) {
        case iplsSolid: return psSolid;
        case iplsDash: return psDash;
        case iplsDot: return psDot;
        case iplsDashDot: return psDashDot;
        case iplsDashDotDot: return psDashDotDot;
    }
    return psSolid;
}

// Width 1 is the thinnest pen, which the canvas draws as width 0.
int32_t ThinnestAsZero(int32_t width) { return width == 1 ? 0 : width; }

}  // namespace

TPlotPen TPlotChannelCustom::TracePen(TColor color, TPlotLineStyle style, int32_t width) {
    return TPlotPen{color, ThinnestAsZero(width), PenStyleOf(style)};
}

// ---- Setup and the paint entry --------------------------------------------------------------

void TPlotChannelCustom::DrawSetup(TCanvas& /*canvas*/) {
    SetDrawReady(false);
    if (GetXAxis() == nullptr || GetYAxis() == nullptr || !GetVisible() || GetCount() == 0) return;
    CalcStartXIndex();
    CalcStopXIndex();
    SetDrawReady(GetDrawStartIndex() != -1 && GetDrawStopIndex() != -1);
}

void TPlotChannelCustom::Draw(TCanvas& canvas, TColor /*backgroundColor*/) {
    DrawContained([&](bool reversed) {
        DrawConnectPoints(canvas, reversed);
        DrawMarkers(canvas, reversed);
    });
}

void TPlotChannelCustom::DrawContained(const std::function<void(bool reversed)>& steps) {
    if (!GetDrawReady()) return;
    try {
        steps(GetXYAxesReversed());
    } catch (const EPlotError&) {
        // One channel's bad state must not blank the rest of the plot, which paints on and
        // shows the channel again once its data is usable.
    } catch (const std::exception& error) {
        ReportUnexpectedError(error);
    }
}

// ---- Generic trace ---------------------------------------------------------------------------

void TPlotChannelCustom::DrawConnectPoints(TCanvas& canvas, bool reversed) {
    const int start = GetDrawStartIndex();
    const int stop = GetDrawStopIndex();
    if (!GetTraceVisible() || stop <= start) return;
    TPlotXAxis* xAxis = GetXAxis();
    TPlotYAxis* yAxis = GetYAxis();
    if (xAxis == nullptr || yAxis == nullptr) return;
    const TPlotTraceMapper mapper(*xAxis, *yAxis, reversed);

    bool havePrevious = false;
    double previousX = 0, previousY = 0;
    for (int i = start; i <= stop; ++i) {
        double x, y;
        bool empty, null;
        GetXYEmptyNull(i, x, y, empty, null);
        if (empty) continue;
        if (null) {
            havePrevious = false;
            continue;
        }
        if (havePrevious) {
            TPlotPoint from, to;
            if (mapper.ClipAndMap(previousX, previousY, x, y, ipurScale, from, to)) {
                canvas.SetPen(TracePen(GetDataTraceLineColor(i), GetDataTraceLineStyle(i), GetDataTraceLineWidth(i)));
                canvas.Line(from, to);
            }
        }
        previousX = x;
        previousY = y;
        havePrevious = true;
    }
}

void TPlotChannelCustom::DrawLine(TCanvas& canvas, bool reversed, double x1, double y1, double x2, double y2,
                                  TPlotUnitReferenceStyle reference) {
    TPlotXAxis* xAxis = GetXAxis();
    TPlotYAxis* yAxis = GetYAxis();
    if (xAxis == nullptr || yAxis == nullptr) return;
    TPlotPoint from, to;
    if (TPlotTraceMapper(*xAxis, *yAxis, reversed).ClipAndMap(x1, y1, x2, y2, reference, from, to))
        canvas.Line(from, to);
}

// ---- Markers ---------------------------------------------------------------------------------

int TPlotChannelCustom::MarkerYPixels(const TPlotAxis& yAxis, double y) const { return yAxis.PositionToPixels(y); }

bool TPlotChannelCustom::GetDataMarkerShowing(int index) {
    if (!GetMarkersVisible()) return false;
    double x, y;
    bool empty, null;
    GetXYEmptyNull(index, x, y, empty, null);
    if (empty || null) return false;
    TPlotXAxis* xAxis = GetXAxis();
    TPlotYAxis* yAxis = GetYAxis();
    if (xAxis == nullptr || yAxis == nullptr) return false;
    if (GetMarkersAllowIndividual() && !GetDataMarkerShow(index)) return false;
    return xAxis->PointOnScale(x) && yAxis->PointOnScale(y);
}

void TPlotChannelCustom::DrawMarkers(TCanvas& canvas, bool reversed) {
    if (!GetMarkersVisible()) return;
    canvas.SetFont(GetMarkersFont());
    ForEachShowingMarker(reversed, [&](int index, TPlotPoint at) {
        DrawMarker(canvas, index, at);
        return true;
    });
}

void TPlotChannelCustom::ForEachShowingMarker(bool reversed, const std::function<bool(int, TPlotPoint)>& fn) {
    const int start = GetDrawStartIndex();
    const int stop = GetDrawStopIndex();
    TPlotXAxis* xAxis = GetXAxis();
    TPlotYAxis* yAxis = GetYAxis();
    if (start < 0 || stop < 0 || xAxis == nullptr || yAxis == nullptr) return;
    const int limit = GetMarkersTurnOffLimit();
    if (limit > 0 && std::abs(stop - start) > limit) return;
    const TPlotTraceMapper mapper(*xAxis, *yAxis, reversed);
    for (int i = std::min(start, stop); i <= std::max(start, stop); ++i) {
        if (!GetDataMarkerShowing(i)) continue;
        if (!fn(i, mapper.Place(mapper.Column(GetDataX(i)), MarkerYPixels(*yAxis, GetDataY(i))))) return;
    }
}

void TPlotChannelCustom::DrawMarker(TCanvas& canvas, int index, TPlotPoint point) {
    const bool own = index >= 0 && GetMarkersAllowIndividual();
    int s = own ? GetDataMarkerSize(index) : GetMarkersSize();
    if (index < 0) s = std::min(s, 6);
    const TColor penColor =
        GetMarkersPenUseChannelColor() ? GetColor() : own ? GetDataMarkerPenColor(index) : GetMarkersPenColor();
    const TColor brushColor =
        GetMarkersBrushUseChannelColor() ? GetColor() : own ? GetDataMarkerBrushColor(index) : GetMarkersBrushColor();
    const int32_t penWidth = own ? GetDataMarkerPenWidth(index) : GetMarkersPenWidth();
    const TPenStyle penStyle = own ? GetDataMarkerPenStyle(index) : GetMarkersPenStyle();
    const TBrushStyle brushStyle = own ? GetDataMarkerBrushStyle(index) : GetMarkersBrushStyle();
    const TPlotMarkerStyle style = own ? GetDataMarkerStyle(index) : GetMarkersStyle();
    canvas.SetPen(TPlotPen{penColor, ThinnestAsZero(penWidth), penStyle});
    canvas.SetBrush(TPlotBrush{brushColor, brushStyle});

    const int x = point.X;
    const int y = point.Y;
    const auto polygon = [&canvas](TPlotPoint a, TPlotPoint b, TPlotPoint c, TPlotPoint d) {
        const TPlotPoint corners[4] = {a, b, c, d};
        canvas.Polygon(corners, 4);
    };
    const auto triangle = [&canvas](TPlotPoint a, TPlotPoint b, TPlotPoint c) {
        const TPlotPoint corners[3] = {a, b, c};
        canvas.Polygon(corners, 3);
    };
    switch (style) {
        case ipmsCircle: canvas.Ellipse(TPlotRect{x - s, y - s, x + s, y + s}); break;
        case ipmsSquare: canvas.Rectangle(TPlotRect{x - s, y - s, x + s, y + s}); break;
        case ipmsDiamond: polygon({x + s, y}, {x, y + s}, {x - s, y}, {x, y - s}); break;
        case ipmsCross:
            canvas.Line({x + s, y + s}, {x - s, y - s});
            canvas.Line({x + s, y - s}, {x - s, y + s});
            break;
        case ipmsPlus:
            canvas.Line({x, y + s}, {x, y - s});
            canvas.Line({x + s, y}, {x - s, y});
            break;
        case ipmsTriangleUp: triangle({x - s, y + s}, {x, y}, {x + s, y + s}); break;
        case ipmsTriangleDown: triangle({x - s, y - s}, {x, y}, {x + s, y - s}); break;
        case ipmsTriangleLeft: triangle({x + s, y - s}, {x, y}, {x + s, y + s}); break;
        case ipmsTriangleRight: triangle({x - s, y - s}, {x, y}, {x - s, y + s}); break;
        case ipmsVerticalLine: canvas.Line({x, y - s}, {x, y + s}); break;
        case ipmsHorizontalLine: canvas.Line({x - s, y}, {x + s, y}); break;
        case ipmsCharacter: {
            const char character = index >= 0 ? GetDataMarkerCharacter(index) : Attributes().MarkerCharacter;
            if (character == 0) break;
            canvas.SetFont(GetMarkersFont());
            canvas.SetBrush(TPlotBrush{brushColor, bsClear});
            const std::string text(1, character);
            canvas.TextOut(x - canvas.TextWidth(text) / 2, y - canvas.TextHeight(text) / 2, text);
            break;
        }
    }
}

}  // namespace ondrix
