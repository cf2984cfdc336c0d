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

// The three fields of the entry dialog; no section when none was chosen.
struct EntryForm {
    std::string name;
    std::string commandLine;
    std::optional<SectionId> section;
};

// Moves the row's entry to the place its check box asks for (ticked: the
// place Windows reads; clear: the disabled store) and records where it now
// stands. On failure the user is told, the row keeps the real state and its
// box is put back to it. Returns whether the entry moved.
bool applyCheckState(Platform& platform, UserPrompts& prompts, StartupEntry& row);

// Removes the entry from where the row says it stands. A failure is
// reported; an entry that is already gone is not. Returns whether it is gone.
bool deleteEntry(Platform& platform, UserPrompts& prompts, const StartupEntry& row);

// Writes a new registry value or shortcut for the dialog's fields. Returns
// whether it was written.
bool addEntry(Platform& platform, UserPrompts& prompts, const EntryForm& form);

// Replaces the row's entry with the dialog's fields, writing the new entry
// before the old one is removed.
bool editEntry(Platform& platform, UserPrompts& prompts, const StartupEntry& row, const EntryForm& form);

// The sections the entry dialog offers, Startup folders first, then the
// registry keys, then (for Edit only) win.ini.
std::vector<SectionId> sectionsOffered(bool forAdd);

}  // namespace lsu
