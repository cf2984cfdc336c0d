#pragma once
// Writes shell links (.lnk) in the published Shell Link Binary File Format,
// for a system whose shell cannot be asked to save one. The link holds the
// fields given and nothing else: strings in UTF-16, the target as the local
// path of its LinkInfo (in both its ANSI and its Unicode form), or, for a
// target written with environment variables, in the environment block the
// shell expands when it opens the link.

#include <cstdint>
#include <vector>

#include "platform/ShellLinks.h"

namespace lsu::formats {

std::vector<std::uint8_t> shellLinkBytes(const ShortcutFields& fields);

}  // namespace lsu::formats
