#include "ui/win32/MessageBoxPrompts.h"

#include "platform/win32/WideText.h"

namespace lsu::win32 {

namespace {

UINT iconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Critical: return MB_ICONERROR;
        case MessageKind::Question: return MB_ICONQUESTION;
        case MessageKind::Exclamation: return MB_ICONEXCLAMATION;
        case MessageKind::Information: return MB_ICONINFORMATION;
        case MessageKind::Plain: break;
    }
    return 0;
}

}  // namespace

bool MessageBoxPrompts::ask(const std::string& prompt, const std::string& title, MessageKind kind) {
    return MessageBoxW(owner_, widen(prompt).c_str(), widen(title).c_str(), iconOf(kind) | MB_YESNO) == IDYES;
}

void showMessage(HWND owner, const UserMessage& message) {
    MessageBoxW(owner, widen(message.text).c_str(), widen(message.title).c_str(), iconOf(message.kind) | MB_OK);
}

void showMessage(HWND owner, const std::optional<UserMessage>& message) {
    if (message) showMessage(owner, *message);
}

}  // namespace lsu::win32
