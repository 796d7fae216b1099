#pragma once
// The drawing surface the plot paints through: an off-screen bitmap, a metafile recording or a
// printer page. The plot's code draws only through TCanvas; a backend (plot/qt) provides it.
//
// Pixel rules every backend keeps, because the plot's geometry is computed against them:
//   - Coordinates are integer pixels; (0, 0) is the top-left pixel of the drawing origin.
//   - A pen of width 0 or 1 draws one-pixel lines that never scale. A segment from p to q sets
//     p and not q, so consecutive segments of a polyline set each joint once.
//   - A box (TPlotRect) covers Left..Right-1 and Top..Bottom-1: Right and Bottom lie just outside.
//   - Text draws only its glyphs: the background behind it stays as it was.
//
// Threads: one thread at a time per canvas (the GUI thread in practice).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "plot/core/PlotFont.h"
#include "plot/core/PlotTextMeasure.h"
#include "plot/core/PlotTypes.h"

namespace ondrix {

struct TPlotPoint {
    int32_t X = 0;
    int32_t Y = 0;

    bool operator==(const TPlotPoint& other) const { return X == other.X && Y == other.Y; }
};

struct TPlotPen {
    TColor Color = clBlack;
    int32_t Width = 0;  // pixels; 0 and 1 both draw the thinnest line, which never scales
    TPenStyle Style = psSolid;

    bool operator==(const TPlotPen& other) const {
        return Color == other.Color && Width == other.Width && Style == other.Style;
    }
};

struct TPlotBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;  // bsClear fills nothing; hatches leave the gaps untouched

    bool operator==(const TPlotBrush& other) const { return Color == other.Color && Style == other.Style; }
};

// Layout of DrawText, flags combined with |. Horizontal alignment is left unless tfCenter or
// tfRight is given.
using TTextFormat = uint32_t;
constexpr TTextFormat tfLeft = 0x00;
constexpr TTextFormat tfCenter = 0x01;
constexpr TTextFormat tfRight = 0x02;
// Centres the text vertically when it lays out as one line; text of several lines starts at the top.
constexpr TTextFormat tfVerticalCenter = 0x04;
// Breaks lines between words to fit the rectangle's width (line breaks in the text always break).
constexpr TTextFormat tfWordBreak = 0x08;
// Without it, "&x" underlines x and "&&" draws one "&".
constexpr TTextFormat tfNoPrefix = 0x10;
// Shortens each line wider than the rectangle so that it ends in an ellipsis; not combined with
// tfWordBreak.
constexpr TTextFormat tfEndEllipsis = 0x20;
// Draws nothing; DrawText only answers the height the text needs at the rectangle's width.
constexpr TTextFormat tfMeasureOnly = 0x40;

enum TEdgeStyle : uint8_t { esRaised, esSunken };

class TPlotBitmap;
class TPlotMetafile;

class TCanvas {
public:
    virtual ~TCanvas() = default;

    // ---- Drawing tools: each stays until replaced or until Restore.
    virtual void SetPen(const TPlotPen& pen) = 0;
    virtual const TPlotPen& GetPen() const = 0;
    virtual void SetBrush(const TPlotBrush& brush) = 0;
    virtual const TPlotBrush& GetBrush() const = 0;
    // The font's colour is the text colour.
    virtual void SetFont(const TPlotFont& font) = 0;
    virtual const TPlotFont& GetFont() const = 0;

    // ---- Text measures in the current font. A text of several lines measures as wide as its
    // widest line and as high as all its lines together.
    virtual int TextWidth(const std::string& text) = 0;
    virtual int TextHeight(const std::string& text) = 0;

    // ---- Lines and shapes. Shapes are outlined with the pen and filled with the brush.
    // Segments from each point to the next, in one call so that a trace hands over a whole run
    // of finished segments at once; the last point is not set.
    virtual void Polyline(const TPlotPoint* points, size_t count) = 0;
    void Line(TPlotPoint from, TPlotPoint to) {
        const TPlotPoint ends[2] = {from, to};
        Polyline(ends, 2);
    }
    // Separate segments, in one call: pairs[2k] to pairs[2k + 1] for each k below count / 2,
    // each setting its first point and not its last, as Line does. A trace whose segments do not
    // join end to end (min-max columns and their connectors) hands them over in batches.
    virtual void Lines(const TPlotPoint* pairs, size_t count) {
        for (size_t i = 0; i + 1 < count; i += 2) Line(pairs[i], pairs[i + 1]);
    }
    // The outline lies on the box's outermost pixels; with a clear pen the brush fills the whole box.
    virtual void Rectangle(const TPlotRect& box) = 0;
    virtual void Ellipse(const TPlotRect& box) = 0;
    // Closed through the points; the inside is what an odd number of edges encloses.
    virtual void Polygon(const TPlotPoint* points, size_t count) = 0;
    // The brush alone, over the whole box; the pen is not used.
    virtual void FillRect(const TPlotRect& box) = 0;

    // ---- Text in the current font and its colour.
    // The text's top-left at (x, y); line breaks start new lines below.
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    // Lays the text out in the box by the flags and answers the height it takes. The text is
    // clipped to the box.
    virtual int DrawText(const std::string& text, const TPlotRect& box, TTextFormat format) = 0;
    // The text's box, turned counter-clockwise by the angle in degrees (90 reads from bottom to
    // top), centred on the point.
    virtual void DrawRotatedText(TPlotPoint centre, int angle, const std::string& text) = 0;

    // ---- Drawing state.
    // Limits drawing to the box, within the clip that was in force at the innermost Save.
    virtual void SetClipRect(const TPlotRect& box) = 0;
    // Back to the clip in force at the innermost Save (none when nothing was saved).
    virtual void RemoveClip() = 0;
    // Saves pen, brush, font, origin and clip; Restore brings back the last saved state.
    // Restore without a matching Save throws std::logic_error.
    virtual void Save() = 0;
    virtual void Restore() = 0;
    // Where the point (0, 0) lands on the device, for painting into a part of another device.
    // Clip boxes set earlier stay where they are on the device.
    virtual void SetOrigin(TPlotPoint devicePosition) = 0;
    virtual TPlotPoint GetOrigin() const = 0;

    // ---- Desktop decorations.
    // A 2-pixel bevel on the box's two outermost rings: raised has its top and left in the
    // highlight colour and its bottom and right (with the top-right and bottom-left corners) in
    // the shadow colour; sunken swaps the two colours.
    virtual void DrawEdge(const TPlotRect& box, TEdgeStyle style) = 0;
    // Inverts every other pixel of the box's outermost ring, so drawing it twice restores the
    // picture.
    virtual void DrawFocusRect(const TPlotRect& box) = 0;

    // ---- Pictures. The bitmap or metafile must come from this canvas's backend; another
    // throws std::invalid_argument.
    virtual void DrawBitmap(TPlotPoint topLeft, const TPlotBitmap& bitmap) = 0;
    // Pixels of the transparent colour leave the canvas as it was.
    virtual void DrawBitmapTransparent(TPlotPoint topLeft, const TPlotBitmap& bitmap, TColor transparent) = 0;
    // Plays a finished recording scaled to fill the box; nothing of it lands outside the box.
    // A metafile still recording throws std::logic_error.
    virtual void DrawMetafile(const TPlotMetafile& metafile, const TPlotRect& box) = 0;

    // ---- Colours. The RGB colour the desktop gives a role.
    virtual TColor GetSystemColor(SystemColorRole role) const = 0;
    // A system colour resolved to RGB; an RGB colour as it is.
    TColor ResolveColor(TColor color) const {
        return IsSystemColor(color) ? GetSystemColor(static_cast<SystemColorRole>(color & ~kSystemColorFlag))
                                    : color;
    }
};

// A picture of fixed size with its own canvas; it starts white.
class TPlotBitmap {
public:
    virtual ~TPlotBitmap() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual TCanvas& Canvas() = 0;
    // Row y (0 at the top) as Width() pixels 0xAARRGGBB; alpha means nothing. For pictures made
    // of the bitmap (files, metafiles, the clipboard); valid until the next drawing.
    virtual const uint32_t* ScanLine(int y) const = 0;
};

// Records drawing operations for playback at another size (TCanvas::DrawMetafile). Its size is
// the logical size of the recording: playback maps (0, 0)..(Width, Height) onto the target box.
class TPlotMetafile {
public:
    virtual ~TPlotMetafile() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Starts a new recording, dropping the previous one. The canvas lives until EndRecording.
    virtual TCanvas& BeginRecording() = 0;
    virtual void EndRecording() = 0;
    virtual bool IsRecording() const = 0;
};

// Makes bitmaps and metafiles of the backend, for code that has no canvas at hand (a layout pass
// into a throw-away bitmap, a picture export).
class TPlotSurfaceFactory {
public:
    virtual ~TPlotSurfaceFactory() = default;
    // A size below 0 counts as 0; a bitmap of no pixels still has a canvas, which draws nothing.
    virtual std::unique_ptr<TPlotBitmap> CreateBitmap(int width, int height) = 0;
    virtual std::unique_ptr<TPlotMetafile> CreateMetafile(int width, int height) = 0;
};

// Measures texts on a canvas in a given font, leaving the canvas's own font as it was.
class TCanvasTextMeasure : public TPlotTextMeasure {
public:
    explicit TCanvasTextMeasure(TCanvas& canvas) : canvas_(canvas) {}

    int TextWidth(const std::string& text, const TPlotFont& font) const override {
        return Measure(font, [&] { return canvas_.TextWidth(text); });
    }
    int TextHeight(const std::string& text, const TPlotFont& font) const override {
        return Measure(font, [&] { return canvas_.TextHeight(text); });
    }

private:
    template <class Measurement>
    int Measure(const TPlotFont& font, Measurement measurement) const {
        const TPlotFont previous = canvas_.GetFont();
        canvas_.SetFont(font);
        const int extent = measurement();
        canvas_.SetFont(previous);
        return extent;
    }

    TCanvas& canvas_;
};

}  // namespace ondrix
