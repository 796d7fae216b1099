#include "plot/PlotLegend.h"

namespace ondrix {

void TPlotLegend::Store(std::string& field, const std::string& value) {
    if (field == value) return;
    field = value;
    TriggerChange();
}

void TPlotLegend::SetCaptionColumnTitle(const std::string& value) { Store(captionColumnTitle_, value); }
void TPlotLegend::SetCaptionColumnXAxisTitle(const std::string& value) { Store(captionColumnXAxisTitle_, value); }
void TPlotLegend::SetCaptionColumnYAxisTitle(const std::string& value) { Store(captionColumnYAxisTitle_, value); }
void TPlotLegend::SetCaptionColumnXValue(const std::string& value) { Store(captionColumnXValue_, value); }
void TPlotLegend::SetCaptionColumnYValue(const std::string& value) { Store(captionColumnYValue_, value); }
void TPlotLegend::SetCaptionColumnYMax(const std::string& value) { Store(captionColumnYMax_, value); }
void TPlotLegend::SetCaptionColumnYMin(const std::string& value) { Store(captionColumnYMin_, value); }
void TPlotLegend::SetCaptionColumnYMean(const std::string& value) { Store(captionColumnYMean_, value); }

}  // namespace ondrix
