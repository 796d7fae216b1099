#pragma once
// A text label; label 0 of a plot is its title. So far the caption, the bottom margin the title
// properties use, the alignment and the font; the other margins, measuring and drawing come
// with the component frame work.

#include <cstdint>
#include <string>

#include "plot/PlotFont.h"
#include "plot/PlotObjects.h"

namespace ondrix {

// Where the caption sits along the label's side. On a vertical label, left is toward the bottom
// end and right toward the top.
enum TAlignmentHorizontal : uint8_t { iahCenter, iahLeft, iahRight };

class TPlotLabel : public TPlotLayoutObject {
public:
    TPlotLabel(TPlotComponent* owner, TPlotObjectEvents events);

    const std::string& GetCaption() const { return caption_; }
    void SetCaption(const std::string& value);
    // In heights of the character "0" of the label's font.
    double GetMarginBottom() const { return marginBottom_; }
    void SetMarginBottom(double value);

    TAlignmentHorizontal GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignmentHorizontal value);
    const TPlotFont& GetFont() const { return font_; }
    void SetFont(const TPlotFont& value);

private:
    std::string caption_;
    double marginBottom_ = 0;
    TAlignmentHorizontal alignment_ = iahCenter;
    TPlotFont font_ = MakeFont("Arial", 14, clWhite, true);
};

}  // namespace ondrix
