#include "catalog/CommandLine.h"

#include "base/Text.h"
#include "base/WindowsPaths.h"

namespace lsu {

ProgramAndArguments splitCommandLine(std::string_view commandLine,
                                     const std::function<bool(const std::string&)>& fileExists) {
    std::string line = trimSpaces(commandLine);
    if (line.empty()) return {};
    if (line.front() == '"') {
        auto close = line.find('"', 1);
        if (close == std::string::npos) return {line.substr(1), {}};
        return {line.substr(1, close - 1), trimSpaces(std::string_view(line).substr(close + 1))};
    }
    auto split = [&](std::size_t at) -> ProgramAndArguments {
        if (at == std::string::npos) return {line, {}};
        return {line.substr(0, at), trimSpaces(std::string_view(line).substr(at + 1))};
    };
    if (fileExists) {
        for (auto space = line.find(' '); space != std::string::npos; space = line.find(' ', space + 1)) {
            std::string prefix = line.substr(0, space);
            if (fileExists(prefix)) return split(space);
            if (!hasFileExtension(prefix) && fileExists(prefix + ".exe")) return {prefix + ".exe", split(space).arguments};
        }
        if (fileExists(line)) return {line, {}};
    }
    return split(line.find(' '));
}

}  // namespace lsu
