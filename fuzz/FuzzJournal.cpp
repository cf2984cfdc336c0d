// Reads any bytes as the journal of changes and as a snapshot: what reads is
// whole (every end holds a state for each place touched), and what is read
// writes back to lines that read the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "operations/journal/InventorySnapshot.h"
#include "operations/journal/JournalRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const lsu::JournalChange& change : lsu::readJournalText(text)) {
        if (change.end && change.end->after.size() != change.places.size()) std::abort();
        std::string lines = lsu::beginLine(change.header);
        for (const lsu::TouchedBefore& touched : change.places) lines += lsu::placeLine(change.header.id, touched);
        const auto again = lsu::readJournalText(lines);
        if (again.size() != 1 || again[0].places.size() != change.places.size()) std::abort();
    }
    if (auto snapshot = lsu::readSnapshotText(text)) (void)lsu::differencesBetween(*snapshot, *snapshot);
    return 0;
}
