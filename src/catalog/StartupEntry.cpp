#include "catalog/StartupEntry.h"

#include "base/WindowsPaths.h"

namespace lsu {

const Source& sourceOf(const StartupEntry& entry) { return *section(entry.section).source; }

std::string folderFileName(const StartupEntry& entry) {
    if (!entry.fileName.empty()) return entry.fileName;
    return entry.type == EntryType::Shortcut ? entry.name + ".lnk" : entry.name;
}

bool hasUnsafeFileName(const StartupEntry& entry) {
    return std::holds_alternative<FolderSource>(sourceOf(entry)) && fileNameFault(folderFileName(entry)).has_value();
}

bool startsWithWindows(const StartupEntry& entry) { return entry.enabled && !entry.switchedOff; }

bool isReadOnly(const StartupEntry& entry) { return section(entry.section).readOnly || entry.lock != EntryLock::None; }

const std::vector<ColumnDefinition>& entryColumns() {
    static const std::vector<ColumnDefinition> columns = {
        {Column::Name, "Name"},           {Column::CommandLine, "Command Line"},
        {Column::Exists, "Exists"},       {Column::Section, "Section"},
        {Column::Status, "Status"},       {Column::Type, "type"},
        {Column::Publisher, "Publisher"}, {Column::State, "State"},
    };
    return columns;
}

namespace {

std::string_view typeText(EntryType type) {
    switch (type) {
        case EntryType::RegistryValue: return "Reg";
        case EntryType::Shortcut: return "Lnk";
        case EntryType::Service: return "Svc";
        case EntryType::AppTask: return "App";
        case EntryType::ScheduledTask: return "Task";
        case EntryType::File: break;
    }
    return "File";
}

bool setByPolicy(const StartupEntry& entry) {
    return section(entry.section).readOnly || entry.lock == EntryLock::SetByPolicy;
}

// A service is shown by the name people read, with its own name beside it.
std::string serviceCaption(const StartupEntry& entry) {
    if (entry.displayName.empty() || entry.displayName == entry.name) return entry.name;
    return entry.displayName + " (" + entry.name + ")";
}

std::string_view stateText(const StartupEntry& entry) {
    if (setByPolicy(entry)) return "Set by policy";
    if (!entry.enabled) return "Disabled";
    return entry.switchedOff ? "Off in Windows settings" : "Enabled";
}

}  // namespace

void removeWindowsServices(EntryList& rows) {
    std::erase_if(rows, [](const StartupEntry& row) { return row.type == EntryType::Service && row.windowsOwn; });
}

std::string cellText(const StartupEntry& entry, Column column) {
    switch (column) {
        case Column::Name: return entry.type == EntryType::Service ? serviceCaption(entry) : entry.name;
        case Column::CommandLine: return entry.commandLine;
        case Column::Exists: return entry.exists ? "Yes" : "No";
        case Column::Section: return std::string(section(entry.section).key);
        case Column::Status: return entry.enabled ? "Enabled" : "Disabled";
        case Column::Type: return std::string(typeText(entry.type));
        case Column::Publisher: return entry.publisher;
        case Column::State: break;
    }
    std::string state(stateText(entry));
    if (entry.sinceLastLook == SinceLastLook::New) state += ", New";
    if (entry.sinceLastLook == SinceLastLook::Changed) state += ", Changed";
    return state;
}

const char* stateReason(const StartupEntry& entry) {
    if (setByPolicy(entry)) return kSetByPolicyReason;
    if (entry.lock == EntryLock::NotSwitchedHere) return kNotSwitchedHereReason;
    if (hasUnsafeFileName(entry))
        return "The file's name is not one Windows can give a file, so Windows would take it for another's: it is "
               "shown, but not changed here. Rename or remove it by hand.";
    if (entry.hasTwin && entry.enabled)
        return "A move of this entry was cut short: it also stands, the same, among the disabled entries. Clear its "
               "box to finish disabling it, or tick the disabled one to finish enabling it.";
    if (entry.hasTwin)
        return "A move of this entry was cut short: it also stands, the same, where Windows starts it. Tick its box "
               "to finish enabling it, or clear the enabled one to finish disabling it.";
    if (entry.enabled && entry.switchedOff)
        return "Windows' startup settings turn this entry off: it stays where it is and does not start. Tick it "
               "to turn it on.";
    return nullptr;
}

const char* whyKept(const StartupEntry& entry) {
    if (isReadOnly(entry)) return stateReason(entry);
    return section(entry.section).keptBy;
}

std::optional<Error> readOnlyRefusal(const StartupEntry& entry) {
    if (!isReadOnly(entry)) return std::nullopt;
    return Error{setByPolicy(entry) ? ErrorKind::RefusedByPolicy : ErrorKind::NotOffered, 0, stateReason(entry)};
}

std::optional<Error> keptRefusal(const StartupEntry& entry) {
    if (auto refused = readOnlyRefusal(entry)) return refused;
    if (const char* why = whyKept(entry)) return Error{ErrorKind::NotOffered, 0, why};
    return std::nullopt;
}

}  // namespace lsu
