#pragma once
// The one way the system's own code tells the user something. The windowed program shows
// message boxes; the headless recorder prints to stderr; tests record the texts.

#include <string>

namespace ondrix {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class Notifier {
public:
    virtual ~Notifier() = default;
    // A plain message with an OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    virtual MessageAnswer MessageBox(const std::string& text, const std::string& caption,
                                     MessageButtons buttons) = 0;
    // A plain message that does not hold the caller: it stays up until the user closes it while
    // the program goes on, as a start that a script drives needs. A notifier that never waits
    // for the user shows it as any other message.
    virtual void ShowMessageWithoutWaiting(const std::string& text) { ShowMessage(text); }
};

}  // namespace ondrix
