#pragma once
// What the operations ask of the user before they replace what stands. The
// window asks with real message boxes; the tool answers from --yes; tests
// answer from a script. Nothing is told through here: the operations return
// what happened, and the window and the tool say it.

#include <string>

namespace lsu {

// What a message box shows beside its text.
enum class MessageKind { Plain, Critical, Question, Exclamation, Information };

class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // Asks a Yes/No question; true for Yes.
    virtual bool ask(const std::string& prompt, const std::string& title, MessageKind kind) = 0;
    virtual void beep() {}
};

}  // namespace lsu
