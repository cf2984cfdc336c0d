#pragma once
// Numbers written as digits in stored text: a character reference, a
// string id, a part of a version. Only digits are taken, no sign and no
// spaces, and a number longer than its field is refused before it can
// overflow.

#include <cstdint>
#include <optional>
#include <string_view>

namespace lsu::formats {

// The value of 1 to maxDigits digits in the base (10 or 16), or nullopt.
// Fields wider than 32 bits hold are refused as a whole.
inline std::optional<std::uint32_t> numberOfDigits(std::string_view digits, std::size_t maxDigits, int base = 10) {
    if (digits.empty() || digits.size() > maxDigits || maxDigits > (base == 16 ? 8u : 9u)) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        int digit = c >= '0' && c <= '9' ? c - '0' : -1;
        if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return std::nullopt;
        value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
    }
    return value;
}

}  // namespace lsu::formats
