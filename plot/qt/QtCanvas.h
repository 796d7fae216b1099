#pragma once
// The plot's drawing surface over QPainter: bitmaps are QImages (Format_RGB32), metafiles are
// QPictures. Nothing is antialiased, so every pixel the plot's geometry names is exact.
//
// Fonts resolve by name to installed faces with stable metrics (ResolveFont). Their sizes are
// points at 96 pixels per inch whatever the device, so layouts measured on a bitmap hold on a
// metafile or a page.
//
// Text needs a QGuiApplication (the font database lives in it). System colours come from the
// application's palette, or from fixed defaults when there is no application. A canvas
// remembers the texts it measured, by face: a paint pass measures the same labels many times.
//
// Bitmaps keep their rows an odd number of cache lines apart, and a canvas on a 32-bit image
// writes thin solid vertical lines straight into it: a min-max trace is mostly such lines, and
// the painter strokes them pixel by pixel (the same pixels, several times slower).
//
// Threads: a canvas, bitmap or metafile is used by one thread at a time.

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLine>
#include <QList>
#include <QPainter>
#include <QPicture>
#include <QPolygon>
#include <QRect>

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "plot/core/PlotCanvas.h"

namespace ondrix {

// The installed face a font name stands for: "Arial" draws with Liberation Sans, "Times New
// Roman" with Liberation Serif, "Courier New" with Liberation Mono, "MS Sans Serif" with
// DejaVu Sans; any other name goes to the font database as it is.
QString ResolveFontFamily(const std::string& name);
QFont ResolveFont(const TPlotFont& font);

QColor ToQColor(TColor rgb);
// The desktop's colour for a role: the application's palette, or fixed defaults without one.
TColor DesktopSystemColor(SystemColorRole role);

class QtCanvas final : public TCanvas {
public:
    // Paints on the image; the canvas must not outlive it.
    explicit QtCanvas(QImage& image);
    // Paints on any device (a picture, a page) whose drawing area is (0, 0)..size.
    QtCanvas(QPaintDevice& device, QSize size);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    void SetPen(const TPlotPen& pen) override;
    const TPlotPen& GetPen() const override { return state_.pen; }
    void SetBrush(const TPlotBrush& brush) override;
    const TPlotBrush& GetBrush() const override { return state_.brush; }
    void SetFont(const TPlotFont& font) override;
    const TPlotFont& GetFont() const override { return state_.font; }

    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;

    void Polyline(const TPlotPoint* points, size_t count) override;
    void Lines(const TPlotPoint* pairs, size_t count) override;
    void Rectangle(const TPlotRect& box) override;
    void Ellipse(const TPlotRect& box) override;
    void Polygon(const TPlotPoint* points, size_t count) override;
    void FillRect(const TPlotRect& box) override;

    void TextOut(int x, int y, const std::string& text) override;
    int DrawText(const std::string& text, const TPlotRect& box, TTextFormat format) override;
    void DrawRotatedText(TPlotPoint centre, int angle, const std::string& text) override;

    void SetClipRect(const TPlotRect& box) override;
    void RemoveClip() override;
    void Save() override;
    void Restore() override;
    void SetOrigin(TPlotPoint devicePosition) override;
    TPlotPoint GetOrigin() const override { return state_.origin; }

    void DrawEdge(const TPlotRect& box, TEdgeStyle style) override;
    void DrawFocusRect(const TPlotRect& box) override;

    void DrawBitmap(TPlotPoint topLeft, const TPlotBitmap& bitmap) override;
    void DrawBitmapTransparent(TPlotPoint topLeft, const TPlotBitmap& bitmap, TColor transparent) override;
    void DrawMetafile(const TPlotMetafile& metafile, const TPlotRect& box) override;

    TColor GetSystemColor(SystemColorRole role) const override { return DesktopSystemColor(role); }

private:
    struct State {
        TPlotPen pen;
        TPlotBrush brush;
        TPlotFont font;
        TPlotPoint origin;
        QRect clip;      // device pixels
        QRect baseClip;  // device pixels: the clip at the innermost Save
    };
    enum class PainterPen { Stroke, Text };

    void ApplyState();
    void ApplyClip();
    // The painter strokes lines with the pen and draws text with the font's colour.
    void UsePen(PainterPen kind);
    void ApplyPainterPen();
    const QFontMetrics& Metrics();
    int LineHeight();
    QRect ToQRect(const TPlotRect& box) const;
    void DrawImage(TPlotPoint topLeft, const QImage& image);
    bool OnePixelPen() const { return state_.pen.Width <= 1; }
    // Sets the pixels (x, y1)..(x, y2), both ends included, that lie inside the clip.
    void FillColumn(int x, int y1, int y2, uint32_t argb);

    QPainter painter_;
    QRect bounds_;
    State state_;
    std::vector<State> saved_;
    PainterPen painterPen_ = PainterPen::Stroke;
    QFont qfont_;
    std::optional<QFontMetrics> metrics_;  // of qfont_, made on first use after a font change
    int lineHeight_ = -1;                   // of qfont_, -1 until measured
    std::string faceKey_;                   // of qfont_: what its measures depend on
    std::unordered_map<std::string, int> textWidths_;   // by face key and text
    std::unordered_map<std::string, int> lineHeights_;  // by face key
    uchar* pixels_ = nullptr;               // of a 32-bit image, else null
    qsizetype bytesPerLine_ = 0;
    // Reused by every call, so that drawing a trace allocates nothing.
    QPolygon polygon_;
    QList<QLine> segments_;
};

class QtBitmap final : public TPlotBitmap {
public:
    QtBitmap(int width, int height);
    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    TCanvas& Canvas() override;
    // Format_RGB32 rows are 0xffRRGGBB words already.
    const uint32_t* ScanLine(int y) const override {
        return reinterpret_cast<const uint32_t*>(image_.constScanLine(y));
    }
    // What the host copies to the window in one operation.
    const QImage& Image() const { return image_; }

private:
    QImage image_;
    std::unique_ptr<QtCanvas> canvas_;
};

class QtMetafile final : public TPlotMetafile {
public:
    QtMetafile(int width, int height);
    int Width() const override { return size_.width(); }
    int Height() const override { return size_.height(); }
    TCanvas& BeginRecording() override;
    void EndRecording() override;
    bool IsRecording() const override { return recorder_ != nullptr; }
    // The finished recording, for the clipboard, a file or a printer page.
    const QPicture& Picture() const { return picture_; }

private:
    QSize size_;
    QPicture picture_;
    std::unique_ptr<QtCanvas> recorder_;
};

class QtSurfaceFactory final : public TPlotSurfaceFactory {
public:
    std::unique_ptr<TPlotBitmap> CreateBitmap(int width, int height) override;
    std::unique_ptr<TPlotMetafile> CreateMetafile(int width, int height) override;
};

}  // namespace ondrix
