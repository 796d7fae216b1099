#pragma once
// The plot's command and mode bar. So far only its place in the object model and the plot's
// select mode as a plain flag; the buttons, the modes and their drawing come with the toolbar
// work, and the select mode then becomes the Select button's latched state.

#include "plot/PlotObjects.h"

namespace ondrix {

class TPlotToolBar : public TPlotLayoutObject {
public:
    TPlotToolBar(TPlotComponent* owner, TPlotObjectEvents events);

    bool GetSelectModeActive() const { return selectModeActive_; }
    void SetSelectModeActive(bool value);

private:
    bool selectModeActive_ = false;
};

}  // namespace ondrix
