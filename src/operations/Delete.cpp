#include "operations/EntryPlaces.h"
#include "operations/Messages.h"
#include "operations/Operations.h"
#include "operations/RowPlaces.h"

namespace lsu {

namespace {

// The row's own entry still stands there. A win.ini key holds whatever line
// was last written to it; a line other than the listed one is not the entry
// the user chose to delete.
bool rowEntryStands(Platform& platform, const StartupEntry& row, const EntryPlace& place) {
    auto content = readEntry(platform, place);
    if (!content) return false;
    if (auto* line = std::get_if<ProfileLine>(&*content)) return line->text == row.CommandLine;
    return true;
}

}  // namespace

bool DeleteProgram(Platform& platform, UserPrompts& prompts, const StartupEntry& row) {
    auto place = placeOfRow(platform, row, isEnabled(row));
    if (!place) return false;
    if (!rowEntryStands(platform, row, *place)) return true;
    if (removeEntry(platform, *place) || !rowEntryStands(platform, row, *place)) return true;
    prompts.tell(kDeleteFailedPrompt, kDeleteFailedTitle, kStyleCritical);
    return false;
}

}  // namespace lsu
