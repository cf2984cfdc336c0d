#pragma once
// What the main window says of its own: its status bar, the question before
// a delete, the About box, and what it tells when a command cannot go on.

#include <string>

#include "catalog/StartupEntry.h"
#include "ui/logic/ChangeMessages.h"

namespace lsu {

inline constexpr const char* kAboutTitle = "About Larkwell StartUp";
std::string aboutText();

// The status bar while the section is read; its rows are not shown yet.
inline constexpr const char* kLoadingStatus = "Loading\u2026";

// The status bar under the list: why the entry (`about`) is not as its box
// alone would say; otherwise how many programs the list shows and how many
// of them Windows does not start, and how many are new or changed since the
// user last looked.
std::string statusText(const EntryList& rows, const StartupEntry* about);

// Asked before the selected entry is deleted: Yes deletes it.
UserMessage deleteQuestion();

// Run could not start the program.
UserMessage messageAfterFailedRun(const std::string& file, const Error& error);

// A command was cut short by a failure of the program itself (memory ran
// out); what it had done stands.
UserMessage messageAfterInterruptedCommand(const std::string& reason);

}  // namespace lsu
