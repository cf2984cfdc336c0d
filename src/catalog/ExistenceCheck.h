#pragma once
// Whether the program a command line names can be found, and who made it.
// One instance lives for one load, so that a path probed or read once is not
// probed or read again.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/FileSystem.h"
#include "platform/SystemFacts.h"
#include "platform/VersionInfo.h"

namespace lsu {

class ExistenceCheck {
public:
    ExistenceCheck(FileSystem& files, SystemFacts& system, VersionInfo& versions);

    // Whether the program the command line starts is found: as written, in
    // the Windows folder and its system folders, with ".exe" added.
    bool programExists(std::string_view commandLine);
    // The path of that program, when it is found.
    std::optional<std::string> resolveProgram(std::string_view commandLine);
    bool fileExists(const std::string& path);
    // The company the program's version resource names, read once per path.
    const std::string& publisherOf(const std::string& program);

private:
    std::optional<std::string> probeWithSystemFolders(const std::string& candidate);
    std::optional<std::string> probeResolved(const std::string& candidate);

    FileSystem& files_;
    SystemFacts& system_;
    VersionInfo& versions_;
    std::string windowsFolder_;  // with a trailing backslash
    std::unordered_map<std::string, bool> known_;
    std::unordered_map<std::string, std::string> publishers_;
};

}  // namespace lsu
