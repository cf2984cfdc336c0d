#pragma once
// The three ways `list` writes rows: a table for people, CSV and JSON for
// scripts. Every format carries the same fields in the window's order.

#include <array>
#include <string>
#include <string_view>

#include "catalog/StartupEntry.h"

namespace lsu::cli {

inline constexpr int kEntryFieldCount = kColumnCount;

// The window's column headers, each capitalised: Name, Command Line, Exists,
// Section, Status, Type, Publisher, State, in the order of the list's columns.
const std::array<std::string_view, kEntryFieldCount>& fieldHeaders();

// RFC 4180: a header row, CRLF line ends, fields with a comma, quote, CR or
// LF quoted, quotes inside doubled.
std::string formatCsv(const EntryList& rows);

// An array of objects with the keys name, commandLine, exists, section,
// status, type, publisher and state, and the flags switchedOff (Windows'
// own switch keeps the entry from starting) and readOnly (it cannot be
// changed here); a service's object adds serviceName, displayName, startType
// (as the service manager numbers it: 2 automatic, 4 disabled) and delayed,
// a packaged app's startup task packageFamilyName and taskId, a scheduled
// task taskPath. UTF-8, bytes that are not UTF-8 replaced by U+FFFD.
std::string formatJson(const EntryList& rows);

// The table width of output that is not a terminal, and of --wide: every
// column, every cell whole.
inline constexpr int kWholeCells = 0;

// The window's shown columns. In a terminal narrower than the rows, each
// column keeps the least width at which it reads, the command line takes the
// spare width first, then the name, section and state grow whole, and the
// publisher is shown only in the room left; a cut cell ends in an ellipsis
// (a section begins with one, keeping its leaf).
std::string formatTable(const EntryList& rows, int terminalWidth);

}  // namespace lsu::cli
