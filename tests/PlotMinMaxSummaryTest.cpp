// The standard list's per-block min-max summary, and the min-max trace that takes whole blocks
// into a pixel column through it: the summary must answer what the points hold after any change,
// and the trace must set exactly the pixels it sets when it reads every point.

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "plot/axes/PlotAxis.h"
#include "plot/component/Plot.h"
#include "plot/data/PlotDataList.h"
#include "plot/qt/QtCanvas.h"
#include "tests/PixelProbe.h"

using namespace ondrix;

namespace {

constexpr int kBlock = TPlotMinMaxBlocks::kSize;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// ---- The summary against the points ----------------------------------------------------------

double Noise(long k) { return static_cast<double>((k * 7919) % 1009) - 500; }

// Appends n points, X going on by one from the newest point's.
std::function<void(TPlotDataNullList&)> Adds(int n) {
    return [n](TPlotDataNullList& list) {
        double x = list.GetCount() == 0 ? 0 : list.GetX(list.GetCount() - 1) + 1;
        for (int k = 0; k < n; ++k, ++x) list.Add(x, Noise(static_cast<long>(x)));
    };
}

// Checks every block the list answers against the points it stands for, that blocks start
// where their first slot is a multiple of the block size and nowhere else, and that NextStart
// finds the next of them; answers the number of whole blocks.
int CheckBlocks(const TPlotDataNullList& list) {
    const TPlotMinMaxBlocks blocks = list.MinMaxBlocks();
    const int count = list.GetCount();
    int whole = 0;
    int nextStart = std::numeric_limits<int>::max();
    for (int i = count - 1; i >= 0; --i) {
        if (list.GetActualIndex(i) % kBlock == 0) nextStart = i;
        const TPlotMinMaxBlock* block = blocks.WholeBlockAt(i);
        if (nextStart < count) EXPECT_EQ(blocks.NextStart(i), nextStart) << i;
        else EXPECT_GE(blocks.NextStart(i), count) << i;
        if (nextStart != i) {
            EXPECT_EQ(block, nullptr) << "a block answered at " << i << ", which starts none";
            continue;
        }
        if (block == nullptr) continue;
        ++whole;
        if (i + kBlock > count) {
            ADD_FAILURE() << "the whole block at " << i << " runs past the newest point";
            continue;
        }
        TPlotMinMaxBlock points;
        for (int k = i; k < i + kBlock; ++k) {
            points.Take(list.GetX(k), list.GetY(k), list.GetNull(k) || list.GetEmpty(k));
            EXPECT_FALSE(list.GetNull(k) || list.GetEmpty(k) || std::isnan(list.GetX(k))) << "gap at " << k;
        }
        EXPECT_EQ(block->MinX, points.MinX) << i;
        EXPECT_EQ(block->MaxX, points.MaxX) << i;
        EXPECT_EQ(block->MinY, points.MinY) << i;
        EXPECT_EQ(block->MaxY, points.MaxY) << i;
    }
    return whole;
}

// Every case runs twice: with the summary built before the first step, so that the steps keep
// it up to date, and built only after the last.
TEST(PlotMinMaxSummary, AnswersWhatThePointsHoldAfterEveryKindOfChange) {
    using Step = std::function<void(TPlotDataNullList&)>;
    struct Case {
        const char* what;
        int ring;  // 0: growable
        std::vector<Step> steps;
        int whole;
    } cases[] = {
        {"a growable list", 0, {Adds(1000)}, 1000 / kBlock},
        {"a growable list growing while summarised", 0, {Adds(10), Adds(5000)}, 5010 / kBlock},
        {"a ring that has not wrapped", 640, {Adds(600)}, 600 / kBlock},
        // The oldest point sits in slot 360, inside the block that the next Adds overwrite.
        {"a wrapped ring, its oldest point inside a block", 640, {Adds(300), Adds(700)}, 640 / kBlock - 1},
        {"a wrapped ring, its oldest point on a block's start", 640, {Adds(768)}, 640 / kBlock},
        // Slot 50 holds the oldest point; slots 640..649 form a block that is never whole.
        {"a wrapped ring whose size is no multiple of the block size", 650, {Adds(2000)}, 640 / kBlock - 1},
        {"a Null point, an Empty point at a block's end, an X that is not a number", 0,
         {Adds(1000), [](TPlotDataNullList& l) { l.SetNull(70, true); },
          [](TPlotDataNullList& l) { l.SetEmpty(2 * kBlock + kBlock - 1, true); },
          [](TPlotDataNullList& l) { l.SetX(300, kNaN); }},
         1000 / kBlock - 3},
        {"Null and Empty points cleared again", 0,
         {Adds(1000), [](TPlotDataNullList& l) { l.SetNull(70, true); },
          [](TPlotDataNullList& l) { l.SetEmpty(200, true); }, [](TPlotDataNullList& l) { l.SetNull(70, false); },
          [](TPlotDataNullList& l) { l.SetEmpty(200, false); }},
         1000 / kBlock},
        // The block's minimum and maximum must come back when the extreme point is edited away.
        {"Y and X edited out to extremes and back", 0,
         {Adds(1000), [](TPlotDataNullList& l) { l.SetY(10, -1e9); }, [](TPlotDataNullList& l) { l.SetY(10, 3); },
          [](TPlotDataNullList& l) { l.SetY(500, 1e9); }, [](TPlotDataNullList& l) { l.SetX(130, -1e9); },
          [](TPlotDataNullList& l) { l.SetX(130, 130); }},
         1000 / kBlock},
        {"a point of a wrapped ring edited", 640,
         {Adds(1000), [](TPlotDataNullList& l) { l.SetY(5, 1e9); }, [](TPlotDataNullList& l) { l.SetY(300, -1e9); }},
         640 / kBlock - 1},
        {"the oldest points deleted from a wrapped ring", 640,
         {Adds(1000), [](TPlotDataNullList& l) { l.DeletePoints(100); }},
         540 / kBlock},
        {"adds after a deletion", 640, {Adds(1000), [](TPlotDataNullList& l) { l.DeletePoints(100); }, Adds(60)},
         600 / kBlock},
        {"a wrapped ring cleared and filled again", 640,
         {Adds(1000), [](TPlotDataNullList& l) { l.Clear(); }, Adds(300)}, 300 / kBlock},
        {"a wrapped ring resized, which empties it", 640,
         {Adds(1000), [](TPlotDataNullList& l) { l.SetRingBufferSize(1280); }, Adds(700)}, 700 / kBlock},
        {"a ring that has not wrapped made larger", 640,
         {Adds(600), [](TPlotDataNullList& l) { l.SetRingBufferSize(1280); }, Adds(400)}, 1000 / kBlock},
        {"a ring shrunk, dropping its oldest points", 640,
         {Adds(600), [](TPlotDataNullList& l) { l.SetRingBufferSize(300); }, Adds(100)}, 300 / kBlock - 1},
        {"a full ring made growable again", 640,
         {Adds(640), [](TPlotDataNullList& l) { l.SetRingBufferSize(0); }, Adds(100)}, 740 / kBlock},
        {"a growable list cut to a smaller capacity", 0,
         {Adds(1000), [](TPlotDataNullList& l) { l.SetCapacity(500); }}, 500 / kBlock},
    };
    for (const Case& c : cases) {
        for (const bool summarisedFirst : {true, false}) {
            SCOPED_TRACE(std::string(c.what) +
                         (summarisedFirst ? ", summarised from the start" : ", summarised at the end"));
            TPlotDataNullList list;
            if (c.ring > 0) list.SetRingBufferSize(c.ring);
            for (const Step& step : c.steps) {
                if (summarisedFirst) list.MinMaxBlocks();
                step(list);
            }
            EXPECT_EQ(CheckBlocks(list), c.whole);
        }
    }
}

// A ring keeps wrapping for many rounds; the blocks must follow every overwritten slot.
TEST(PlotMinMaxSummary, FollowsARingOverManyWraps) {
    TPlotDataNullList list;
    list.SetRingBufferSize(10 * kBlock + 7);
    list.MinMaxBlocks();
    for (int round = 0; round < 40; ++round) {
        Adds(3 * kBlock + round)(list);
        SCOPED_TRACE(round);
        const int whole = CheckBlocks(list);
        // Once wrapped, only the block being overwritten may be incomplete.
        EXPECT_GE(whole, list.GetCount() == list.GetCapacity() ? 9 : list.GetCount() / kBlock);
        EXPECT_LE(whole, 10);
    }
}

// ---- The trace with and without the summary ---------------------------------------------------

constexpr int kSide = 420;
constexpr QRgb kPaper = 0xFFFFFFFF;

// Square, so that a trace with its axes swapped stays in the picture.
struct Picture {
    Picture() { image.fill(kPaper); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    QImage image{kSide, kSide, QImage::Format_RGB32};
    QtCanvas canvas{image};
};

int Differences(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

double Wave(long i) { return 50 + 45 * std::sin(i * 0.00123); }

// A slow wave runs monotonically through most columns, so its extremes sit at the columns' ends;
// spikes put them anywhere, in the blocks inside a column too.
double Spiky(long i) { return i % 997 == 500 ? 99 : i % 1013 == 200 ? 1 : 30 + 20 * std::sin(i * 0.00123); }

// X 0..40 over pixels 10..410: 10 pixels per unit, column edges on odd multiples of 0.05.
// Y 0..100 over pixels 410..10.
struct TraceCase {
    const char* what;
    std::function<void(TPlotChannel&)> fill;
    std::function<void(TPlotXAxis&, TPlotYAxis&, TPlotChannel&)> scale;
    // After a first paint, which builds the summary: changes that the summary must follow.
    std::function<void(TPlotChannel&)> change;
};

void Check(const TraceCase& c) {
    SCOPED_TRACE(c.what);
    TPlot plot;
    TPlotChannel& channel = *plot.GetChannel(0);
    channel.SetXAxisTrackingEnabled(false);
    channel.SetYAxisTrackingEnabled(false);
    channel.SetColor(clBlack);
    TPlotXAxis& x = *plot.GetXAxis(0);
    TPlotYAxis& y = *plot.GetYAxis(0);
    x.SetMinSpan(0, 40);
    y.SetMinSpan(0, 100);
    if (c.scale) c.scale(x, y, channel);
    x.SetDrawRect(TPlotRect{10, 100, 410, 100});
    x.CalcScaleRect(TPlotAxisLabelMetrics{});
    y.SetDrawRect(TPlotRect{200, 10, 200, 410});
    y.CalcScaleRect(TPlotAxisLabelMetrics{});
    c.fill(channel);

    auto paint = [&](bool summary, Picture& picture) {
        channel.SetMinMaxSummaryEnabled(summary);
        channel.DrawSetup(picture.canvas);
        ASSERT_TRUE(channel.GetDrawReady());
        channel.Draw(picture.canvas, clWhite);
    };
    if (c.change) {
        Picture first;
        paint(true, first);
        c.change(channel);
    }
    Picture folded, pointByPoint;
    paint(true, folded);
    paint(false, pointByPoint);
    // Enough points per column that the drawing takes whole blocks where they fit.
    const int points = channel.GetDrawStopIndex() - channel.GetDrawStartIndex() + 1;
    EXPECT_GE(points, kBlock * 401);
    EXPECT_GT(test::InkCount(folded.image, kPaper), 300);
    EXPECT_EQ(Differences(folded.image, pointByPoint.image), 0);
}

TEST(MinMaxTraceWithSummary, SetsThePixelsOfTheTraceThatReadsEveryPoint) {
    const TraceCase cases[] = {
        {"a dense wave, 300 points per column",
         [](TPlotChannel& ch) { for (int i = 0; i < 120000; ++i) ch.AddXY(i / 3000.0, Wave(i)); }, nullptr, nullptr},
        {"spikes, 300 points per column",
         [](TPlotChannel& ch) { for (int i = 0; i < 120000; ++i) ch.AddXY(i / 3000.0, Spiky(i)); }, nullptr, nullptr},
        {"noise, 1000 points per column",
         [](TPlotChannel& ch) { for (int i = 0; i < 400000; ++i) ch.AddXY(i / 10000.0, 50 + Noise(i) / 11); }, nullptr,
         nullptr},
        {"just over one block per column",
         [](TPlotChannel& ch) { for (int i = 0; i < 26000; ++i) ch.AddXY(i / 650.0, 50 + Noise(i) / 11); }, nullptr,
         nullptr},
        {"a square wave: blocks of equal values",
         [](TPlotChannel& ch) { for (int i = 0; i < 120000; ++i) ch.AddXY(i / 3000.0, (i / 5000) % 2 ? 80 : 20); },
         nullptr, nullptr},
        // Two blocks per column, the first block's first point on the column's low edge.
        {"blocks starting on column edges",
         [](TPlotChannel& ch) { for (int i = 0; i < 60000; ++i) ch.AddXY(0.05 + i * (0.1 / 128), Wave(40 * i)); },
         nullptr, nullptr},
        {"blocks ending on column edges",
         [](TPlotChannel& ch) {
             for (int i = 0; i < 60000; ++i) ch.AddXY(0.05 + (i - 127) * (0.1 / 128), Wave(40 * i));
         },
         nullptr, nullptr},
        {"a wrapped ring reaching past both ends of the axis",
         [](TPlotChannel& ch) {
             ch.SetRingBufferSize(100000);
             for (int i = 0; i < 170000; ++i) ch.AddXY(-10 + i / 2000.0, Spiky(i));
         },
         nullptr, nullptr},
        {"a wrapped ring of whole blocks",
         [](TPlotChannel& ch) {
             ch.SetRingBufferSize(1600 * kBlock);
             for (int i = 0; i < 250000; ++i) ch.AddXY(i / 6000.0 - 1.5, 50 + Noise(i) / 11);
         },
         nullptr, nullptr},
        {"Null and Empty points inside blocks, on their edges and in runs",
         [](TPlotChannel& ch) {
             for (int i = 0; i < 120000; ++i) {
                 const double x = i / 3000.0;
                 const int k = i % 6400;
                 if (k == 0 || k == 3217 || (i >= 50000 && i < 50200)) ch.AddXNull(x);
                 else if (k == kBlock - 1 || k == 1000 || (i >= 70000 && i < 70150)) ch.AddXEmpty(x);
                 else ch.AddXY(x, Spiky(i));
             }
         },
         nullptr, nullptr},
        {"the axes swapped",
         [](TPlotChannel& ch) { for (int i = 0; i < 120000; ++i) ch.AddXY(i / 3000.0, Spiky(7 * i)); },
         [](TPlotXAxis&, TPlotYAxis&, TPlotChannel& ch) { ch.SetXYAxesReversed(true); }, nullptr},
        {"reversed scales",
         [](TPlotChannel& ch) { for (int i = 0; i < 120000; ++i) ch.AddXY(i / 3000.0, Spiky(7 * i)); },
         [](TPlotXAxis& x, TPlotYAxis& y, TPlotChannel&) {
             x.SetReverseScale(true);
             y.SetReverseScale(true);
         },
         nullptr},
        {"a logarithmic Y scale",
         [](TPlotChannel& ch) { for (int i = 0; i < 120000; ++i) ch.AddXY(i / 3000.0, std::pow(10.0, Spiky(i) / 25)); },
         [](TPlotXAxis&, TPlotYAxis& y, TPlotChannel&) {
             y.SetScaleType(ipstLog10);
             y.SetMinSpan(1, 9999);
         },
         nullptr},
        {"a logarithmic X scale",
         [](TPlotChannel& ch) { for (int i = 1; i <= 200000; ++i) ch.AddXY(i / 5000.0, Spiky(i)); },
         [](TPlotXAxis& x, TPlotYAxis&, TPlotChannel&) {
             x.SetScaleType(ipstLog10);
             x.SetMinSpan(0.01, 39.99);
         },
         nullptr},
        // Every block's X lies below the point before it: only its minimum tells whether it
        // stays in the column.
        {"X decreasing",
         [](TPlotChannel& ch) { for (int i = 0; i < 120000; ++i) ch.AddXY(40 - i / 3000.0, Spiky(i)); }, nullptr,
         nullptr},
        // The view ends on point 63998, whose block would end on the next point, a spike that
        // lies in the same column but is not in view.
        {"a spike just past the last point in view, in the last column",
         [](TPlotChannel& ch) {
             for (int i = 0; i < 70000; ++i) ch.AddXY(i / 1600.0, i == 63999 ? 99 : Wave(i));
         },
         [](TPlotXAxis& x, TPlotYAxis&, TPlotChannel&) { x.SetMinSpan(0, 63998 / 1600.0); }, nullptr},
        {"Y values that are not numbers, starting blocks, inside them and ending them",
         [](TPlotChannel& ch) {
             for (int i = 0; i < 120000; ++i) {
                 const bool notANumber = i % 640 == 0 || i % 5000 == 17 || i % 7000 == 63;
                 ch.AddXY(i / 3000.0, notANumber ? kNaN : Spiky(i));
             }
         },
         nullptr, nullptr},
        {"X running back and forth",
         [](TPlotChannel& ch) { for (int i = 0; i < 60000; ++i) ch.AddXY((i * 7919L) % 40001 * 0.001, Spiky(i)); },
         nullptr, nullptr},
        {"points edited after the summary was built",
         [](TPlotChannel& ch) { for (int i = 0; i < 120000; ++i) ch.AddXY(i / 3000.0, Spiky(i)); }, nullptr,
         [](TPlotChannel& ch) {
             for (int i = 100; i < 120000; i += 997) ch.SetDataY(i, i % 2 ? 95 : 5);
             for (int i = 300; i < 120000; i += 4999) ch.SetDataNull(i, true);
             for (int i = 700; i < 120000; i += 5003) ch.SetDataEmpty(i, true);
             ch.SetDataY(64 * 90 + 3, 200);  // off the scale: the column's span is clipped
         }},
        {"a ring wrapping after the summary was built",
         [](TPlotChannel& ch) {
             ch.SetRingBufferSize(130000);
             for (int i = 0; i < 60000; ++i) ch.AddXY(i / 3000.0, Spiky(i));
         },
         nullptr,
         [](TPlotChannel& ch) {
             for (int i = 60000; i < 110000; ++i) ch.AddXY(i / 3000.0, 50 + Noise(i) / 11);
             ch.AddXNull(110000 / 3000.0);
             for (int i = 110001; i < 175100; ++i) ch.AddXY(i / 3000.0, Spiky(i));
         }},
        {"a channel cleared and refilled after the summary was built",
         [](TPlotChannel& ch) {
             ch.SetRingBufferSize(100000);
             for (int i = 0; i < 130000; ++i) ch.AddXY(i / 3000.0, Spiky(i));
         },
         nullptr,
         [](TPlotChannel& ch) {
             ch.Clear();
             for (int i = 0; i < 120000; ++i) ch.AddXY(i / 3000.0, 50 + Noise(i) / 11);
             ch.DeletePoints(1000);
         }},
    };
    for (const TraceCase& c : cases) Check(c);
}

}  // namespace
