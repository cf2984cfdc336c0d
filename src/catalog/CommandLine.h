#pragma once
// Taking a command line apart the way Windows does when it starts one.

#include <functional>
#include <string>
#include <string_view>

namespace lsu {

struct ProgramAndArguments {
    std::string program;
    std::string arguments;
    bool operator==(const ProgramAndArguments&) const = default;
};

// A quoted program ends at its closing quote; an unquoted one at the first
// space, unless a longer space-delimited prefix names an existing file
// (shortest first, ".exe" tried where the prefix has no extension).
ProgramAndArguments splitCommandLine(std::string_view commandLine,
                                     const std::function<bool(const std::string&)>& fileExists = {});

}  // namespace lsu
