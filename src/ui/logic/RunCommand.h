#pragma once
// What Run starts for a row.

#include <optional>
#include <string>

#include "catalog/StartupEntry.h"
#include "platform/FileSystem.h"
#include "platform/Launcher.h"
#include "platform/SystemFacts.h"

namespace lsu {

struct LaunchRequest {
    std::string file, parameters, directory;
    ShowCommand show = ShowCommand::Maximized;  // Run shows the started program's window maximised
    bool operator==(const LaunchRequest&) const = default;
};

// A shortcut opens the link file itself, so that its arguments and working
// directory apply; a packaged app's startup task starts its executable.
// Any other row: the command line taken apart as Windows does, environment
// variables expanded, run in the program's folder. Nothing for an empty
// command line, nor for a file whose name Windows cannot give a file (its
// path would open another; the status bar says why).
std::optional<LaunchRequest> launchRequestFor(SystemFacts& system, FileSystem& files, const StartupEntry& row);

// Starts what Run starts for the row: a scheduled task is run by the task
// scheduler, as its triggers would run it, a service is started by the
// service manager; any other row as
// launchRequestFor says. Done, with nothing started, for an empty command
// line.
Status runEntry(Launcher& launcher, SystemFacts& system, FileSystem& files, const StartupEntry& row);

}  // namespace lsu
