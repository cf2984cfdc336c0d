#pragma once
// The readers of start-up sources: one procedure for each kind of source.
// Each reads its leaf's enabled place and then its disabled store and
// appends one row per entry.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/ExistenceCheck.h"
#include "catalog/StartupEntry.h"
#include "platform/Ports.h"
#include "platform/formats/TaskDefinition.h"
#include "scanners/ServiceScanner.h"

namespace lsu {

// A registered task that starts a program by itself, as its definition says.
struct StartingTask {
    std::string path;
    bool enabled = true;
    formats::TaskLaunch launch;
};

struct ScanContext {
    const SourcePorts& ports;
    EntryList& rows;
    ExistenceCheck& check;
    // The service manager and the scheduler are each asked once for every
    // leaf of one load.
    ServiceRows services = {};
    std::optional<std::vector<StartingTask>> startingTasks = std::nullopt;
};

void scanLeaf(SectionId leaf, ScanContext& context);

// Appends a row of the leaf, with whether the program it starts is found
// and who made it: the program given, or else the one its command line names.
StartupEntry& appendEntry(ScanContext& context, std::string name, std::string commandLine, SectionId leaf, bool enabled,
                          EntryType type, const std::optional<std::string>& program);
StartupEntry& appendEntry(ScanContext& context, std::string name, std::string commandLine, SectionId leaf, bool enabled,
                          EntryType type);

// The readers of the sources whose entries others keep.
void scanPackagedApps(SectionId leaf, const PackagedAppSource& source, ScanContext& context);
void scanScheduledTasks(SectionId leaf, const ScheduledTaskSource& source, ScanContext& context);

// The name a win.ini line is listed under: the part behind its last
// backslash, up to the first dot of that part.
std::string winIniEntryName(std::string_view line);

}  // namespace lsu
