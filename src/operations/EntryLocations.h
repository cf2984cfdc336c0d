#pragma once
// Where a listed entry stands: its enabled place or its disabled store,
// worked out from the row's section.

#include <optional>
#include <string>

#include "catalog/StartupEntry.h"
#include "operations/EntryPlaces.h"

namespace lsu {

// The file a folder row stands under: its real name, or for rows that do not
// carry one the name and, for a shortcut, ".lnk".
std::string folderFileName(const StartupEntry& row);

// A value of a registry section; a machine-wide value lives in the view given.
RegistryPlace registryPlace(const RegistrySource& source, bool enabled, RegistryView view, const std::string& name);
ProfilePlace winIniPlace(SystemFacts& system, const WinIniSource& source, bool enabled);
// nullopt when the system does not name the section's Startup folder.
std::optional<FilePlace> folderPlace(SystemFacts& system, SectionId leaf, bool enabled, const std::string& fileName);

// Where the row's entry stands when enabled or when disabled.
std::optional<EntryPlace> placeOfRow(SystemFacts& system, const StartupEntry& row, bool enabled);

}  // namespace lsu
