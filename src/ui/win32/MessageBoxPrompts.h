#pragma once
// The operations' questions, and what the user is told after a change, as
// modal message boxes.

#include <windows.h>

#include "operations/UserPrompts.h"
#include "ui/logic/ChangeMessages.h"

namespace lsu::win32 {

class MessageBoxPrompts : public UserPrompts {
public:
    explicit MessageBoxPrompts(HWND owner) : owner_(owner) {}
    bool ask(const std::string& prompt, const std::string& title, MessageKind kind) override;
    void beep() override { MessageBeep(MB_OK); }

private:
    HWND owner_;
};

// Shows the message with an OK button.
void showMessage(HWND owner, const UserMessage& message);
// Shows it when there is one.
void showMessage(HWND owner, const std::optional<UserMessage>& message);

}  // namespace lsu::win32
