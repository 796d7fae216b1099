// The scope's channel paths on full 1.5 M point rings.
//
// Goals on the 2-core development machine:
//   BM_ChannelAddXY/ring1500000  at least 10 million points per second: AddXY into a full ring
//                                with X (scrolling) and Y (scale min-max) tracking on real axes
//                                and the repaint request hook set, as while acquiring, after one
//                                paint with the whole ring in view, so that every AddXY also
//                                keeps the list's min-max summary up to date
//   BM_VisibleRange              CalcStartXIndex + CalcStopXIndex under a microsecond, also
//                                for a window far from the last one (cold cache)
// The memory counter of BM_ChannelAddXY is the four scope channels' GetMemoryUsed: exactly
// 4 x 36,000,000 bytes.

#include <benchmark/benchmark.h>

#include "plot/axes/PlotAxis.h"
#include "plot/component/Plot.h"
#include "plot/qt/QtCanvas.h"

namespace ondrix {
namespace {

constexpr int kRing = 1500000;

// The scope's plot: four channels on 1.5 M point rings, one scrolling X axis with a span of
// 50000 samples, Y axes that widen; axes scaled as a 1024 x 660 window would scale them.
struct ScopePlot {
    TPlot plot;
    long repaints = 0;

    ScopePlot() {
        plot.OnRepaintRequest = [this] { ++repaints; };
        // As the window host does: refused repaints schedule one trailing repaint (never fired
        // here), so the appends see the throttle's steady state.
        plot.GetRepaintThrottle().SetScheduler([](int64_t, std::function<void()>) {});
        while (plot.ChannelCount() < 4) plot.AddChannel();
        TPlotXAxis& x = *plot.GetXAxis(0);
        x.SetMinSpan(0, 50000);
        x.SetDrawRect({40, 620, 1000, 640});
        x.CalcScaleRect(TPlotAxisLabelMetrics{});
        TPlotYAxis& y = *plot.GetYAxis(0);
        y.SetMinSpan(-40000, 80000);
        y.SetDrawRect({20, 10, 40, 620});
        y.CalcScaleRect(TPlotAxisLabelMetrics{});
        for (int i = 0; i < 4; ++i) plot.GetChannel(i)->SetRingBufferSize(kRing);
    }
    TPlotChannel& Channel(int i) const { return *plot.GetChannel(i); }
    long MemoryUsed() const {
        long bytes = 0;
        for (int i = 0; i < 4; ++i) bytes += Channel(i).GetMemoryUsed();
        return bytes;
    }
    // The channel drawn once with all its points in view, as after a zoom-to-fit while
    // acquiring: the drawing builds the list's min-max summary, which every later Add keeps.
    void PaintAllPoints(TPlotChannel& channel) {
        TPlotXAxis& x = *plot.GetXAxis(0);
        const double min = x.GetMin(), span = x.GetSpan();
        x.SetMinSpan(channel.GetDataX(0), channel.GetDataX(channel.GetCount() - 1) - channel.GetDataX(0));
        QtBitmap bitmap(1024, 660);
        channel.DrawSetup(bitmap.Canvas());
        channel.Draw(bitmap.Canvas(), clBlack);
        x.SetMinSpan(min, span);
    }
};

// A sample value as the MPU sends them: 16-bit, inside the Y axis's range.
double Sample(long x) { return static_cast<double>((x * 7919) % 65536 - 32768); }

void BM_ChannelAddXY(benchmark::State& state) {
    ScopePlot scope;
    TPlotChannel& channel = scope.Channel(0);
    long x = 0;
    for (; x < kRing; ++x) channel.AddXY(static_cast<double>(x), Sample(x));
    scope.PaintAllPoints(channel);
    for (auto _ : state) {
        benchmark::DoNotOptimize(channel.AddXY(static_cast<double>(x), Sample(x)));
        ++x;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["memory_bytes_4ch"] = static_cast<double>(scope.MemoryUsed());
    const bool repaintAsked = scope.repaints > 0 || scope.plot.GetRepaintThrottle().GetInvalidatePending();
    if (!repaintAsked || scope.plot.GetXAxis(0)->GetMax() != static_cast<double>(x - 1))
        state.SkipWithError("the X axis did not follow the data");
}

// Timed with the axis move that precedes each search (SetMinSpan and its change reports), so
// the figure is an upper bound. The point count is the argument: the time grows with its
// logarithm.
void BM_VisibleRange(benchmark::State& state) {
    const long points = state.range(0);
    ScopePlot scope;
    TPlotChannel& channel = scope.Channel(0);
    channel.SetXAxisTrackingEnabled(false);
    for (long x = 0; x < points; ++x) channel.AddXY(static_cast<double>(x), Sample(x));
    TPlotXAxis& axis = *scope.plot.GetXAxis(0);
    const long window = points / 30;
    // A different window each time, as when scrolling through the ring: the search paths part
    // after the first probes, so most probes are not in the cache from the last call.
    long step = 0;
    for (auto _ : state) {
        axis.SetMinSpan(static_cast<double>((step++ * 104729) % (points - window)) + 0.5, static_cast<double>(window));
        channel.CalcStartXIndex();
        channel.CalcStopXIndex();
        benchmark::DoNotOptimize(channel.GetDrawStartIndex());
        benchmark::DoNotOptimize(channel.GetDrawStopIndex());
    }
    if (channel.GetDrawStopIndex() - channel.GetDrawStartIndex() != window + 1) state.SkipWithError("wrong visible range");
}

// The paint pass of a view that stands still or scrolls by a few points per frame: the probes
// of the last search are still in the cache.
void BM_VisibleRangeSteady(benchmark::State& state) {
    ScopePlot scope;
    TPlotChannel& channel = scope.Channel(0);
    channel.SetXAxisTrackingEnabled(false);
    for (long x = 0; x < kRing; ++x) channel.AddXY(static_cast<double>(x), Sample(x));
    scope.plot.GetXAxis(0)->SetMinSpan(kRing - 50000 + 0.5, 50000);
    for (auto _ : state) {
        channel.CalcStartXIndex();
        channel.CalcStopXIndex();
        benchmark::DoNotOptimize(channel.GetDrawStartIndex());
        benchmark::DoNotOptimize(channel.GetDrawStopIndex());
    }
}

BENCHMARK(BM_ChannelAddXY)->Name("BM_ChannelAddXY/ring1500000");
BENCHMARK(BM_VisibleRange)->Arg(1500)->Arg(150000)->Arg(kRing);
BENCHMARK(BM_VisibleRangeSteady)->Name("BM_VisibleRange/steady/1500000");

}  // namespace
}  // namespace ondrix
