#pragma once
// The readers of start-up sources: one procedure for each kind of source.
// Each reads its leaf's enabled place and then its disabled store and
// appends one row per entry.

#include <string>
#include <string_view>

#include "catalog/ExistenceCheck.h"
#include "catalog/StartupEntry.h"
#include "platform/Ports.h"
#include "scanners/ServiceScanner.h"

namespace lsu {

struct ScanContext {
    const SourcePorts& ports;
    EntryList& rows;
    ExistenceCheck& check;
    ServiceRows services = {};
};

void scanLeaf(SectionId leaf, ScanContext& context);

// The name a win.ini line is listed under: the part behind its last
// backslash, up to the first dot of that part.
std::string winIniEntryName(std::string_view line);

}  // namespace lsu
