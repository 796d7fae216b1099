// The drawing surface, pixel by pixel: the plot's geometry is computed against these rules, so a
// pixel off here is a grid line or a trace off everywhere.

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "PixelProbe.h"
#include "plot/qt/QtCanvas.h"

using namespace ondrix;

namespace {

constexpr QRgb kPaper = 0xFFFFFFFF;

QRgb Rgb(TColor color) { return ToQColor(color).rgb(); }

QImage Blank(int width, int height, QRgb color = kPaper) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// A picture where no two neighbours share a colour, so that any pixel moved, lost or changed twice
// shows.
QImage Patterned(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x * 9 % 256, y * 13 % 256, (x * y + 7 * x) % 256));
    return image;
}

// An image with a canvas painting on it. Not movable: the canvas holds the image.
struct Surface {
    explicit Surface(int width, int height, QRgb background = kPaper) : image(Blank(width, height, background)) {}
    explicit Surface(QImage picture) : image(std::move(picture)) {}
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    QRgb At(int x, int y) const { return image.pixel(x, y); }
    // The pixels that differ from the background, as a box in the canvas's own convention.
    TPlotRect Ink(QRgb background = kPaper) const { return test::InkBox(image, background); }
    int InkCount(QRgb background = kPaper) const { return test::InkCount(image, background); }

    QImage image;
    QtCanvas canvas{image};
};

std::string Describe(const TPlotRect& r) {
    return "(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + ")-(" + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom) + ")";
}

TPlotPen Pen(TColor color, int width = 0, TPenStyle style = psSolid) { return TPlotPen{color, width, style}; }
TPlotBrush Brush(TColor color, TBrushStyle style = bsSolid) { return TPlotBrush{color, style}; }

TPlotFont Font(const std::string& name, int size) {
    TPlotFont font;
    font.Name = name;
    font.Size = size;
    font.Color = clBlack;
    return font;
}

}  // namespace

// ---- Lines

TEST(CanvasLines, SegmentSetsItsStartAndNotItsEnd) {
    struct Case {
        TPlotPoint from, to;
    } cases[] = {
        {{2, 10}, {17, 10}},  {{17, 10}, {2, 10}},  {{10, 2}, {10, 17}}, {{10, 17}, {10, 2}},
        {{3, 3}, {16, 16}},   {{16, 16}, {3, 3}},   {{3, 16}, {16, 3}},  {{16, 3}, {3, 16}},
        {{2, 5}, {17, 9}},    {{17, 9}, {2, 5}},    {{5, 2}, {9, 17}},   {{9, 17}, {5, 2}},
        {{10, 10}, {11, 10}}, {{10, 10}, {11, 11}}, {{10, 10}, {9, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from.X) + "," + std::to_string(c.from.Y) + " to " + std::to_string(c.to.X) +
                     "," + std::to_string(c.to.Y));
        Surface thinnest(20, 20);
        Surface widthOne(20, 20);
        thinnest.canvas.SetPen(Pen(clBlack, 0));
        widthOne.canvas.SetPen(Pen(clBlack, 1));
        thinnest.canvas.Line(c.from, c.to);
        widthOne.canvas.Line(c.from, c.to);

        EXPECT_EQ(thinnest.At(c.from.X, c.from.Y), Rgb(clBlack));
        EXPECT_EQ(thinnest.At(c.to.X, c.to.Y), kPaper);
        // One pixel per step along the longer axis: no gaps, no doubled pixels, no end pixel.
        EXPECT_EQ(thinnest.InkCount(), std::max(std::abs(c.to.X - c.from.X), std::abs(c.to.Y - c.from.Y)));
        EXPECT_EQ(thinnest.image, widthOne.image);
    }
}

TEST(CanvasLines, SegmentOfNoLengthSetsNothing) {
    Surface surface(10, 10);
    surface.canvas.Line({4, 4}, {4, 4});
    EXPECT_EQ(surface.InkCount(), 0);
}

TEST(CanvasLines, PolylineSetsTheSamePixelsAsItsSegmentsOneByOne) {
    const std::vector<TPlotPoint> trace = {{1, 20}, {5, 3}, {9, 3}, {9, 3}, {14, 25}, {22, 12}, {28, 12}, {28, 2}};
    Surface batched(30, 30);
    Surface oneByOne(30, 30);
    batched.canvas.Polyline(trace.data(), trace.size());
    for (size_t i = 1; i < trace.size(); ++i) oneByOne.canvas.Line(trace[i - 1], trace[i]);

    EXPECT_EQ(batched.image, oneByOne.image);
    for (size_t i = 0; i + 1 < trace.size(); ++i) EXPECT_EQ(batched.At(trace[i].X, trace[i].Y), Rgb(clBlack)) << i;
    EXPECT_EQ(batched.At(28, 2), kPaper);
}

TEST(CanvasLines, VerticalSegmentsWrittenStraightIntoTheImageSetThePaintersPixels) {
    // On a 24-bit image every segment goes through the painter; a 32-bit image takes thin solid
    // vertical segments straight into its pixels.
    const std::vector<TPlotPoint> pairs = {{3, 2},   {3, 25},  {10, 27}, {10, 1},  {15, -5}, {15, 40}, {20, 5},
                                           {20, 6},  {24, 9},  {24, 8},  {-3, 4},  {-3, 20}, {29, 0},  {29, 29},
                                           {7, 7},   {12, 19}, {17, 12}, {17, 12}, {30, 3},  {30, 9},  {0, 29},
                                           {0, 0},   {26, 18}, {26, 31}, {5, 14},  {22, 14}};
    struct Case {
        const char* what;
        TPlotPoint origin;
        TPlotRect clip;
        TPenStyle style;
    } cases[] = {
        {"whole image", {0, 0}, {0, 0, 30, 30}, psSolid},
        {"clipped", {0, 0}, {4, 6, 21, 18}, psSolid},
        {"moved origin", {5, -3}, {-5, 3, 25, 33}, psSolid},
        {"moved origin and clipped", {-2, 4}, {3, 0, 20, 12}, psSolid},
        {"dotted, through the painter on both", {0, 0}, {0, 0, 30, 30}, psDot},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QImage painted(30, 30, QImage::Format_RGB888);
        painted.fill(kPaper);
        {
            QtCanvas canvas(painted);
            canvas.SetPen(Pen(clRed, 0, c.style));
            canvas.SetOrigin(c.origin);
            canvas.SetClipRect(c.clip);
            canvas.Lines(pairs.data(), pairs.size());
        }
        Surface direct(30, 30);
        direct.canvas.SetPen(Pen(clRed, 0, c.style));
        direct.canvas.SetOrigin(c.origin);
        direct.canvas.SetClipRect(c.clip);
        direct.canvas.Lines(pairs.data(), pairs.size());
        EXPECT_GT(direct.InkCount(), 30);
        EXPECT_EQ(direct.image, painted.convertToFormat(QImage::Format_RGB32));
    }
}

TEST(CanvasLines, PenStyles) {
    struct Case {
        TPenStyle style;
        int minInk, maxInk;  // of a 30-pixel line
    } cases[] = {
        {psSolid, 30, 30},     {psDash, 12, 27},       {psDot, 8, 20},
        {psDashDot, 10, 27},   {psDashDotDot, 10, 27}, {psClear, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.style));
        Surface surface(40, 5);
        surface.canvas.SetPen(Pen(clRed, 0, c.style));
        surface.canvas.Line({5, 2}, {35, 2});
        EXPECT_GE(surface.InkCount(), c.minInk);
        EXPECT_LE(surface.InkCount(), c.maxInk);
        if (c.style != psClear) {
            // Every pattern starts with a dash at the start; the end pixel stays unset either way.
            const TPlotRect ink = surface.Ink();
            EXPECT_EQ(ink.Left, 5);
            EXPECT_LE(ink.Right, 35);
            EXPECT_EQ(ink.Top, 2);
            EXPECT_EQ(ink.Bottom, 3);
        }
    }
}

TEST(CanvasLines, WidePenIsAsThickAsItsWidth) {
    Surface surface(40, 20);
    surface.canvas.SetPen(Pen(clBlue, 5));
    surface.canvas.Line({10, 10}, {30, 10});
    const TPlotRect ink = surface.Ink();
    EXPECT_EQ(ink.Bottom - ink.Top, 5) << Describe(ink);
}

// ---- Shapes

TEST(CanvasShapes, RectangleOutlinesTheBoxAndFillsInside) {
    const TPlotRect box{3, 4, 13, 10};
    struct Case {
        TPenStyle pen;
        TBrushStyle brush;
        QRgb edge, inside;
    } cases[] = {
        {psSolid, bsSolid, Rgb(clBlue), Rgb(clYellow)},
        {psClear, bsSolid, Rgb(clYellow), Rgb(clYellow)},
        {psSolid, bsClear, Rgb(clBlue), kPaper},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.pen) + "/" + std::to_string(c.brush));
        Surface surface(20, 16);
        surface.canvas.SetPen(Pen(clBlue, 1, c.pen));
        surface.canvas.SetBrush(Brush(clYellow, c.brush));
        surface.canvas.Rectangle(box);

        for (int x = box.Left; x < box.Right; ++x) {
            EXPECT_EQ(surface.At(x, box.Top), c.edge) << x;
            EXPECT_EQ(surface.At(x, box.Bottom - 1), c.edge) << x;
        }
        for (int y = box.Top; y < box.Bottom; ++y) {
            EXPECT_EQ(surface.At(box.Left, y), c.edge) << y;
            EXPECT_EQ(surface.At(box.Right - 1, y), c.edge) << y;
        }
        EXPECT_EQ(surface.At(8, 7), c.inside);
        EXPECT_EQ(surface.Ink(), box) << Describe(surface.Ink());
    }
}

TEST(CanvasShapes, EllipseTouchesEveryEdgeOfItsBoxAndNoMore) {
    for (TPenStyle pen : {psSolid, psClear}) {
        SCOPED_TRACE(static_cast<int>(pen));
        Surface surface(30, 24);
        surface.canvas.SetPen(Pen(clBlack, 0, pen));
        surface.canvas.SetBrush(Brush(clLime));
        const TPlotRect box{4, 3, 25, 18};
        surface.canvas.Ellipse(box);
        EXPECT_EQ(surface.Ink(), box) << Describe(surface.Ink());
        EXPECT_EQ(surface.At(14, 10), Rgb(clLime));
        EXPECT_EQ(surface.At(box.Left, box.Top), kPaper);  // corners stay outside the curve
    }
}

TEST(CanvasShapes, PolygonIsOutlinedThroughItsPointsAndFilled) {
    Surface surface(30, 30);
    surface.canvas.SetPen(Pen(clBlack));
    surface.canvas.SetBrush(Brush(clRed));
    const std::vector<TPlotPoint> diamond = {{20, 10}, {10, 20}, {0, 10}, {10, 0}};
    surface.canvas.Polygon(diamond.data(), diamond.size());
    for (const TPlotPoint& corner : diamond) EXPECT_EQ(surface.At(corner.X, corner.Y), Rgb(clBlack));
    EXPECT_EQ(surface.At(10, 10), Rgb(clRed));
    EXPECT_EQ(surface.Ink(), (TPlotRect{0, 0, 21, 21})) << Describe(surface.Ink());

    // Every corner of a triangle, whichever way it points, the closing one included.
    const std::vector<std::vector<TPlotPoint>> triangles = {
        {{12, 3}, {5, 7}, {12, 11}}, {{5, 3}, {12, 7}, {5, 11}}, {{3, 12}, {7, 5}, {11, 12}}, {{3, 5}, {7, 12}, {11, 5}}};
    for (const auto& triangle : triangles) {
        Surface small(16, 16);
        small.canvas.SetPen(Pen(clBlack));
        small.canvas.SetBrush(Brush(clRed, bsClear));
        small.canvas.Polygon(triangle.data(), triangle.size());
        for (const TPlotPoint& corner : triangle)
            EXPECT_EQ(small.At(corner.X, corner.Y), Rgb(clBlack)) << corner.X << "," << corner.Y;
    }
}

TEST(CanvasShapes, FillRectUsesTheBrushAlone) {
    const TPlotRect box{2, 3, 12, 9};
    struct Case {
        TBrushStyle style;
        int ink;  // pixels changed, all in the brush colour
    } cases[] = {{bsSolid, 60}, {bsClear, 0}};
    for (const Case& c : cases) {
        Surface surface(16, 12);
        surface.canvas.SetPen(Pen(clRed, 3));
        surface.canvas.SetBrush(Brush(clNavy, c.style));
        surface.canvas.FillRect(box);
        EXPECT_EQ(surface.InkCount(), c.ink);
        if (c.ink) {
            EXPECT_EQ(surface.Ink(), box);
            EXPECT_EQ(surface.InkCount(Rgb(clNavy)), 16 * 12 - c.ink);
        }
    }
}

TEST(CanvasShapes, HatchesLeaveTheirGapsUntouched) {
    for (TBrushStyle hatch : {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross}) {
        SCOPED_TRACE(static_cast<int>(hatch));
        Surface surface(32, 32, Rgb(clYellow));
        surface.canvas.SetBrush(Brush(clBlack, hatch));
        surface.canvas.FillRect({0, 0, 32, 32});
        const int hatched = surface.InkCount(Rgb(clYellow));
        EXPECT_GT(hatched, 0);
        EXPECT_LT(hatched, 32 * 32 / 2);
        EXPECT_EQ(surface.InkCount(Rgb(clYellow)) + surface.InkCount(Rgb(clBlack)), 32 * 32);
    }
}

TEST(CanvasShapes, EmptyAndInvertedBoxesDrawNothing) {
    Surface surface(20, 20);
    surface.canvas.SetPen(Pen(clBlack));
    surface.canvas.SetBrush(Brush(clBlack));
    for (const TPlotRect& box : {TPlotRect{5, 5, 5, 10}, TPlotRect{5, 5, 10, 5}, TPlotRect{10, 10, 5, 5}}) {
        surface.canvas.Rectangle(box);
        surface.canvas.Ellipse(box);
        surface.canvas.FillRect(box);
        surface.canvas.DrawFocusRect(box);
        surface.canvas.DrawEdge(box, esRaised);
    }
    EXPECT_EQ(surface.InkCount(), 0);
}

// ---- Desktop decorations

TEST(CanvasDecorations, FocusRectangleDrawnTwiceRestoresEveryPixel) {
    // Odd and even sizes, a single pixel, one row, one column, and a box reaching past the image.
    const TPlotRect boxes[] = {{3, 4, 25, 17}, {3, 4, 26, 18}, {5, 5, 6, 6},
                               {2, 8, 20, 9},  {8, 2, 9, 15},  {-4, -4, 20, 15}};
    for (const TPlotRect& box : boxes) {
        SCOPED_TRACE(Describe(box));
        Surface surface(Patterned(30, 20));
        const QImage before = surface.image;
        surface.canvas.DrawFocusRect(box);

        int inverted = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x) {
                const QRgb now = surface.At(x, y);
                if (now == before.pixel(x, y)) continue;
                EXPECT_EQ(now, ~before.pixel(x, y) | 0xFF000000) << x << "," << y;
                const bool onRing = (x == box.Left || x == box.Right - 1 || y == box.Top || y == box.Bottom - 1) &&
                                    x >= box.Left && x < box.Right && y >= box.Top && y < box.Bottom;
                EXPECT_TRUE(onRing) << x << "," << y;
                ++inverted;
            }
        EXPECT_GT(inverted, 0);

        surface.canvas.DrawFocusRect(box);
        EXPECT_EQ(surface.image, before);
    }
}

TEST(CanvasDecorations, FocusRectangleIsDotted) {
    Surface surface(30, 20);
    surface.canvas.DrawFocusRect({2, 2, 22, 12});
    for (int x = 2; x < 22; ++x) EXPECT_EQ(surface.At(x, 2) != kPaper, x % 2 == 0) << x;
}

TEST(CanvasDecorations, EdgesBevelInHighlightAndShadow) {
    const TPlotRect box{2, 3, 12, 11};
    const QRgb face = Rgb(clFuchsia);
    struct Case {
        TEdgeStyle style;
        SystemColorRole topLeft, bottomRight;
    } cases[] = {
        {esRaised, SystemColorRole::Highlight, SystemColorRole::Shadow},
        {esSunken, SystemColorRole::Shadow, SystemColorRole::Highlight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.style));
        Surface surface(16, 16, face);
        const QRgb light = Rgb(surface.canvas.GetSystemColor(c.topLeft));
        const QRgb dark = Rgb(surface.canvas.GetSystemColor(c.bottomRight));
        ASSERT_NE(light, dark);
        surface.canvas.DrawEdge(box, c.style);
        struct Pixel {
            int x, y;
            QRgb color;
        } pixels[] = {
            // outer ring, x 2..11 and y 3..10: top and left light, right and bottom (with the
            // top-right and bottom-left corners) dark
            {2, 3, light}, {6, 3, light}, {10, 3, light}, {11, 3, dark}, {2, 7, light}, {2, 10, dark},
            {11, 7, dark}, {6, 10, dark}, {11, 10, dark},
            // inner ring, x 3..10 and y 4..9, the same way
            {3, 4, light}, {9, 4, light}, {10, 4, dark}, {3, 6, light}, {3, 9, dark}, {10, 9, dark},
            // inside and outside stay
            {4, 5, face}, {9, 8, face}, {12, 7, face}, {6, 11, face}, {1, 7, face}, {6, 2, face},
        };
        for (const Pixel& p : pixels) EXPECT_EQ(surface.At(p.x, p.y), p.color) << p.x << "," << p.y;
        EXPECT_EQ(surface.Ink(face), box);
    }
}

TEST(CanvasDecorations, SystemColoursResolveByRole) {
    Surface surface(1, 1);
    EXPECT_EQ(surface.canvas.ResolveColor(clBtnFace), surface.canvas.GetSystemColor(SystemColorRole::ButtonFace));
    EXPECT_EQ(surface.canvas.ResolveColor(clInfoBk), surface.canvas.GetSystemColor(SystemColorRole::InfoBackground));
    EXPECT_EQ(surface.canvas.ResolveColor(clRed), clRed);
    EXPECT_FALSE(IsSystemColor(surface.canvas.ResolveColor(clWindowText)));
    EXPECT_EQ(surface.canvas.GetSystemColor(SystemColorRole::WindowText),
              ColorFromRgb(QGuiApplication::palette().color(QPalette::WindowText).rgb() & 0xFFFFFF));

    surface.canvas.SetBrush(Brush(clBtnFace));
    surface.canvas.FillRect({0, 0, 1, 1});
    EXPECT_EQ(surface.At(0, 0), Rgb(surface.canvas.GetSystemColor(SystemColorRole::ButtonFace)));
}

// ---- Clip, save and restore, origin

TEST(CanvasState, NothingIsDrawnOutsideTheClip) {
    Surface surface(30, 30);
    surface.canvas.SetClipRect({5, 6, 15, 20});
    surface.canvas.SetPen(Pen(clBlack, 3));
    surface.canvas.SetBrush(Brush(clRed));
    surface.canvas.Line({0, 0}, {29, 29});
    surface.canvas.Ellipse({-10, -10, 40, 40});
    surface.canvas.SetFont(Font("Arial", 20));
    surface.canvas.TextOut(0, 0, "WWWWW");
    surface.canvas.DrawRotatedText({15, 15}, 90, "WWWWW");
    EXPECT_EQ(surface.Ink(), (TPlotRect{5, 6, 15, 20})) << Describe(surface.Ink());

    surface.canvas.RemoveClip();
    surface.canvas.FillRect({0, 0, 30, 30});
    EXPECT_EQ(surface.InkCount(Rgb(clRed)), 0);
}

TEST(CanvasState, EmptyClipDrawsNothing) {
    Surface surface(10, 10);
    surface.canvas.SetClipRect({5, 5, 5, 5});
    surface.canvas.SetBrush(Brush(clBlack));
    surface.canvas.FillRect({0, 0, 10, 10});
    EXPECT_EQ(surface.InkCount(), 0);
}

TEST(CanvasState, OriginMovesDrawingButNotEarlierClips) {
    Surface surface(30, 30);
    surface.canvas.SetBrush(Brush(clBlack));
    surface.canvas.SetClipRect({0, 0, 12, 30});
    surface.canvas.SetOrigin({10, 5});
    surface.canvas.FillRect({0, 0, 4, 3});
    EXPECT_EQ(surface.Ink(), (TPlotRect{10, 5, 12, 8})) << Describe(surface.Ink());

    // A clip set now is in the moved coordinates.
    surface.canvas.SetClipRect({0, 10, 2, 11});
    surface.canvas.FillRect({-10, 0, 10, 30});
    EXPECT_EQ(surface.InkCount(), 6 + 2);
    EXPECT_EQ(surface.At(10, 15), Rgb(clBlack));
    EXPECT_EQ(surface.At(11, 15), Rgb(clBlack));
    EXPECT_EQ(surface.canvas.GetOrigin(), (TPlotPoint{10, 5}));
}

TEST(CanvasState, RestoreBringsBackPenBrushFontOriginAndClip) {
    Surface surface(30, 30);
    surface.canvas.SetPen(Pen(clBlue, 0, psDot));
    surface.canvas.SetBrush(Brush(clRed));
    surface.canvas.SetFont(Font("Arial", 9));
    surface.canvas.Save();
    surface.canvas.SetPen(Pen(clLime, 4));
    surface.canvas.SetBrush(Brush(clYellow, bsCross));
    surface.canvas.SetFont(Font("Times New Roman", 30));
    surface.canvas.SetOrigin({7, 7});
    surface.canvas.SetClipRect({0, 0, 2, 2});
    surface.canvas.Restore();

    EXPECT_EQ(surface.canvas.GetPen(), Pen(clBlue, 0, psDot));
    EXPECT_EQ(surface.canvas.GetBrush(), Brush(clRed));
    EXPECT_EQ(surface.canvas.GetFont(), Font("Arial", 9));
    EXPECT_EQ(surface.canvas.GetOrigin(), (TPlotPoint{0, 0}));
    surface.canvas.FillRect({0, 0, 30, 30});
    EXPECT_EQ(surface.InkCount(Rgb(clRed)), 0);  // unclipped, in the restored brush
}

TEST(CanvasState, ClipsStayWithinTheClipSavedLast) {
    Surface surface(30, 30);
    surface.canvas.SetBrush(Brush(clBlack));
    surface.canvas.SetClipRect({10, 10, 20, 20});
    surface.canvas.Save();
    surface.canvas.SetClipRect({0, 0, 15, 15});
    surface.canvas.FillRect({0, 0, 30, 30});
    EXPECT_EQ(surface.Ink(), (TPlotRect{10, 10, 15, 15}));

    surface.canvas.RemoveClip();  // back to the saved clip, not to none
    surface.canvas.FillRect({0, 0, 30, 30});
    EXPECT_EQ(surface.Ink(), (TPlotRect{10, 10, 20, 20}));

    surface.canvas.Restore();
    surface.canvas.RemoveClip();
    surface.canvas.FillRect({0, 0, 30, 30});
    EXPECT_EQ(surface.InkCount(Rgb(clBlack)), 0);
}

TEST(CanvasState, RestoreWithoutSaveIsRefused) {
    Surface surface(4, 4);
    EXPECT_THROW(surface.canvas.Restore(), std::logic_error);
}

// ---- Fonts and text

TEST(CanvasText, FontNamesResolveToFacesWithStableMetrics) {
    struct Case {
        std::string name;
        std::string family;
    } cases[] = {
        {"Arial", "Liberation Sans"},
        {"arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"MS Sans Serif", "DejaVu Sans"},
        {"DejaVu Serif", "DejaVu Serif"},
    };
    for (const Case& c : cases) EXPECT_EQ(QFontInfo(ResolveFont(Font(c.name, 10))).family().toStdString(), c.family);

    // Points at 96 pixels per inch.
    EXPECT_EQ(ResolveFont(Font("Arial", 12)).pixelSize(), 16);
    EXPECT_EQ(ResolveFont(Font("Arial", 8)).pixelSize(), 11);
}

TEST(CanvasText, TextMeasuresAreTheSameOnEveryDevice) {
    QtSurfaceFactory factory;
    auto bitmap = factory.CreateBitmap(50, 50);
    auto metafile = factory.CreateMetafile(50, 50);
    auto nothing = factory.CreateBitmap(0, 0);
    // The plot's length units; Arial and Times New Roman widths are their metric twins' design widths.
    struct Case {
        std::string font;
        int size;
        int widthXYZ, width0, widthA, height;
    } cases[] = {
        {"Arial", 8, 21, 6, 7, 13},
        {"Arial", 10, 25, 7, 9, 15},
        {"Times New Roman", 10, 27, 7, 9, 15},
        {"MS Sans Serif", 8, 22, 7, 8, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.font + " " + std::to_string(c.size));
        for (TCanvas* canvas : {&bitmap->Canvas(), &metafile->BeginRecording(), &nothing->Canvas()}) {
            canvas->SetFont(Font(c.font, c.size));
            EXPECT_EQ(canvas->TextWidth("XYZ"), c.widthXYZ);
            EXPECT_EQ(canvas->TextWidth("0"), c.width0);
            EXPECT_EQ(canvas->TextWidth("A"), c.widthA);
            for (const char* text : {"XYZ", "0", "A"}) EXPECT_EQ(canvas->TextHeight(text), c.height) << text;
        }
        metafile->EndRecording();
    }
}

TEST(CanvasText, TextMeasureUsesItsFontAndLeavesTheCanvasFont) {
    QtSurfaceFactory factory;
    auto bitmap = factory.CreateBitmap(50, 50);
    TCanvas& canvas = bitmap->Canvas();
    const TPlotFont canvasFont = Font("Times New Roman", 10);
    canvas.SetFont(canvasFont);
    const TCanvasTextMeasure measure(canvas);
    EXPECT_EQ(measure.TextWidth("XYZ", Font("Arial", 8)), 21);
    EXPECT_EQ(measure.TextHeight("0", Font("Arial", 10)), 15);
    EXPECT_TRUE(canvas.GetFont() == canvasFont);
}

TEST(CanvasText, MeasuresFollowTheFaceThroughEveryFontChange) {
    // A canvas remembers its measures by face: going back and forth between faces, and changing
    // only the colour, must answer what a fresh canvas answers.
    const TPlotFont faces[] = {Font("Arial", 8), Font("Arial", 14), Font("Times New Roman", 8), Font("Arial", 8)};
    TPlotFont bold = Font("Arial", 8);
    bold.Bold = true;
    TPlotFont red = Font("Arial", 14);
    red.Color = clRed;
    Surface surface(10, 10);
    for (int round = 0; round < 2; ++round)
        for (const TPlotFont& font : {faces[0], faces[1], bold, faces[2], red, faces[3]}) {
            SCOPED_TRACE(font.Name + " " + std::to_string(font.Size) + (font.Bold ? " bold" : ""));
            Surface fresh(10, 10);
            fresh.canvas.SetFont(font);
            surface.canvas.SetFont(font);
            for (const char* text : {"0", "-40000", "WWW", "1500000"}) {
                EXPECT_EQ(surface.canvas.TextWidth(text), fresh.canvas.TextWidth(text)) << text;
                EXPECT_EQ(surface.canvas.TextHeight(text), fresh.canvas.TextHeight(text)) << text;
            }
        }
}

TEST(CanvasText, SeveralLinesMeasureAsTheWidestLineAndAllLinesHigh) {
    Surface surface(10, 10);
    surface.canvas.SetFont(Font("Arial", 10));
    const int wide = surface.canvas.TextWidth("WWWWWW");
    const int line = surface.canvas.TextHeight("W");
    EXPECT_EQ(surface.canvas.TextWidth("W\nWWWWWW\nWW"), wide);
    EXPECT_EQ(surface.canvas.TextWidth("W\r\nWWWWWW"), wide);
    EXPECT_GE(surface.canvas.TextHeight("W\nWWWWWW\nWW"), 3 * line);
    EXPECT_LT(surface.canvas.TextHeight("W\nWWWWWW\nWW"), 4 * line);
}

TEST(CanvasText, TextIsDrawnInTheFontColourOverAnUntouchedBackground) {
    Surface surface(60, 30, Rgb(clYellow));
    surface.canvas.SetBrush(Brush(clBlue));
    surface.canvas.SetPen(Pen(clRed));
    TPlotFont font = Font("Arial", 12);
    font.Color = clGreen;
    surface.canvas.SetFont(font);
    surface.canvas.TextOut(5, 4, "Hello");
    const int width = surface.canvas.TextWidth("Hello");
    const int height = surface.canvas.TextHeight("Hello");

    EXPECT_EQ(surface.InkCount(Rgb(clYellow)) + surface.InkCount(Rgb(clGreen)), 60 * 30);
    const TPlotRect ink = surface.Ink(Rgb(clYellow));
    EXPECT_GE(ink.Left, 5);
    EXPECT_GE(ink.Top, 4);
    EXPECT_LE(ink.Right, 5 + width);
    EXPECT_LE(ink.Bottom, 4 + height);
}

TEST(CanvasText, MeasureOnlyDrawsNothingAndAnswersTheHeightAtTheBoxWidth) {
    const std::string text = "The quick brown fox jumps over the lazy dog";
    Surface surface(200, 200);
    surface.canvas.SetFont(Font("Arial", 10));
    const int line = surface.canvas.TextHeight(text);

    const int oneLine = surface.canvas.DrawText(text, {0, 0, 1000, 200}, tfWordBreak | tfMeasureOnly);
    const int unbroken = surface.canvas.DrawText(text, {0, 0, 60, 200}, tfMeasureOnly);
    const int broken = surface.canvas.DrawText(text, {0, 0, 60, 200}, tfWordBreak | tfMeasureOnly);
    const int narrower = surface.canvas.DrawText(text, {0, 0, 40, 200}, tfWordBreak | tfMeasureOnly);
    EXPECT_EQ(surface.InkCount(), 0);

    EXPECT_EQ(oneLine, line);
    EXPECT_EQ(unbroken, line);
    EXPECT_GE(broken, 3 * line);
    EXPECT_GT(narrower, broken);
    // The height drawing answers is the one measuring promised.
    EXPECT_EQ(surface.canvas.DrawText(text, {0, 0, 60, 200}, tfWordBreak), broken);
    EXPECT_GT(surface.Ink().Bottom, 2 * line);
    EXPECT_LE(surface.Ink().Bottom, broken);
}

TEST(CanvasText, AlignmentPlacesTheTextInItsBox) {
    const TPlotRect box{10, 10, 190, 60};
    struct Case {
        TTextFormat format;
        int left, right;         // expected ink columns, within 3 pixels
        bool verticallyCentred;  // else at the top
    } cases[] = {
        {tfLeft, 10, -1, false},
        {tfRight, -1, 190, false},
        {tfCenter, -1, -1, false},
        {tfLeft | tfVerticalCenter, 10, -1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        Surface surface(200, 70);
        surface.canvas.SetFont(Font("Arial", 12));
        surface.canvas.DrawText("HHHH", box, c.format);
        const TPlotRect ink = surface.Ink();
        if (c.left >= 0) {
            EXPECT_NEAR(ink.Left, c.left, 3);
        }
        if (c.right >= 0) {
            EXPECT_NEAR(ink.Right, c.right, 3);
        }
        if (c.left < 0 && c.right < 0) {
            EXPECT_NEAR(ink.Left + ink.Right, box.Left + box.Right, 3);
        }
        if (c.verticallyCentred) {
            EXPECT_NEAR(ink.Top + ink.Bottom, box.Top + box.Bottom, 4);
        } else {
            EXPECT_LT(ink.Top, box.Top + 6);
        }
    }
}

TEST(CanvasText, VerticalCentringLeavesSeveralLinesAtTheTop) {
    Surface surface(200, 100);
    surface.canvas.SetFont(Font("Arial", 12));
    surface.canvas.DrawText("HH\nHH", {0, 0, 200, 100}, tfVerticalCenter);
    EXPECT_LT(surface.Ink().Top, 6);
}

TEST(CanvasText, PrefixCharactersUnlessSwitchedOff) {
    Surface withPrefix(100, 30);
    Surface noPrefix(100, 30);
    withPrefix.canvas.SetFont(Font("Arial", 12));
    noPrefix.canvas.SetFont(Font("Arial", 12));
    withPrefix.canvas.DrawText("A&&B", {0, 0, 100, 30}, tfLeft);
    noPrefix.canvas.DrawText("A&B", {0, 0, 100, 30}, tfNoPrefix);
    // "&&" draws one "&": the same picture as the text without prefix processing.
    EXPECT_EQ(withPrefix.image, noPrefix.image);

    Surface underlined(100, 30);
    underlined.canvas.SetFont(Font("Arial", 12));
    underlined.canvas.DrawText("A&B", {0, 0, 100, 30}, tfLeft);
    EXPECT_LT(underlined.Ink().Right, noPrefix.Ink().Right);  // "&" hidden: "AB"
}

TEST(CanvasText, EndEllipsisShortensALineThatDoesNotFit) {
    // The last columns inside the box: "W" reaches the top there, an ellipsis only sits on the line.
    const TPlotRect box{0, 0, 80, 30};
    const auto inkRowsAtTheEnd = [&box](TTextFormat format) {
        Surface surface(100, 30);
        surface.canvas.SetFont(Font("Arial", 14));
        surface.canvas.DrawText("WWWWWWWWWWWW", box, format);
        TPlotRect ink{100, 30, 0, 0};
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 100; ++x) {
                if (surface.At(x, y) == kPaper) continue;
                EXPECT_LT(x, box.Right);
                if (x < surface.Ink().Right - 5) continue;
                ink.Top = std::min(ink.Top, y);
                ink.Bottom = std::max(ink.Bottom, y + 1);
            }
        return ink.Bottom - ink.Top;
    };
    EXPECT_LE(inkRowsAtTheEnd(tfNoPrefix | tfEndEllipsis), 3);
    EXPECT_GT(inkRowsAtTheEnd(tfNoPrefix), 8);
}

TEST(CanvasText, RotatedTextIsCentredOnThePointAndReadsInItsDirection) {
    // "    W": the ink is where the text ends.
    struct Case {
        int angle;
        bool upright;  // ink taller than wide
        int endX, endY;  // where the text ends, from the point: -1, 0 or +1 per axis
    } cases[] = {
        {0, false, 1, 0},
        {90, true, 0, -1},  // bottom to top
        {180, false, -1, 0},
        {270, true, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        const TPlotPoint centre{50, 50};
        Surface word(100, 100);
        word.canvas.SetFont(Font("Arial", 14));
        word.canvas.DrawRotatedText(centre, c.angle, "HHHHHHH");
        const TPlotRect ink = word.Ink();
        const int width = ink.Right - ink.Left;
        const int height = ink.Bottom - ink.Top;
        EXPECT_EQ(height > width, c.upright) << Describe(ink);
        EXPECT_NEAR(ink.Left + ink.Right, 2 * centre.X, 4) << Describe(ink);
        EXPECT_NEAR(ink.Top + ink.Bottom, 2 * centre.Y, 4) << Describe(ink);

        Surface end(100, 100);
        end.canvas.SetFont(Font("Arial", 14));
        end.canvas.DrawRotatedText(centre, c.angle, "      W");
        const TPlotRect endInk = end.Ink();
        const auto side = [](int low, int high, int centreValue) {
            return low >= centreValue ? 1 : high <= centreValue ? -1 : 0;
        };
        EXPECT_EQ(side(endInk.Left, endInk.Right, centre.X), c.endX) << Describe(endInk);
        EXPECT_EQ(side(endInk.Top, endInk.Bottom, centre.Y), c.endY) << Describe(endInk);
    }
}

// ---- Bitmaps and metafiles

TEST(CanvasPictures, BitmapHasItsOwnCanvasAndStartsWhite) {
    QtSurfaceFactory factory;
    auto bitmap = factory.CreateBitmap(6, 4);
    EXPECT_EQ(bitmap->Width(), 6);
    EXPECT_EQ(bitmap->Height(), 4);
    Surface target(10, 10, Rgb(clBlack));
    target.canvas.DrawBitmap({2, 3}, *bitmap);
    EXPECT_EQ(target.Ink(Rgb(clBlack)), (TPlotRect{2, 3, 8, 7}));
    EXPECT_EQ(target.InkCount(Rgb(clBlack)), 24);
    EXPECT_EQ(target.At(2, 3), kPaper);
}

TEST(CanvasPictures, TransparentColourLeavesTheBackground) {
    QtSurfaceFactory factory;
    auto bitmap = factory.CreateBitmap(6, 4);
    TCanvas& image = bitmap->Canvas();
    image.SetBrush(Brush(clTeal));
    image.FillRect({0, 0, 6, 4});
    image.SetBrush(Brush(clRed));
    image.FillRect({2, 1, 4, 3});

    Surface opaque(10, 10, Rgb(clYellow));
    opaque.canvas.DrawBitmap({1, 1}, *bitmap);
    EXPECT_EQ(opaque.At(1, 1), Rgb(clTeal));

    Surface keyed(10, 10, Rgb(clYellow));
    keyed.canvas.DrawBitmapTransparent({1, 1}, *bitmap, clTeal);
    EXPECT_EQ(keyed.Ink(Rgb(clYellow)), (TPlotRect{3, 2, 5, 4}));
    EXPECT_EQ(keyed.InkCount(Rgb(clYellow)), 4);
    EXPECT_EQ(keyed.At(3, 2), Rgb(clRed));
}

TEST(CanvasPictures, MetafilePlaysBackScaledIntoItsBox) {
    QtSurfaceFactory factory;
    auto metafile = factory.CreateMetafile(20, 10);
    TCanvas& recorder = metafile->BeginRecording();
    recorder.SetBrush(Brush(clRed));
    recorder.FillRect({2, 2, 10, 6});
    EXPECT_THROW(Surface(4, 4).canvas.DrawMetafile(*metafile, {0, 0, 4, 4}), std::logic_error);
    metafile->EndRecording();

    struct Case {
        TPlotRect box;
        TPlotRect red;
    } cases[] = {
        {{0, 0, 20, 10}, {2, 2, 10, 6}},
        {{0, 0, 40, 20}, {4, 4, 20, 12}},
        {{10, 5, 50, 25}, {14, 9, 30, 17}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.box));
        Surface surface(60, 30);
        surface.canvas.DrawMetafile(*metafile, c.box);
        EXPECT_EQ(surface.Ink(), c.red) << Describe(surface.Ink());
        EXPECT_EQ(surface.InkCount(), (c.red.Right - c.red.Left) * (c.red.Bottom - c.red.Top));
    }
}

TEST(CanvasPictures, MetafilePlaybackStaysInsideItsBox) {
    QtSurfaceFactory factory;
    auto metafile = factory.CreateMetafile(10, 10);
    TCanvas& recorder = metafile->BeginRecording();
    recorder.SetBrush(Brush(clBlue));
    recorder.SetClipRect({0, 0, 5, 5});
    recorder.RemoveClip();
    recorder.SetOrigin({-20, -20});
    recorder.FillRect({0, 0, 100, 100});
    metafile->EndRecording();

    Surface surface(60, 60);
    surface.canvas.DrawMetafile(*metafile, {20, 20, 40, 40});
    EXPECT_EQ(surface.Ink(), (TPlotRect{20, 20, 40, 40})) << Describe(surface.Ink());
}

TEST(CanvasPictures, CanvasOfNoPixelsMeasuresAndDrawsNothing) {
    QtSurfaceFactory factory;
    auto bitmap = factory.CreateBitmap(0, 5);
    TCanvas& canvas = bitmap->Canvas();
    canvas.SetFont(Font("Arial", 10));
    EXPECT_GT(canvas.TextWidth("XYZ"), 0);
    EXPECT_GT(canvas.DrawText("XYZ", {0, 0, 100, 100}, tfLeft), 0);
    canvas.Line({0, 0}, {5, 5});
    canvas.DrawFocusRect({0, 0, 5, 5});
    EXPECT_EQ(bitmap->Width(), 0);
}
