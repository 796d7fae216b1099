#pragma once
// Reading back an Enhanced Metafile the plot recorded: its records, the checks a player relies
// on (sizes, header figures, handles), and a small player that draws the records the plot's
// recorder writes into a QImage with the device's own rules (a polyline leaves its last point,
// a pen-less rectangle fills one pixel short on the right and at the bottom), so a recording
// can be compared pixel by pixel with the same paint on a bitmap.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLine>
#include <QList>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "plot/qt/QtCanvas.h"

namespace ondrix::test {

struct EmfRecord {
    uint32_t type = 0;
    uint32_t size = 0;
    size_t offset = 0;  // in the file
};

inline uint32_t U32At(const std::string& bytes, size_t at) {
    if (at + 4 > bytes.size()) return 0;
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}
inline int32_t I32At(const std::string& bytes, size_t at) { return static_cast<int32_t>(U32At(bytes, at)); }
inline uint16_t U16At(const std::string& bytes, size_t at) {
    if (at + 2 > bytes.size()) return 0;
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
}
inline int16_t I16At(const std::string& bytes, size_t at) { return static_cast<int16_t>(U16At(bytes, at)); }

// Record types the checks and the player know.
enum : uint32_t {
    kEmrHeader = 1, kEmrPolygon = 3, kEmrPolyline = 4, kEmrPolyPolyline = 7, kEmrEof = 14,
    kEmrSetRop2 = 20, kEmrSetTextColor = 24, kEmrIntersectClipRect = 30, kEmrSaveDc = 33, kEmrRestoreDc = 34,
    kEmrSelectObject = 37, kEmrCreatePen = 38, kEmrCreateBrushIndirect = 39, kEmrDeleteObject = 40,
    kEmrEllipse = 42, kEmrRectangle = 43, kEmrStretchDiBits = 81, kEmrExtCreateFontIndirectW = 82,
    kEmrExtTextOutW = 84, kEmrPolygon16 = 86, kEmrPolyline16 = 87, kEmrPolyPolyline16 = 90, kEmrExtCreatePen = 95,
};

inline bool CreatesObject(uint32_t type) {
    return type == kEmrCreatePen || type == kEmrCreateBrushIndirect || type == kEmrExtCreateFontIndirectW ||
           type == kEmrExtCreatePen;
}

// The records one after the other, as far as their sizes lead.
inline std::vector<EmfRecord> EmfRecordsOf(const std::string& bytes) {
    std::vector<EmfRecord> records;
    for (size_t at = 0; at + 8 <= bytes.size();) {
        const EmfRecord record{U32At(bytes, at), U32At(bytes, at + 4), at};
        records.push_back(record);
        if (record.size < 8 || record.size > bytes.size() - at) break;
        at += record.size;
    }
    return records;
}

inline size_t CountOf(const std::vector<EmfRecord>& records, uint32_t type) {
    return static_cast<size_t>(std::count_if(records.begin(), records.end(),
                                             [type](const EmfRecord& r) { return r.type == type; }));
}

// What a player would trip over, one line each; empty for a sound file.
inline std::vector<std::string> EmfProblems(const std::string& bytes) {
    std::vector<std::string> problems;
    const std::vector<EmfRecord> records = EmfRecordsOf(bytes);
    if (records.empty() || records.front().type != kEmrHeader) return {"no header record first"};
    size_t end = 0;
    for (const EmfRecord& r : records) {
        const std::string where = "record at " + std::to_string(r.offset) + " (type " + std::to_string(r.type) + ")";
        if (r.size % 4 != 0 || r.size < 8) problems.push_back(where + ": size " + std::to_string(r.size));
        if (r.offset + r.size > bytes.size()) problems.push_back(where + ": runs past the end");
        end = r.offset + r.size;
    }
    if (end != bytes.size()) problems.push_back("records end at " + std::to_string(end));
    if (U32At(bytes, 40) != 0x464D4520) problems.push_back("signature");
    if (U32At(bytes, 48) != bytes.size()) problems.push_back("nBytes " + std::to_string(U32At(bytes, 48)));
    if (U32At(bytes, 52) != records.size()) problems.push_back("nRecords " + std::to_string(U32At(bytes, 52)));
    if (records.back().type != kEmrEof) problems.push_back("no EOF record last");
    if (CountOf(records, kEmrEof) != 1) problems.push_back("EOF records: " + std::to_string(CountOf(records, kEmrEof)));
    const uint32_t handles = U16At(bytes, 56);
    std::map<uint32_t, bool> live;
    int depth = 0;
    for (const EmfRecord& r : records) {
        const uint32_t object = U32At(bytes, r.offset + 8);
        const std::string where = "record at " + std::to_string(r.offset);
        if (CreatesObject(r.type)) {
            if (object == 0 || object >= handles) problems.push_back(where + ": handle " + std::to_string(object));
            if (live[object]) problems.push_back(where + ": handle in use " + std::to_string(object));
            live[object] = true;
        } else if (r.type == kEmrSelectObject) {
            const bool stock = (object & 0x80000000u) != 0 && (object & 0x7FFFFFFFu) <= 19;
            if (!stock && !live[object]) problems.push_back(where + ": selects unknown " + std::to_string(object));
        } else if (r.type == kEmrDeleteObject) {
            if (!live[object]) problems.push_back(where + ": deletes unknown " + std::to_string(object));
            live[object] = false;
        } else if (r.type == kEmrSaveDc) {
            ++depth;
        } else if (r.type == kEmrRestoreDc) {
            depth += I32At(bytes, r.offset + 8);
            if (depth < 0) problems.push_back(where + ": restores past the first save");
        }
    }
    return problems;
}

// The header's description, "creator\0title\0\0", as Latin-1 text with the zeros kept.
inline std::string EmfDescription(const std::string& bytes) {
    std::string text;
    const uint32_t count = U32At(bytes, 60), at = U32At(bytes, 64);
    for (uint32_t i = 0; i < count; ++i) text.push_back(static_cast<char>(U16At(bytes, at + 2 * i)));
    return text;
}

// ---- Playback

// The last pixel a one-pixel segment from p to q sets, as the device leaves q unset.
inline QPoint PixelBeforeEnd(const QPoint& p, const QPoint& q) {
    const auto rounded = [](int64_t a, int64_t b) { return a >= 0 ? (2 * a + b) / (2 * b) : -((-2 * a + b) / (2 * b)); };
    const int64_t dx = q.x() - p.x(), dy = q.y() - p.y();
    const int64_t steps = std::max(std::llabs(dx), std::llabs(dy));
    return QPoint(p.x() + static_cast<int>(rounded(dx * (steps - 1), steps)),
                  p.y() + static_cast<int>(rounded(dy * (steps - 1), steps)));
}

class EmfPlayer {
public:
    explicit EmfPlayer(QImage& image) : image_(image) { dc_.clip = image.rect(); }

    // Plays the records; texts' boxes are collected in TextBoxes.
    void Play(const std::string& bytes) {
        bytes_ = &bytes;
        for (const EmfRecord& r : EmfRecordsOf(bytes)) PlayRecord(r.type, r.offset);
    }
    const std::vector<QRect>& TextBoxes() const { return textBoxes_; }

private:
    struct Pen {
        bool null = false;
        QColor color = Qt::black;
        int width = 0;
        int style = 0;
        bool alternate = false;
    };
    struct Brush {
        bool null = false;
        QColor color = Qt::white;
        int hatch = -1;
    };
    struct Font {
        int height = -16, escapement = 0, weight = 400;
        bool italic = false, underline = false, strikeOut = false;
        QString face;
    };
    struct Object {
        int kind = 0;  // 1 pen, 2 brush, 3 font
        Pen pen;
        Brush brush;
        Font font;
    };
    struct Dc {
        Pen pen;
        Brush brush;
        Font font;
        QColor textColor = Qt::black;
        uint32_t rop = 13;
        QRect clip;
    };

    uint32_t U32(size_t at) const { return U32At(*bytes_, at); }
    int32_t I32(size_t at) const { return I32At(*bytes_, at); }
    static QColor ColorOf(uint32_t ref) { return QColor(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF); }
    QRect RectAt(size_t at) const { return QRect(QPoint(I32(at), I32(at + 4)), QPoint(I32(at + 8) - 1, I32(at + 12) - 1)); }

    std::vector<QPoint> Points(size_t at, uint32_t count, bool small) const {
        std::vector<QPoint> points;
        for (uint32_t i = 0; i < count; ++i)
            points.push_back(small ? QPoint(I16At(*bytes_, at + 4 * i), I16At(*bytes_, at + 4 * i + 2))
                                   : QPoint(I32(at + 8 * i), I32(at + 8 * i + 4)));
        return points;
    }

    static Qt::PenStyle QtStyle(int style) {
        const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine};
        return style >= 0 && style < 5 ? styles[style] : Qt::SolidLine;
    }
    QPen PainterPen() const {
        if (dc_.pen.null) return Qt::NoPen;
        if (dc_.pen.width <= 1) return QPen(QBrush(dc_.pen.color), 0, QtStyle(dc_.pen.style), Qt::SquareCap, Qt::MiterJoin);
        return QPen(QBrush(dc_.pen.color), dc_.pen.width, QtStyle(dc_.pen.style), Qt::RoundCap, Qt::RoundJoin);
    }
    QBrush PainterBrush() const {
        if (dc_.brush.null) return Qt::NoBrush;
        const Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern, Qt::BDiagPattern,
                                          Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(dc_.brush.color, dc_.brush.hatch < 0 ? Qt::SolidPattern : hatches[dc_.brush.hatch % 6]);
    }
    void Begin(QPainter& painter) const {
        painter.setClipRect(dc_.clip);
        painter.setPen(PainterPen());
        painter.setBrush(PainterBrush());
    }

    // Lines that leave each segment's end unset; an inverting dotted pen flips every other pixel.
    void Strokes(const std::vector<QPoint>& points, bool closed, const std::vector<int>& runs) {
        if (dc_.pen.null) return;
        if (dc_.rop == 6 && dc_.pen.alternate) return Invert(points);
        QPainter painter(&image_);
        Begin(painter);
        size_t at = 0;
        for (int run : runs) {
            std::vector<QPoint> part(points.begin() + static_cast<long>(at), points.begin() + static_cast<long>(at + run));
            at += static_cast<size_t>(run);
            if (closed && !part.empty()) part.push_back(part.front());
            if (dc_.pen.width > 1) {
                painter.drawPolyline(part.data(), static_cast<int>(part.size()));
                continue;
            }
            QList<QLine> segments;
            for (size_t i = 1; i < part.size(); ++i)
                if (part[i - 1] != part[i]) segments.append(QLine(part[i - 1], PixelBeforeEnd(part[i - 1], part[i])));
            painter.drawLines(segments);
        }
    }
    void Invert(const std::vector<QPoint>& points) {
        int step = 0;
        for (size_t i = 1; i < points.size(); ++i) {
            QPoint p = points[i - 1];
            const QPoint q = points[i];
            const QPoint unit((q.x() > p.x()) - (q.x() < p.x()), (q.y() > p.y()) - (q.y() < p.y()));
            for (; p != q; p += unit, ++step)
                if (step % 2 == 0 && dc_.clip.contains(p) && image_.rect().contains(p))
                    image_.setPixel(p, image_.pixel(p) ^ 0x00FFFFFF);
        }
    }

    void Box(uint32_t type, size_t at) {
        const QRect box = RectAt(at);  // the device's box: right and bottom just outside
        QPainter painter(&image_);
        Begin(painter);
        // A pen-less fill covers one pixel less each way; an outline lies on the box's last
        // pixels. Either way that is the painter's box one pixel smaller.
        const QRect shape = box.adjusted(0, 0, -1, -1);
        if (type == kEmrRectangle)
            painter.drawRect(shape);
        else
            painter.drawEllipse(shape);
    }

    void Polygon(const std::vector<QPoint>& points) {
        {
            QPainter painter(&image_);
            Begin(painter);
            painter.setPen(Qt::NoPen);
            painter.drawPolygon(points.data(), static_cast<int>(points.size()), Qt::OddEvenFill);
        }
        Strokes(points, true, {static_cast<int>(points.size())});
    }

    void Text(size_t at) {
        const int32_t x = I32(at + 36), y = I32(at + 40);
        const uint32_t count = U32(at + 44), stringAt = U32(at + 48), options = U32(at + 52), dxAt = U32(at + 72);
        QFont font(ResolveFontFamily(dc_.font.face.toStdString()));
        font.setPixelSize(std::abs(dc_.font.height));
        font.setBold(dc_.font.weight >= 700);
        font.setItalic(dc_.font.italic);
        font.setUnderline(dc_.font.underline);
        font.setStrikeOut(dc_.font.strikeOut);
        font.setStyleStrategy(QFont::NoAntialias);
        font.setHintingPreference(QFont::PreferVerticalHinting);
        QPainter painter(&image_);
        painter.setClipRect(dc_.clip);
        if (options & 4) painter.setClipRect(RectAt(at + 56), Qt::IntersectClip);
        painter.setFont(font);
        painter.setPen(dc_.textColor);
        painter.translate(x, y);
        painter.rotate(-dc_.font.escapement / 10.0);
        const int height = QFontMetrics(font).height();
        int advance = 0;
        for (uint32_t i = 0; i < count; ++i) {
            const QChar unit(U16At(*bytes_, at + stringAt + 2 * i));
            painter.drawText(QRect(advance, 0, 4 * height, height), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                             QString(unit));
            advance += static_cast<int>(U32(at + dxAt + 4 * i));
        }
        textBoxes_.push_back(painter.transform().mapRect(QRect(0, 0, advance, height)));
    }

    void Bitmap(size_t at) {
        const int32_t x = I32(at + 24), y = I32(at + 28);
        const uint32_t infoAt = U32(at + 48), bitsAt = U32(at + 56);
        const int32_t width = I32(at + infoAt + 4), height = I32(at + infoAt + 8);
        QImage picture(width, height, QImage::Format_RGB32);
        const size_t row = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
        for (int py = 0; py < height; ++py)
            for (int px = 0; px < width; ++px) {
                const size_t pixel = at + bitsAt + static_cast<size_t>(height - 1 - py) * row + 3 * static_cast<size_t>(px);
                const auto byte = [&](size_t k) { return static_cast<unsigned char>((*bytes_)[pixel + k]); };
                picture.setPixel(px, py, qRgb(byte(2), byte(1), byte(0)));
            }
        QPainter painter(&image_);
        painter.setClipRect(dc_.clip);
        painter.drawImage(QRect(x, y, I32(at + 72), I32(at + 76)), picture);
    }

    void SelectObject(uint32_t handle) {
        if (handle & 0x80000000u) {
            const uint32_t stock = handle & 0x7FFFFFFFu;
            if (stock == 8) dc_.pen = Pen{true};
            if (stock == 5) dc_.brush = Brush{true};
            return;
        }
        const Object& object = objects_.at(handle);
        if (object.kind == 1) dc_.pen = object.pen;
        if (object.kind == 2) dc_.brush = object.brush;
        if (object.kind == 3) dc_.font = object.font;
    }

    void PlayRecord(uint32_t type, size_t at) {
        switch (type) {
            case kEmrPolyline16:
            case kEmrPolyline: {
                const uint32_t count = U32(at + 24);
                Strokes(Points(at + 28, count, type == kEmrPolyline16), false, {static_cast<int>(count)});
                break;
            }
            case kEmrPolyPolyline16:
            case kEmrPolyPolyline: {
                const uint32_t polys = U32(at + 24), total = U32(at + 28);
                std::vector<int> runs;
                for (uint32_t i = 0; i < polys; ++i) runs.push_back(static_cast<int>(U32(at + 32 + 4 * i)));
                Strokes(Points(at + 32 + 4 * polys, total, type == kEmrPolyPolyline16), false, runs);
                break;
            }
            case kEmrPolygon16:
            case kEmrPolygon: Polygon(Points(at + 28, U32(at + 24), type == kEmrPolygon16)); break;
            case kEmrRectangle:
            case kEmrEllipse: Box(type, at + 8); break;
            case kEmrExtTextOutW: Text(at); break;
            case kEmrStretchDiBits: Bitmap(at); break;
            case kEmrSetRop2: dc_.rop = U32(at + 8); break;
            case kEmrSetTextColor: dc_.textColor = ColorOf(U32(at + 8)); break;
            case kEmrIntersectClipRect: dc_.clip &= RectAt(at + 8); break;
            case kEmrSaveDc: saved_.push_back(dc_); break;
            case kEmrRestoreDc:
                for (int32_t i = I32(at + 8); i < 0 && !saved_.empty(); ++i) {
                    dc_ = saved_.back();
                    saved_.pop_back();
                }
                break;
            case kEmrSelectObject: SelectObject(U32(at + 8)); break;
            case kEmrDeleteObject: objects_.erase(U32(at + 8)); break;
            case kEmrCreatePen: {
                Object& o = objects_[U32(at + 8)];
                o.kind = 1;
                o.pen = Pen{U32(at + 12) == 5, ColorOf(U32(at + 24)), I32(at + 16), static_cast<int>(U32(at + 12) & 0xF)};
                break;
            }
            case kEmrExtCreatePen: {
                Object& o = objects_[U32(at + 8)];
                o.kind = 1;
                const uint32_t style = U32(at + 28);
                o.pen = Pen{(style & 0xF) == 5, ColorOf(U32(at + 40)), I32(at + 32), static_cast<int>(style & 0xF)};
                o.pen.alternate = (style & 0xF) == 8;
                break;
            }
            case kEmrCreateBrushIndirect: {
                Object& o = objects_[U32(at + 8)];
                o.kind = 2;
                o.brush = Brush{U32(at + 12) == 1, ColorOf(U32(at + 16)), U32(at + 12) == 2 ? I32(at + 20) : -1};
                break;
            }
            case kEmrExtCreateFontIndirectW: {
                Object& o = objects_[U32(at + 8)];
                o.kind = 3;
                o.font.height = I32(at + 12);
                o.font.escapement = I32(at + 20);
                o.font.weight = I32(at + 28);
                o.font.italic = (*bytes_)[at + 32] != 0;
                o.font.underline = (*bytes_)[at + 33] != 0;
                o.font.strikeOut = (*bytes_)[at + 34] != 0;
                for (size_t i = 0; i < 32 && U16At(*bytes_, at + 40 + 2 * i) != 0; ++i)
                    o.font.face.append(QChar(U16At(*bytes_, at + 40 + 2 * i)));
                break;
            }
            default: break;
        }
    }

    QImage& image_;
    const std::string* bytes_ = nullptr;
    Dc dc_;
    std::vector<Dc> saved_;
    std::map<uint32_t, Object> objects_;
    std::vector<QRect> textBoxes_;
};

// The recording played on a white image of its size.
inline QImage PlayEmf(const std::string& bytes, int width, int height, std::vector<QRect>* textBoxes = nullptr) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    EmfPlayer player(image);
    player.Play(bytes);
    if (textBoxes) *textBoxes = player.TextBoxes();
    return image;
}

}  // namespace ondrix::test
