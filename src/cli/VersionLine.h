#pragma once
// What `lstartup-cli --version` prints, the same in the Windows and the Linux
// tool.

#include <string>
#include <vector>

#include "ProductIdentity.h"

namespace lsu::cli {

inline constexpr const char* kVersionLine = "lstartup-cli " LSU_VERSION_TEXT "\n";

inline bool asksForVersion(const std::vector<std::string>& args) {
    return args.size() == 1 && args.front() == "--version";
}

}  // namespace lsu::cli
