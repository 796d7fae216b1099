#pragma once
// The fixture of the trace drawing tests: the TPlot's own channel and axes drawn into a 420 x 220
// picture. X 0..40 runs across pixels 10..410 (10 pixels per unit), Y 0..100 from pixel 210 up
// to 10 (2 pixels per unit); tracking is off so the axes stay where the test puts them.

#include <gtest/gtest.h>

#include <QImage>

#include "plot/axes/PlotAxis.h"
#include "plot/component/Plot.h"
#include "plot/qt/QtCanvas.h"

namespace ondrix::test {

constexpr int kWidth = 420;
constexpr int kHeight = 220;
constexpr QRgb kPaper = 0xFFFFFFFF;

inline QImage Blank() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(kPaper);
    return image;
}

inline int Differences(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

// A blank image with a canvas on it. Not movable: the canvas holds the image.
struct Picture {
    Picture() = default;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    QImage image = Blank();
    QtCanvas canvas{image};
};

struct TraceRig : ::testing::Test {
    TPlot plot;
    TPlotChannel& channel = *plot.GetChannel(0);
    TPlotXAxis& xAxis = *plot.GetXAxis(0);
    TPlotYAxis& yAxis = *plot.GetYAxis(0);
    Picture drawn;

    void SetUp() override {
        Prepare(channel);
        Scale(0, 40, 0, 100);
    }
    // Black, thinnest pen, axes left alone.
    static void Prepare(TPlotChannel& c) {
        c.SetXAxisTrackingEnabled(false);
        c.SetYAxisTrackingEnabled(false);
        c.SetColor(clBlack);
        c.SetTraceLineWidth(0);
    }
    // New ranges on the same pixels.
    void Scale(double xMin, double xSpan, double yMin, double ySpan) {
        xAxis.SetMinSpan(xMin, xSpan);
        yAxis.SetMinSpan(yMin, ySpan);
        xAxis.SetDrawRect(TPlotRect{10, 100, 410, 100});
        xAxis.CalcScaleRect(TPlotAxisLabelMetrics{});
        yAxis.SetDrawRect(TPlotRect{200, 10, 200, 210});
        yAxis.CalcScaleRect(TPlotAxisLabelMetrics{});
    }
    void Paint(TPlotChannel& c) {
        c.DrawSetup(drawn.canvas);
        c.Draw(drawn.canvas, clWhite);
    }
    void Paint() { Paint(channel); }
    TPlotPoint P(double x, double y) const { return {xAxis.PositionToPixels(x), yAxis.PositionToPixels(y)}; }
};

}  // namespace ondrix::test
