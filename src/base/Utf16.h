#pragma once
// UTF-8 inside, UTF-16 wherever Windows keeps text: the W functions, a hive's
// names and strings, a link's strings, a version resource's texts, a Unicode
// win.ini. Every UTF-16 string round-trips: an unpaired surrogate becomes its
// own three bytes (generalized UTF-8, as WTF-8 writes it) and comes back as
// the same unit, and a NUL stays a NUL byte. Bytes that are no UTF-8 at all
// become U+FFFD, never a cut.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lsu {

std::u16string utf16FromUtf8(std::string_view text);
std::string utf8FromUtf16(std::u16string_view text);

// Code units from little-endian bytes; an odd last byte is no unit.
std::u16string utf16FromBytes(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> bytesOfUtf16(std::u16string_view text);

// Decodes UTF-8 one UTF-16 unit at a time, without building the string:
// a character beyond the BMP gives its two surrogates in turn.
class Utf16Units {
public:
    explicit Utf16Units(std::string_view text) : text_(text) {}
    bool done() const { return at_ == text_.size() && pendingLow_ == 0; }
    char16_t next();

private:
    std::string_view text_;
    std::size_t at_ = 0;
    char16_t pendingLow_ = 0;
};

}  // namespace lsu
