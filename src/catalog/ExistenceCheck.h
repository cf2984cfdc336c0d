#pragma once
// Whether the program a command line names can be found. One instance lives
// for one load, so that a path probed once is not probed again.

#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/Platform.h"

namespace lsu {

class ExistenceCheck {
public:
    explicit ExistenceCheck(Platform& platform);

    // Whether the program the command line starts is found: as written, in
    // the Windows folder and its system folders, with ".exe" added.
    bool programExists(std::string_view commandLine);
    bool fileExists(const std::string& path);
    std::size_t probeCount() const { return probes_; }

private:
    bool probeWithSystemFolders(const std::string& candidate);
    bool probeResolved(const std::string& candidate);

    Platform& platform_;
    std::string windowsFolder_;  // with a trailing backslash
    std::unordered_map<std::string, bool> known_;
    std::size_t probes_ = 0;
};

}  // namespace lsu
