#include "catalog/DisabledStores.h"
#include "operations/EntryLocations.h"
#include "operations/EntrySwitches.h"
#include "operations/EntryTransfer.h"
#include "operations/Operations.h"

namespace lsu {

namespace {

// A place the system names no folder for, or an entry no longer there.
Error nowhere(ErrorKind kind) { return {kind, 0, {}}; }

Status moveRow(Platform& platform, UserPrompts& prompts, const StartupEntry& row, bool enabling) {
    auto source = placeOfRow(platform, row, !enabling);
    auto target = placeOfRow(platform, row, enabling);
    if (!source || !target) return nowhere(ErrorKind::System);
    // What moves is what stands at the source now, exactly as stored.
    auto content = readEntry(platform, *source);
    if (!content) return nowhere(ErrorKind::NotFound);
    // A parked file needs the program's folders for parked items.
    if (!enabling && std::holds_alternative<FilePlace>(*target))
        if (Status folders = ensureDisabledItemsFolders(platform); !folders) return folders;
    return transferEntry(platform, prompts, *source, *target, *content);
}

// An entry where Windows starts it also needs its own switch on to start.
Status turnSwitchOnWhereStarted(Platform& platform, const StartupEntry& row) {
    const auto live = placeOfRow(platform, row, true);
    const auto switchPlace = live ? switchPlaceOf(row.section, *live) : std::nullopt;
    return switchPlace ? turnSwitchOn(platform, *switchPlace) : Status();
}

// Records how the entry now stands; its box shows whether Windows starts it.
void settle(StartupEntry& row, bool enabled, bool switchedOff) {
    row.enabled = enabled;
    row.switchedOff = switchedOff;
    row.checked = startsWithWindows(row);
}

}  // namespace

ChangeResult applyCheckState(Platform& platform, UserPrompts& prompts, StartupEntry& row) {
    const bool enabling = row.checked;
    if (enabling == startsWithWindows(row)) return Changed{};
    if (isReadOnly(row)) {
        settle(row, row.enabled, row.switchedOff);
        return Error{ErrorKind::RefusedByPolicy, 0, kSetByPolicyReason};
    }
    const bool movesBack = enabling && !row.enabled;
    if (!enabling || movesBack) {
        if (const Status moved = moveRow(platform, prompts, row, enabling); !moved) {
            settle(row, row.enabled, row.switchedOff);
            return moved.error();
        }
        // Parking leaves Windows' switch alone: it is the user's choice there.
        if (!enabling) {
            settle(row, false, row.switchedOff);
            return Changed{};
        }
    }
    const Status on = turnSwitchOnWhereStarted(platform, row);
    settle(row, true, !on);
    if (on) return Changed{};
    // Moved back, the entry stands where Windows starts it all the same.
    if (movesBack) return Changed{Warning{Warning::SwitchStaysOff, on.error()}};
    return on.error();
}

}  // namespace lsu
