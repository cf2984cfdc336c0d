#pragma once
// A small XML reader for the documents Windows keeps its own settings in
// (task definitions, package manifests): a tree of elements whose names are
// resolved to their namespace URIs, so that a document is matched by what
// its prefixes stand for, never by the prefix text. The files are small and
// may be hostile: a document type declaration is refused outright (so no
// entity is ever expanded), and size, depth and node count are bounded.
// Anything that is not well-formed is DamagedData.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace lsu::formats {

struct XmlAttribute {
    std::string namespaceUri;  // empty for an attribute without a prefix
    std::string localName;
    std::string value;
};

struct XmlElement {
    std::string namespaceUri;
    std::string localName;
    std::vector<XmlAttribute> attributes;
    std::vector<XmlElement> children;
    std::string text;  // the character data directly inside, CDATA included, pieces joined

    bool is(std::string_view uri, std::string_view name) const { return namespaceUri == uri && localName == name; }
    const XmlElement* firstChild(std::string_view uri, std::string_view name) const;
    std::vector<const XmlElement*> childrenNamed(std::string_view uri, std::string_view name) const;
    std::optional<std::string_view> attribute(std::string_view uri, std::string_view name) const;
    // An attribute without a prefix, as most schemas declare theirs.
    std::optional<std::string_view> attribute(std::string_view name) const { return attribute("", name); }
};

inline constexpr std::size_t kMaxXmlBytes = std::size_t{4} * 1024 * 1024;
inline constexpr std::size_t kMaxXmlDepth = 64;
inline constexpr std::size_t kMaxXmlNodes = 100'000;  // elements and attributes together
// Namespace declarations in scope at once: each name is looked up among
// them, so that many would make reading a large document slow.
inline constexpr std::size_t kMaxXmlNamespaces = 256;

// The root element of the document. UTF-8 and UTF-16 (either byte order)
// are read, told apart by the byte order mark or, without one, by how the
// document's first characters are encoded, as XML's own rules do.
Result<XmlElement> parseXml(std::span<const std::uint8_t> bytes);
// The root element of a document handed over as text (UTF-8), such as the
// XML a registered task gives: its characters are decoded already, so the
// encoding its declaration names is not looked at.
Result<XmlElement> parseXmlText(std::string_view text);

// The text without the whitespace XML knows (space, tab, line end) at
// either end.
std::string_view xmlTrimmed(std::string_view text);

// An xs:boolean: "true", "false", "1" or "0", with surrounding whitespace;
// nullopt for anything else.
std::optional<bool> xmlBoolean(std::string_view text);

}  // namespace lsu::formats
