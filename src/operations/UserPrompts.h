#pragma once
// What the operations ask of the user. The window answers with real message
// boxes; tests answer from a script.

#include <string>

namespace lsu {

// Message box styles, numbered as the platform numbers them.
inline constexpr int kStyleCritical = 16;     // OK, critical icon
inline constexpr int kStyleYesNoQuestion = 36;  // Yes/No, question icon
inline constexpr int kStyleYesNo = 4;         // Yes/No, no icon
inline constexpr int kStyleExclamation = 48;
inline constexpr int kStyleInformation = 64;

class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // Shows a message with an OK button.
    virtual void tell(const std::string& prompt, const std::string& title, int style) = 0;
    // Asks a Yes/No question; true for Yes.
    virtual bool ask(const std::string& prompt, const std::string& title, int style) = 0;
    virtual void beep() {}
};

}  // namespace lsu
