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

void TPlotLabel::SetAlignment(TAlignmentHorizontal value) {
    if (value == alignment_) return;
    alignment_ = value;
    TriggerChange();
}

void TPlotLabel::SetFont(const TPlotFont& value) {
    const TPlotFont clamped = ClampedFont(value);
    if (clamped == font_) return;
    font_ = clamped;
    TriggerChange();
}

}  // namespace ondrix
