#pragma once
// The plot's axes. So far only what the object model needs: the title and the orientation each
// kind starts with. Scale, tracking, zoom, ticks, labels and drawing come with the axis work.

#include <string>

#include "plot/PlotObjects.h"

namespace ondrix {

class TPlotAxis : public TPlotLayoutObject {
public:
    using TPlotLayoutObject::TPlotLayoutObject;

    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& value);

private:
    std::string title_;
};

// Runs along the bottom or top of the data view unless the plot's axes are reversed.
class TPlotXAxis : public TPlotAxis {
public:
    TPlotXAxis(TPlotComponent* owner, TPlotObjectEvents events);
};

// Runs along the left or right of the data view unless the plot's axes are reversed.
class TPlotYAxis : public TPlotAxis {
public:
    using TPlotAxis::TPlotAxis;
};

}  // namespace ondrix
