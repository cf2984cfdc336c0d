#pragma once
// The answers a script gives to the operations' questions: Yes only when the
// user said so in advance with --yes.

#include <string>

#include "operations/UserPrompts.h"

namespace lsu::cli {

class ScriptPrompts : public UserPrompts {
public:
    explicit ScriptPrompts(bool answerYes) : answerYes_(answerYes) {}
    bool ask(const std::string&, const std::string&, MessageKind) override { return answerYes_; }

private:
    bool answerYes_;
};

// Line breaks (CR, LF, CR LF, runs of them) become one space.
std::string oneLine(const std::string& text);

}  // namespace lsu::cli
