#include "plot/views/PlotToolBar.h"

#include <utility>

namespace ondrix {

TPlotToolBar::TPlotToolBar(TPlotComponent* owner, TPlotObjectEvents events)
    : TPlotLayoutObject(owner, std::move(events)) {
    SetHorizontal(true);
}

void TPlotToolBar::SetSelectModeActive(bool value) { SetField(selectModeActive_, value); }

void TPlotToolBar::SetZoomInOutFactor(double value) { SetField(zoomInOutFactor_, value >= 1 ? value : 1.0); }
void TPlotToolBar::SetShowSelectButton(bool value) { SetField(showSelectButton_, value); }
void TPlotToolBar::SetShowPreviewButton(bool value) { SetField(showPreviewButton_, value); }

}  // namespace ondrix
