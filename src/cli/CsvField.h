#pragma once
// One field of a CSV record (RFC 4180): quoted when it holds a comma, a quote,
// a CR or an LF, with the quotes inside doubled.

#include <string>

namespace lsu::cli {

void appendCsvField(std::string& out, const std::string& field);

}  // namespace lsu::cli
