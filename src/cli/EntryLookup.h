#pragma once
// Finding what a command line names: a section of the catalog and one entry
// of that section's list.

#include <string_view>
#include <vector>

#include "catalog/Sections.h"
#include "catalog/StartupEntry.h"

namespace lsu::cli {

// The catalog section whose key matches, ignoring case as Windows does.
const Section* findSectionNoCase(std::string_view key);

// The rows of the list whose name matches, ignoring case: registry value
// names and file names are case-insensitive, so "tool" and "Tool" are one
// entry's name.
std::vector<const StartupEntry*> entriesNamed(const EntryList& rows, std::string_view name);

}  // namespace lsu::cli
