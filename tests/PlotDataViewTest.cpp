// The data view: background, grid, frame, selection and zoom box pixel by pixel, its percent
// positions and its mode.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "PixelProbe.h"
#include "PlotErrors.h"
#include "plot/axes/PlotAxis.h"
#include "plot/component/Plot.h"
#include "plot/qt/QtCanvas.h"
#include "plot/views/PlotDataView.h"
#include "plot/views/PlotToolBar.h"

using namespace ondrix;

namespace {

constexpr int kWidth = 660;
constexpr int kHeight = 440;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr TColor kScopeGrid = ColorFromRgb(0x003100);
constexpr QRgb kScopeGridRgb = 0xFF003100;
// 600 x 400 pixels inside the frame; the frame lies on Left..Right and Top..Bottom inclusive.
constexpr TPlotRect kView{20, 10, 620, 410};

// A pixel mask of the image's size.
struct Mask {
    std::vector<bool> bits = std::vector<bool>(kWidth * kHeight, false);
    void Set(int x, int y) { bits[y * kWidth + x] = true; }
    bool operator()(int x, int y) const { return bits[y * kWidth + x]; }
    void Column(int x, int top, int bottom) {
        for (int y = top; y <= bottom; ++y) Set(x, y);
    }
    void Row(int y, int left, int right) {
        for (int x = left; x <= right; ++x) Set(x, y);
    }
    void Frame(const TPlotRect& r) {
        Column(r.Left, r.Top, r.Bottom);
        Column(r.Right, r.Top, r.Bottom);
        Row(r.Top, r.Left, r.Right);
        Row(r.Bottom, r.Left, r.Right);
    }
};

// Where the image differs from "ink exactly on the mask, background elsewhere"; -1 when nowhere.
std::string FirstMismatch(const QImage& image, const Mask& mask, QRgb ink, QRgb background) {
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (image.pixel(x, y) != (mask(x, y) ? ink : background))
                return "(" + std::to_string(x) + "," + std::to_string(y) + ")";
    return "none";
}

std::vector<int> MajorPixels(const TPlotAxis& axis) {
    std::vector<int> pixels;
    for (const TPlotTickObject& tick : axis.GetTickList())
        if (tick.Visible && tick.Style == ipttMajor) pixels.push_back(tick.Pixel);
    return pixels;
}

bool HasVisibleMinor(const TPlotAxis& axis) {
    for (const TPlotTickObject& tick : axis.GetTickList())
        if (tick.Visible && tick.Style == ipttMinor) return true;
    return false;
}

// The scope's data view over its axes: X 0..50000 across the view, two Y axes -40000..40000
// (their lines coincide) and a third Y axis 0..7 with ticks of its own, all on black.
struct DataViewTest : ::testing::Test {
    TPlot plot;
    TPlotDataView& view = *plot.GetDataView(0);
    TPlotXAxis& xAxis = *plot.GetXAxis(0);
    TPlotYAxis& yAxis = *plot.GetYAxis(0);
    TPlotYAxis& yAxis2 = *plot.GetYAxis(plot.AddYAxis());
    TPlotYAxis& yAxis3 = *plot.GetYAxis(plot.AddYAxis());
    QImage image{kWidth, kHeight, QImage::Format_RGB32};
    QtCanvas canvas{image};

    void SetUp() override {
        image.fill(kBlack);
        view.SetDrawRect(kView);
        view.SetGridXAxisName("<All>");
        view.SetGridYAxisName("<All>");
        view.SetGridLineColor(kScopeGrid);
        view.SetGridLineXMajorStyle(ipglsDot);  // not custom: has no effect
        Place(xAxis, 0, 50000, TPlotRect{kView.Left, kView.Bottom, kView.Right, kView.Bottom});
        Place(yAxis, -40000, 80000, TPlotRect{kView.Left, kView.Top, kView.Left, kView.Bottom});
        Place(yAxis2, -40000, 80000, TPlotRect{kView.Left, kView.Top, kView.Left, kView.Bottom});
        Place(yAxis3, 0, 7, TPlotRect{kView.Right, kView.Top, kView.Right, kView.Bottom});
    }
    void Place(TPlotAxis& axis, double min, double span, const TPlotRect& rect) {
        axis.SetTrackingEnabled(false);
        axis.SetMinSpan(min, span);
        axis.SetDrawRect(rect);
        axis.CalcTicks(TCanvasTextMeasure(canvas));
    }
    void Draw() { view.Draw(canvas, clBlack); }
    // The frame plus the major lines of the given axes.
    static Mask GridOf(std::initializer_list<const TPlotAxis*> xAxes, std::initializer_list<const TPlotAxis*> yAxes) {
        Mask mask;
        for (const TPlotAxis* axis : xAxes)
            for (int x : MajorPixels(*axis))
                if (x < kView.Right) mask.Column(x, kView.Top, kView.Bottom - 1);
        for (const TPlotAxis* axis : yAxes)
            for (int y : MajorPixels(*axis))
                if (y < kView.Bottom) mask.Row(y, kView.Left, kView.Right - 1);
        mask.Frame(kView);
        return mask;
    }
};

}  // namespace

// ---- Geometry the tests rely on --------------------------------------------------------------

TEST_F(DataViewTest, TheAxesSpanTheViewAndHaveMajorAndMinorTicks) {
    EXPECT_EQ(xAxis.PositionToPixels(0), kView.Left);
    EXPECT_EQ(xAxis.PositionToPixels(50000), kView.Right);
    EXPECT_EQ(yAxis.PositionToPixels(-40000), kView.Bottom);
    EXPECT_EQ(yAxis.PositionToPixels(40000), kView.Top);
    for (const TPlotAxis* axis : {static_cast<TPlotAxis*>(&xAxis), static_cast<TPlotAxis*>(&yAxis),
                                  static_cast<TPlotAxis*>(&yAxis3)}) {
        EXPECT_GE(MajorPixels(*axis).size(), 3u);
        EXPECT_TRUE(HasVisibleMinor(*axis));
    }
    EXPECT_NE(MajorPixels(yAxis), MajorPixels(yAxis3));
}

// ---- Grid --------------------------------------------------------------------------------------

TEST_F(DataViewTest, TheScopeGridDrawsEveryAxisMajorLinesInItsGreenAndNothingOutside) {
    Draw();
    EXPECT_EQ(FirstMismatch(image, GridOf({&xAxis}, {&yAxis, &yAxis2, &yAxis3}), kScopeGridRgb, kBlack), "none");
    EXPECT_EQ(test::InkBox(image, kBlack), (TPlotRect{kView.Left, kView.Top, kView.Right + 1, kView.Bottom + 1}));
}

TEST_F(DataViewTest, AllIsMatchedWithoutRegardToCase) {
    view.SetGridXAxisName("<all>");
    view.SetGridYAxisName("<ALL>");
    Draw();
    EXPECT_EQ(FirstMismatch(image, GridOf({&xAxis}, {&yAxis, &yAxis2, &yAxis3}), kScopeGridRgb, kBlack), "none");
}

TEST_F(DataViewTest, ANamedGridAxisDrawsOnlyItsOwnLines) {
    view.SetGridYAxisName(yAxis3.GetName());
    Draw();
    EXPECT_EQ(FirstMismatch(image, GridOf({&xAxis}, {&yAxis3}), kScopeGridRgb, kBlack), "none");
}

TEST_F(DataViewTest, AMissingGridAxisDrawsNoLinesForItsDirectionUntilOneBearsTheName) {
    view.SetGridYAxisName("Later");
    Draw();
    EXPECT_EQ(FirstMismatch(image, GridOf({&xAxis}, {}), kScopeGridRgb, kBlack), "none");

    yAxis3.SetName("Later");
    image.fill(kBlack);
    Draw();
    EXPECT_EQ(FirstMismatch(image, GridOf({&xAxis}, {&yAxis3}), kScopeGridRgb, kBlack), "none");
}

TEST_F(DataViewTest, DeletingTheGridAxisDropsItsLinesAndRenamingKeepsThem) {
    view.SetGridYAxisName(yAxis3.GetName());
    EXPECT_EQ(view.GetGridYAxis(), &yAxis3);
    yAxis3.SetName("Volts");
    EXPECT_EQ(view.GetGridYAxisName(), "Volts");
    Draw();
    EXPECT_EQ(FirstMismatch(image, GridOf({&xAxis}, {&yAxis3}), kScopeGridRgb, kBlack), "none");

    plot.DeleteYAxis(2);
    EXPECT_EQ(view.GetGridYAxis(), nullptr);
    image.fill(kBlack);
    Draw();
    EXPECT_EQ(FirstMismatch(image, GridOf({&xAxis}, {}), kScopeGridRgb, kBlack), "none");
}

TEST_F(DataViewTest, MinorLinesUseTheirOwnAttributesWhenCustom) {
    constexpr TColor kMinor = ColorFromRgb(0xFF0000);
    view.SetGridYAxisName("none");
    view.SetGridLineShowXMajors(false);
    view.SetGridLineShowXMinors(true);
    view.SetGridLineXMinorCustom(true);
    view.SetGridLineXMinorColor(kMinor);
    view.SetGridShow(true);
    Draw();
    int minorColumns = 0;
    for (const TPlotTickObject& tick : xAxis.GetTickList()) {
        if (!tick.Visible || tick.Pixel >= kView.Right || tick.Pixel == kView.Left) continue;
        const QRgb expected = tick.Style == ipttMinor ? 0xFFFF0000 : kBlack;
        minorColumns += tick.Style == ipttMinor;
        for (int y = kView.Top + 1; y < kView.Bottom; ++y)
            ASSERT_EQ(image.pixel(tick.Pixel, y), expected) << tick.Pixel << "," << y;
    }
    EXPECT_GE(minorColumns, 3);
}

TEST_F(DataViewTest, GridShowOffDrawsNothing) {
    view.SetGridShow(false);
    Draw();
    EXPECT_EQ(test::InkCount(image, kBlack), 0);
}

// ---- Frame, background, selection ------------------------------------------------------------

TEST_F(DataViewTest, EachFrameEdgeCoversItsPixelsAndTheBottomOneTheCorner) {
    struct Case {
        const char* edge;
        std::function<void(TPlotDataView&)> only;
        std::function<void(Mask&)> pixels;
    } cases[] = {
        {"left", [](TPlotDataView& v) { v.SetGridLineShowLeft(true); },
         [](Mask& m) { m.Column(kView.Left, kView.Top, kView.Bottom - 1); }},
        {"right", [](TPlotDataView& v) { v.SetGridLineShowRight(true); },
         [](Mask& m) { m.Column(kView.Right, kView.Top, kView.Bottom - 1); }},
        {"top", [](TPlotDataView& v) { v.SetGridLineShowTop(true); },
         [](Mask& m) { m.Row(kView.Top, kView.Left, kView.Right - 1); }},
        {"bottom", [](TPlotDataView& v) { v.SetGridLineShowBottom(true); },
         [](Mask& m) { m.Row(kView.Bottom, kView.Left, kView.Right); }},
    };
    view.SetGridLineShowXMajors(false);
    view.SetGridLineShowYMajors(false);
    for (const Case& c : cases) {
        view.SetGridLineShowLeft(false);
        view.SetGridLineShowTop(false);
        view.SetGridLineShowRight(false);
        view.SetGridLineShowBottom(false);
        c.only(view);
        image.fill(kBlack);
        Draw();
        Mask expected;
        c.pixels(expected);
        EXPECT_EQ(FirstMismatch(image, expected, kScopeGridRgb, kBlack), "none") << c.edge;
    }
}

TEST_F(DataViewTest, WithoutEdgesOnlyTheTickLinesAreDrawn) {
    view.SetGridLineShowLeft(false);
    view.SetGridLineShowTop(false);
    view.SetGridLineShowRight(false);
    view.SetGridLineShowBottom(false);
    Draw();
    const std::vector<int> rows = MajorPixels(yAxis3);
    for (int y = kView.Top + 1; y < kView.Bottom; ++y) {
        if (std::find(rows.begin(), rows.end(), y) == rows.end()) {
            EXPECT_EQ(image.pixel(kView.Right, y), kBlack) << y;
        }
    }
    EXPECT_EQ(image.pixel(kView.Right, kView.Bottom), kBlack);
    EXPECT_EQ(image.pixel(MajorPixels(xAxis)[1], kView.Top + 1), kScopeGridRgb);
}

TEST_F(DataViewTest, AnOpaqueBackgroundFillsTheDrawRectAndATransparentOneNothing) {
    view.DrawBackground(canvas);
    EXPECT_EQ(test::InkCount(image, kBlack), 0);

    view.SetBackgroundTransparent(false);
    EXPECT_EQ(view.GetBackgroundColor(), clTeal);
    view.DrawBackground(canvas);
    EXPECT_EQ(test::InkBox(image, kBlack), kView);
    EXPECT_EQ(test::InkCount(image, kBlack), 600 * 400);
    EXPECT_EQ(image.pixel(kView.Left, kView.Top), 0xFF008080u);

    // The frame then lies on the fill's edges, and one past them on the right and bottom.
    Draw();
    EXPECT_EQ(image.pixel(kView.Left, kView.Top), kScopeGridRgb);
    EXPECT_EQ(image.pixel(kView.Right, kView.Bottom), kScopeGridRgb);
    EXPECT_EQ(image.pixel(kView.Left + 1, kView.Top + 1), 0xFF008080u);
}

TEST_F(DataViewTest, ASelectedViewReplacesItsFrameByADottedFocusRectangle) {
    view.SetUserSelected(true);
    Draw();
    const struct {
        int x, y;
        QRgb colour;
    } pixels[] = {
        {kView.Left, kView.Top, kWhite},          {kView.Left + 1, kView.Top, kBlack},
        {kView.Left, kView.Top + 1, kBlack},      {kView.Left + 2, kView.Top, kWhite},
        {kView.Right, kView.Bottom, kWhite},      {kView.Right - 1, kView.Bottom, kBlack},
        {kView.Right, kView.Top, kWhite},         {kView.Left, kView.Bottom, kWhite},
        {kView.Right + 1, kView.Bottom + 1, kBlack},
    };
    for (const auto& p : pixels) EXPECT_EQ(image.pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
    // The tick lines inside stay.
    EXPECT_EQ(image.pixel(MajorPixels(xAxis)[1], kView.Top + 1), kScopeGridRgb);

    // Selecting another object deselects the view.
    xAxis.SetUserSelected(true);
    EXPECT_FALSE(view.GetUserSelected());
}

TEST_F(DataViewTest, TheZoomBoxIsADottedInversionThatASecondDrawingErases) {
    Draw();
    const QImage before = image.copy();
    view.SetZoomBox(TPlotRect{300, 200, 100, 50});  // dragged up and to the left
    view.DrawZoomBox(canvas);
    int changed = 0;
    TPlotRect box{kWidth, kHeight, 0, 0};
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (image.pixel(x, y) != before.pixel(x, y)) {
                ++changed;
                box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                       std::max(box.Bottom, y + 1)};
            }
    EXPECT_EQ(box, (TPlotRect{100, 50, 300, 200}));
    EXPECT_EQ(changed, (2 * 200 + 2 * 150 - 4) / 2);  // every other pixel of a 200 x 150 ring
    view.DrawZoomBox(canvas);
    EXPECT_EQ(image, before);

    view.EndZoomBox();
    view.DrawZoomBox(canvas);
    EXPECT_EQ(image, before);
}

// ---- Mode ---------------------------------------------------------------------------------------

TEST_F(DataViewTest, ModeFollowsToolBarZeroThenAxisControl) {
    struct Case {
        bool select, axesControl;
        TPlotDataViewMode mode;
    } cases[] = {
        {false, false, ipdvmNone},
        {false, true, ipdvmScrollZoom},
        {true, true, ipdvmSelect},
        {true, false, ipdvmSelect},
    };
    for (const Case& c : cases) {
        plot.SetSelectModeActive(c.select);
        view.SetAxesControlEnabled(c.axesControl);
        EXPECT_EQ(view.GetMode(), c.mode) << c.select << c.axesControl;
    }
    plot.DeleteToolBar(0);
    EXPECT_EQ(test::ErrorOf([&] { view.GetMode(); }), "List index out of bounds (0)");
}

// ---- Percent positions --------------------------------------------------------------------------

TEST(DataViewPercent, PixelsAndPercentMapBothWaysWithTiesToEven) {
    TPlot plot;
    TPlotDataView& view = *plot.GetDataView(0);
    struct Case {
        TPlotRect rect;
        double percent;
        int x, y;
    } cases[] = {
        {{0, 0, 101, 101}, 50, 50, 50},      // 50.5 rounds to even
        {{1, 1, 102, 102}, 50, 52, 52},      // 51.5 rounds to even
        {{0, 0, 101, 101}, 0, 0, 101},       // 0 % is the left and the bottom edge
        {{0, 0, 101, 101}, 100, 101, 0},     // 100 % the right and the top edge
        {{20, 10, 620, 410}, 25, 170, 310},  //
        {{20, 10, 620, 410}, -10, -40, 450}, // beyond the edges is fine
        {{20, 10, 620, 410}, NAN, 20, 410},  // no number counts as 0 %
        {{20, 10, 620, 410}, 1e300, 2147483647, -2147483648},
    };
    for (const Case& c : cases) {
        view.SetDrawRect(c.rect);
        EXPECT_EQ(view.PositionPercentToPixelsX(c.percent), c.x) << c.percent;
        EXPECT_EQ(view.PositionPercentToPixelsY(c.percent), c.y) << c.percent;
    }
    view.SetDrawRect({20, 10, 620, 410});
    EXPECT_EQ(view.PixelsXToPositionPercent(20), 0.0);
    EXPECT_EQ(view.PixelsXToPositionPercent(620), 100.0);
    EXPECT_EQ(view.PixelsXToPositionPercent(170), 25.0);
    EXPECT_EQ(view.PixelsYToPositionPercent(410), 0.0);
    EXPECT_EQ(view.PixelsYToPositionPercent(10), 100.0);
    EXPECT_EQ(view.PixelsYToPositionPercent(310), 25.0);
}

TEST(DataViewPercent, AViewOfNoExtentMapsEveryPixelToZeroPercent) {
    TPlot plot;
    TPlotDataView& view = *plot.GetDataView(0);
    view.SetDrawRect({30, 40, 30, 40});
    for (int pixel : {29, 30, 31}) {
        EXPECT_EQ(view.PixelsXToPositionPercent(pixel), 0.0);
        EXPECT_EQ(view.PixelsYToPositionPercent(pixel + 10), 0.0);
    }
    EXPECT_EQ(view.PositionPercentToPixelsX(50), 30);
    EXPECT_EQ(view.PositionPercentToPixelsY(50), 40);
}
