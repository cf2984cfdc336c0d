#include "scanners/SectionLoading.h"

#include "scanners/Scanners.h"

namespace lsu {

SectionLoad loadSection(const ScanPorts& ports, SectionId id) {
    const Section& shown = section(id);
    SectionLoad load{std::string(shown.key), std::string(shown.description), {}, 0};
    ExistenceCheck check(ports.files, ports.system, ports.versions);
    ScanContext context{ports, load.rows, check};
    for (SectionId leaf : leavesOf(id)) scanLeaf(leaf, context);
    tickEnabledRows(load.rows);
    load.probes = check.probeCount();
    load.publisherReads = check.publisherReads();
    return load;
}

void tickEnabledRows(EntryList& rows) {
    for (auto& row : rows)
        if (startsWithWindows(row)) row.checked = true;
}

}  // namespace lsu
