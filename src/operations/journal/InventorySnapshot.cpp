#include "operations/journal/InventorySnapshot.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "base/CaseFolding.h"
#include "base/WindowsPaths.h"
#include "operations/journal/ChangeJournal.h"

namespace lsu {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kFormat = "lstartup-snapshot-1";

std::string viewText(const StartupEntry& row) {
    if (row.view == RegistryView::Bits32) return "32";
    return row.view == RegistryView::Bits64 ? "64" : "";
}

bool sameIdentity(const SnapshotEntry& a, const SnapshotEntry& b) {
    return a.section == b.section && a.view == b.view && equalsNoCase(a.name, b.name);
}

SnapshotEntry entryOf(const StartupEntry& row) {
    return {std::string(section(row.section).key), viewText(row), row.name, row.commandLine, startsWithWindows(row)};
}

const SnapshotEntry* find(const InventorySnapshot& snapshot, const SnapshotEntry& entry) {
    const auto found = std::find_if(snapshot.begin(), snapshot.end(),
                                    [&](const SnapshotEntry& other) { return sameIdentity(other, entry); });
    return found == snapshot.end() ? nullptr : &*found;
}

std::optional<std::string> stringField(const Json& object, const char* name) {
    if (!object.contains(name) || !object[name].is_string()) return std::nullopt;
    return object[name].get<std::string>();
}

}  // namespace

InventorySnapshot snapshotOf(const EntryList& rows) {
    InventorySnapshot snapshot;
    for (const StartupEntry& row : rows) {
        const SnapshotEntry entry = entryOf(row);
        const auto kept = std::find_if(snapshot.begin(), snapshot.end(),
                                       [&](const SnapshotEntry& other) { return sameIdentity(other, entry); });
        if (kept == snapshot.end()) snapshot.push_back(entry);
        else if (entry.starts) *kept = entry;
    }
    return snapshot;
}

std::string snapshotText(const InventorySnapshot& snapshot) {
    Json entries = Json::array();
    for (const SnapshotEntry& entry : snapshot)
        entries.push_back({{"section", entry.section},
                           {"view", entry.view},
                           {"name", entry.name},
                           {"commandLine", entry.commandLine},
                           {"starts", entry.starts}});
    return Json{{"format", kFormat}, {"entries", entries}}.dump(1, '\t', false, Json::error_handler_t::replace) + "\n";
}

std::optional<InventorySnapshot> readSnapshotText(std::string_view text) {
    const Json json = Json::parse(text.begin(), text.end(), nullptr, false);
    if (!json.is_object() || stringField(json, "format") != kFormat || !json.contains("entries") ||
        !json["entries"].is_array())
        return std::nullopt;
    InventorySnapshot snapshot;
    for (const Json& item : json["entries"]) {
        if (!item.is_object() || !item.contains("starts") || !item["starts"].is_boolean()) return std::nullopt;
        auto sectionKey = stringField(item, "section");
        auto view = stringField(item, "view");
        auto name = stringField(item, "name");
        auto commandLine = stringField(item, "commandLine");
        if (!sectionKey || !view || !name || !commandLine) return std::nullopt;
        snapshot.push_back({*sectionKey, *view, *name, *commandLine, item["starts"].get<bool>()});
    }
    return snapshot;
}

std::string_view differenceName(Difference kind) {
    switch (kind) {
        case Difference::Added: return "added";
        case Difference::Removed: return "removed";
        case Difference::Changed: return "changed";
        case Difference::Switched: break;
    }
    return "switched";
}

std::vector<SnapshotDifference> differencesBetween(const InventorySnapshot& earlier, const InventorySnapshot& later) {
    std::vector<SnapshotDifference> found;
    for (const SnapshotEntry& entry : later) {
        const SnapshotEntry* before = find(earlier, entry);
        if (!before) {
            found.push_back({Difference::Added, entry, {}});
            continue;
        }
        if (before->commandLine != entry.commandLine)
            found.push_back({Difference::Changed, entry, before->commandLine});
        if (before->starts != entry.starts) found.push_back({Difference::Switched, entry, {}});
    }
    for (const SnapshotEntry& entry : earlier)
        if (!find(later, entry)) found.push_back({Difference::Removed, entry, {}});
    return found;
}

void markSinceSnapshot(EntryList& rows, const InventorySnapshot& snapshot) {
    for (StartupEntry& row : rows) {
        const SnapshotEntry* before = find(snapshot, entryOf(row));
        row.sinceLastLook = !before                                  ? SinceLastLook::New
                            : before->commandLine == row.commandLine ? SinceLastLook::Seen
                                                                     : SinceLastLook::Changed;
    }
}

namespace {

constexpr std::string_view kLastLookName = "last-look.json";

}  // namespace

std::optional<InventorySnapshot> readLastLook(FileSystem& files, SystemFacts& system) {
    const std::string path = userDataPath(system, kLastLookName);
    auto bytes = path.empty() ? Result<Bytes>(Error{}) : files.readFile(path);
    if (!bytes) return std::nullopt;
    return readSnapshotText(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

Status keepLastLook(FileSystem& files, SystemFacts& system, const InventorySnapshot& snapshot) {
    const std::string path = userDataPath(system, kLastLookName);
    if (path.empty()) return Error{ErrorKind::NotFound, 0, "The system names no local application data folder."};
    if (Status made = files.ensureFolder(parentFolderOf(path)); !made) return made;
    const std::string text = snapshotText(snapshot);
    return files.writeFile(path, Bytes(text.begin(), text.end()));
}

}  // namespace lsu
