#pragma once
// What Run starts for a row.

#include <optional>
#include <string>

#include "catalog/StartupEntry.h"

namespace lsu {

// Run shows the started program's window maximised.
inline constexpr int kShowMaximized = 3;

struct LaunchRequest {
    std::string file, parameters, directory;
    int showCommand = kShowMaximized;
    bool operator==(const LaunchRequest&) const = default;
};

// A shortcut opens the link file itself, so that its arguments and working
// directory apply. Any other row: the command line taken apart as Windows
// does, environment variables expanded, run in the program's folder.
// Nothing for an empty command line.
std::optional<LaunchRequest> launchRequestFor(Platform& platform, const StartupEntry& row);

}  // namespace lsu
