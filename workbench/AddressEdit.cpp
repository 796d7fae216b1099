#include "workbench/AddressEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>

namespace ondrix {

// Typing may shorten a text longer than an address, so that it can be edited down to one, but
// never lengthen a text past an address.
QValidator::State TAddressEdit::TAddressValidator::validate(QString& input, int&) const {
    input = input.toUpper();
    const std::optional<int> before = box_.lengthBeforeTyping_;
    const bool typedTooLong = before && input.size() > kTypedLength && input.size() > *before;
    return typedTooLong ? Invalid : Acceptable;
}

TAddressEdit::TAddressEdit(const QString& text, QWidget* parent) : QLineEdit(text, parent), validator_(*this) {
    setValidator(&validator_);
}

template <typename Edit>
void TAddressEdit::WhileTyping(Edit edit) {
    lengthBeforeTyping_ = static_cast<int>(text().size());
    edit();
    lengthBeforeTyping_.reset();
}

void TAddressEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    WhileTyping([&] { QLineEdit::keyPressEvent(event); });
}

void TAddressEdit::inputMethodEvent(QInputMethodEvent* event) {
    WhileTyping([&] { QLineEdit::inputMethodEvent(event); });
}

}  // namespace ondrix
