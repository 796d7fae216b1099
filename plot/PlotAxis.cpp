#include "plot/PlotAxis.h"

#include <utility>

namespace ondrix {

void TPlotAxis::SetTitle(const std::string& value) {
    if (value == title_) return;
    title_ = value;
    TriggerChange();
}

TPlotXAxis::TPlotXAxis(TPlotComponent* owner, TPlotObjectEvents events) : TPlotAxis(owner, std::move(events)) {
    SetHorizontal(true);
}

}  // namespace ondrix
