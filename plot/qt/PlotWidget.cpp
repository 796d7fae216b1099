#include "plot/qt/PlotWidget.h"

#include <QCursor>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <exception>
#include <optional>

#include "plot/component/PlotComponent.h"
#include "plot/qt/QtCanvas.h"

namespace ondrix {

namespace {

// ---- Input translation -------------------------------------------------------------------

TShiftState KeyboardShift(Qt::KeyboardModifiers modifiers) {
    TShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= ssShift;
    if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
    if (modifiers & Qt::AltModifier) shift |= ssAlt;
    return shift;
}

// The keys plus the buttons held during the event (at a press, the pressed one too).
TShiftState MouseShift(const QMouseEvent& event) {
    TShiftState shift = KeyboardShift(event.modifiers());
    if (event.buttons() & Qt::LeftButton) shift |= ssLeft;
    if (event.buttons() & Qt::RightButton) shift |= ssRight;
    if (event.buttons() & Qt::MiddleButton) shift |= ssMiddle;
    return shift;
}

std::optional<TMouseButton> ComponentButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return mbLeft;
        case Qt::RightButton: return mbRight;
        case Qt::MiddleButton: return mbMiddle;
        default: return std::nullopt;
    }
}

// Letters and digits are their own codes in both; the rest by name.
int ComponentKey(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return vkF1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Backspace: return vkBack;
        case Qt::Key_Tab: return vkTab;
        case Qt::Key_Return:
        case Qt::Key_Enter: return vkReturn;
        case Qt::Key_Shift: return vkShift;
        case Qt::Key_Control: return vkControl;
        case Qt::Key_Alt: return vkMenu;
        case Qt::Key_Escape: return vkEscape;
        case Qt::Key_Space: return vkSpace;
        case Qt::Key_PageUp: return vkPrior;
        case Qt::Key_PageDown: return vkNext;
        case Qt::Key_End: return vkEnd;
        case Qt::Key_Home: return vkHome;
        case Qt::Key_Left: return vkLeft;
        case Qt::Key_Up: return vkUp;
        case Qt::Key_Right: return vkRight;
        case Qt::Key_Down: return vkDown;
        case Qt::Key_Insert: return vkInsert;
        case Qt::Key_Delete: return vkDelete;
        default: return vkNone;
    }
}

Qt::CursorShape CursorShape(TPlotCursor cursor) {
    switch (cursor) {
        case crHandPoint: return Qt::PointingHandCursor;
        case crDrag: return Qt::CrossCursor;
        case crSizeWE: return Qt::SizeHorCursor;
        case crSizeNS: return Qt::SizeVerCursor;
        case crDefault: break;
    }
    return Qt::ArrowCursor;
}

// One level of the plot's menu as Qt menu entries; a chosen entry's click is copied out, to run
// once the menu has closed and the model may be refilled.
void FillMenu(QMenu& menu, const std::vector<TPlotMenuItem>& items, std::function<void()>& chosen) {
    for (const TPlotMenuItem& item : items) {
        if (!item.Visible) continue;
        const QString caption = QString::fromStdString(item.Caption);
        if (!item.Items.empty()) {
            QMenu* sub = menu.addMenu(caption);
            sub->setEnabled(item.Enabled);
            FillMenu(*sub, item.Items, chosen);
            continue;
        }
        QAction* action = menu.addAction(caption);
        action->setEnabled(item.Enabled);
        action->setCheckable(item.Checked);
        action->setChecked(item.Checked);
        std::function<void()> click = item.OnClick;
        QObject::connect(action, &QAction::triggered, &menu, [&chosen, click] { chosen = click; });
    }
}

// A host timer for plot objects; deleting it from its own tick is safe.
class QtPlotTimer final : public TPlotTimer {
public:
    explicit QtPlotTimer(std::function<void()> onTick) : timer_(new QTimer) {
        QObject::connect(timer_, &QTimer::timeout, timer_, std::move(onTick));
    }
    ~QtPlotTimer() override {
        timer_->stop();
        timer_->deleteLater();
    }
    void Start(int intervalMs) override { timer_->start(intervalMs); }
    void Stop() override { timer_->stop(); }

private:
    QTimer* timer_;
};

// No error of the component's input handlers may reach the event loop. Its own errors are
// part of the bargain (a key an axis refuses, say); any other is reported.
template <class Call>
void Guarded(const TComponentBase& component, Call call) {
    try {
        call();
    } catch (const EPlotError&) {
    } catch (const std::exception& error) {
        component.ReportUnexpectedError("an input handler", error);
    }
}

}  // namespace

// ---- Hooks -------------------------------------------------------------------------------

TPlotWidget::TPlotWidget(TWindowedComponent& component, QWidget* parent)
    : QWidget(parent), component_(component) {
    // The component paints every pixel of its client area, off screen first: nothing to erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);

    trailingTimer_.setSingleShot(true);
    connect(&trailingTimer_, &QTimer::timeout, this, [this] { RunTrailing(); });
    connect(&componentTimer_, &QTimer::timeout, this, [this] { Guarded(component_, [this] { component_.TimerTick(); }); });

    component_.SetSurfaceFactory(std::make_shared<QtSurfaceFactory>());
    component_.SetBounds(width(), height());
    // The handle stays safe to post through after the widget has gone; `this` is used only by
    // the tasks, which run only while the widget lives.
    std::shared_ptr<Executor> guiThread = guiThread_.Handle();
    component_.OnRepaintRequest = [guiThread, this] { guiThread->Post([this] { update(); }); };
    component_.GetRepaintThrottle().SetScheduler([guiThread, this](int64_t delayMs, std::function<void()> due) {
        guiThread->Post([this, delayMs, due = std::move(due)] { ScheduleTrailing(delayMs, due); });
    });
    component_.OnTimerArm = [this](int intervalMs) { componentTimer_.start(intervalMs); };
    component_.OnTimerDisarm = [this] { componentTimer_.stop(); };

    component_.OnMousePointer = [this](TPlotCursor cursor) { setCursor(CursorShape(cursor)); };
    component_.OnClientToScreen = [this](int x, int y) {
        const QPoint screen = mapToGlobal(QPoint(x, y));
        return TPlotPoint{screen.x(), screen.y()};
    };
    component_.OnShowPopupMenu = [this](TPlotPopupMenu& menu, int x, int y) { ShowPopupMenu(menu, x, y); };
    component_.SetTimerFactory([](std::function<void()> onTick) -> std::unique_ptr<TPlotTimer> {
        return std::make_unique<QtPlotTimer>(std::move(onTick));
    });
    if (auto* plot = dynamic_cast<TPlotComponent*>(&component_)) {
        exportHost_ = std::make_unique<TQtPlotExportHost>(*this);
        plot->SetExportHost(exportHost_.get());
    }
}

void TPlotWidget::ShowPopupMenu(TPlotPopupMenu& model, int x, int y) {
    QMenu menu(this);
    std::function<void()> chosen;
    FillMenu(menu, model.Items(), chosen);
    menu.exec(mapToGlobal(QPoint(x, y)));
    if (chosen) Guarded(component_, chosen);
}

TPlotWidget::~TPlotWidget() {
    component_.TimerStop();
    component_.OnTimerArm = nullptr;
    component_.OnTimerDisarm = nullptr;
    component_.OnMousePointer = nullptr;
    component_.OnClientToScreen = nullptr;
    component_.OnShowPopupMenu = nullptr;
    component_.SetTimerFactory(nullptr);
    component_.GetRepaintThrottle().SetScheduler(nullptr);
    if (auto* plot = dynamic_cast<TPlotComponent*>(&component_)) plot->SetExportHost(nullptr);
}

void TPlotWidget::ScheduleTrailing(int64_t delayMs, std::function<void()> due) {
    trailingDue_ = std::move(due);
    trailingTimer_.start(static_cast<int>(std::clamp<int64_t>(delayMs, 0, INT_MAX)));
}

void TPlotWidget::RunTrailing() {
    std::function<void()> due = std::move(trailingDue_);
    trailingDue_ = nullptr;
    if (due) due();
}

// ---- Events ------------------------------------------------------------------------------

void TPlotWidget::paintEvent(QPaintEvent*) {
    QtCanvas canvas(*this, size());
    component_.Paint(canvas);
}

void TPlotWidget::resizeEvent(QResizeEvent*) { component_.SetBounds(width(), height()); }

// The desktop's colours changed: system colours the plot uses (bevel edges, hint box) resolve
// anew, so the background is redrawn too.
void TPlotWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) component_.BackGroundChange();
    QWidget::changeEvent(event);
}

void TPlotWidget::mousePressEvent(QMouseEvent* event) {
    const auto button = ComponentButton(event->button());
    if (!button) return;
    const QPoint at = event->position().toPoint();
    Guarded(component_, [&] { component_.iMouseDown(*button, MouseShift(*event), at.x(), at.y()); });
}

void TPlotWidget::mouseReleaseEvent(QMouseEvent* event) {
    const auto button = ComponentButton(event->button());
    if (!button) return;
    const QPoint at = event->position().toPoint();
    Guarded(component_, [&] { component_.iMouseUp(*button, MouseShift(*event), at.x(), at.y()); });
}

void TPlotWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Guarded(component_, [&] { component_.iMouseMove(MouseShift(*event), at.x(), at.y()); });
}

// The component expects a double click as its notification followed by a press flagged as
// double; the release comes as usual.
void TPlotWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    const auto button = ComponentButton(event->button());
    if (!button) return;
    const QPoint at = event->position().toPoint();
    Guarded(component_, [&] {
        component_.iDoubleClick();
        component_.iMouseDown(*button, MouseShift(*event) | ssDouble, at.x(), at.y());
    });
}

void TPlotWidget::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    const QPoint at = event->position().toPoint();
    bool used = false;
    Guarded(component_, [&] { used = component_.iMouseWheel(delta, KeyboardShift(event->modifiers()), at.x(), at.y()); });
    event->setAccepted(used);
}

void TPlotWidget::keyPressEvent(QKeyEvent* event) {
    int key = ComponentKey(event->key());
    if (key != 0) Guarded(component_, [&] { component_.iKeyDown(key, KeyboardShift(event->modifiers())); });
    const QString text = event->text();
    if (text.size() == 1 && text[0].unicode() > 0 && text[0].unicode() < 128) {
        char character = static_cast<char>(text[0].unicode());
        Guarded(component_, [&] { component_.iKeyPress(character); });
    }
}

// A held key repeats its press only, as the component expects.
void TPlotWidget::keyReleaseEvent(QKeyEvent* event) {
    int key = ComponentKey(event->key());
    if (key == 0 || event->isAutoRepeat()) return;
    Guarded(component_, [&] { component_.iKeyUp(key, KeyboardShift(event->modifiers())); });
}

void TPlotWidget::focusInEvent(QFocusEvent*) {
    Guarded(component_, [&] { component_.iDoSetFocus(); });
}

void TPlotWidget::leaveEvent(QEvent*) {
    Guarded(component_, [&] { component_.iMouseLeave(); });
}

// The keys the component claims reach it as key presses, before any shortcut of the window
// around it could take them.
bool TPlotWidget::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = ComponentKey(static_cast<QKeyEvent*>(event)->key());
        if (key != vkNone && component_.iWantSpecialKey(key)) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void TPlotWidget::focusOutEvent(QFocusEvent*) {
    Guarded(component_, [&] { component_.iDoKillFocus(); });
}

}  // namespace ondrix
