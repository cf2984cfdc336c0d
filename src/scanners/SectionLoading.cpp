#include "scanners/SectionLoading.h"

#include <iterator>
#include <utility>

#include "scanners/Scanners.h"

namespace lsu {

void loadSectionByLeaf(const ScanPorts& ports, SectionId id, const RowsRead& onRows) {
    EntryList rows;
    ExistenceCheck check(ports.files, ports.system, ports.versions);
    ScanContext context{ports, rows, check};
    for (SectionId leaf : leavesOf(id)) {
        scanLeaf(leaf, context);
        tickEnabledRows(rows);
        if (!rows.empty()) onRows(std::exchange(rows, {}));
    }
}

SectionLoad loadSection(const ScanPorts& ports, SectionId id) {
    SectionLoad load;
    loadSectionByLeaf(ports, id, [&](EntryList read) {
        if (load.rows.empty()) load.rows = std::move(read);
        else load.rows.insert(load.rows.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
    });
    return load;
}

void tickEnabledRows(EntryList& rows) {
    for (auto& row : rows)
        if (startsWithWindows(row)) row.checked = true;
}

}  // namespace lsu
