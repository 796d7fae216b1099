#include "plot/views/PlotExtras.h"

namespace ondrix {

void TPlotLimit::SetXAxisName(const std::string& value) {
    if (value == xAxisName_) return;
    xAxisName_ = value;
    TriggerChange();
}

void TPlotLimit::SetYAxisName(const std::string& value) {
    if (value == yAxisName_) return;
    yAxisName_ = value;
    TriggerChange();
}

}  // namespace ondrix
