#include "base/Utf16.h"

#include <utility>

namespace lsu {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point starting at text[at], advancing at past it; malformed
// bytes are one U+FFFD each. A surrogate written on its own in three bytes
// is taken as written, so that generalized UTF-8 comes back whole.
char32_t decodeUtf8(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) return lead;
    const int continuation = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (continuation < 0 || lead > 0xF4) return kReplacement;
    char32_t point = lead & (0x3F >> continuation);
    for (int i = 0; i < continuation; ++i) {
        if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) return kReplacement;
        point = (point << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (point < kSmallest[continuation] || point > 0x10FFFF) return kReplacement;
    return point;
}

void appendUtf8(std::string& out, char32_t point) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

}  // namespace

char16_t Utf16Units::next() {
    if (pendingLow_ != 0) return std::exchange(pendingLow_, 0);
    const char32_t point = decodeUtf8(text_, at_);
    if (point < 0x10000) return static_cast<char16_t>(point);
    pendingLow_ = static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
    return static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
}

std::u16string utf16FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (Utf16Units units(text); !units.done();) out += units.next();
    return out;
}

std::string utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char16_t unit = text[at];
        if (unit >= 0xD800 && unit <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 &&
            text[at + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[++at] - 0xDC00));
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

std::u16string utf16FromBytes(std::span<const std::uint8_t> bytes) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return out;
}

std::vector<std::uint8_t> bytesOfUtf16(std::u16string_view text) {
    std::vector<std::uint8_t> out;
    out.reserve(text.size() * 2);
    for (char16_t unit : text) {
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return out;
}

}  // namespace lsu
