// The data cursor on a real plot painted into an image: its readings and their texts, the
// pointers and the hint box on the canvas, dragging and keys, how it shares the selection with
// its channel, and its pop-up menu.

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "plot/axes/PlotAxis.h"
#include "plot/component/Plot.h"
#include "plot/config/PlotProperties.h"
#include "plot/qt/QtCanvas.h"
#include "plot/views/PlotDataCursor.h"
#include "plot/views/PlotDataView.h"

using namespace ondrix;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 400;
constexpr QRgb kWhite = 0xFFFFFFFF;

// TPlot as it is built, painted whole into an image. The X axis maps a fixed number of units to
// each pixel, so that a pointer can sit exactly on a value; Y runs 0..40. The cursor is shown
// and reads channel 0, which is lime and feeds no tracking data to its axes.
struct CursorPlot {
    TPlot plot;
    TPlotChannel& channel = *plot.GetChannel(0);
    TPlotXAxis& xAxis = *plot.GetXAxis(0);
    TPlotYAxis& yAxis = *plot.GetYAxis(0);
    TPlotDataView& view = *plot.GetDataView(0);
    TPlotDataCursor& cursor = *plot.GetDataCursor(0);
    QImage image{kWidth, kHeight, QImage::Format_RGB32};
    QtCanvas canvas{image};

    explicit CursorPlot(double xUnitsPerPixel = 1) {
        plot.SetBounds(kWidth, kHeight);
        Prepare(channel);
        yAxis.SetMinSpan(0, 40);
        cursor.SetVisible(true);
        ScaleX(xUnitsPerPixel);
    }
    static void Prepare(TPlotChannel& c) {
        c.SetXAxisTrackingEnabled(false);
        c.SetYAxisTrackingEnabled(false);
        c.SetColor(clLime);
    }
    // The span follows the scale's pixel length, which the labels of the new span may change:
    // a few rounds settle it.
    void ScaleX(double unitsPerPixel) {
        for (int round = 0; round < 4; ++round) {
            Paint();
            xAxis.SetMinSpan(0, unitsPerPixel * xAxis.GetSpanLength());
        }
        Paint();
        EXPECT_DOUBLE_EQ(xAxis.GetSpan(), unitsPerPixel * xAxis.GetSpanLength());
    }
    void Paint() {
        image.fill(kWhite);
        plot.iPaintTo(canvas);
    }
    double PercentAtX(double x) const { return view.PixelsXToPositionPercent(xAxis.PositionToPixels(x)); }
    double PercentAtY(double y) const { return view.PixelsYToPositionPercent(yAxis.PositionToPixels(y)); }
    // The two-sample channel of the documented example: (0, 10) and (10, 20).
    void TwoSamples() {
        channel.AddXY(0, 10);
        channel.AddXY(10, 20);
    }
    const TPlotRect& View() const { return view.GetDrawRect(); }
    QRgb Rgb(TColor color) { return ToQColor(canvas.ResolveColor(color)).rgb(); }
    int CountOf(QRgb color, const TPlotRect& box) const {
        int count = 0;
        for (int y = std::max(box.Top, 0); y < std::min(box.Bottom, kHeight); ++y)
            for (int x = std::max(box.Left, 0); x < std::min(box.Right, kWidth); ++x)
                count += image.pixel(x, y) == color;
        return count;
    }
    // Input straight to the cursor, as the plot's dispatch hands it on.
    void Press(int x, int y) { cursor.iMouseDown(mbLeft, 0, x, y); }
    void MoveTo(int x, int y) {
        THintData hint;
        cursor.iMouseMove(hint, 0, x, y, false);
    }
    void Release(int x, int y) { cursor.iMouseUp(mbLeft, 0, x, y, false); }
    int Key(int key, TShiftState shift) {
        cursor.iKeyDown(key, shift);
        return key;
    }
};

std::vector<std::string> Captions(const std::vector<TPlotMenuItem>& items) {
    std::vector<std::string> captions;
    for (const TPlotMenuItem& item : items) captions.push_back(item.Caption);
    return captions;
}

const TPlotMenuItem* Find(const std::vector<TPlotMenuItem>& items, const std::string& caption) {
    for (const TPlotMenuItem& item : items)
        if (item.Caption == caption) return &item;
    return nullptr;
}

}  // namespace

// ---- Positions and style setup -------------------------------------------------------------

TEST(DataCursorPositions, PointerPositionsStayWithinTheViewAndOnlyChangesAreReported) {
    TPlot plot;
    TPlotDataCursor& cursor = *plot.GetDataCursor(0);
    int changes = 0;
    TPlotObjectEvent report = cursor.OnChange;
    cursor.OnChange = [&](TPlotObject& obj) {
        ++changes;
        report(obj);
    };
    struct Case {
        double given, stored;
    };
    for (const Case& c : {Case{-5, 0}, Case{250, 100}, Case{NAN, 0}, Case{33.5, 33.5}}) {
        cursor.SetPointer1Position(c.given);
        cursor.SetPointer2Position(c.given);
        EXPECT_EQ(cursor.GetPointer1Position(), c.stored) << c.given;
        EXPECT_EQ(cursor.GetPointer2Position(), c.stored) << c.given;
    }
    changes = 0;
    cursor.SetPointer1Position(33.5);
    EXPECT_EQ(changes, 0);
    cursor.SetPointer1Position(34);
    EXPECT_EQ(changes, 1);
}

// The stored settings of the menu and the hint font, each through its own name.
TEST(DataCursorPositions, MenuAndFontSettingsAreStoredUnderTheirOwnNames) {
    struct Case {
        const char* name;
        bool (TPlotDataCursor::*get)() const;
    };
    const Case cases[] = {
        {"MenuUserCanChangeOptions", &TPlotDataCursor::GetMenuUserCanChangeOptions},
        {"MenuItemVisibleValueXY", &TPlotDataCursor::GetMenuItemVisibleValueXY},
        {"MenuItemVisibleValueX", &TPlotDataCursor::GetMenuItemVisibleValueX},
        {"MenuItemVisibleValueY", &TPlotDataCursor::GetMenuItemVisibleValueY},
        {"MenuItemVisibleDeltaX", &TPlotDataCursor::GetMenuItemVisibleDeltaX},
        {"MenuItemVisibleDeltaY", &TPlotDataCursor::GetMenuItemVisibleDeltaY},
        {"MenuItemVisibleInverseDeltaX", &TPlotDataCursor::GetMenuItemVisibleInverseDeltaX},
    };
    for (const Case& c : cases) {
        TPlot plot;
        TPlotDataCursor& cursor = *plot.GetDataCursor(0);
        const TPlotProperty* property = FindPlotProperty(cursor, c.name);
        ASSERT_NE(property, nullptr) << c.name;
        EXPECT_EQ(property->Read(cursor), "True") << c.name;
        SetPlotProperty(cursor, c.name, "False");
        EXPECT_FALSE((cursor.*c.get)()) << c.name;
        int stillTrue = 0;
        for (const Case& other : cases) stillTrue += (cursor.*other.get)();
        EXPECT_EQ(stillTrue, 6) << c.name;
    }
    TPlot plot;
    TPlotDataCursor& cursor = *plot.GetDataCursor(0);
    SetPlotProperty(cursor, "Font.Size", "12");
    SetPlotProperty(cursor, "Font.Style", "Bold");
    EXPECT_EQ(cursor.GetFont().Size, 12);
    EXPECT_TRUE(cursor.GetFont().Bold);
}

TEST(DataCursorPositions, EachStyleShowsItsPointersAndReversedAxesTurnThem) {
    struct Case {
        TPlotDataCursorStyle style;
        bool scope;
        bool shown1, shown2, horizontal1, horizontal2, hintAlongX;
    };
    const Case cases[] = {
        {ipcsValueXY, false, true, false, false, false, false},
        {ipcsValueX, false, true, false, false, false, false},
        {ipcsValueY, false, true, false, false, false, false},
        {ipcsValueY, true, false, true, false, true, true},
        {ipcsDeltaX, false, true, true, false, false, false},
        {ipcsDeltaY, false, true, true, true, true, true},
        {ipcsInverseDeltaX, false, true, true, false, false, false},
    };
    for (bool reversed : {false, true}) {
        TPlot plot;
        plot.SetXYAxesReverse(reversed);
        TPlotDataCursor& cursor = *plot.GetDataCursor(0);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(kPlotDataCursorStyleNames[c.style]) + (c.scope ? " scope" : "") +
                         (reversed ? " reversed" : ""));
            cursor.SetStyle(c.style);
            cursor.SetScopeStyle(c.scope);
            EXPECT_EQ(cursor.GetPointer1Shown(), c.shown1);
            EXPECT_EQ(cursor.GetPointer2Shown(), c.shown2);
            EXPECT_EQ(cursor.GetPointer1Horizontal(), c.horizontal1 != reversed);
            if (c.shown2) {
                EXPECT_EQ(cursor.GetPointer2Horizontal(), c.horizontal2 != reversed);
            }
            EXPECT_EQ(cursor.GetHintAlongX(), c.hintAlongX != reversed);
        }
    }
}

TEST(DataCursorPositions, PointerPixelsFollowTheDataViewAndAreZeroWithoutOne) {
    CursorPlot rig;
    rig.cursor.SetStyle(ipcsDeltaY);
    rig.cursor.SetPointer1Position(25);
    rig.cursor.SetPointer2Position(100);
    EXPECT_EQ(rig.cursor.GetPointer1Pixels(), rig.view.PositionPercentToPixelsY(25));
    EXPECT_EQ(rig.cursor.GetPointer2Pixels(), rig.View().Top);
    rig.cursor.SetStyle(ipcsDeltaX);
    EXPECT_EQ(rig.cursor.GetPointer2Pixels(), rig.View().Right);

    rig.plot.DeleteDataView(0);
    EXPECT_EQ(rig.cursor.GetPointer1Pixels(), 0);
    EXPECT_EQ(rig.cursor.GetPointer2Pixels(), 0);
}

// ---- Readings ------------------------------------------------------------------------------

// Each case sets up a fresh plot, paints it (which takes the reading) and names the text the
// hint shows.
TEST(DataCursorReading, EveryStyleReadsItsValueAndNamesWhatIsMissing) {
    struct Case {
        const char* name;
        double xUnitsPerPixel;
        std::function<void(CursorPlot&)> setup;
        std::function<std::string(CursorPlot&)> expected;
    };
    auto x = [](CursorPlot& r, double v) { return r.xAxis.GetCursorText(v); };
    auto y = [](CursorPlot& r, double v) { return r.yAxis.GetCursorText(v); };
    // The Y value on the Y axis's pixel nearest to v.
    auto yOnPixel = [](CursorPlot& r, double v) { return r.yAxis.PixelsToPositionDouble(r.yAxis.PositionToPixels(v)); };
    const Case cases[] = {
        {"value X-Y between two samples", 1,
         [](CursorPlot& r) {
             r.TwoSamples();
             r.cursor.SetPointer1Position(r.PercentAtX(4));
         },
         [&](CursorPlot& r) { return x(r, 4) + ", " + y(r, 14); }},
        {"value X-Y beyond the last sample", 1,
         [](CursorPlot& r) {
             r.TwoSamples();
             r.cursor.SetPointer1Position(r.PercentAtX(15));
         },
         [&](CursorPlot& r) { return x(r, 15) + ", Empty"; }},
        {"value X-Y on an empty channel", 1, [](CursorPlot& r) { r.cursor.SetPointer1Position(r.PercentAtX(4)); },
         [&](CursorPlot& r) { return x(r, 4) + ", Empty"; }},
        {"value X-Y in a gap", 1,
         [](CursorPlot& r) {
             r.channel.AddXY(0, 10);
             r.channel.AddXNull(5);
             r.channel.AddXY(10, 20);
             r.cursor.SetPointer1Position(r.PercentAtX(7));
         },
         [&](CursorPlot& r) { return x(r, 7) + ", Null"; }},
        {"value X", 1,
         [](CursorPlot& r) {
             r.TwoSamples();
             r.cursor.SetStyle(ipcsValueX);
             r.cursor.SetPointer1Position(r.PercentAtX(4));
         },
         [&](CursorPlot& r) { return x(r, 4); }},
        {"value Y", 1,
         [](CursorPlot& r) {
             r.TwoSamples();
             r.cursor.SetStyle(ipcsValueY);
             r.cursor.SetPointer1Position(r.PercentAtX(4));
         },
         [&](CursorPlot& r) { return y(r, 14); }},
        {"value Y of the scope: the level of pointer 2", 1,
         [](CursorPlot& r) {
             r.TwoSamples();
             r.cursor.SetStyle(ipcsValueY);
             r.cursor.SetScopeStyle(true);
             r.cursor.SetPointer2Position(r.PercentAtY(25));
         },
         [&](CursorPlot& r) { return y(r, yOnPixel(r, 25)); }},
        {"digital high", 1,
         [](CursorPlot& r) {
             r.channel.AddXY(0, 1);
             r.channel.AddXY(10, 0);
             r.channel.SetDigitalEnabled(true);
             r.cursor.SetPointer1Position(r.PercentAtX(4));
         },
         [&](CursorPlot& r) { return x(r, 4) + ", High"; }},
        {"digital low", 1,
         [](CursorPlot& r) {
             r.channel.AddXY(0, 0);
             r.channel.AddXY(10, 1);
             r.channel.SetDigitalEnabled(true);
             r.cursor.SetPointer1Position(r.PercentAtX(4));
         },
         [&](CursorPlot& r) { return x(r, 4) + ", Low"; }},
        {"steps go on at the last level beyond the newest point", 1,
         [](CursorPlot& r) {
             r.TwoSamples();
             r.channel.SetInterpolationStyle(ipistDifferential);
             r.cursor.SetPointer1Position(r.PercentAtX(15));
         },
         [&](CursorPlot& r) { return x(r, 15) + ", " + y(r, 20); }},
        {"terminated steps end at the newest point", 1,
         [](CursorPlot& r) {
             r.TwoSamples();
             r.channel.SetInterpolationStyle(ipistDifferentialTerminated);
             r.cursor.SetPointer1Position(r.PercentAtX(15));
         },
         [&](CursorPlot& r) { return x(r, 15) + ", Null"; }},
        {"a step from a Null point is a gap, not a level of 0", 1,
         [](CursorPlot& r) {
             r.channel.AddXY(0, 10);
             r.channel.AddXNull(5);
             r.channel.AddXY(10, 20);
             r.channel.SetInterpolationStyle(ipistDifferential);
             r.cursor.SetPointer1Position(r.PercentAtX(7));
         },
         [&](CursorPlot& r) { return x(r, 7) + ", Null"; }},
        {"a spline reads the curve its trace drew", 1,
         [](CursorPlot& r) {
             r.TwoSamples();
             r.channel.SetInterpolationStyle(ipistCubicSpline);
             r.cursor.SetPointer1Position(r.PercentAtX(4));
         },
         [&](CursorPlot& r) { return x(r, 4) + ", " + y(r, 14); }},
        {"period", 1,
         [](CursorPlot& r) {
             r.cursor.SetStyle(ipcsDeltaX);
             r.xAxis.SetCursorScaler(2);
             r.cursor.SetPointer1Position(r.PercentAtX(7));
             r.cursor.SetPointer2Position(r.PercentAtX(4));
         },
         [&](CursorPlot& r) { return x(r, 6); }},
        {"peak-peak", 1,
         [](CursorPlot& r) {
             r.cursor.SetStyle(ipcsDeltaY);
             r.cursor.SetPointer1Position(r.PercentAtY(10));
             r.cursor.SetPointer2Position(r.PercentAtY(30));
         },
         [&](CursorPlot& r) { return y(r, std::fabs(yOnPixel(r, 10) - yOnPixel(r, 30))); }},
        {"frequency of no distance", 1,
         [](CursorPlot& r) {
             r.cursor.SetStyle(ipcsInverseDeltaX);
             r.cursor.SetPointer1Position(40);
             r.cursor.SetPointer2Position(40);
         },
         [](CursorPlot&) { return std::string("Infinite"); }},
        {"frequency of 0.02", 0.01,
         [](CursorPlot& r) {
             r.cursor.SetStyle(ipcsInverseDeltaX);
             r.cursor.SetPointer1Position(r.PercentAtX(1.02));
             r.cursor.SetPointer2Position(r.PercentAtX(1));
         },
         [](CursorPlot& r) { return r.xAxis.GetCursorValueText(50); }},
        {"no Y axis", 1,
         [](CursorPlot& r) {
             r.TwoSamples();
             r.channel.SetYAxisName("nowhere");
             r.cursor.SetPointer1Position(r.PercentAtX(4));
         },
         [&](CursorPlot& r) { return x(r, 4) + ", No Y-Axis"; }},
        {"no X axis", 1,
         [](CursorPlot& r) {
             r.TwoSamples();
             r.channel.SetXAxisName("nowhere");
         },
         [](CursorPlot&) { return std::string("No X-Axis"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CursorPlot rig(c.xUnitsPerPixel);
        c.setup(rig);
        rig.Paint();
        EXPECT_EQ(rig.cursor.GetDisplayText(), c.expected(rig));
    }
}

TEST(DataCursorReading, TheChannelKeepsTheReadingAndItsTexts) {
    CursorPlot rig;
    rig.TwoSamples();
    rig.cursor.SetPointer1Position(rig.PercentAtX(4));
    rig.Paint();
    EXPECT_NEAR(rig.channel.GetCursorValueX(), 4, 1e-9);
    EXPECT_NEAR(rig.channel.GetCursorValueY(), 14, 1e-9);
    EXPECT_EQ(rig.channel.GetCursorValueStatus(), ipdpsValid);
    EXPECT_EQ(rig.channel.GetCursorValueXText(), rig.xAxis.GetCursorText(4));
    EXPECT_EQ(rig.channel.GetCursorValueYText(), rig.yAxis.GetCursorText(14));

    // A style without a Y part leaves none behind.
    rig.cursor.SetStyle(ipcsValueX);
    rig.Paint();
    EXPECT_EQ(rig.channel.GetCursorValueYText(), "");
    EXPECT_EQ(rig.channel.GetCursorValueY(), 0);
}

TEST(DataCursorReading, AllChannelsReadAtEveryPaintAndNoHintIsDrawn) {
    CursorPlot rig;
    TPlotChannel& second = *rig.plot.GetChannel(rig.plot.AddChannel());
    CursorPlot::Prepare(second);
    rig.TwoSamples();
    second.AddXY(0, 30);
    second.AddXY(10, 10);
    rig.cursor.SetChannelName("<All>");
    rig.cursor.SetChannelShowAllInLegend(false);  // the legend's reading columns would narrow the view
    rig.cursor.SetPointer1Position(rig.PercentAtX(4));
    rig.Paint();
    EXPECT_FALSE(rig.cursor.GetHintShowing());
    EXPECT_EQ(rig.CountOf(rig.Rgb(clInfoBk), rig.View()), 0);
    EXPECT_NEAR(rig.channel.GetCursorValueY(), 14, 1e-9);
    EXPECT_NEAR(second.GetCursorValueY(), 22, 1e-9);
    EXPECT_NEAR(second.GetCursorValueX(), 4, 1e-9);

    rig.cursor.SetPointer1Position(rig.PercentAtX(5));
    rig.Paint();
    EXPECT_NEAR(rig.channel.GetCursorValueY(), 15, 1e-9);
    EXPECT_NEAR(second.GetCursorValueY(), 20, 1e-9);

    // A hidden cursor still reads: the scope shows the values without showing the cursor.
    rig.cursor.SetVisible(false);
    rig.cursor.SetPointer1Position(rig.PercentAtX(6));
    rig.Paint();
    EXPECT_NEAR(second.GetCursorValueY(), 18, 1e-9);
}

TEST(DataCursorReading, ShowingTheCursorReadsAtOnceAndOnlyChangedReadingsAreReported) {
    CursorPlot rig;
    rig.TwoSamples();
    int changes = 0;
    rig.plot.OnDataCursorChange = [&](int index) {
        EXPECT_EQ(index, 0);
        ++changes;
    };
    rig.cursor.SetVisible(false);
    rig.cursor.SetPointer1Position(rig.PercentAtX(4));
    EXPECT_EQ(changes, 0);  // positions take no reading of their own
    rig.cursor.SetVisible(true);
    EXPECT_EQ(changes, 1);
    EXPECT_NEAR(rig.cursor.GetValueY(), 14, 1e-9);

    rig.Paint();
    rig.Paint();
    EXPECT_EQ(changes, 1);
    rig.cursor.SetPointer1Position(rig.PercentAtX(5));
    rig.Paint();
    EXPECT_EQ(changes, 2);
}

// ---- Drawing -------------------------------------------------------------------------------

TEST(DataCursorDrawing, PointersAndHintAreDrawnInTheirColoursWhereTheMouseFindsThem) {
    CursorPlot rig;
    rig.TwoSamples();
    rig.cursor.SetPointer1Position(rig.PercentAtX(4));
    rig.Paint();
    const TPlotRect view = rig.View();
    const int x = rig.cursor.GetPointer1Pixels();
    EXPECT_EQ(rig.cursor.GetPointer1Rect(), (TPlotRect{x - 5, view.Top, x + 6, view.Bottom}));
    EXPECT_EQ(rig.image.pixel(x, view.Top + 3), rig.Rgb(clLime));  // the channel's colour

    ASSERT_TRUE(rig.cursor.GetHintShowing());
    const TPlotRect hint = rig.cursor.GetHintRect();
    EXPECT_EQ(hint.Left, x + 5);
    EXPECT_EQ((hint.Top + hint.Bottom) / 2, rig.view.PositionPercentToPixelsY(50));
    EXPECT_EQ(rig.image.pixel(hint.Left, hint.Top), rig.Rgb(clLime));  // outline
    EXPECT_GT(rig.CountOf(rig.Rgb(clInfoBk), hint), (hint.Right - hint.Left) * (hint.Bottom - hint.Top) / 3);

    // Without the channel's colour: the cursor's own colour, a black outline.
    rig.cursor.SetUseChannelColor(false);
    rig.cursor.SetColor(clRed);
    rig.Paint();
    EXPECT_EQ(rig.image.pixel(x, view.Top + 3), rig.Rgb(clRed));
    EXPECT_EQ(rig.image.pixel(hint.Left, hint.Top), rig.Rgb(clBlack));

    // Selected: a focus rectangle two pixels outside the box.
    const QImage unselected = rig.image.copy();
    rig.cursor.SetUserSelected(true);
    rig.Paint();
    int changed = 0;
    const int ringRow = hint.Top - 2;
    for (int x = hint.Left - 2; x < hint.Right + 2; ++x)
        changed += rig.image.pixel(x, ringRow) != unselected.pixel(x, ringRow);
    EXPECT_GT(changed, (hint.Right - hint.Left) / 3);
    EXPECT_EQ(rig.image.pixel(hint.Left + 2, hint.Top - 4), unselected.pixel(hint.Left + 2, hint.Top - 4));
}

TEST(DataCursorDrawing, TheHintHidesWithoutAChannelNameOrUntilADragWhenAsked) {
    CursorPlot rig;
    std::string shown;
    rig.plot.OnDataCursorCustomizeHint = [&](int, std::string& text) { shown = text; };
    rig.cursor.SetChannelName("nothing");
    rig.Paint();
    EXPECT_EQ(shown, "No Channel");

    rig.cursor.SetChannelName(rig.channel.GetName());
    rig.cursor.SetHintHideOnRelease(true);
    rig.Paint();
    EXPECT_FALSE(rig.cursor.GetHintShowing());
    const int x = rig.cursor.GetPointer1Pixels();
    rig.Press(x, rig.View().Top + 3);
    rig.Paint();
    EXPECT_TRUE(rig.cursor.GetHintShowing());
    rig.Release(x, rig.View().Top + 3);
    rig.Paint();
    EXPECT_FALSE(rig.cursor.GetHintShowing());
}

TEST(DataCursorDrawing, TheHintGoesWhereItFitsAndStaysInsideTheView) {
    CursorPlot rig;
    rig.TwoSamples();
    std::string longText;
    rig.plot.OnDataCursorCustomizeHint = [&](int, std::string& text) {
        if (!longText.empty()) text = longText;
    };
    const TPlotRect view = rig.View();

    rig.cursor.SetPointer1Position(98);
    rig.Paint();
    int c = rig.cursor.GetPointer1Pixels();
    EXPECT_EQ(rig.cursor.GetHintOrientationSide(), iosTopLeft);
    EXPECT_EQ(rig.cursor.GetHintRect().Right, c - 5);

    rig.cursor.SetPointer1Position(2);
    rig.Paint();
    c = rig.cursor.GetPointer1Pixels();
    EXPECT_EQ(rig.cursor.GetHintOrientationSide(), iosBottomRight);
    EXPECT_EQ(rig.cursor.GetHintRect().Left, c + 5);

    // Wider than either side: back on the right, shifted left into the view.
    rig.canvas.SetFont(rig.cursor.GetFont());
    while (rig.canvas.TextWidth(longText) < (view.Right - view.Left) * 7 / 10) longText += "M";
    rig.cursor.SetHintOrientationSide(iosTopLeft);
    rig.cursor.SetPointer1Position(50);
    rig.Paint();
    EXPECT_EQ(rig.cursor.GetHintOrientationSide(), iosBottomRight);
    EXPECT_EQ(rig.cursor.GetHintRect().Right, view.Right);
    EXPECT_GT(rig.cursor.GetHintRect().Left, view.Left);
    EXPECT_LT(rig.cursor.GetHintRect().Left, rig.cursor.GetPointer1Pixels());
    longText.clear();

    // Beside a horizontal pointer near the bottom: above it; the hint slides along X.
    rig.cursor.SetStyle(ipcsValueY);
    rig.cursor.SetScopeStyle(true);
    rig.cursor.SetPointer2Position(1);
    rig.cursor.SetHintPosition(0);
    rig.Paint();
    c = rig.cursor.GetPointer2Pixels();
    EXPECT_EQ(rig.cursor.GetHintOrientationSide(), iosTopLeft);
    EXPECT_EQ(rig.cursor.GetHintRect().Bottom, c - 5);
    EXPECT_EQ(rig.cursor.GetHintRect().Left, view.Left);  // half of it was left of the view
}

TEST(DataCursorDrawing, DistanceStylesCentreTheHintOnADottedConnector) {
    CursorPlot rig;
    rig.cursor.SetStyle(ipcsDeltaX);
    rig.cursor.SetUseChannelColor(false);
    rig.cursor.SetColor(clRed);
    rig.cursor.SetPointer1Position(20);
    rig.cursor.SetPointer2Position(80);
    rig.Paint();
    const int p1 = rig.cursor.GetPointer1Pixels();
    const int p2 = rig.cursor.GetPointer2Pixels();
    const TPlotRect hint = rig.cursor.GetHintRect();
    EXPECT_NEAR((hint.Left + hint.Right) / 2.0, (p1 + p2) / 2.0, 1);
    const int y = (hint.Top + hint.Bottom) / 2;
    const TPlotRect gap{p1 + 1, y, hint.Left, y + 1};
    const int red = rig.CountOf(rig.Rgb(clRed), gap);
    EXPECT_GT(red, (gap.Right - gap.Left) / 4);
    EXPECT_LT(red, gap.Right - gap.Left);  // dotted, not solid
}

// ---- Mouse ---------------------------------------------------------------------------------

TEST(DataCursorMouse, APressWhereHintAndPointerOverlapDragsTheHint) {
    CursorPlot rig;
    rig.TwoSamples();
    rig.Paint();
    const int x = rig.cursor.GetPointer1Pixels();
    const TPlotRect hint = rig.cursor.GetHintRect();
    const int y = (hint.Top + hint.Bottom) / 2;
    ASSERT_TRUE(rig.cursor.GetPointer1Rect().Contains(x + 5, y));
    ASSERT_TRUE(hint.Contains(x + 5, y));

    rig.Press(x + 5, y);
    rig.MoveTo(x + 40, y - 30);
    EXPECT_EQ(rig.cursor.GetPointer1Position(), 50);
    EXPECT_DOUBLE_EQ(rig.cursor.GetHintPosition(),
                     rig.view.PixelsYToPositionPercent(rig.view.PositionPercentToPixelsY(50) - 30));
    rig.Release(x + 40, y - 30);
    EXPECT_FALSE(rig.cursor.GetDragging());
}

TEST(DataCursorMouse, DraggedPointersFollowTheMouseWithinTheViewAndReadAsTheyGo) {
    CursorPlot rig;
    rig.TwoSamples();
    rig.cursor.SetStyle(ipcsDeltaX);
    rig.cursor.SetPointer1Position(rig.PercentAtX(2));
    rig.Paint();
    const int y = rig.View().Top + 3;
    const int x1 = rig.cursor.GetPointer1Pixels();
    const int x2 = rig.cursor.GetPointer2Pixels();

    // The press keeps its offset from the line.
    rig.Press(x2 + 2, y);
    rig.MoveTo(x2 + 12, y);
    EXPECT_DOUBLE_EQ(rig.cursor.GetPointer2Position(), rig.view.PixelsXToPositionPercent(x2 + 10));
    rig.MoveTo(x2 + 100000, y);
    EXPECT_EQ(rig.cursor.GetPointer2Position(), 100);
    rig.Release(x2, y);

    rig.Press(x1, y);
    rig.MoveTo(x1 + 2, y);
    const double x2Value = rig.xAxis.PixelsToPositionDouble(rig.cursor.GetPointer2Pixels());
    EXPECT_DOUBLE_EQ(rig.cursor.GetValueX(), std::fabs(rig.xAxis.PixelsToPositionDouble(x1 + 2) - x2Value));
    rig.MoveTo(x1 - 100000, y);
    EXPECT_EQ(rig.cursor.GetPointer1Position(), 0);
    rig.Release(x1, y);
}

TEST(DataCursorMouse, AReleaseInsideAfterAPressIsAClick) {
    CursorPlot rig;
    rig.Paint();
    int clicks = 0;
    rig.plot.OnClickDataCursor = [&](int index) {
        EXPECT_EQ(index, 0);
        ++clicks;
    };
    const int x = rig.cursor.GetPointer1Pixels();
    const int y = rig.View().Top + 3;
    rig.Press(x, y);
    rig.Release(x, y);
    EXPECT_EQ(clicks, 1);
    rig.Release(x, y);  // a second release without a press
    EXPECT_EQ(clicks, 1);
    rig.Press(x, y);
    rig.Release(x, y);
    rig.Paint();
    rig.Press(x, y);
    rig.Release(x + 200, y + 3);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(rig.cursor.GetMousePointer(x, y), crHandPoint);
}

// ---- Keys ----------------------------------------------------------------------------------

TEST(DataCursorKeys, KeysStepPointerTwoOrWithCtrlPointerOneAndTheHint) {
    // Steps are pixels of the view along X (sx) or Y (sy); positions start at 50, 50 (hint), 60.
    struct Case {
        TPlotDataCursorStyle style;
        int key;
        bool ctrl;
        double pointer1, hint, pointer2;  // expected change, in steps
        bool stepsAlongY;
    };
    const Case cases[] = {
        // One pointer: nothing without Ctrl.
        {ipcsValueXY, vkLeft, false, 0, 0, 0, false},
        {ipcsValueXY, vkRight, false, 0, 0, 0, false},
        {ipcsValueXY, vkUp, false, 0, 0, 0, true},
        {ipcsValueXY, vkDown, false, 0, 0, 0, true},
        {ipcsValueXY, vkPrior, false, 0, 0, 0, false},
        {ipcsValueXY, vkHome, false, 0, 0, 0, false},
        {ipcsValueXY, vkRight, true, 1, 0, 0, false},
        {ipcsValueXY, vkUp, true, 0, 1, 0, true},
        {ipcsValueXY, vkPrior, true, 5, 0, 0, false},
        {ipcsDeltaX, vkLeft, false, 0, 0, -1, false},
        {ipcsDeltaX, vkUp, false, 0, 0, 0, true},
        {ipcsDeltaX, vkNext, false, 0, 0, -5, false},
        {ipcsDeltaY, vkUp, false, 0, 0, 1, true},
        {ipcsDeltaY, vkRight, false, 0, 0, 0, false},
        {ipcsDeltaY, vkRight, true, 0, 1, 0, false},
        {ipcsDeltaY, vkDown, true, -1, 0, 0, true},
        {ipcsDeltaY, vkPrior, true, 5, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(kPlotDataCursorStyleNames[c.style]) + " key " + std::to_string(c.key) +
                     (c.ctrl ? " with Ctrl" : ""));
        CursorPlot rig;
        rig.cursor.SetStyle(c.style);
        const double sx = rig.view.PixelsXToPositionPercent(101) - rig.view.PixelsXToPositionPercent(100);
        const double sy = rig.view.PixelsYToPositionPercent(100) - rig.view.PixelsYToPositionPercent(101);
        ASSERT_NE(sx, sy);
        const double step = c.stepsAlongY ? sy : sx;
        rig.Key(c.key, c.ctrl ? ssCtrl : 0);
        EXPECT_NEAR(rig.cursor.GetPointer1Position(), 50 + c.pointer1 * step, 1e-9);
        EXPECT_NEAR(rig.cursor.GetHintPosition(), 50 + c.hint * step, 1e-9);
        EXPECT_NEAR(rig.cursor.GetPointer2Position(), 60 + c.pointer2 * step, 1e-9);
    }
}

TEST(DataCursorKeys, HomeEndAndStepsStayWithinTheView) {
    CursorPlot rig;
    rig.cursor.SetStyle(ipcsDeltaX);
    rig.Key(vkEnd, 0);
    EXPECT_EQ(rig.cursor.GetPointer2Position(), 100);
    rig.Key(vkRight, 0);
    EXPECT_EQ(rig.cursor.GetPointer2Position(), 100);
    rig.Key(vkHome, ssCtrl);
    EXPECT_EQ(rig.cursor.GetPointer1Position(), 0);
    rig.Key(vkNext, ssCtrl);
    EXPECT_EQ(rig.cursor.GetPointer1Position(), 0);
    rig.Key(vkEnd, ssCtrl);
    EXPECT_EQ(rig.cursor.GetPointer1Position(), 100);
}

// ---- Selection -----------------------------------------------------------------------------

TEST(DataCursorSelection, TheCursorSelectsItsChannelAndFollowsAnotherClickedOne) {
    CursorPlot rig;
    TPlotChannel& second = *rig.plot.GetChannel(rig.plot.AddChannel());
    int gotFocus = 0;
    rig.plot.OnGotFocusDataCursor = [&](int) { ++gotFocus; };

    rig.cursor.SetUserSelected(true);
    EXPECT_EQ(gotFocus, 1);
    EXPECT_TRUE(rig.channel.GetUserSelected());
    EXPECT_TRUE(rig.cursor.GetUserSelected());  // its own channel does not take it away

    second.SetUserSelected(true);
    EXPECT_TRUE(rig.cursor.GetUserSelected());
    EXPECT_EQ(rig.cursor.GetChannelName(), second.GetName());

    rig.view.SetUserSelected(true);
    EXPECT_FALSE(rig.cursor.GetUserSelected());

    // Not selected: a clicked channel leaves the cursor on its channel.
    rig.channel.SetUserSelected(true);
    EXPECT_EQ(rig.cursor.GetChannelName(), second.GetName());
    EXPECT_FALSE(rig.cursor.GetUserSelected());
}

// ---- Pop-up menu ---------------------------------------------------------------------------

TEST(DataCursorMenu, TheMenuOffersChannelsStylesOptionsAndTheCommonItemsLast) {
    CursorPlot rig;
    TPlotChannel& second = *rig.plot.GetChannel(rig.plot.AddChannel());
    TPlotChannel& hidden = *rig.plot.GetChannel(rig.plot.AddChannel());
    rig.channel.SetTitleText("Temp\r\nC");
    second.SetTitleText("Volts");
    hidden.SetTitleText("Hidden");
    hidden.SetVisible(false);
    rig.cursor.SetMenuItemVisibleDeltaY(false);
    rig.cursor.SetMenuItemCaptionDeltaX("Span");
    TPlotPopupMenu menu;
    rig.cursor.AddMenuItems(menu);

    EXPECT_EQ(Captions(menu.Items()),
              (std::vector<std::string>{"Channel", "Style", "Options", "Flip Alignment", "Edit..."}));
    const TPlotMenuItem& channels = *Find(menu.Items(), "Channel");
    EXPECT_EQ(Captions(channels.Items), (std::vector<std::string>{"<All>", "TempC", "Volts"}));
    EXPECT_FALSE(channels.Items[0].Checked);
    EXPECT_TRUE(channels.Items[1].Checked);
    const TPlotMenuItem& styles = *Find(menu.Items(), "Style");
    EXPECT_EQ(Captions(styles.Items),
              (std::vector<std::string>{"Value X-Y", "Value X", "Value Y", "Span", "Peak-Peak", "Frequency"}));
    EXPECT_TRUE(styles.Items[0].Checked);
    EXPECT_FALSE(styles.Items[4].Visible);
    EXPECT_TRUE(styles.Items[3].Visible);
    EXPECT_TRUE(Find(menu.Items(), "Flip Alignment")->Enabled);

    // Clicks.
    Find(channels.Items, "Volts")->OnClick();
    EXPECT_EQ(rig.cursor.GetChannelName(), second.GetName());
    EXPECT_TRUE(second.GetUserSelected());
    Find(styles.Items, "Span")->OnClick();
    EXPECT_EQ(rig.cursor.GetStyle(), ipcsDeltaX);
    const TPlotMenuItem& options = *Find(menu.Items(), "Options");
    EXPECT_TRUE(Find(options.Items, "Use Channel Color")->Checked);
    Find(options.Items, "Use Channel Color")->OnClick();
    EXPECT_FALSE(rig.cursor.GetUseChannelColor());
    Find(options.Items, "Hide Hint On Release")->OnClick();
    EXPECT_TRUE(rig.cursor.GetHintHideOnRelease());
    Find(menu.Items(), "Flip Alignment")->OnClick();
    EXPECT_EQ(rig.cursor.GetHintOrientationSide(), iosTopLeft);
    channels.Items[0].OnClick();
    EXPECT_EQ(rig.cursor.GetChannelName(), "<All>");
    EXPECT_FALSE(second.GetUserSelected());

    // Flip Alignment only for a value style on one channel; "<All>" in any letter case.
    struct Case {
        TPlotDataCursorStyle style;
        const char* channel;
        bool enabled;
    };
    for (const Case& c : {Case{ipcsValueY, "Channel 1", true}, Case{ipcsValueX, "<all>", false},
                          Case{ipcsDeltaX, "Channel 1", false}, Case{ipcsInverseDeltaX, "Channel 1", false}}) {
        rig.cursor.SetStyle(c.style);
        rig.cursor.SetChannelName(c.channel);
        rig.cursor.AddMenuItems(menu);
        EXPECT_EQ(Find(menu.Items(), "Flip Alignment")->Enabled, c.enabled) << c.channel << " " << c.style;
    }

    // Without "<All>", the options and editing.
    rig.cursor.SetChannelAllowAll(false);
    rig.cursor.SetMenuUserCanChangeOptions(false);
    rig.cursor.SetUserCanEdit(false);
    rig.cursor.AddMenuItems(menu);
    EXPECT_EQ(Captions(menu.Items()), (std::vector<std::string>{"Channel", "Style", "Flip Alignment"}));
    EXPECT_EQ(Captions(Find(menu.Items(), "Channel")->Items), (std::vector<std::string>{"TempC", "Volts"}));
}

TEST(DataCursorMenu, RemovingTheChannelLeavesTheCursorWithoutOneAndARenameIsFollowed) {
    CursorPlot rig;
    rig.channel.SetName("Probe");
    EXPECT_EQ(rig.cursor.GetChannelName(), "Probe");
    std::string shown;
    rig.plot.OnDataCursorCustomizeHint = [&](int, std::string& text) { shown = text; };
    rig.plot.DeleteChannel(0);
    rig.Paint();
    EXPECT_EQ(rig.cursor.GetChannel(), nullptr);
    EXPECT_EQ(shown, "No Channel");
}
