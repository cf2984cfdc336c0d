#pragma once
// The three ways `history` writes the journal, oldest change first: a table
// for people, CSV and JSON for scripts, with the rows the window's History
// shows.

#include <string>
#include <vector>

#include "operations/journal/JournalRecords.h"

namespace lsu::cli {

// Every cell whole, each column as wide as its widest cell.
std::string historyTable(const std::vector<JournalChange>& changes);
// RFC 4180, a header row, CRLF line ends.
std::string historyCsv(const std::vector<JournalChange>& changes);
// An array of objects with the keys id, time, action, entry, section, tool,
// outcome ("done", "failed" or "unfinished"), message (why it failed),
// undoes (the number of the change an undo undid, or null) and places (each
// place the change touched).
std::string historyJson(const std::vector<JournalChange>& changes);

}  // namespace lsu::cli
