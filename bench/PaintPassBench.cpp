// One full paint pass of the scope's plot: a fresh 1024 x 560 bitmap and iPaintTo into it
// (ticks, layout twice, background, grid, four traces, axes), with the four channels' 1.5 M
// point rings full of the virtual MPU's sine, triangle, square and noise.
//
// Goals on the 2-core development machine (medians):
//   BM_PaintPass/scope_50k   at most 2 ms: the newest 50,000 points of each channel in view,
//                            the X axis where its scrolling put it
//   BM_PaintPass/scope_all   at most 5 ms: after zoom-to-fit on X, all 4 x 1,500,000 points
//                            in view, the channels' min-max summaries built by the check pass
//                            before the timing, as by the first paint after the zoom
//   BM_PaintPass/scope_all_every_point
//                            no goal: the baseline of the same run. The same view with the
//                            channels' MinMaxSummaryEnabled off, so the trace reads every point
//   BM_PaintPass/naive_50k   no goal: the baseline of the same run. The same 4 x 50,000 visible
//                            points, one QPainter::drawLine per segment, same pixel mapping and
//                            clip, no antialiasing; traces only, so its counter naive_over_scope
//                            (its time over scope_50k's) understates what the min-max drawing
//                            saves.
//   BM_Input/drag_step, BM_Input/wheel_step
//                            at most 5 us: one input event on the data view with every point
//                            in view, painting aside; no input handler reads the data.
// Before the timing, each channel painted alone must leave pixels of its colour and the
// channels must hold the points the view promises, so a pass that draws nothing cannot meet
// its goal.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <array>
#include <cstdint>

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannelCustom.h"
#include "plot/component/Plot.h"
#include "plot/qt/QtCanvas.h"
#include "plot/views/PlotDataView.h"
#include "tools/mpu-sim/MemoryMap.h"
#include "workbench/ScopePlotConfiguration.h"

namespace ondrix {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 560;
constexpr int kChannels = 4;
constexpr int kScrollSpan = 50000;
// More samples than a ring holds, so the rings have wrapped, as after minutes of acquisition.
constexpr long kSamples = kScopeRingBufferSize + 123457;

constexpr std::array<uint32_t, kChannels> kWaveforms = {mpusim::kSineAddress, mpusim::kTriangleAddress,
                                                        mpusim::kSquareAddress, mpusim::kNoiseAddress};

// The scope's plot after acquiring kSamples samples per channel, X = sample number. Built once
// for the whole run, outside every timing: filling the rings takes seconds.
class ScopeFixture {
public:
    static ScopeFixture& Instance() {
        static ScopeFixture fixture;
        return fixture;
    }

    TPlot& Plot() { return plot_; }
    TPlotXAxis& XAxis() { return *plot_.GetXAxis(0); }

    // Where the X axis scrolled to with the data: the newest kScrollSpan samples.
    void ShowNewest() { XAxis().SetMinSpan(scrolledMin_, scrolledSpan_); }
    void ShowAll() { XAxis().ZoomToFit(); }

    // The visible points of every channel, as the last paint pass found them.
    long PointsInView() {
        long points = 0;
        for (int c = 0; c < kChannels; ++c) {
            const TPlotChannelCustom& channel = *plot_.GetChannel(c);
            points += channel.GetDrawStopIndex() - channel.GetDrawStartIndex() + 1;
        }
        return points;
    }

private:
    ScopeFixture() {
        ConfigureScopePlot(plot_);
        plot_.SetBounds(kWidth, kHeight);
        mpusim::MemoryMap memory;
        for (long k = 0; k < kSamples; ++k) {
            memory.Update(static_cast<uint64_t>(k));
            for (int c = 0; c < kChannels; ++c) {
                const auto sample = static_cast<int16_t>(memory.ReadWord(kWaveforms[c]));
                plot_.GetChannel(c)->AddXY(static_cast<double>(k), sample);
            }
        }
        scrolledMin_ = XAxis().GetMin();
        scrolledSpan_ = XAxis().GetSpan();
    }

    TPlot plot_;
    double scrolledMin_ = 0;
    double scrolledSpan_ = 0;
};

bool HasColour(const QImage& image, TColor colour) {
    const QRgb rgb = ToQColor(colour).rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == rgb) return true;
    return false;
}

// Each channel alone must leave its colour: with everything in view, channel 0's sine covers
// every column the others reach, so the full picture is all red.
bool EveryTraceIsDrawn(TPlot& plot) {
    QtBitmap bitmap(kWidth, kHeight);
    bool drawn = true;
    for (int shown = 0; shown < kChannels && drawn; ++shown) {
        for (int c = 0; c < kChannels; ++c) plot.GetChannel(c)->SetVisible(c == shown);
        plot.iPaintTo(bitmap.Canvas());
        drawn = HasColour(bitmap.Image(), plot.GetChannel(shown)->GetColor());
    }
    for (int c = 0; c < kChannels; ++c) plot.GetChannel(c)->SetVisible(true);
    return drawn;
}

// Each run sets the channels' summaries its own way, whatever the run before left.
void SetSummaries(TPlot& plot, bool enabled) {
    for (int c = 0; c < kChannels; ++c) plot.GetChannel(c)->SetMinMaxSummaryEnabled(enabled);
}

// The view is set and checked outside the timing. Each pass paints into a bitmap of its own,
// as the screen paint does: a canvas carries nothing over from the pass before.
void RunPaintPass(benchmark::State& state, void (ScopeFixture::*view)(), long expectedPoints, bool summaries = true) {
    ScopeFixture& scope = ScopeFixture::Instance();
    (scope.*view)();
    SetSummaries(scope.Plot(), summaries);
    if (!EveryTraceIsDrawn(scope.Plot())) {
        state.SkipWithError("a channel's trace is missing from the picture");
        return;
    }
    QtBitmap all(kWidth, kHeight);
    scope.Plot().iPaintTo(all.Canvas());
    if (scope.PointsInView() != expectedPoints) {
        state.SkipWithError("the view does not hold the expected points");
        return;
    }
    for (auto _ : state) {
        QtBitmap bitmap(kWidth, kHeight);
        scope.Plot().iPaintTo(bitmap.Canvas());
        benchmark::DoNotOptimize(bitmap.Image().constBits());
    }
    state.counters["points"] = static_cast<double>(expectedPoints);
}

void BM_PaintPassScope50k(benchmark::State& state) {
    // The scrolled axis ends on the newest sample; the oldest in view sits on its Min.
    RunPaintPass(state, &ScopeFixture::ShowNewest, kChannels * (kScrollSpan + 1));
}

void BM_PaintPassScopeAll(benchmark::State& state) {
    RunPaintPass(state, &ScopeFixture::ShowAll, static_cast<long>(kChannels) * kScopeRingBufferSize);
}

void BM_PaintPassScopeAllEveryPoint(benchmark::State& state) {
    RunPaintPass(state, &ScopeFixture::ShowAll, static_cast<long>(kChannels) * kScopeRingBufferSize, false);
}

// Every segment of the visible points on its own, through the axes the pass just laid out.
void DrawNaiveTraces(QImage& image, TPlot& plot) {
    QPainter painter(&image);
    painter.fillRect(image.rect(), Qt::black);
    const TPlotRect view = plot.GetDataView(0)->GetDrawRect();
    painter.setClipRect(QRect(QPoint(view.Left, view.Top), QPoint(view.Right, view.Bottom)));
    // Channel 0 last, on top, as in the pass.
    for (int c = kChannels - 1; c >= 0; --c) {
        TPlotChannelCustom& channel = *plot.GetChannel(c);
        const TPlotXAxis& xAxis = *channel.GetXAxis();
        const TPlotYAxis& yAxis = *channel.GetYAxis();
        painter.setPen(QPen(ToQColor(channel.GetColor()), 0));
        QPoint previous;
        bool havePrevious = false;
        for (int i = channel.GetDrawStartIndex(); i <= channel.GetDrawStopIndex(); ++i) {
            double x, y;
            bool empty, null;
            channel.GetXYEmptyNull(i, x, y, empty, null);
            if (empty || null) continue;
            const QPoint point(xAxis.PositionToPixels(x), yAxis.PositionToPixels(y));
            if (havePrevious) painter.drawLine(previous, point);
            previous = point;
            havePrevious = true;
        }
    }
}

void BM_PaintPassNaive50k(benchmark::State& state) {
    ScopeFixture& scope = ScopeFixture::Instance();
    scope.ShowNewest();
    // A pass lays the axes out.
    QtBitmap layout(kWidth, kHeight);
    scope.Plot().iPaintTo(layout.Canvas());
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    DrawNaiveTraces(image, scope.Plot());
    bool everyColour = true;
    for (int c = 0; c < kChannels; ++c) everyColour &= HasColour(image, scope.Plot().GetChannel(c)->GetColor());
    if (!everyColour) {
        state.SkipWithError("a channel's trace is missing from the picture");
        return;
    }
    for (auto _ : state) {
        DrawNaiveTraces(image, scope.Plot());
        benchmark::ClobberMemory();
    }
}

// What one input event costs the plot before any painting: a step of a drag on the data view,
// or a turn of the wheel over it, with every point in view. The axes handle either in a few
// steps whatever the data; the repaint it asks for is the host's, and no paint runs here.
void RunInputEvent(benchmark::State& state, bool wheel) {
    ScopeFixture& scope = ScopeFixture::Instance();
    TPlot& plot = scope.Plot();
    scope.ShowAll();
    QtBitmap layout(kWidth, kHeight);
    plot.iPaintTo(layout.Canvas());
    const TPlotRect view = plot.GetDataView(0)->GetDrawRect();
    const int x = (view.Left + view.Right) / 2;
    const int y = (view.Top + view.Bottom) / 2;
    // Steps back and forth, so the view stays where it is however many the run takes.
    const auto event = [&](int step) {
        if (wheel)
            plot.iMouseWheel(step != 0 ? 120 : -120, 0, x, y);
        else
            plot.iMouseMove(ssLeft, x + 5 * step, y + 5 * step);
    };
    plot.iMouseDown(mbLeft, ssLeft, x, y);
    int step = 0;
    for (auto _ : state) {
        step = 1 - step;
        event(step);
    }
    const double min = scope.XAxis().GetMin();
    event(1 - step);
    const bool moved = scope.XAxis().GetMin() != min;
    plot.iMouseUp(mbLeft, 0, x, y);
    if (!moved) state.SkipWithError("the X axis did not move");
}

void BM_InputDragStep(benchmark::State& state) { RunInputEvent(state, false); }
void BM_InputWheelStep(benchmark::State& state) { RunInputEvent(state, true); }

BENCHMARK(BM_PaintPassScope50k)->Name("BM_PaintPass/scope_50k")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintPassScopeAll)->Name("BM_PaintPass/scope_all")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintPassScopeAllEveryPoint)->Name("BM_PaintPass/scope_all_every_point")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintPassNaive50k)->Name("BM_PaintPass/naive_50k")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InputDragStep)->Name("BM_Input/drag_step")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InputWheelStep)->Name("BM_Input/wheel_step")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ondrix
