#pragma once
// What Windows starts at one moment: each entry's identity (section, view,
// name) and what it starts, and whether Windows starts it. Two such moments
// compared tell what was added, removed, changed or switched in between; the
// window keeps the last one it showed, so that it marks what appeared since.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/StartupEntry.h"
#include "platform/FileSystem.h"
#include "platform/SystemFacts.h"

namespace lsu {

struct SnapshotEntry {
    std::string section;  // the leaf's key
    std::string view;     // "32" or "64" for a machine key's value; empty otherwise
    std::string name;
    std::string commandLine;
    bool starts = false;  // Windows starts it
    bool operator==(const SnapshotEntry&) const = default;
};

using InventorySnapshot = std::vector<SnapshotEntry>;

// One entry per identity: of two rows a move cut short left, the one where
// Windows starts it.
InventorySnapshot snapshotOf(const EntryList& rows);

// A JSON document; nullopt for text that is not one this program wrote.
std::string snapshotText(const InventorySnapshot& snapshot);
std::optional<InventorySnapshot> readSnapshotText(std::string_view text);

enum class Difference { Added, Removed, Changed, Switched };
std::string_view differenceName(Difference kind);  // "added", ...

struct SnapshotDifference {
    Difference kind = Difference::Added;
    SnapshotEntry entry;   // as it stands in the later snapshot (the earlier one's for a removal)
    std::string previous;  // the command line before, for a change
};

// What the later snapshot holds that the earlier did not, in the later one's
// order, then what it lost. An entry whose command line changed and that was
// switched is listed as both.
std::vector<SnapshotDifference> differencesBetween(const InventorySnapshot& earlier, const InventorySnapshot& later);

// Marks each row as it stands since the snapshot was taken: added since, or
// its command line changed; an entry only switched on or off is no news.
void markSinceSnapshot(EntryList& rows, const InventorySnapshot& snapshot);

// The inventory the window showed when it last closed, kept per user beside
// the journal; nullopt when there is none that can be read.
std::optional<InventorySnapshot> readLastLook(FileSystem& files, SystemFacts& system);
Status keepLastLook(FileSystem& files, SystemFacts& system, const InventorySnapshot& snapshot);

}  // namespace lsu
