#pragma once
// UTF-8 inside, UTF-16 at the Win32 boundary; what the W functions hand out
// comes back to them unchanged, unpaired surrogates and NULs included.

#include <string>
#include <string_view>

namespace lsu::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace lsu::win32
