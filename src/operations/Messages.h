#pragma once
// The texts the operations show, and the questions they ask before anything
// that already stands is replaced.

#include <optional>
#include <string>

#include "operations/UserPrompts.h"
#include "platform/Platform.h"

namespace lsu {

// The application title captions every message the program shows of its own.
inline constexpr const char* kAppTitle = "Tovane StartUp";
inline constexpr const char* kAddFailedPrompt = "Unable to add new item";
inline constexpr const char* kAddFailedTitle = "New item creation failour";
inline constexpr const char* kNothingChangedPrompt = "Nothing was changed.";
inline constexpr const char* kDeleteFailedPrompt = "The entry could not be deleted. It is still in place.";
inline constexpr const char* kDeleteFailedTitle = "Delete failed";
inline constexpr const char* kEditFailedPrompt = "The entry could not be changed. It was left as it was.";
inline constexpr const char* kEditFailedTitle = "Edit failed";
inline constexpr const char* kEntryGonePrompt = "The entry is no longer where it was listed. Refresh the list.";
inline constexpr const char* kPlainFileStaysInFolderPrompt =
    "A file in a Startup folder can only be moved to the other Startup folder.";
inline constexpr const char* kSwitchStaysOffPrompt =
    "Windows' own startup switch for the entry could not be turned on. The entry stands where Windows starts it, "
    "but Windows does not start it.";
inline constexpr const char* kSwitchLeftPrompt =
    "The entry was changed, but Windows' startup switch for it could not be kept with it.";
inline constexpr const char* kReadOnlyPrompt =
    "Group policy sets this entry and sets it again: it cannot be changed here.";

// Beeps and asks "<what>: "<where>" exists. Replace it?" (Yes/No, no icon).
bool askReplace(UserPrompts& prompts, const std::string& what, const std::string& where);

void tellNothingChanged(UserPrompts& prompts);

// The fixed text, followed by the system's reason when it gave one.
std::string withReason(const std::string& text, const std::optional<SystemError>& reason);

}  // namespace lsu
