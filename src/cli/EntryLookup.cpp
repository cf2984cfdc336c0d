#include "cli/EntryLookup.h"

#include "base/CaseFolding.h"

namespace lsu::cli {

std::vector<const StartupEntry*> entriesNamed(const EntryList& rows, std::string_view name) {
    std::vector<const StartupEntry*> found;
    for (const StartupEntry& row : rows)
        if (equalsNoCase(row.name, name)) found.push_back(&row);
    if (!found.empty()) return found;
    // A service may be named as people read it, when that names one service.
    for (const StartupEntry& row : rows)
        if (row.type == EntryType::Service && equalsNoCase(row.displayName, name)) found.push_back(&row);
    return found;
}

}  // namespace lsu::cli
