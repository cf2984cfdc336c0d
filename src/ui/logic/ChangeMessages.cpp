#include "ui/logic/ChangeMessages.h"

#include "operations/Questions.h"
#include "ui/logic/LanguageTable.h"

namespace lsu {

namespace {

UserMessage nothingChanged() { return {kNothingChangedPrompt, kAppTitle, MessageKind::Information}; }

// The failure as the operation's own message box says it. The user's No
// changed nothing; what the user typed is refused in its own words.
UserMessage failureMessage(const Error& error, const std::string& prompt, const std::string& title) {
    switch (error.kind) {
        case ErrorKind::NeedsAdministrator:
            return {withReason(prompt, error) + "\r\n\r\n" + kNeedsAdministratorPrompt, title, MessageKind::Exclamation,
                    true};
        case ErrorKind::DeclinedByUser: return nothingChanged();
        case ErrorKind::InvalidInput: return {error.message, kAppTitle, MessageKind::Exclamation};
        case ErrorKind::RefusedByPolicy: return {kSetByPolicyReason, title, MessageKind::Critical};
        case ErrorKind::NotOffered: return {error.message, title, MessageKind::Critical};
        case ErrorKind::PartlyDone: return {withReason(kPartlyDonePrompt, error), title, MessageKind::Critical};
        default: return {withReason(prompt, error), title, MessageKind::Critical};
    }
}

std::optional<UserMessage> warningMessage(const ChangeResult& result, const std::string& title) {
    const auto& warning = result->warning;
    if (!warning) return std::nullopt;
    const char* prompt = warning->kind == Warning::SwitchStaysOff       ? kSwitchStaysOffPrompt
                         : warning->kind == Warning::NotMarkedInJournal ? kNotMarkedInJournalPrompt
                                                                        : kSwitchLeftPrompt;
    return UserMessage{withReason(prompt, warning->cause), title, MessageKind::Critical};
}

}  // namespace

std::string withReason(const std::string& text, const Error& reason) {
    if (reason.message.empty()) return text;
    std::string reasonText = reason.message;
    if (reason.code != 0) reasonText += " (error " + std::to_string(reason.code) + ")";
    return text + "\r\n\r\n" + reasonText;
}

std::optional<UserMessage> messageAfterCheckChange(const StartupEntry& asked, const ChangeResult& result) {
    const bool enabling = asked.checked;
    const std::string enableTitle = languageText(kTextEnableFailedTitle);
    if (result) return warningMessage(result, enableTitle);
    const Error& error = result.error();
    // A click on an entry that cannot be changed here is put back; the
    // status bar says why.
    if (error.kind == ErrorKind::RefusedByPolicy || error.kind == ErrorKind::NotOffered) return std::nullopt;
    if (!enabling)
        return failureMessage(error, languageText(kTextDisableFailedPrompt), languageText(kTextDisableFailedTitle));
    // An entry already where Windows starts it had only its switch to turn on.
    if (asked.enabled)
        return error.kind == ErrorKind::NeedsAdministrator
                   ? failureMessage(error, kSwitchStaysOffPrompt, enableTitle)
                   : UserMessage{withReason(kSwitchStaysOffPrompt, error), enableTitle, MessageKind::Critical};
    if (sourceAs<WinIniSource>(asked.section))
        return failureMessage(error, languageText(kTextWinIniEnableFailedPrompt),
                              languageText(kTextWinIniEnableFailedTitle));
    return failureMessage(error, languageText(kTextEnableFailedPrompt), enableTitle);
}

std::optional<UserMessage> messageAfterDelete(const ChangeResult& result) {
    if (result) return warningMessage(result, kDeleteFailedTitle);
    return failureMessage(result.error(), kDeleteFailedPrompt, kDeleteFailedTitle);
}

std::optional<UserMessage> messageAfterAdd(const EntryForm& form, const ChangeResult& result) {
    if (result) return warningMessage(result, kAddFailedTitle);
    // Keeping a link that stands under the name is the end of the new one;
    // keeping a registry value is the user's choice to change nothing.
    if (result.error().kind == ErrorKind::DeclinedByUser && form.section && sourceAs<FolderSource>(*form.section))
        return UserMessage{kAddFailedPrompt, kAddFailedTitle, MessageKind::Critical};
    return failureMessage(result.error(), kAddFailedPrompt, kAddFailedTitle);
}

std::optional<UserMessage> messageAfterEdit(const ChangeResult& result) {
    if (result) return warningMessage(result, kEditFailedTitle);
    if (result.error().kind == ErrorKind::NotFound)
        return UserMessage{kEntryGonePrompt, kEditFailedTitle, MessageKind::Exclamation};
    return failureMessage(result.error(), kEditFailedPrompt, kEditFailedTitle);
}

std::optional<UserMessage> messageAfterUndo(const ChangeResult& result) {
    if (result) return warningMessage(result, kUndoTitle);
    // Refusals say in their own words why nothing was changed.
    switch (result.error().kind) {
        case ErrorKind::NotFound:
        case ErrorKind::NotOffered:
        case ErrorKind::ChangedSince: return UserMessage{result.error().message, kUndoTitle, MessageKind::Exclamation};
        default: return failureMessage(result.error(), kUndoFailedPrompt, kUndoTitle);
    }
}

}  // namespace lsu
