#pragma once
// The port box: an editable combo box that asks for fresh port descriptions just before its
// list opens, so that an adapter plugged in while the dialog is up shows up there.

#include <QComboBox>

#include <functional>

namespace ondrix {

class TPortComboBox : public QComboBox {
public:
    explicit TPortComboBox(QWidget* parent) : QComboBox(parent) {}

    std::function<void()> OnBeforePopup;

    void showPopup() override {
        if (OnBeforePopup) OnBeforePopup();
        QComboBox::showPopup();
    }
};

}  // namespace ondrix
