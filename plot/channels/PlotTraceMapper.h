#pragma once
// Value-space clipping and pixel mapping of one trace segment, shared by every trace style.
// Segments are clipped against the axes' ranges before they become pixels, so data off the
// scales costs no drawing call and no pixel overflows. The column cache spares the min-max
// trace a mapping for most of its points.
//
// The mapper holds the two axes for one paint of one channel; the axes must outlive it and keep
// their scale geometry while it is used.

#include <limits>

#include "plot/axes/PlotAxis.h"
#include "plot/core/PlotCanvas.h"

namespace ondrix {

// The unit of a segment's Y values: Y-axis values, or percent of the data view's height.
enum TPlotUnitReferenceStyle : uint8_t { ipurScale, ipurPercent };

class TPlotTraceMapper {
public:
    // With `reversed`, the X axis runs vertically: each point's pixel coordinates are swapped.
    TPlotTraceMapper(const TPlotAxis& xAxis, const TPlotAxis& yAxis, bool reversed);

    // The pixel column of an X value along the X axis.
    int Column(double x) const { return xAxis_.PositionToPixels(x); }

    // The X values that surely map to the column, low to high, ends included: both ends are
    // checked against Column, and the mapping never runs backwards, so every value between them
    // maps there too. Empty (low > high) when the column's centre does not map back to it.
    void ColumnRange(int column, double& low, double& high) const;

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

// The pixel columns of the X values of a dense trace, which come column after column: once two
// values in a row land in one column, the range of X values that surely maps there is worked
// out, and later values inside it cost two comparisons instead of a mapping. Values whose
// columns alternate pay one comparison more than a plain mapping, and never the range.
class TPlotColumnCache {
public:
    explicit TPlotColumnCache(const TPlotTraceMapper& mapper) : mapper_(mapper) {}

    int Column(double x) {
        if (InRange(x)) return column_;
        const int column = mapper_.Column(x);
        if (column != column_) {
            column_ = column;
            low_ = 1;
            high_ = 0;
            ranged_ = false;
        } else if (!ranged_) {
            mapper_.ColumnRange(column, low_, high_);
            ranged_ = true;
        }
        return column;
    }

    // Whether x surely lies in the column of the last value asked for. Never true before a
    // second value has landed there.
    bool InRange(double x) const { return x >= low_ && x <= high_; }
    double RangeLow() const { return low_; }
    double RangeHigh() const { return high_; }

private:
    const TPlotTraceMapper& mapper_;
    int column_ = std::numeric_limits<int>::min();  // no mapping answers it
    bool ranged_ = false;
    double low_ = 1;
    double high_ = 0;
};

}  // namespace ondrix
