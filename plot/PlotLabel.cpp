#include "plot/PlotLabel.h"

#include <utility>

namespace ondrix {

TPlotLabel::TPlotLabel(TPlotComponent* owner, TPlotObjectEvents events) : TPlotLayoutObject(owner, std::move(events)) {
    SetHorizontal(true);
}

void TPlotLabel::SetCaption(const std::string& value) {
    if (value == caption_) return;
    caption_ = value;
    TriggerChange();
}

void TPlotLabel::SetMarginBottom(double value) {
    if (value == marginBottom_) return;
    marginBottom_ = value;
    TriggerChange();
}

}  // namespace ondrix
