#include "operations/EntryLocations.h"
#include "operations/EntrySwitches.h"
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

// An entry where Windows starts it also needs its own switch on to start.
SystemResult turnSwitchOnWhereStarted(Platform& platform, const StartupEntry& row) {
    const auto live = placeOfRow(platform, row, true);
    const auto switchPlace = live ? switchPlaceOf(row.section, *live) : std::nullopt;
    return switchPlace ? turnSwitchOn(platform, *switchPlace) : SystemResult();
}

// Records how the entry now stands; its box shows whether Windows starts it.
void settle(StartupEntry& row, bool enabled, bool switchedOff) {
    row.enabled = enabled;
    row.switchedOff = switchedOff;
    row.checked = startsWithWindows(row);
}

}  // namespace

bool applyCheckState(Platform& platform, UserPrompts& prompts, StartupEntry& row) {
    const bool enabling = row.checked;
    if (enabling == startsWithWindows(row)) return false;
    if (isReadOnly(row)) {
        settle(row, row.enabled, row.switchedOff);
        return false;
    }
    if (!enabling || !row.enabled) {
        const Outcome moved = moveRow(platform, prompts, row, enabling);
        if (moved.kind != Outcome::Done) {
            if (moved.kind == Outcome::Declined) tellNothingChanged(prompts);
            else tellMoveFailed(prompts, row, enabling, moved.reason);
            settle(row, row.enabled, row.switchedOff);
            return false;
        }
        // Parking leaves Windows' switch alone: it is the user's choice there.
        if (!enabling) {
            settle(row, false, row.switchedOff);
            return true;
        }
    }
    const SystemResult on = turnSwitchOnWhereStarted(platform, row);
    if (!on) prompts.tell(withReason(kSwitchStaysOffPrompt, on.error()), languageText(kTextEnableFailedTitle), kStyleCritical);
    const bool movedBack = !row.enabled;
    settle(row, true, !on);
    return movedBack || static_cast<bool>(on);
}

}  // namespace lsu
