// A channel's trace and markers, pixel by pixel, through the real drawing into an image.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PixelProbe.h"
#include "TraceRig.h"
#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotTraceMapper.h"
#include "plot/component/Plot.h"
#include "plot/qt/QtCanvas.h"

using namespace ondrix;
using namespace ondrix::test;

namespace {

TPlotRect Ink(const QImage& image) { return test::InkBox(image, kPaper); }

int InkCount(const QImage& image) { return test::InkCount(image, kPaper); }

std::string Describe(const TPlotRect& r) {
    return "(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + ")-(" + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom) + ")";
}

struct TraceDrawTest : TraceRig {};

// What a correct drawing gives, drawn straight on a canvas.
struct Expected : Picture {
    Expected() { canvas.SetPen(TPlotPen{clBlack, 0, psSolid}); }
    Expected& Line(TPlotPoint from, TPlotPoint to) {
        canvas.Line(from, to);
        return *this;
    }
};

}  // namespace

// ---- Geometry the tests rely on --------------------------------------------------------------

TEST_F(TraceDrawTest, TheAxesSpanTheirRectangles) {
    EXPECT_EQ(P(0, 0), (TPlotPoint{10, 210}));
    EXPECT_EQ(P(40, 100), (TPlotPoint{410, 10}));
}

// ---- Setup -----------------------------------------------------------------------------------

TEST_F(TraceDrawTest, DrawSetupIsReadyOnlyWithAxesVisibilityAndPoints) {
    struct Case {
        const char* what;
        bool points, visible, axis;
        bool ready;
    } cases[] = {
        {"all there", true, true, true, true},
        {"no points", false, true, true, false},
        {"not visible", true, false, true, false},
        {"no X axis", true, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        channel.Clear();
        if (c.points) channel.AddXY(5, 50);
        channel.SetVisible(c.visible);
        channel.SetXAxisName(c.axis ? xAxis.GetName() : "nowhere");
        channel.DrawSetup(drawn.canvas);
        EXPECT_EQ(channel.GetDrawReady(), c.ready);
    }
}

TEST_F(TraceDrawTest, DrawSetupEmptiesOnePixelListEntryPerXPixelAndPlacesDigitalLevels) {
    channel.AddXY(5, 50);
    channel.DrawSetup(drawn.canvas);
    channel.AddPixelListValue(20, 1);  // written by an earlier paint: the next setup empties it
    channel.SetDigitalReferenceStyle(ipdrPercent);
    channel.SetDigitalReferenceHigh(90);
    channel.SetDigitalReferenceLow(10);
    channel.DrawSetup(drawn.canvas);
    ASSERT_EQ(channel.GetPixelList().size(), 401u);
    for (const TPlotPixelPoint& entry : channel.GetPixelList()) EXPECT_TRUE(entry.Empty);
    EXPECT_EQ(channel.GetDigitalHighPixels(), P(0, 90).Y);
    EXPECT_EQ(channel.GetDigitalLowPixels(), P(0, 10).Y);

    channel.AddPixelListValue(410, 7.5);
    EXPECT_FALSE(channel.GetPixelList().back().Empty);
    EXPECT_EQ(channel.GetPixelList().back().Y, 7.5);
    for (int column : {9, 411}) {
        try {
            channel.AddPixelListValue(column, 0);
            ADD_FAILURE() << column << " accepted";
        } catch (const EPlotError& error) {
            EXPECT_STREQ(error.what(), "Pixel List XPixel out of Range");
        }
    }
}

TEST(XYTraceDraw, SetupNeedsPoints) {
    TXYPlot plot;
    TXYPlotChannel& channel = *plot.GetChannel(0);
    Picture picture;
    channel.DrawSetup(picture.canvas);
    EXPECT_FALSE(channel.GetDrawReady());
    channel.AddXY(1, 1);
    channel.DrawSetup(picture.canvas);
    EXPECT_TRUE(channel.GetDrawReady());
}

// ---- Line clipping ---------------------------------------------------------------------------

TEST_F(TraceDrawTest, DrawLineDrawsOnlyThePartOnTheScales) {
    Scale(5, 15, 0, 100);  // X 5..20, Y 0..100
    struct Case {
        const char* what;
        double x1, y1, x2, y2;
        bool drawn;
        double ex1, ey1, ex2, ey2;  // the expected line, first end the smaller X
    } cases[] = {
        {"left end cut at X Min", 0, 0, 10, 10, true, 5, 5, 10, 10},
        {"ends given right to left", 10, 10, 0, 0, true, 5, 5, 10, 10},
        {"both ends cut in X", 0, 50, 40, 50, true, 5, 50, 20, 50},
        {"cut at Y Max", 10, 50, 20, 150, true, 10, 50, 15, 100},
        {"vertical across the Y range", 10, -50, 10, 150, true, 10, 0, 10, 100},
        {"both ends below the Y range", 6, -10, 19, -1, false, 0, 0, 0, 0},
        {"left of the X range", 0, 10, 4, 90, false, 0, 0, 0, 0},
        {"passes above the view's corner", 0, 90, 10, 200, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Picture line;
        line.canvas.SetPen(TPlotPen{clBlack, 0, psSolid});
        channel.DrawLine(line.canvas, false, c.x1, c.y1, c.x2, c.y2, ipurScale);
        if (!c.drawn) {
            EXPECT_EQ(InkCount(line.image), 0);
            continue;
        }
        EXPECT_EQ(Differences(line.image, Expected().Line(P(c.ex1, c.ey1), P(c.ex2, c.ey2)).image), 0);
    }
}

TEST_F(TraceDrawTest, PercentLinesClipOnlyInX) {
    Picture line;
    line.canvas.SetPen(TPlotPen{clBlack, 0, psSolid});
    channel.DrawLine(line.canvas, false, -10, 50, 20, 50, ipurPercent);  // 50 % of the data view's height
    EXPECT_EQ(Differences(line.image, Expected().Line(P(0, 50), P(20, 50)).image), 0);
}

// ---- Fast and generic traces -----------------------------------------------------------------

TEST_F(TraceDrawTest, PointsInOneColumnDrawOneMinMaxLinePlusConnectors) {
    channel.AddXY(0, 50);
    // 1000 points within a hundredth of a pixel column at X 20 (10 pixels per unit).
    for (int i = 0; i < 1000; ++i) channel.AddXY(20 + i * 1e-6, 20 + (i * 37 % 61));
    channel.AddXY(39, 50);
    const double firstY = 20, lastY = 20 + (999 * 37 % 61), minY = 20, maxY = 80;
    Paint();
    Expected expected;
    expected.Line(P(0, 50), P(20, firstY)).Line(P(20, minY), P(20, maxY)).Line(P(20, lastY), P(39, 50));
    EXPECT_EQ(Differences(drawn.image, expected.image), 0);
}

TEST_F(TraceDrawTest, AColumnOfEqualValuesGetsNoVerticalLine) {
    channel.AddXY(0, 50);
    for (int i = 0; i < 100; ++i) channel.AddXY(20 + i * 1e-6, 70);
    channel.AddXY(39, 50);
    Paint();
    EXPECT_EQ(Differences(drawn.image, Expected().Line(P(0, 50), P(20, 70)).Line(P(20, 70), P(39, 50)).image), 0);
}

TEST_F(TraceDrawTest, ANullPointBreaksTheTraceAndAnEmptyPointIsBridged) {
    struct Case {
        const char* what;
        bool fast, null;
    } cases[] = {{"fast, Null", true, true}, {"fast, Empty", true, false},
                 {"generic, Null", false, true}, {"generic, Empty", false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        channel.Clear();
        channel.SetFastDrawEnabled(c.fast);
        channel.AddXY(0, 50);
        channel.AddXY(10, 50);
        if (c.null) channel.AddXNull(20);
        else channel.AddXEmpty(20);
        channel.AddXY(30, 50);
        channel.AddXY(40, 50);
        drawn.image.fill(kPaper);
        Paint();
        Expected expected;
        if (c.null) expected.Line(P(0, 50), P(10, 50)).Line(P(30, 50), P(40, 50));
        else expected.Line(P(0, 50), P(10, 50)).Line(P(10, 50), P(30, 50)).Line(P(30, 50), P(40, 50));
        EXPECT_EQ(Differences(drawn.image, expected.image), 0);
    }
}

TEST_F(TraceDrawTest, FastDrawingEqualsGenericDrawingAtOnePointPerColumn) {
    for (int i = 0; i <= 400; ++i) channel.AddXY(i * 0.1, 50 + 45 * std::sin(i * 0.05));
    Paint();
    const QImage fast = drawn.image.copy();
    ASSERT_GT(InkCount(fast), 400);
    drawn.image.fill(kPaper);
    channel.SetFastDrawEnabled(false);
    Paint();
    EXPECT_EQ(Differences(fast, drawn.image), 0);
}

// The min-max trace as its algorithm states it: every point mapped to its column on its own.
void DrawMinMaxPointByPoint(TPlotChannel& channel, TCanvas& canvas) {
    const TPlotTraceMapper mapper(*channel.GetXAxis(), *channel.GetYAxis(), false);
    std::vector<TPlotPoint> segments;
    auto line = [&](double x1, double y1, double x2, double y2) {
        TPlotPoint from, to;
        if (!mapper.ClipAndMap(x1, y1, x2, y2, ipurScale, from, to)) return;
        segments.push_back(from);
        segments.push_back(to);
    };
    TPlotMinMaxPoint a, b, c;
    auto flush = [&] {
        if (!a.Empty && a.Min != a.Max) line(a.X, a.Min, a.X, a.Max);
        if (!b.Empty && b.Min != b.Max) line(b.X, b.Min, b.X, b.Max);
        if (!a.Empty && !b.Empty) line(a.X, a.LastY, b.X, b.FirstY);
        if (!b.Empty && !c.Empty) line(b.X, b.LastY, c.X, c.FirstY);
    };
    for (int i = channel.GetDrawStartIndex(); i <= channel.GetDrawStopIndex(); ++i) {
        double x, y;
        bool empty, null;
        channel.GetXYEmptyNull(i, x, y, empty, null);
        if (empty) continue;
        if (null) {
            flush();
            a.Clear();
            b.Clear();
            c.Clear();
            continue;
        }
        const int column = mapper.Column(x);
        if (a.Empty || column == a.Column) {
            a.Add(x, y, column);
        } else if (b.Empty || column == b.Column) {
            b.Add(x, y, column);
        } else {
            c.Add(x, y, column);
            flush();
            a = c;
            b.Clear();
            c.Clear();
        }
    }
    flush();
    canvas.SetPen(TPlotPen{channel.GetColor(), 0, psSolid});
    canvas.Lines(segments.data(), segments.size());
}

// The trace reads most points of a dense column without mapping them; whatever the data, it
// must set exactly the pixels of the point-by-point algorithm.
TEST_F(TraceDrawTest, FastTraceSetsThePixelsOfThePointByPointAlgorithm) {
    // 10 pixels per X unit: column edges lie on odd multiples of 0.05.
    auto wave = [](int i) { return 50 + 45 * std::sin(i * 0.0123); };
    auto noise = [](int i) { return static_cast<double>((i * 7919L) % 101); };
    struct Case {
        const char* what;
        std::function<void(TPlotChannel&)> fill;
        std::function<void(TPlotXAxis&)> scale;
    } cases[] = {
        {"a dense wave, 100 points per column",
         [&](TPlotChannel& ch) { for (int i = 0; i < 40000; ++i) ch.AddXY(i * 0.001, wave(i)); }, nullptr},
        {"noise, 25 points per column",
         [&](TPlotChannel& ch) { for (int i = 0; i < 10000; ++i) ch.AddXY(i * 0.004, noise(i)); }, nullptr},
        {"points on and beside every column edge",
         [&](TPlotChannel& ch) {
             for (int j = 0; j < 800; ++j) {
                 const double edge = j * 0.05;
                 ch.AddXY(std::nextafter(edge, -1.0), noise(3 * j));
                 ch.AddXY(edge, noise(3 * j + 1));
                 ch.AddXY(std::nextafter(edge, 100.0), noise(3 * j + 2));
             }
         },
         nullptr},
        {"Null and Empty points inside dense columns",
         [&](TPlotChannel& ch) {
             for (int i = 0; i < 20000; ++i) {
                 if (i % 37 == 5) ch.AddXNull(i * 0.002);
                 else if (i % 53 == 7) ch.AddXEmpty(i * 0.002);
                 else ch.AddXY(i * 0.002, wave(i));
             }
         },
         nullptr},
        {"X running back and forth",
         [&](TPlotChannel& ch) { for (int i = 0; i < 5000; ++i) ch.AddXY((i * 7919L) % 4001 * 0.01, noise(i)); }, nullptr},
        {"a wrapped ring reaching past both ends of the axis",
         [&](TPlotChannel& ch) {
             ch.SetRingBufferSize(30000);
             for (int i = 0; i < 47000; ++i) ch.AddXY(-20 + i * 0.0015, wave(i));
         },
         nullptr},
        {"a compact list, read through its virtual reader",
         [&](TPlotChannel& ch) {
             ch.SetDataStyle(ipdsCompact);
             for (int i = 0; i < 20000; ++i) ch.AddXY(i * 0.002, noise(i));
         },
         nullptr},
        {"a reversed X scale",
         [&](TPlotChannel& ch) { for (int i = 0; i < 20000; ++i) ch.AddXY(i * 0.002, wave(i)); },
         [](TPlotXAxis& x) { x.SetReverseScale(true); }},
        {"a logarithmic X scale",
         [&](TPlotChannel& ch) { for (int i = 1; i <= 20000; ++i) ch.AddXY(i * 0.002, noise(i)); },
         [](TPlotXAxis& x) {
             x.SetScaleType(ipstLog10);
             x.SetMinSpan(0.01, 39.99);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TPlot plot;
        TPlotChannel& ch = *plot.GetChannel(0);
        ch.SetXAxisTrackingEnabled(false);
        ch.SetYAxisTrackingEnabled(false);
        ch.SetColor(clBlack);
        TPlotXAxis& x = *plot.GetXAxis(0);
        TPlotYAxis& y = *plot.GetYAxis(0);
        x.SetMinSpan(0, 40);
        y.SetMinSpan(0, 100);
        if (c.scale) c.scale(x);
        x.SetDrawRect(TPlotRect{10, 100, 410, 100});
        x.CalcScaleRect(TPlotAxisLabelMetrics{});
        y.SetDrawRect(TPlotRect{200, 10, 200, 210});
        y.CalcScaleRect(TPlotAxisLabelMetrics{});
        c.fill(ch);

        Picture fast, pointByPoint;
        ch.DrawSetup(fast.canvas);
        ASSERT_TRUE(ch.GetDrawReady());
        ch.Draw(fast.canvas, clWhite);
        DrawMinMaxPointByPoint(ch, pointByPoint.canvas);
        EXPECT_GT(InkCount(fast.image), 300);
        EXPECT_EQ(Differences(fast.image, pointByPoint.image), 0);
    }
}

TEST_F(TraceDrawTest, NothingLandsOutsideTheCallersClip) {
    for (int i = 0; i <= 400; ++i) channel.AddXY(i * 0.1, (i * 53) % 101);
    const TPlotRect clip{100, 50, 300, 150};
    drawn.canvas.SetClipRect(clip);
    Paint();
    const TPlotRect ink = Ink(drawn.image);
    EXPECT_GE(ink.Left, clip.Left);
    EXPECT_GE(ink.Top, clip.Top);
    EXPECT_LE(ink.Right, clip.Right);
    EXPECT_LE(ink.Bottom, clip.Bottom);
    EXPECT_GT(InkCount(drawn.image), 0);
}

TEST_F(TraceDrawTest, AHiddenTraceDrawsNothing) {
    channel.AddXY(0, 50);
    channel.AddXY(40, 50);
    channel.SetTraceVisible(false);
    Paint();
    EXPECT_EQ(InkCount(drawn.image), 0);
}

// ---- Markers ---------------------------------------------------------------------------------

TEST_F(TraceDrawTest, EachMarkerStyleInksItsShape) {
    const int s = 4;
    const TPlotPoint at = P(20, 50);
    const int x = at.X, y = at.Y;
    struct Case {
        TPlotMarkerStyle style;
        TPlotRect ink;
    } cases[] = {
        {ipmsCircle, {x - s, y - s, x + s, y + s}},
        {ipmsSquare, {x - s, y - s, x + s, y + s}},
        {ipmsDiamond, {x - s, y - s, x + s + 1, y + s + 1}},
        {ipmsCross, {x - s + 1, y - s, x + s + 1, y + s + 1}},
        {ipmsPlus, {x - s + 1, y - s + 1, x + s + 1, y + s + 1}},
        {ipmsTriangleUp, {x - s, y, x + s + 1, y + s + 1}},
        {ipmsTriangleDown, {x - s, y - s, x + s + 1, y + 1}},
        {ipmsTriangleLeft, {x, y - s, x + s + 1, y + s + 1}},
        {ipmsTriangleRight, {x - s, y - s, x + 1, y + s + 1}},
        {ipmsVerticalLine, {x, y - s, x + 1, y + s}},
        {ipmsHorizontalLine, {x - s, y, x + s, y + 1}},
    };
    channel.AddXY(20, 50);
    channel.SetMarkersVisible(true);
    channel.SetMarkersSize(s);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << int(c.style));
        channel.SetMarkersStyle(c.style);
        drawn.image.fill(kPaper);
        Paint();
        EXPECT_EQ(Ink(drawn.image), c.ink) << Describe(Ink(drawn.image));
    }
}

TEST_F(TraceDrawTest, ACharacterMarkerIsCentredOnThePoint) {
    channel.AddXY(20, 50);
    channel.SetMarkersVisible(true);
    channel.SetMarkersStyle(ipmsCharacter);
    TPlotFont font = channel.GetMarkersFont();
    font.Color = clBlack;
    channel.SetMarkersFont(font);
    Paint();
    EXPECT_EQ(InkCount(drawn.image), 0) << "no character set";

    channel.SetDataMarkerCharacter(0, 'H');
    channel.SetMarkersAllowIndividual(true);
    channel.SetDataMarkerShow(0, true);
    Paint();
    const TPlotRect ink = Ink(drawn.image);
    ASSERT_GT(InkCount(drawn.image), 0);
    EXPECT_NEAR((ink.Left + ink.Right) / 2.0, P(20, 50).X, 2.0) << Describe(ink);
    EXPECT_NEAR((ink.Top + ink.Bottom) / 2.0, P(20, 50).Y, 3.0) << Describe(ink);
}

TEST_F(TraceDrawTest, MarkersTurnOffBeyondTheLimit) {
    struct Case {
        int limit;
        int points;  // the draw indices then run 0 .. points - 1
        bool drawn;
    } cases[] = {{100, 101, true}, {100, 102, false}, {0, 300, true}};
    channel.SetTraceVisible(false);
    channel.SetMarkersVisible(true);
    channel.SetMarkersSize(1);
    channel.SetMarkersStyle(ipmsSquare);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.limit << " / " << c.points);
        channel.Clear();
        for (int i = 0; i < c.points; ++i) channel.AddXY(i * 40.0 / c.points, 50);
        channel.SetMarkersTurnOffLimit(c.limit);
        drawn.image.fill(kPaper);
        Paint();
        EXPECT_EQ(InkCount(drawn.image) > 0, c.drawn);
    }
}

TEST_F(TraceDrawTest, MarkersShowOnlyWhereTheyMay) {
    channel.SetTraceVisible(false);
    channel.AddXY(10, 50);
    channel.AddXY(20, 150);  // above the Y scale
    channel.AddXNull(25);
    channel.AddXY(30, 50);
    channel.SetMarkersVisible(true);
    EXPECT_TRUE(channel.GetDataMarkerShowing(0));
    EXPECT_FALSE(channel.GetDataMarkerShowing(1));
    EXPECT_FALSE(channel.GetDataMarkerShowing(2));
    channel.SetMarkersAllowIndividual(true);
    channel.SetDataMarkerShow(0, false);
    channel.SetDataMarkerShow(3, true);
    EXPECT_FALSE(channel.GetDataMarkerShowing(0));
    EXPECT_TRUE(channel.GetDataMarkerShowing(3));
    channel.SetMarkersVisible(false);
    EXPECT_FALSE(channel.GetDataMarkerShowing(3));
}

TEST_F(TraceDrawTest, ASinglePointDrawsItsMarkerButNoTrace) {
    channel.AddXY(20, 50);
    Paint();
    EXPECT_EQ(InkCount(drawn.image), 0);
    channel.SetMarkersVisible(true);
    channel.SetMarkersSize(2);
    channel.SetMarkersStyle(ipmsSquare);
    Paint();
    EXPECT_EQ(Ink(drawn.image), (TPlotRect{P(20, 50).X - 2, P(20, 50).Y - 2, P(20, 50).X + 2, P(20, 50).Y + 2}));
}

TEST_F(TraceDrawTest, MarkersFollowReversedAxesAndDigitalLevels) {
    channel.SetTraceVisible(false);
    channel.SetMarkersVisible(true);
    channel.SetMarkersSize(2);
    channel.SetMarkersStyle(ipmsSquare);
    channel.AddXY(5, 30);
    channel.AddXY(6, 0);
    const auto box = [](TPlotPoint centre) {
        return TPlotRect{centre.X - 2, centre.Y - 2, centre.X + 2, centre.Y + 2};
    };

    channel.SetXYAxesReversed(true);
    Paint();
    // Each pixel pair swapped: the X axis runs vertically.
    EXPECT_EQ(drawn.image.pixel(P(0, 30).Y, P(5, 0).X), ToQColor(clBlack).rgb());
    EXPECT_EQ(drawn.image.pixel(P(0, 0).Y - 1, P(6, 0).X), ToQColor(clBlack).rgb());

    channel.SetXYAxesReversed(false);
    channel.SetDigitalEnabled(true);
    channel.SetDigitalReferenceHigh(90);
    channel.SetDigitalReferenceLow(10);
    channel.SetTraceVisible(false);
    drawn.image.fill(kPaper);
    Paint();
    Picture expected;
    expected.canvas.SetPen(TPlotPen{clBlack, 0, psSolid});
    expected.canvas.SetBrush(TPlotBrush{clBlack, bsSolid});
    expected.canvas.Rectangle(box({P(5, 0).X, P(0, 90).Y}));
    expected.canvas.Rectangle(box({P(6, 0).X, P(0, 10).Y}));
    EXPECT_EQ(Differences(drawn.image, expected.image), 0);
}

// ---- The canvas's segment batch ---------------------------------------------------------------

TEST(CanvasLines, ABatchSetsThePixelsOfItsSegmentsDrawnOneByOne) {
    const std::vector<TPlotPoint> pairs = {{5, 5}, {60, 30}, {60, 30}, {60, 90}, {70, 10}, {20, 10}, {8, 8}, {8, 8}};
    for (int width : {0, 3}) {
        SCOPED_TRACE(testing::Message() << "width " << width);
        Picture batch, single;
        for (Picture* p : {&batch, &single}) p->canvas.SetPen(TPlotPen{clBlack, width, psSolid});
        batch.canvas.Lines(pairs.data(), pairs.size());
        for (size_t i = 0; i < pairs.size(); i += 2) single.canvas.Line(pairs[i], pairs[i + 1]);
        EXPECT_GT(InkCount(batch.image), 0);
        EXPECT_EQ(Differences(batch.image, single.image), 0);
    }
}
