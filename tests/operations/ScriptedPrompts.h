#pragma once
// Answers the operations' questions from a script and keeps every message,
// so a test can say exactly what the user saw.

#include <deque>
#include <string>
#include <vector>

#include "operations/UserPrompts.h"

namespace lsu::test {

class ScriptedPrompts : public UserPrompts {
public:
    struct Message {
        std::string prompt, title;
        int style;
        bool question;
    };

    // Answers for the coming questions, in order; an unscripted question is
    // answered No.
    std::deque<bool> answers;
    std::vector<Message> messages;
    int beeps = 0;

    void tell(const std::string& prompt, const std::string& title, int style) override {
        messages.push_back({prompt, title, style, false});
    }
    bool ask(const std::string& prompt, const std::string& title, int style) override {
        messages.push_back({prompt, title, style, true});
        if (answers.empty()) return false;
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void beep() override { ++beeps; }

    int questions() const {
        int count = 0;
        for (const auto& m : messages) count += m.question ? 1 : 0;
        return count;
    }
};

}  // namespace lsu::test
