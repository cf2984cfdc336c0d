#include "platform/formats/XmlDocument.h"

namespace lsu::formats {

const XmlElement* XmlElement::firstChild(std::string_view uri, std::string_view name) const {
    for (const XmlElement& child : children) {
        if (child.is(uri, name)) return &child;
    }
    return nullptr;
}

std::vector<const XmlElement*> XmlElement::childrenNamed(std::string_view uri, std::string_view name) const {
    std::vector<const XmlElement*> found;
    for (const XmlElement& child : children) {
        if (child.is(uri, name)) found.push_back(&child);
    }
    return found;
}

std::optional<std::string_view> XmlElement::attribute(std::string_view uri, std::string_view name) const {
    for (const XmlAttribute& candidate : attributes) {
        if (candidate.namespaceUri == uri && candidate.localName == name) return candidate.value;
    }
    return std::nullopt;
}

std::string_view xmlTrimmed(std::string_view text) {
    constexpr std::string_view kSpaces = " \t\n";
    const std::size_t first = text.find_first_not_of(kSpaces);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kSpaces) - first + 1);
}

std::optional<bool> xmlBoolean(std::string_view text) {
    const std::string_view value = xmlTrimmed(text);
    if (value == "true" || value == "1") return true;
    if (value == "false" || value == "0") return false;
    return std::nullopt;
}

}  // namespace lsu::formats
