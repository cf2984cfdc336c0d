#pragma once
// What the user is told after a change: nothing when it went through, a
// warning when it went through without all it should have done, or why it
// did not; in the texts, titles and kinds of message box the program shows.
// The tool writes the same texts as one line each.

#include <optional>
#include <string>

#include "operations/Operations.h"

namespace lsu {

inline constexpr const char* kAddFailedPrompt = "Unable to add new item";
inline constexpr const char* kAddFailedTitle = "New item creation failour";
inline constexpr const char* kNothingChangedPrompt = "Nothing was changed.";
inline constexpr const char* kDeleteFailedPrompt = "The entry could not be deleted. It is still in place.";
inline constexpr const char* kDeleteFailedTitle = "Delete failed";
inline constexpr const char* kEditFailedPrompt = "The entry could not be changed. It was left as it was.";
inline constexpr const char* kEditFailedTitle = "Edit failed";
inline constexpr const char* kEntryGonePrompt = "The entry is no longer where it was listed. Refresh the list.";
inline constexpr const char* kSwitchStaysOffPrompt =
    "Windows' own startup switch for the entry could not be turned on. The entry stands where Windows starts it, "
    "but Windows does not start it.";
inline constexpr const char* kSwitchLeftPrompt =
    "The entry was changed, but Windows' startup switch for it could not be kept with it.";
inline constexpr const char* kNotMarkedInJournalPrompt =
    "The change was made, but the journal could not record that it ended: History shows it as cut short, and it "
    "cannot be undone from there.";
inline constexpr const char* kUndoFailedPrompt = "The change could not be undone.";
inline constexpr const char* kUndoTitle = "Undo";
inline constexpr const char* kNeedsAdministratorPrompt =
    "This change needs administrator rights. Restart as administrator, with this section shown again?";
inline constexpr const char* kPartlyDonePrompt =
    "The change failed half-way and could not be taken back. Refresh the list and check where the entry stands.";

struct UserMessage {
    std::string text;
    std::string title;
    MessageKind kind = MessageKind::Critical;
    // Yes restarts the program as administrator; No leaves it as it is.
    bool offersRestartAsAdministrator = false;
    bool operator==(const UserMessage&) const = default;
};

// The fixed text, followed by the reason the error gives, when it gives one.
std::string withReason(const std::string& text, const Error& reason);

// After a click on a row's box or Enable/Disable: `asked` is the row as it
// was handed to the change, its box showing what the user asked for.
std::optional<UserMessage> messageAfterCheckChange(const StartupEntry& asked, const ChangeResult& result);
std::optional<UserMessage> messageAfterDelete(const ChangeResult& result);
std::optional<UserMessage> messageAfterAdd(const EntryForm& form, const ChangeResult& result);
std::optional<UserMessage> messageAfterEdit(const ChangeResult& result);
// After Undo: why it was refused or failed, or what was left to say.
std::optional<UserMessage> messageAfterUndo(const ChangeResult& result);

}  // namespace lsu
