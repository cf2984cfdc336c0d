#include "operations/journal/Base64.h"

#include <array>

namespace lsu {

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int sextetOf(char c) {
    const auto at = kAlphabet.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

}  // namespace

std::string base64Of(const Bytes& bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        const std::size_t left = bytes.size() - at;
        const std::uint32_t group = (std::uint32_t{bytes[at]} << 16) |
                                    (left > 1 ? std::uint32_t{bytes[at + 1]} << 8 : 0) |
                                    (left > 2 ? std::uint32_t{bytes[at + 2]} : 0);
        text += kAlphabet[(group >> 18) & 63];
        text += kAlphabet[(group >> 12) & 63];
        text += left > 1 ? kAlphabet[(group >> 6) & 63] : '=';
        text += left > 2 ? kAlphabet[group & 63] : '=';
    }
    return text;
}

std::optional<Bytes> bytesOfBase64(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    Bytes bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (std::size_t at = 0; at < text.size(); at += 4) {
        const bool last = at + 4 == text.size();
        const std::size_t padding = last ? (text[at + 3] == '=') + (text[at + 2] == '=') : 0;
        if (padding == 1 && text[at + 2] == '=') return std::nullopt;
        std::uint32_t group = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            const int sextet = i >= 4 - padding ? 0 : sextetOf(text[at + i]);
            if (sextet < 0) return std::nullopt;
            group = (group << 6) | static_cast<std::uint32_t>(sextet);
        }
        // Bits the padding drops must be zero, so that each text means one run of bytes.
        if ((padding == 1 && (group & 0xFF)) || (padding == 2 && (group & 0xFFFF))) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(group >> 16));
        if (padding < 2) bytes.push_back(static_cast<std::uint8_t>(group >> 8));
        if (padding < 1) bytes.push_back(static_cast<std::uint8_t>(group));
    }
    return bytes;
}

}  // namespace lsu
