#include "operations/EntryLocations.h"
#include "operations/EntrySwitches.h"
#include "operations/Messages.h"
#include "operations/Operations.h"

namespace lsu {

namespace {

// The row's own entry still stands there. A win.ini key holds whatever line
// was last written to it; a line other than the listed one is not the entry
// the user chose to delete.
bool rowEntryStands(Platform& platform, const StartupEntry& row, const EntryPlace& place) {
    auto content = readEntry(platform, place);
    if (!content) return false;
    if (auto* line = std::get_if<ProfileLine>(&*content)) return line->text == row.commandLine;
    return true;
}

// A switch belongs to the entry of its name where Windows starts it; once
// none stands there, nothing is left for it to switch.
void removeOrphanedSwitch(Platform& platform, UserPrompts& prompts, const StartupEntry& row) {
    const auto live = placeOfRow(platform, row, true);
    if (!live || readEntry(platform, *live)) return;
    const auto switchPlace = switchPlaceOf(row.section, *live);
    if (!switchPlace) return;
    if (const SystemResult removed = removeSwitch(platform, *switchPlace); !removed)
        prompts.tell(withReason(kSwitchLeftPrompt, removed.error()), kDeleteFailedTitle, kStyleCritical);
}

}  // namespace

bool deleteEntry(Platform& platform, UserPrompts& prompts, const StartupEntry& row) {
    if (isReadOnly(row)) {
        prompts.tell(kReadOnlyPrompt, kDeleteFailedTitle, kStyleCritical);
        return false;
    }
    auto place = placeOfRow(platform, row, row.enabled);
    if (!place) {
        prompts.tell(kDeleteFailedPrompt, kDeleteFailedTitle, kStyleCritical);
        return false;
    }
    if (rowEntryStands(platform, row, *place)) {
        const SystemResult removed = removeEntry(platform, *place);
        if (!removed && rowEntryStands(platform, row, *place)) {
            prompts.tell(withReason(kDeleteFailedPrompt, removed.error()), kDeleteFailedTitle, kStyleCritical);
            return false;
        }
    }
    removeOrphanedSwitch(platform, prompts, row);
    return true;
}

}  // namespace lsu
