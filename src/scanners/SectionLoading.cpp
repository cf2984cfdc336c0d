#include "scanners/SectionLoading.h"

#include "scanners/Scanners.h"

namespace lsu {

SectionLoad loadSection(const ScanPorts& ports, SectionId id) {
    SectionLoad load;
    ExistenceCheck check(ports.files, ports.system, ports.versions);
    ScanContext context{ports, load.rows, check};
    for (SectionId leaf : leavesOf(id)) scanLeaf(leaf, context);
    tickEnabledRows(load.rows);
    return load;
}

void tickEnabledRows(EntryList& rows) {
    for (auto& row : rows)
        if (startsWithWindows(row)) row.checked = true;
}

}  // namespace lsu
