#include "scanners/SectionLoading.h"

#include <iterator>
#include <utility>

#include "scanners/Scanners.h"

namespace lsu {

SectionLoad loadSectionByLeaf(const ScanPorts& ports, SectionId id, const RowsRead& onRows) {
    const Section& shown = section(id);
    SectionLoad load{std::string(shown.key), std::string(shown.description), {}, 0};
    ExistenceCheck check(ports.files, ports.system, ports.versions);
    ScanContext context{ports, load.rows, check};
    for (SectionId leaf : leavesOf(id)) {
        scanLeaf(leaf, context);
        tickEnabledRows(load.rows);
        if (!load.rows.empty()) onRows(std::exchange(load.rows, {}));
    }
    load.probes = check.probeCount();
    load.publisherReads = check.publisherReads();
    return load;
}

SectionLoad loadSection(const ScanPorts& ports, SectionId id) {
    EntryList rows;
    SectionLoad load = loadSectionByLeaf(ports, id, [&](EntryList read) {
        if (rows.empty()) rows = std::move(read);
        else rows.insert(rows.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
    });
    load.rows = std::move(rows);
    return load;
}

void tickEnabledRows(EntryList& rows) {
    for (auto& row : rows)
        if (startsWithWindows(row)) row.checked = true;
}

}  // namespace lsu
