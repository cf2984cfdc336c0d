#include "operations/EntryLocations.h"
#include "operations/EntrySwitches.h"
#include "operations/EntryTransfer.h"
#include "operations/KeptEntrySwitches.h"
#include "operations/Operations.h"
#include "operations/ServiceSwitch.h"

namespace lsu {

namespace {

Status moveRow(const SourcePorts& ports, UserPrompts& prompts, const StartupEntry& row, bool enabling) {
    auto source = placeOfRow(ports, row, !enabling);
    if (!source) return source.error();
    auto target = placeOfRow(ports, row, enabling);
    if (!target) return target.error();
    // What moves is what stands at the source now, exactly as stored.
    const EntryRead content = readEntry(ports, *source);
    if (!content) return content.error();
    if (!*content) return Error{ErrorKind::NotFound, 0, {}};
    return transferEntry(ports, prompts, *source, *target, **content);
}

// An entry where Windows starts it also needs its own switch on to start.
Status turnSwitchOnWhereStarted(const SourcePorts& ports, const StartupEntry& row) {
    const auto live = placeOfRow(ports, row, true);
    if (!live) return live.error();
    const auto switchPlace = switchPlaceOf(row.section, *live);
    return switchPlace ? turnSwitchOn(ports.registry, *switchPlace) : Status();
}

// Records how the entry now stands; its box shows whether Windows starts it.
void settle(StartupEntry& row, bool enabled, bool switchedOff) {
    row.enabled = enabled;
    row.switchedOff = switchedOff;
    row.checked = startsWithWindows(row);
}

}  // namespace

ChangeResult applyCheckState(const SourcePorts& ports, UserPrompts& prompts, StartupEntry& row) {
    const bool enabling = row.checked;
    if (enabling == startsWithWindows(row)) return Changed{};
    if (auto refused = readOnlyRefusal(row)) {
        settle(row, row.enabled, row.switchedOff);
        return *refused;
    }
    if (row.type == EntryType::Service) {
        ChangeResult switched = switchService(ports, prompts, row, enabling);
        if (switched) row.startType = enabling ? kServiceAutoStart : kServiceDisabled;
        settle(row, switched ? enabling : row.enabled, false);
        return switched;
    }
    if (section(row.section).keptBy) return switchKeptEntry(ports, row, enabling);
    const bool movesBack = enabling && !row.enabled;
    if (!enabling || movesBack) {
        if (const Status moved = moveRow(ports, prompts, row, enabling); !moved) {
            settle(row, row.enabled, row.switchedOff);
            return moved.error();
        }
        // Parking leaves Windows' switch alone: it is the user's choice there.
        if (!enabling) {
            settle(row, false, row.switchedOff);
            return Changed{};
        }
    }
    const Status on = turnSwitchOnWhereStarted(ports, row);
    settle(row, true, !on);
    if (on) return Changed{};
    // Moved back, the entry stands where Windows starts it all the same.
    if (movesBack) return Changed{Warning{Warning::SwitchStaysOff, on.error()}};
    return on.error();
}

}  // namespace lsu
