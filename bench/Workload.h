#pragma once
// A machine crowded with start-up entries, spread over all eleven sources,
// and the bare reading of those sources that a load cannot beat.

#include <cstddef>

#include "platform/Platform.h"

namespace lsu::bench {

// Seeds about `entries` entries: registry values in every Run-type key (both
// views of the machine keys, enabled and parked), shortcuts and plain files
// in both Startup folders and their disabled-items folders, and the win.ini
// lines.
void seedCrowdedMachine(Platform& platform, std::size_t entries);

// Removes what seedCrowdedMachine(platform, entries) put there, so that a real
// machine is left as it was found.
void clearCrowdedMachine(Platform& platform, std::size_t entries);

// Reads every source with the same platform calls a load makes and keeps
// nothing; returns the number of items read.
std::size_t bareRead(Platform& platform);

}  // namespace lsu::bench
