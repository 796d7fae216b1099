#pragma once
// Filled areas given in axis values (fills, bars, price symbols): each polygon is clipped to the
// scales in value space before it becomes pixels, like the trace's segments, so an area far off
// the scales costs no drawing call and no pixel overflows.
//
// The area holds the canvas and the axes for one paint of one channel; they must outlive it.

#include <vector>

#include "plot/channels/PlotTraceMapper.h"

namespace ondrix {

struct TPlotValuePoint {
    double X = 0;
    double Y = 0;

    bool operator==(const TPlotValuePoint& other) const { return X == other.X && Y == other.Y; }
};

// The part of the polygon inside xMin..xMax by yMin..yMax, corners in order; fewer than 3
// corners when nothing of it is inside.
std::vector<TPlotValuePoint> ClipPolygonToBox(std::vector<TPlotValuePoint> polygon, double xMin, double xMax,
                                              double yMin, double yMax);

class TPlotValueArea {
public:
    // With `reversed`, the X axis runs vertically: each corner's pixel coordinates are swapped.
    TPlotValueArea(TCanvas& canvas, const TPlotAxis& xAxis, const TPlotAxis& yAxis, bool reversed);

    // The polygon's part on the scales, outlined with the canvas's pen and filled with its brush.
    void Polygon(std::vector<TPlotValuePoint> corners);
    // The box with corners (x1, y1) and (x2, y2), given in either order.
    void Box(double x1, double y1, double x2, double y2) { Polygon({{x1, y1}, {x1, y2}, {x2, y2}, {x2, y1}}); }

private:
    TCanvas& canvas_;
    TPlotTraceMapper mapper_;
    double xMin_, xMax_, yMin_, yMax_;
};

}  // namespace ondrix
