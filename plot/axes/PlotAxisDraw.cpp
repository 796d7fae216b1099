// Drawing of an axis: its labels, scale line, ticks, title and focus rectangle, and the grid
// lines the data view asks for at its ticks.
//
// Across the axis everything is placed from the scale line outwards, in the order the layout
// counted the room (GetRequiredWidth): inner margin, scale line and ticks, labels margin,
// labels, and from the far edge the outer margin and the title.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "plot/axes/PlotAxis.h"
#include "plot/core/PlotCanvas.h"

namespace ondrix {

namespace {


int DegreesOf(TRotationAngle angle) {
    switch (angle) {
        case ira090: return 90;
        case ira180: return 180;
        case ira270: return 270;
        case ira000: break;
    }
    return 0;
}

TPenStyle PenStyleOf(TPlotGridLineStyle style) {
    switch (style) {
        case ipglsDash: return psDash;
        case ipglsDot: return psDot;
        case ipglsSolid: break;
    }
    return psSolid;
}

// Draws a text whose box on the screen (after turning) starts at (left, top) and spans
// width x height; the unturned text goes straight to TextOut so that it lands exactly there.
void DrawTextInBox(TCanvas& canvas, int left, int top, int width, int height, int angle, const std::string& text) {
    if (angle == 0) {
        canvas.TextOut(left, top, text);
        return;
    }
    canvas.DrawRotatedText(TPlotPoint{left + width / 2, top + height / 2}, angle, text);
}

}  // namespace

// ---- Geometry across the axis ------------------------------------------------------------

// A Cartesian axis lies on the crossing line, which the layout hands over as a draw rectangle
// of no thickness; the others keep the inner margin from the data-view edge of their rectangle.
int TPlotAxis::ScaleLineCoordinate() const {
    const TPlotRect& draw = GetDrawRect();
    const bool cartesian = cartesianStyle_ != ipcsNone;
    switch (labelSide_) {
        case TPlotAxisLabelSide::HorizontalBelow: return cartesian ? draw.Top : draw.Top + innerMargin_;
        case TPlotAxisLabelSide::HorizontalAbove: return cartesian ? draw.Top : draw.Bottom - 1 - innerMargin_;
        case TPlotAxisLabelSide::VerticalRight: return cartesian ? draw.Left : draw.Left + innerMargin_;
        case TPlotAxisLabelSide::VerticalLeft: return cartesian ? draw.Left : draw.Right - 1 - innerMargin_;
    }
    return 0;
}

int TPlotAxis::OutwardDirection() const {
    return labelSide_ == TPlotAxisLabelSide::HorizontalBelow || labelSide_ == TPlotAxisLabelSide::VerticalRight ? 1
                                                                                                                : -1;
}

// ---- Draw --------------------------------------------------------------------------------

void TPlotAxis::Draw(TCanvas& canvas) {
    if (!GetVisible()) return;
    CalcTickPixels();
    if (labelsVisible_) {
        canvas.SetBrush(TPlotBrush{clWhite, bsClear});
        canvas.SetFont(labelsFont_);
        for (const TPlotTickObject& tick : ticks_)
            if (tick.Visible && tick.Style == ipttMajor) DrawScaleLabel(canvas, tick);
    }
    if (scaleLinesShow_) DrawLines(canvas);
    if (cartesianStyle_ == ipcsNone) DrawTitle(canvas);
    if (GetUserSelected()) canvas.DrawFocusRect(hitRect_);
}

void TPlotAxis::DrawLines(TCanvas& canvas) {
    std::vector<TPlotPoint> segments;
    segments.reserve(2 * (ticks_.size() + 1));
    DrawScaleLine(segments);
    for (const TPlotTickObject& tick : ticks_) {
        if (!tick.Visible) continue;
        if (tick.Style == ipttMajor)
            DrawScaleMajorTick(segments, tick.Pixel);
        else
            DrawScaleMinorTick(segments, tick.Pixel);
    }
    canvas.SetPen(TPlotPen{scaleLinesColor_, 1, psSolid});
    canvas.Lines(segments.data(), segments.size());
}

// Both end pixels are set, so the ticks at Min and at the maximum sit on the line.
void TPlotAxis::DrawScaleLine(std::vector<TPlotPoint>& segments) const {
    const int across = ScaleLineCoordinate();
    if (GetIsHorz()) {
        segments.push_back({scaleRect_.Left, across});
        segments.push_back({scaleRect_.Right + 1, across});
    } else {
        segments.push_back({across, scaleRect_.Top});
        segments.push_back({across, scaleRect_.Bottom + 1});
    }
}

void TPlotAxis::DrawScaleMajorTick(std::vector<TPlotPoint>& segments, int pixel) const {
    DrawScaleTick(segments, pixel, majorLength_);
}

void TPlotAxis::DrawScaleMinorTick(std::vector<TPlotPoint>& segments, int pixel) const {
    DrawScaleTick(segments, pixel, minorLength_);
}

// `length` pixels from the scale line outwards, the line's own pixel included; a Cartesian
// axis centres its ticks on the crossing line instead.
void TPlotAxis::DrawScaleTick(std::vector<TPlotPoint>& segments, int pixel, int length) const {
    if (length <= 0) return;
    const int line = ScaleLineCoordinate();
    const int direction = OutwardDirection();
    const int from = cartesianStyle_ == ipcsNone ? line : line - direction * (length / 2);
    const int to = from + direction * length;
    if (GetIsHorz()) {
        segments.push_back({pixel, from});
        segments.push_back({pixel, to});
    } else {
        segments.push_back({from, pixel});
        segments.push_back({to, pixel});
    }
}

void TPlotAxis::DrawScaleLabel(TCanvas& canvas, const TPlotTickObject& tick) {
    if (tick.Label.empty()) return;
    const int textWidth = canvas.TextWidth(tick.Label);
    const int textHeight = canvas.TextHeight(tick.Label);
    const bool turned = GetLabelsRotated();
    const int boxWidth = turned ? textHeight : textWidth;
    const int boxHeight = turned ? textWidth : textHeight;

    int tickReach = 0;
    if (scaleLinesShow_) {
        const int major = std::max(majorLength_, 0);
        tickReach = cartesianStyle_ == ipcsNone ? major : major - major / 2;
    }
    const int gap = RoundToInt(canvas.TextHeight("A") * labelsMargin_);
    // The first pixel beyond the tick and the gap, on the label side.
    const int start = ScaleLineCoordinate() + OutwardDirection() * (tickReach + gap);

    int left;
    int top;
    if (GetIsHorz()) {
        left = tick.Pixel - boxWidth / 2;
        top = OutwardDirection() > 0 ? start : start + 1 - boxHeight;
    } else {
        top = tick.Pixel - boxHeight / 2;
        left = OutwardDirection() > 0 ? start : start + 1 - boxWidth;
    }
    DrawTextInBox(canvas, left, top, boxWidth, boxHeight, DegreesOf(labelsRotation_), tick.Label);
}

// From the outer edge inwards, centred along the scale. A vertical axis reads its title
// upwards beside the scale unless TitleRotated; a horizontal one only with TitleRotated.
void TPlotAxis::DrawTitle(TCanvas& canvas) {
    if (!titleShow_) return;
    if (title_.find_first_not_of(" \t\r\n") == std::string::npos) return;
    canvas.SetBrush(TPlotBrush{clWhite, bsClear});
    canvas.SetFont(titleFont_);
    const int textWidth = canvas.TextWidth(title_);
    const int textHeight = canvas.TextHeight(title_);
    const bool turned = GetIsHorz() == titleRotated_;
    const int boxWidth = turned ? textHeight : textWidth;
    const int boxHeight = turned ? textWidth : textHeight;
    const int centre = (minPixel_ + maxPixel_) / 2;

    const TPlotRect& draw = GetDrawRect();
    int left = centre - boxWidth / 2;
    int top = centre - boxHeight / 2;
    switch (labelSide_) {
        case TPlotAxisLabelSide::HorizontalBelow: top = draw.Bottom - outerMargin_ - boxHeight; break;
        case TPlotAxisLabelSide::HorizontalAbove: top = draw.Top + outerMargin_; break;
        case TPlotAxisLabelSide::VerticalLeft: left = draw.Left + outerMargin_; break;
        case TPlotAxisLabelSide::VerticalRight: left = draw.Right - outerMargin_ - boxWidth; break;
    }
    DrawTextInBox(canvas, left, top, boxWidth, boxHeight, turned ? 90 : 0, title_);
}

// ---- Grid lines --------------------------------------------------------------------------

void TPlotAxis::DrawGridLines(TCanvas& canvas, const TPlotRect& rect, bool showMajors, bool showMinors,
                              TPlotGridLineStyle majorStyle, TPlotGridLineStyle minorStyle, TColor majorColor,
                              TColor minorColor, int majorWidth, int minorWidth) {
    if (!gridLinesVisible_ || rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
    const bool horizontal = GetIsHorz();
    const auto drawLinesOf = [&](TPlotTickType style, const TPlotPen& pen) {
        std::vector<TPlotPoint> segments;
        for (const TPlotTickObject& tick : ticks_) {
            if (!tick.Visible || tick.Style != style) continue;
            if (horizontal) {
                segments.push_back({tick.Pixel, rect.Top});
                segments.push_back({tick.Pixel, rect.Bottom});
            } else {
                segments.push_back({rect.Left, tick.Pixel});
                segments.push_back({rect.Right, tick.Pixel});
            }
        }
        if (segments.empty()) return;
        canvas.SetPen(pen);
        canvas.Lines(segments.data(), segments.size());
    };
    // Wide pens reach past their ends; the clip keeps them inside the rectangle.
    canvas.Save();
    canvas.SetClipRect(rect);
    if (showMinors) drawLinesOf(ipttMinor, TPlotPen{minorColor, minorWidth, PenStyleOf(minorStyle)});
    if (showMajors) drawLinesOf(ipttMajor, TPlotPen{majorColor, majorWidth, PenStyleOf(majorStyle)});
    canvas.Restore();
}

}  // namespace ondrix
