#include "scanners/SectionLoading.h"

#include "catalog/Sections.h"
#include "scanners/Scanners.h"

namespace lsu {

SectionLoad loadPrograms(Platform& platform, std::string_view sectionKey) {
    SectionLoad load;
    load.folderName = std::string(sectionKey);
    if (const Section* section = findSection(sectionKey)) load.description = std::string(section->description);
    ExistenceCheck check(platform);
    ScanContext context{platform, load.rows, check};
    for (Scanner scanner : scannersOf(sectionKey)) runScanner(scanner, context);
    tickEnabledRows(load.rows);
    load.probes = check.probeCount();
    return load;
}

void tickEnabledRows(EntryList& rows) {
    for (auto& row : rows)
        if (row.Status == kStatusEnabled) row.Checked = true;
}

}  // namespace lsu
