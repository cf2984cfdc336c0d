#pragma once
// Reading the list of one section afresh: the rows of its leaves in order,
// enabled rows ticked, and the texts of the header strip.

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

// Ticks every row Windows starts; this shows the stored state and is never
// a user's check change.
void tickEnabledRows(EntryList& rows);

}  // namespace lsu
