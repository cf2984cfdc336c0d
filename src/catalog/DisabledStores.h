#pragma once
// Where each kind of source keeps its entries: the place Windows reads, and
// beside it the disabled store, a place Windows does not read.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/Sections.h"
#include "catalog/StartupEntry.h"
#include "platform/FileSystem.h"
#include "platform/SystemFacts.h"

namespace lsu {

inline constexpr std::string_view kWinIniEnabledSection = "Windows";
inline constexpr std::string_view kWinIniDisabledSection = "SM_Disabled";

// "Software\...\Run" is parked in "Software\...\Run-" beside it.
std::string disabledSubkey(std::string_view subkey);

// The Windows folder, without a trailing backslash.
std::string windowsFolder(SystemFacts& system);
// The win.ini the system starts programs from.
std::string winIniPath(SystemFacts& system);

// The program's own folder for the items a Startup-folder section parks: the
// section key below the program folder for the items of all users, and below
// "LStartUp" in the user's local application data for the current user's, so
// that one user never sees or moves another's. Empty when the system names no
// such folder.
std::string disabledItemsFolder(SystemFacts& system, SectionId folderSection);
// The section key below the program folder, where the current user's items
// were parked before they were kept per user. They are listed and changed
// where they stand; new ones are never parked there.
std::string disabledItemsFolderBesideProgram(SystemFacts& system, SectionId folderSection);

// Where a Startup-folder section's entries stand: the folder Windows reads
// (empty when the system names none), or when disabled the program's own.
std::string entryFolder(SystemFacts& system, SectionId folderSection, bool enabled);
// Where the row stands: as above, or beside the program for an item parked
// there.
std::string entryFolder(SystemFacts& system, const StartupEntry& row);

// The section whose parked items the folder is the program's own for.
std::optional<SectionId> disabledItemsSection(SystemFacts& system, const std::string& folder);

// Creates the section's disabled-items folder where it is missing, each
// parent first, and gives the folders it made. When one cannot be made, those
// it made go again.
Result<std::vector<std::string>> ensureDisabledItemsFolder(SystemFacts& system, FileSystem& files,
                                                           SectionId folderSection);
// The same for every Startup-folder section.
Result<std::vector<std::string>> ensureDisabledItemsFolders(SystemFacts& system, FileSystem& files);
// Removes the folders, the last made first.
Status removeFolders(FileSystem& files, const std::vector<std::string>& made);

}  // namespace lsu
