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

// The same read a leaf at a time, so that a slow source does not hold back
// the rows read before it: the rows of each leaf, ticked, go to onRows as
// soon as the leaf has been read.
using RowsRead = std::function<void(EntryList rows)>;
void loadSectionByLeaf(const ScanPorts& ports, SectionId id, const RowsRead& onRows);

// Ticks every row Windows starts; this shows the stored state and is never
// a user's check change.
void tickEnabledRows(EntryList& rows);

}  // namespace lsu
