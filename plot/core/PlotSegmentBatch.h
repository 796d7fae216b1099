#pragma once
// Finished trace segments on their way to the canvas. A dense trace issues a few segments per
// pixel column; handing them over a batch at a time costs one canvas call per batch instead of
// one per segment. The buffer is kept between paints, so a trace allocates nothing once warm.
//
// The pen in force when a batch is handed over draws all of it: whoever changes the pen
// between segments flushes first.

#include <cstddef>
#include <vector>

#include "plot/core/PlotCanvas.h"

namespace ondrix {

class TPlotSegmentBatch {
public:
    static constexpr size_t kSegmentsPerCall = 512;

    // Starts collecting for the canvas, dropping whatever an interrupted paint left behind.
    void Begin(TCanvas& canvas) {
        canvas_ = &canvas;
        pairs_.clear();
        pairs_.reserve(2 * kSegmentsPerCall);
    }
    void Add(TPlotPoint from, TPlotPoint to) {
        pairs_.push_back(from);
        pairs_.push_back(to);
        if (pairs_.size() >= 2 * kSegmentsPerCall) Flush();
    }
    void Flush() {
        if (pairs_.empty() || canvas_ == nullptr) return;
        canvas_->Lines(pairs_.data(), pairs_.size());
        pairs_.clear();
    }

private:
    TCanvas* canvas_ = nullptr;
    std::vector<TPlotPoint> pairs_;
};

}  // namespace ondrix
