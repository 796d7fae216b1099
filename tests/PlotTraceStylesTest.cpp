// The channel's trace styles beyond straight lines (steps, digital levels, interpolated curves),
// its fill, bars and price symbols, the order they paint in, and the mouse over a channel.

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "PixelProbe.h"
#include "TraceRig.h"
#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotValueArea.h"
#include "plot/component/Plot.h"
#include "plot/core/PlotInterpolation.h"
#include "plot/qt/QtCanvas.h"

using namespace ondrix;
using namespace ondrix::test;

namespace {

QRgb Rgb(TColor color) { return ToQColor(color).rgb(); }

struct Segment {
    double x1, y1, x2, y2;
};

struct PlotTraceStyles : TraceRig {
    // A further channel of the given class on the same axes.
    template <class Channel>
    Channel& AddChannelOf() {
        plot.SetChannelClass(&CreateChannel<Channel>);
        auto& added = dynamic_cast<Channel&>(*plot.GetChannel(plot.AddChannel()));
        added.SetXAxisName(xAxis.GetName());
        added.SetYAxisName(yAxis.GetName());
        Prepare(added);
        return added;
    }
    void Repaint() {
        drawn.image.fill(kPaper);
        Paint();
    }
    QRgb At(double x, double y) const { return drawn.image.pixel(P(x, y).X, P(x, y).Y); }
    bool InkNear(TPlotPoint point) const {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (drawn.image.pixel(point.X + dx, point.Y + dy) != kPaper) return true;
        return false;
    }

    // The picture a correct drawing of these segments gives.
    QImage Lines(const std::vector<Segment>& segments) const {
        Picture expected;
        expected.canvas.SetPen(TPlotPen{clBlack, 0, psSolid});
        for (const Segment& s : segments) expected.canvas.Line(P(s.x1, s.y1), P(s.x2, s.y2));
        return expected.image.copy();
    }
};

// A channel that has no draw range, as one whose X axis range holds no index.
class RangelessChannel : public TPlotChannel {
public:
    using TPlotChannel::TPlotChannel;
    void CalcStartXIndex() override { SetDrawStartIndex(-1); }
};

// A channel whose drawing fails at one layer, as a broken data list would, with the plot's own
// error or with any other exception.
class FailingChannel : public TPlotChannel {
public:
    using TPlotChannel::TPlotChannel;
    enum class Layer { Trace, Markers };
    Layer failingLayer = Layer::Trace;
    bool plotError = true;

    void DrawConnectPoints(TCanvas& canvas, bool reversed) override {
        if (failingLayer == Layer::Trace) Fail();
        TPlotChannel::DrawConnectPoints(canvas, reversed);
    }
    void DrawMarkers(TCanvas& canvas, bool reversed) override {
        if (failingLayer == Layer::Markers) Fail();
        TPlotChannel::DrawMarkers(canvas, reversed);
    }

private:
    void Fail() const {
        if (plotError) throw EPlotError("Index out of Bounds");
        throw std::length_error("too long");
    }
};

}  // namespace

// ---- Numerical methods -----------------------------------------------------------------------

TEST(PlotInterpolation, EveryMethodPassesThroughItsSamples) {
    const std::vector<std::vector<double>> xs = {{0, 1}, {0, 1, 3}, {-2, 0.5, 1, 4, 7}, {0, 10, 20, 30, 40}};
    const std::vector<std::vector<double>> ys = {{3, -1}, {1, 5, 2}, {0, 2, -3, 8, 1}, {50, 80, 30, 60, 50}};
    for (size_t k = 0; k < xs.size(); ++k) {
        const std::vector<double>& x = xs[k];
        const std::vector<double>& y = ys[k];
        const std::vector<double> d2 = SplineSecondDerivatives(x, y);
        for (size_t i = 0; i < x.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "set " << k << ", sample " << i);
            EXPECT_NEAR(SplineValue(x, y, d2, x[i]), y[i], 1e-12);
            const std::optional<double> polynomial = PolynomialValue(x.data(), y.data(), x.size(), x[i]);
            const std::optional<double> rational = RationalValue(x.data(), y.data(), x.size(), x[i]);
            ASSERT_TRUE(polynomial && rational);
            EXPECT_NEAR(*polynomial, y[i], 1e-9);
            EXPECT_EQ(*rational, y[i]);
        }
    }
}

TEST(PlotInterpolation, EachMethodReproducesTheFunctionsItIsExactFor) {
    const auto cubic = [](double x) { return 2 * x * x * x - x + 4; };
    const std::vector<double> x = {0, 1, 2, 3};
    const std::vector<double> xWide = {-1, 0, 0.5, 2, 2.5, 4, 7, 7.5};
    std::vector<double> yCubic, yCube, yWide;
    for (double v : x) {
        yCubic.push_back(cubic(v));
        yCube.push_back(v * v * v);
    }
    for (double v : xWide) yWide.push_back(cubic(v));
    struct Case {
        const char* what;
        std::optional<double> value;
        double expected;
    } cases[] = {
        {"polynomial: a cubic through 4 samples", PolynomialValue(x.data(), yCubic.data(), 4, 1.5), cubic(1.5)},
        {"polynomial: beyond the samples", PolynomialValue(x.data(), yCubic.data(), 4, -0.7), cubic(-0.7)},
        // Blending cubics, the rational function reproduces any cubic, however many samples.
        {"rational: a cubic through 8 samples", RationalValue(xWide.data(), yWide.data(), 8, 2.3), cubic(2.3)},
        {"rational: blending all samples is the polynomial", RationalValue(x.data(), yCube.data(), 4, 0.4, 3),
         0.4 * 0.4 * 0.4},
        // With both end slopes given, the spline reproduces any cubic.
        {"clamped spline: x^3 with slopes 0 and 27",
         SplineValue(x, yCube, SplineSecondDerivatives(x, yCube, 0, 27), 1.5), 3.375},
        // (0,0), (1,1), (2,0), free ends: the middle second derivative is -3.
        {"natural spline: a hump", SplineValue({0, 1, 2}, {0, 1, 0}, SplineSecondDerivatives({0, 1, 2}, {0, 1, 0}), 0.5),
         0.6875},
        {"natural spline: a line stays a line",
         SplineValue({0, 1, 5}, {1, 3, 11}, SplineSecondDerivatives({0, 1, 5}, {1, 3, 11}), 3.3), 7.6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.value.has_value());
        EXPECT_NEAR(*c.value, c.expected, 1e-12);
    }
    EXPECT_EQ(SplineSecondDerivatives({0, 1, 2}, {0, 1, 0}), (std::vector<double>{0, -3, 0}));
}

TEST(PlotInterpolation, TheRationalFunctionHasNoPoleBetweenItsSamples) {
    // Samples of 1 / (x - 0.5) and a zigzag: rational functions of low degree through them
    // would have poles between the samples, where the values grow without bound.
    const std::vector<std::vector<double>> ys = {{-2, 2, 2.0 / 3, 0.4, 2.0 / 7}, {0, 100, -100, 100, 0}};
    const double x[] = {0, 1, 2, 3, 4};
    for (const std::vector<double>& y : ys) {
        const double largest = std::fabs(*std::max_element(y.begin(), y.end(), [](double a, double b) {
            return std::fabs(a) < std::fabs(b);
        }));
        for (int blend : {0, 1, 3}) {
            for (double at = 0; at <= 4; at += 1.0 / 64) {
                const std::optional<double> value = RationalValue(x, y.data(), 5, at, blend);
                ASSERT_TRUE(value) << "blend " << blend << " at " << at;
                ASSERT_LE(std::fabs(*value), 4 * largest) << "blend " << blend << " at " << at;
            }
        }
    }
}

TEST(PlotInterpolation, SamplesSharingAnXGiveNoValue) {
    const double x[] = {0, 1, 1};
    const double y[] = {0, 1, 2};
    EXPECT_FALSE(PolynomialValue(x, y, 3, 0.5));
    EXPECT_FALSE(RationalValue(x, y, 3, 0.5));
    EXPECT_FALSE(PolynomialValue(x, y, 0, 0.5)) << "no samples";
}

TEST(PlotValueArea, PolygonsAreCutToTheBox) {
    using Polygon = std::vector<TPlotValuePoint>;
    struct Case {
        const char* what;
        Polygon polygon, expected;
    } cases[] = {
        {"inside stays as it is", {{1, 1}, {1, 5}, {5, 5}}, {{1, 1}, {1, 5}, {5, 5}}},
        {"wholly left of the box", {{-5, 1}, {-5, 5}, {-1, 5}}, {}},
        {"a box over the right edge", {{8, 2}, {8, 4}, {12, 4}, {12, 2}}, {{10, 2}, {8, 2}, {8, 4}, {10, 4}}},
        {"a triangle over the top edge", {{2, 0}, {4, 20}, {6, 0}}, {{2, 0}, {3, 10}, {5, 10}, {6, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ClipPolygonToBox(c.polygon, 0, 10, 0, 10), c.expected);
    }
}

// ---- Steps -----------------------------------------------------------------------------------

TEST_F(PlotTraceStyles, StepsHoldEachValueThenRiseAndBreakAtNull) {
    struct Case {
        const char* what;
        TPlotInterpolationStyle style;
        bool null;
        std::vector<Segment> expected;
    } cases[] = {
        {"differential runs on to X max", ipistDifferential, false,
         {{5, 20, 15, 20}, {15, 20, 15, 60}, {15, 60, 25, 60}, {25, 60, 25, 40}, {25, 40, 40, 40}}},
        {"terminated ends at the last point", ipistDifferentialTerminated, false,
         {{5, 20, 15, 20}, {15, 20, 15, 60}, {15, 60, 25, 60}, {25, 60, 25, 40}}},
        {"a Null point ends the hold at its X", ipistDifferential, true,
         {{5, 20, 15, 20}, {15, 20, 15, 60}, {15, 60, 20, 60}, {25, 40, 40, 40}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        channel.Clear();
        channel.SetInterpolationStyle(c.style);
        channel.AddXY(5, 20);
        channel.AddXY(15, 60);
        if (c.null) channel.AddXNull(20);
        channel.AddXEmpty(22);
        channel.AddXY(25, 40);
        Repaint();
        EXPECT_EQ(Differences(drawn.image, Lines(c.expected)), 0);
    }
}

TEST_F(PlotTraceStyles, WithoutADrawRangeStepsUseOnlyTheNewestValidPoint) {
    auto& rangeless = AddChannelOf<RangelessChannel>();
    rangeless.AddXY(5, 20);
    rangeless.AddXY(15, 60);
    rangeless.AddXNull(30);
    for (TPlotInterpolationStyle style : {ipistDifferential, ipistDifferentialTerminated}) {
        SCOPED_TRACE(style == ipistDifferential ? "differential" : "terminated");
        rangeless.SetInterpolationStyle(style);
        drawn.image.fill(kPaper);
        Paint(rangeless);
        ASSERT_TRUE(rangeless.GetDrawReady());
        const std::vector<Segment> expected =
            style == ipistDifferential ? std::vector<Segment>{{15, 60, 40, 60}} : std::vector<Segment>{};
        EXPECT_EQ(Differences(drawn.image, Lines(expected)), 0);
    }
}

// ---- Digital levels --------------------------------------------------------------------------

TEST_F(PlotTraceStyles, DigitalRunsLieOnTheLevelsAndEndAtTheChangeOrANullPoint) {
    channel.SetDigitalEnabled(true);
    channel.SetDigitalReferenceHigh(90);
    channel.SetDigitalReferenceLow(10);
    channel.AddXY(2, 0);
    channel.AddXY(6, 1);
    channel.AddXEmpty(8);
    channel.AddXY(10, -3);  // any value but 0 is high
    channel.AddXY(14, 0);
    channel.AddXNull(18);
    channel.AddXY(22, 1);
    channel.AddXY(30, 1);
    Paint();
    EXPECT_EQ(Differences(drawn.image, Lines({{2, 10, 6, 10}, {6, 90, 14, 90}, {14, 10, 18, 10}, {22, 90, 30, 90}})),
              0);

    channel.Clear();
    channel.AddXY(20, 1);
    Repaint();
    EXPECT_EQ(test::InkCount(drawn.image, kPaper), 0) << "a single point draws no run";
}

// ---- Interpolated curves ---------------------------------------------------------------------

TEST_F(PlotTraceStyles, ASplineOfPointsOnALineDrawsThatLineAndFillsThePixelList) {
    channel.SetInterpolationStyle(ipistCubicSpline);
    for (double x = 0; x <= 40; x += 10) channel.AddXY(x, 10 + 2 * x);
    Paint();
    for (int column = 10; column < 410; ++column) {
        SCOPED_TRACE(testing::Message() << "column " << column);
        const double x = (column - 10) / 10.0;
        const int lineY = yAxis.PositionToPixels(10 + 2 * x);
        int inked = 0;
        for (int y = 0; y < kHeight; ++y) {
            if (drawn.image.pixel(column, y) == kPaper) continue;
            ++inked;
            EXPECT_LE(std::abs(y - lineY), 1);
        }
        EXPECT_GE(inked, 1);
        const TPlotPixelPoint& entry = channel.GetPixelList()[static_cast<size_t>(column - 10)];
        ASSERT_FALSE(entry.Empty);
        EXPECT_NEAR(entry.Y, 10 + 2 * x, 1e-9);
    }
}

TEST_F(PlotTraceStyles, EachInterpolatedStylePassesThroughThePointsAndStopsAtNull) {
    struct Point {
        double x, y;
    };
    const Point before[] = {{0, 50}, {10, 80}, {20, 30}};
    const Point after[] = {{30, 60}, {35, 20}, {40, 50}};
    for (TPlotInterpolationStyle style : {ipistCubicSpline, ipistPolynomial, ipistRational}) {
        SCOPED_TRACE(testing::Message() << "style " << int(style));
        channel.Clear();
        channel.SetInterpolationStyle(style);
        for (const Point& p : before) channel.AddXY(p.x, p.y);
        channel.AddXNull(25);
        for (const Point& p : after) channel.AddXY(p.x, p.y);
        Repaint();
        const std::vector<TPlotPixelPoint>& pixels = channel.GetPixelList();
        for (const Point* run : {before, after}) {
            for (int i = 0; i < 3; ++i) {
                const TPlotPixelPoint& entry = pixels[static_cast<size_t>(P(run[i].x, 0).X - 10)];
                ASSERT_FALSE(entry.Empty) << "X " << run[i].x;
                EXPECT_NEAR(entry.Y, run[i].y, 1e-9) << "X " << run[i].x;
                // A line leaves its end pixel unset, so the last point's ink lies a column before.
                EXPECT_TRUE(InkNear(P(run[i].x, run[i].y))) << "X " << run[i].x;
            }
        }
        for (int column = P(20, 0).X + 1; column < P(30, 0).X; ++column) {
            EXPECT_TRUE(pixels[static_cast<size_t>(column - 10)].Empty) << "column " << column;
            for (int y = 0; y < kHeight; ++y) ASSERT_EQ(drawn.image.pixel(column, y), kPaper) << "column " << column;
        }
    }
}

// ---- Fill, bars and price symbols ------------------------------------------------------------

// Each case adds the next layer to those of the cases before, so the probe shows the topmost.
TEST_F(PlotTraceStyles, EachLayerPaintsOverTheOnesBefore) {
    channel.SetDataStyle(ipdsFullFeature);
    struct Case {
        const char* what;
        void (*addLayer)(TPlotChannel&);
        TColor expected;
    } cases[] = {
        {"trace over fill",
         [](TPlotChannel& c) {
             c.SetFillEnabled(true);
             c.SetFillUseChannelColor(false);
             c.SetFillColor(clSilver);
         },
         clBlack},
        {"trace over bars",
         [](TPlotChannel& c) {
             c.SetBarEnabled(true);
             c.SetBarWidth(4);
             c.SetBarPenUseChannelColor(false);
             c.SetBarPenColor(clSilver);
             c.SetBarBrushUseChannelColor(false);
             c.SetBarBrushColor(clSilver);
         },
         clBlack},
        {"markers over trace",
         [](TPlotChannel& c) {
             c.SetMarkersVisible(true);
             c.SetMarkersStyle(ipmsSquare);
             c.SetMarkersPenUseChannelColor(false);
             c.SetMarkersPenColor(clRed);
             c.SetMarkersBrushUseChannelColor(false);
             c.SetMarkersBrushColor(clRed);
         },
         clRed},
        {"high-low over markers",
         [](TPlotChannel& c) {
             c.SetHighLowEnabled(true);
             c.SetHighLowBarWidth(1);
         },
         clAqua},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.addLayer(channel);
        // Full-feature points copy the channel's bar values when they are added.
        channel.Clear();
        for (double x : {0.0, 20.0, 40.0}) {
            channel.AddHighLow(x, 80, 20, 40, 60);
            channel.SetDataY(channel.GetCount() - 1, 50);
        }
        Repaint();
        EXPECT_EQ(At(20, 50), Rgb(c.expected));
    }
}

TEST_F(PlotTraceStyles, FillFollowsTheTraceStyleDownToTheReference) {
    channel.SetFillEnabled(true);
    channel.SetFillUseChannelColor(false);
    channel.SetFillColor(clSilver);
    channel.SetFillReference(10);
    channel.SetTraceVisible(false);
    channel.AddXY(0, 20);
    channel.AddXY(20, 60);
    channel.AddXNull(30);
    channel.AddXY(35, 40);
    struct Probe {
        double x, y;
        bool filled;
    };
    struct Case {
        const char* what;
        TPlotInterpolationStyle style;
        std::vector<Probe> probes;
    } cases[] = {
        {"straight: under the segment, nothing beyond the Null point",
         ipistStraightLine,
         {{10, 35, true}, {10, 45, false}, {10, 5, false}, {25, 30, false}, {37, 30, false}}},
        {"spline: a run of two points is a line",
         ipistCubicSpline,
         {{10, 35, true}, {10, 45, false}, {25, 30, false}, {37, 30, false}}},
        {"step: under each hold, on to X max",
         ipistDifferential,
         {{10, 15, true}, {10, 25, false}, {25, 55, true}, {32, 30, false}, {38, 30, true}, {38, 45, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        channel.SetInterpolationStyle(c.style);
        Repaint();
        for (const Probe& p : c.probes)
            EXPECT_EQ(At(p.x, p.y), p.filled ? Rgb(clSilver) : kPaper) << "at " << p.x << ", " << p.y;
    }
}

TEST_F(PlotTraceStyles, BarsSpanFromTheirReferenceAcrossTheirWidth) {
    channel.SetTraceVisible(false);
    channel.SetBarEnabled(true);
    channel.SetBarWidth(4);
    channel.SetBarReference(10);
    channel.AddXY(20, 50);
    channel.AddXY(39, 150);  // cut at the top of the scale and at X max
    Paint();
    EXPECT_EQ(test::InkBox(drawn.image, kPaper), (TPlotRect{P(18, 0).X, P(0, 100).Y, P(40, 0).X + 1, P(0, 10).Y + 1}));
    EXPECT_EQ(At(20, 30), Rgb(clBlack));
    EXPECT_EQ(At(20, 55), kPaper);
    EXPECT_EQ(At(17, 30), kPaper);
    EXPECT_EQ(At(30, 30), kPaper);
}

TEST_F(PlotTraceStyles, CandleBodiesShowTheDirectionOfThePrice) {
    channel.SetDataStyle(ipdsFullFeature);
    channel.SetTraceVisible(false);
    channel.SetHighLowEnabled(true);
    channel.SetHighLowStyle(iphlsCandleStick);
    channel.SetHighLowBarWidth(4);
    channel.SetHighLowBullishColor(clLime);
    channel.SetHighLowBearishColor(clRed);
    channel.AddHighLow(10, 90, 10, 30, 70);  // closes above its open
    channel.AddHighLow(30, 90, 10, 70, 30);  // closes below
    Paint();
    EXPECT_EQ(At(10, 50), Rgb(clLime));
    EXPECT_EQ(At(30, 50), Rgb(clRed));
    EXPECT_EQ(At(10, 80), Rgb(clGray)) << "the shadow above the body";
    EXPECT_EQ(At(11.5, 80), kPaper);
}

// ---- Errors ----------------------------------------------------------------------------------

// The error stays inside the failing channel: what its layers before the failing one drew stays,
// nothing of the layers after it is drawn, and the channels after it draw as usual. An error that
// is not the plot's own is a fault: it is reported once, with the channel's name.
TEST_F(PlotTraceStyles, AnErrorInOneChannelsDrawingStopsOnlyThatChannel) {
    using Layer = FailingChannel::Layer;
    struct Case {
        const char* what;
        Layer layer;
        bool plotError;
    } cases[] = {
        {"the trace fails with a plot error", Layer::Trace, true},
        {"the trace fails with another exception", Layer::Trace, false},
        {"the markers fail with a plot error", Layer::Markers, true},
        {"the markers fail with another exception", Layer::Markers, false},
    };
    auto& failing = AddChannelOf<FailingChannel>();
    auto& sound = AddChannelOf<TPlotChannel>();  // drawn the same way, to show what comes before the failure
    for (TPlotChannel* c : {static_cast<TPlotChannel*>(&failing), &sound}) {
        c->SetFillEnabled(true);
        c->SetFillUseChannelColor(false);
        c->SetFillColor(clSilver);
        c->SetMarkersPenUseChannelColor(false);
        c->SetMarkersPenColor(clRed);
        c->SetMarkersBrushUseChannelColor(false);
        c->SetMarkersBrushColor(clRed);
        c->AddXY(0, 80);
        c->AddXY(20, 80);
        c->AddXY(40, 80);
    }
    failing.SetMarkersVisible(true);
    failing.SetName("Failing");
    channel.AddXY(0, 30);
    channel.AddXY(40, 30);
    std::vector<std::string> reports;
    plot.OnUnexpectedError = [&reports](const std::string& source, const std::exception& error) {
        reports.push_back(source + ": " + error.what());
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        failing.failingLayer = c.layer;
        failing.plotError = c.plotError;
        sound.SetTraceVisible(c.layer != Layer::Trace);
        Picture beforeTheFailure;
        sound.DrawSetup(beforeTheFailure.canvas);
        sound.Draw(beforeTheFailure.canvas, clWhite);

        drawn.image.fill(kPaper);
        reports.clear();
        EXPECT_NO_THROW(Paint(failing));
        EXPECT_EQ(reports, c.plotError ? std::vector<std::string>{} : std::vector<std::string>{"Failing: too long"});
        EXPECT_EQ(Differences(drawn.image, beforeTheFailure.image), 0) << "exactly the layers before the failing one";
        EXPECT_EQ(At(20, 50), Rgb(clSilver)) << "the fill, drawn before the failing layer";
        EXPECT_EQ(At(10, 80) == Rgb(clBlack), c.layer != Layer::Trace) << "the trace, when it comes before";
        int red = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) red += drawn.image.pixel(x, y) == Rgb(clRed);
        EXPECT_EQ(red, 0) << "no marker after the failure";

        Paint(channel);
        EXPECT_EQ(At(20, 30), Rgb(clBlack)) << "the other channel";
    }
}

// ---- Mouse -----------------------------------------------------------------------------------

namespace {

struct PlotChannelMouse : PlotTraceStyles {
    void SetUp() override {
        PlotTraceStyles::SetUp();
        channel.AddXY(0, 50);
        channel.AddXY(20, 50);
        channel.AddXY(40, 50);
        channel.SetMarkersSize(3);
        Paint();
    }
    // The mouse at client pixel (x, y), as the plot fills it for this channel.
    TPlotMouseData Mouse(int x, int y, TMouseButton button) const {
        TPlotMouseData data;
        data.X = x;
        data.Y = y;
        data.XAxisPixels = channel.GetXYAxesReversed() ? y : x;
        data.YAxisPixels = channel.GetXYAxesReversed() ? x : y;
        data.Button = button;
        return data;
    }
};

}  // namespace

TEST_F(PlotChannelMouse, MarkersAreHitInSelectModeAndTheTraceByARightPress) {
    const TPlotPoint point = P(20, 50);
    struct Case {
        const char* what;
        bool selectMode, markers, reversed;
        int dx, dy;  // from the middle point's pixel, along the screen
        TMouseButton button;
        bool hit;
        int selected;
    } cases[] = {
        {"marker centre", true, true, false, 0, 0, mbLeft, true, 1},
        {"marker box, top-left corner", true, true, false, -3, -3, mbLeft, true, 1},
        {"marker box, right edge excluded", true, true, false, 3, 0, mbLeft, false, -1},
        {"marker without select mode", false, true, false, 0, 0, mbLeft, false, -1},
        {"select mode without markers", true, false, false, 0, 0, mbLeft, false, -1},
        {"a left press never hits the trace", false, false, false, 0, 0, mbLeft, false, -1},
        {"right press on the trace", false, false, false, 0, 0, mbRight, true, -1},
        {"right press 10 below: the trace on the top edge", false, false, false, 5, 10, mbRight, true, -1},
        {"right press 10 above: the trace on the bottom edge", false, false, false, 5, -10, mbRight, false, -1},
        {"right press 9 above", false, false, false, 5, -9, mbRight, true, -1},
        {"reversed: right press beside the trace", false, false, true, 9, 4, mbRight, true, -1},
        {"reversed: right press 10 left of the trace", false, false, true, -10, 4, mbRight, false, -1},
        {"reversed: marker", true, true, true, 2, -2, mbLeft, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        plot.SetSelectModeActive(c.selectMode);
        channel.SetMarkersVisible(c.markers);
        channel.SetXYAxesReversed(c.reversed);
        Repaint();
        const TPlotPoint at = c.reversed ? TPlotPoint{point.Y, point.X} : point;
        EXPECT_EQ(channel.iMouseHitTest(Mouse(at.X + c.dx, at.Y + c.dy, c.button)), c.hit);
        EXPECT_EQ(channel.GetSelectedPointIndex(), c.selected);
    }
    EXPECT_EQ(channel.GetMousePointer(point.X, point.Y), crHandPoint);

    // Markers turned off for too many points in view are not there to hit.
    plot.SetSelectModeActive(true);
    channel.SetMarkersVisible(true);
    channel.SetXYAxesReversed(false);
    channel.SetMarkersTurnOffLimit(1);
    Repaint();
    EXPECT_FALSE(channel.iMouseHitTest(Mouse(point.X, point.Y, mbLeft)));
}

TEST_F(PlotChannelMouse, TheLegendRectangleHitsWhileTheChannelShowsInTheLegend) {
    channel.SetLegendRect(TPlotRect{300, 5, 340, 15});
    EXPECT_TRUE(channel.iMouseHitTest(Mouse(300, 5, mbLeft)));
    EXPECT_FALSE(channel.iMouseHitTest(Mouse(340, 10, mbLeft)));
    channel.SetVisibleInLegend(false);
    EXPECT_FALSE(channel.iMouseHitTest(Mouse(300, 5, mbLeft)));
}

TEST_F(PlotChannelMouse, APressAndReleaseOnOneMarkerReportsOneDataPointClick) {
    plot.SetSelectModeActive(true);
    channel.SetMarkersVisible(true);
    Repaint();
    std::vector<std::pair<int, int>> clicks;
    plot.OnClickDataPoint = [&](int channelIndex, int dataIndex) { clicks.emplace_back(channelIndex, dataIndex); };
    const TPlotPoint marker = P(40, 50);
    struct Case {
        const char* what;
        TPlotPoint press, release;
        size_t clicks;
    } cases[] = {
        {"press and release inside the box", marker, {marker.X - 3, marker.Y + 2}, 1},
        {"release outside the box", marker, {marker.X + 3, marker.Y}, 0},
        {"press beside every marker", {marker.X - 10, marker.Y}, marker, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clicks.clear();
        channel.iMouseDown(mbLeft, 0, c.press.X, c.press.Y);
        // The plot hands the release to the pressed object and again to the selected ones.
        channel.iMouseUp(mbLeft, 0, c.release.X, c.release.Y, false);
        channel.iMouseUp(mbLeft, 0, c.release.X, c.release.Y, false);
        ASSERT_EQ(clicks.size(), c.clicks);
        if (c.clicks == 1) {
            EXPECT_EQ(clicks[0], std::make_pair(0, 2));
        }
    }
}

TEST_F(PlotChannelMouse, AReleaseInTheLegendRectangleReportsAnObjectClick) {
    channel.SetLegendRect(TPlotRect{300, 5, 340, 15});
    int clicks = 0;
    plot.OnClickChannel = [&](int index) {
        EXPECT_EQ(plot.GetChannel(index), &channel);
        ++clicks;
    };
    channel.iMouseDown(mbLeft, 0, 310, 10);
    channel.iMouseUp(mbLeft, 0, 320, 10, false);
    channel.iMouseUp(mbLeft, 0, 320, 10, false);
    EXPECT_EQ(clicks, 1);
    channel.iMouseDown(mbLeft, 0, 310, 10);
    channel.iMouseUp(mbLeft, 0, 350, 10, false);
    EXPECT_EQ(clicks, 1) << "released outside";
}
