#include "workbench/ScopePlotConfiguration.h"

#include "plot/channels/PlotChannel.h"
#include "plot/config/PlotConfiguration.h"

namespace ondrix {

void ConfigureScopePlot(TPlot& plot) {
    LoadPlotConfiguration(plot, ParsePlotConfiguration(ScopePlotConfigurationText()),
                          [] { return std::make_unique<TPlot>(); });
    for (int c = 0; c < 4; ++c) plot.GetChannel(c)->SetRingBufferSize(kScopeRingBufferSize);
}

}  // namespace ondrix
