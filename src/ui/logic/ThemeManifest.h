#pragma once
// The side-by-side manifest beside the executable that asks Windows for
// version 6 of the common controls.

#include <string>

#include "platform/FileSystem.h"

namespace lsu {

// C:\Tools\manager.exe -> C:\Tools\manager.exe.manifest
std::string themeManifestPath(const std::string& programFolder, const std::string& programFileName);
std::string themeManifestText(const std::string& programFileName);

// Writes the manifest of the program at programPath beside it, hidden,
// unless a file of that name already exists.
Status writeThemeManifest(FileSystem& files, const std::string& programPath);

inline constexpr const char* kThemeErrorPrompt =
    "Error creating Windows XP theme file. You may be running EXE file from a network drive with which you dont "
    "have write permissions. Themes will not be enabled.";
inline constexpr const char* kThemeErrorTitle = "Themeing Error!";

}  // namespace lsu
