#include "plot/channels/PlotChannelCustom.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

#include "plot/axes/PlotAxis.h"
#include "plot/component/PlotComponent.h"
#include "plot/core/PlotFiles.h"
#include "plot/core/PlotNumberText.h"

namespace ondrix {

namespace {

constexpr size_t kMaxLogLineLength = 255;
constexpr const char* kLineEnd = "\r\n";

std::unique_ptr<TPlotDataCustomList> MakeDataList(TPlotDataStyle style) {
    switch (style) {
        case ipdsCompact:
            return std::make_unique<TPlotDataCompactList>();
        case ipdsCompactInterval:
            return std::make_unique<TPlotDataCompactIntervalList>();
        case ipdsFullFeature:
            return std::make_unique<TPlotDataFullList>();
        case ipdsStandard:
            break;
    }
    return std::make_unique<TPlotDataNullList>();
}

// An infinity or a NaN is no value a channel can show: one would stretch an axis to its
// sentinels and crush the plot under labels hundreds of digits long.
double ParseNumber(std::string_view field) {
    double value = 0;
    if (!TextToDouble(field, value) || !std::isfinite(value))
        throw EPlotError("'" + std::string(field) + "' is not a valid number");
    return value;
}

bool IsNullWord(std::string_view field) { return SameText(TrimBlanks(field), "Null"); }

}  // namespace

// ---- TPlotVariantArray ---------------------------------------------------------------------

TPlotVariantArray::TPlotVariantArray(std::vector<TPlotArrayBounds> bounds) : bounds_(std::move(bounds)) {
    size_t size = bounds_.empty() ? 0 : 1;
    for (const TPlotArrayBounds& dim : bounds_) size *= static_cast<size_t>(std::max(dim.Length(), 0));
    values_.assign(size, 0.0);
}

TPlotVariantArray TPlotVariantArray::Vector(std::vector<double> values, int low) {
    TPlotVariantArray array;
    array.bounds_ = {{low, low + static_cast<int>(values.size()) - 1}};
    array.values_ = std::move(values);
    return array;
}

int TPlotVariantArray::LowBound(int dim) const {
    if (dim < 1 || dim > DimCount()) throw EPlotError("Index out of Bounds");
    return bounds_[static_cast<size_t>(dim - 1)].Low;
}

int TPlotVariantArray::HighBound(int dim) const {
    if (dim < 1 || dim > DimCount()) throw EPlotError("Index out of Bounds");
    return bounds_[static_cast<size_t>(dim - 1)].High;
}

size_t TPlotVariantArray::Offset(std::initializer_list<int> indices) const {
    if (indices.size() != bounds_.size()) throw EPlotError("Index out of Bounds");
    size_t offset = 0;
    auto dim = bounds_.begin();
    for (const int index : indices) {
        if (index < dim->Low || index > dim->High) throw EPlotError("Index out of Bounds");
        offset = offset * static_cast<size_t>(dim->Length()) + static_cast<size_t>(index - dim->Low);
        ++dim;
    }
    return offset;
}

// ---- Construction and properties -----------------------------------------------------------

TPlotChannelCustom::TPlotChannelCustom(TPlotComponent* owner, TPlotObjectEvents events)
    : TPlotManagerObject(owner, std::move(events)),
      data_(std::make_unique<TPlotDataNullList>()),
      xAxis_(&TPlotComponent::GetXAxisByName),
      yAxis_(&TPlotComponent::GetYAxisByName) {
    standardData_ = static_cast<const TPlotDataNullList*>(data_.get());
    CurrentPointAttributes& attributes = data_->GetCurrentPointAttributes();
    attributes.TraceLineColor = clRed;
    attributes.TraceLineStyle = iplsSolid;
    attributes.TraceLineWidth = 1;
    attributes.MarkerVisible = false;
    attributes.MarkerSize = 3;
    attributes.MarkerStyle = ipmsCircle;
    attributes.MarkerPenColor = clRed;
    attributes.MarkerPenStyle = psSolid;
    attributes.MarkerPenWidth = 0;
    attributes.MarkerBrushColor = clRed;
    attributes.MarkerBrushStyle = bsSolid;
}

TPlotChannelCustom::~TPlotChannelCustom() = default;

void TPlotChannelCustom::SetRingBufferSize(int value) {
    data_->SetRingBufferSize(value);
    TriggerChange();
}

void TPlotChannelCustom::SetDataStyle(TPlotDataStyle value) {
    if (value == dataStyle_) return;
    std::unique_ptr<TPlotDataCustomList> list = MakeDataList(value);
    list->GetCurrentPointAttributes() = data_->GetCurrentPointAttributes();
    list->SetRingBufferSize(data_->GetRingBufferSize());
    // Points logged but not yet written would be lost with the old list.
    if (loggingActive_) WriteLog();
    data_ = std::move(list);
    standardData_ = value == ipdsStandard ? static_cast<const TPlotDataNullList*>(data_.get()) : nullptr;
    dataStyle_ = value;
    pendingLogCount_ = 0;
    ResetRunningStatistics();
    SetDrawRange(-1, -1);
    TriggerChange();
}

void TPlotChannelCustom::SetXAxisName(const std::string& value) {
    if (xAxis_.SetName(value)) TriggerChange();
}

void TPlotChannelCustom::SetYAxisName(const std::string& value) {
    if (yAxis_.SetName(value)) TriggerChange();
}

// ---- Data entry ----------------------------------------------------------------------------

// The scope's hot path: up to millions of calls per second into a full ring. The list write,
// the statistics and the axis notifications are O(1); nothing here allocates or scans.
int TPlotChannelCustom::AddXY(double x, double y) {
    const int slot = data_->Add(x, y);

    if (x > runningXMax_) runningXMax_ = x;
    if (x < runningXMin_) runningXMin_ = x;
    if (y > runningYMax_) runningYMax_ = y;
    if (y < runningYMin_) runningYMin_ = y;
    ++runningCount_;
    runningXSum_ += x;
    runningXMean_ = static_cast<double>(runningXSum_ / runningCount_);
    runningYSum_ += y;
    runningYMean_ = static_cast<double>(runningYSum_ / runningCount_);

    if (xAxisTrackingEnabled_ || yAxisTrackingEnabled_) {
        if (GetMarkersVisible()) {
            TrackMarkerExtents();
        } else {
            if (xAxisTrackingEnabled_) {
                if (TPlotXAxis* axis = GetXAxis()) axis->NewTrackingData(x);
            }
            if (yAxisTrackingEnabled_) {
                if (TPlotYAxis* axis = GetYAxis()) axis->NewTrackingData(y);
            }
        }
    }

    if (loggingActive_) {
        ++pendingLogCount_;
        if (logBufferSize_ < 2 || pendingLogCount_ >= logBufferSize_) WriteLog();
    }

    TriggerChange();
    return slot;
}

// Each axis gets the far edges of the newest point's marker, so that whole markers stay in view.
void TPlotChannelCustom::TrackMarkerExtents() {
    const int newest = GetCount() - 1;
    if (xAxisTrackingEnabled_) {
        if (TPlotXAxis* axis = GetXAxis()) {
            axis->NewTrackingData(GetDataXDrawMax(newest));
            axis->NewTrackingData(GetDataXDrawMin(newest));
        }
    }
    if (yAxisTrackingEnabled_) {
        if (TPlotYAxis* axis = GetYAxis()) {
            axis->NewTrackingData(GetDataYDrawMax(newest));
            axis->NewTrackingData(GetDataYDrawMin(newest));
        }
    }
}

void TPlotChannelCustom::TrackX(double x) {
    if (!xAxisTrackingEnabled_) return;
    if (TPlotXAxis* axis = GetXAxis()) axis->NewTrackingData(x);
}

void TPlotChannelCustom::AddXYArray(const TPlotVariantArray& values) {
    if (values.DimCount() != 2) throw EPlotError("Array Must Be 2 Dimensional");
    const int low = values.LowBound(1);
    if (values.HighBound(1) - low + 1 != 2) throw EPlotError("Array First Dimension Must Be 2 Elements");
    for (int j = values.LowBound(2); j <= values.HighBound(2); ++j) AddXY(values.At(low, j), values.At(low + 1, j));
}

void TPlotChannelCustom::AddXYArrays(const TPlotVariantArray& xValues, const TPlotVariantArray& yValues) {
    if (xValues.DimCount() != 1) throw EPlotError("X-Data array must be 1 dimensional");
    if (yValues.DimCount() != 1) throw EPlotError("Y-Data array must be 1 dimensional");
    if (xValues.LowBound(1) != yValues.LowBound(1)) throw EPlotError("X-Data and Y-Data low bound dimension must match");
    if (xValues.HighBound(1) != yValues.HighBound(1))
        throw EPlotError("X-Data and Y-Data hogh bound dimension must match");
    for (int i = xValues.LowBound(1); i <= xValues.HighBound(1); ++i) AddXY(xValues.At(i), yValues.At(i));
}

void TPlotChannelCustom::Clear() {
    ResetRunningStatistics();
    SetDrawRange(-1, -1);
    if (loggingActive_) LogDeactivate();
    data_->Clear();
    TriggerChange();
}

void TPlotChannelCustom::DeletePoints(int n) {
    data_->DeletePoints(n);
    TriggerChange();
}

void TPlotChannelCustom::SetCount(int value) {
    data_->SetCapacity(value);
    TriggerChange();
}

// ---- Statistics ----------------------------------------------------------------------------

void TPlotChannelCustom::ResetRunningStatistics() {
    runningXMin_ = kNoMinimum;
    runningXMax_ = kNoMaximum;
    runningXMean_ = 0;
    runningYMin_ = kNoMinimum;
    runningYMax_ = kNoMaximum;
    runningYMean_ = 0;
    runningCount_ = 0;
    runningXSum_ = 0;
    runningYSum_ = 0;
}

double TPlotChannelCustom::GetXMin() {
    double result = kNoMinimum;
    ForEachUsablePoint(0, GetCount() - 1, [&](int, double x, double) {
        if (x < result) result = x;
    });
    return runningXMin_ = result;
}

double TPlotChannelCustom::GetXMax() {
    double result = kNoMaximum;
    ForEachUsablePoint(0, GetCount() - 1, [&](int, double x, double) {
        if (x > result) result = x;
    });
    return runningXMax_ = result;
}

double TPlotChannelCustom::GetXMean() {
    long double sum = 0;
    int count = 0;
    ForEachUsablePoint(0, GetCount() - 1, [&](int, double x, double) {
        sum += x;
        ++count;
    });
    return runningXMean_ = count > 0 ? static_cast<double>(sum / count) : 0;
}

double TPlotChannelCustom::GetYMin() {
    double result = kNoMinimum;
    ForEachUsablePoint(0, GetCount() - 1, [&](int, double, double y) {
        if (y < result) result = y;
    });
    return runningYMin_ = result;
}

double TPlotChannelCustom::GetYMax() {
    double result = kNoMaximum;
    ForEachUsablePoint(0, GetCount() - 1, [&](int, double, double y) {
        if (y > result) result = y;
    });
    return runningYMax_ = result;
}

double TPlotChannelCustom::GetYMean() {
    long double sum = 0;
    int count = 0;
    ForEachUsablePoint(0, GetCount() - 1, [&](int, double, double y) {
        sum += y;
        ++count;
    });
    return runningYMean_ = count > 0 ? static_cast<double>(sum / count) : 0;
}

// The sums are rebuilt too, so that the next AddXY continues the means from the scanned points.
void TPlotChannelCustom::ReCalcRunningMinMaxMean() {
    ResetRunningStatistics();
    ForEachUsablePoint(0, GetCount() - 1, [&](int, double x, double y) {
        if (x > runningXMax_) runningXMax_ = x;
        if (x < runningXMin_) runningXMin_ = x;
        if (y > runningYMax_) runningYMax_ = y;
        if (y < runningYMin_) runningYMin_ = y;
        ++runningCount_;
        runningXSum_ += x;
        runningYSum_ += y;
    });
    if (runningCount_ > 0) {
        runningXMean_ = static_cast<double>(runningXSum_ / runningCount_);
        runningYMean_ = static_cast<double>(runningYSum_ / runningCount_);
    }
}

// ---- Extents -------------------------------------------------------------------------------

// Two pixels' worth of the marker's size, halved: robust against scales whose pixel direction
// runs against the values (vertical axes, reversed scales).
double TPlotChannelCustom::MarkerHalfExtent(TPlotAxis& axis) const {
    return std::abs(axis.PixelsToPosition(2 * GetMarkersSize()) - axis.PixelsToPosition(0)) / 2;
}

double TPlotChannelCustom::XMarkerHalfExtent() {
    if (!GetMarkersVisible()) return 0;
    TPlotXAxis* axis = GetXAxis();
    if (axis == nullptr) throw EPlotError("X-Axis not assigned");
    return MarkerHalfExtent(*axis);
}

double TPlotChannelCustom::YMarkerHalfExtent() {
    if (!GetMarkersVisible()) return 0;
    TPlotYAxis* axis = GetYAxis();
    if (axis == nullptr) throw EPlotError("Y-Axis not assigned");
    return MarkerHalfExtent(*axis);
}

double TPlotChannelCustom::CheckedValue(int index, bool xValue) const {
    if (data_->GetNull(index)) throw EPlotError("Data Point Null");
    return xValue ? data_->GetX(index) : data_->GetY(index);
}

double TPlotChannelCustom::GetDataXDrawMax(int index) {
    const double x = CheckedValue(index, true);
    return x + XMarkerHalfExtent();
}

double TPlotChannelCustom::GetDataXDrawMin(int index) {
    const double x = CheckedValue(index, true);
    return x - XMarkerHalfExtent();
}

double TPlotChannelCustom::GetDataYDrawMax(int index) {
    const double y = CheckedValue(index, false);
    return y + YMarkerHalfExtent();
}

double TPlotChannelCustom::GetDataYDrawMin(int index) {
    const double y = CheckedValue(index, false);
    return y - YMarkerHalfExtent();
}

// ---- Axes ----------------------------------------------------------------------------------

TPlotXAxis* TPlotChannelCustom::GetXAxis() { return xAxis_.Get(*GetOwner()); }

TPlotYAxis* TPlotChannelCustom::GetYAxis() { return yAxis_.Get(*GetOwner()); }

bool TPlotChannelCustom::AxesValid() { return GetXAxis() != nullptr && GetYAxis() != nullptr; }

void TPlotChannelCustom::GetPointPixels(double x, double y, int& xPixels, int& yPixels) {
    xPixels = 0;
    yPixels = 0;
    TPlotXAxis* xAxis = GetXAxis();
    TPlotYAxis* yAxis = GetYAxis();
    if (xAxis == nullptr || yAxis == nullptr) return;
    xPixels = xAxis->PositionToPixels(x);
    yPixels = yAxis->PositionToPixels(y);
}

// Until the axes format their own cursor text, a value shows in its shortest exact form.
std::string TPlotChannelCustom::GetXValueText(double value) {
    if (GetXAxis() == nullptr) return "No X-Axis";
    return DoubleToText(value);
}

std::string TPlotChannelCustom::GetYValueText(double value) {
    if (GetYAxis() == nullptr) return "No Y-Axis";
    return DoubleToText(value);
}

void TPlotChannelCustom::NotificationRemove(TPlotObject& obj) {
    xAxis_.NotificationRemove(obj);
    yAxis_.NotificationRemove(obj);
}

void TPlotChannelCustom::NotificationRename(TPlotObject& obj) {
    xAxis_.NotificationRename(obj);
    yAxis_.NotificationRename(obj);
}

// ---- Files and logging ---------------------------------------------------------------------

char TPlotChannelCustom::DataSeparator() const { return GetOwner()->GetDataFileColumnSeparatorChar(); }

void TPlotChannelCustom::SaveDataToFile(const std::string& fileName) {
    const char separator = DataSeparator();
    std::string text;
    double x, y;
    bool empty, null;
    for (int i = 0; i < GetCount(); ++i) {
        data_->GetXYEmptyNull(i, x, y, empty, null);
        if (empty) continue;
        text += DoubleToText(x);
        text += separator;
        text += null ? std::string("Null") : DoubleToText(y);
        text += kLineEnd;
    }
    WriteText(fileName, text, std::ios::trunc);
}

void TPlotChannelCustom::LoadDataFromFile(const std::string& fileName, bool clearFirst) {
    if (loggingActive_) LogDeactivate();
    const std::string text = ReadWholeFile(fileName);
    const std::vector<std::string_view> lines = SplitLines(text);

    struct Point {
        double x;
        double y;
        bool null;
    };
    std::vector<Point> points;
    if (!lines.empty()) {
        const char separator = lines.front().find('\t') != std::string_view::npos ? '\t' : ',';
        for (const std::string_view line : lines) {
            const size_t split = line.find(separator);
            const std::string_view first = line.substr(0, split);
            if (first.empty()) continue;
            const std::string_view second = split == std::string_view::npos ? std::string_view() : line.substr(split + 1);
            if (IsNullWord(second)) {
                points.push_back({ParseNumber(first), 0, true});
            } else {
                points.push_back({ParseNumber(first), ParseNumber(second), false});
            }
        }
    }

    if (clearFirst) Clear();
    for (const Point& point : points) {
        AddXY(point.x, point.y);
        if (point.null) SetDataNull(GetCount() - 1, true);
    }
}

void TPlotChannelCustom::LogActivate(bool append) {
    if (TrimBlanks(logFileName_).empty()) throw EPlotError("Log File Name not Defined");
    if (loggingActive_) throw EPlotError("Logging Already Active");
    WriteText(logFileName_, std::string(), append ? std::ios::app : std::ios::trunc);
    loggingActive_ = true;
    pendingLogCount_ = 0;
}

void TPlotChannelCustom::WriteLog() {
    // Points deleted or overwritten since they were counted are no longer there to write.
    const int pending = std::min(pendingLogCount_, GetCount());
    if (pending > 0) {
        const char separator = DataSeparator();
        std::string text;
        for (int i = GetCount() - pending; i < GetCount(); ++i) {
            std::string line = DoubleToText(GetDataX(i));
            line += separator;
            line += DoubleToText(GetDataY(i));
            if (line.size() > kMaxLogLineLength) line.resize(kMaxLogLineLength);
            text += line;
            text += kLineEnd;
        }
        WriteText(logFileName_, text, std::ios::app);
    }
    pendingLogCount_ = 0;
}

void TPlotChannelCustom::LogDeactivate() {
    if (!loggingActive_) throw EPlotError("Logging not Active");
    loggingActive_ = false;
    WriteLog();
}

}  // namespace ondrix
