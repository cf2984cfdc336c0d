#include "ui/win32/MessageBoxPrompts.h"

#include "platform/win32/WideText.h"

namespace lsu::win32 {

void MessageBoxPrompts::tell(const std::string& prompt, const std::string& title, int style) {
    MessageBoxW(owner_, widen(prompt).c_str(), widen(title).c_str(), static_cast<UINT>(style) | MB_OK);
}

bool MessageBoxPrompts::ask(const std::string& prompt, const std::string& title, int style) {
    return MessageBoxW(owner_, widen(prompt).c_str(), widen(title).c_str(), static_cast<UINT>(style) | MB_YESNO) == IDYES;
}

}  // namespace lsu::win32
