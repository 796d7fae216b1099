#pragma once
// The channel of TPlot, whose X values run monotonically. So far only its place in the object
// model; data entry, the visible range search and the fast trace drawing come with the channel
// work.

#include "plot/PlotChannelCustom.h"

namespace ondrix {

class TPlotChannel : public TPlotChannelCustom {
public:
    using TPlotChannelCustom::TPlotChannelCustom;

    // Placeholders until the channel's data is built: nothing to fit yet.
    double GetVisibleMinX() override { return kNoMinimum; }
    double GetVisibleMaxX() override { return kNoMaximum; }
    double GetVisibleMinY() override { return kNoMinimum; }
    double GetVisibleMaxY() override { return kNoMaximum; }
};

}  // namespace ondrix
