#pragma once
// What the axis needs from a drawing surface to size its labels and title: the extent of a text
// in a font. TCanvasTextMeasure (PlotCanvas.h) measures on a canvas; tests use fixed metrics so
// that sizes are exact.
//
// Threads: GUI thread only, like the canvas behind it.

#include <string>

#include "plot/core/PlotFont.h"

namespace ondrix {

class TPlotTextMeasure {
public:
    virtual ~TPlotTextMeasure() = default;
    // Pixels of the text drawn unrotated in the font.
    virtual int TextWidth(const std::string& text, const TPlotFont& font) const = 0;
    virtual int TextHeight(const std::string& text, const TPlotFont& font) const = 0;
};

}  // namespace ondrix
