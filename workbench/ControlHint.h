#pragma once
// A control's hint: shown as its tool tip, and in panel 0 of the window's status bar while the
// mouse is over it (the status tip, which the window routes there).

#include <QString>
#include <QWidget>

namespace ondrix {

inline void SetHint(QWidget& control, const QString& hint) {
    control.setToolTip(hint);
    control.setStatusTip(hint);
}

}  // namespace ondrix
