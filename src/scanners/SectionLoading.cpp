#include "scanners/SectionLoading.h"

#include <iterator>
#include <utility>

#include "scanners/Scanners.h"

namespace lsu {

void loadSectionInBatches(const ScanPorts& ports, SectionId id, const std::function<bool(EntryList)>& deliver) {
    ExistenceCheck check(ports.files, ports.system, ports.versions);
    EntryList rows;
    ScanContext context{ports, rows, check};
    for (SectionId leaf : leavesOf(id)) {
        scanLeaf(leaf, context);
        tickEnabledRows(rows);
        if (!deliver(std::exchange(rows, {}))) break;
    }
}

SectionLoad loadSection(const ScanPorts& ports, SectionId id) {
    SectionLoad load;
    loadSectionInBatches(ports, id, [&](EntryList batch) {
        load.rows.insert(load.rows.end(), std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
        return true;
    });
    return load;
}

void tickEnabledRows(EntryList& rows) {
    for (auto& row : rows)
        if (startsWithWindows(row)) row.checked = true;
}

}  // namespace lsu
