#pragma once
// Machines crowded with start-up entries, and the reading of their sources
// through the platform's own calls.

#include <cstddef>

#include "platform/Ports.h"

namespace lsu::bench {

enum class Crowd {
    // Seven in ten entries are values of the seven Run-type keys of both
    // hives and views (one in ten of those parked), two in ten plain files
    // and one in ten shortcuts in the two Startup folders.
    RegistryHeavy,
    // Two in three registry values spread over every key and disabled store,
    // one in three Startup-folder items (half of them shortcuts) spread over
    // the folders and their disabled-items folders, and the four win.ini lines.
    Mixed,
};

const char* crowdName(Crowd crowd);

void seedCrowd(const SourcePorts& platform, Crowd crowd, std::size_t entries);
// Removes what seedCrowd put there, so that a machine is left as it was found.
void clearCrowd(const SourcePorts& platform, Crowd crowd, std::size_t entries);

// Reads every source with the platform calls a load makes and keeps
// nothing; returns the number of items read.
std::size_t readThroughPlatform(const SourcePorts& platform);

// Registers that many packaged apps for the current user as Windows does,
// each with its folder and a manifest declaring one startup task, and for
// every other one the task's State.
void seedPackages(const SourcePorts& platform, std::size_t count);
// Reads each package's folder, manifest and task switch with plain calls and
// keeps nothing; returns the number of manifests and switches read.
std::size_t readPackagesThroughPlatform(const SourcePorts& platform);

}  // namespace lsu::bench
