#pragma once
// Finding the entry a command line names in a section's list.

#include <string_view>
#include <vector>

#include "catalog/StartupEntry.h"

namespace lsu::cli {

// The rows of the list whose name matches, ignoring case: registry value
// names and file names are case-insensitive, so "tool" and "Tool" are one
// entry's name. A service is found by its own name, or else by its display
// name.
std::vector<const StartupEntry*> entriesNamed(const EntryList& rows, std::string_view name);

}  // namespace lsu::cli
