#pragma once
// What the user can do to a start-up entry. Every operation works through the
// platform port, writes a target before it removes a source, and tells the
// user through UserPrompts when something could not be done.

#include <optional>
#include <string>
#include <vector>

#include "catalog/StartupEntry.h"
#include "operations/UserPrompts.h"

namespace lsu {

// The three fields of the entry dialog.
struct EntryForm {
    std::string name;
    std::string commandLine;
    std::string section;
};

// Moves the row's entry to the place its check box asks for (ticked: the
// place Windows reads; clear: the disabled store) and rewrites Status. On
// failure the user is told, Status keeps the real state and the box is put
// back to it. Returns whether the entry moved.
bool EnabledDisableProgram(Platform& platform, UserPrompts& prompts, StartupEntry& row);

// Removes the entry from where its Status says it stands. A failure is
// reported; an entry that is already gone is not. Returns whether it is gone.
bool DeleteProgram(Platform& platform, UserPrompts& prompts, const StartupEntry& row);

// Writes a new registry value or shortcut for the dialog's fields. Returns
// whether it was written.
bool AddNew(Platform& platform, UserPrompts& prompts, const EntryForm& form);

// Replaces the row's entry with the dialog's fields, writing the new entry
// before the old one is removed.
bool EditEntry(Platform& platform, UserPrompts& prompts, const StartupEntry& row, const EntryForm& form);

// The sections the entry dialog offers: Add leaves out the two win.ini ones.
std::vector<std::string> dialogSections(bool forAdd);

}  // namespace lsu
