// The channel's side of the data cursor: the reading at the cursor's pointers and its text. The
// cursor only knows pixels; the channel turns them into values through its own axes, so every
// channel of an "<All>" cursor reads in its own units.

#include <cmath>
#include <limits>
#include <string>

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannel.h"
#include "plot/views/PlotDataCursor.h"

namespace ondrix {

namespace {

// At or above it a Frequency reading has no finite text.
constexpr double kInfiniteReading = 1e301;

bool IsStepStyle(TPlotInterpolationStyle style) {
    return style == ipistDifferential || style == ipistDifferentialTerminated;
}

}  // namespace

void TPlotChannel::DataCursorUpate(TPlotDataCursor& cursor) {
    const TPlotDataCursorStyle style = cursor.GetStyle();
    const TPlotXAxis* xAxis = GetXAxis();
    const TPlotYAxis* yAxis = GetYAxis();
    const int pixel1 = cursor.GetPointer1Pixels();
    const int pixel2 = cursor.GetPointer2Pixels();
    double x = 0;
    double y = 0;
    TPlotDataPointStatus status = ipdpsValid;

    // The channel's Y at pointer 1, by the interpolation its trace is drawn with; a value the
    // trace does not show there (a gap) reads Null, a place outside the data Empty.
    auto valueAtPointer1 = [&](double x1, double& value) -> TPlotDataPointStatus {
        value = 0;
        const int count = GetCount();
        if (count == 0) return ipdpsEmpty;
        const double first = GetDataX(0);
        const double last = GetDataX(count - 1);
        const bool outside = GetXIncreasing() ? x1 < first || x1 > last : x1 > first || x1 < last;
        // A step trace goes on at its last level beyond the newest point.
        if (outside && !(IsStepStyle(interpolationStyle_) && !digitalEnabled_)) return ipdpsEmpty;
        auto usable = [this](int index) { return !GetDataNull(index) && !GetDataEmpty(index); };
        bool found = false;
        switch (interpolationStyle_) {
            case ipistStraightLine:
                found = GetYInterpolated(x1, value);
                break;
            case ipistCubicSpline:
            case ipistPolynomial:
            case ipistRational: {
                const int offset = pixel1 - pixelListFirstColumn_;
                if (offset >= 0 && offset < static_cast<int>(pixelList_.size()) &&
                    !pixelList_[static_cast<size_t>(offset)].Empty) {
                    value = pixelList_[static_cast<size_t>(offset)].Y;
                    found = true;
                }
                break;
            }
            case ipistDifferential:
            case ipistDifferentialTerminated: {
                // A Null or Empty step point is a gap in the trace, not a level of 0.
                const int index = CalcIndex(x1) - 1;
                if (index >= 0) {
                    found = usable(index);
                    if (found) value = GetDataY(index);
                } else if (interpolationStyle_ == ipistDifferential && usable(count - 1) &&
                           GetDataX(count - 1) < x1) {
                    value = GetDataY(count - 1);
                    found = true;
                }
                break;
            }
        }
        return found ? ipdpsValid : ipdpsNull;
    };

    if (cursor.GetScopeStyle() && style == ipcsValueY) {
        // The level of pointer 2's line on the Y axis, wherever the data is.
        if (yAxis != nullptr)
            y = yAxis->PixelsToPositionDouble(pixel2);
        else
            status = ipdpsEmpty;
    } else if (xAxis == nullptr) {
        status = ipdpsNull;
    } else {
        const double x1 = xAxis->PixelsToPositionDouble(pixel1);
        const double x2 = xAxis->PixelsToPositionDouble(pixel2);
        switch (style) {
            case ipcsValueXY:
            case ipcsValueY: {
                double value = 0;
                status = valueAtPointer1(x1, value);
                x = style == ipcsValueXY ? x1 : 0;
                y = status == ipdpsValid ? value : 0;
                break;
            }
            case ipcsValueX:
                x = x1;
                break;
            case ipcsDeltaX:
                x = std::fabs(x1 - x2) * xAxis->GetCursorScaler();
                break;
            case ipcsDeltaY:
                if (yAxis != nullptr)
                    y = std::fabs(yAxis->PixelsToPositionDouble(pixel1) - yAxis->PixelsToPositionDouble(pixel2));
                else
                    status = ipdpsNull;
                break;
            case ipcsInverseDeltaX: {
                const double scaler = xAxis->GetCursorScaler();
                const double distance = x1 - x2;
                x = distance != 0 && scaler != 0 ? std::fabs(1 / (scaler * distance))
                                                 : std::numeric_limits<double>::infinity();
                break;
            }
        }
    }

    cursor.SetData(x, y, status);
    cursor.SetDisplayText(GetDataCursorDisplayText(style, x, y, status));
}

std::string TPlotChannel::GetDataCursorDisplayText(TPlotDataCursorStyle style, double x, double y,
                                                   TPlotDataPointStatus status) {
    TPlotCursorReading& reading = CursorReading();
    reading.X = x;
    reading.Y = y;
    reading.Status = status;
    reading.XText.clear();
    reading.YText.clear();

    const TPlotXAxis* xAxis = GetXAxis();
    if (xAxis == nullptr) return "No X-Axis";
    const TPlotYAxis* yAxis = GetYAxis();
    auto yPart = [&]() -> std::string {
        if (yAxis == nullptr) return "No Y-Axis";
        if (status == ipdpsNull) return "Null";
        if (status == ipdpsEmpty) return "Empty";
        if (digitalEnabled_) return y != 0 ? "High" : "Low";
        return yAxis->GetCursorText(y);
    };

    switch (style) {
        case ipcsValueXY:
            reading.XText = xAxis->GetCursorText(x);
            reading.YText = yPart();
            return reading.XText + ", " + reading.YText;
        case ipcsValueX:
        case ipcsDeltaX:
            reading.XText = xAxis->GetCursorText(x);
            return reading.XText;
        case ipcsValueY:
            reading.YText = yPart();
            return reading.YText;
        case ipcsDeltaY:
            reading.YText = yAxis != nullptr ? yAxis->GetCursorText(y) : "No Y-Axis";
            return reading.YText;
        case ipcsInverseDeltaX:
            reading.XText = x >= kInfiniteReading ? "Infinite" : xAxis->GetCursorValueText(x);
            return reading.XText;
    }
    return {};
}

}  // namespace ondrix
