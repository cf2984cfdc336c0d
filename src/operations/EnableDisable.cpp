#include "catalog/StartupEntry.h"
#include "operations/EntryTransfer.h"
#include "operations/LanguageTable.h"
#include "operations/Messages.h"
#include "operations/Operations.h"
#include "operations/RowPlaces.h"

namespace lsu {

namespace {

void tellMoveFailed(UserPrompts& prompts, const StartupEntry& row, bool enabling) {
    const bool winIni = sourceKindOf(row) == SourceKind::WinIni;
    const int prompt = !enabling ? kTextDisableFailedPrompt : winIni ? kTextWinIniEnableFailedPrompt
                                                                      : kTextEnableFailedPrompt;
    const int title = !enabling ? kTextDisableFailedTitle : winIni ? kTextWinIniEnableFailedTitle
                                                                    : kTextEnableFailedTitle;
    prompts.tell(languageText(prompt), languageText(title), kStyleCritical);
}

Outcome moveRow(Platform& platform, UserPrompts& prompts, const StartupEntry& row, bool enabling) {
    auto source = placeOfRow(platform, row, !enabling);
    auto target = placeOfRow(platform, row, enabling);
    if (!source || !target) return Outcome::Failed;
    // What moves is what stands at the source now, exactly as stored.
    auto content = readEntry(platform, *source);
    if (!content) return Outcome::Failed;
    return transferEntry(platform, prompts, *source, *target, *content);
}

}  // namespace

bool EnabledDisableProgram(Platform& platform, UserPrompts& prompts, StartupEntry& row) {
    const bool enabling = row.Checked;
    if (!sourceKindOf(row) || enabling == isEnabled(row)) {
        row.Checked = isEnabled(row);
        return false;
    }
    switch (moveRow(platform, prompts, row, enabling)) {
        case Outcome::Done:
            row.Status = enabling ? kStatusEnabled : kStatusDisabled;
            return true;
        case Outcome::Declined: tellNothingChanged(prompts); break;
        case Outcome::Failed: tellMoveFailed(prompts, row, enabling); break;
    }
    row.Checked = isEnabled(row);
    return false;
}

}  // namespace lsu
