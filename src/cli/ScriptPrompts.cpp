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

}  // namespace lsu::cli
