// The plot's paint pass: the fixed order in which background, data view, layers, axes, labels
// and the rest are drawn, and the background gradient.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "plot/axes/PlotAxis.h"
#include "plot/component/PlotComponent.h"
#include "plot/component/PlotLayoutManager.h"
#include "plot/core/PlotScopeExit.h"
#include "plot/views/PlotDataCursor.h"
#include "plot/views/PlotDataView.h"
#include "plot/views/PlotExtras.h"
#include "plot/views/PlotLabel.h"
#include "plot/views/PlotLegend.h"
#include "plot/views/PlotToolBar.h"

namespace ondrix {

namespace {

// One object drawn inside the data view's clip. The key orders the layers: the object's Layer
// in six digits, then a letter for its kind (B data view, C line limits, D Cartesian Y axes,
// E Cartesian X axes, F channels).
struct TPlotLayerEntry {
    std::string Key;
    std::function<void(TCanvas&, TColor)> Draw;
};

bool KeyLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) < std::toupper(static_cast<unsigned char>(y));
    });
}

class TPlotLayerList {
public:
    // An entry whose key equals existing keys goes in front of them: of channels on one layer,
    // the first added is drawn last and lies on top.
    void Add(int32_t layer, char kind, std::function<void(TCanvas&, TColor)> draw) {
        char key[16];
        std::snprintf(key, sizeof key, "%06d%c", static_cast<int>(layer), kind);
        TPlotLayerEntry entry{key, std::move(draw)};
        const auto place =
            std::lower_bound(entries_.begin(), entries_.end(), entry.Key,
                             [](const TPlotLayerEntry& e, const std::string& k) { return KeyLess(e.Key, k); });
        entries_.insert(place, std::move(entry));
    }
    const std::vector<TPlotLayerEntry>& Entries() const { return entries_; }

private:
    std::vector<TPlotLayerEntry> entries_;
};

uint8_t Blend(uint8_t start, uint8_t stop, double fraction) {
    return static_cast<uint8_t>(std::nearbyint(start + (static_cast<double>(stop) - start) * fraction));
}

TColor BlendColor(TColor start, TColor stop, double fraction) {
    return static_cast<TColor>(Blend(RedOf(start), RedOf(stop), fraction)) |
           static_cast<TColor>(Blend(GreenOf(start), GreenOf(stop), fraction)) << 8 |
           static_cast<TColor>(Blend(BlueOf(start), BlueOf(stop), fraction)) << 16;
}

}  // namespace

// ---- The paint pass ------------------------------------------------------------------------

void TPlotComponent::iPaintTo(TCanvas& canvas) {
    if (ToolBarCount() == 0 || LegendCount() == 0 || DataViewCount() == 0) return;
    TPlotDataView& dataView = *GetDataView(0);
    TPlotLayoutManager& layout = *GetLayoutManager();
    layout.ClearAxesCollisionList();

    // The layout needs the tick labels' sizes and the ticks need the layout's lengths: the
    // second round settles label widths that changed since the previous paint.
    const TCanvasTextMeasure measure(canvas);
    const TPlotLayoutFrame frame{GetWidth(),          GetHeight(),          GetBorderMargin(),    outerMarginLeft_,
                                 outerMarginTop_,     outerMarginRight_,    outerMarginBottom_};
    // Cursor readings before the layout, so that what shows them can size itself, and again
    // once the axes have their final pixels.
    for (int i = 0; i < DataCursorCount(); ++i) GetDataCursor(i)->DoUpdate();
    // Legend 0 shows the readings of a cursor on every channel; it needs to know before it sizes.
    bool cursorColumns = false;
    for (int i = 0; i < DataCursorCount(); ++i) {
        const TPlotDataCursor& cursor = *GetDataCursor(i);
        cursorColumns = cursorColumns || (cursor.GetVisible() && cursor.GetChannelName() == kDataCursorAllChannels &&
                                          cursor.GetChannelShowAllInLegend());
    }
    GetLegend(0)->SetCursorColumnsMode(cursorColumns);
    CalcAllTicks(measure);
    layout.CalcLayout(measure, frame);
    layout.CalcLayout(measure, frame);
    CalcAllTicks(measure);
    for (int i = 0; i < DataCursorCount(); ++i) GetDataCursor(i)->DoUpdate();

    for (int i = 0; i < ChannelCount(); ++i) GetChannel(i)->DrawSetup(canvas);
    for (int i = 0; i < DataCursorCount(); ++i) GetDataCursor(i)->SetDataView(&dataView);

    if (backGroundGradientEnabled_)
        DrawGradientDirection(canvas, {0, 0, GetWidth(), GetHeight()}, backGroundGradientStartColor_,
                              backGroundGradientStopColor_, backGroundGradientDirection_);
    else
        DrawBackGround(canvas, GetBackGroundColor());
    dataView.DrawBackground(canvas);

    DrawLayers(canvas, dataView);
    DrawOutSideObjects(canvas);
    for (int i = 0; i < DataCursorCount(); ++i) GetDataCursor(i)->Draw(canvas);
    for (int i = 0; i < LegendCount(); ++i) GetLegend(i)->Draw(canvas, GetBackGroundColor());
    DrawHint(canvas);
}

void TPlotComponent::CalcAllTicks(const TPlotTextMeasure& measure) {
    for (int i = 0; i < XAxisCount(); ++i) GetXAxis(i)->CalcTicks(measure);
    for (int i = 0; i < YAxisCount(); ++i) GetYAxis(i)->CalcTicks(measure);
}

void TPlotComponent::DrawLayers(TCanvas& canvas, TPlotDataView& dataView) {
    TPlotLayerList layers;
    layers.Add(dataView.GetLayer(), 'B', [&dataView](TCanvas& c, TColor bg) { dataView.Draw(c, bg); });
    // On one layer a limit's letter puts it below the axes and channels; limits start one layer
    // higher, so by default they mark the traces from above.
    const TPlotRect& view = dataView.GetDrawRect();
    for (int i = 0; i < LimitCount(); ++i) {
        const TPlotLimit* limit = GetLimit(i);
        layers.Add(limit->GetLayer(), 'C', [limit, &view](TCanvas& c, TColor) { limit->Draw(c, view); });
    }
    for (int i = 0; i < YAxisCount(); ++i) {
        TPlotYAxis* axis = GetYAxis(i);
        if (axis->GetCartesianStyle() != ipcsNone)
            layers.Add(axis->GetLayer(), 'D', [axis](TCanvas& c, TColor) { axis->Draw(c); });
    }
    for (int i = 0; i < XAxisCount(); ++i) {
        TPlotXAxis* axis = GetXAxis(i);
        if (axis->GetCartesianStyle() != ipcsNone)
            layers.Add(axis->GetLayer(), 'E', [axis](TCanvas& c, TColor) { axis->Draw(c); });
    }
    for (int i = 0; i < ChannelCount(); ++i) {
        TPlotChannelCustom* channel = GetChannel(i);
        if (channel->GetDrawReady())
            layers.Add(channel->GetLayer(), 'F', [channel](TCanvas& c, TColor bg) { channel->Draw(c, bg); });
    }

    // One pixel wider to the right and bottom: the data view's frame lines sit on its far edges.
    const TPlotRect clip{view.Left, view.Top, view.Right + 1, view.Bottom + 1};
    for (const TPlotLayerEntry& entry : layers.Entries()) {
        canvas.SetClipRect(clip);
        entry.Draw(canvas, GetBackGroundColor());
        canvas.RemoveClip();
    }
}

void TPlotComponent::DrawOutSideObjects(TCanvas& canvas) {
    canvas.SetBrush(TPlotBrush{GetBackGroundColor(), bsSolid});
    DrawBorder(canvas);
    for (int i = 0; i < XAxisCount(); ++i)
        if (GetXAxis(i)->GetCartesianStyle() == ipcsNone) GetXAxis(i)->Draw(canvas);
    for (int i = 0; i < YAxisCount(); ++i)
        if (GetYAxis(i)->GetCartesianStyle() == ipcsNone) GetYAxis(i)->Draw(canvas);
    for (int i = 0; i < LabelCount(); ++i) GetLabel(i)->Draw(canvas);
    for (int i = 0; i < ToolBarCount(); ++i) GetToolBar(i)->Draw(canvas, GetBackGroundColor());
}

void TPlotComponent::ReCalcLayout() {
    TPlotSurfaceFactory* surfaces = GetSurfaceFactory();
    if (surfaces == nullptr) return;
    CheckOwnerThread();
    std::unique_ptr<TPlotBitmap> scratch = surfaces->CreateBitmap(GetWidth(), GetHeight());
    iPaintTo(scratch->Canvas());
}

// ---- Gradient ------------------------------------------------------------------------------

void TPlotComponent::DrawGradientDirection(TCanvas& canvas, const TPlotRect& rect, TColor startColor,
                                           TColor stopColor, TFillDirection direction) {
    const TColor start = canvas.ResolveColor(startColor);
    const TColor stop = canvas.ResolveColor(stopColor);
    const int width = rect.Right - rect.Left;
    const int height = rect.Bottom - rect.Top;
    if (width <= 0 || height <= 0) return;
    auto colorAt = [&](int step, int steps) {
        return BlendColor(start, stop, steps > 1 ? static_cast<double>(step) / (steps - 1) : 0.0);
    };
    auto line = [&canvas](TColor color, TPlotPoint from, TPlotPoint to) {
        canvas.SetPen(TPlotPen{color, 0, psSolid});
        const TPlotPoint points[] = {from, to};
        canvas.Polyline(points, 2);
    };

    canvas.Save();
    canvas.SetClipRect(rect);
    switch (direction) {
        case ifdTopBottom:
        case ifdBottomTop:
            for (int i = 0; i < height; ++i) {
                const int y = direction == ifdTopBottom ? rect.Top + i : rect.Bottom - 1 - i;
                line(colorAt(i, height), {rect.Left, y}, {rect.Right, y});
            }
            break;
        case ifdLeftRight:
        case ifdRightLeft:
            for (int i = 0; i < width; ++i) {
                const int x = direction == ifdLeftRight ? rect.Left + i : rect.Right - 1 - i;
                line(colorAt(i, width), {x, rect.Top}, {x, rect.Bottom});
            }
            break;
        case ifdTopLeftBottomRight:
        case ifdBottomRightTopLeft: {
            // Each step is one anti-diagonal: the pixels whose x + y is the same.
            const int steps = width + height - 1;
            for (int i = 0; i < steps; ++i) {
                const int sum = direction == ifdTopLeftBottomRight ? i : steps - 1 - i;
                line(colorAt(i, steps), {rect.Left + sum, rect.Top}, {rect.Left + sum - height, rect.Top + height});
            }
            break;
        }
        case ifdRectangle:
        case ifdCircle: {
            // From the border inward, each step one pixel smaller on every side.
            const int steps = (std::min(width, height) + 1) / 2;
            canvas.SetBrush(TPlotBrush{start, bsSolid});
            canvas.FillRect(rect);
            for (int i = 0; i < steps; ++i) {
                const TColor color = colorAt(i, steps);
                const TPlotRect box{rect.Left + i, rect.Top + i, rect.Right - i, rect.Bottom - i};
                canvas.SetPen(TPlotPen{color, 0, psSolid});
                canvas.SetBrush(TPlotBrush{color, direction == ifdCircle ? bsSolid : bsClear});
                if (direction == ifdCircle)
                    canvas.Ellipse(box);
                else
                    canvas.Rectangle(box);
            }
            break;
        }
    }
    canvas.Restore();
}

}  // namespace ondrix
