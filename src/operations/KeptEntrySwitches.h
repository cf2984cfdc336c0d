#pragma once
// Switching an entry that what declares it keeps where it stands: a packaged
// app's startup task by the State value Windows keeps for it, a scheduled
// task through the task scheduler. Nothing is moved or parked.

#include "operations/Operations.h"

namespace lsu {

// Switches the row's entry on or off, read back before it counts as done,
// and records how the entry now stands; a failure leaves the row as it was.
ChangeResult switchKeptEntry(const SourcePorts& ports, StartupEntry& row, bool on);

}  // namespace lsu
