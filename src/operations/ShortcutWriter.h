#pragma once
// New shortcut files for the entry dialog's Add.

#include <string>

#include "operations/UserPrompts.h"
#include "platform/Ports.h"

namespace lsu {

// Gives linkFile its ".lnk", asks before an existing file is replaced (No:
// declined by the user, the old file untouched), and writes the link.
Status createShortcut(const SourcePorts& ports, UserPrompts& prompts, std::string& linkFile,
                      const ShortcutFields& fields);

}  // namespace lsu
