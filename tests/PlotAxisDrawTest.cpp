// An axis's scale line, ticks, labels, title, focus rectangle and grid lines, pixel by pixel,
// drawn through the real canvas into an image.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "PixelProbe.h"
#include "plot/axes/PlotAxis.h"
#include "plot/component/Plot.h"
#include "plot/qt/QtCanvas.h"

using namespace ondrix;

namespace {

constexpr QRgb kPaper = 0xFFFFFFFF;
// Each part in its own colour, so that a pixel tells which part drew it.
constexpr uint32_t kLineRgb = 0x000000;
constexpr uint32_t kLabelRgb = 0xFF0000;
constexpr uint32_t kTitleRgb = 0x0000FF;
constexpr uint32_t kScopeGridRgb = 0x003100;
constexpr uint32_t kMinorGridRgb = 0x808080;

constexpr QRgb Rgb(uint32_t rgb) { return 0xFF000000u | rgb; }

// An image with a canvas on it. Not movable: the canvas holds the image.
struct Picture {
    Picture() { image.fill(kPaper); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    QImage image{700, 420, QImage::Format_RGB32};
    QtCanvas canvas{image};
};

// The box of the pixels of one colour inside a region (Right and Bottom just outside); empty
// (Right <= Left) when there are none.
TPlotRect ColourBox(const QImage& image, QRgb colour, const TPlotRect& region) {
    TPlotRect box{region.Right, region.Bottom, region.Left, region.Top};
    for (int y = std::max(region.Top, 0); y < std::min(region.Bottom, image.height()); ++y)
        for (int x = std::max(region.Left, 0); x < std::min(region.Right, image.width()); ++x) {
            if (image.pixel(x, y) != colour) continue;
            box.Left = std::min(box.Left, x);
            box.Top = std::min(box.Top, y);
            box.Right = std::max(box.Right, x + 1);
            box.Bottom = std::max(box.Bottom, y + 1);
        }
    return box;
}

TPlotRect Everywhere(const QImage& image) { return TPlotRect{0, 0, image.width(), image.height()}; }

bool Empty(const TPlotRect& box) { return box.Right <= box.Left; }

std::string Describe(const TPlotRect& r) {
    return "(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + ")-(" + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom) + ")";
}

std::vector<int> Pixels(const TPlotAxis& axis, TPlotTickType style) {
    std::vector<int> pixels;
    for (const TPlotTickObject& tick : axis.GetTickList())
        if (tick.Visible && tick.Style == style) pixels.push_back(tick.Pixel);
    return pixels;
}

// The TPlot's X axis below a data view, 0 .. 50000 across pixels 20 .. 620 of a band from row
// 100 to 200, and its Y axis left of it, -40000 .. 40000 from pixel 320 up to 20 in columns
// 0 .. 90; whole-number labels as the scope has them. Each part in its own colour.
struct AxisDrawTest : ::testing::Test {
    TPlot plot;
    TPlotAxis& xAxis = *plot.GetXAxis(0);
    TPlotAxis& yAxis = *plot.GetYAxis(0);
    Picture picture;
    TCanvasTextMeasure measure{picture.canvas};

    void SetUp() override {
        for (TPlotAxis* axis : {&xAxis, &yAxis}) {
            axis->SetTrackingEnabled(false);
            axis->SetLabelsPrecision(0);
            axis->SetScaleLinesColor(ColorFromRgb(kLineRgb));
            axis->SetLabelsFont(FontWithColor(ColorFromRgb(kLabelRgb)));
            TPlotFont title = axis->GetTitleFont();
            title.Color = ColorFromRgb(kTitleRgb);
            axis->SetTitleFont(title);
        }
        xAxis.SetLabelsMinLength(8);
        xAxis.SetMinSpan(0, 50000);
        xAxis.SetDrawRect(TPlotRect{20, 100, 620, 200});
        yAxis.SetMinSpan(-40000, 80000);
        yAxis.SetDrawRect(TPlotRect{0, 20, 90, 320});
    }

    void Draw(TPlotAxis& axis) {
        axis.CalcTicks(measure);
        axis.Draw(picture.canvas);
    }
    QRgb At(int x, int y) const { return picture.image.pixel(x, y); }
    int Measured(bool height, const std::string& text, const TPlotFont& font) const {
        return height ? measure.TextHeight(text, font) : measure.TextWidth(text, font);
    }
    // Pixels between the end of a major tick and the labels.
    int LabelsGap(const TPlotAxis& axis) const {
        return static_cast<int>(std::nearbyint(measure.TextHeight("A", axis.GetLabelsFont()) * 0.25));
    }
    TPlotRect LabelInk(const TPlotRect& region) const { return ColourBox(picture.image, Rgb(kLabelRgb), region); }
};

// ---- Scale line and ticks ----------------------------------------------------------------

TEST_F(AxisDrawTest, HorizontalAxisBelowDrawsItsScaleLineAndTicksDownwards) {
    Draw(xAxis);
    ASSERT_EQ(xAxis.GetLabelSide(), TPlotAxisLabelSide::HorizontalBelow);
    EXPECT_EQ(Pixels(xAxis, ipttMajor), (std::vector<int>{20, 140, 260, 380, 500, 620}));
    EXPECT_EQ(Pixels(xAxis, ipttMinor), (std::vector<int>{80, 200, 320, 440, 560}));

    // The inner margin keeps rows 100..104 free; the line runs along the scale, ends included.
    const int line = 105;
    for (int x = 0; x < 700; ++x) EXPECT_EQ(At(x, line - 1), kPaper) << x;
    for (int x = 20; x <= 620; ++x) ASSERT_EQ(At(x, line), Rgb(kLineRgb)) << x;
    EXPECT_EQ(At(19, line), kPaper);
    EXPECT_EQ(At(621, line), kPaper);

    for (const TPlotTickObject& tick : xAxis.GetTickList()) {
        const int length = tick.Style == ipttMajor ? 7 : 3;
        for (int y = line; y < line + length; ++y) EXPECT_EQ(At(tick.Pixel, y), Rgb(kLineRgb)) << tick.Pixel;
        EXPECT_EQ(At(tick.Pixel, line + length), kPaper) << tick.Pixel;
        EXPECT_EQ(At(tick.Pixel + 1, line + 1), kPaper) << tick.Pixel;
    }
    // Nothing of the lines but the scale line and the ticks.
    EXPECT_EQ(Describe(ColourBox(picture.image, Rgb(kLineRgb), Everywhere(picture.image))),
              Describe(TPlotRect{20, line, 621, line + 7}));
}

TEST_F(AxisDrawTest, VerticalAxisLeftDrawsItsTicksAndLabelsToTheLeft) {
    Draw(yAxis);
    ASSERT_EQ(yAxis.GetLabelSide(), TPlotAxisLabelSide::VerticalLeft);
    const std::vector<int> majors = Pixels(yAxis, ipttMajor);
    ASSERT_GE(majors.size(), 3u);

    const int line = 90 - 1 - 5;
    for (int y = 20; y <= 320; ++y) ASSERT_EQ(At(line, y), Rgb(kLineRgb)) << y;
    EXPECT_EQ(At(line, 19), kPaper);
    EXPECT_EQ(At(line, 321), kPaper);
    EXPECT_EQ(At(line + 1, 100), kPaper);
    for (const TPlotTickObject& tick : yAxis.GetTickList()) {
        const int length = tick.Style == ipttMajor ? 7 : 3;
        for (int x = line - length + 1; x <= line; ++x) EXPECT_EQ(At(x, tick.Pixel), Rgb(kLineRgb)) << tick.Pixel;
        EXPECT_EQ(At(line - length, tick.Pixel), kPaper) << tick.Pixel;
    }

    // Labels end the labels gap left of the major ticks, each centred on its tick.
    const int labelsRight = line - 7 - LabelsGap(yAxis) + 1;
    const TPlotRect all = LabelInk(Everywhere(picture.image));
    EXPECT_LE(all.Right, labelsRight) << Describe(all);
    EXPECT_GE(all.Right, labelsRight - 2) << Describe(all);
    const int height = Measured(true, "0", yAxis.GetLabelsFont());
    for (int pixel : majors) {
        const TPlotRect ink = LabelInk(TPlotRect{0, pixel - height / 2 - 1, labelsRight, pixel + height / 2 + 2});
        ASSERT_FALSE(Empty(ink)) << pixel;
        EXPECT_NEAR((ink.Top + ink.Bottom) / 2.0, pixel, 2.5) << pixel << " " << Describe(ink);
    }
}

// ---- Labels and title --------------------------------------------------------------------

TEST_F(AxisDrawTest, HorizontalLabelsAreCentredUnderTheMajorsAndTheTitleBelowThem) {
    xAxis.SetTitle("Time");
    xAxis.SetTitleShow(true);
    Draw(xAxis);

    const int labelsTop = 105 + 7 + LabelsGap(xAxis);
    const int height = Measured(true, "0", xAxis.GetLabelsFont());
    const TPlotRect all = LabelInk(Everywhere(picture.image));
    EXPECT_GE(all.Top, labelsTop) << Describe(all);
    EXPECT_LE(all.Bottom, labelsTop + height) << Describe(all);
    for (const TPlotTickObject& tick : xAxis.GetTickList()) {
        if (tick.Style != ipttMajor) continue;
        const int width = Measured(false, tick.Label, xAxis.GetLabelsFont());
        const TPlotRect band{tick.Pixel - width / 2, labelsTop, tick.Pixel - width / 2 + width, labelsTop + height};
        const TPlotRect ink = LabelInk(TPlotRect{band.Left - 20, band.Top, band.Right + 20, band.Bottom});
        ASSERT_FALSE(Empty(ink)) << tick.Label;
        EXPECT_GE(ink.Left, band.Left) << tick.Label << " " << Describe(ink);
        EXPECT_LE(ink.Right, band.Right) << tick.Label << " " << Describe(ink);
        EXPECT_NEAR((ink.Left + ink.Right) / 2.0, tick.Pixel, 2.5) << tick.Label << " " << Describe(ink);
    }

    // The title keeps the outer margin from the bottom edge, centred along the scale.
    const int titleHeight = Measured(true, "Time", xAxis.GetTitleFont());
    const TPlotRect title = ColourBox(picture.image, Rgb(kTitleRgb), Everywhere(picture.image));
    ASSERT_FALSE(Empty(title));
    EXPECT_GE(title.Top, 200 - 5 - titleHeight) << Describe(title);
    EXPECT_LE(title.Bottom, 200 - 5) << Describe(title);
    EXPECT_GE(title.Top, all.Bottom) << Describe(title);
    EXPECT_NEAR((title.Left + title.Right) / 2.0, 320, 2.5) << Describe(title);
}

TEST_F(AxisDrawTest, TitleNeedsTitleShowAndText) {
    struct Case {
        bool show;
        std::string title;
        bool drawn;
    } cases[] = {{false, "Time", false}, {true, "  ", false}, {true, "Time", true}};
    for (const Case& c : cases) {
        picture.image.fill(kPaper);
        xAxis.SetTitle(c.title);
        xAxis.SetTitleShow(c.show);
        Draw(xAxis);
        EXPECT_EQ(!Empty(ColourBox(picture.image, Rgb(kTitleRgb), Everywhere(picture.image))), c.drawn)
            << c.show << " '" << c.title << "'";
    }
}

TEST_F(AxisDrawTest, VerticalTitleReadsUpwardsAtTheOuterEdge) {
    yAxis.SetTitle("Volts");
    yAxis.SetTitleShow(true);
    Draw(yAxis);
    const TPlotRect title = ColourBox(picture.image, Rgb(kTitleRgb), Everywhere(picture.image));
    ASSERT_FALSE(Empty(title));
    const int across = Measured(true, "Volts", yAxis.GetTitleFont());
    const int along = Measured(false, "Volts", yAxis.GetTitleFont());
    EXPECT_GE(title.Left, 5) << Describe(title);
    EXPECT_LE(title.Right, 5 + across) << Describe(title);
    // Turned: taller than wide, centred on the scale.
    EXPECT_GT(title.Bottom - title.Top, along / 2) << Describe(title);
    EXPECT_NEAR((title.Top + title.Bottom) / 2.0, 170, 3) << Describe(title);
}

TEST_F(AxisDrawTest, LabelsTurnedBy90RunDownFromTheTicks) {
    xAxis.SetLabelsRotation(ira090);
    Draw(xAxis);
    const int labelsTop = 105 + 7 + LabelsGap(xAxis);
    const int height = Measured(true, "0", xAxis.GetLabelsFont());
    for (const TPlotTickObject& tick : xAxis.GetTickList()) {
        if (tick.Style != ipttMajor || !tick.Visible) continue;
        const int width = Measured(false, tick.Label, xAxis.GetLabelsFont());
        const TPlotRect ink = LabelInk(TPlotRect{tick.Pixel - height, 100, tick.Pixel + height + 1, 260});
        ASSERT_FALSE(Empty(ink)) << tick.Label;
        EXPECT_GE(ink.Top, labelsTop) << tick.Label << " " << Describe(ink);
        EXPECT_LE(ink.Bottom, labelsTop + width + 1) << tick.Label << " " << Describe(ink);
        EXPECT_LE(ink.Right - ink.Left, height) << tick.Label << " " << Describe(ink);
        EXPECT_GT(ink.Bottom - ink.Top, width / 2) << tick.Label << " " << Describe(ink);
        EXPECT_NEAR((ink.Left + ink.Right) / 2.0, tick.Pixel, 2.5) << tick.Label << " " << Describe(ink);
    }
}

TEST_F(AxisDrawTest, HiddenScaleLinesDrawNoLinesAndLabelsMoveUpToTheScaleLine) {
    Draw(xAxis);
    const TPlotRect withLines = LabelInk(Everywhere(picture.image));
    picture.image.fill(kPaper);
    xAxis.SetScaleLinesShow(false);
    Draw(xAxis);
    EXPECT_TRUE(Empty(ColourBox(picture.image, Rgb(kLineRgb), Everywhere(picture.image))));
    const TPlotRect withoutLines = LabelInk(Everywhere(picture.image));
    EXPECT_EQ(withoutLines.Top, withLines.Top - 7) << Describe(withoutLines);
    EXPECT_EQ(withoutLines.Left, withLines.Left);
}

TEST_F(AxisDrawTest, HiddenLabelsDrawNoText) {
    xAxis.SetLabelsVisible(false);
    Draw(xAxis);
    EXPECT_TRUE(Empty(LabelInk(Everywhere(picture.image))));
    EXPECT_EQ(At(140, 105), Rgb(kLineRgb));
}

TEST_F(AxisDrawTest, HiddenAxisDrawsNothing) {
    xAxis.SetVisible(false);
    Draw(xAxis);
    EXPECT_EQ(test::InkCount(picture.image, kPaper), 0);
}

// ---- Focus rectangle ---------------------------------------------------------------------

// The ring is inverted, so drawing it once more over the selected axis brings back the plain one.
TEST_F(AxisDrawTest, SelectedAxisInvertsItsHitRectangleRing) {
    Draw(xAxis);
    const QImage plain = picture.image.copy();
    xAxis.SetUserSelected(true);
    Draw(xAxis);
    const TPlotRect hit = xAxis.GetHitRect();
    int changed = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            if (plain.pixel(x, y) == picture.image.pixel(x, y)) continue;
            ++changed;
            const bool onRing = hit.Contains(x, y) &&
                                (x == hit.Left || x == hit.Right - 1 || y == hit.Top || y == hit.Bottom - 1);
            EXPECT_TRUE(onRing) << x << "," << y << " " << Describe(hit);
        }
    EXPECT_GT(changed, 0);
    picture.canvas.DrawFocusRect(hit);
    EXPECT_TRUE(picture.image == plain);
}

// ---- Grid lines --------------------------------------------------------------------------

// The scope's X axis, 50000 across 600 pixels, lays a grid line every 10000 in #003100.
TEST_F(AxisDrawTest, ScopeGridHasALineEvery10000AcrossTheDataView) {
    xAxis.CalcTicks(measure);
    const TPlotRect view{20, 10, 621, 100};
    xAxis.DrawGridLines(picture.canvas, view, true, false, ipglsSolid, ipglsSolid, ColorFromRgb(kScopeGridRgb),
                        ColorFromRgb(kMinorGridRgb), 0, 0);
    for (int x : {20, 140, 260, 380, 500, 620}) {
        for (int y = view.Top; y < view.Bottom; ++y) ASSERT_EQ(At(x, y), Rgb(kScopeGridRgb)) << x << "," << y;
        EXPECT_EQ(At(x, view.Top - 1), kPaper) << x;
        EXPECT_EQ(At(x, view.Bottom), kPaper) << x;
    }
    EXPECT_EQ(test::InkCount(picture.image, kPaper), 6 * (view.Bottom - view.Top));
}

TEST_F(AxisDrawTest, GridLinesFollowTheRequestAndStayInsideTheRectangle) {
    struct Case {
        const char* name;
        bool majors, minors;
        TPlotGridLineStyle majorStyle;
        int majorWidth;
        std::vector<int> majorColumns, minorColumns;
    } cases[] = {
        {"majors", true, false, ipglsSolid, 0, {140, 260, 380, 500}, {}},
        {"minors", false, true, ipglsSolid, 0, {}, {80, 200, 320, 440, 560}},
        {"both", true, true, ipglsSolid, 1, {140, 260, 380, 500}, {80, 200, 320, 440, 560}},
        {"none", false, false, ipglsSolid, 0, {}, {}},
    };
    // Ticks at 20 and 620 lie outside the rectangle and draw nothing.
    const TPlotRect view{30, 10, 600, 100};
    xAxis.CalcTicks(measure);
    for (const Case& c : cases) {
        picture.image.fill(kPaper);
        xAxis.DrawGridLines(picture.canvas, view, c.majors, c.minors, c.majorStyle, ipglsSolid,
                            ColorFromRgb(kScopeGridRgb), ColorFromRgb(kMinorGridRgb), c.majorWidth, 0);
        for (int x : c.majorColumns)
            for (int y = view.Top; y < view.Bottom; ++y)
                ASSERT_EQ(At(x, y), Rgb(kScopeGridRgb)) << c.name << " " << x << "," << y;
        for (int x : c.minorColumns)
            for (int y = view.Top; y < view.Bottom; ++y)
                ASSERT_EQ(At(x, y), Rgb(kMinorGridRgb)) << c.name << " " << x << "," << y;
        const int lines = static_cast<int>(c.majorColumns.size() + c.minorColumns.size());
        EXPECT_EQ(test::InkCount(picture.image, kPaper), lines * (view.Bottom - view.Top)) << c.name;
    }
}

TEST_F(AxisDrawTest, WideAndDottedGridLinesAreClippedToTheRectangle) {
    const TPlotRect view{30, 10, 600, 100};
    xAxis.CalcTicks(measure);
    xAxis.DrawGridLines(picture.canvas, view, true, false, ipglsSolid, ipglsSolid, ColorFromRgb(kScopeGridRgb),
                        ColorFromRgb(kMinorGridRgb), 5, 0);
    const TPlotRect ink = test::InkBox(picture.image, kPaper);
    EXPECT_GE(ink.Left, view.Left);
    EXPECT_GE(ink.Top, view.Top);
    EXPECT_LE(ink.Right, view.Right);
    EXPECT_LE(ink.Bottom, view.Bottom) << Describe(ink);
    EXPECT_EQ(At(140, view.Top), Rgb(kScopeGridRgb));
    EXPECT_EQ(At(142, 50), Rgb(kScopeGridRgb));

    picture.image.fill(kPaper);
    xAxis.DrawGridLines(picture.canvas, view, true, false, ipglsDot, ipglsSolid, ColorFromRgb(kScopeGridRgb),
                        ColorFromRgb(kMinorGridRgb), 0, 0);
    int dots = 0;
    for (int y = view.Top; y < view.Bottom; ++y) dots += At(140, y) == Rgb(kScopeGridRgb);
    EXPECT_GT(dots, 0);
    EXPECT_LT(dots, view.Bottom - view.Top);
}

TEST_F(AxisDrawTest, VerticalAxisGridLinesRunAcrossAndNeedGridLinesVisible) {
    yAxis.CalcTicks(measure);
    const TPlotRect view{100, 20, 400, 321};
    const std::vector<int> majors = Pixels(yAxis, ipttMajor);
    ASSERT_FALSE(majors.empty());
    yAxis.DrawGridLines(picture.canvas, view, true, false, ipglsSolid, ipglsSolid, ColorFromRgb(kScopeGridRgb),
                        ColorFromRgb(kMinorGridRgb), 0, 0);
    for (int y : majors) {
        for (int x = view.Left; x < view.Right; ++x) ASSERT_EQ(At(x, y), Rgb(kScopeGridRgb)) << x << "," << y;
        EXPECT_EQ(At(view.Left - 1, y), kPaper);
        EXPECT_EQ(At(view.Right, y), kPaper);
    }
    EXPECT_EQ(test::InkCount(picture.image, kPaper), static_cast<int>(majors.size()) * (view.Right - view.Left));

    picture.image.fill(kPaper);
    yAxis.SetGridLinesVisible(false);
    yAxis.DrawGridLines(picture.canvas, view, true, true, ipglsSolid, ipglsSolid, ColorFromRgb(kScopeGridRgb),
                        ColorFromRgb(kMinorGridRgb), 0, 0);
    EXPECT_EQ(test::InkCount(picture.image, kPaper), 0);
}

}  // namespace
