#pragma once
// Value-space clipping and pixel mapping of one trace segment, shared by every trace style.
// Segments are clipped against the axes' ranges before they become pixels, so data off the
// scales costs no drawing call and no pixel overflows.
//
// The mapper holds the two axes for one paint of one channel; the axes must outlive it and keep
// their scale geometry while it is used.

#include "plot/PlotAxis.h"
#include "plot/PlotCanvas.h"

namespace ondrix {

// The unit of a segment's Y values: Y-axis values, or percent of the data view's height.
enum TPlotUnitReferenceStyle : uint8_t { ipurScale, ipurPercent };

class TPlotTraceMapper {
public:
    // With `reversed`, the X axis runs vertically: each point's pixel coordinates are swapped.
    TPlotTraceMapper(const TPlotAxis& xAxis, const TPlotAxis& yAxis, bool reversed);

    // The pixel column of an X value along the X axis.
    int Column(double x) const { return xAxis_.PositionToPixels(x); }

    // The part of (x1, y1)-(x2, y2) that lies on the scales, in pixels, ordered by X. False when
    // no part of it does.
    bool ClipAndMap(double x1, double y1, double x2, double y2, TPlotUnitReferenceStyle reference, TPlotPoint& from,
                    TPlotPoint& to) const;

    // The pixel position of a value pair, swapped when reversed.
    TPlotPoint Pixels(double x, double y) const { return Place(Column(x), yAxis_.PositionToPixels(y)); }
    TPlotPoint Place(int xPixel, int yPixel) const {
        return reversed_ ? TPlotPoint{yPixel, xPixel} : TPlotPoint{xPixel, yPixel};
    }

private:
    int PercentToPixels(double percent) const;

    const TPlotAxis& xAxis_;
    const TPlotAxis& yAxis_;
    bool reversed_;
    double xMin_, xMax_, yMin_, yMax_;
};

}  // namespace ondrix
