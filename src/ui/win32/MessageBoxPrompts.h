#pragma once
// The operations' questions and messages as modal message boxes.

#include <windows.h>

#include "operations/UserPrompts.h"

namespace lsu::win32 {

class MessageBoxPrompts : public UserPrompts {
public:
    explicit MessageBoxPrompts(HWND owner) : owner_(owner) {}
    void tell(const std::string& prompt, const std::string& title, int style) override;
    bool ask(const std::string& prompt, const std::string& title, int style) override;
    void beep() override { MessageBeep(MB_OK); }

private:
    HWND owner_;
};

}  // namespace lsu::win32
