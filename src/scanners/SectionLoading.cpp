#include "scanners/SectionLoading.h"

#include <iterator>
#include <utility>

#include "scanners/Scanners.h"

namespace lsu {

SectionLoad loadSectionInBatches(const ScanPorts& ports, SectionId id, const std::function<bool(EntryList)>& deliver) {
    const Section& shown = section(id);
    SectionLoad load{std::string(shown.key), std::string(shown.description), {}, 0};
    ExistenceCheck check(ports.files, ports.system, ports.versions);
    EntryList rows;
    ScanContext context{ports, rows, check};
    for (SectionId leaf : leavesOf(id)) {
        scanLeaf(leaf, context);
        tickEnabledRows(rows);
        if (!deliver(std::exchange(rows, {}))) break;
    }
    load.probes = check.probeCount();
    load.publisherReads = check.publisherReads();
    return load;
}

SectionLoad loadSection(const ScanPorts& ports, SectionId id) {
    EntryList rows;
    SectionLoad load = loadSectionInBatches(ports, id, [&](EntryList batch) {
        rows.insert(rows.end(), std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
        return true;
    });
    load.rows = std::move(rows);
    return load;
}

void tickEnabledRows(EntryList& rows) {
    for (auto& row : rows)
        if (startsWithWindows(row)) row.checked = true;
}

}  // namespace lsu
