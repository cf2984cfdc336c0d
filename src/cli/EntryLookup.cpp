#include "cli/EntryLookup.h"

#include "catalog/Text.h"

namespace lsu::cli {

const Section* findSectionNoCase(std::string_view key) {
    for (const Section& section : sectionCatalog())
        if (equalsNoCase(section.key, key)) return &section;
    return nullptr;
}

std::vector<const StartupEntry*> entriesNamed(const EntryList& rows, std::string_view name) {
    std::vector<const StartupEntry*> found;
    for (const StartupEntry& row : rows)
        if (equalsNoCase(row.Name, name)) found.push_back(&row);
    return found;
}

}  // namespace lsu::cli
