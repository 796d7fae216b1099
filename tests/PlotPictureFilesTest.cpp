// Picture files of the plot: bitmap, PNG and JPEG files of a painted bitmap, and the enhanced
// metafile recording, read back byte by byte and played back pixel by pixel.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "EmfRecords.h"
#include "PixelProbe.h"
#include "PlotErrors.h"
#include "TemporaryFolder.h"
#include "plot/component/Plot.h"
#include "plot/export/PlotEmfCanvas.h"
#include "plot/export/PlotImageFiles.h"
#include "plot/qt/QtCanvas.h"
#include "workbench/ScopePlotConfiguration.h"

using namespace ondrix;

namespace {

using Scene = std::function<void(TCanvas&)>;

TPlotPen Pen(TColor color, int width = 0, TPenStyle style = psSolid) { return TPlotPen{color, width, style}; }
TPlotBrush Brush(TColor color, TBrushStyle style = bsSolid) { return TPlotBrush{color, style}; }

TPlotFont TextFont(int size = 10, TColor color = clBlack) {
    TPlotFont font;
    font.Name = "Arial";
    font.Size = size;
    font.Color = color;
    return font;
}

void Trace(TCanvas& canvas, std::vector<TPlotPoint> points) { canvas.Polyline(points.data(), points.size()); }

// A small picture of what the plot draws: thin and wide lines in several colours, a batch of
// separate segments, an outlined box, an ellipse and text.
void Picture(TCanvas& canvas) {
    canvas.SetBrush(Brush(ColorFromRgb(0xF0F0E0)));
    canvas.FillRect({0, 0, 61, 37});
    canvas.SetPen(Pen(clRed));
    Trace(canvas, {{2, 30}, {12, 5}, {22, 30}, {32, 5}});
    canvas.SetPen(Pen(clBlue, 3));
    Trace(canvas, {{3, 33}, {40, 33}});
    canvas.SetPen(Pen(clGreen));
    const TPlotPoint pairs[] = {{40, 2}, {40, 12}, {44, 2}, {44, 12}, {46, 4}, {58, 9}};
    canvas.Lines(pairs, 6);
    canvas.SetPen(Pen(clBlack));
    canvas.SetBrush(Brush(clYellow));
    canvas.Rectangle({36, 14, 50, 24});
    canvas.SetPen(Pen(clNavy));
    canvas.SetBrush(Brush(clAqua));
    canvas.Ellipse({48, 20, 60, 32});
    canvas.SetFont(TextFont(7));
    canvas.TextOut(14, 14, "Ab");
}

std::unique_ptr<QtBitmap> Painted(int width, int height, const Scene& scene) {
    auto bitmap = std::make_unique<QtBitmap>(width, height);
    scene(bitmap->Canvas());
    return bitmap;
}

QImage Decoded(const std::string& bytes, const char* format) {
    return QImage::fromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), format)
        .convertToFormat(QImage::Format_RGB32);
}

// Largest difference of one colour channel between two pictures of one size.
int LargestChannelDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

uint32_t U32(const std::string& bytes, size_t at) { return test::U32At(bytes, at); }
uint16_t U16(const std::string& bytes, size_t at) { return test::U16At(bytes, at); }

}  // namespace

// ---- Windows bitmap

TEST(BitmapFile, HeadersRowsAndEveryPixel) {
    // Widths that need each padding of a row: 3 bytes a pixel, rows padded to 4.
    for (int width : {1, 2, 3, 4, 61}) {
        SCOPED_TRACE("width " + std::to_string(width));
        const int height = 5;
        auto bitmap = Painted(width, height, [](TCanvas& canvas) {
            canvas.SetPen(Pen(clRed));
            canvas.Line({0, 0}, {60, 4});
            canvas.SetPen(Pen(ColorFromRgb(0x123456)));
            canvas.Line({0, 4}, {60, 4});
        });
        const std::string bytes = EncodeBmp(*bitmap);
        const size_t row = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
        ASSERT_EQ(bytes.size(), 54 + row * height);
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        EXPECT_EQ(U32(bytes, 2), bytes.size());
        EXPECT_EQ(U32(bytes, 10), 54u);  // pixels right after the two headers
        EXPECT_EQ(U32(bytes, 14), 40u);
        EXPECT_EQ(static_cast<int32_t>(U32(bytes, 18)), width);
        EXPECT_EQ(static_cast<int32_t>(U32(bytes, 22)), height);  // positive: bottom-up
        EXPECT_EQ(U16(bytes, 26), 1u);
        EXPECT_EQ(U16(bytes, 28), 24u);
        EXPECT_EQ(U32(bytes, 30), 0u);
        EXPECT_EQ(U32(bytes, 34), row * height);
        EXPECT_EQ(U32(bytes, 38), 3780u);
        EXPECT_EQ(U32(bytes, 42), 3780u);
        for (int y = 0; y < height; ++y) {
            const size_t start = 54 + row * static_cast<size_t>(height - 1 - y);
            for (int x = 0; x < width; ++x) {
                const uint32_t pixel = bitmap->ScanLine(y)[x] & 0xFFFFFF;
                const size_t at = start + 3 * static_cast<size_t>(x);
                const uint32_t stored = static_cast<unsigned char>(bytes[at]) |
                                        static_cast<unsigned char>(bytes[at + 1]) << 8 |
                                        static_cast<unsigned char>(bytes[at + 2]) << 16;
                ASSERT_EQ(stored, pixel) << "pixel " << x << "," << y;
            }
            for (size_t pad = start + 3 * static_cast<size_t>(width); pad < start + row; ++pad)
                EXPECT_EQ(bytes[pad], '\0');
        }
    }
}

TEST(BitmapFile, ReadsBackAsThePicture) {
    auto bitmap = Painted(61, 37, Picture);
    EXPECT_EQ(Decoded(EncodeBmp(*bitmap), "BMP"), bitmap->Image());
}

// ---- PNG and JPEG

TEST(PngFile, EveryPixelAtEachCompression) {
    auto bitmap = Painted(61, 37, Picture);
    const std::string stored = EncodePng(*bitmap, 0);
    const std::string smallest = EncodePng(*bitmap, 9);
    EXPECT_EQ(stored.substr(0, 8), "\x89PNG\r\n\x1A\n");
    EXPECT_EQ(Decoded(stored, "PNG"), bitmap->Image());
    EXPECT_EQ(Decoded(smallest, "PNG"), bitmap->Image());
    EXPECT_LT(smallest.size(), stored.size()) << "the level reaches zlib";
}

TEST(PictureFiles, OutOfRangeSettingsAndEmptyPictures) {
    auto bitmap = Painted(8, 8, Picture);
    QtBitmap empty(0, 0);
    struct Case {
        const char* name;
        std::function<void()> encode;
        std::string message;
    } cases[] = {
        {"png -1", [&] { EncodePng(*bitmap, -1); }, "Compression must be in the range of 0-9"},
        {"png 10", [&] { EncodePng(*bitmap, 10); }, "Compression must be in the range of 0-9"},
        {"jpeg 0", [&] { EncodeJpeg(*bitmap, 0, false); }, "Compression must be in the range of 1-100"},
        {"jpeg 101", [&] { EncodeJpeg(*bitmap, 101, true); }, "Compression must be in the range of 1-100"},
        {"png of range and empty", [&] { EncodePng(empty, 10); }, "Compression must be in the range of 0-9"},
        // A file of no pixels is refused rather than written as a file no reader opens.
        {"bmp empty", [&] { EncodeBmp(empty); }, "Picture has no pixels to write"},
        {"png empty", [&] { EncodePng(empty, 5); }, "Picture has no pixels to write"},
        {"jpeg empty", [&] { EncodeJpeg(empty, 50, false); }, "Picture has no pixels to write"},
        {"png 0", [&] { EncodePng(*bitmap, 0); }, "<no error>"},
        {"jpeg 1", [&] { EncodeJpeg(*bitmap, 1, false); }, "<no error>"},
        {"jpeg 100", [&] { EncodeJpeg(*bitmap, 100, true); }, "<no error>"},
    };
    for (const Case& c : cases) EXPECT_EQ(test::ErrorOf(c.encode), c.message) << c.name;
}

TEST(PictureFiles, LibraryFailuresBecomePlotErrors) {
    // Sizes past each library's limits: its error handler must come back to us as an error
    // instead of printing and ending the process.
    QtBitmap tooWideForJpeg(65501, 1);
    QtBitmap tooWideForPng(1000001, 1);
    EXPECT_EQ(test::ErrorOf([&] { EncodeJpeg(tooWideForJpeg, 90, false); }).rfind("JPEG encoding failed: ", 0), 0u);
    EXPECT_EQ(test::ErrorOf([&] { EncodePng(tooWideForPng, 1); }).rfind("PNG encoding failed: ", 0), 0u);
    // The encoders still work afterwards.
    EXPECT_FALSE(EncodeJpeg(*Painted(4, 4, Picture), 90, false).empty());
}

namespace {

// The frame markers of a JPEG file up to its first scan: 0xC0 baseline, 0xC2 progressive.
struct JpegFrame {
    int marker = 0;
    std::vector<int> sampling;  // per component, horizontal << 4 | vertical
};

JpegFrame FrameOf(const std::string& bytes) {
    JpegFrame frame;
    for (size_t at = 2; at + 4 <= bytes.size();) {
        const int marker = static_cast<unsigned char>(bytes[at + 1]);
        const size_t length = static_cast<unsigned char>(bytes[at + 2]) << 8 | static_cast<unsigned char>(bytes[at + 3]);
        if (marker >= 0xC0 && marker <= 0xC2) {
            frame.marker = marker;
            const int components = static_cast<unsigned char>(bytes[at + 9]);
            for (int c = 0; c < components; ++c) frame.sampling.push_back(static_cast<unsigned char>(bytes[at + 11 + 3 * c]));
            return frame;
        }
        if (marker == 0xDA) break;
        at += 2 + length;
    }
    return frame;
}

}  // namespace

TEST(JpegFile, DecodesCloseToThePicture) {
    auto bitmap = Painted(61, 37, Picture);
    // Quality 100 quantises every coefficient by 1 and keeps colour at full resolution: what is
    // left is the rounding of the colour conversion and the integer DCT, a few levels at the
    // sharp one-pixel edges of lines and text. Lower qualities blur those edges much more, so
    // they are held to an average instead.
    struct Case {
        int quality;
        bool progressive;
        int marker;
        int largestDifference;
    } cases[] = {{100, false, 0xC0, 4}, {100, true, 0xC2, 4}, {75, false, 0xC0, 255}, {75, true, 0xC2, 255}};
    for (const Case& c : cases) {
        SCOPED_TRACE("quality " + std::to_string(c.quality) + (c.progressive ? " progressive" : " baseline"));
        const std::string bytes = EncodeJpeg(*bitmap, c.quality, c.progressive);
        ASSERT_EQ(bytes.substr(0, 2), "\xFF\xD8");
        const JpegFrame frame = FrameOf(bytes);
        EXPECT_EQ(frame.marker, c.marker);
        ASSERT_EQ(frame.sampling.size(), 3u);
        if (c.quality == 100) {
            EXPECT_EQ(frame.sampling, (std::vector<int>{0x11, 0x11, 0x11}));
        }
        const QImage decoded = Decoded(bytes, "JPG");
        ASSERT_EQ(decoded.size(), bitmap->Image().size());
        EXPECT_LE(LargestChannelDifference(decoded, bitmap->Image()), c.largestDifference);
        long total = 0;
        for (int y = 0; y < decoded.height(); ++y)
            for (int x = 0; x < decoded.width(); ++x) {
                const QRgb p = decoded.pixel(x, y), q = bitmap->Image().pixel(x, y);
                total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
            }
        EXPECT_LE(total / (3.0 * decoded.width() * decoded.height()), c.quality == 100 ? 1.0 : 20.0);
    }
}

// ---- Enhanced metafile: the file's structure

namespace {

std::string Record(int width, int height, const Scene& scene) {
    QtBitmap screen(1, 1);
    TPlotEmfRecorder recorder(width, height, screen.Canvas(), "Ondrix", "Strip Chart");
    scene(recorder.Canvas());
    return recorder.Finish();
}

std::vector<test::EmfRecord> RecordsOf(const std::string& bytes) { return test::EmfRecordsOf(bytes); }

}  // namespace

TEST(EmfFile, HeaderAndRecordsHoldTogether) {
    const std::string bytes = Record(61, 37, Picture);
    EXPECT_EQ(test::EmfProblems(bytes), std::vector<std::string>{});
    EXPECT_EQ(test::EmfDescription(bytes), std::string("Ondrix\0Strip Chart\0\0", 20));
    // Bounds in pixels and the frame in hundredths of a millimetre at 96 per inch, both inclusive.
    EXPECT_EQ((std::vector<int32_t>{test::I32At(bytes, 8), test::I32At(bytes, 12), test::I32At(bytes, 16),
                                    test::I32At(bytes, 20)}),
              (std::vector<int32_t>{0, 0, 60, 36}));
    EXPECT_EQ(test::I32At(bytes, 32), 1614 - 1);  // 61 px = 16.14 mm
    EXPECT_EQ(test::I32At(bytes, 36), 979 - 1);   // 37 px = 9.79 mm
    // The reference device: millimetres per pixel for 96 per inch.
    EXPECT_DOUBLE_EQ(test::I32At(bytes, 72) * 25.4 / test::I32At(bytes, 80), 96.0);
    EXPECT_DOUBLE_EQ(test::I32At(bytes, 76) * 25.4 / test::I32At(bytes, 84), 96.0);
    EXPECT_EQ(U32(bytes, 64), 108u);
}

TEST(EmfFile, ObjectsAreCreatedOncePerValue) {
    // A trace of a thousand segments in two alternating colours, a hundred boxes and texts.
    const std::string bytes = Record(200, 100, [](TCanvas& canvas) {
        for (int i = 0; i < 1000; ++i) {
            canvas.SetPen(Pen(i % 2 ? clRed : clBlue));
            canvas.Line({i % 200, 0}, {i % 200, 50});
        }
        for (int i = 0; i < 100; ++i) {
            canvas.SetBrush(Brush(clYellow));
            canvas.FillRect({i, 60, i + 2, 62});
            canvas.SetFont(TextFont(8));
            canvas.TextOut(i, 70, "x");
        }
    });
    const auto records = RecordsOf(bytes);
    EXPECT_EQ(test::EmfProblems(bytes), std::vector<std::string>{});
    EXPECT_EQ(test::CountOf(records, test::kEmrCreatePen), 2u);
    EXPECT_EQ(test::CountOf(records, test::kEmrCreateBrushIndirect), 1u);
    EXPECT_EQ(test::CountOf(records, test::kEmrExtCreateFontIndirectW), 1u);
    EXPECT_LE(U16(bytes, 56), 5u);
}

TEST(EmfFile, ManyColoursKeepTheHandleTableBounded) {
    const std::string bytes = Record(100, 100, [](TCanvas& canvas) {
        for (int i = 0; i < 3000; ++i) {
            canvas.SetPen(Pen(static_cast<TColor>(i * 97)));
            canvas.Line({i % 100, 0}, {i % 100, 100});
        }
    });
    EXPECT_EQ(test::EmfProblems(bytes), std::vector<std::string>{});
    EXPECT_LE(U16(bytes, 56), 1100u);
    // The last colour still lands: objects are reused only after their deletion.
    const QImage played = test::PlayEmf(bytes, 100, 100);
    EXPECT_EQ(played.pixel(99, 50), ToQColor(static_cast<TColor>(2999 * 97)).rgb());
}

TEST(EmfFile, PointsTakeTheSmallRecordsWhenTheyFit) {
    struct Case {
        TPlotPoint from, to;
        uint32_t polyline, lines;
    } cases[] = {
        {{0, 0}, {32767, 10}, test::kEmrPolyline16, test::kEmrPolyPolyline16},
        {{-32768, 0}, {5, 5}, test::kEmrPolyline16, test::kEmrPolyPolyline16},
        {{0, 0}, {32768, 10}, test::kEmrPolyline, test::kEmrPolyPolyline},
        {{0, -40000}, {5, 5}, test::kEmrPolyline, test::kEmrPolyPolyline},
    };
    for (const Case& c : cases) {
        const std::string bytes = Record(10, 10, [&c](TCanvas& canvas) {
            canvas.Line(c.from, c.to);
            const TPlotPoint pair[] = {c.from, c.to};
            canvas.Lines(pair, 2);
        });
        const auto records = RecordsOf(bytes);
        EXPECT_EQ(test::CountOf(records, c.polyline), 1u) << c.to.X;
        EXPECT_EQ(test::CountOf(records, c.lines), 1u) << c.to.X;
    }
}

TEST(EmfFile, MisuseIsRefused) {
    QtBitmap screen(1, 1);
    TPlotEmfRecorder recorder(10, 10, screen.Canvas(), "c", "t");
    TCanvas& canvas = recorder.Canvas();
    QtMetafile metafile(5, 5);
    EXPECT_THROW(canvas.DrawMetafile(metafile, {0, 0, 5, 5}), std::invalid_argument);
    EXPECT_THROW(canvas.Restore(), std::logic_error);
    canvas.Save();  // left open: Finish drops it
    const std::string bytes = recorder.Finish();
    EXPECT_EQ(test::EmfProblems(bytes), std::vector<std::string>{});
    EXPECT_THROW(recorder.Finish(), std::logic_error);
    EXPECT_THROW(canvas.Line({0, 0}, {5, 5}), std::logic_error);
}

TEST(EmfFile, MeasuresOnTheScreenCanvasAndLeavesItsFont) {
    QtBitmap screen(1, 1);
    const TPlotFont screenFont = TextFont(20, clRed);
    screen.Canvas().SetFont(screenFont);
    TPlotEmfRecorder recorder(10, 10, screen.Canvas(), "c", "t");
    TCanvas& canvas = recorder.Canvas();
    canvas.SetFont(TextFont(9));
    const int width = canvas.TextWidth("Hello\nworld!");
    const int height = canvas.TextHeight("Hello\nworld!");
    EXPECT_EQ(screen.Canvas().GetFont(), screenFont);
    QtBitmap reference(1, 1);
    reference.Canvas().SetFont(TextFont(9));
    EXPECT_EQ(width, reference.Canvas().TextWidth("Hello\nworld!"));
    EXPECT_EQ(height, reference.Canvas().TextHeight("Hello\nworld!"));
    EXPECT_EQ(canvas.GetSystemColor(SystemColorRole::Shadow), screen.Canvas().GetSystemColor(SystemColorRole::Shadow));
}

// ---- Enhanced metafile: played back, it shows what the screen shows

namespace {

// Pixels that differ outside the played texts' boxes (text is compared by its layout below, not
// glyph by glyph), counted apart inside the boxes of ellipses.
struct Differences {
    int outside = 0;
    int inEllipses = 0;
};

Differences Compare(const QImage& screen, const QImage& played, const std::vector<QRect>& textBoxes,
                    const std::vector<TPlotRect>& ellipses) {
    Differences differences;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x) {
            if (screen.pixel(x, y) == played.pixel(x, y)) continue;
            const bool inText = std::any_of(textBoxes.begin(), textBoxes.end(),
                                            [x, y](const QRect& box) { return box.adjusted(-1, -1, 1, 1).contains(x, y); });
            const bool inEllipse = std::any_of(ellipses.begin(), ellipses.end(),
                                               [x, y](const TPlotRect& box) { return box.Contains(x, y); });
            if (inEllipse)
                ++differences.inEllipses;
            else if (!inText)
                ++differences.outside;
        }
    return differences;
}

void ClippedLines(TCanvas& canvas) {
    canvas.SetPen(Pen(clRed));
    canvas.Save();
    canvas.SetClipRect({10, 10, 30, 20});
    canvas.Line({0, 15}, {60, 15});
    canvas.Line({20, 0}, {20, 40});
    canvas.Restore();
    canvas.SetPen(Pen(clBlue));
    canvas.Line({0, 30}, {60, 30});
}

void NestedClips(TCanvas& canvas) {
    canvas.SetPen(Pen(clBlack));
    canvas.Save();
    canvas.SetClipRect({5, 5, 40, 30});
    canvas.Save();
    canvas.SetClipRect({20, 0, 60, 40});  // within the outer clip: 20..40 × 5..30
    canvas.SetBrush(Brush(clRed));
    canvas.FillRect({0, 0, 60, 40});
    canvas.RemoveClip();  // back to the outer clip
    canvas.SetPen(Pen(clBlue));
    canvas.Line({0, 8}, {60, 8});
    canvas.Restore();
    canvas.Line({0, 12}, {60, 12});  // the pen came back with Restore: black
    canvas.SetClipRect({0, 0, 10, 40});
    canvas.Line({0, 16}, {60, 16});
    canvas.Restore();
    canvas.Line({0, 36}, {60, 36});
}

void OriginAndBoxes(TCanvas& canvas) {
    // A whole hatch pattern away, so that the hatch's phase is the same measured from either.
    canvas.SetOrigin({8, 8});
    canvas.SetPen(Pen(clBlack, 0, psClear));
    canvas.SetBrush(Brush(clLime));
    canvas.Rectangle({0, 0, 10, 10});  // no outline: the brush fills the whole box
    canvas.SetPen(Pen(clBlack));
    canvas.SetBrush(Brush(clRed, bsClear));
    canvas.Rectangle({12, 0, 22, 10});
    canvas.SetBrush(Brush(clBlue, bsCross));
    canvas.FillRect({24, 0, 40, 12});
    canvas.SetClipRect({0, 14, 20, 30});  // set with the origin: lands at 8..28 × 22..38
    canvas.SetOrigin({0, 0});
    canvas.SetBrush(Brush(clFuchsia));
    canvas.FillRect({0, 0, 61, 40});
}

}  // namespace

TEST(EmfPlayback, ShapesLandWhereTheScreenDrawsThem) {
    auto otherPicture = std::make_shared<QtBitmap>(6, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            otherPicture->Canvas().SetBrush(Brush(static_cast<TColor>((x * 40) | (y * 50) << 8 | 0x400000)));
            otherPicture->Canvas().FillRect({x, y, x + 1, y + 1});
        }
    struct Case {
        const char* name;
        Scene scene;
        // Ellipses' edges may differ by some pixels: the screen stretches a pen-less ellipse half a
        // pixel up, and any player rasterises the curve anew.
        std::vector<TPlotRect> ellipses;
        int ellipseSlack;
    } cases[] = {
        {"picture", Picture, {{48, 20, 60, 32}}, 0},
        {"clipped lines", ClippedLines, {}, 0},
        {"nested clips", NestedClips, {}, 0},
        {"origin and boxes", OriginAndBoxes, {}, 0},
        {"styles and widths",
         [](TCanvas& canvas) {
             const TPenStyle styles[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear};
             for (int i = 0; i < 6; ++i) {
                 canvas.SetPen(Pen(clMaroon, 0, styles[i]));
                 canvas.Line({2, 3 + 3 * i}, {58, 3 + 3 * i});
                 canvas.SetPen(Pen(clTeal, 1 + i % 3 * 2, styles[i]));
                 canvas.Line({2 + 9 * i, 22}, {8 + 9 * i, 36});
             }
         },
         {},
         0},
        {"polygon and ellipses",
         [](TCanvas& canvas) {
             canvas.SetPen(Pen(clBlack));
             canvas.SetBrush(Brush(clYellow));
             const TPlotPoint star[] = {{5, 35}, {15, 2}, {25, 35}, {0, 14}, {30, 14}};
             canvas.Polygon(star, 5);
             canvas.SetPen(Pen(clBlack, 0, psClear));
             canvas.SetBrush(Brush(clGreen));
             const TPlotPoint triangle[] = {{33, 30}, {45, 5}, {58, 30}};
             canvas.Polygon(triangle, 3);
             canvas.Ellipse({34, 30, 60, 40});
         },
         {{34, 30, 60, 40}},
         40},
        {"edges, focus and bitmaps",
         [otherPicture](TCanvas& canvas) {
             canvas.DrawEdge({2, 2, 20, 16}, esRaised);
             canvas.DrawEdge({22, 2, 40, 16}, esSunken);
             canvas.SetBrush(Brush(clNavy));
             canvas.FillRect({0, 18, 61, 40});
             canvas.DrawFocusRect({4, 20, 30, 30});
             canvas.DrawFocusRect({8, 33, 9, 38});
             canvas.DrawFocusRect({36, 22, 40, 23});
             canvas.DrawFocusRect({44, 22, 52, 30});
             canvas.DrawFocusRect({44, 22, 52, 30});  // twice: gone again
             canvas.DrawBitmap({44, 2}, *otherPicture);
             canvas.DrawBitmapTransparent({52, 32}, *otherPicture, static_cast<TColor>(0x400000 | 40 | 50 << 8));
         },
         {},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto screen = Painted(61, 40, c.scene);
        const std::string bytes = Record(61, 40, c.scene);
        EXPECT_EQ(test::EmfProblems(bytes), std::vector<std::string>{});
        std::vector<QRect> textBoxes;
        const QImage played = test::PlayEmf(bytes, 61, 40, &textBoxes);
        const Differences differences = Compare(screen->Image(), played, textBoxes, c.ellipses);
        EXPECT_EQ(differences.outside, 0);
        EXPECT_LE(differences.inEllipses, c.ellipseSlack);
    }
}

TEST(EmfPlayback, TheScopePlotLooksAsOnTheScreen) {
    TPlot plot;
    ConfigureScopePlot(plot);
    plot.SetBounds(420, 300);
    plot.SetSurfaceFactory(std::make_shared<QtSurfaceFactory>());
    for (int c = 0; c < 4; ++c)
        for (int i = 0; i < 2000; ++i) plot.GetChannel(c)->AddXY(i, 1000 * (c + 1) * std::sin(i / (40.0 + 25 * c)));
    // The axes size themselves by the labels of the pass before: a first pass settles them.
    QtBitmap settle(420, 300);
    plot.iPaintToDC(settle.Canvas(), 0, 0, false);
    QtBitmap screen(420, 300);
    plot.iPaintToDC(screen.Canvas(), 0, 0, false);
    const std::string bytes = Record(420, 300, [&plot](TCanvas& canvas) { plot.iPaintToDC(canvas, 0, 0, false); });
    EXPECT_EQ(test::EmfProblems(bytes), std::vector<std::string>{});
    std::vector<QRect> textBoxes;
    const QImage played = test::PlayEmf(bytes, 420, 300, &textBoxes);
    EXPECT_FALSE(textBoxes.empty()) << "the axes' labels are text records";
    EXPECT_EQ(Compare(screen.Image(), played, textBoxes, {}).outside, 0);
}

TEST(EmfPlayback, LongTracesAreCutWithoutLosingAJoint) {
    // A trace that spans three records and a batch of separate segments that spans two, each
    // point in a column of its own, so that a segment lost at a cut shows.
    const Scene scene = [](TCanvas& canvas) {
        std::vector<TPlotPoint> trace;
        for (int i = 0; i < 20000; ++i) trace.push_back({i, 5 + (i % 10) + 12 * (i % 2)});
        canvas.SetPen(Pen(clRed));
        canvas.Polyline(trace.data(), trace.size());
        std::vector<TPlotPoint> pairs;
        for (int i = 0; i < 6000; ++i) {
            pairs.push_back({3 * i, 30 + i % 3});
            pairs.push_back({3 * i + 2, 38 + i % 5});
        }
        canvas.SetPen(Pen(clBlue));
        canvas.Lines(pairs.data(), pairs.size());
    };
    auto screen = Painted(20002, 45, scene);
    const std::string bytes = Record(20002, 45, scene);
    const auto records = RecordsOf(bytes);
    EXPECT_EQ(test::CountOf(records, test::kEmrPolyline16), 3u);
    EXPECT_EQ(test::CountOf(records, test::kEmrPolyPolyline16), 2u);
    EXPECT_EQ(Compare(screen->Image(), test::PlayEmf(bytes, 20002, 45), {}, {}).outside, 0);
}

TEST(EmfPlayback, ClipLeavesNothingOutside) {
    const std::string bytes = Record(61, 40, ClippedLines);
    const QImage played = test::PlayEmf(bytes, 61, 40);
    // Red only inside the clip box; the blue line after Restore runs the whole width.
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 61; ++x)
            if (played.pixel(x, y) == ToQColor(clRed).rgb()) {
                EXPECT_TRUE(TPlotRect({10, 10, 30, 20}).Contains(x, y)) << x << "," << y;
            }
    for (int x = 0; x < 60; ++x) EXPECT_EQ(played.pixel(x, 30), ToQColor(clBlue).rgb()) << x;
    EXPECT_EQ(played.pixel(60, 30), qRgb(255, 255, 255)) << "the end point stays unset";
}

// ---- Enhanced metafile: text lays out as on the screen

namespace {

// The text's ink lands where the screen puts it, give or take a pixel on each side.
void ExpectInkWithinAPixel(const QImage& played, const QImage& screen) {
    const TPlotRect expected = test::InkBox(screen, qRgb(255, 255, 255));
    const TPlotRect got = test::InkBox(played, qRgb(255, 255, 255));
    EXPECT_NEAR(got.Left, expected.Left, 1);
    EXPECT_NEAR(got.Top, expected.Top, 1);
    EXPECT_NEAR(got.Right, expected.Right, 1);
    EXPECT_NEAR(got.Bottom, expected.Bottom, 1);
}

}  // namespace

TEST(EmfText, LaysOutAsTheScreenDoes) {
    const std::string longText = "The quick brown fox jumps over the lazy dog";
    struct Case {
        const char* name;
        std::string text;
        TPlotRect box;
        TTextFormat format;
    } cases[] = {
        {"left", "Channel 1", {5, 5, 150, 40}, tfLeft},
        {"centre", "Channel 1", {5, 5, 150, 40}, tfCenter},
        {"right", "Channel 1", {5, 5, 150, 40}, tfRight},
        {"vertical centre", "Channel 1", {5, 5, 150, 40}, tfCenter | tfVerticalCenter},
        {"two lines", "first line\r\nsecond", {5, 5, 150, 60}, tfCenter},
        {"two lines not centred vertically", "first\nsecond", {5, 5, 150, 60}, tfVerticalCenter},
        {"word break", longText, {5, 5, 90, 90}, tfWordBreak},
        {"word break centred", longText, {5, 5, 90, 90}, tfWordBreak | tfCenter},
        {"ellipsis", longText, {5, 5, 90, 40}, tfEndEllipsis},
        {"prefix", "&File && more", {5, 5, 150, 40}, tfLeft},
        {"no prefix", "&File && more", {5, 5, 150, 40}, tfNoPrefix},
        {"empty", "", {5, 5, 150, 40}, tfVerticalCenter},
        {"word wider than the box", "Oscilloscope trace", {5, 5, 30, 90}, tfWordBreak},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Scene scene = [&c](TCanvas& canvas) {
            canvas.SetFont(TextFont(10));
            canvas.DrawText(c.text, c.box, c.format);
        };
        auto screen = Painted(160, 100, scene);
        QtBitmap measureOnScreen(1, 1);
        measureOnScreen.Canvas().SetFont(TextFont(10));
        QtBitmap screenForRecorder(1, 1);
        TPlotEmfRecorder recorder(160, 100, screenForRecorder.Canvas(), "c", "t");
        recorder.Canvas().SetFont(TextFont(10));
        EXPECT_EQ(recorder.Canvas().DrawText(c.text, c.box, c.format | tfMeasureOnly),
                  measureOnScreen.Canvas().DrawText(c.text, c.box, c.format | tfMeasureOnly));
        const QImage played = test::PlayEmf(Record(160, 100, scene), 160, 100);
        ExpectInkWithinAPixel(played, screen->Image());
        const int screenInk = test::InkCount(screen->Image(), qRgb(255, 255, 255));
        EXPECT_NEAR(test::InkCount(played, qRgb(255, 255, 255)), screenInk, screenInk / 10 + 2);
    }
}

TEST(EmfText, BreaksAndElidesAtTheScreensWidths) {
    // Box widths around each text's own width, where a line just fits or just does not: word
    // breaks fall exactly where the screen's do. An ellipsis is placed by measured widths, which
    // are the screen's fractional ones rounded, so near a tie it may keep or drop one character
    // more than the screen: held to within a character's width.
    for (int size : {8, 10, 12})
        for (const std::string text : {"Channel one value", "Voltage / mV now", "Time Intervals"}) {
            QtBitmap screenMeasure(1, 1);
            screenMeasure.Canvas().SetFont(TextFont(size));
            const int textWidth = screenMeasure.Canvas().TextWidth(text);
            const int character = screenMeasure.Canvas().TextWidth("m");
            for (int width = textWidth - 3 * character; width <= textWidth + 3; ++width)
                for (TTextFormat format : {tfWordBreak, tfEndEllipsis}) {
                    SCOPED_TRACE(text + " at " + std::to_string(size) + " pt in " + std::to_string(width) +
                                 (format == tfWordBreak ? " px, word break" : " px, ellipsis"));
                    const TPlotRect box{0, 0, width, 60};
                    const Scene scene = [&](TCanvas& canvas) {
                        canvas.SetFont(TextFont(size));
                        canvas.DrawText(text, box, format);
                    };
                    QtBitmap screenForRecorder(1, 1);
                    TPlotEmfRecorder recorder(width, 60, screenForRecorder.Canvas(), "c", "t");
                    recorder.Canvas().SetFont(TextFont(size));
                    EXPECT_EQ(recorder.Canvas().DrawText(text, box, format | tfMeasureOnly),
                              screenMeasure.Canvas().DrawText(text, box, format | tfMeasureOnly));
                    const TPlotRect expected = test::InkBox(Painted(width, 60, scene)->Image(), qRgb(255, 255, 255));
                    const TPlotRect got =
                        test::InkBox(test::PlayEmf(Record(width, 60, scene), width, 60), qRgb(255, 255, 255));
                    EXPECT_NEAR(got.Right, expected.Right, format == tfWordBreak ? 1 : character);
                    if (format == tfWordBreak) {
                        EXPECT_NEAR(got.Bottom, expected.Bottom, 1);
                    }
                }
        }
}

TEST(EmfText, RotatedTextIsCentredOnItsPoint) {
    for (int angle : {0, 90, 180, 270}) {
        SCOPED_TRACE("angle " + std::to_string(angle));
        const Scene scene = [angle](TCanvas& canvas) {
            canvas.SetFont(TextFont(10));
            canvas.DrawRotatedText({60, 50}, angle, "Volts (mV)");
        };
        auto screen = Painted(120, 100, scene);
        const QImage played = test::PlayEmf(Record(120, 100, scene), 120, 100);
        ExpectInkWithinAPixel(played, screen->Image());
    }
}

// ---- Enhanced metafile: a player of another make

// ONDRIX_EMF_TO_PNG names a command run as `command in.emf out.png` that converts with a player
// not written by us; without it the test is skipped. The picture may land anywhere on the
// converter's page, at any scale: it is found by its black background.
TEST(EmfConverter, AnotherPlayerPlacesTheShapes) {
    const char* converter = std::getenv("ONDRIX_EMF_TO_PNG");
    if (converter == nullptr || *converter == '\0') GTEST_SKIP() << "ONDRIX_EMF_TO_PNG not set";
    const Scene scene = [](TCanvas& canvas) {
        canvas.SetBrush(Brush(clBlack));
        canvas.FillRect({0, 0, 200, 120});
        canvas.SetBrush(Brush(clRed));
        canvas.FillRect({20, 20, 80, 60});
        canvas.SetPen(Pen(clLime));
        canvas.SetBrush(Brush(clLime));
        canvas.Ellipse({120, 30, 180, 90});
        canvas.SetPen(Pen(clBlue, 6));
        canvas.Line({20, 100}, {180, 100});
        canvas.SetFont(TextFont(10, clWhite));
        canvas.TextOut(20, 64, "Volts");
    };
    test::TemporaryFolder folder;
    const std::string emf = folder.String() + "/picture.emf", png = folder.String() + "/picture.png";
    std::ofstream(emf, std::ios::binary) << Record(200, 120, scene);
    const std::string command = std::string(converter) + " '" + emf + "' '" + png + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const QImage converted = QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(converted.isNull());
    const TPlotRect frame = test::InkBox(converted, qRgb(255, 255, 255));
    const double scale = (frame.Right - frame.Left) / 200.0;
    ASSERT_GT(scale, 0.2);
    EXPECT_NEAR((frame.Bottom - frame.Top) / scale, 120, 3) << "the frame keeps its proportions";
    const auto at = [&](int x, int y) {
        return converted.pixel(frame.Left + static_cast<int>(x * scale), frame.Top + static_cast<int>(y * scale));
    };
    struct Probe {
        int x, y;
        QRgb color;
    } probes[] = {{50, 40, qRgb(255, 0, 0)}, {22, 22, qRgb(255, 0, 0)}, {77, 57, qRgb(255, 0, 0)},
                  {150, 60, qRgb(0, 255, 0)}, {100, 100, qRgb(0, 0, 255)}, {100, 10, qRgb(0, 0, 0)},
                  {17, 17, qRgb(0, 0, 0)}, {83, 63, qRgb(0, 0, 0)}, {125, 35, qRgb(0, 0, 0)}};
    for (const Probe& p : probes) {
        const QRgb seen = at(p.x, p.y);
        EXPECT_LE(std::max({std::abs(qRed(seen) - qRed(p.color)), std::abs(qGreen(seen) - qGreen(p.color)),
                            std::abs(qBlue(seen) - qBlue(p.color))}),
                  40)
            << "at " << p.x << "," << p.y << ": " << std::hex << seen;
    }
}
