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

// Reads the section leaf by leaf and hands each leaf's rows, ticked, on as
// soon as they are read, so that a slow source does not hold back the rows
// of those read before it. Stops when `deliver` answers false. The load
// returned holds no rows.
SectionLoad loadSectionInBatches(const ScanPorts& ports, SectionId id, const std::function<bool(EntryList)>& deliver);

// Ticks every row Windows starts; this shows the stored state and is never
// a user's check change.
void tickEnabledRows(EntryList& rows);

}  // namespace lsu
