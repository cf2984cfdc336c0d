#pragma once
// The files of the mounted volume as Windows sees them: plain files and
// folders, and the NTFS attributes the mount exposes.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace lsu::offline {

inline constexpr std::uint32_t kAttributeHidden = 0x2;
inline constexpr std::uint32_t kAttributeSystem = 0x4;

bool isPlainFile(const std::string& path);
bool isFolder(const std::string& path);
// The file's NTFS attributes, where the mount exposes them.
std::optional<std::uint32_t> ntfsAttributes(const std::string& path);
std::optional<std::uint32_t> ntfsAttributes(int fd);
Status setNtfsAttributes(int fd, std::uint32_t attributes);

// Plain files a folder listing shows: no folders, no hidden or system
// files, never desktop.ini nor an unfinished file of this program's; sorted
// by name, case ignored.
std::vector<std::string> visibleFiles(const std::string& folder);

// Whether the file system holding the path (or its nearest existing
// parent) is mounted read-only.
bool onReadOnlyMount(const std::string& path);

}  // namespace lsu::offline
