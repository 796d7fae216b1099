#include "workbench/FocusExit.h"

#include <QFocusEvent>

namespace ondrix {

TFocusExit::TFocusExit(QWidget& box) : box_(box) { box_.installEventFilter(this); }

bool TFocusExit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &box_ && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && OnExit) OnExit();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace ondrix
