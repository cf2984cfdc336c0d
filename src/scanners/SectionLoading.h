#pragma once
// Reading the list of one section afresh: the rows of its leaves in order,
// enabled rows ticked.

#include <functional>

#include "catalog/StartupEntry.h"
#include "platform/Ports.h"

namespace lsu {

struct SectionLoad {
    EntryList rows;
};

SectionLoad loadSection(const ScanPorts& ports, SectionId id);

// Reads the section leaf by leaf and hands each leaf's rows, ticked, on as
// soon as they are read, so that a slow source does not hold back the rows
// of those read before it. Stops when `deliver` answers false.
void loadSectionInBatches(const ScanPorts& ports, SectionId id, const std::function<bool(EntryList)>& deliver);

// Ticks every row Windows starts; this shows the stored state and is never
// a user's check change.
void tickEnabledRows(EntryList& rows);

}  // namespace lsu
