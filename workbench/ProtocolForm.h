#pragma once
// TProtocolForm: the "Communication Protocol" window of the Help menu, a fixed 847 x 683 window
// centred on the screen whose read-only memo shows ProtocolDescriptionText() (ProtocolText.h)
// with a vertical scroll bar.
//
// Wiring: built once at program start; "Communication Protocol" calls ShowModal.
//
// Threads: GUI thread only.

#include <QDialog>
#include <QPlainTextEdit>
#include <QWidget>

namespace ondrix {

class TProtocolForm : public QDialog {
public:
    static constexpr int kClientWidth = 847;
    static constexpr int kClientHeight = 683;

    explicit TProtocolForm(QWidget* parent = nullptr);

    // Shows the window centred on the screen and returns when it is closed.
    int ShowModal();

    QPlainTextEdit Memo1;
};

}  // namespace ondrix
