#include "plot/channels/PlotTraceMapper.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ondrix {

TPlotTraceMapper::TPlotTraceMapper(const TPlotAxis& xAxis, const TPlotAxis& yAxis, bool reversed)
    : xAxis_(xAxis),
      yAxis_(yAxis),
      reversed_(reversed),
      xMin_(xAxis.GetMin()),
      xMax_(xAxis.GetMax()),
      yMin_(yAxis.GetMin()),
      yMax_(yAxis.GetMax()) {}

namespace {

bool Within(double value, double min, double max) { return value >= min && value <= max; }

// The value nearest to `estimate` that maps to the column, stepping one unit in the last place
// at a time towards `inside`, a value that does. The inverse mapping misses the column's edge
// by a rounding error at most, so a few steps reach it; failing that, `inside`.
double ColumnEdge(const TPlotTraceMapper& mapper, int column, double estimate, double inside) {
    constexpr int kSteps = 8;
    double edge = estimate;
    for (int step = 0; step < kSteps; ++step) {
        if (mapper.Column(edge) == column) return edge;
        edge = std::nextafter(edge, inside);
    }
    return inside;
}

// Moves the end (x, y) along the line through it and (otherX, otherY) to height `limit`.
void MoveEndToY(double& x, double& y, double otherX, double otherY, double limit) {
    if (y != otherY) x = x + (otherX - x) * (limit - y) / (otherY - y);
    y = limit;
}

}  // namespace

bool TPlotTraceMapper::ClipAndMap(double x1, double y1, double x2, double y2, TPlotUnitReferenceStyle reference,
                                  TPlotPoint& from, TPlotPoint& to) const {
    if (x2 < x1) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const bool inX = (x1 < xMin_ && x2 > xMax_) || Within(x1, xMin_, xMax_) || Within(x2, xMin_, xMax_);
    if (!inX) return false;
    const bool scale = reference == ipurScale;
    if (scale) {
        const bool spansY = (y1 < yMin_ && y2 > yMax_) || (y2 < yMin_ && y1 > yMax_);
        if (!spansY && !Within(y1, yMin_, yMax_) && !Within(y2, yMin_, yMax_)) return false;
    }

    // Both moves interpolate along the original line: x1 < xMin_ < xMax_ < x2 keeps x2 != x1.
    const double ax = x1, ay = y1, bx = x2, by = y2;
    if (x1 < xMin_) {
        y1 = ay + (by - ay) * (xMin_ - ax) / (bx - ax);
        x1 = xMin_;
    }
    if (x2 > xMax_) {
        y2 = ay + (by - ay) * (xMax_ - ax) / (bx - ax);
        x2 = xMax_;
    }

    if (scale) {
        const double cx1 = x1, cy1 = y1;
        if (y1 > yMax_) MoveEndToY(x1, y1, x2, y2, yMax_);
        else if (y1 < yMin_) MoveEndToY(x1, y1, x2, y2, yMin_);
        if (y2 > yMax_) MoveEndToY(x2, y2, cx1, cy1, yMax_);
        else if (y2 < yMin_) MoveEndToY(x2, y2, cx1, cy1, yMin_);
        if (!xAxis_.PointOnScale(x1) || !xAxis_.PointOnScale(x2) || !yAxis_.PointOnScale(y1) ||
            !yAxis_.PointOnScale(y2))
            return false;
        from = Pixels(x1, y1);
        to = Pixels(x2, y2);
        return true;
    }
    if (!xAxis_.PointOnScale(x1) || !xAxis_.PointOnScale(x2)) return false;
    from = Place(Column(x1), PercentToPixels(y1));
    to = Place(Column(x2), PercentToPixels(y2));
    return true;
}

void TPlotTraceMapper::ColumnRange(int column, double& low, double& high) const {
    const double centre = xAxis_.PixelsToPositionDouble(column);
    if (Column(centre) != column) {
        low = 1;
        high = 0;
        return;
    }
    const double a = ColumnEdge(*this, column, xAxis_.PixelsToPositionDouble(column - 0.5), centre);
    const double b = ColumnEdge(*this, column, xAxis_.PixelsToPositionDouble(column + 0.5), centre);
    low = std::min(a, b);
    high = std::max(a, b);
}

// The data view spans the Y axis's pixel extent: 0 % at the axis's Min end, 100 % at its Max.
int TPlotTraceMapper::PercentToPixels(double percent) const {
    const int low = yAxis_.GetMinPixels();
    const int high = yAxis_.GetMaxPixels();
    return low + static_cast<int>(std::lround((high - low) * percent / 100.0));
}

}  // namespace ondrix
