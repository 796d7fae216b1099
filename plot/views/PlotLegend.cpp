#include "plot/views/PlotLegend.h"

namespace ondrix {

void TPlotLegend::SetCaptionColumnTitle(const std::string& value) { SetField(captionColumnTitle_, value); }
void TPlotLegend::SetCaptionColumnXAxisTitle(const std::string& value) { SetField(captionColumnXAxisTitle_, value); }
void TPlotLegend::SetCaptionColumnYAxisTitle(const std::string& value) { SetField(captionColumnYAxisTitle_, value); }
void TPlotLegend::SetCaptionColumnXValue(const std::string& value) { SetField(captionColumnXValue_, value); }
void TPlotLegend::SetCaptionColumnYValue(const std::string& value) { SetField(captionColumnYValue_, value); }
void TPlotLegend::SetCaptionColumnYMax(const std::string& value) { SetField(captionColumnYMax_, value); }
void TPlotLegend::SetCaptionColumnYMin(const std::string& value) { SetField(captionColumnYMin_, value); }
void TPlotLegend::SetCaptionColumnYMean(const std::string& value) { SetField(captionColumnYMean_, value); }

}  // namespace ondrix
