#pragma once
// Writes new shortcut files. A link is built completely in a temporary file
// beside its target and only then put in place, so a failure never leaves a
// half-made link in a Startup folder nor costs the link that stood there.

#include <array>
#include <cstdint>
#include <string>

#include "operations/UserPrompts.h"
#include "platform/Platform.h"

namespace lsu {

inline constexpr std::size_t kLinkTemplateSize = 275;
inline constexpr const char* kTemplateComputerName = "LSUHOST";

// A complete shell link to C:\boot.ini, which the link object can open and
// complete.
const std::array<std::uint8_t, kLinkTemplateSize>& linkTemplate();

// Writes the template, exactly, to the file (created or replaced).
Status writeLinkTemplate(Platform& platform, const std::string& file);

// Where a link for this target is built before it is moved into place.
std::string temporaryLinkFile(const std::string& linkFile);

// Builds the link with these fields at linkFile, replacing a file there only
// when replace is set. On failure no temporary file is left behind.
Status buildShortcut(Platform& platform, const std::string& linkFile, const ShortcutFields& fields, bool replace);

// Gives linkFile its ".lnk", asks before an existing file is replaced (No:
// declined by the user, the old file untouched), and builds the link.
Status createShortcut(Platform& platform, UserPrompts& prompts, std::string& linkFile, const ShortcutFields& fields);

}  // namespace lsu
