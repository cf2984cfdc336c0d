#pragma once
// Names compared as Windows compares them: the file system and the registry
// upper-case each UTF-16 unit on its own (the simple one-to-one mapping of the
// Basic Multilingual Plane) and compare the results, so "Ü" is "ü" as "A" is
// "a", while "ß" stays "ß" and the halves of a character beyond the BMP stay
// as they are.

#include <string>
#include <string_view>

namespace lsu {

char16_t upperCaseOf(char16_t unit);
// The name's units, each upper-cased: equal for names Windows takes as one.
std::u16string foldedName(std::string_view utf8);

bool equalsNoCase(std::string_view a, std::string_view b);
// The order of names sorted ignoring case: their upper-cased units compared
// one by one, as Windows sorts a listing.
bool lessNoCase(std::string_view a, std::string_view b);
bool endsWithNoCase(std::string_view text, std::string_view suffix);

}  // namespace lsu
