#include "scanners/ServiceScanner.h"

#include <algorithm>

#include "base/CaseFolding.h"
#include "base/Text.h"
#include "base/WindowsPaths.h"
#include "catalog/DisabledStores.h"
#include "catalog/ParkedServices.h"

namespace lsu {

namespace {

// The forms of an image path the service manager reads besides a command
// line: "\SystemRoot\..." for the Windows folder, "\??\C:\..." for a path
// the kernel takes as it stands.
std::string programLine(const ServiceConfig& service) {
    if (!service.serviceDll.empty()) return service.serviceDll;
    std::string line = trimSpaces(service.imagePath);
    constexpr std::string_view kSystemRoot = "\\SystemRoot\\", kNtPrefix = "\\??\\";
    if (equalsNoCase(std::string_view(line).substr(0, kSystemRoot.size()), kSystemRoot))
        return "%SystemRoot%\\" + line.substr(kSystemRoot.size());
    if (line.starts_with(kNtPrefix)) return line.substr(kNtPrefix.size());
    return line;
}

// Windows' own: a program in the Windows folder, made by the maker of the
// system's own libraries.
bool isWindowsOwn(const std::optional<std::string>& program, const std::string& publisher, const std::string& windows,
                  const std::string& systemMaker) {
    if (!program || systemMaker.empty() || publisher != systemMaker) return false;
    return equalsNoCase(std::string_view(*program).substr(0, windows.size()), windows);
}

StartupEntry rowOf(const ServiceConfig& service, bool enabled, bool delayed, ExistenceCheck& check,
                   const std::string& windows, const std::string& systemMaker) {
    StartupEntry row;
    row.name = service.name;
    row.displayName = service.displayName;
    row.commandLine = service.imagePath;
    row.section = delayed ? SectionId::ServicesDelayed : SectionId::ServicesAutomatic;
    row.type = EntryType::Service;
    row.enabled = enabled;
    row.startType = service.startType;
    row.delayed = delayed;
    const auto program = check.resolveProgram(programLine(service));
    row.exists = program.has_value();
    if (program) row.publisher = check.publisherOf(*program);
    row.windowsOwn = isWindowsOwn(program, row.publisher, windows, systemMaker);
    return row;
}

// A record whose service is gone is listed, not dropped, so that the user
// sees it; it shows as a program that no longer exists.
void appendOrphanedRecords(Registry& registry, const std::vector<ServiceConfig>& services, EntryList& rows) {
    const auto recorded = registry.readSubkeys(parkedServicesKey());
    for (const std::string& name : recorded.value_or(std::vector<std::string>{})) {
        const bool listed = std::any_of(services.begin(), services.end(),
                                        [&](const ServiceConfig& service) { return equalsNoCase(service.name, name); });
        if (listed) continue;
        auto record = readParkedRecord(registry, name);
        StartupEntry row;
        row.name = name;
        row.section =
            record && *record && (*record)->delayed ? SectionId::ServicesDelayed : SectionId::ServicesAutomatic;
        row.type = EntryType::Service;
        row.enabled = false;
        row.startType = kServiceDisabled;
        row.delayed = row.section == SectionId::ServicesDelayed;
        rows.push_back(std::move(row));
    }
}

EntryList readServiceRows(const SourcePorts& ports, ExistenceCheck& check) {
    EntryList rows;
    auto services = ports.services.listServices();
    if (!services) return rows;
    const std::string windows = withTrailingBackslash(windowsFolder(ports.system));
    const std::string systemMaker = check.publisherOf(windows + "System32\\kernel32.dll");
    for (const ServiceConfig& service : *services) {
        if (service.startType == kServiceAutoStart) {
            rows.push_back(rowOf(service, true, service.delayed, check, windows, systemMaker));
            continue;
        }
        // A service someone else set to Disabled or Manual does not start
        // with Windows; one this program switched off has its record, which
        // is listed even when it cannot be read, so that it is never lost
        // unseen.
        if (service.startType != kServiceDisabled) continue;
        auto record = readParkedRecord(ports.registry, service.name);
        if (record && !*record) continue;
        const bool delayed = record && (*record)->delayed;
        rows.push_back(rowOf(service, false, delayed, check, windows, systemMaker));
    }
    appendOrphanedRecords(ports.registry, *services, rows);
    return rows;
}

}  // namespace

void scanServices(bool delayed, const SourcePorts& ports, ExistenceCheck& check, ServiceRows& cache, EntryList& rows) {
    if (!cache.rows) cache.rows = readServiceRows(ports, check);
    for (const StartupEntry& row : *cache.rows)
        if (row.delayed == delayed) rows.push_back(row);
}

}  // namespace lsu
