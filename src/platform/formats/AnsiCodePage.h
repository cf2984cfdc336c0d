#pragma once
// Windows-1252, the ANSI code page of Western European Windows: the code
// page an offline system's ANSI files (win.ini, a link's ANSI path) are
// taken to be in, since the system cannot be asked for its own.

#include <optional>
#include <string>
#include <string_view>

namespace lsu::formats {

std::u16string utf16FromAnsi(std::string_view bytes);
// The byte for the unit, or nullopt when the code page has none.
std::optional<char> ansiOf(char16_t unit);
// Characters the code page lacks become "?", as Windows writes them.
std::string ansiFromUtf16(std::u16string_view text);

}  // namespace lsu::formats
