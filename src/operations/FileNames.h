#pragma once
// Names from the entry dialog that become file names in a Startup folder.

#include <optional>
#include <string>
#include <string_view>

namespace lsu {

// Why the name cannot be a file name, or nullopt when it can. A valid name
// never leaves the folder it is written into.
std::optional<std::string> fileNameProblem(std::string_view name);

// Appends ".lnk" unless the path already ends in ".lnk" (any case).
std::string withLinkExtension(std::string_view path);

}  // namespace lsu
