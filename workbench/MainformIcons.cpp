#include "workbench/MainformIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <cmath>

namespace ondrix {

namespace {

// The colours one picture is drawn with. The disabled variant draws the same strokes in greys,
// so that a disabled button keeps its shape and loses its colour.
struct TInk {
    QColor line;    // outlines, letters, arrows
    QColor paper;   // light surfaces (a lens, a label)
    QColor warm;    // folders
    QColor cool;    // disks, pause, frames
    QColor signal;  // traces, plus and minus
    QColor go;      // play
};

const TInk kColour{QColor(0x20, 0x20, 0x20), QColor(0xF4, 0xF8, 0xFF), QColor(0xF0, 0xB8, 0x30),
                   QColor(0x30, 0x60, 0xC0), QColor(0xD0, 0x20, 0x20), QColor(0x30, 0xA0, 0x40)};
const TInk kGrey{QColor(0x90, 0x90, 0x90), QColor(0xE8, 0xE8, 0xE8), QColor(0xC8, 0xC8, 0xC8),
                 QColor(0xA8, 0xA8, 0xA8), QColor(0xA0, 0xA0, 0xA0), QColor(0xB8, 0xB8, 0xB8)};

QPen Pen(const QColor& colour, double width) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// A straight arrow from `from` to `to` with its head at `to`.
void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width = 2) {
    p.setPen(Pen(colour, width));
    p.drawLine(from, to);
    const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    constexpr double kHead = 5;
    constexpr double kSpread = 0.5;
    QPolygonF head;
    head << to << to - QPointF(kHead * std::cos(angle - kSpread), kHead * std::sin(angle - kSpread))
         << to - QPointF(kHead * std::cos(angle + kSpread), kHead * std::sin(angle + kSpread));
    p.setBrush(colour);
    p.drawPolygon(head);
    p.setBrush(Qt::NoBrush);
}

void Letter(QPainter& p, const QRectF& box, const QString& text, const QColor& colour, int pixels) {
    QFont font = p.font();
    font.setPixelSize(pixels);
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

enum class TLensMark { None, Plus, Minus };

// A magnifying glass whose lens of radius `r` is centred on `centre`, its handle towards the
// bottom right.
void Magnifier(QPainter& p, const TInk& ink, QPointF centre, double r, TLensMark mark) {
    p.setPen(Pen(ink.line, 3));
    const QPointF grip = centre + QPointF(r * 0.72, r * 0.72);
    p.drawLine(grip, grip + QPointF(r * 0.8, r * 0.8));
    p.setPen(Pen(ink.line, 2));
    p.setBrush(ink.paper);
    p.drawEllipse(centre, r, r);
    p.setBrush(Qt::NoBrush);
    if (mark == TLensMark::None) return;
    p.setPen(Pen(ink.signal, 2));
    const double arm = r * 0.55;
    p.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
    if (mark == TLensMark::Plus) p.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));
}

// A magnifier in the top-left corner and the axis letter below right, with the axis's
// direction drawn as a double arrow under the letter.
void AxisZoom(QPainter& p, const TInk& ink, TLensMark mark, const QString& axis) {
    Magnifier(p, ink, QPointF(10, 10), 7, mark);
    Letter(p, QRectF(17, 13, 15, 15), axis, ink.cool, 14);
    if (axis == QLatin1String("X")) {
        Arrow(p, QPointF(20, 29), QPointF(30, 29), ink.line, 1.5);
        Arrow(p, QPointF(25, 29), QPointF(16, 29), ink.line, 1.5);
    } else {
        Arrow(p, QPointF(30, 20), QPointF(30, 30), ink.line, 1.5);
        Arrow(p, QPointF(30, 25), QPointF(30, 15), ink.line, 1.5);
    }
}

// One period of a sine across the box.
void Wave(QPainter& p, const QRectF& box, const QColor& colour) {
    QPainterPath path;
    for (int i = 0; i <= 24; ++i) {
        const double x = box.left() + box.width() * i / 24.0;
        const double y = box.center().y() - box.height() / 2 * std::sin(2 * M_PI * i / 24.0);
        if (i == 0) path.moveTo(x, y);
        else path.lineTo(x, y);
    }
    p.setPen(Pen(colour, 2));
    p.drawPath(path);
}

// A curved arrow over the top of a circle, turning left (undo) or right (redo).
void TurnArrow(QPainter& p, const TInk& ink, bool left) {
    const QRectF arc(6, 8, 20, 20);
    p.setPen(Pen(ink.cool, 3));
    p.drawArc(arc, 0, 180 * 16);
    const QPointF tip = left ? QPointF(6, 18) : QPointF(26, 18);
    QPolygonF head;
    head << tip + QPointF(0, 6) << tip + QPointF(-5, -1) << tip + QPointF(5, -1);
    p.setPen(Pen(ink.cool, 1));
    p.setBrush(ink.cool);
    p.drawPolygon(head);
    p.setBrush(Qt::NoBrush);
    Magnifier(p, ink, QPointF(16, 20), 4, TLensMark::None);
}

void Draw(QPainter& p, TToolPicture picture, const TInk& ink) {
    switch (picture) {
        case TToolPicture::Open: {
            QPolygonF back;
            back << QPointF(3, 8) << QPointF(12, 8) << QPointF(15, 11) << QPointF(27, 11) << QPointF(27, 26)
                 << QPointF(3, 26);
            p.setPen(Pen(ink.line, 1.5));
            p.setBrush(ink.warm.darker(115));
            p.drawPolygon(back);
            QPolygonF flap;
            flap << QPointF(7, 15) << QPointF(30, 15) << QPointF(26, 26) << QPointF(3, 26);
            p.setBrush(ink.warm);
            p.drawPolygon(flap);
            break;
        }
        case TToolPicture::Save: {
            p.setPen(Pen(ink.line, 1.5));
            p.setBrush(ink.cool);
            p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
            p.setBrush(ink.paper);
            p.drawRect(QRectF(8, 4, 16, 9));
            p.setBrush(ink.line);
            p.drawRect(QRectF(18, 6, 3, 5));
            p.setBrush(ink.paper);
            p.drawRect(QRectF(8, 17, 16, 11));
            break;
        }
        case TToolPicture::Resume: {
            QPolygonF play;
            play << QPointF(9, 5) << QPointF(27, 16) << QPointF(9, 27);
            p.setPen(Pen(ink.line, 1.5));
            p.setBrush(ink.go);
            p.drawPolygon(play);
            break;
        }
        case TToolPicture::Pause:
            p.setPen(Pen(ink.line, 1.5));
            p.setBrush(ink.cool);
            p.drawRect(QRectF(8, 6, 6, 20));
            p.drawRect(QRectF(18, 6, 6, 20));
            break;
        case TToolPicture::Move:
            for (const QPointF& to : {QPointF(16, 3), QPointF(16, 29), QPointF(3, 16), QPointF(29, 16)})
                Arrow(p, QPointF(16, 16), to, ink.line, 2);
            p.setPen(Pen(ink.cool, 1));
            p.setBrush(ink.cool);
            p.drawEllipse(QPointF(16, 16), 3, 3);
            break;
        case TToolPicture::ZoomAxis:
            p.setPen(Pen(ink.line, 2));
            p.drawLine(QPointF(5, 4), QPointF(5, 27));
            p.drawLine(QPointF(5, 27), QPointF(29, 27));
            Arrow(p, QPointF(18, 21), QPointF(28, 21), ink.signal, 2);
            Arrow(p, QPointF(18, 21), QPointF(9, 21), ink.signal, 2);
            Arrow(p, QPointF(11, 13), QPointF(11, 4), ink.cool, 2);
            Arrow(p, QPointF(11, 13), QPointF(11, 18), ink.cool, 2);
            break;
        case TToolPicture::ZoomIn: Magnifier(p, ink, QPointF(13, 13), 9, TLensMark::Plus); break;
        case TToolPicture::ZoomOut: Magnifier(p, ink, QPointF(13, 13), 9, TLensMark::Minus); break;
        case TToolPicture::ZoomInX: AxisZoom(p, ink, TLensMark::Plus, QStringLiteral("X")); break;
        case TToolPicture::ZoomOutX: AxisZoom(p, ink, TLensMark::Minus, QStringLiteral("X")); break;
        case TToolPicture::ZoomInY: AxisZoom(p, ink, TLensMark::Plus, QStringLiteral("Y")); break;
        case TToolPicture::ZoomOutY: AxisZoom(p, ink, TLensMark::Minus, QStringLiteral("Y")); break;
        case TToolPicture::ZoomFit:
            p.setPen(Pen(ink.line, 1.5));
            p.setBrush(ink.paper);
            p.drawRect(QRectF(4, 6, 24, 20));
            p.setBrush(Qt::NoBrush);
            Wave(p, QRectF(6, 9, 20, 14), ink.signal);
            break;
        case TToolPicture::ZoomAll:
            p.setPen(Pen(ink.line, 1.5));
            p.setBrush(ink.paper);
            p.drawRect(QRectF(9, 9, 14, 14));
            p.setBrush(Qt::NoBrush);
            Arrow(p, QPointF(9, 9), QPointF(3, 3), ink.cool, 2);
            Arrow(p, QPointF(23, 9), QPointF(29, 3), ink.cool, 2);
            Arrow(p, QPointF(9, 23), QPointF(3, 29), ink.cool, 2);
            Arrow(p, QPointF(23, 23), QPointF(29, 29), ink.cool, 2);
            break;
        case TToolPicture::UnZoom: TurnArrow(p, ink, true); break;
        case TToolPicture::ReZoom: TurnArrow(p, ink, false); break;
        case TToolPicture::Select: {
            QPolygonF pointer;
            pointer << QPointF(8, 3) << QPointF(8, 25) << QPointF(13, 20) << QPointF(17, 29) << QPointF(21, 27)
                    << QPointF(17, 19) << QPointF(24, 19);
            p.setPen(Pen(ink.line, 1.5));
            p.setBrush(ink.paper);
            p.drawPolygon(pointer);
            break;
        }
        case TToolPicture::ZoomSel: {
            QPen dashed = Pen(ink.line, 1.5);
            dashed.setStyle(Qt::DashLine);
            p.setPen(dashed);
            p.drawRect(QRectF(3, 3, 22, 18));
            Magnifier(p, ink, QPointF(19, 18), 6, TLensMark::Plus);
            break;
        }
        case TToolPicture::Cursor:
            Wave(p, QRectF(3, 8, 26, 16), ink.signal);
            p.setPen(Pen(ink.cool, 2));
            p.drawLine(QPointF(16, 2), QPointF(16, 30));
            p.setPen(Pen(ink.line, 1.5));
            p.setBrush(ink.paper);
            p.drawEllipse(QPointF(16, 16), 3, 3);
            break;
    }
}

QPixmap Picture(TToolPicture picture, const TInk& ink) {
    QPixmap pixmap(kToolPictureSize, kToolPictureSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    Draw(painter, picture, ink);
    return pixmap;
}

}  // namespace

QIcon ToolButtonIcon(TToolPicture picture) {
    QIcon icon;
    icon.addPixmap(Picture(picture, kColour), QIcon::Normal);
    icon.addPixmap(Picture(picture, kGrey), QIcon::Disabled);
    return icon;
}

QIcon WindowIcon() {
    QPixmap pixmap(kToolPictureSize, kToolPictureSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x00, 0x31, 0x00), 1));
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 4, 4);
    const QColor traces[] = {QColor(0xFF, 0, 0), QColor(0xFF, 0xFF, 0), QColor(0, 0x80, 0xFF), QColor(0xFF, 0, 0xFF)};
    for (int c = 0; c < 4; ++c) Wave(p, QRectF(4, 6 + c * 5, 24, 6), traces[c]);
    QIcon icon;
    icon.addPixmap(pixmap);
    return icon;
}

}  // namespace ondrix
