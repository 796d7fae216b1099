#pragma once
// A channel's address box. Letters are forced to upper case, and typing stops at eight
// characters, the most an address has. Text given whole (pasted or dropped) is taken whole, even
// when it is longer: the address rule then says what is wrong with it, where a box that cut it
// short would silently watch another address than the one the user copied.

#include <QLineEdit>
#include <QValidator>

#include <optional>

namespace ondrix {

class TAddressEdit : public QLineEdit {
public:
    static constexpr int kTypedLength = 8;

    TAddressEdit(const QString& text, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    class TAddressValidator : public QValidator {
    public:
        explicit TAddressValidator(const TAddressEdit& box) : box_(box) {}
        State validate(QString& input, int& position) const override;

    private:
        const TAddressEdit& box_;
    };

    template <typename Edit>
    void WhileTyping(Edit edit);

    TAddressValidator validator_;
    // The text's length before the key or input method now typing; empty while nothing types.
    std::optional<int> lengthBeforeTyping_;
};

}  // namespace ondrix
