#pragma once
// Where a listed entry stands: its enabled place or its disabled store,
// worked out from the row's type and section.

#include <optional>
#include <string>
#include <string_view>

#include "catalog/StartupEntry.h"
#include "operations/EntryPlaces.h"

namespace lsu {

enum class SourceKind { Registry, WinIni, Folder };

// The kind of source a row comes from; nullopt for a type no operation acts on.
std::optional<SourceKind> sourceKindOf(const StartupEntry& row);
// The kind of source a section's new entries go to.
SourceKind sourceKindOfSection(std::string_view sectionKey);

bool isEnabled(const StartupEntry& row);

// The file a folder row stands under: its real name, or for rows that do not
// carry one the name and, for a shortcut, ".lnk".
std::string folderFileName(const StartupEntry& row);

// A registry value of a section; a machine-wide value lives in the view given.
RegistryPlace registryPlace(std::string_view sectionKey, bool enabled, RegistryView view, const std::string& name);
ProfilePlace winIniPlace(Platform& platform, std::string_view sectionKey, bool enabled);
// nullopt when the system does not name the section's Startup folder.
std::optional<FilePlace> folderPlace(Platform& platform, std::string_view sectionKey, bool enabled,
                                     const std::string& fileName);

// Where the row's entry stands when enabled or when disabled.
std::optional<EntryPlace> placeOfRow(Platform& platform, const StartupEntry& row, bool enabled);

}  // namespace lsu
