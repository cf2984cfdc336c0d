#include "operations/EntryLocations.h"
#include "operations/EntryTransfer.h"
#include "operations/LanguageTable.h"
#include "operations/Messages.h"
#include "operations/Operations.h"

namespace lsu {

namespace {

void tellMoveFailed(UserPrompts& prompts, const StartupEntry& row, bool enabling,
                    const std::optional<SystemError>& reason) {
    const bool winIni = sourceAs<WinIniSource>(row.section) != nullptr;
    const int prompt = !enabling ? kTextDisableFailedPrompt : winIni ? kTextWinIniEnableFailedPrompt
                                                                      : kTextEnableFailedPrompt;
    const int title = !enabling ? kTextDisableFailedTitle : winIni ? kTextWinIniEnableFailedTitle
                                                                    : kTextEnableFailedTitle;
    prompts.tell(withReason(languageText(prompt), reason), languageText(title), kStyleCritical);
}

Outcome moveRow(Platform& platform, UserPrompts& prompts, const StartupEntry& row, bool enabling) {
    auto source = placeOfRow(platform, row, !enabling);
    auto target = placeOfRow(platform, row, enabling);
    if (!source || !target) return Outcome::failed();
    // What moves is what stands at the source now, exactly as stored.
    auto content = readEntry(platform, *source);
    if (!content) return Outcome::failed();
    return transferEntry(platform, prompts, *source, *target, *content);
}

}  // namespace

bool applyCheckState(Platform& platform, UserPrompts& prompts, StartupEntry& row) {
    const bool enabling = row.checked;
    if (enabling == row.enabled) return false;
    const Outcome moved = moveRow(platform, prompts, row, enabling);
    switch (moved.kind) {
        case Outcome::Done:
            row.enabled = enabling;
            return true;
        case Outcome::Declined: tellNothingChanged(prompts); break;
        case Outcome::Failed: tellMoveFailed(prompts, row, enabling, moved.reason); break;
    }
    row.checked = row.enabled;
    return false;
}

}  // namespace lsu
