#pragma once
// The journal of every change, one file per user: in the local application
// data folder of the user the changes are made for (on a volume mounted
// elsewhere, that of the profile chosen), so that the window of the next
// start sees what the tool changed. Records are only ever added; once the
// file would grow past its cap, the oldest changes go. The file is replaced
// whole by way of a file beside it, so that a write cut short leaves the
// journal as it was.

#include <functional>
#include <string>
#include <vector>

#include "operations/journal/JournalRecords.h"
#include "platform/FileSystem.h"
#include "platform/SystemFacts.h"

namespace lsu {

// How large the journal grows before its oldest changes go.
inline constexpr std::size_t kJournalCap = 8u << 20;
// How many bytes of files one change may touch: a change whose files hold
// more could not be undone, and is refused before anything is written.
inline constexpr std::size_t kKeptFileBytesPerChange = 1u << 20;

// A file of the user's own data in the program's folder of the user's local
// application data; empty when the system names no such folder.
std::string userDataPath(SystemFacts& system, std::string_view name);

// The time now, in UTC, as 2026-12-08T23:59:00Z.
std::string utcNow();

class ChangeJournal {
public:
    ChangeJournal(FileSystem& files, SystemFacts& system, std::string tool, std::function<std::string()> clock = utcNow,
                  std::size_t cap = kJournalCap);

    const std::string& tool() const { return tool_; }
    std::string now() const { return clock_(); }
    // Where the journal lives; empty when the system names no folder for it.
    std::string path() const;

    // Every change recorded, oldest first; none when there is no journal yet.
    Result<std::vector<JournalChange>> read() const;
    // The number the next change gets.
    Result<ChangeId> nextId() const;
    // Adds whole lines, dropping the oldest changes (never one of these
    // lines) while the journal would be larger than its cap.
    Status append(const std::string& lines);

private:
    Result<std::string> readText() const;

    FileSystem& files_;
    SystemFacts& system_;
    std::string tool_;
    std::function<std::string()> clock_;
    std::size_t cap_;
};

}  // namespace lsu
