#pragma once
// TAboutBox: the "About" window of the Help menu, a fixed 298 x 169 box centred on the screen
// with the program's picture, its name, its version and an OK button that is the default
// button, so Enter closes the box as a click on OK does.
//
// Wiring: built once at program start; "&About..." calls ShowModal.
//
// Threads: GUI thread only.

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace ondrix {

class TAboutBox : public QDialog {
public:
    static constexpr int kClientWidth = 298;
    static constexpr int kClientHeight = 169;

    explicit TAboutBox(QWidget* parent = nullptr);

    // Shows the box centred on the screen and returns when it is closed.
    int ShowModal();

    // The outer frame is the lowered bevel, Panel1 inside it the raised one.
    QFrame OuterBevel;
    QFrame Panel1;
    QLabel ProgramIcon;
    QLabel ProductName;
    QLabel Version;
    QPushButton OKButton;
};

}  // namespace ondrix
