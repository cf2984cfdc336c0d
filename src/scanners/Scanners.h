#pragma once
// The eleven readers of start-up sources. Each reads its section's enabled
// place and then its disabled store and appends one row per entry.

#include <string_view>
#include <vector>

#include "catalog/CheckValid.h"
#include "catalog/StartupEntry.h"

namespace lsu {

enum class Scanner {
    LoadHKCURun,
    LoadHKCURunOnce,
    LoadHKLMRun,
    LoadHKLMRunOnce,
    LoadHKLMRunOnceEx,
    LoadHKLMRunServices,
    LoadHKLMRunServicesOnce,
    LoadWinIniLoad,
    LoadWinIniRun,
    LoadStartupAllUsers,
    LoadStartupCurrentUser,
};

struct ScanContext {
    Platform& platform;
    EntryList& list;
    ExistenceCheck& check;
};

void runScanner(Scanner scanner, ScanContext& context);

// The leaf section a scanner reads.
std::string_view scannerSection(Scanner scanner);

// The scanners of a section, in the order they run; empty for unknown keys.
const std::vector<Scanner>& scannersOf(std::string_view sectionKey);

// The name a win.ini line is listed under: the part behind its last
// backslash, up to the first dot of that part.
std::string winIniEntryName(std::string_view line);

}  // namespace lsu
