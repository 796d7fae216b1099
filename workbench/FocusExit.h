#pragma once
// Tells when an edit box is left for another control of the same window, which is when the
// window applies what was typed. Leaving the window (another application, a menu, a message
// box) is not leaving the box: the box still has the focus when the window comes back.

#include <QEvent>
#include <QObject>
#include <QWidget>

#include <functional>

namespace ondrix {

class TFocusExit : public QObject {
public:
    explicit TFocusExit(QWidget& box);

    std::function<void()> OnExit;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& box_;
};

}  // namespace ondrix
