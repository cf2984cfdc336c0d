#include "operations/EntryLocations.h"
#include "operations/EntrySwitches.h"
#include "operations/Operations.h"
#include "operations/ServiceSwitch.h"

namespace lsu {

namespace {

// The row's own entry still stands there. A win.ini key holds whatever line
// was last written to it; a line other than the listed one is not the entry
// the user chose to delete.
bool rowEntryStands(const SourcePorts& ports, const StartupEntry& row, const EntryPlace& place) {
    auto content = readEntry(ports, place);
    if (!content) return false;
    if (auto* line = std::get_if<ProfileLine>(&*content)) return line->text == row.commandLine;
    return true;
}

// A switch belongs to the entry of its name where Windows starts it; once
// none stands there, nothing is left for it to switch.
Status removeOrphanedSwitch(const SourcePorts& ports, const StartupEntry& row) {
    const auto live = placeOfRow(ports.system, row, true);
    if (!live || readEntry(ports, *live)) return {};
    const auto switchPlace = switchPlaceOf(row.section, *live);
    return switchPlace ? removeSwitch(ports.registry, *switchPlace) : Status();
}

}  // namespace

ChangeResult deleteEntry(const SourcePorts& ports, const StartupEntry& row) {
    if (isReadOnly(row)) return Error{ErrorKind::RefusedByPolicy, 0, kSetByPolicyReason};
    if (row.type == EntryType::Service) return Error{ErrorKind::NotOffered, 0, kServiceNotDeletedReason};
    auto place = placeOfRow(ports.system, row, row.enabled);
    if (!place) return Error{ErrorKind::System, 0, {}};
    if (rowEntryStands(ports, row, *place)) {
        const Status removed = removeEntry(ports, *place);
        if (!removed && rowEntryStands(ports, row, *place)) return removed.error();
    }
    if (const Status switchGone = removeOrphanedSwitch(ports, row); !switchGone)
        return Changed{Warning{Warning::SwitchLeftBehind, switchGone.error()}};
    return Changed{};
}

}  // namespace lsu
