#pragma once
// Documents as the bytes a file holds: UTF-8 as written, or UTF-16 in
// either byte order, with or without a byte order mark.

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/Utf16.h"

namespace lsu::test {

inline std::vector<std::uint8_t> bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

enum class ByteOrder { Little, Big };

inline std::vector<std::uint8_t> utf16BytesOf(std::string_view text, ByteOrder order, bool withMark) {
    std::u16string units = utf16FromUtf8(text);
    if (withMark) units.insert(units.begin(), u'\xFEFF');
    std::vector<std::uint8_t> bytes = bytesOfUtf16(units);
    if (order == ByteOrder::Big) {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
    }
    return bytes;
}

}  // namespace lsu::test
