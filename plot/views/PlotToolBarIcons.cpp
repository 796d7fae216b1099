#include "plot/views/PlotToolBarIcons.h"

#include <initializer_list>
#include <vector>

namespace ondrix {

namespace {

// No stroke or no fill. Beyond every RGB value and without the system flag, so it never names
// a colour.
constexpr TColor kClear = 0x1FFFFFFF;

// Colours of 16-colour pictures, which the pictures keep to.
constexpr TColor kOutline = clBlack;
constexpr TColor kPaper = clWhite;
constexpr TColor kText = clGray;

// How a picture is inked: as it is, or one of the two passes of its greyed form.
enum class TIconInk { Normal, GreyHighlight, GreyShadow };

// Light colours are the fills a greyed picture turns into openings; the threshold puts white,
// silver, yellow and aqua on the light side and every darker colour of the pictures on the dark
// one.
bool IsLight(TColor color) {
    const int luminance = (299 * RedOf(color) + 587 * GreenOf(color) + 114 * BlueOf(color)) / 1000;
    return luminance >= 160;
}

}  // namespace

// Draws one picture designed on a 24-pixel grid into a square of its own size. Design pixels
// map to the pixel whose span holds their centre, so a 16-pixel picture keeps every stroke
// one pixel wide and every box closed.
class TPlotIconPainter {
public:
    TPlotIconPainter(TCanvas& canvas, TPlotPoint origin, int size, TIconInk ink)
        : canvas_(canvas), origin_(origin), size_(size), ink_(ink) {}

    bool Small() const { return size_ < 24; }

    // A stroke through the points, both ends set.
    void Line(std::initializer_list<TPlotPoint> points, TColor color) {
        const TColor pen = Inked(color);
        if (pen == kClear || points.size() == 0) return;
        std::vector<TPlotPoint> mapped;
        for (const TPlotPoint& p : points) mapped.push_back(At(p));
        canvas_.SetPen(TPlotPen{pen, 1, psSolid});
        canvas_.Polyline(mapped.data(), mapped.size());
        SetPixel(mapped.back(), pen);
    }
    // Left..Right-1 by Top..Bottom-1 of the grid, outlined and filled.
    void Box(const TPlotRect& box, TColor pen, TColor fill) {
        if (!Prepare(pen, fill)) return;
        canvas_.Rectangle(Area(box));
    }
    void Fill(const TPlotRect& box, TColor color) {
        const TColor fill = Inked(color);
        if (fill == kClear) return;
        canvas_.SetBrush(TPlotBrush{fill, bsSolid});
        canvas_.FillRect(Area(box));
    }
    void Shape(std::initializer_list<TPlotPoint> points, TColor pen, TColor fill) {
        if (!Prepare(pen, fill)) return;
        std::vector<TPlotPoint> mapped;
        for (const TPlotPoint& p : points) mapped.push_back(At(p));
        canvas_.Polygon(mapped.data(), mapped.size());
    }
    void Round(const TPlotRect& box, TColor pen, TColor fill) {
        if (!Prepare(pen, fill)) return;
        canvas_.Ellipse(Area(box));
    }
    // A dotted outline, every other pixel of the picture's own size, so the dots stay even
    // at both sizes.
    void DottedBox(const TPlotRect& box, TColor color) {
        const TColor dot = Inked(color);
        if (dot == kClear) return;
        const TPlotRect r = Area(box);
        for (int x = r.Left; x < r.Right; x += 2) {
            SetPixel({x, r.Top}, dot);
            SetPixel({x, r.Bottom - 1}, dot);
        }
        for (int y = r.Top; y < r.Bottom; y += 2) {
            SetPixel({r.Left, y}, dot);
            SetPixel({r.Right - 1, y}, dot);
        }
    }

private:
    int MapPixel(int v) const { return (2 * v + 1) * size_ / 48; }
    TPlotPoint At(TPlotPoint p) const { return {origin_.X + MapPixel(p.X), origin_.Y + MapPixel(p.Y)}; }
    TPlotRect Area(const TPlotRect& box) const {
        const TPlotPoint topLeft = At({box.Left, box.Top});
        const TPlotPoint bottomRight = At({box.Right - 1, box.Bottom - 1});
        return {topLeft.X, topLeft.Y, bottomRight.X + 1, bottomRight.Y + 1};
    }
    // Greyed, a light fill becomes the button's face, so that a page or a label still shows as
    // an opening in what lies under it; the highlight copy leaves it out, or it would cover the
    // dark strokes' highlights.
    TColor Inked(TColor color) const {
        if (color == kClear || ink_ == TIconInk::Normal) return color;
        if (ink_ == TIconInk::GreyHighlight) return IsLight(color) ? kClear : clBtnHighlight;
        return IsLight(color) ? clBtnFace : clBtnShadow;
    }
    // Pen and brush for an outlined shape; false when the ink leaves both out.
    bool Prepare(TColor pen, TColor fill) {
        const TColor stroke = Inked(pen);
        const TColor inside = Inked(fill);
        if (stroke == kClear && inside == kClear) return false;
        canvas_.SetPen(stroke == kClear ? TPlotPen{clBlack, 1, psClear} : TPlotPen{stroke, 1, psSolid});
        canvas_.SetBrush(inside == kClear ? TPlotBrush{clWhite, bsClear} : TPlotBrush{inside, bsSolid});
        return true;
    }
    void SetPixel(TPlotPoint p, TColor color) {
        canvas_.SetBrush(TPlotBrush{color, bsSolid});
        canvas_.FillRect({p.X, p.Y, p.X + 1, p.Y + 1});
    }

    TCanvas& canvas_;
    TPlotPoint origin_;
    int size_;
    TIconInk ink_;
};

struct TPlotToolBarIcon {
    const char* Name;
    int Size;
    void (*Paint)(TPlotIconPainter&);
};

namespace {

// ---- The pictures, on the 24-pixel grid ------------------------------------------------------

void PaintResume(TPlotIconPainter& p) { p.Shape({{7, 4}, {18, 12}, {7, 20}}, kOutline, clGreen); }

void PaintPause(TPlotIconPainter& p) {
    p.Box({5, 5, 10, 20}, kOutline, clNavy);
    p.Box({14, 5, 19, 20}, kOutline, clNavy);
}

// An open hand, which grabs the axes and drags them along.
void PaintScroll(TPlotIconPainter& p) {
    const TColor skin = clWhite;
    p.Box({6, 4, 10, 14}, kOutline, skin);
    p.Box({9, 2, 13, 14}, kOutline, skin);
    p.Box({12, 3, 16, 14}, kOutline, skin);
    p.Box({15, 5, 19, 14}, kOutline, skin);
    p.Shape({{6, 12}, {18, 12}, {18, 17}, {16, 21}, {8, 21}, {2, 14}, {4, 11}}, kOutline, skin);
    p.Line({{9, 12}, {16, 12}}, skin);
}

// The lens of the magnifiers, with its centre at (9.5, 9.5) on the grid, and its handle.
void PaintMagnifier(TPlotIconPainter& p) {
    p.Shape({{14, 16}, {16, 14}, {22, 20}, {20, 22}}, kOutline, clMaroon);
    p.Round({2, 2, 18, 18}, kOutline, clAqua);
}

void PaintZoomOut(TPlotIconPainter& p) {
    PaintMagnifier(p);
    p.Fill({6, 9, 14, 11}, kOutline);
}

void PaintZoomIn(TPlotIconPainter& p) {
    PaintZoomOut(p);
    p.Fill({9, 6, 11, 14}, kOutline);
}

void PaintSelect(TPlotIconPainter& p) {
    p.Shape({{7, 3}, {7, 19}, {11, 15}, {14, 21}, {16, 20}, {13, 14}, {18, 14}}, kOutline, kPaper);
}

void PaintZoomBox(TPlotIconPainter& p) {
    p.DottedBox({3, 4, 21, 20}, kOutline);
    p.Fill({16, 15, 21, 20}, clNavy);
}

void PaintCursor(TPlotIconPainter& p) {
    p.Round({6, 6, 17, 17}, clRed, kClear);
    p.Line({{11, 1}, {11, 22}}, clRed);
    p.Line({{1, 11}, {22, 11}}, clRed);
}

// A sheet of settings: a bullet and a line of text on each row.
void PaintProperties(TPlotIconPainter& p) {
    p.Box({4, 2, 20, 22}, kOutline, kPaper);
    for (int row : {6, 10, 14}) {
        p.Fill({7, row, 9, row + 2}, clNavy);
        p.Line({{11, row}, {16, row}}, kText);
    }
}

void PaintCopy(TPlotIconPainter& p) {
    p.Box({2, 2, 14, 17}, kOutline, kPaper);
    p.Line({{5, 6}, {10, 6}}, kText);
    p.Box({8, 7, 21, 22}, kOutline, kPaper);
    for (int row : {11, 14, 17}) p.Line({{11, row}, {17, row}}, kText);
}

void PaintSave(TPlotIconPainter& p) {
    p.Box({3, 3, 21, 21}, kOutline, clNavy);
    p.Box({7, 3, 17, 10}, kOutline, clSilver);
    p.Fill({13, 4, 15, 9}, clNavy);
    p.Box({6, 13, 18, 21}, kOutline, kPaper);
    p.Line({{8, 16}, {15, 16}}, kText);
}

void PaintPrinter(TPlotIconPainter& p) {
    p.Box({7, 2, 17, 10}, kOutline, kPaper);
    p.Box({2, 9, 22, 18}, kOutline, clSilver);
    p.Fill({18, 11, 20, 13}, clGreen);
    p.Box({6, 15, 18, 22}, kOutline, kPaper);
    p.Line({{8, 18}, {15, 18}}, kText);
}

// A page under a magnifier.
void PaintPreview(TPlotIconPainter& p) {
    p.Box({3, 2, 16, 22}, kOutline, kPaper);
    for (int row : {6, 9, 12}) p.Line({{6, row}, {12, row}}, kText);
    p.Shape({{16, 18}, {18, 16}, {22, 20}, {20, 22}}, kOutline, clMaroon);
    p.Round({9, 9, 19, 19}, kOutline, clAqua);
}

const TPlotToolBarIcon kIcons[] = {
    {"AUTO", 24, PaintResume},           {"SMALLAUTO", 16, PaintResume},
    {"PAUSE", 24, PaintPause},           {"SMALLPAUSE", 16, PaintPause},
    {"SCROLL", 24, PaintScroll},         {"SMALLSCROLL", 16, PaintScroll},
    {"ZOOM", 24, PaintMagnifier},        {"SMALLZOOM", 16, PaintMagnifier},
    {"ZOOMOUT", 24, PaintZoomOut},       {"SMALLZOOMOUT", 16, PaintZoomOut},
    {"ZOOMIN", 24, PaintZoomIn},         {"SMALLZOOMIN", 16, PaintZoomIn},
    {"SELECT", 24, PaintSelect},         {"SMALLSELECT", 16, PaintSelect},
    {"SCROLLBOX", 24, PaintZoomBox},     {"SMALLSCROLLBOX", 16, PaintZoomBox},
    {"CURSOR", 24, PaintCursor},         {"SMALLCURSOR", 16, PaintCursor},
    {"PROPERTIES", 24, PaintProperties}, {"SMALLPROPERTIES", 16, PaintProperties},
    {"COPY", 24, PaintCopy},             {"SMALLCOPY", 16, PaintCopy},
    {"SAVE", 24, PaintSave},             {"SMALLSAVE", 16, PaintSave},
    {"PRINTER", 24, PaintPrinter},       {"SMALLPRINTER", 16, PaintPrinter},
    {"PREVIEW", 24, PaintPreview},       {"SMALLPREVIEW", 16, PaintPreview},
};

}  // namespace

bool ToolBarIconExists(const std::string& name) {
    for (const TPlotToolBarIcon& icon : kIcons)
        if (name == icon.Name) return true;
    return false;
}

void TPlotToolBarImageList::Reset(int size) {
    size_ = size;
    icons_.clear();
}

int TPlotToolBarImageList::Add(const std::string& name) {
    for (const TPlotToolBarIcon& icon : kIcons) {
        if (name != icon.Name || icon.Size != size_) continue;
        icons_.push_back(&icon);
        return GetCount() - 1;
    }
    return -1;
}

void TPlotToolBarImageList::Draw(TCanvas& canvas, int index, TPlotPoint topLeft, bool enabled) const {
    if (index < 0 || index >= GetCount()) return;
    const TPlotToolBarIcon& icon = *icons_[static_cast<size_t>(index)];
    if (enabled) {
        TPlotIconPainter painter(canvas, topLeft, icon.Size, TIconInk::Normal);
        icon.Paint(painter);
        return;
    }
    TPlotIconPainter highlight(canvas, {topLeft.X + 1, topLeft.Y + 1}, icon.Size, TIconInk::GreyHighlight);
    icon.Paint(highlight);
    TPlotIconPainter shadow(canvas, topLeft, icon.Size, TIconInk::GreyShadow);
    icon.Paint(shadow);
}

}  // namespace ondrix
