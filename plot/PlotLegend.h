#pragma once
// The plot's legend. So far only its place in the object model; rows, columns, wrapping, scroll
// buttons and drawing come with the legend work.

#include "plot/PlotObjects.h"

namespace ondrix {

class TPlotLegend : public TPlotLayoutObject {
public:
    using TPlotLayoutObject::TPlotLayoutObject;
};

}  // namespace ondrix
