#pragma once
// The plot's legend. So far its place in the object model and the captions of its column
// titles; rows, columns, wrapping, scroll buttons and drawing come with the legend work.

#include <string>

#include "plot/objects/PlotObjects.h"

namespace ondrix {

class TPlotLegend : public TPlotLayoutObject {
public:
    using TPlotLayoutObject::TPlotLayoutObject;

    // ---- Column title captions, one per column ----
    const std::string& GetCaptionColumnTitle() const { return captionColumnTitle_; }
    void SetCaptionColumnTitle(const std::string& value);
    const std::string& GetCaptionColumnXAxisTitle() const { return captionColumnXAxisTitle_; }
    void SetCaptionColumnXAxisTitle(const std::string& value);
    const std::string& GetCaptionColumnYAxisTitle() const { return captionColumnYAxisTitle_; }
    void SetCaptionColumnYAxisTitle(const std::string& value);
    const std::string& GetCaptionColumnXValue() const { return captionColumnXValue_; }
    void SetCaptionColumnXValue(const std::string& value);
    const std::string& GetCaptionColumnYValue() const { return captionColumnYValue_; }
    void SetCaptionColumnYValue(const std::string& value);
    const std::string& GetCaptionColumnYMax() const { return captionColumnYMax_; }
    void SetCaptionColumnYMax(const std::string& value);
    const std::string& GetCaptionColumnYMin() const { return captionColumnYMin_; }
    void SetCaptionColumnYMin(const std::string& value);
    const std::string& GetCaptionColumnYMean() const { return captionColumnYMean_; }
    void SetCaptionColumnYMean(const std::string& value);

private:
    std::string captionColumnTitle_ = "Title";
    std::string captionColumnXAxisTitle_ = "X-Axis";
    std::string captionColumnYAxisTitle_ = "Y-Axis";
    std::string captionColumnXValue_ = "X";
    std::string captionColumnYValue_ = "Y";
    std::string captionColumnYMax_ = "Y-Max";
    std::string captionColumnYMin_ = "Y-Min";
    std::string captionColumnYMean_ = "Y-Mean";
};

}  // namespace ondrix
