#include "workbench/ProtocolForm.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QString>

#include "workbench/ProtocolText.h"

namespace ondrix {

TProtocolForm::TProtocolForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Memo1(this) {
    setWindowTitle("Communication Protocol");
    setFixedSize(kClientWidth, kClientHeight);

    const std::string_view text = ProtocolDescriptionText();
    Memo1.setPlainText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    Memo1.setReadOnly(true);
    Memo1.setGeometry(0, 0, kClientWidth, kClientHeight);
    Memo1.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A fixed-pitch face keeps the C routines' indentation readable.
    Memo1.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QPalette palette = Memo1.palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    Memo1.setPalette(palette);
}

int TProtocolForm::ShowModal() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    return exec();
}

}  // namespace ondrix
