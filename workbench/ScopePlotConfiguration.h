#pragma once
// The scope's plot: its stored configuration (workbench/ScopePlot.cfg, compiled in) and the
// ring buffers the window gives its four channels.

#include "plot/component/Plot.h"

namespace ondrix {

// Points each channel keeps; the oldest are dropped beyond it.
constexpr int kScopeRingBufferSize = 1500000;

const char* ScopePlotConfigurationText();

// Loads the configuration into `plot`, then sizes the four channels' rings.
void ConfigureScopePlot(TPlot& plot);

}  // namespace ondrix
