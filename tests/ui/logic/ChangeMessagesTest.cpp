#include <gtest/gtest.h>

#include "operations/Questions.h"
#include "ui/logic/ChangeMessages.h"
#include "ui/logic/LanguageTable.h"

namespace lsu {
namespace {

using enum SectionId;
using enum MessageKind;

const Error kDenied{ErrorKind::System, 5, "Access is denied."};
const std::string kDeniedReason = "\r\n\r\nAccess is denied. (error 5)";

// A row as handed to the change: its box shows what the user asked for.
StartupEntry asked(SectionId leaf, bool enabled, bool ticked) {
    StartupEntry row;
    std::tie(row.section, row.enabled, row.checked) = std::tuple(leaf, enabled, ticked);
    return row;
}

std::string text(int number) { return languageText(number); }

TEST(ChangeMessages, ACheckChangeSaysWhatFailedInTheWordsOfItsDirection) {
    struct Case {
        StartupEntry row;
        ChangeResult result;
        std::optional<UserMessage> shown;
    };
    const Case cases[] = {
        {asked(UserRun, true, false), kDenied,
         UserMessage{text(kTextDisableFailedPrompt) + kDeniedReason, text(kTextDisableFailedTitle), Critical}},
        {asked(UserRun, false, true), kDenied,
         UserMessage{text(kTextEnableFailedPrompt) + kDeniedReason, text(kTextEnableFailedTitle), Critical}},
        {asked(WinIniLoad, false, true), kDenied,
         UserMessage{text(kTextWinIniEnableFailedPrompt) + kDeniedReason, text(kTextWinIniEnableFailedTitle),
                     Critical}},
        // Standing where Windows starts it, the entry had only its switch to turn on.
        {asked(UserRun, true, true), kDenied,
         UserMessage{kSwitchStaysOffPrompt + kDeniedReason, text(kTextEnableFailedTitle), Critical}},
        {asked(StartupCurrentUser, true, false), Error{ErrorKind::System, 0, {}},
         UserMessage{text(kTextDisableFailedPrompt), text(kTextDisableFailedTitle), Critical}},
        {asked(UserRun, true, false), Error{ErrorKind::DeclinedByUser, 0, "Replace it?"},
         UserMessage{kNothingChangedPrompt, kAppTitle, Information}},
        {asked(UserRun, true, false), Error{ErrorKind::PartlyDone, 0, "Both."},
         UserMessage{std::string(kPartlyDonePrompt) + "\r\n\r\nBoth.", text(kTextDisableFailedTitle), Critical}},
        {asked(UserPolicyRun, true, false), Error{ErrorKind::RefusedByPolicy, 0, kSetByPolicyReason}, std::nullopt},
        {asked(UserRun, false, true), Changed{Warning{Warning::SwitchStaysOff, kDenied}},
         UserMessage{kSwitchStaysOffPrompt + kDeniedReason, text(kTextEnableFailedTitle), Critical}},
        {asked(UserRun, false, true), Changed{}, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(messageAfterCheckChange(c.row, c.result), c.shown) << c.row.checked;
}

TEST(ChangeMessages, DeleteAddAndEditSayWhatFailedInTheirOwnWords) {
    const EntryForm toRegistry{"Tool", "tool.exe", UserRun}, toFolder{"Tool", "tool.exe", StartupCurrentUser};
    const Error declined{ErrorKind::DeclinedByUser, 0, "Replace it?"};
    const Error policy{ErrorKind::RefusedByPolicy, 0, kSetByPolicyReason};
    const Error typed{ErrorKind::InvalidInput, 0, "The name may not end in a dot or a space."};
    const std::pair<std::optional<UserMessage>, std::optional<UserMessage>> cases[] = {
        {messageAfterDelete(kDenied), UserMessage{kDeleteFailedPrompt + kDeniedReason, kDeleteFailedTitle, Critical}},
        {messageAfterDelete(policy), UserMessage{kSetByPolicyReason, kDeleteFailedTitle, Critical}},
        {messageAfterDelete(Changed{Warning{Warning::SwitchLeftBehind, kDenied}}),
         UserMessage{kSwitchLeftPrompt + kDeniedReason, kDeleteFailedTitle, Critical}},
        {messageAfterDelete(Changed{}), std::nullopt},
        {messageAfterAdd(toRegistry, kDenied),
         UserMessage{kAddFailedPrompt + kDeniedReason, kAddFailedTitle, Critical}},
        {messageAfterAdd(toRegistry, Changed{Warning{Warning::SwitchStaysOff, kDenied}}),
         UserMessage{kSwitchStaysOffPrompt + kDeniedReason, kAddFailedTitle, Critical}},
        {messageAfterAdd(toRegistry, declined), UserMessage{kNothingChangedPrompt, kAppTitle, Information}},
        // Keeping the link that stands under the name is the end of the new one.
        {messageAfterAdd(toFolder, declined), UserMessage{kAddFailedPrompt, kAddFailedTitle, Critical}},
        {messageAfterAdd(toFolder, typed), UserMessage{typed.message, kAppTitle, Exclamation}},
        {messageAfterEdit(kDenied), UserMessage{kEditFailedPrompt + kDeniedReason, kEditFailedTitle, Critical}},
        {messageAfterEdit(Error{ErrorKind::NotFound, 0, {}}),
         UserMessage{kEntryGonePrompt, kEditFailedTitle, Exclamation}},
        {messageAfterEdit(policy), UserMessage{kSetByPolicyReason, kEditFailedTitle, Critical}},
        {messageAfterEdit(declined), UserMessage{kNothingChangedPrompt, kAppTitle, Information}},
        {messageAfterEdit(Changed{Warning{Warning::SwitchLeftBehind, kDenied}}),
         UserMessage{kSwitchLeftPrompt + kDeniedReason, kEditFailedTitle, Critical}},
    };
    for (const auto& [shown, expected] : cases) EXPECT_EQ(shown, expected) << (expected ? expected->text : "nothing");
}

// A refused undo says why in its own words; a failure says what failed and
// why; a change the journal was not told had ended says so.
TEST(ChangeMessages, UndoSaysWhyItRefusedOrFailed) {
    const Error changedSince{ErrorKind::ChangedSince, 0, "The key no longer holds what change 3 left there."};
    const Error notJournaled{ErrorKind::NotJournaled, 0, "The journal could not be written."};
    const std::pair<ChangeResult, std::optional<UserMessage>> cases[] = {
        {Changed{}, std::nullopt},
        {changedSince, UserMessage{changedSince.message, kUndoTitle, Exclamation}},
        {Error{ErrorKind::NotOffered, 0, "Change 2 changed nothing."},
         UserMessage{"Change 2 changed nothing.", kUndoTitle, Exclamation}},
        {Error{ErrorKind::NotFound, 0, "No change 9."}, UserMessage{"No change 9.", kUndoTitle, Exclamation}},
        {kDenied, UserMessage{kUndoFailedPrompt + kDeniedReason, kUndoTitle, Critical}},
        {Changed{Warning{Warning::NotMarkedInJournal, notJournaled}},
         UserMessage{std::string(kNotMarkedInJournalPrompt) + "\r\n\r\n" + notJournaled.message, kUndoTitle, Critical}},
    };
    for (const auto& [result, shown] : cases) EXPECT_EQ(messageAfterUndo(result), shown);
}

}  // namespace
}  // namespace lsu
