#pragma once
// Tables, limits and annotations: kinds the plot keeps managers and a paint place for, though the
// scope uses none of them. They exist as far as the managers need them; their contents and
// drawing are left for when a use appears.

#include <string>

#include "plot/objects/PlotObjects.h"

namespace ondrix {

class TPlotTable : public TPlotLayoutObject {
public:
    using TPlotLayoutObject::TPlotLayoutObject;
};

// A line at a value of an axis pair; the axes are named, not cached.
class TPlotLimit : public TPlotObject {
public:
    using TPlotObject::TPlotObject;

    const std::string& GetXAxisName() const { return xAxisName_; }
    void SetXAxisName(const std::string& value);
    const std::string& GetYAxisName() const { return yAxisName_; }
    void SetYAxisName(const std::string& value);

private:
    std::string xAxisName_;
    std::string yAxisName_;
};

class TPlotAnnotation : public TPlotObject {
public:
    using TPlotObject::TPlotObject;
};

}  // namespace ondrix
