#pragma once
// The windowed program's notifier: modal message boxes over the active window.

#include "platform/Notifier.h"

namespace ondrix {

class MessageBoxNotifier final : public Notifier {
public:
    // Captioned with the application's name, with an OK button.
    void ShowMessage(const std::string& text) override;
    // Closing the box without a choice answers Cancel, or No where there is no Cancel.
    MessageAnswer MessageBox(const std::string& text, const std::string& caption, MessageButtons buttons) override;
};

}  // namespace ondrix
