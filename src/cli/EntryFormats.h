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
// own switch keeps the entry from starting) and readOnly (group policy sets
// it); UTF-8, bytes that are not UTF-8 replaced by U+FFFD.
std::string formatJson(const EntryList& rows);

// The window's shown columns fitted to the terminal: when the rows are
// wider, the command line gives way first, then the name, section, publisher
// and state; cut cells end in an ellipsis.
std::string formatTable(const EntryList& rows, int terminalWidth);

}  // namespace lsu::cli
