#pragma once
// The window of one drawn component. It turns the window's events into the component's entry
// points (paint, size, mouse, wheel, keys, focus, timer) and gives the component what it needs
// of the window system: off-screen bitmaps, a repaint hook, the repaint throttle's scheduler
// and a timer. A plot also gets the window's clipboard, dialogs and printer for its exports.
//
// Lifetime: the component outlives the widget, or goes with it as a member declared before it.
// The destructor stops the component's timer and uninstalls every hook it installed. The
// repaint hook is the one exception: another thread may be inside it at that moment, so it is
// not replaced but closed, and does nothing from then on. The surface factory refers to
// nothing of the widget and stays, so the component can still paint into pictures.
//
// Threads: the widget lives on the GUI thread. The repaint hook and the throttle's scheduler
// may be called from any thread: they queue their work to the GUI thread, where it is dropped
// if the widget has gone meanwhile.

#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/qt/QtExecutor.h"
#include "plot/component/WindowedComponent.h"
#include "plot/qt/PlotExportHostQt.h"

namespace ondrix {

class TPlotWidget : public QWidget {
public:
    explicit TPlotWidget(TWindowedComponent& component, QWidget* parent = nullptr);
    ~TPlotWidget() override;
    TPlotWidget(const TPlotWidget&) = delete;
    TPlotWidget& operator=(const TPlotWidget&) = delete;

    // The clipboard, dialogs and printer of a plot's exports; null for a component that has none.
    TQtPlotExportHost* ExportHost() const { return exportHost_.get(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The throttle's held-back change falls due `delayMs` from now (GUI thread).
    void ScheduleTrailing(int64_t delayMs, std::function<void()> due);
    void RunTrailing();
    // Runs modally; the chosen item's click runs after the menu has closed.
    void ShowPopupMenu(TPlotPopupMenu& menu, int x, int y);

    TWindowedComponent& component_;
    // Where the hooks called from other threads queue their work. Its tasks run only while it,
    // and so the widget, lives.
    QtExecutor guiThread_;
    QTimer componentTimer_;
    QTimer trailingTimer_;
    std::function<void()> trailingDue_;
    std::unique_ptr<TQtPlotExportHost> exportHost_;
};

}  // namespace ondrix
