#pragma once
// What the user can do to a start-up entry. Every operation works through the
// platform's ports, writes a target before it removes a source, and returns what
// happened and why; the window and the tool decide how to say it.

#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "catalog/StartupEntry.h"
#include "operations/UserPrompts.h"
#include "platform/Ports.h"

namespace lsu {

// The three fields of the entry dialog; no section when none was chosen.
struct EntryForm {
    std::string name;
    std::string commandLine;
    std::optional<SectionId> section;
    bool operator==(const EntryForm&) const = default;
};

// Something a change that went ahead could not do as well, and why.
struct Warning {
    enum Kind {
        SwitchStaysOff,      // the entry stands where Windows starts it, but Windows' switch for it stays off
        SwitchLeftBehind,    // Windows' switch of the entry stayed where the entry no longer is
        RecordLeftBehind,    // a service switched on again, but the record of how it started stayed
        NotMarkedInJournal,  // the change was made, but the journal could not be told it is done
    };
    Kind kind;
    Error cause;
    bool operator==(const Warning&) const = default;
};

// What a change that went ahead came to.
struct Changed {
    std::optional<Warning> warning;
    bool operator==(const Changed&) const = default;
};
using ChangeResult = Result<Changed>;

// Moves the row's entry to the place its check box asks for (ticked: the
// place Windows reads; clear: the disabled store) and records where it now
// stands; a box that already shows how the entry stands changes nothing. An
// entry that stands where Windows reads it but whose switch is off is
// ticked by turning the switch on. A service is switched off and on again
// by its start type, one of Windows' own only once the user says Yes; an
// entry that a package or the task scheduler keeps is switched where
// Windows keeps its switch; neither is ever moved. On failure the row keeps
// the real state and its box is put back to it; entries that cannot be
// changed here (group policy's, a system's that does not switch them) are
// refused, and so are files whose names Windows cannot give a file. A move
// cut short earlier, which left the same entry in both places, is finished.
ChangeResult applyCheckState(const SourcePorts& ports, UserPrompts& prompts, StartupEntry& row);

// Removes the entry from where the row says it stands. An entry that is
// already gone is no failure; one that cannot be read, or that its source
// still lists though nothing stands where its name leads, is; one kept by
// what declares it is refused.
ChangeResult deleteEntry(const SourcePorts& ports, const StartupEntry& row);

// Writes a new registry value or shortcut for the dialog's fields.
ChangeResult addEntry(const SourcePorts& ports, UserPrompts& prompts, const EntryForm& form);

// Replaces the row's entry with the dialog's fields: the new entry is
// written where Windows starts it, a parked one included, before the old one
// is removed; a name that changes only in letter case is renamed. Not found
// when the entry is no longer where it was listed. A service is not edited
// here.
ChangeResult editEntry(const SourcePorts& ports, UserPrompts& prompts, const StartupEntry& row, const EntryForm& form);

// The sections the entry dialog offers, Startup folders first, then the
// registry keys, then (for Edit only) win.ini.
std::vector<SectionId> sectionsOffered(bool forAdd);

}  // namespace lsu
