// The toolbar's drawing: the bar, the row of entries and each button's face and picture.

#include "plot/core/PlotCanvas.h"
#include "plot/core/PlotScopeExit.h"
#include "plot/views/PlotToolBar.h"

namespace ondrix {

namespace {

// The face of a pressed or latched button: white less 16 in each channel, a shade lighter than
// the bar so that a latched mode stands out.
constexpr TColor kActiveFace = ColorFromRgb(0xEFEFEF);

// A one-pixel bevel inside the box: `topLeft` from bottom-left up to top-left and on to
// top-right, `bottomRight` from there down to bottom-right and back to bottom-left.
void DrawThinEdge(TCanvas& canvas, const TPlotRect& box, TColor topLeft, TColor bottomRight) {
    const int right = box.Right - 1;
    const int bottom = box.Bottom - 1;
    const TPlotPoint upper[] = {{box.Left, bottom}, {box.Left, box.Top}, {right, box.Top}};
    const TPlotPoint lower[] = {{right, box.Top}, {right, bottom}, {box.Left, bottom}};
    canvas.SetPen(TPlotPen{topLeft, 1, psSolid});
    canvas.Polyline(upper, 3);
    canvas.SetPen(TPlotPen{bottomRight, 1, psSolid});
    canvas.Polyline(lower, 3);
}

void DrawLoweredEdge(TCanvas& canvas, const TPlotRect& box) { DrawThinEdge(canvas, box, clBtnShadow, clBtnHighlight); }
void DrawRaisedEdge(TCanvas& canvas, const TPlotRect& box) { DrawThinEdge(canvas, box, clBtnHighlight, clBtnShadow); }

void FillActiveFace(TCanvas& canvas, const TPlotRect& box) {
    canvas.SetBrush(TPlotBrush{kActiveFace, bsSolid});
    canvas.FillRect(box);
}

}  // namespace

void TPlotToolBar::Draw(TCanvas& canvas, TColor) {
    if (!GetVisible()) return;
    const int buttonSize = GetButtonSize();
    UpdateSpacers();
    UpdateResumePauseButtons();

    canvas.Save();
    const TScopeExit restore([&canvas] { canvas.Restore(); });
    const TPlotRect& bar = GetDrawRect();
    canvas.SetPen(TPlotPen{clBtnFace, 1, psSolid});
    canvas.SetBrush(TPlotBrush{clBtnFace, bsSolid});
    canvas.FillRect({bar.Left, bar.Top, bar.Right + 1, bar.Bottom});
    if (!flatBorder_) canvas.DrawEdge(bar, esRaised);

    // One row along x whatever the bar's orientation: the bar's thickness is the row's height.
    int x = bar.Left + 3;
    const int top = bar.Top + 3;
    for (const auto& entry : entries_) {
        if (!entry->GetVisible()) continue;
        const int width = entry->GetStyle() == iptbbsSpacer ? 10 : buttonSize;
        entry->SetDrawRect({x, top, x + width, top + buttonSize});
        x += width;
    }
    for (const auto& entry : entries_)
        if (entry->GetVisible()) entry->Draw(canvas);
}

void TPlotToolBarButton::Draw(TCanvas& canvas) {
    if (style_ == iptbbsSpacer) return;
    if (imageIndex_ == -1 && !imageName_.empty()) imageIndex_ = images_.Add(imageName_);

    const TPlotRect& box = GetDrawRect();
    const bool active = GetPressed() || GetDown();
    bool sunk = false;
    if (!flat_) {
        if (active) {
            FillActiveFace(canvas, box);
            canvas.DrawEdge(box, esSunken);
            sunk = true;
        } else {
            canvas.DrawEdge(box, esRaised);
        }
    } else {
        // Under the pointer a flat latched button keeps the bar's face, so the hover shows.
        if (active && !mouseOver_) FillActiveFace(canvas, box);
        if (GetEnabled()) {
            if (active) {
                DrawLoweredEdge(canvas, box);
                sunk = true;
            } else if (mouseOver_) {
                DrawRaisedEdge(canvas, box);
            }
        }
    }

    const int shift = sunk ? 1 : 0;
    const TPlotPoint topLeft{box.Left + (box.Right - box.Left) / 2 - images_.GetWidth() / 2 + shift,
                             box.Top + (box.Bottom - box.Top) / 2 - images_.GetHeight() / 2 + shift};
    images_.Draw(canvas, imageIndex_, topLeft, GetEnabled());
}

}  // namespace ondrix
