#pragma once
// A Notifier for tests: records every text it is asked to show instead of showing it, and
// answers message boxes from a script. Not thread-safe: call it from one thread at a time, as
// the program calls its notifier from the user-interface thread.

#include <deque>
#include <string>
#include <vector>

#include "platform/Notifier.h"

namespace ondrix {

class RecordingNotifier : public Notifier {
public:
    // One entry per ShowMessage or MessageBox call, in call order. `captions` and `buttons`
    // run parallel to `messages`; a ShowMessage records an empty caption and MessageButtons::Ok.
    std::vector<std::string> messages;
    std::vector<std::string> captions;
    std::vector<MessageButtons> buttons;

    // Answers for the next MessageBox calls, taken from the front; once empty, defaultAnswer.
    std::deque<MessageAnswer> answers;
    MessageAnswer defaultAnswer = MessageAnswer::Ok;

    void ShowMessage(const std::string& text) override {
        messages.push_back(text);
        captions.emplace_back();
        buttons.push_back(MessageButtons::Ok);
    }

    MessageAnswer MessageBox(const std::string& text, const std::string& caption,
                             MessageButtons messageButtons) override {
        messages.push_back(text);
        captions.push_back(caption);
        buttons.push_back(messageButtons);
        if (answers.empty()) return defaultAnswer;
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void Clear() {
        messages.clear();
        captions.clear();
        buttons.clear();
    }
};

}  // namespace ondrix
