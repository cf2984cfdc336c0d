#include "platform/offline/Environment.h"

#include "base/CaseFolding.h"

namespace lsu::offline {

void Environment::set(const std::string& name, const std::string& value) { values_[foldedName(name)] = value; }

std::string Environment::expand(const std::string& text) const {
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto open = text.find('%', at);
        const auto close = open == std::string::npos ? std::string::npos : text.find('%', open + 1);
        if (close == std::string::npos) break;
        out.append(text, at, open - at);
        const auto found = values_.find(foldedName(text.substr(open + 1, close - open - 1)));
        if (found == values_.end()) {
            // The closing sign may open the next name.
            out.append(text, open, close - open);
            at = close;
            continue;
        }
        out += found->second;
        at = close + 1;
    }
    out.append(text, at);
    return out;
}

}  // namespace lsu::offline
