// The trace styles of TPlotChannel beyond straight lines (steps, interpolated curves, digital
// levels) and the fill, which follows whichever style draws the trace.

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannel.h"
#include "plot/channels/PlotValueArea.h"
#include "plot/core/PlotInterpolation.h"

namespace ondrix {

namespace {

// Samples around the piece being drawn: a cubic through two on each side for the polynomial,
// four on each side blended by cubics for the rational function.
constexpr size_t kPolynomialWindow = 4;
constexpr size_t kRationalWindow = 8;

using TPlotCurve = std::vector<TPlotValuePoint>;

// Each point of the draw range in index order: onPoint(x, y) for a valid point, onNull(x) for a
// Null point; Empty points are skipped. Nothing without a draw range.
template <class OnPoint, class OnNull>
void WalkDrawRange(const TPlotChannel& channel, OnPoint onPoint, OnNull onNull) {
    const int start = channel.GetDrawStartIndex();
    const int stop = channel.GetDrawStopIndex();
    if (start < 0 || stop < 0) return;
    double x, y;
    bool empty, null;
    for (int i = std::min(start, stop); i <= std::max(start, stop); ++i) {
        channel.GetXYEmptyNull(i, x, y, empty, null);
        if (empty) continue;
        if (null) onNull(x);
        else onPoint(x, y);
    }
}

// Consecutive valid points, as the straight-line trace joins them: segment(x1, y1, x2, y2).
template <class OnSegment>
void ForEachSegment(const TPlotChannel& channel, OnSegment segment) {
    bool havePrevious = false;
    double previousX = 0, previousY = 0;
    WalkDrawRange(
        channel,
        [&](double x, double y) {
            if (havePrevious) segment(previousX, previousY, x, y);
            previousX = x;
            previousY = y;
            havePrevious = true;
        },
        [&](double) { havePrevious = false; });
}

// The step trace as holds, hold(x1, x2, y), each followed by its rise to the next value,
// rise(x, y1, y2). A Null point ends the hold at its X and breaks the trace. The differential
// style holds the last value on to the edge of the X axis the data grows towards; without a
// draw range only the newest valid point is used.
template <class OnHold, class OnRise>
void ForEachStep(const TPlotChannel& channel, const TPlotAxis& xAxis, OnHold hold, OnRise rise) {
    const bool extend = channel.GetInterpolationStyle() == ipistDifferential;
    const bool increasing = channel.GetXIncreasing();
    const double edge = increasing ? xAxis.GetMax() : xAxis.GetMin();
    const auto extendFrom = [&](double x, double y) {
        if (extend && (increasing ? x < edge : x > edge)) hold(x, edge, y);
    };

    if (channel.GetDrawStartIndex() < 0 || channel.GetDrawStopIndex() < 0) {
        const int newest = channel.NewestUsablePoint();
        if (newest >= 0) extendFrom(channel.GetDataX(newest), channel.GetDataY(newest));
        return;
    }

    bool havePrevious = false;
    double previousX = 0, previousY = 0;
    WalkDrawRange(
        channel,
        [&](double x, double y) {
            if (havePrevious) {
                if (x != previousX) hold(previousX, x, previousY);
                if (y != previousY) rise(x, previousY, y);
            }
            previousX = x;
            previousY = y;
            havePrevious = true;
        },
        [&](double x) {
            if (havePrevious && x != previousX) hold(previousX, x, previousY);
            havePrevious = false;
        });
    if (havePrevious) extendFrom(previousX, previousY);
}

// Runs of equal state of the digital trace: run(x1, x2, high) from the X of the run's first
// point to the X of the point that changes the state, or of the Null point that ends the run,
// or of the run's last point at the end of the range.
template <class OnRun>
void ForEachDigitalRun(const TPlotChannel& channel, OnRun run) {
    if (channel.GetDrawStartIndex() == channel.GetDrawStopIndex()) return;
    bool inRun = false, high = false;
    double runStart = 0, lastX = 0;
    const auto close = [&](double x) {
        if (inRun && x != runStart) run(runStart, x, high);
        inRun = false;
    };
    WalkDrawRange(
        channel,
        [&](double x, double y) {
            const bool state = y != 0;
            if (inRun && state != high) close(x);
            if (!inRun) {
                inRun = true;
                high = state;
                runStart = x;
            }
            lastX = x;
        },
        close);
    close(lastX);
}

// The valid points of the draw range, split at Null points into runs whose X rises strictly:
// falling data is turned round, and a point that does not move past its predecessor is left out.
std::vector<TPlotCurve> RisingRuns(const TPlotChannel& channel) {
    std::vector<TPlotCurve> runs(1);
    WalkDrawRange(
        channel, [&](double x, double y) { runs.back().push_back({x, y}); },
        [&](double) {
            if (!runs.back().empty()) runs.emplace_back();
        });
    for (TPlotCurve& run : runs) {
        if (run.size() > 1 && run.front().X > run.back().X) std::reverse(run.begin(), run.end());
        TPlotCurve rising;
        for (const TPlotValuePoint& p : run) {
            if (rising.empty() || p.X > rising.back().X) rising.push_back(p);
        }
        run = std::move(rising);
    }
    return runs;
}

// Evaluates one run's curve in the channel's interpolation style.
class TRunCurve {
public:
    TRunCurve(const TPlotCurve& run, TPlotInterpolationStyle style) : style_(style) {
        for (const TPlotValuePoint& p : run) {
            x_.push_back(p.X);
            y_.push_back(p.Y);
        }
        if (style_ == ipistCubicSpline) secondDerivatives_ = SplineSecondDerivatives(x_, y_);
    }

    std::optional<double> At(double at) const {
        if (style_ == ipistCubicSpline) return SplineValue(x_, y_, secondDerivatives_, at);
        // The window of samples centred on the piece holding `at`, moved inside the run at its ends.
        const size_t n = x_.size();
        const size_t piece = static_cast<size_t>(std::upper_bound(x_.begin(), x_.end(), at) - x_.begin());
        const size_t lower = std::min(piece > 0 ? piece - 1 : 0, n - 2);
        const size_t count = std::min(n, style_ == ipistPolynomial ? kPolynomialWindow : kRationalWindow);
        const size_t before = count / 2 - 1;
        const size_t first = std::min(lower > before ? lower - before : 0, n - count);
        return style_ == ipistPolynomial ? PolynomialValue(&x_[first], &y_[first], count, at)
                                         : RationalValue(&x_[first], &y_[first], count, at);
    }

private:
    TPlotInterpolationStyle style_;
    std::vector<double> x_, y_, secondDerivatives_;
};

// One sample per X pixel column from the first to the last point of each run between Null
// points, within the X axis's range; each sample's Y also lands in the pixel list. The spline
// is a natural cubic spline through the whole run. The polynomial and rational styles pass
// through every point too, but each piece between two points comes from a few points around
// it (a cubic through four; the pole-free rational blend of cubics through eight): one
// polynomial through all points swings wildly between them, and either curve through all
// points costs more at every column the more points are in view. A column without a finite
// value splits the curve.
std::vector<TPlotCurve> InterpolatedCurves(TPlotChannel& channel, const TPlotAxis& xAxis) {
    std::vector<TPlotCurve> curves;
    for (const TPlotCurve& run : RisingRuns(channel)) {
        if (run.size() < 2) continue;
        const double low = std::max(run.front().X, xAxis.GetMin());
        const double high = std::min(run.back().X, xAxis.GetMax());
        if (low > high) continue;
        const TRunCurve curve(run, channel.GetInterpolationStyle());
        const int lowColumn = xAxis.PositionToPixels(low);
        const int highColumn = xAxis.PositionToPixels(high);
        curves.emplace_back();
        for (int column = std::min(lowColumn, highColumn); column <= std::max(lowColumn, highColumn); ++column) {
            const double x = std::clamp(xAxis.PixelsToPosition(column), low, high);
            const std::optional<double> y = curve.At(x);
            if (!y) {
                if (!curves.back().empty()) curves.emplace_back();
                continue;
            }
            channel.AddPixelListValue(column, *y);
            curves.back().push_back({x, *y});
        }
    }
    return curves;
}

}  // namespace

// ---- Interpolated curves --------------------------------------------------------------------

void TPlotChannel::DrawInterpolatedTrace(const TPlotTraceMapper& mapper) {
    for (const TPlotCurve& curve : InterpolatedCurves(*this, *GetXAxis())) {
        for (size_t i = 1; i < curve.size(); ++i)
            AddClippedLine(mapper, curve[i - 1].X, curve[i - 1].Y, curve[i].X, curve[i].Y);
    }
}

// ---- Steps and digital levels ----------------------------------------------------------------

void TPlotChannel::DrawStepTrace(const TPlotTraceMapper& mapper) {
    ForEachStep(
        *this, *GetXAxis(), [&](double x1, double x2, double y) { AddClippedLine(mapper, x1, y, x2, y); },
        [&](double x, double y1, double y2) { AddClippedLine(mapper, x, y1, x, y2); });
}

// The levels are pixels: each run is cut to the X axis's range in values, and a level outside
// the Y axis's pixels draws nothing.
void TPlotChannel::DrawDigitalTrace(const TPlotTraceMapper& mapper) {
    const TPlotXAxis& xAxis = *GetXAxis();
    const TPlotYAxis& yAxis = *GetYAxis();
    const int yLow = std::min(yAxis.GetMinPixels(), yAxis.GetMaxPixels());
    const int yHigh = std::max(yAxis.GetMinPixels(), yAxis.GetMaxPixels());
    ForEachDigitalRun(*this, [&](double x1, double x2, bool high) {
        const int level = high ? digitalHighPixels_ : digitalLowPixels_;
        if (level < yLow || level > yHigh) return;
        const double from = std::max(std::min(x1, x2), xAxis.GetMin());
        const double to = std::min(std::max(x1, x2), xAxis.GetMax());
        if (from > to) return;
        SegmentBatch().Add(mapper.Place(mapper.Column(from), level), mapper.Place(mapper.Column(to), level));
    });
}

// ---- Fill ------------------------------------------------------------------------------------

// The area between the trace, as its style draws it, and FillReference, in the fill colour
// (the channel's Color when FillUseChannelColor) and FillStyle, without outline: one
// trapezoid per straight segment or per column of an interpolated curve, one box per step's
// hold or per digital run (between its level and the reference). Null points leave gaps as in
// the trace.
void TPlotChannel::DrawFill(TCanvas& canvas, bool reversed) {
    TPlotXAxis* xAxis = GetXAxis();
    TPlotYAxis* yAxis = GetYAxis();
    if (fillStyle_ == bsClear || xAxis == nullptr || yAxis == nullptr) return;
    canvas.SetPen(TPlotPen{canvas.GetPen().Color, 0, psClear});
    canvas.SetBrush(TPlotBrush{fillUseChannelColor_ ? GetColor() : fillColor_, fillStyle_});
    TPlotValueArea area(canvas, *xAxis, *yAxis, reversed);
    const double reference = fillReference_;
    const auto trapezoid = [&](double x1, double y1, double x2, double y2) {
        area.Polygon({{x1, reference}, {x1, y1}, {x2, y2}, {x2, reference}});
    };

    if (digitalEnabled_) {
        const double highLevel = yAxis->PixelsToPosition(digitalHighPixels_);
        const double lowLevel = yAxis->PixelsToPosition(digitalLowPixels_);
        ForEachDigitalRun(*this, [&](double x1, double x2, bool high) {
            area.Box(x1, reference, x2, high ? highLevel : lowLevel);
        });
        return;
    }
    switch (interpolationStyle_) {
        case ipistStraightLine: ForEachSegment(*this, trapezoid); break;
        case ipistCubicSpline:
        case ipistPolynomial:
        case ipistRational:
            for (const TPlotCurve& curve : InterpolatedCurves(*this, *xAxis)) {
                for (size_t i = 1; i < curve.size(); ++i)
                    trapezoid(curve[i - 1].X, curve[i - 1].Y, curve[i].X, curve[i].Y);
            }
            break;
        case ipistDifferential:
        case ipistDifferentialTerminated:
            ForEachStep(
                *this, *xAxis, [&](double x1, double x2, double y) { area.Box(x1, reference, x2, y); },
                [](double, double, double) {});
            break;
    }
}

}  // namespace ondrix
