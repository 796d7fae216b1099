#pragma once
// The windowed program's notifier: modal message boxes over the active window, and boxes that
// stay up without holding the program for a start that a script drives.

#include <memory>
#include <vector>

#include "platform/Notifier.h"

class QMessageBox;

namespace ondrix {

class MessageBoxNotifier final : public Notifier {
public:
    MessageBoxNotifier();
    ~MessageBoxNotifier() override;
    MessageBoxNotifier(const MessageBoxNotifier&) = delete;
    MessageBoxNotifier& operator=(const MessageBoxNotifier&) = delete;

    // Captioned with the application's name, with an OK button.
    void ShowMessage(const std::string& text) override;
    // Closing the box without a choice answers Cancel, or No where there is no Cancel.
    MessageAnswer MessageBox(const std::string& text, const std::string& caption, MessageButtons buttons) override;
    // As ShowMessage, but not modal; the box lives as long as this notifier. An open one does not
    // keep the program running once its main window has closed.
    void ShowMessageWithoutWaiting(const std::string& text) override;

private:
    std::vector<std::unique_ptr<QMessageBox>> lastingBoxes_;
};

}  // namespace ondrix
