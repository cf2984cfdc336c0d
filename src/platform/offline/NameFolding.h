#pragma once
// Names compared as Windows compares them: NTFS and the registry upper-case
// each UTF-16 unit and compare the results, so "Ä" matches "ä" as "A" does
// "a".

#include <string>
#include <string_view>

namespace lsu::offline {

std::u16string foldedName(std::string_view utf8);
bool sameNameIgnoringCase(std::string_view a, std::string_view b);
// The order of a listing sorted by name, case ignored.
bool nameLessIgnoringCase(std::string_view a, std::string_view b);

}  // namespace lsu::offline
