#include "cli/ScriptPrompts.h"

namespace lsu::cli {

std::string oneLine(const std::string& text) {
    std::string line;
    bool inBreak = false;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            inBreak = true;
            continue;
        }
        if (inBreak && !line.empty() && line.back() != ' ') line += ' ';
        inBreak = false;
        line += c;
    }
    return line;
}

void ScriptPrompts::tell(const std::string& prompt, const std::string& title, int) {
    if (refusal_) return;
    told_ = true;
    err_ << "lstartup-cli: " << (title.empty() ? "" : oneLine(title) + ": ") << oneLine(prompt) << '\n';
}

bool ScriptPrompts::ask(const std::string& prompt, const std::string&, int) {
    if (answerYes_) return true;
    if (!refusal_) refusal_ = oneLine(prompt);
    return false;
}

}  // namespace lsu::cli
