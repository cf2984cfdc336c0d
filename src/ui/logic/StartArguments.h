#pragma once
// What the window takes from its command line: the key of the section to
// show first, as a restart as administrator passes it. Anything else is
// ignored and the window opens as usual.

#include <optional>
#include <string>
#include <vector>

#include "catalog/Sections.h"

namespace lsu {

// The arguments without the program's own path.
std::optional<SectionId> sectionToShowFirst(const std::vector<std::string>& args);

}  // namespace lsu
