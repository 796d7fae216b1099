#include "plot/channels/PlotValueArea.h"

#include <utility>

namespace ondrix {

namespace {

// One pass of polygon clipping: keeps the side of one box edge, with a new corner wherever an
// edge of the polygon crosses it.
template <class Inside, class Crossing>
std::vector<TPlotValuePoint> KeepSide(const std::vector<TPlotValuePoint>& polygon, Inside inside, Crossing crossing) {
    std::vector<TPlotValuePoint> kept;
    const size_t n = polygon.size();
    for (size_t i = 0; i < n; ++i) {
        const TPlotValuePoint& previous = polygon[(i + n - 1) % n];
        const TPlotValuePoint& current = polygon[i];
        const bool previousIn = inside(previous);
        const bool currentIn = inside(current);
        if (currentIn != previousIn) kept.push_back(crossing(previous, current));
        if (currentIn) kept.push_back(current);
    }
    return kept;
}

// The point of a-b at X = limit; a and b lie on different sides of it, so their X differ.
TPlotValuePoint AtX(const TPlotValuePoint& a, const TPlotValuePoint& b, double limit) {
    return {limit, a.Y + (b.Y - a.Y) * (limit - a.X) / (b.X - a.X)};
}

TPlotValuePoint AtY(const TPlotValuePoint& a, const TPlotValuePoint& b, double limit) {
    return {a.X + (b.X - a.X) * (limit - a.Y) / (b.Y - a.Y), limit};
}

}  // namespace

std::vector<TPlotValuePoint> ClipPolygonToBox(std::vector<TPlotValuePoint> polygon, double xMin, double xMax,
                                              double yMin, double yMax) {
    polygon = KeepSide(polygon, [&](const TPlotValuePoint& p) { return p.X >= xMin; },
                       [&](const TPlotValuePoint& a, const TPlotValuePoint& b) { return AtX(a, b, xMin); });
    polygon = KeepSide(polygon, [&](const TPlotValuePoint& p) { return p.X <= xMax; },
                       [&](const TPlotValuePoint& a, const TPlotValuePoint& b) { return AtX(a, b, xMax); });
    polygon = KeepSide(polygon, [&](const TPlotValuePoint& p) { return p.Y >= yMin; },
                       [&](const TPlotValuePoint& a, const TPlotValuePoint& b) { return AtY(a, b, yMin); });
    polygon = KeepSide(polygon, [&](const TPlotValuePoint& p) { return p.Y <= yMax; },
                       [&](const TPlotValuePoint& a, const TPlotValuePoint& b) { return AtY(a, b, yMax); });
    return polygon;
}

TPlotValueArea::TPlotValueArea(TCanvas& canvas, const TPlotAxis& xAxis, const TPlotAxis& yAxis, bool reversed)
    : canvas_(canvas),
      mapper_(xAxis, yAxis, reversed),
      xMin_(xAxis.GetMin()),
      xMax_(xAxis.GetMax()),
      yMin_(yAxis.GetMin()),
      yMax_(yAxis.GetMax()) {}

void TPlotValueArea::Polygon(std::vector<TPlotValuePoint> corners) {
    const std::vector<TPlotValuePoint> clipped = ClipPolygonToBox(std::move(corners), xMin_, xMax_, yMin_, yMax_);
    if (clipped.size() < 3) return;
    std::vector<TPlotPoint> pixels;
    pixels.reserve(clipped.size());
    for (const TPlotValuePoint& corner : clipped) pixels.push_back(mapper_.Pixels(corner.X, corner.Y));
    canvas_.Polygon(pixels.data(), pixels.size());
}

}  // namespace ondrix
