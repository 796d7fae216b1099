// Limits: the thin line a limit draws across the data view of a real plot's paint pass, where it
// lies against the traces, when it draws nothing, and its stored settings.

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannel.h"
#include "plot/component/Plot.h"
#include "plot/config/PlotConfiguration.h"
#include "plot/config/PlotProperties.h"
#include "plot/qt/QtCanvas.h"
#include "plot/views/PlotDataView.h"
#include "plot/views/PlotExtras.h"

using namespace ondrix;

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 320;
// A colour no object of a new plot uses inside the data view.
constexpr TColor kMark = clAqua;
constexpr QRgb kMarkRgb = 0xFF00FFFF;

// A new plot painted whole into an image, its axes fixed at 0..100 so nothing moves them.
struct Scene {
    TPlot plot;
    TPlotXAxis& xAxis = *plot.GetXAxis(0);
    TPlotYAxis& yAxis = *plot.GetYAxis(0);
    QImage image{kWidth, kHeight, QImage::Format_RGB32};
    QtCanvas canvas{image};

    Scene() {
        plot.SetBounds(kWidth, kHeight);
        Fix(xAxis, 0);
        Fix(yAxis, 0);
    }
    static void Fix(TPlotAxis& axis, double min) {
        axis.SetTrackingEnabled(false);
        axis.SetMinSpan(min, 100);
    }
    const QImage& Paint() {
        image.fill(0xFFFFFFFF);
        plot.iPaintTo(canvas);
        return image;
    }
    TPlotLimit& AddMark() {
        TPlotLimit& limit = *plot.GetLimit(plot.AddLimit());
        limit.SetColor(kMark);
        return limit;
    }
    TPlotRect View() const { return plot.GetDataView(0)->GetDrawRect(); }
};

// Where `painted` differs from "the mark on exactly these pixels, `before` everywhere else".
std::string FirstMismatch(const QImage& before, const QImage& painted, const std::function<bool(int, int)>& onLine) {
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const QRgb expected = onLine(x, y) ? kMarkRgb : before.pixel(x, y);
            if (painted.pixel(x, y) != expected) return "(" + std::to_string(x) + "," + std::to_string(y) + ")";
        }
    return "none";
}

std::string FirstDifference(const QImage& a, const QImage& b) {
    return FirstMismatch(a, b, [](int, int) { return false; });
}

int Nearest(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

// ---- Where the line lies ---------------------------------------------------------------------

TEST(PaintedLimit, TheLineCrossesTheWholeViewAtTheAxisPixelOfItsPositionAndNothingElseChanges) {
    // The line's pixel from the view's edges: a column for a horizontal axis, a row otherwise.
    struct Case {
        const char* what;
        TPlotLimitStyle style;
        double min;
        double position;
        bool reversed;
        int (*pixel)(const TPlotRect&);
    } cases[] = {
        {"X at the scale's start", iplsXLine, 0, 0, false, [](const TPlotRect& v) { return v.Left; }},
        {"X at the scale's end", iplsXLine, 0, 100, false, [](const TPlotRect& v) { return v.Right; }},
        {"X inside", iplsXLine, 0, 30, false,
         [](const TPlotRect& v) { return v.Left + Nearest(0.3 * (v.Right - v.Left)); }},
        {"X on a shifted scale", iplsXLine, -50, 0, false, [](const TPlotRect& v) { return (v.Left + v.Right) / 2; }},
        {"Y at the scale's start", iplsYLine, 0, 0, false, [](const TPlotRect& v) { return v.Bottom; }},
        {"Y at the scale's end", iplsYLine, 0, 100, false, [](const TPlotRect& v) { return v.Top; }},
        {"Y inside", iplsYLine, 0, 30, false,
         [](const TPlotRect& v) { return v.Bottom - Nearest(0.3 * (v.Bottom - v.Top)); }},
        {"X with the axes reversed", iplsXLine, 0, 30, true,
         [](const TPlotRect& v) { return v.Bottom - Nearest(0.3 * (v.Bottom - v.Top)); }},
        {"Y with the axes reversed", iplsYLine, 0, 30, true,
         [](const TPlotRect& v) { return v.Left + Nearest(0.3 * (v.Right - v.Left)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene scene;
        scene.plot.SetXYAxesReverse(c.reversed);
        Scene::Fix(c.style == iplsXLine ? static_cast<TPlotAxis&>(scene.xAxis) : scene.yAxis, c.min);
        const QImage before = scene.Paint().copy();

        TPlotLimit& limit = scene.AddMark();
        limit.SetStyle(c.style);
        limit.SetPosition(c.position);
        const QImage& painted = scene.Paint();

        const TPlotRect view = scene.View();
        ASSERT_GT(view.Right - view.Left, 200);
        ASSERT_GT(view.Bottom - view.Top, 150);
        const int at = c.pixel(view);
        // An X value's line runs top to bottom unless the plot stands its X axes upright.
        const bool column = (c.style == iplsXLine) != c.reversed;
        EXPECT_EQ(FirstMismatch(before, painted,
                                [&](int x, int y) {
                                    return column ? x == at && y >= view.Top && y < view.Bottom
                                                  : y == at && x >= view.Left && x < view.Right;
                                }),
                  "none");
    }
}

TEST(PaintedLimit, ALimitWithNothingToMarkLeavesThePaintAsItWasWithoutIt) {
    struct Case {
        const char* what;
        void (*setUp)(Scene&, TPlotLimit&);
    } cases[] = {
        {"X past the scale's end", [](Scene&, TPlotLimit& l) { l.SetPosition(100.5); }},
        {"Y below the scale's start",
         [](Scene&, TPlotLimit& l) {
             l.SetStyle(iplsYLine);
             l.SetPosition(-1);
         }},
        {"not a number", [](Scene&, TPlotLimit& l) { l.SetPosition(std::numeric_limits<double>::quiet_NaN()); }},
        {"hidden",
         [](Scene&, TPlotLimit& l) {
             l.SetPosition(50);
             l.SetVisible(false);
         }},
        {"no X axis of that name",
         [](Scene&, TPlotLimit& l) {
             l.SetPosition(50);
             l.SetXAxisName("Nowhere");
         }},
        {"no Y axis of that name",
         [](Scene&, TPlotLimit& l) {
             l.SetStyle(iplsYLine);
             l.SetPosition(50);
             l.SetYAxisName("Nowhere");
         }},
        {"zero on a log scale",
         [](Scene& s, TPlotLimit& l) {
             s.yAxis.SetScaleType(ipstLog10);
             s.yAxis.SetMinSpan(1, 2);
             l.SetStyle(iplsYLine);
             l.SetPosition(0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene scene;
        c.setUp(scene, scene.AddMark());
        const QImage withLimit = scene.Paint().copy();
        scene.plot.RemoveAllLimits();
        EXPECT_EQ(FirstDifference(withLimit, scene.Paint()), "none");
    }
}

// ---- Against the traces ----------------------------------------------------------------------

TEST(PaintedLimit, AMarkLiesOverTheTraceItCrossesUnlessPutOnTheTracesLayer) {
    constexpr QRgb kTrace = 0xFFFF0000;
    Scene scene;
    TPlotChannel& channel = *scene.plot.GetChannel(0);
    channel.SetColor(clRed);
    channel.AddXY(0, 50);
    channel.AddXY(100, 50);
    TPlotLimit& limit = scene.AddMark();
    limit.SetPosition(50);
    scene.Paint();
    const int x = scene.xAxis.PositionToPixels(50);
    const int y = scene.yAxis.PositionToPixels(50);
    ASSERT_EQ(scene.image.pixel(x - 3, y), kTrace) << "the trace runs through the crossing";
    EXPECT_EQ(scene.image.pixel(x, y), kMarkRgb);

    // On the channels' own layer the kinds' order holds: limits first, traces over them.
    limit.SetLayer(channel.GetLayer());
    scene.Paint();
    EXPECT_EQ(scene.image.pixel(x, y), kTrace);
    EXPECT_EQ(scene.image.pixel(x, y - 3), kMarkRgb);
}

TEST(PaintedLimit, TheMarkFollowsARenamedAxisAndGoesWithADeletedOne) {
    Scene scene;
    TPlotLimit& limit = scene.AddMark();
    limit.SetStyle(iplsYLine);
    limit.SetPosition(50);
    const QImage marked = scene.Paint().copy();
    const TPlotRect view = scene.View();
    ASSERT_EQ(marked.pixel((view.Left + view.Right) / 2, scene.yAxis.PositionToPixels(50)), kMarkRgb);

    scene.yAxis.SetName("Volts");
    EXPECT_EQ(limit.GetYAxisName(), "Volts");
    EXPECT_EQ(FirstDifference(marked, scene.Paint()), "none");

    scene.plot.AddYAxis();
    scene.plot.DeleteYAxis(0);
    const QImage withoutTheAxis = scene.Paint().copy();
    scene.plot.RemoveAllLimits();
    EXPECT_EQ(FirstDifference(withoutTheAxis, scene.Paint()), "none");
}

// ---- Stored settings -----------------------------------------------------------------------------

TEST(LimitSettings, StartAsChosenTakeTheirTextsAndReportChangesOnce) {
    struct Case {
        const char* name;
        const char* initial;
        const char* changed;
        const char* stored;
    } cases[] = {
        {"Style", "iplsXLine", "iplsYLine", "iplsYLine"},
        {"Position", "0", "-1.25", "-1.25"},
        {"Color", "#FFFFFF", "#00FFFF", "#00FFFF"},
        {"LineStyle", "psSolid", "psDot", "psDot"},
        {"LineWidth", "1", "3", "3"},
        {"LineWidth", "1", "0", "1"},
        {"Layer", "101", "100", "100"},
        {"XAxisName", "X-Axis 1", "Time", "Time"},
        {"YAxisName", "Y-Axis 1", "Volts", "Volts"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " = " + c.changed);
        TPlot plot;
        TPlotLimit& limit = *plot.GetLimit(plot.AddLimit());
        int repaints = 0;
        plot.OnRepaintRequest = [&repaints] { ++repaints; };
        const TPlotProperty* property = FindPlotProperty(limit, c.name);
        ASSERT_NE(property, nullptr);
        EXPECT_EQ(property->Read(limit), c.initial);

        SetPlotProperty(limit, c.name, c.changed);
        EXPECT_EQ(property->Read(limit), c.stored);
        const int reported = std::string(c.initial) == c.stored ? 0 : 1;
        EXPECT_EQ(repaints, reported);
        SetPlotProperty(limit, c.name, c.changed);
        EXPECT_EQ(repaints, reported) << "set again";
    }
    TPlot plot;
    TPlotLimit& limit = *plot.GetLimit(plot.AddLimit());
    EXPECT_THROW(SetPlotProperty(limit, "Style", "iplsZLine"), EPlotError);
}

TEST(LimitSettings, AStoredConfigurationBringsTheLimitsBack) {
    TPlot original;
    TPlotLimit& limit = *original.GetLimit(original.AddLimit());
    limit.SetStyle(iplsYLine);
    limit.SetPosition(2047.5);
    limit.SetColor(clFuchsia);
    limit.SetLineStyle(psDash);
    limit.SetLineWidth(2);
    const std::string text = WritePlotConfiguration(original);

    TPlot restored;
    LoadPlotConfiguration(restored, ParsePlotConfiguration(text), [] { return std::make_unique<TPlot>(); });
    ASSERT_EQ(restored.LimitCount(), 1);
    const TPlotLimit& back = *restored.GetLimit(0);
    EXPECT_EQ(back.GetStyle(), iplsYLine);
    EXPECT_EQ(back.GetPosition(), 2047.5);
    EXPECT_EQ(back.GetColor(), clFuchsia);
    EXPECT_EQ(back.GetLineStyle(), psDash);
    EXPECT_EQ(back.GetLineWidth(), 2);
    EXPECT_EQ(WritePlotConfiguration(restored), text);
}
