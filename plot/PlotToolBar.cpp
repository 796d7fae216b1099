#include "plot/PlotToolBar.h"

#include <utility>

namespace ondrix {

TPlotToolBar::TPlotToolBar(TPlotComponent* owner, TPlotObjectEvents events)
    : TPlotLayoutObject(owner, std::move(events)) {
    SetHorizontal(true);
}

void TPlotToolBar::SetSelectModeActive(bool value) {
    if (value == selectModeActive_) return;
    selectModeActive_ = value;
    TriggerChange();
}

}  // namespace ondrix
