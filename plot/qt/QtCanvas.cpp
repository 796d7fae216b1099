#include "plot/qt/QtCanvas.h"

#include <vector>

#include <QGuiApplication>
#include <QPalette>
#include <QStringList>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "plot/core/PlotText.h"

namespace ondrix {

namespace {

// Font sizes are points at this many pixels per inch on every device.
constexpr double kPixelsPerInch = 96.0;

struct FontTwin {
    const char* name;
    const char* family;
};
// Faces the plot's configurations name, mapped to installed faces of the same metrics (or, for
// the desktop's old dialog face, to a sans-serif face of similar width).
constexpr FontTwin kFontTwins[] = {
    {"Arial", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"MS Sans Serif", "DejaVu Sans"},
    {"MS Shell Dlg", "DejaVu Sans"},
};

Qt::PenStyle ToQtPenStyle(TPenStyle style) {
    switch (style) {
        case psSolid: return Qt::SolidLine;
        case psDash: return Qt::DashLine;
        case psDot: return Qt::DotLine;
        case psDashDot: return Qt::DashDotLine;
        case psDashDotDot: return Qt::DashDotDotLine;
        case psClear: return Qt::NoPen;
    }
    return Qt::SolidLine;
}

Qt::BrushStyle ToQtBrushStyle(TBrushStyle style) {
    switch (style) {
        case bsSolid: return Qt::SolidPattern;
        case bsClear: return Qt::NoBrush;
        case bsHorizontal: return Qt::HorPattern;
        case bsVertical: return Qt::VerPattern;
        case bsFDiagonal: return Qt::FDiagPattern;
        case bsBDiagonal: return Qt::BDiagPattern;
        case bsCross: return Qt::CrossPattern;
        case bsDiagCross: return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

// Line breaks as the text's author typed them, "\r\n" or "\n", become Qt's "\n".
QString ToQText(const std::string& text) {
    QString result = QString::fromStdString(text);
    result.remove(QLatin1Char('\r'));
    return result;
}

// a / b rounded to the nearest integer, halves away from zero; b > 0.
int64_t RoundedDivide(int64_t a, int64_t b) { return a >= 0 ? (2 * a + b) / (2 * b) : -((-2 * a + b) / (2 * b)); }

// The last pixel a one-pixel line from p towards q sets before it reaches q. Qt's thin lines set
// both ends; ending them here keeps q for the next segment (or for nobody).
QPoint PixelBefore(const QPoint& p, const QPoint& q) {
    const int64_t dx = q.x() - p.x();
    const int64_t dy = q.y() - p.y();
    const int64_t steps = std::max(std::llabs(dx), std::llabs(dy));
    return QPoint(p.x() + static_cast<int>(RoundedDivide(dx * (steps - 1), steps)),
                  p.y() + static_cast<int>(RoundedDivide(dy * (steps - 1), steps)));
}

int TextFlagsFor(TTextFormat format) {
    int flags = Qt::AlignTop;
    if (format & tfCenter)
        flags |= Qt::AlignHCenter;
    else if (format & tfRight)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (format & tfWordBreak) flags |= Qt::TextWordWrap;
    if (!(format & tfNoPrefix)) flags |= Qt::TextShowMnemonic;
    return flags;
}

}  // namespace

// ---- Fonts and colours

namespace {

// What a font's measures depend on: its face, size and style, not its colour.
std::string FaceKey(const TPlotFont& font) {
    const int style = (font.Bold ? 1 : 0) | (font.Italic ? 2 : 0) | (font.Underline ? 4 : 0) | (font.StrikeOut ? 8 : 0);
    return font.Name + '\0' + std::to_string(font.Size) + '\0' + std::to_string(style);
}

bool SameFace(const TPlotFont& a, const TPlotFont& b) {
    return a.Name == b.Name && a.Size == b.Size && a.Bold == b.Bold && a.Italic == b.Italic &&
           a.Underline == b.Underline && a.StrikeOut == b.StrikeOut;
}

// A canvas that lives long (a kept bitmap's) sees ever new labels as its axes scroll.
constexpr size_t kMeasuresKept = 4096;

// Rows an odd number of cache lines apart: rows 4 KB apart (a bitmap 1024 pixels wide) put
// every pixel of a vertical line into the same cache set, which made drawing a min-max trace's
// vertical lines 10 times slower.
qsizetype SpreadBytesPerLine(int width) {
    constexpr qsizetype kCacheLine = 64;
    qsizetype lines = (static_cast<qsizetype>(width) * 4 + kCacheLine - 1) / kCacheLine;
    if (lines % 2 == 0) ++lines;
    return lines * kCacheLine;
}

QImage BitmapImage(int width, int height) {
    if (width <= 0 || height <= 0) return QImage();
    const qsizetype bytesPerLine = SpreadBytesPerLine(width);
    // Without memory the bitmap is null, as Qt's own allocation leaves it.
    void* pixels = std::malloc(static_cast<size_t>(bytesPerLine) * static_cast<size_t>(height));
    if (pixels == nullptr) return QImage();
    return QImage(static_cast<uchar*>(pixels), width, height, bytesPerLine, QImage::Format_RGB32,
                  [](void* block) { std::free(block); }, pixels);
}

}  // namespace

QString ResolveFontFamily(const std::string& name) {
    for (const FontTwin& twin : kFontTwins)
        if (SameText(name, twin.name)) return QString::fromLatin1(twin.family);
    return QString::fromStdString(name);
}

QFont ResolveFont(const TPlotFont& font) {
    QFont result(ResolveFontFamily(font.Name));
    result.setPixelSize(std::max(1, static_cast<int>(std::lround(font.Size * kPixelsPerInch / 72.0))));
    result.setBold(font.Bold);
    result.setItalic(font.Italic);
    result.setUnderline(font.Underline);
    result.setStrikeOut(font.StrikeOut);
    // Advances by the face's design, so widths are those of the face a twin stands in for and do
    // not depend on the hinting engine; glyphs snap to whole pixels only vertically.
    result.setStyleStrategy(QFont::NoAntialias);
    result.setHintingPreference(QFont::PreferVerticalHinting);
    return result;
}

QColor ToQColor(TColor rgb) { return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb)); }

TColor DesktopSystemColor(SystemColorRole role) {
    struct RoleColor {
        SystemColorRole role;
        QPalette::ColorRole paletteRole;
        uint32_t fallback;  // #RRGGBB without an application
    };
    static constexpr RoleColor kRoles[] = {
        {SystemColorRole::ButtonFace, QPalette::Button, 0xF0F0F0},
        {SystemColorRole::Highlight, QPalette::Light, 0xFFFFFF},
        {SystemColorRole::Shadow, QPalette::Dark, 0xA0A0A0},
        {SystemColorRole::InfoBackground, QPalette::ToolTipBase, 0xFFFFE1},
        {SystemColorRole::InfoText, QPalette::ToolTipText, 0x000000},
        {SystemColorRole::WindowText, QPalette::WindowText, 0x000000},
        {SystemColorRole::Window, QPalette::Base, 0xFFFFFF},
    };
    for (const RoleColor& entry : kRoles) {
        if (entry.role != role) continue;
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return ColorFromRgb(entry.fallback);
        return ColorFromRgb(QGuiApplication::palette().color(QPalette::Active, entry.paletteRole).rgb() & 0xFFFFFF);
    }
    return clBlack;
}

// ---- QtCanvas: construction and state

QtCanvas::QtCanvas(QImage& image) : QtCanvas(image, image.size()) {
    const QImage::Format format = image.format();
    if (painter_.isActive() && (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                                format == QImage::Format_ARGB32_Premultiplied)) {
        pixels_ = image.bits();
        bytesPerLine_ = image.bytesPerLine();
    }
}

QtCanvas::QtCanvas(QPaintDevice& device, QSize size) : bounds_(QPoint(0, 0), size) {
    state_.clip = bounds_;
    state_.baseClip = bounds_;
    qfont_ = ResolveFont(state_.font);
    faceKey_ = FaceKey(state_.font);
    // A device of no pixels (a zero-sized window's bitmap) cannot be painted on: the canvas then
    // measures text and draws nothing.
    if (!bounds_.isEmpty()) painter_.begin(&device);
    ApplyState();
}

QtCanvas::~QtCanvas() {
    if (painter_.isActive()) painter_.end();
}

void QtCanvas::ApplyState() {
    if (!painter_.isActive()) return;
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
    painter_.setBackgroundMode(Qt::TransparentMode);
    painter_.setTransform(QTransform::fromTranslate(state_.origin.X, state_.origin.Y));
    painter_.setFont(qfont_);
    painter_.setBrush(QBrush(ToQColor(ResolveColor(state_.brush.Color)), ToQtBrushStyle(state_.brush.Style)));
    painterPen_ = PainterPen::Stroke;
    ApplyPainterPen();
    // Always an explicit clip, also "none" (the device's area): a recording played into a box
    // then never paints outside it.
    ApplyClip();
}

void QtCanvas::ApplyClip() {
    if (!painter_.isActive()) return;
    painter_.setClipRect(state_.clip.translated(-state_.origin.X, -state_.origin.Y));
}

void QtCanvas::UsePen(PainterPen kind) {
    if (kind == painterPen_) return;
    painterPen_ = kind;
    ApplyPainterPen();
}

void QtCanvas::ApplyPainterPen() {
    if (!painter_.isActive()) return;
    if (painterPen_ == PainterPen::Text) {
        painter_.setPen(QPen(ToQColor(ResolveColor(state_.font.Color))));
        return;
    }
    const QColor color = ToQColor(ResolveColor(state_.pen.Color));
    const Qt::PenStyle style = ToQtPenStyle(state_.pen.Style);
    // Thin pens keep both ends (Polyline drops the last pixel itself); wide pens end round.
    if (OnePixelPen())
        painter_.setPen(QPen(QBrush(color), 0, style, Qt::SquareCap, Qt::MiterJoin));
    else
        painter_.setPen(QPen(QBrush(color), state_.pen.Width, style, Qt::RoundCap, Qt::RoundJoin));
}

void QtCanvas::SetPen(const TPlotPen& pen) {
    if (pen == state_.pen) return;
    state_.pen = pen;
    if (painterPen_ == PainterPen::Stroke) ApplyPainterPen();
}

void QtCanvas::SetBrush(const TPlotBrush& brush) {
    if (brush == state_.brush) return;
    state_.brush = brush;
    if (painter_.isActive())
        painter_.setBrush(QBrush(ToQColor(ResolveColor(brush.Color)), ToQtBrushStyle(brush.Style)));
}

void QtCanvas::SetFont(const TPlotFont& font) {
    if (font == state_.font) return;
    const bool sameFace = SameFace(font, state_.font);
    state_.font = font;
    if (!sameFace) {
        qfont_ = ResolveFont(font);
        faceKey_ = FaceKey(font);
        metrics_.reset();
        lineHeight_ = -1;
        if (painter_.isActive()) painter_.setFont(qfont_);
    }
    if (painterPen_ == PainterPen::Text) ApplyPainterPen();
}

const QFontMetrics& QtCanvas::Metrics() {
    if (!metrics_) metrics_.emplace(qfont_);
    return *metrics_;
}

QRect QtCanvas::ToQRect(const TPlotRect& box) const {
    return QRect(box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top);
}

// ---- Text measures

int QtCanvas::TextWidth(const std::string& text) {
    std::string key = faceKey_ + '\0' + text;
    const auto known = textWidths_.find(key);
    if (known != textWidths_.end()) return known->second;
    int widest = 0;
    for (const QString& line : ToQText(text).split(QLatin1Char('\n')))
        widest = std::max(widest, Metrics().horizontalAdvance(line));
    if (textWidths_.size() >= kMeasuresKept) textWidths_.clear();
    textWidths_.emplace(std::move(key), widest);
    return widest;
}

int QtCanvas::LineHeight() {
    // The text layout's own line height (the face's ascent and descent rounded up together), so
    // that a measured line and a laid-out line agree.
    if (lineHeight_ >= 0) return lineHeight_;
    const auto known = lineHeights_.find(faceKey_);
    if (known != lineHeights_.end()) return lineHeight_ = known->second;
    lineHeight_ = Metrics().boundingRect(QRect(), Qt::AlignLeft, QStringLiteral("X")).height();
    if (lineHeights_.size() >= kMeasuresKept) lineHeights_.clear();
    lineHeights_.emplace(faceKey_, lineHeight_);
    return lineHeight_;
}

int QtCanvas::TextHeight(const std::string& text) {
    const QString qtext = ToQText(text);
    if (!qtext.contains(QLatin1Char('\n'))) return LineHeight();
    return Metrics().boundingRect(QRect(), Qt::AlignLeft | Qt::AlignTop, qtext).height();
}

// ---- Lines and shapes

void QtCanvas::Polyline(const TPlotPoint* points, size_t count) {
    if (!painter_.isActive() || count < 2 || state_.pen.Style == psClear) return;
    UsePen(PainterPen::Stroke);
    if (!OnePixelPen()) {
        polygon_.resize(static_cast<qsizetype>(count));
        for (size_t i = 0; i < count; ++i) polygon_[static_cast<qsizetype>(i)] = QPoint(points[i].X, points[i].Y);
        painter_.drawPolyline(polygon_);
        return;
    }
    // Each segment on its own, ending one pixel short of its end: a batch then sets exactly the
    // pixels of its segments drawn one by one, so batching the trace changes no pixel.
    segments_.resize(0);
    for (size_t i = 1; i < count; ++i) {
        const QPoint from(points[i - 1].X, points[i - 1].Y);
        const QPoint to(points[i].X, points[i].Y);
        if (from != to) segments_.append(QLine(from, PixelBefore(from, to)));
    }
    painter_.drawLines(segments_);
}

void QtCanvas::Lines(const TPlotPoint* pairs, size_t count) {
    if (!painter_.isActive() || count < 2 || state_.pen.Style == psClear) return;
    UsePen(PainterPen::Stroke);
    segments_.resize(0);
    const bool thin = OnePixelPen();
    const bool direct = pixels_ != nullptr && thin && state_.pen.Style == psSolid;
    const uint32_t argb = direct ? ToQColor(ResolveColor(state_.pen.Color)).rgba() : 0;
    for (size_t i = 0; i + 1 < count; i += 2) {
        const QPoint from(pairs[i].X, pairs[i].Y);
        const QPoint to(pairs[i + 1].X, pairs[i + 1].Y);
        if (from == to) continue;
        if (direct && from.x() == to.x()) {
            // One pixel short of its end, as the painter's would be.
            FillColumn(from.x(), from.y(), PixelBefore(from, to).y(), argb);
            continue;
        }
        // Thin segments end one pixel short, as in Polyline; wide ones keep their round ends.
        segments_.append(QLine(from, thin ? PixelBefore(from, to) : to));
    }
    painter_.drawLines(segments_);
}

void QtCanvas::FillColumn(int x, int y1, int y2, uint32_t argb) {
    const int column = x + state_.origin.X;
    if (column < state_.clip.left() || column > state_.clip.right()) return;
    const int top = std::max(std::min(y1, y2) + state_.origin.Y, state_.clip.top());
    const int bottom = std::min(std::max(y1, y2) + state_.origin.Y, state_.clip.bottom());
    uchar* pixel = pixels_ + static_cast<qsizetype>(top) * bytesPerLine_ + static_cast<qsizetype>(column) * 4;
    for (int y = top; y <= bottom; ++y, pixel += bytesPerLine_) *reinterpret_cast<uint32_t*>(pixel) = argb;
}

void QtCanvas::Rectangle(const TPlotRect& box) {
    const QRect rect = ToQRect(box);
    if (!painter_.isActive() || rect.isEmpty()) return;
    UsePen(PainterPen::Stroke);
    // Qt's outline of a w × h rectangle covers w + 1 × h + 1 pixels; its pen-less fill covers w × h.
    painter_.drawRect(state_.pen.Style == psClear ? rect : rect.adjusted(0, 0, -1, -1));
}

void QtCanvas::Ellipse(const TPlotRect& box) {
    const QRect rect = ToQRect(box);
    if (!painter_.isActive() || rect.isEmpty()) return;
    UsePen(PainterPen::Stroke);
    // Qt samples a pen-less fill half a pixel lower than it strokes: stretched half a pixel up, the
    // fill reaches every edge of the box (slivers a pixel or two thin aside).
    if (state_.pen.Style == psClear)
        painter_.drawEllipse(QRectF(rect).adjusted(0, -0.5, 0, 0));
    else
        painter_.drawEllipse(rect.adjusted(0, 0, -1, -1));
}

void QtCanvas::Polygon(const TPlotPoint* points, size_t count) {
    if (!painter_.isActive() || count < 2) return;
    UsePen(PainterPen::Stroke);
    polygon_.resize(static_cast<qsizetype>(count));
    for (size_t i = 0; i < count; ++i) polygon_[static_cast<qsizetype>(i)] = QPoint(points[i].X, points[i].Y);
    if (!OnePixelPen() || state_.pen.Style == psClear) {
        painter_.drawPolygon(polygon_, Qt::OddEvenFill);
        return;
    }
    // A thin outline drawn by the painter may skip a corner pixel; the closed polyline sets every
    // corner exactly once, as each of its segments sets its first point.
    painter_.setPen(Qt::NoPen);
    painter_.drawPolygon(polygon_, Qt::OddEvenFill);
    ApplyPainterPen();
    std::vector<TPlotPoint> outline(points, points + count);
    outline.push_back(points[0]);
    Polyline(outline.data(), outline.size());
}

void QtCanvas::FillRect(const TPlotRect& box) {
    const QRect rect = ToQRect(box);
    if (!painter_.isActive() || rect.isEmpty() || state_.brush.Style == bsClear) return;
    painter_.fillRect(rect, QBrush(ToQColor(ResolveColor(state_.brush.Color)), ToQtBrushStyle(state_.brush.Style)));
}

// ---- Text

void QtCanvas::TextOut(int x, int y, const std::string& text) {
    if (!painter_.isActive() || text.empty()) return;
    UsePen(PainterPen::Text);
    painter_.drawText(QRect(x, y, TextWidth(text), TextHeight(text)), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                      ToQText(text));
}

int QtCanvas::DrawText(const std::string& text, const TPlotRect& box, TTextFormat format) {
    QString qtext = ToQText(text);
    const QRect rect = ToQRect(box);
    int flags = TextFlagsFor(format);
    if ((format & tfEndEllipsis) && !(format & tfWordBreak)) {
        QStringList lines = qtext.split(QLatin1Char('\n'));
        for (QString& line : lines) line = Metrics().elidedText(line, Qt::ElideRight, rect.width(), flags);
        qtext = lines.join(QLatin1Char('\n'));
    }
    const int height = Metrics().boundingRect(rect, flags, qtext).height();
    if ((format & tfMeasureOnly) || !painter_.isActive()) return height;
    if ((format & tfVerticalCenter) && height <= LineHeight()) flags = (flags & ~Qt::AlignTop) | Qt::AlignVCenter;
    UsePen(PainterPen::Text);
    painter_.drawText(rect, flags, qtext);
    return height;
}

void QtCanvas::DrawRotatedText(TPlotPoint centre, int angle, const std::string& text) {
    if (!painter_.isActive() || text.empty()) return;
    const int width = TextWidth(text);
    const int height = TextHeight(text);
    UsePen(PainterPen::Text);
    painter_.save();
    painter_.translate(centre.X, centre.Y);
    // Qt turns clockwise on the downward y axis.
    painter_.rotate(-angle);
    painter_.drawText(QRect(-width / 2, -height / 2, width, height), Qt::AlignCenter | Qt::TextDontClip, ToQText(text));
    painter_.restore();
}

// ---- Clip, save and restore, origin

void QtCanvas::SetClipRect(const TPlotRect& box) {
    state_.clip = ToQRect(box).translated(state_.origin.X, state_.origin.Y) & state_.baseClip;
    ApplyClip();
}

void QtCanvas::RemoveClip() {
    state_.clip = state_.baseClip;
    ApplyClip();
}

void QtCanvas::Save() {
    saved_.push_back(state_);
    state_.baseClip = state_.clip;
}

void QtCanvas::Restore() {
    if (saved_.empty()) throw std::logic_error("canvas Restore without a matching Save");
    const State saved = saved_.back();
    saved_.pop_back();
    SetPen(saved.pen);
    SetBrush(saved.brush);
    SetFont(saved.font);
    state_.clip = saved.clip;
    state_.baseClip = saved.baseClip;
    SetOrigin(saved.origin);
}

void QtCanvas::SetOrigin(TPlotPoint devicePosition) {
    state_.origin = devicePosition;
    if (!painter_.isActive()) return;
    painter_.setTransform(QTransform::fromTranslate(devicePosition.X, devicePosition.Y));
    ApplyClip();
}

// ---- Desktop decorations

void QtCanvas::DrawEdge(const TPlotRect& box, TEdgeStyle style) {
    if (!painter_.isActive()) return;
    QColor light = ToQColor(GetSystemColor(SystemColorRole::Highlight));
    QColor dark = ToQColor(GetSystemColor(SystemColorRole::Shadow));
    if (style == esSunken) std::swap(light, dark);
    for (int ring = 0; ring < 2; ++ring) {
        const QRect r = ToQRect(box).adjusted(ring, ring, -ring, -ring);
        if (r.isEmpty()) return;
        painter_.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), light);
        painter_.fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), light);
        painter_.fillRect(QRect(r.right(), r.top(), 1, r.height()), dark);
        painter_.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), dark);
    }
}

void QtCanvas::DrawFocusRect(const TPlotRect& box) {
    const QRect r = ToQRect(box);
    if (!painter_.isActive() || r.isEmpty()) return;
    // Each pixel of the ring once, every other one: a corner inverted twice would vanish.
    polygon_.resize(0);
    const auto dot = [this, &r](int x, int y) {
        if (((x - r.left()) + (y - r.top())) % 2 == 0) polygon_.append(QPoint(x, y));
    };
    for (int x = r.left(); x <= r.right(); ++x) dot(x, r.top());
    if (r.bottom() > r.top())
        for (int x = r.left(); x <= r.right(); ++x) dot(x, r.bottom());
    for (int y = r.top() + 1; y < r.bottom(); ++y) dot(r.left(), y);
    if (r.right() > r.left())
        for (int y = r.top() + 1; y < r.bottom(); ++y) dot(r.right(), y);
    painter_.save();
    painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter_.setPen(QPen(QBrush(Qt::black), 0, Qt::SolidLine, Qt::SquareCap));
    painter_.drawPoints(polygon_);
    painter_.restore();
}

// ---- Pictures

namespace {

const QtBitmap& QtBitmapOf(const TPlotBitmap& bitmap) {
    const auto* qtBitmap = dynamic_cast<const QtBitmap*>(&bitmap);
    if (!qtBitmap) throw std::invalid_argument("bitmap of another drawing backend");
    return *qtBitmap;
}

}  // namespace

void QtCanvas::DrawImage(TPlotPoint topLeft, const QImage& image) {
    if (!painter_.isActive() || image.isNull()) return;
    painter_.drawImage(QPoint(topLeft.X, topLeft.Y), image);
}

void QtCanvas::DrawBitmap(TPlotPoint topLeft, const TPlotBitmap& bitmap) {
    DrawImage(topLeft, QtBitmapOf(bitmap).Image());
}

void QtCanvas::DrawBitmapTransparent(TPlotPoint topLeft, const TPlotBitmap& bitmap, TColor transparent) {
    QImage masked = QtBitmapOf(bitmap).Image().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(ResolveColor(transparent)).rgb();
    for (int y = 0; y < masked.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if (line[x] == key) line[x] = 0;
    }
    DrawImage(topLeft, masked);
}

void QtCanvas::DrawMetafile(const TPlotMetafile& metafile, const TPlotRect& box) {
    const auto* qtMetafile = dynamic_cast<const QtMetafile*>(&metafile);
    if (!qtMetafile) throw std::invalid_argument("metafile of another drawing backend");
    if (qtMetafile->IsRecording()) throw std::logic_error("metafile played while still recording");
    const QRect target = ToQRect(box);
    if (!painter_.isActive() || target.isEmpty() || metafile.Width() <= 0 || metafile.Height() <= 0) return;
    painter_.save();
    painter_.translate(target.left(), target.top());
    painter_.scale(static_cast<double>(target.width()) / metafile.Width(),
                   static_cast<double>(target.height()) / metafile.Height());
    painter_.drawPicture(0, 0, qtMetafile->Picture());
    painter_.restore();
}

// ---- Bitmaps, metafiles and their factory

QtBitmap::QtBitmap(int width, int height) : image_(BitmapImage(width, height)) {
    if (!image_.isNull()) image_.fill(Qt::white);
}

TCanvas& QtBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<QtCanvas>(image_);
    return *canvas_;
}

QtMetafile::QtMetafile(int width, int height) : size_(std::max(0, width), std::max(0, height)) {}

TCanvas& QtMetafile::BeginRecording() {
    recorder_.reset();
    picture_ = QPicture();
    recorder_ = std::make_unique<QtCanvas>(picture_, size_);
    return *recorder_;
}

void QtMetafile::EndRecording() {
    if (!recorder_) return;
    recorder_.reset();
    picture_.setBoundingRect(QRect(QPoint(0, 0), size_));
}

std::unique_ptr<TPlotBitmap> QtSurfaceFactory::CreateBitmap(int width, int height) {
    return std::make_unique<QtBitmap>(width, height);
}

std::unique_ptr<TPlotMetafile> QtSurfaceFactory::CreateMetafile(int width, int height) {
    return std::make_unique<QtMetafile>(width, height);
}

}  // namespace ondrix
