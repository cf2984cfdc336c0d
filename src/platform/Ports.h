#pragma once
// The capabilities the start-up sources are read and changed through, handed
// on together: a platform offers each of them, and what takes them uses only
// these.

#include "platform/FileSystem.h"
#include "platform/IniProfiles.h"
#include "platform/Registry.h"
#include "platform/Scheduler.h"
#include "platform/Services.h"
#include "platform/ShellLinks.h"
#include "platform/SystemFacts.h"
#include "platform/VersionInfo.h"

namespace lsu {

// What the entries are read from and written to.
struct SourcePorts {
    Registry& registry;
    IniProfiles& profiles;
    FileSystem& files;
    ShellLinks& links;
    SystemFacts& system;
    Scheduler& tasks;
    Services& services;
};

// A load of the list reads the programs' makers as well.
struct ScanPorts : SourcePorts {
    VersionInfo& versions;
};

// The ports of a platform that offers them all.
template <typename Platform>
ScanPorts portsOf(Platform& platform) {
    return {{platform, platform, platform, platform, platform, platform, platform}, platform};
}

}  // namespace lsu
