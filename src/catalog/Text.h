#pragma once
// Small text helpers shared by the core.

#include <string>
#include <string_view>

namespace lsu {

std::string trimSpaces(std::string_view text);
std::string toUpperAscii(std::string_view text);
bool endsWithNoCase(std::string_view text, std::string_view suffix);
bool startsWith(std::string_view text, std::string_view prefix);
bool equalsNoCase(std::string_view a, std::string_view b);
// The path with exactly one backslash at its end.
std::string withTrailingBackslash(std::string_view path);
// Whether the last component of a path has a dot in it.
bool hasFileExtension(std::string_view path);

}  // namespace lsu
