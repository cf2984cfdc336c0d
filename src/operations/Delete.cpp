#include <algorithm>

#include "catalog/DisabledStores.h"
#include "operations/EntryLocations.h"
#include "operations/EntrySwitches.h"
#include "operations/Operations.h"

namespace lsu {

namespace {

// The row's own entry still stands there. A win.ini key holds whatever line
// was last written to it; a line other than the listed one is not the entry
// the user chose to delete.
Result<bool> rowEntryStands(const SourcePorts& ports, const StartupEntry& row, const EntryPlace& place) {
    const EntryRead content = readEntry(ports, place);
    if (!content) return content.error();
    if (!*content) return false;
    if (auto* line = std::get_if<ProfileLine>(&**content)) return line->text == row.commandLine;
    return true;
}

// Whether the row's source still lists it, though nothing stands where its
// name leads: then it is not gone, only out of reach by that name.
bool stillListed(const SourcePorts& ports, const StartupEntry& row, const EntryPlace& place) {
    if (auto* value = std::get_if<RegistryPlace>(&place)) {
        const auto values = ports.registry.readValues(value->key);
        return values && std::any_of(values->begin(), values->end(),
                                     [&](const RegistryValue& listed) { return listed.name == row.name; });
    }
    if (!sourceAs<FolderSource>(row.section)) return false;
    const auto names = ports.files.listFiles(entryFolder(ports.system, row));
    return std::find(names.begin(), names.end(), folderFileName(row)) != names.end();
}

Error stillStands(const EntryPlace& place) {
    return {ErrorKind::System, 0, describePlace(place) + " is still listed, but cannot be found by its name."};
}

// A switch belongs to the entry of its name where Windows starts it; once
// none stands there, nothing is left for it to switch.
Status removeOrphanedSwitch(const SourcePorts& ports, const StartupEntry& row) {
    const auto live = placeOfRow(ports, row, true);
    if (!live || somethingStands(readEntry(ports, *live))) return {};
    const auto switchPlace = switchPlaceOf(row.section, *live);
    return switchPlace ? removeSwitch(ports.registry, *switchPlace) : Status();
}

}  // namespace

ChangeResult deleteEntry(const SourcePorts& ports, const StartupEntry& row) {
    if (auto refused = keptRefusal(row)) return *refused;
    auto place = placeOfRow(ports, row, row.enabled);
    if (!place) return place.error();
    const Result<bool> stands = rowEntryStands(ports, row, *place);
    if (!stands) return stands.error();
    if (*stands) {
        if (Status allowed = checkChange(ports, *place); !allowed) return allowed.error();
        const Status removed = removeEntry(ports, *place);
        // A removal the system reports as failed may still have removed it,
        // and one it reports as done must have.
        const Result<bool> still = rowEntryStands(ports, row, *place);
        if (!removed && (!still || *still)) return removed.error();
        if (still && *still) return stillStands(*place);
    } else if (stillListed(ports, row, *place)) {
        return stillStands(*place);
    }
    if (const Status switchGone = removeOrphanedSwitch(ports, row); !switchGone)
        return Changed{Warning{Warning::SwitchLeftBehind, switchGone.error()}};
    return Changed{};
}

}  // namespace lsu
