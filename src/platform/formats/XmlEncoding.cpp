#include "platform/formats/XmlEncoding.h"

#include <optional>
#include <string_view>

#include "base/CaseFolding.h"
#include "base/Utf16.h"

namespace lsu::formats {

namespace {

using Bytes = std::span<const std::uint8_t>;

enum class Encoding { Utf8, Utf16Le, Utf16Be };

Error damaged(std::string_view message) {
    return Error{ErrorKind::DamagedData, 0, std::string("XML: ").append(message)};
}

bool startsWithBytes(Bytes bytes, std::initializer_list<std::uint8_t> prefix) {
    if (bytes.size() < prefix.size()) return false;
    std::size_t at = 0;
    for (std::uint8_t byte : prefix) {
        if (bytes[at++] != byte) return false;
    }
    return true;
}

std::string utf8FromUtf16Bytes(Bytes bytes, Encoding order) {
    std::u16string units(bytes.size() / 2, u'\0');
    const int high = order == Encoding::Utf16Be ? 0 : 1;
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>((bytes[2 * i + high] << 8) | bytes[2 * i + 1 - high]);
    }
    return utf8FromUtf16(units);
}

// The encoding the XML declaration names, if the document starts with one.
std::optional<std::string_view> declaredEncoding(std::string_view text) {
    if (!text.starts_with("<?xml") || text.size() < 6 || text[5] > ' ') return std::nullopt;
    const std::string_view declaration = text.substr(0, text.find("?>"));
    const std::size_t name = declaration.find("encoding");
    if (name == std::string_view::npos) return std::nullopt;
    std::size_t at = declaration.find_first_not_of(" \t\n", name + 8);
    if (at == std::string_view::npos || declaration[at] != '=') return std::nullopt;
    at = declaration.find_first_not_of(" \t\n", at + 1);
    if (at == std::string_view::npos || (declaration[at] != '"' && declaration[at] != '\'')) return std::nullopt;
    const std::size_t end = declaration.find(declaration[at], at + 1);
    if (end == std::string_view::npos) return std::nullopt;
    return declaration.substr(at + 1, end - at - 1);
}

// Whether the declaration names the encoding the bytes are in.
bool isNameOf(std::string_view declared, Encoding encoding) {
    switch (encoding) {
        case Encoding::Utf8: return equalsNoCase(declared, "UTF-8") || equalsNoCase(declared, "US-ASCII");
        case Encoding::Utf16Le: return equalsNoCase(declared, "UTF-16") || equalsNoCase(declared, "UTF-16LE");
        case Encoding::Utf16Be: return equalsNoCase(declared, "UTF-16") || equalsNoCase(declared, "UTF-16BE");
    }
    return false;
}

}  // namespace

std::string xmlCharactersOfText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\r') {
            out += text[at];
            continue;
        }
        out += '\n';
        if (at + 1 < text.size() && text[at + 1] == '\n') ++at;
    }
    while (!out.empty() && out.back() == '\0') out.pop_back();
    return out;
}

Result<std::string> xmlCharactersOf(Bytes bytes) {
    // With a byte order mark the bytes say what they are, whatever the
    // declaration claims; without one, UTF-16 must be declared.
    std::optional<Encoding> marked;
    std::size_t skip = 0;
    if (startsWithBytes(bytes, {0xEF, 0xBB, 0xBF})) {
        marked = Encoding::Utf8;
        skip = 3;
    } else if (startsWithBytes(bytes, {0xFF, 0xFE})) {
        marked = Encoding::Utf16Le;
        skip = 2;
    } else if (startsWithBytes(bytes, {0xFE, 0xFF})) {
        marked = Encoding::Utf16Be;
        skip = 2;
    }
    Encoding encoding = marked.value_or(Encoding::Utf8);
    if (!marked && startsWithBytes(bytes, {'<', 0})) encoding = Encoding::Utf16Le;
    if (!marked && startsWithBytes(bytes, {0, '<'})) encoding = Encoding::Utf16Be;
    const Bytes body = bytes.subspan(skip);
    std::string text =
        encoding == Encoding::Utf8 ? std::string(body.begin(), body.end()) : utf8FromUtf16Bytes(body, encoding);
    if (!marked) {
        const auto declared = declaredEncoding(text);
        if (encoding != Encoding::Utf8 && !declared)
            return damaged("UTF-16 without a byte order mark or a declaration");
        if (declared && !isNameOf(*declared, encoding)) {
            const std::string name(*declared);
            return damaged("the declared encoding \"" + name + "\" is not how the bytes are written");
        }
    }
    return xmlCharactersOfText(text);
}

}  // namespace lsu::formats
