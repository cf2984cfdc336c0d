#pragma once
// Where each kind of source parks its disabled entries: beside the place
// Windows reads, in a place Windows does not read.

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace lsu {

inline constexpr std::string_view kWinIniEnabledSection = "Windows";
inline constexpr std::string_view kWinIniDisabledSection = "SM_Disabled";
inline constexpr std::string_view kWinIniLoadKey = "Load";
inline constexpr std::string_view kWinIniRunKey = "Run";

// "Software\...\Run" is parked in "Software\...\Run-" beside it.
std::string disabledSubkey(std::string_view subkey);

// The win.ini the system starts programs from.
std::string winIniPath(Platform& platform);

// The Startup folder a folder section reads: the shared one for
// "Startup Folder\All Users", the current user's for every other key.
int startupFolderId(std::string_view sectionKey);

// The program's own folder for the parked items of a Startup-folder section.
std::string disabledItemsFolder(Platform& platform, std::string_view sectionKey);

// Creates the three disabled-items folders, the parent first.
void ensureDisabledItemsFolders(Platform& platform);

}  // namespace lsu
