#pragma once
// The files of the mounted volume as Windows sees them: plain files and
// folders, the NTFS attributes the mount exposes, and every replacement made
// through a temporary file beside its target so that a failed write leaves
// the old file whole.

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
Status setNtfsAttributes(const std::string& path, std::uint32_t attributes);

// Plain files a folder listing shows: no folders, no hidden or system
// files, never desktop.ini; sorted by name, case ignored.
std::vector<std::string> visibleFiles(const std::string& folder);

// Creates or replaces the file with exactly these bytes; a replaced file
// keeps its attributes.
Status replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
Status makeFolder(const std::string& path);
Status removeFile(const std::string& path);
Status renameFile(const std::string& from, const std::string& to, bool replace);

// Whether the file system holding the path (or its nearest existing
// parent) is mounted read-only.
bool onReadOnlyMount(const std::string& path);

}  // namespace lsu::offline
