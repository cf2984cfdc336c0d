#pragma once
// Reading the list of one section afresh: the rows of its scanners in order,
// enabled rows ticked, and the texts of the header strip.

#include <optional>
#include <string>
#include <string_view>

#include "catalog/StartupEntry.h"

namespace lsu {

struct SectionLoad {
    std::string folderName;                  // the section key, shown as written
    std::optional<std::string> description;  // none for a key outside the catalog
    EntryList rows;
    std::size_t probes = 0;  // file-system probes spent on the Exists cells
};

SectionLoad loadPrograms(Platform& platform, std::string_view sectionKey);

// Ticks every row whose Status is exactly "Enabled"; this shows the stored
// state and is never a user's check change.
void tickEnabledRows(EntryList& rows);

}  // namespace lsu
