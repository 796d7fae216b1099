#pragma once
// The bottom panel's groups stand on a light face of their own, with white boxes, so that their
// text is legible in a shade of any channel's colour; the panel around them stays grey. The
// colours are fixed rather than the desktop theme's, since the shades are chosen against them.

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace ondrix {

inline const QColor kGroupFace(0xF0, 0xF0, 0xF0);
inline const QColor kGroupBoxBase(Qt::white);

// The group and its controls on the face, lettered in `text`.
inline void PutOnGroupFace(QWidget& group, const QColor& text) {
    QPalette colours = group.palette();
    colours.setColor(QPalette::Window, kGroupFace);
    colours.setColor(QPalette::Base, kGroupBoxBase);
    colours.setColor(QPalette::WindowText, text);
    colours.setColor(QPalette::Text, text);
    group.setPalette(colours);
    group.setAutoFillBackground(true);
}

}  // namespace ondrix
