#include "catalog/StartupEntry.h"

namespace lsu {

const Source& sourceOf(const StartupEntry& entry) { return *section(entry.section).source; }

const std::vector<ColumnDefinition>& entryColumns() {
    static const std::vector<ColumnDefinition> columns = {
        {Column::Name, "Name", 2000},     {Column::CommandLine, "Command Line", 4000}, {Column::Exists, "Exists", 600},
        {Column::Section, "Section", 2500}, {Column::Status, "Status", 0},             {Column::Type, "type", 0},
    };
    return columns;
}

namespace {

std::string_view typeText(EntryType type) {
    switch (type) {
        case EntryType::RegistryValue: return "Reg";
        case EntryType::Shortcut: return "Lnk";
        case EntryType::File: break;
    }
    return "File";
}

}  // namespace

std::string cellText(const StartupEntry& entry, Column column) {
    switch (column) {
        case Column::Name: return entry.name;
        case Column::CommandLine: return entry.commandLine;
        case Column::Exists: return entry.exists ? "Yes" : "No";
        case Column::Section: return std::string(section(entry.section).key);
        case Column::Status: return entry.enabled ? "Enabled" : "Disabled";
        case Column::Type: break;
    }
    return std::string(typeText(entry.type));
}

}  // namespace lsu
