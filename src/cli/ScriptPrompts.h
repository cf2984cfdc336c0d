#pragma once
// The answers a script gives to the operations' questions: Yes only when the
// user said so in advance with --yes. A refused question is kept so that the
// run can end with it as its one error line.

#include <optional>
#include <ostream>
#include <string>

#include "operations/UserPrompts.h"

namespace lsu::cli {

class ScriptPrompts : public UserPrompts {
public:
    ScriptPrompts(std::ostream& err, bool answerYes) : err_(err), answerYes_(answerYes) {}

    // One line on stderr. Once a question was refused, later messages only
    // report that refusal's consequence and are left out.
    void tell(const std::string& prompt, const std::string& title, int style) override;
    bool ask(const std::string& prompt, const std::string& title, int style) override;

    // The first question answered No, as one line.
    const std::optional<std::string>& refusal() const { return refusal_; }
    // Whether a message already reached stderr, so that a failure is not
    // reported twice.
    bool told() const { return told_; }

private:
    std::ostream& err_;
    bool answerYes_;
    std::optional<std::string> refusal_;
    bool told_ = false;
};

// Line breaks (CR, LF, CR LF, runs of them) become one space.
std::string oneLine(const std::string& text);

}  // namespace lsu::cli
