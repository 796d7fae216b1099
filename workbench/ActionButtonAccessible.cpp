#include "workbench/ActionButtonAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QToolButton>

#include <memory>

namespace ondrix {

namespace {

class TActionButtonAccessible : public QAccessibleWidget {
public:
    explicit TActionButtonAccessible(QToolButton* button) : QAccessibleWidget(button) {}

    // Without a name of its own, the button is called by its caption.
    QString text(QAccessible::Text kind) const override {
        const QString text = QAccessibleWidget::text(kind);
        return text.isEmpty() && kind == QAccessible::Name ? Button().text() : text;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        const QToolButton& button = Button();
        state.checkable = button.isCheckable();
        state.checked = button.isChecked();
        state.pressed = button.isDown();
        return state;
    }

    // A button that latches is read as a check box, as Qt reads its own.
    QAccessible::Role role() const override {
        return Button().isCheckable() ? QAccessible::CheckBox : QAccessible::Button;
    }

    QStringList actionNames() const override {
        const QToolButton& button = Button();
        if (!button.isEnabled()) return {};
        QStringList names{pressAction()};
        if (button.isCheckable()) names << toggleAction();
        return names;
    }

    void doAction(const QString& name) override {
        QToolButton& button = Button();
        if (button.isEnabled() && actionNames().contains(name)) button.click();
    }

private:
    QToolButton& Button() const { return *static_cast<QToolButton*>(widget()); }
};

QAccessibleInterface* ActionButtonFactory(const QString& className, QObject* object) {
    auto* button = qobject_cast<QToolButton*>(object);
    if (className != QLatin1String("QToolButton") || button == nullptr || button->defaultAction() == nullptr)
        return nullptr;
    // The accessibility cache owns the interface from here on.
    return std::make_unique<TActionButtonAccessible>(button).release();
}

}  // namespace

void InstallActionButtonAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&ActionButtonFactory);
        return true;
    }();
    static_cast<void>(installed);
}

}  // namespace ondrix
