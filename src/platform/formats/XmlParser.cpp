#include <algorithm>
#include <utility>

#include "base/Utf16.h"
#include "platform/formats/Digits.h"
#include "platform/formats/XmlDocument.h"
#include "platform/formats/XmlEncoding.h"

namespace lsu::formats {

namespace {

constexpr std::string_view kXmlNamespace = "http://www.w3.org/XML/1998/namespace";

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' ||
           static_cast<unsigned char>(c) >= 0x80;
}
bool isNameChar(char c) { return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// A character XML lets a document hold.
bool isXmlCharacter(char32_t point) {
    if (point < 0x20) return point == 0x9 || point == 0xA || point == 0xD;
    return (point < 0xD800 || point > 0xDFFF) && point != 0xFFFE && point != 0xFFFF && point <= 0x10FFFF;
}

std::string utf8Of(char32_t point) {
    if (point < 0x10000) return utf8FromUtf16(std::u16string(1, static_cast<char16_t>(point)));
    const char32_t offset = point - 0x10000;
    const char16_t pair[] = {static_cast<char16_t>(0xD800 + (offset >> 10)),
                             static_cast<char16_t>(0xDC00 + (offset & 0x3FF))};
    return utf8FromUtf16(std::u16string_view(pair, 2));
}

// The character a reference stands for: one of the five predefined
// entities or a character number. No other entity exists here, since no
// document type may declare one.
std::optional<std::string> referenced(std::string_view name) {
    static constexpr std::pair<std::string_view, std::string_view> kPredefined[] = {
        {"lt", "<"}, {"gt", ">"}, {"amp", "&"}, {"quot", "\""}, {"apos", "'"}};
    for (auto [entity, text] : kPredefined) {
        if (name == entity) return std::string(text);
    }
    if (!name.starts_with('#')) return std::nullopt;
    // Eight digits hold every character in either base; more could wrap round.
    auto point = name.starts_with("#x") ? numberOfDigits(name.substr(2), 8, 16) : numberOfDigits(name.substr(1), 8);
    if (!point || !isXmlCharacter(*point)) return std::nullopt;
    return utf8Of(*point);
}

struct Binding {
    std::string_view prefix;  // empty for the default namespace
    std::string uri;
};

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    Result<XmlElement> document() {
        XmlElement root;
        const bool parsed = (text_.find('\0') == std::string_view::npos || fail("a NUL character")) && skipMisc() &&
                            (take("<") || fail("no root element")) && element(root, 1) && skipMisc() &&
                            (at_ == text_.size() || fail("content after the root element"));
        if (!parsed) return *error_;
        return root;
    }

private:
    // Records the first failure, with the line it was found on, from the
    // pieces of its message.
    bool fail(std::initializer_list<std::string_view> message) {
        if (!error_) {
            const auto line = 1 + std::count(text_.begin(), text_.begin() + std::min(at_, text_.size()), '\n');
            error_ = Error{ErrorKind::DamagedData, 0, "XML line "};
            error_->message += std::to_string(line);
            error_->message += ": ";
            for (std::string_view piece : message) error_->message += piece;
        }
        return false;
    }
    bool fail(std::string_view message) { return fail({message}); }
    bool lookingAt(std::string_view what) const { return text_.substr(at_).starts_with(what); }
    bool take(std::string_view what) {
        if (!lookingAt(what)) return false;
        at_ += what.size();
        return true;
    }
    bool skipSpaces() {
        const std::size_t start = at_;
        while (at_ < text_.size() && isSpace(text_[at_])) ++at_;
        return at_ > start;
    }
    // Past the next terminator, or a failure naming what was left open.
    bool skipPast(std::string_view terminator, std::string_view what) {
        const std::size_t end = text_.find(terminator, at_);
        if (end == std::string_view::npos) return fail({"unterminated ", what});
        at_ = end + terminator.size();
        return true;
    }

    // Whitespace, comments and processing instructions (the XML declaration
    // among them) outside the root element.
    bool skipMisc() {
        for (;;) {
            skipSpaces();
            if (take("<!--")) {
                if (!skipPast("-->", "comment")) return false;
            } else if (take("<?")) {
                if (!skipPast("?>", "processing instruction")) return false;
            } else if (lookingAt("<!DOCTYPE")) {
                return fail("a document type declaration is refused");
            } else {
                return true;
            }
        }
    }

    std::string_view name() {
        const std::size_t start = at_;
        if (at_ < text_.size() && isNameStart(text_[at_])) {
            while (at_ < text_.size() && isNameChar(text_[at_])) ++at_;
        }
        return text_.substr(start, at_ - start);
    }

    // Character data with its references replaced; in an attribute value a
    // literal tab or line end is a space, as XML normalises them.
    bool appendDecoded(std::string_view raw, std::string& out, bool attribute) {
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '&') {
                out += attribute && isSpace(raw[i]) ? ' ' : raw[i];
                continue;
            }
            const std::size_t end = raw.find(';', i);
            auto character = end == std::string_view::npos ? std::nullopt : referenced(raw.substr(i + 1, end - i - 1));
            if (!character) return fail("an unknown or malformed reference");
            out += *character;
            i = end;
        }
        return true;
    }

    // The innermost declaration of the prefix.
    const std::string* namespaceOf(std::string_view prefix) const {
        auto found = std::find_if(bindings_.rbegin(), bindings_.rend(),
                                  [&](const Binding& binding) { return binding.prefix == prefix; });
        return found == bindings_.rend() ? nullptr : &found->uri;
    }

    // The namespace URI and local name of a qualified name; an attribute
    // without a prefix has no namespace, an element takes the default one.
    bool resolve(std::string_view qname, bool isAttribute, std::string& uri, std::string& local) {
        const std::size_t colon = qname.find(':');
        if (colon == std::string_view::npos) {
            const std::string* bound = isAttribute ? nullptr : namespaceOf("");
            uri = bound ? *bound : std::string();
            local = qname;
            return true;
        }
        const std::string_view prefix = qname.substr(0, colon);
        local = qname.substr(colon + 1);
        if (prefix.empty() || local.empty() || local.find(':') != std::string::npos) {
            return fail({"a malformed name \"", qname, "\""});
        }
        if (prefix == "xml") {
            uri = kXmlNamespace;
            return true;
        }
        const std::string* bound = namespaceOf(prefix);
        if (!bound) return fail({"the prefix \"", prefix, "\" is not declared"});
        uri = *bound;
        return true;
    }

    bool countNode() { return ++nodes_ <= kMaxXmlNodes || fail("more elements and attributes than a document holds"); }

    struct RawAttribute {
        std::string_view qname;
        std::string value;
    };

    bool attributeList(std::vector<RawAttribute>& raw, bool& empty) {
        for (;;) {
            const bool spaced = skipSpaces();
            if (take("/>")) {
                empty = true;
                return true;
            }
            if (take(">")) return true;
            const std::string_view qname = name();
            if (qname.empty() || !spaced) return fail("a malformed start tag");
            skipSpaces();
            if (!take("=")) return fail("an attribute without a value");
            skipSpaces();
            if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\'')) {
                return fail("an attribute value without quotes");
            }
            const char quote = text_[at_++];
            const std::size_t end = text_.find(quote, at_);
            if (end == std::string_view::npos) return fail("an unterminated attribute value");
            const std::string_view literal = text_.substr(at_, end - at_);
            if (literal.find('<') != std::string_view::npos) return fail("a \"<\" in an attribute value");
            RawAttribute attribute{qname, {}};
            if (!appendDecoded(literal, attribute.value, true) || !countNode()) return false;
            raw.push_back(std::move(attribute));
            at_ = end + 1;
        }
    }

    // Declares the namespaces the start tag binds, then resolves the names.
    bool bindAndResolve(std::string_view qname, std::vector<RawAttribute>& raw, XmlElement& out) {
        for (const RawAttribute& attribute : raw) {
            if (attribute.qname == "xmlns") {
                bindings_.push_back({"", attribute.value});
            } else if (attribute.qname.starts_with("xmlns:")) {
                const std::string_view prefix = attribute.qname.substr(6);
                if (attribute.value.empty() || prefix == "xmlns" || prefix == "xml") {
                    return fail("a namespace declaration XML does not allow");
                }
                bindings_.push_back({prefix, attribute.value});
            }
        }
        if (bindings_.size() > kMaxXmlNamespaces) return fail("more namespace declarations than a document holds");
        if (!resolve(qname, false, out.namespaceUri, out.localName)) return false;
        for (RawAttribute& attribute : raw) {
            if (attribute.qname == "xmlns" || attribute.qname.starts_with("xmlns:")) continue;
            XmlAttribute& resolved = out.attributes.emplace_back();
            if (!resolve(attribute.qname, true, resolved.namespaceUri, resolved.localName)) return false;
            resolved.value = std::move(attribute.value);
        }
        std::vector<std::pair<std::string_view, std::string_view>> names;
        for (const XmlAttribute& attribute : out.attributes)
            names.emplace_back(attribute.namespaceUri, attribute.localName);
        std::sort(names.begin(), names.end());
        if (std::adjacent_find(names.begin(), names.end()) != names.end()) return fail("an attribute given twice");
        return true;
    }

    bool content(std::string_view qname, XmlElement& out, std::size_t depth) {
        for (;;) {
            if (at_ >= text_.size()) return fail({"<", qname, "> is not closed"});
            if (take("</")) {
                if (name() != qname) return fail({"the end tag does not match <", qname, ">"});
                skipSpaces();
                return take(">") || fail("a malformed end tag");
            }
            if (take("<!--")) {
                if (!skipPast("-->", "comment")) return false;
            } else if (take("<![CDATA[")) {
                const std::size_t end = text_.find("]]>", at_);
                if (end == std::string_view::npos) return fail("an unterminated CDATA section");
                out.text += text_.substr(at_, end - at_);
                at_ = end + 3;
            } else if (take("<?")) {
                if (!skipPast("?>", "processing instruction")) return false;
            } else if (lookingAt("<!")) {
                return fail("a declaration inside an element");
            } else if (take("<")) {
                if (depth >= kMaxXmlDepth) return fail("elements nested deeper than a document holds");
                XmlElement child;
                if (!element(child, depth + 1)) return false;
                out.children.push_back(std::move(child));
            } else {
                const std::size_t end = std::min(text_.find('<', at_), text_.size());
                if (!appendDecoded(text_.substr(at_, end - at_), out.text, false)) return false;
                at_ = end;
            }
        }
    }

    // An element, from just past its "<".
    bool element(XmlElement& out, std::size_t depth) {
        const std::string_view qname = name();
        if (qname.empty()) return fail("a malformed start tag");
        if (!countNode()) return false;
        std::vector<RawAttribute> raw;
        bool empty = false;
        if (!attributeList(raw, empty)) return false;
        const std::size_t scope = bindings_.size();
        const bool done = bindAndResolve(qname, raw, out) && (empty || content(qname, out, depth));
        bindings_.resize(scope);
        return done;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t nodes_ = 0;
    std::vector<Binding> bindings_;
    std::optional<Error> error_;
};

Error tooLarge() { return Error{ErrorKind::DamagedData, 0, "XML: larger than a document is read"}; }

}  // namespace

Result<XmlElement> parseXml(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > kMaxXmlBytes) return tooLarge();
    auto text = xmlCharactersOf(bytes);
    if (!text) return text.error();
    return Parser(*text).document();
}

Result<XmlElement> parseXmlText(std::string_view text) {
    if (text.size() > kMaxXmlBytes) return tooLarge();
    return Parser(xmlCharactersOfText(text)).document();
}

}  // namespace lsu::formats
