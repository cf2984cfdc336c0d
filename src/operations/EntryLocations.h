#pragma once
// Where a listed entry stands: its enabled place or its disabled store,
// worked out from the row's section.

#include <optional>
#include <string>

#include "catalog/StartupEntry.h"
#include "operations/EntryPlaces.h"

namespace lsu {

// A value of a registry section; a machine-wide value lives in the view given.
RegistryPlace registryPlace(const RegistrySource& source, bool enabled, RegistryView view, const std::string& name);
ProfilePlace winIniPlace(SystemFacts& system, const WinIniSource& source, bool enabled);
// nullopt when the system does not name the section's Startup folder.
std::optional<FilePlace> folderPlace(SystemFacts& system, SectionId leaf, bool enabled, const std::string& fileName);

// Where the row's entry stands when enabled or when disabled. Refused for a
// file whose name Windows cannot give a file, naming it where a person finds
// it, and when the system names no Startup folder for the row.
Result<EntryPlace> placeOfRow(const SourcePorts& ports, const StartupEntry& row, bool enabled);

}  // namespace lsu
