#pragma once
// UTF-8 inside, UTF-16 little-endian in the files Windows writes: the hive's
// names and strings, a link's strings, a version resource's texts, a Unicode
// win.ini. Text that is not well formed on one side becomes U+FFFD on the
// other, never a cut.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lsu::formats {

std::u16string utf16FromUtf8(std::string_view text);
std::string utf8FromUtf16(std::u16string_view text);

// Code units from little-endian bytes; an odd last byte is no unit.
std::u16string utf16FromBytes(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> bytesOfUtf16(std::u16string_view text);

}  // namespace lsu::formats
