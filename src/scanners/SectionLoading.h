#pragma once
// Reading the list of one section afresh: the rows of its leaves in order,
// enabled rows ticked.

#include "catalog/StartupEntry.h"
#include "platform/Ports.h"

namespace lsu {

struct SectionLoad {
    EntryList rows;
};

SectionLoad loadSection(const ScanPorts& ports, SectionId id);

// Ticks every row Windows starts; this shows the stored state and is never
// a user's check change.
void tickEnabledRows(EntryList& rows);

}  // namespace lsu
