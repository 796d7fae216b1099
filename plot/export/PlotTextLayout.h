#pragma once
// TCanvas::DrawText's layout done by our own code, for canvases that record text rather than
// render it: where each line of a text goes in a box under the layout flags, measured on a
// canvas that renders (so the recording lays out as the screen does).
//
// Threads: as the measuring canvas.

#include <string>
#include <vector>

#include "plot/core/PlotCanvas.h"

namespace ondrix {

// A piece of a line drawn alike: all of it underlined (a "&x" prefix) or none of it.
struct TTextRun {
    int X = 0;  // left edge, in the same coordinates as the box
    std::string Text;
    bool Underlined = false;
};

struct TTextLine {
    int Y = 0;  // top of the line
    std::vector<TTextRun> Runs;
};

struct TTextLayout {
    std::vector<TTextLine> Lines;
    int Height = 0;  // what DrawText answers
};

// The text's lines as DrawText breaks them: at each line feed (a carriage return is dropped);
// an empty text is one empty line.
std::vector<std::string> TextLines(const std::string& text);

// The text laid out in the box by the flags (tfMeasureOnly is ignored: the caller draws or not),
// measured in the canvas's current font. The canvas renders text itself: where a measured width
// ties with the box's, its own line breaking is asked.
TTextLayout LayOutText(TCanvas& measure, const std::string& text, const TPlotRect& box, TTextFormat format);

}  // namespace ondrix
