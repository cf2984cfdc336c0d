#include "catalog/StartupEntry.h"

#include "catalog/CheckValid.h"

namespace lsu {

const std::vector<ColumnDefinition>& entryColumns() {
    static const std::vector<ColumnDefinition> columns = {
        {"Name", 2000}, {"Command Line", 4000}, {"Exists", 600}, {"Section", 2500}, {"Status", 0}, {"type", 0},
    };
    return columns;
}

const std::string& cellText(const StartupEntry& entry, int column) {
    switch (column) {
        case 0: return entry.Name;
        case 1: return entry.CommandLine;
        case 2: return entry.Exists;
        case 3: return entry.Section;
        case 4: return entry.Status;
        default: return entry.Type;
    }
}

StartupEntry& AddtoList(EntryList& list, std::string sName, std::string Scmdline, std::string_view sSection,
                        bool bEnabled, std::string_view sType, ExistenceCheck& check) {
    const bool exists = check.CheckValid(Scmdline);
    return appendRow(list, std::move(sName), std::move(Scmdline), sSection, bEnabled, sType, exists);
}

StartupEntry& appendRow(EntryList& list, std::string sName, std::string Scmdline, std::string_view sSection,
                        bool bEnabled, std::string_view sType, bool exists) {
    StartupEntry& entry = list.emplace_back();
    entry.Name = std::move(sName);
    entry.CommandLine = std::move(Scmdline);
    entry.Exists = exists ? "Yes" : "No";
    entry.Section = std::string(sSection);
    entry.Status = std::string(bEnabled ? kStatusEnabled : kStatusDisabled);
    entry.Type = std::string(sType);
    return entry;
}

}  // namespace lsu
