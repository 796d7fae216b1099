// The component frame: the screen paint with its error screen, the paint pass's order and clip,
// painting into another device, the background gradient, the title label and the timer.

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "plot/axes/PlotAxis.h"
#include "plot/component/Plot.h"
#include "plot/qt/QtCanvas.h"
#include "plot/views/PlotDataView.h"
#include "plot/views/PlotLabel.h"
#include "tests/PixelProbe.h"
#include "workbench/ScopePlotConfiguration.h"

using namespace ondrix;

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kGrid = 0xFF003100;
constexpr QRgb kRed = 0xFFFF0000;

QRgb Rgb(TColor color) { return ToQColor(color).rgb(); }

// The screen paint onto a window-sized image, as the host does it.
QImage PaintOnScreen(TComponentBase& component) {
    QImage window(component.GetWidth(), component.GetHeight(), QImage::Format_RGB32);
    window.fill(Qt::white);
    QtCanvas canvas(window);
    component.Paint(canvas);
    return window;
}

struct ScopePaint : ::testing::Test {
    void SetUp() override {
        ConfigureScopePlot(plot);
        plot.SetBounds(1024, 560);
        plot.SetSurfaceFactory(std::make_shared<QtSurfaceFactory>());
    }
    TPlotRect View() const { return plot.GetDataView(0)->GetDrawRect(); }

    TPlot plot;
};

}  // namespace

// ---- Screen paint --------------------------------------------------------------------------

TEST_F(ScopePaint, ThePassDrawsTheBlackBackgroundTheSunkenBorderAndTheGridInsideTheDataView) {
    const QImage image = PaintOnScreen(plot);
    const TPlotRect view = View();
    ASSERT_GT(view.Right - view.Left, 500);
    ASSERT_GT(view.Bottom - view.Top, 300);

    // The sunken bevel: shadow on the outer top-left ring, highlight on the outer bottom-right.
    EXPECT_EQ(image.pixel(0, 100), Rgb(DesktopSystemColor(SystemColorRole::Shadow)));
    EXPECT_EQ(image.pixel(1023, 100), Rgb(DesktopSystemColor(SystemColorRole::Highlight)));
    EXPECT_EQ(image.pixel(3, 3), kBlack);

    // Every major tick of the X axis has a grid column, and the grid stays inside the view.
    int gridColumns = 0;
    const int middle = (view.Top + view.Bottom) / 2;
    for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, middle) == kGrid) {
            ++gridColumns;
            EXPECT_GE(x, view.Left);
            EXPECT_LE(x, view.Right);
        }
    EXPECT_GE(gridColumns, 4);
    for (int y = 0; y < view.Top; ++y) EXPECT_NE(image.pixel((view.Left + view.Right) / 2, y), kGrid) << y;
}

TEST_F(ScopePaint, ChannelZeroIsPaintedOnTopOfTheOthersOnTheSameLayer) {
    for (int c = 0; c < 4; ++c)
        for (int i = 0; i < 100; ++i) plot.GetChannel(c)->AddXY(i, 0);
    const QImage image = PaintOnScreen(plot);
    const TPlotRect view = View();
    const int y = plot.GetYAxis(0)->PositionToPixels(0);
    const int x = plot.GetXAxis(0)->PositionToPixels(50);
    ASSERT_GT(x, view.Left);
    EXPECT_EQ(image.pixel(x, y), kRed);
}

TEST_F(ScopePaint, NothingOfATraceOrItsMarkersLandsOutsideTheDataView) {
    TPlotChannel& channel = *plot.GetChannel(0);
    channel.SetMarkersVisible(true);
    channel.SetMarkersSize(30);
    channel.SetMarkersStyle(ipmsSquare);
    channel.AddXY(0, 39999);
    channel.AddXY(1, -39999);
    const QImage image = PaintOnScreen(plot);
    const TPlotRect view = View();
    // The squares of 61 px around points on the view's top and bottom edges would reach past them.
    const int x = plot.GetXAxis(0)->PositionToPixels(0);
    for (int y = 0; y < image.height(); ++y)
        if (y < view.Top || y > view.Bottom) {
            EXPECT_NE(image.pixel(x, y), kRed) << y;
        }
    EXPECT_EQ(image.pixel(x, view.Top + 2), kRed);
}

TEST_F(ScopePaint, APlotWithoutToolbarPaintsNothingNotEvenItsBackground) {
    plot.RemoveAllToolBars();
    const QImage image = PaintOnScreen(plot);
    EXPECT_EQ(test::InkCount(image, kWhite), 0);
}

namespace {

// Fails the first `failures` passes, with the plot's own error or with a fault, then paints like
// a plot.
class FailingPlot : public TPlot {
public:
    int failures = 1;
    bool fault = false;
    void iPaintTo(TCanvas& canvas) override {
        if (failures-- > 0) {
            if (fault) throw std::runtime_error("broken");
            throw EPlotError("Index out of Bounds");
        }
        TPlot::iPaintTo(canvas);
    }
};

}  // namespace

TEST(ErrorScreen, AFailingPassShowsItsMessageInWhiteOnBlackAndTheNextPaintTriesAgain) {
    FailingPlot plot;
    plot.SetBounds(300, 120);
    plot.SetSurfaceFactory(std::make_shared<QtSurfaceFactory>());

    const QImage failed = PaintOnScreen(plot);
    EXPECT_EQ(failed.pixel(299, 119), kBlack);
    const TPlotRect text = test::InkBox(failed, kBlack);
    EXPECT_LT(text.Left, 5);  // top-left corner
    EXPECT_LT(text.Top, 8);
    EXPECT_LT(text.Bottom, 30);
    EXPECT_GT(text.Right, 60);
    bool white = false;
    for (int y = text.Top; y < text.Bottom; ++y)
        for (int x = text.Left; x < text.Right; ++x) white |= failed.pixel(x, y) == kWhite;
    EXPECT_TRUE(white);

    // The plot paints again, with its lowered border where the message was.
    const QImage painted = PaintOnScreen(plot);
    EXPECT_EQ(painted.pixel(0, 0), Rgb(DesktopSystemColor(SystemColorRole::Shadow)));
    EXPECT_EQ(painted.pixel(150, 72), kBlack);  // inside the data view, below the toolbar and title
}

// The plot's own errors are shown; a fault is shown too, and reported once.
TEST(ErrorScreen, OnlyAFaultIsReported) {
    for (const bool fault : {false, true}) {
        FailingPlot plot;
        plot.fault = fault;
        plot.SetBounds(300, 120);
        plot.SetSurfaceFactory(std::make_shared<QtSurfaceFactory>());
        std::vector<std::string> reports;
        plot.OnUnexpectedError = [&reports](const std::string& source, const std::exception& error) {
            reports.push_back(source + ": " + error.what());
        };
        const QImage failed = PaintOnScreen(plot);
        EXPECT_EQ(failed.pixel(299, 119), kBlack) << "the error screen";
        EXPECT_EQ(reports, fault ? std::vector<std::string>{"the paint pass: broken"} : std::vector<std::string>{});
    }
}

TEST(ErrorScreen, AMessageTooLongForOneLineWrapsInsideTheClientArea) {
    struct LongMessagePlot : TPlot {
        void iPaintTo(TCanvas&) override { throw EPlotError("Pixel List XPixel out of Range while painting"); }
    } wrapping;
    wrapping.SetBounds(120, 200);
    wrapping.SetSurfaceFactory(std::make_shared<QtSurfaceFactory>());
    const TPlotRect text = test::InkBox(PaintOnScreen(wrapping), kBlack);
    EXPECT_LE(text.Right, 120);
    EXPECT_GT(text.Bottom - text.Top, 25);  // more than one line
}

// ---- Painting into another device ----------------------------------------------------------

TEST_F(ScopePaint, PaintingIntoADeviceAtAnOffsetShiftsThePlotAndStaysInsideItsBox) {
    plot.SetBounds(200, 150);
    QImage page(400, 300, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QtCanvas canvas(page);
        plot.iPaintToDC(canvas, 50, 40, false);
        // The device's state is restored: the clip no longer limits drawing.
        canvas.SetBrush(TPlotBrush{clRed, bsSolid});
        canvas.FillRect({390, 290, 400, 300});
    }
    EXPECT_EQ(test::InkBox(page, kWhite).Left, 50);
    EXPECT_EQ(test::InkBox(page, kWhite).Top, 40);
    EXPECT_EQ(page.pixel(249, 189), Rgb(DesktopSystemColor(SystemColorRole::Highlight)));  // bevel's far corner
    EXPECT_EQ(page.pixel(250, 100), kWhite);
    EXPECT_EQ(page.pixel(399, 299), kRed);
    EXPECT_TRUE(plot.GetCachedDrawing());
}

TEST_F(ScopePaint, ADeviceThatKeepsItsBackgroundShowsItBehindThePlot) {
    plot.SetBounds(200, 150);
    QImage page(200, 150, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QtCanvas canvas(page);
        plot.iPaintToDC(canvas, 0, 0, true);
    }
    EXPECT_EQ(page.pixel(3, 3), kWhite);
    EXPECT_EQ(page.pixel(0, 0), Rgb(DesktopSystemColor(SystemColorRole::Shadow)));  // the border still frames it
}

TEST_F(ScopePaint, ReCalcLayoutPlacesTheObjectsWithoutAWindow) {
    plot.GetDataView(0)->SetDrawRect({});
    plot.ReCalcLayout();
    EXPECT_GT(View().Right - View().Left, 500);
}

// ---- Gradient ------------------------------------------------------------------------------

TEST(Gradient, ColoursRunLinearlyFromStartToStopRoundingTiesToEven) {
    struct Case {
        TFillDirection direction;
        int firstX, firstY, lastX, lastY;  // the pixels of the start and the stop colour
    } cases[] = {
        {ifdTopBottom, 0, 0, 0, 4}, {ifdBottomTop, 0, 4, 0, 0},
        {ifdLeftRight, 0, 0, 4, 0}, {ifdRightLeft, 4, 0, 0, 0},
        {ifdTopLeftBottomRight, 0, 0, 4, 4}, {ifdBottomRightTopLeft, 4, 4, 0, 0},
    };
    const TColor start = ColorFromRgb(0x000000);
    const TColor stop = ColorFromRgb(0x0A0A0A);
    for (const Case& c : cases) {
        QImage image(5, 5, QImage::Format_RGB32);
        image.fill(Qt::white);
        QtCanvas canvas(image);
        TPlotComponent::DrawGradientDirection(canvas, {0, 0, 5, 5}, start, stop, c.direction);
        EXPECT_EQ(image.pixel(c.firstX, c.firstY), 0xFF000000) << c.direction;
        EXPECT_EQ(image.pixel(c.lastX, c.lastY), 0xFF0A0A0A) << c.direction;
        EXPECT_EQ(test::InkCount(image, kWhite), 25) << c.direction;
    }
    // Five lines from 0 to 10: 0, 2.5, 5, 7.5, 10 round to 0, 2, 5, 8, 10.
    QImage image(1, 5, QImage::Format_RGB32);
    QtCanvas canvas(image);
    TPlotComponent::DrawGradientDirection(canvas, {0, 0, 1, 5}, start, stop, ifdTopBottom);
    const std::vector<int> reds{0, 2, 5, 8, 10};
    for (int y = 0; y < 5; ++y) EXPECT_EQ(qRed(image.pixel(0, y)), reds[y]) << y;
}

TEST_F(ScopePaint, AnEnabledGradientReplacesTheBackgroundColour) {
    plot.SetBackGroundGradientEnabled(true);
    const QImage image = PaintOnScreen(plot);
    // Between the border and the data view, blue at the top running to black at the bottom.
    EXPECT_EQ(image.pixel(3, 2), 0xFF0000FE);
    EXPECT_EQ(qBlue(image.pixel(3, 300)), 255 - static_cast<int>(std::nearbyint(255.0 * 300 / 559)));
    EXPECT_EQ(image.pixel(3, 557), 0xFF000001);  // 255 × 2/559 rounds to 1
}

// ---- Title label ---------------------------------------------------------------------------

TEST_F(ScopePaint, TheTitleTakesItsLineAboveTheDataViewAndDrawsInsideIt) {
    const int topWithoutTitle = (PaintOnScreen(plot), View().Top);
    plot.SetTitleVisible(true);
    const QImage image = PaintOnScreen(plot);
    const TPlotLabel& title = *plot.GetLabel(0);
    const TPlotRect rect = title.GetDrawRect();
    EXPECT_GT(View().Top, topWithoutTitle);
    EXPECT_GE(View().Top, rect.Bottom);
    // Above the data view and inside the border the caption is the only white: the axes'
    // labels have colours of their own.
    TPlotRect ink{image.width(), image.height(), 0, 0};
    for (int y = 2; y < View().Top; ++y)
        for (int x = 2; x < image.width() - 2; ++x)
            if (image.pixel(x, y) == kWhite) ink = {std::min(ink.Left, x), std::min(ink.Top, y),
                                                    std::max(ink.Right, x + 1), std::max(ink.Bottom, y + 1)};
    EXPECT_GE(ink.Top, rect.Top);
    EXPECT_LE(ink.Bottom, rect.Bottom);
    // Centred: as much room on the left as on the right, within a pixel or two.
    EXPECT_NEAR(ink.Left - rect.Left, rect.Right - ink.Right, 2);
}

TEST(TitleLabel, MarginsCountInCharacterCellsAndRoundTiesToEven) {
    struct Metrics : TPlotTextMeasure {
        int TextWidth(const std::string&, const TPlotFont&) const override { return 10; }
        int TextHeight(const std::string&, const TPlotFont&) const override { return 10; }
    } metrics;
    TPlot plot;
    TPlotLabel& title = *plot.GetLabel(0);
    struct Case {
        double top, bottom;
        int required;
    } cases[] = {{0, 0, 10}, {0.25, 0, 12}, {0.35, 0, 14}, {0.25, 0.25, 14}, {0.15, 0, 12}, {1, 2, 40}};
    for (const Case& c : cases) {
        title.SetMarginTop(c.top);
        title.SetMarginBottom(c.bottom);
        EXPECT_EQ(title.GetRequiredWidth(metrics), c.required) << c.top << " " << c.bottom;
    }
}

TEST(TitleLabel, AVerticalLabelDrawsItsCaptionRotatedAlongItsSide) {
    TPlot plot;
    TPlotLabel& label = *plot.GetLabel(0);
    label.SetHorizontal(false);
    label.SetDrawRect({10, 10, 40, 210});
    QImage image(100, 250, QImage::Format_RGB32);
    image.fill(Qt::black);
    QtCanvas canvas(image);
    for (TAlignmentHorizontal alignment : {iahCenter, iahLeft, iahRight}) {
        image.fill(Qt::black);
        label.SetAlignment(alignment);
        label.Draw(canvas);
        const TPlotRect ink = test::InkBox(image, kBlack);
        EXPECT_GT(ink.Bottom - ink.Top, ink.Right - ink.Left) << alignment;  // runs along the side
        EXPECT_GE(ink.Left, 10);
        EXPECT_LE(ink.Right, 40);
        if (alignment == iahLeft) {
            EXPECT_GE(ink.Bottom, 200);
        } else if (alignment == iahRight) {
            EXPECT_LE(ink.Top, 20);
        } else {
            EXPECT_NEAR(ink.Top - 10, 210 - ink.Bottom, 2);
        }
    }
}

// ---- Timer ---------------------------------------------------------------------------------

TEST(ComponentTimer, AnInitialDelayIsWaitedOnceThenTheRepeatIntervalRuns) {
    TPlot plot;
    std::vector<int> armed;
    int disarmed = 0, ticks = 0;
    plot.OnTimerArm = [&](int ms) { armed.push_back(ms); };
    plot.OnTimerDisarm = [&] { ++disarmed; };
    plot.OnTimer = [&] { ++ticks; };

    plot.TimerStart(500, 100);
    plot.TimerStart(7, 7);  // already running: nothing
    EXPECT_EQ(armed, (std::vector<int>{500}));
    plot.TimerTick();
    plot.TimerTick();
    EXPECT_EQ(armed, (std::vector<int>{500, 100}));
    EXPECT_EQ(ticks, 2);
    plot.TimerStop();
    EXPECT_FALSE(plot.GetTimerRunning());
    EXPECT_EQ(disarmed, 1);
    plot.TimerTick();  // a late expiry after the stop
    EXPECT_EQ(ticks, 2);

    struct Case {
        int delay, repeat;
        std::vector<int> armed;
        bool running;
    } cases[] = {{0, 250, {250}, true}, {0, 0, {}, false}, {300, 0, {300}, true}};
    for (const Case& c : cases) {
        armed.clear();
        plot.TimerStart(c.delay, c.repeat);
        EXPECT_EQ(armed, c.armed) << c.delay << " " << c.repeat;
        EXPECT_EQ(plot.GetTimerRunning(), c.running);
        plot.TimerStop();
    }
}
