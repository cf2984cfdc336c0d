#include "operations/EntryLocations.h"
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

}  // namespace

bool deleteEntry(Platform& platform, UserPrompts& prompts, const StartupEntry& row) {
    auto place = placeOfRow(platform, row, row.enabled);
    if (!place) return false;
    if (!rowEntryStands(platform, row, *place)) return true;
    const SystemResult removed = removeEntry(platform, *place);
    if (removed || !rowEntryStands(platform, row, *place)) return true;
    prompts.tell(withReason(kDeleteFailedPrompt, removed.error()), kDeleteFailedTitle, kStyleCritical);
    return false;
}

}  // namespace lsu
