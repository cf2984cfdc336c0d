#pragma once
// Where each kind of source keeps its entries: the place Windows reads, and
// beside it the disabled store, a place Windows does not read.

#include <string>
#include <string_view>
#include <vector>

#include "catalog/Sections.h"
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

// The program's own folder for the parked items of a Startup-folder section:
// the section key below the program folder.
std::string disabledItemsFolder(SystemFacts& system, SectionId folderSection);

// Where a Startup-folder section's entries stand: the folder Windows reads
// (empty when the system names none), or when disabled the program's own.
std::string entryFolder(SystemFacts& system, SectionId folderSection, bool enabled);

// Whether the folder is one of the program's own for parked items.
bool isDisabledItemsFolder(SystemFacts& system, const std::string& folder);

// Creates the disabled-items folders that are missing, each parent first, and
// gives the folders it made. When one cannot be made, those it made go again.
Result<std::vector<std::string>> ensureDisabledItemsFolders(SystemFacts& system, FileSystem& files);
// Removes the folders, the last made first.
Status removeFolders(FileSystem& files, const std::vector<std::string>& made);

}  // namespace lsu
