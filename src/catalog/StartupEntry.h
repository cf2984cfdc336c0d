#pragma once
// One row of the program list: what was found, typed, and what a later move
// needs to find the entry again exactly where it was read. The texts the list
// and the command-line tool show are rendered from it in one place.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/Sections.h"
#include "platform/Registry.h"

namespace lsu {

// What the entry is: a registry value, a shortcut file, any other file (a
// Startup-folder file, or a win.ini line, which names a file too); a service,
// which the service manager starts; a packaged app's startup task, or a
// scheduled task.
enum class EntryType { RegistryValue, Shortcut, File, Service, AppTask, ScheduledTask };

// What keeps an entry from being changed here beyond its section's rule:
// group policy sets a packaged app's startup task, or the system the entry
// was read from takes no switch of its kind.
enum class EntryLock { None, SetByPolicy, NotSwitchedHere };

// How an entry stands since the user last looked: the window marks entries
// added since, and those whose command line changed.
enum class SinceLastLook { Seen, New, Changed };

struct StartupEntry {
    std::string name;
    std::string commandLine;
    SectionId section = SectionId::UserRun;  // always a leaf
    EntryType type = EntryType::RegistryValue;
    bool enabled = true;       // stands where Windows reads it, not in the disabled store
    bool switchedOff = false;  // stands there, but Windows' startup switch for it is off
    bool exists = false;       // the program it names was found
    bool checked = false;      // the box as the list shows it
    // The same entry, byte for byte, stands both where Windows starts it and
    // in its disabled store: a move between them was cut short.
    bool hasTwin = false;
    std::string publisher;  // the company the program's version resource names

    // Registry rows: the view the value was read in, and the value as stored.
    RegistryView view = RegistryView::Shared;
    RegistryValue stored;
    // Folder rows: the real file name (the shell may display another name).
    std::string fileName;
    // A current user's item parked in the folder beside the program, where
    // items were parked before they were kept per user.
    bool parkedBesideProgram = false;
    EntryLock lock = EntryLock::None;
    // Service rows: the name is the service's own; the name people read, the
    // start type it has now, and whether it starts delayed (for one this
    // program switched off, as recorded).
    std::string displayName;
    std::uint32_t startType = 0;
    bool delayed = false;
    bool windowsOwn = false;  // one of Windows' own services, which Windows needs
    // Packaged apps' startup tasks: the package's family name and the
    // task's id, which name the task's switch.
    std::string packageFamilyName;
    std::string taskId;
    // Scheduled tasks: the path the task scheduler knows the task by.
    std::string taskPath;
    SinceLastLook sinceLastLook = SinceLastLook::Seen;
};

using EntryList = std::vector<StartupEntry>;

// Leaves out Windows' own services, which a user rarely means to switch off.
void removeWindowsServices(EntryList& rows);

const Source& sourceOf(const StartupEntry& entry);
// The file a folder row stands under: its real name, or for rows that do not
// carry one the name and, for a shortcut, ".lnk".
std::string folderFileName(const StartupEntry& entry);
// A folder row whose file bears a name Windows cannot give a file (a
// separator, "..", a trailing dot or space, a control character, a device
// name): the system would take its path for another file's, so it is shown
// but never changed.
bool hasUnsafeFileName(const StartupEntry& entry);
// Whether Windows starts the entry at its next start-up.
bool startsWithWindows(const StartupEntry& entry);
bool isReadOnly(const StartupEntry& entry);

enum class Column { Name, CommandLine, Exists, Section, Status, Type, Publisher, State };
inline constexpr int kColumnCount = 8;

struct ColumnDefinition {
    Column column;
    std::string_view header;
};

// Name, Command Line, Exists, Section, Status, type, Publisher, State.
const std::vector<ColumnDefinition>& entryColumns();

// The text a cell shows: "Yes"/"No", the section key, "Enabled"/"Disabled",
// "Reg"/"Lnk"/"File"/"Svc"/"App"/"Task", and in State how the entry stands with Windows,
// followed by "New" or "Changed" for an entry the user has not seen yet.
std::string cellText(const StartupEntry& entry, Column column);

inline constexpr const char* kSetByPolicyReason =
    "Group policy sets this entry and sets it again: it cannot be changed here.";
inline constexpr const char* kNotSwitchedHereReason =
    "Scheduled tasks of a Windows that is not running are shown but not switched: the task scheduler keeps their "
    "switches in records of its own, which only it can change without Windows refusing the task.";

// Why the entry is not as its box alone would say: Windows' switch is off,
// it cannot be changed here (group policy sets it, or the system does not
// switch it), its file's name keeps it from being changed, or a move of it
// was cut short. nullptr for every other entry.
const char* stateReason(const StartupEntry& entry);

// Why the entry can be neither deleted nor edited here: it cannot be changed
// at all, or what declares it keeps it. nullptr when it can be.
const char* whyKept(const StartupEntry& entry);

// The refusal of a change to an entry that cannot be changed here.
std::optional<Error> readOnlyRefusal(const StartupEntry& entry);
// The refusal of a delete or an edit of an entry kept where it stands.
std::optional<Error> keptRefusal(const StartupEntry& entry);

}  // namespace lsu
