#pragma once
// The pictures of the toolbar's buttons and the list the toolbar loads them into.
//
// The pictures are drawn by code through the canvas (lines, boxes, polygons, ellipses), so they
// come out pixel-exact on a bitmap and stay sharp on a metafile or a printer page. Each is known
// by the name of its button's image ("AUTO", "SMALLAUTO", ...): the plain names are 24 x 24, the
// SMALL... names 16 x 16. What a picture does not cover stays as it was, as a bitmap with a
// transparent colour would leave it.
//
// Threads: GUI thread only.

#include <string>
#include <vector>

#include "plot/core/PlotCanvas.h"

namespace ondrix {

struct TPlotToolBarIcon;

// The pictures the toolbar has loaded, by index, all of one size.
class TPlotToolBarImageList {
public:
    explicit TPlotToolBarImageList(int size) : size_(size) {}

    int GetWidth() const { return size_; }
    int GetHeight() const { return size_; }
    int GetCount() const { return static_cast<int>(icons_.size()); }

    // Empties the list for pictures of the new size; indexes handed out before are void.
    void Reset(int size);
    // Loads the named picture and answers its index; -1, adding nothing, when no picture of the
    // list's size bears the name.
    int Add(const std::string& name);
    // The picture with its top-left at the point. Disabled, it is greyed the way the desktop
    // greys a disabled button: its dark strokes in the shadow colour over a highlight copy one
    // pixel down and right, its light fills in the button's face. An index outside the list
    // draws nothing.
    void Draw(TCanvas& canvas, int index, TPlotPoint topLeft, bool enabled) const;

private:
    int size_;
    std::vector<const TPlotToolBarIcon*> icons_;
};

// Whether a picture of that name exists, in either size.
bool ToolBarIconExists(const std::string& name);

}  // namespace ondrix
