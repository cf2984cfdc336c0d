#include "platform/win32/WideText.h"

#include "base/Utf16.h"

namespace lsu::win32 {

// wchar_t is a UTF-16 unit on Windows, so the conversions are the core's own.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring widen(std::string_view utf8) {
    const std::u16string units = utf16FromUtf8(utf8);
    return {units.begin(), units.end()};
}

std::string narrow(std::wstring_view utf16) { return utf8FromUtf16(std::u16string(utf16.begin(), utf16.end())); }

}  // namespace lsu::win32
