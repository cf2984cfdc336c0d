#pragma once
// Shortcut files (.lnk), read and written whole.

#include <optional>
#include <string>

#include "base/Result.h"

namespace lsu {

struct ShortcutFields {
    std::string targetPath;
    std::string arguments;
    std::string description;
    int hotKey = 0;
    int showCmd = 1;  // the window the link opens, numbered as the link format numbers it
    std::string workDir;
    std::string iconFile;
    int iconIndex = 0;
    bool operator==(const ShortcutFields&) const = default;
};

struct ShortcutInfo {
    ShortcutFields fields;
    std::string displayName;  // the name the shell shows for the file
};

class ShellLinks {
public:
    virtual ~ShellLinks() = default;
    // nullopt when the file is not a readable link.
    virtual std::optional<ShortcutInfo> readShortcut(const std::string& linkFile) = 0;
    // Writes a link holding these fields, read back before it counts as
    // written; a file standing at linkFile is replaced only when replace is
    // set. A failure leaves what stood there as it was.
    virtual Status writeShortcut(const std::string& linkFile, const ShortcutFields& fields, bool replace) = 0;
};

}  // namespace lsu
