#pragma once
// Reading the list of one section afresh: the rows of its leaves in order,
// enabled rows ticked, and the texts of the header strip.

#include <functional>
#include <string>

#include "catalog/StartupEntry.h"
#include "platform/Ports.h"

namespace lsu {

struct SectionLoad {
    std::string folderName;   // the section key, shown as written
    std::string description;
    EntryList rows;
    std::size_t probes = 0;          // file-system probes spent on the Exists cells
    std::size_t publisherReads = 0;  // version resources read for the Publisher cells
};

SectionLoad loadSection(const ScanPorts& ports, SectionId id);

// The same read a leaf at a time, so that a slow source does not hold back
// the rows read before it: the rows of each leaf, ticked, go to onRows as
// soon as the leaf has been read, and the load returned holds none.
using RowsRead = std::function<void(EntryList rows)>;
SectionLoad loadSectionByLeaf(const ScanPorts& ports, SectionId id, const RowsRead& onRows);

// Ticks every row Windows starts; this shows the stored state and is never
// a user's check change.
void tickEnabledRows(EntryList& rows);

}  // namespace lsu
