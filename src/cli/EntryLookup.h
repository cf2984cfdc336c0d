#pragma once
// Finding the entry a command line names in a section's list.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/StartupEntry.h"

namespace lsu::cli {

// What the command line says of the entry besides its name: where it stands
// (--live, --parked) and in which registry view (--view 32|64). A row of a
// key both views share stands in either.
struct EntryFilter {
    std::optional<bool> enabled;
    std::optional<RegistryView> view;
};

// The rows of the list whose name matches, ignoring case: registry value
// names and file names are case-insensitive, so "tool" and "Tool" are one
// entry's name. A service is found by its own name, or else by its display
// name.
std::vector<const StartupEntry*> entriesNamed(const EntryList& rows, std::string_view name,
                                              const EntryFilter& filter = {});

// Of the two rows a move cut short left (the same entry where Windows starts
// it and parked), the one the change finishes the move from: the parked one
// when enabling, the live one when disabling. nullptr when the rows are not
// such a pair.
const StartupEntry* rowFinishingMove(const std::vector<const StartupEntry*>& found, bool enabling);

// Why the name is ambiguous, naming each row, and how to choose one of them:
// by its state, its registry view or its leaf section.
std::string ambiguityOf(const std::vector<const StartupEntry*>& found, std::string_view name,
                        std::string_view sectionKey);

}  // namespace lsu::cli
