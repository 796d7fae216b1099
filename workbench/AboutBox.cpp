#include "workbench/AboutBox.h"

#include <QGuiApplication>
#include <QScreen>

#include "workbench/MainformIcons.h"

namespace ondrix {

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      OuterBevel(this),
      Panel1(&OuterBevel),
      ProgramIcon(&Panel1),
      ProductName("Ondrix", &Panel1),
      Version("Version:V1.0", &Panel1),
      OKButton("OK", this) {
    setWindowTitle("About");
    setFixedSize(kClientWidth, kClientHeight);

    OuterBevel.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    OuterBevel.setGeometry(8, 8, 282, 122);
    Panel1.setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1.setGeometry(1, 1, 280, 120);

    // The window's own icon, stretched: one drawing of the program's picture for both.
    ProgramIcon.setObjectName("ProgramIcon");
    ProgramIcon.setPixmap(WindowIcon().pixmap(kToolPictureSize, kToolPictureSize));
    ProgramIcon.setScaledContents(true);
    ProgramIcon.setGeometry(8, 8, 65, 57);
    ProductName.setObjectName("ProductName");
    ProductName.setGeometry(88, 16, 180, 16);
    Version.setObjectName("Version");
    Version.setGeometry(88, 40, 180, 16);

    OKButton.setObjectName("OKButton");
    OKButton.setGeometry(111, 136, 75, 25);
    OKButton.setDefault(true);
    connect(&OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

int TAboutBox::ShowModal() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    return exec();
}

}  // namespace ondrix
