#include "workbench/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace ondrix {

std::optional<std::string> TQtFileDialogs::SaveFileName(const TFileDialogRequest& request) {
    return Ask(request, true);
}

std::optional<std::string> TQtFileDialogs::OpenFileName(const TFileDialogRequest& request) {
    return Ask(request, false);
}

std::optional<std::string> TQtFileDialogs::Ask(const TFileDialogRequest& request, bool save) {
    QFileDialog dialog(&parent_, QString(), folder_, QString::fromStdString(request.filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultSuffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    folder_ = QFileInfo(chosen).absolutePath();
    return chosen.toStdString();
}

}  // namespace ondrix
