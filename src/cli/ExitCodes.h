#pragma once
// The exit codes of lstartup-cli. Each error has its own code so that a
// script can tell them apart without reading stderr.

#include "base/Result.h"

namespace lsu::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitOperationFailed = 1;  // the system refused the change
inline constexpr int kExitUsage = 2;            // unknown command or bad arguments
inline constexpr int kExitUnknownSection = 3;
inline constexpr int kExitEntryNotFound = 4;
inline constexpr int kExitAmbiguousName = 5;  // two entries of that name in the section
inline constexpr int kExitRefused = 6;        // a question needed --yes
// The Linux tool on an offline Windows (--offline DIR).
inline constexpr int kExitNotAWindowsVolume = 7;
inline constexpr int kExitNoProfile = 8;        // none, not the one named, or several and no --user
inline constexpr int kExitDirtyHive = 9;        // a hive was not shut down cleanly: nothing was changed
inline constexpr int kExitReadOnlyVolume = 10;  // the volume is mounted read-only: nothing was changed
inline constexpr int kExitReadOnlyEntry = 11;   // group policy sets the entry: it is not changed here
// This kind of entry is not changed this way here: what a service, a package
// or the task scheduler keeps is only switched off and on, never deleted,
// added or edited; a scheduled task of an offline Windows is only read.
inline constexpr int kExitNotOffered = 12;
inline constexpr int kExitNeedsAdministrator = 13;  // the system refused access: nothing was changed
inline constexpr int kExitNotJournaled = 14;        // the journal could not be written first: nothing was changed
inline constexpr int kExitUndoRefused = 15;         // a place was changed since, or the change cannot be undone
inline constexpr int kExitSomethingAdded = 16;      // diff: an entry was added since the earlier snapshot

// What the tool says when the system refused access.
inline constexpr const char* kNeedsAdministratorLine =
    "this change needs administrator rights: run it from an elevated prompt (with --offline, as root)";

// The code of a change that failed for this reason.
int exitCodeFor(ErrorKind kind);

// The table --help and the README show.
inline constexpr const char* kExitCodeHelp =
    "Exit codes:\n"
    "  0  success\n"
    "  1  the operation failed (nothing was changed, or the entry stays where it was)\n"
    "  2  unknown command or bad arguments\n"
    "  3  unknown section (or a section entries cannot be added to)\n"
    "  4  no entry of that name in the section (undo: no change of that number in the journal)\n"
    "  5  ambiguous name: more than one entry of that name in the section (choose with --live, --parked, --view)\n"
    "  6  refused: the operation asks a question; give --yes to answer Yes\n"
    " 13  the change needs administrator rights: run it from an elevated prompt (with --offline: as root)\n"
    " 14  the journal of changes could not be written (or read), so nothing was changed\n"
    " 15  undo refused: a place the change touched was changed since, or the change was cut short or changed\n"
    "     nothing; nothing was changed\n"
    " 16  diff: an entry was added since the earlier snapshot (what was found is listed as on success)\n"
    "With --offline (the Linux tool on a Windows that is not running):\n"
    "  7  DIR holds no Windows volume (no readable Windows\\System32\\config\\SOFTWARE)\n"
    "  8  no user profile with an NTUSER.DAT, not the one named, or several and no --user\n"
    "  9  refused: a hive was not shut down cleanly (start and shut down Windows, or --force-dirty)\n"
    " 10  refused: the volume is mounted read-only\n"
    " 11  refused: group policy sets the entry, so it cannot be changed here\n"
    " 12  refused: this kind of entry is not changed this way here (a service, a packaged app's startup task\n"
    "     and a scheduled task are only switched off and on, never deleted, added or edited; an offline\n"
    "     scheduled task is only read)\n";

}  // namespace lsu::cli
