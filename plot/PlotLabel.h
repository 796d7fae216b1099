#pragma once
// A text label; label 0 of a plot is its title. So far only the caption and the bottom margin
// the title properties use; alignment, font, the other margins, measuring and drawing come with
// the component frame work.

#include <string>

#include "plot/PlotObjects.h"

namespace ondrix {

class TPlotLabel : public TPlotLayoutObject {
public:
    TPlotLabel(TPlotComponent* owner, TPlotObjectEvents events);

    const std::string& GetCaption() const { return caption_; }
    void SetCaption(const std::string& value);
    // In heights of the character "0" of the label's font.
    double GetMarginBottom() const { return marginBottom_; }
    void SetMarginBottom(double value);

private:
    std::string caption_;
    double marginBottom_ = 0;
};

}  // namespace ondrix
