#include "workbench/MessageBoxNotifier.h"

#include <QApplication>
#include <QMessageBox>

namespace ondrix {

namespace {

QMessageBox::StandardButtons StandardButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok: return QMessageBox::Ok;
        case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

int Show(const std::string& text, const QString& caption, QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, caption, QString::fromStdString(text), buttons, QApplication::activeWindow());
    return box.exec();
}

}  // namespace

MessageBoxNotifier::MessageBoxNotifier() = default;

MessageBoxNotifier::~MessageBoxNotifier() = default;

void MessageBoxNotifier::ShowMessage(const std::string& text) {
    Show(text, QApplication::applicationName(), QMessageBox::Ok);
}

MessageAnswer MessageBoxNotifier::MessageBox(const std::string& text, const std::string& caption,
                                             MessageButtons buttons) {
    switch (Show(text, QString::fromStdString(caption), StandardButtons(buttons))) {
        case QMessageBox::Ok: return MessageAnswer::Ok;
        case QMessageBox::Yes: return MessageAnswer::Yes;
        case QMessageBox::No: return MessageAnswer::No;
        default: return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    }
}

void MessageBoxNotifier::ShowMessageWithoutWaiting(const std::string& text) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, QApplication::applicationName(),
                                             QString::fromStdString(text), QMessageBox::Ok);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_QuitOnClose, false);
    box->show();
    lastingBoxes_.push_back(std::move(box));
}

}  // namespace ondrix
