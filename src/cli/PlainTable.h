#pragma once
// Rows of text cells, the first a header, as a table with every cell whole
// (each column as wide as its widest cell, two spaces between columns) or
// as CSV records (RFC 4180, CRLF line ends).

#include <string>
#include <vector>

namespace lsu::cli {

using TextRows = std::vector<std::vector<std::string>>;

std::string plainTable(const TextRows& rows);
std::string csvRecords(const TextRows& rows);

}  // namespace lsu::cli
