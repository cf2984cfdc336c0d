// The XML reader: what a well-formed document reads as, the encodings files
// come in, and that every malformed, oversized or hostile document is
// refused as damaged data.

#include <gtest/gtest.h>

#include <string>

#include "formats/DocumentBytes.h"
#include "platform/formats/XmlDocument.h"

namespace lsu::formats {
namespace {

using test::ByteOrder;
using test::bytesOf;
using test::utf16BytesOf;

// A tree in one line: {uri}name[attributes]"text"(children).
std::string rendered(const XmlElement& element) {
    std::string out =
        element.namespaceUri.empty() ? element.localName : "{" + element.namespaceUri + "}" + element.localName;
    if (!element.attributes.empty()) {
        out += "[";
        for (const XmlAttribute& attribute : element.attributes) {
            if (out.back() != '[') out += " ";
            if (!attribute.namespaceUri.empty()) out += "{" + attribute.namespaceUri + "}";
            out += attribute.localName + "=" + attribute.value;
        }
        out += "]";
    }
    if (!element.text.empty()) out += "\"" + element.text + "\"";
    if (!element.children.empty()) {
        out += "(";
        for (const XmlElement& child : element.children) out += (out.back() == '(' ? "" : " ") + rendered(child);
        out += ")";
    }
    return out;
}

std::string readAs(const std::vector<std::uint8_t>& bytes) {
    auto root = parseXml(bytes);
    return root ? rendered(*root) : "error: " + root.error().message;
}

std::string readAs(std::string_view document) { return readAs(bytesOf(document)); }

struct ReadCase {
    const char* what;
    const char* document;
    const char* tree;
};

TEST(XmlReader, WellFormedDocumentsReadAsTheirTree) {
    const ReadCase cases[] = {
        {"an empty element", "<a/>", "a"},
        {"a declaration and a comment before the root", "<?xml version=\"1.0\"?>\n<!-- c --><a></a>", "a"},
        {"attributes in either quotes", "<a x='1' y=\"2\"/>", "a[x=1 y=2]"},
        {"spaces around the equals sign", "<a x = '1'/>", "a[x=1]"},
        {"text", "<a>hello world</a>", "a\"hello world\""},
        {"children in order", "<a><b/><c>t</c><b/></a>", "a(b c\"t\" b)"},
        {"the five predefined entities", "<a>&lt;&gt;&amp;&quot;&apos;</a>", "a\"<>&\"'\""},
        {"decimal and hexadecimal character references", "<a>&#65;&#x42;&#x20AC;&#x1F600;</a>",
         "a\"AB\xE2\x82\xAC\xF0\x9F\x98\x80\""},
        {"the last character Unicode has", "<a>&#x10FFFF;</a>", "a\"\xF4\x8F\xBF\xBF\""},
        {"references in an attribute", "<a v='&lt;&#x41;&amp;'/>", "a[v=<A&]"},
        {"a tab and line end in an attribute become spaces", "<a v='1\t2\n3'/>", "a[v=1 2 3]"},
        {"a referenced line end in an attribute stays", "<a v='1&#10;2'/>", "a[v=1\n2]"},
        {"CDATA kept as written", "<a><![CDATA[<b>&amp;</b>]]></a>", "a\"<b>&amp;</b>\""},
        {"comments and instructions inside skipped", "<a>x<!-- <b/> --><?pi data?>y</a>", "a\"xy\""},
        {"a CR LF line end read as LF", "<a>1\r\n2\r3</a>", "a\"1\n2\n3\""},
        {"a default namespace", "<a xmlns='urn:x'><b/></a>", "{urn:x}a({urn:x}b)"},
        {"a prefix resolved to its URI", "<p:a xmlns:p='urn:p'><p:b/></p:a>", "{urn:p}a({urn:p}b)"},
        {"a prefix rebound inside", "<p:a xmlns:p='urn:1'><p:b xmlns:p='urn:2'/><p:c/></p:a>",
         "{urn:1}a({urn:2}b {urn:1}c)"},
        {"a default namespace undeclared inside", "<a xmlns='urn:x'><b xmlns=''/></a>", "{urn:x}a(b)"},
        {"an attribute without a prefix in no namespace", "<a xmlns='urn:x' v='1'/>", "{urn:x}a[v=1]"},
        {"a prefixed attribute in its namespace", "<a xmlns:q='urn:q' q:v='1'/>", "a[{urn:q}v=1]"},
        {"the xml prefix bound without a declaration", "<a xml:lang='en'/>",
         "a[{http://www.w3.org/XML/1998/namespace}lang=en]"},
        {"non-ASCII names and text", "<\xC3\xA9l\xC3\xA9ment>caf\xC3\xA9</\xC3\xA9l\xC3\xA9ment>",
         "\xC3\xA9l\xC3\xA9ment\"caf\xC3\xA9\""},
    };
    for (const ReadCase& c : cases) EXPECT_EQ(readAs(c.document), c.tree) << c.what;
}

TEST(XmlReader, TextAlreadyDecodedIsReadWhateverItsDeclarationNames) {
    auto root = parseXmlText("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<a>caf\xC3\xA9\r\n</a>");
    ASSERT_TRUE(root) << root.error().message;
    EXPECT_EQ(rendered(*root), "a\"caf\xC3\xA9\n\"");
}

TEST(XmlReader, NulsAfterTheDocumentAreDropped) {
    EXPECT_EQ(readAs(bytesOf(std::string_view("<a>x</a>\0\0", 10))), "a\"x\"");
}

struct EncodingCase {
    const char* what;
    std::vector<std::uint8_t> bytes;
    const char* tree;
};

TEST(XmlReader, EncodingsAreReadAsTheirMarkOrDeclarationSays) {
    const std::string declaredUtf16 = "<?xml version=\"1.0\" encoding=\"UTF-16\"?><Task>caf\xC3\xA9</Task>";
    const std::string undeclared = "<Task>caf\xC3\xA9</Task>";
    const EncodingCase cases[] = {
        {"UTF-8 with a mark", bytesOf("\xEF\xBB\xBF<Task>caf\xC3\xA9</Task>"), "Task\"caf\xC3\xA9\""},
        {"UTF-8 declared", bytesOf("<?xml version='1.0' encoding='utf-8'?><Task/>"), "Task"},
        {"UTF-16LE with a mark", utf16BytesOf(declaredUtf16, ByteOrder::Little, true), "Task\"caf\xC3\xA9\""},
        {"UTF-16BE with a mark", utf16BytesOf(declaredUtf16, ByteOrder::Big, true), "Task\"caf\xC3\xA9\""},
        {"UTF-16LE declared without a mark", utf16BytesOf(declaredUtf16, ByteOrder::Little, false),
         "Task\"caf\xC3\xA9\""},
        {"UTF-16BE declared without a mark", utf16BytesOf(declaredUtf16, ByteOrder::Big, false), "Task\"caf\xC3\xA9\""},
        {"a mark wins over the declaration",
         utf16BytesOf("<?xml version='1.0' encoding='UTF-8'?><Task/>", ByteOrder::Little, true), "Task"},
        {"UTF-16LE named without a mark",
         utf16BytesOf("<?xml version='1.0' encoding='utf-16le'?><Task/>", ByteOrder::Little, false), "Task"},
        {"UTF-16BE named without a mark",
         utf16BytesOf("<?xml version='1.0' encoding='UTF-16BE'?><Task/>", ByteOrder::Big, false), "Task"},
        {"UTF-16 without a mark or declaration", utf16BytesOf(undeclared, ByteOrder::Little, false),
         "error: XML: UTF-16 without a byte order mark or a declaration"},
        {"the other byte order named",
         utf16BytesOf("<?xml version='1.0' encoding='UTF-16BE'?><Task/>", ByteOrder::Little, false),
         "error: XML: the declared encoding \"UTF-16BE\" is not how the bytes are written"},
        {"UTF-16 named on UTF-8 bytes", bytesOf("<?xml version='1.0' encoding='UTF-16'?><Task/>"),
         "error: XML: the declared encoding \"UTF-16\" is not how the bytes are written"},
        {"a single-byte encoding declared", bytesOf("<?xml version='1.0' encoding='windows-1252'?><Task/>"),
         "error: XML: the declared encoding \"windows-1252\" is not how the bytes are written"},
    };
    for (const EncodingCase& c : cases) EXPECT_EQ(readAs(c.bytes), c.tree) << c.what;
}

struct MalformedCase {
    const char* what;
    std::string document;
};

TEST(XmlReader, MalformedDocumentsAreDamagedData) {
    const MalformedCase cases[] = {
        {"nothing", ""},
        {"only a declaration", "<?xml version='1.0'?>"},
        {"text only", "hello"},
        {"an unclosed root", "<a><b/>"},
        {"mismatched end tag", "<a></b>"},
        {"overlapping elements", "<a><b></a></b>"},
        {"two roots", "<a/><b/>"},
        {"text after the root", "<a/>x"},
        {"an attribute without quotes", "<a x=1/>"},
        {"an attribute without a value", "<a x/>"},
        {"attributes without space between", "<a x='1'y='2'/>"},
        {"an attribute given twice", "<a x='1' x='2'/>"},
        {"an attribute given twice through prefixes", "<a xmlns:p='urn:1' xmlns:q='urn:1' p:x='1' q:x='2'/>"},
        {"an unterminated attribute value", "<a x='1/>"},
        {"a < in an attribute value", "<a x='<'/>"},
        {"an unknown entity", "<a>&nbsp;</a>"},
        {"an ampersand alone", "<a>fish & chips</a>"},
        {"a reference to character 0", "<a>&#0;</a>"},
        {"a reference to a surrogate", "<a>&#xD800;</a>"},
        {"a reference beyond Unicode", "<a>&#x110000;</a>"},
        {"a malformed character number", "<a>&#x;</a>"},
        {"a character number that wraps round to a character", "<a>&#4294967361;</a>"},
        {"an undeclared prefix", "<p:a/>"},
        {"an undeclared attribute prefix", "<a p:x='1'/>"},
        {"a name with two colons", "<a xmlns:p='urn:p'><p:b:c/></a>"},
        {"an empty prefix", "<a xmlns:p='urn:p'><:b/></a>"},
        {"an empty local name", "<a xmlns:p='urn:p'><p:/></a>"},
        {"a prefix bound to nothing", "<a xmlns:p=''/>"},
        {"an unterminated comment", "<a><!-- </a>"},
        {"an unterminated CDATA section", "<a><![CDATA[x</a>"},
        {"an unterminated instruction", "<?xml version='1.0'<a/>"},
        {"a NUL inside", std::string("<a>x\0y</a>", 10)},
        {"a declaration inside an element", "<a><!ELEMENT a ANY></a>"},
        {"a malformed start tag", "<1a/>"},
        {"a malformed end tag", "<a></a x>"},
    };
    for (const MalformedCase& c : cases) {
        auto root = parseXml(bytesOf(c.document));
        ASSERT_FALSE(root) << c.what;
        EXPECT_EQ(root.error().kind, ErrorKind::DamagedData) << c.what;
    }
}

TEST(XmlReader, ADocumentTypeIsRefusedSoNoEntityIsExpanded) {
    std::string bomb = "<?xml version='1.0'?><!DOCTYPE lolz [<!ENTITY lol 'lol'>";
    for (int level = 1; level < 10; ++level) {
        bomb += "<!ENTITY lol" + std::to_string(level) + " '";
        for (int i = 0; i < 10; ++i) bomb += "&lol" + (level == 1 ? std::string() : std::to_string(level - 1)) + ";";
        bomb += "'>";
    }
    bomb += "]><lolz>&lol9;</lolz>";
    auto root = parseXml(bytesOf(bomb));
    ASSERT_FALSE(root);
    EXPECT_EQ(root.error().message, "XML line 1: a document type declaration is refused");
}

std::string nested(std::size_t depth) {
    std::string document;
    for (std::size_t i = 0; i < depth; ++i) document += "<e>";
    for (std::size_t i = 0; i < depth; ++i) document += "</e>";
    return document;
}

TEST(XmlReader, NestingIsBoundedAtTheLimit) {
    EXPECT_TRUE(parseXml(bytesOf(nested(kMaxXmlDepth))));
    EXPECT_FALSE(parseXml(bytesOf(nested(kMaxXmlDepth + 1))));
}

TEST(XmlReader, NodeCountIsBoundedAtTheLimit) {
    const auto document = [](std::size_t elements, std::size_t attributes) {
        std::string text = "<r";
        for (std::size_t i = 0; i < attributes; ++i) text += " a" + std::to_string(i) + "=''";
        text += ">";
        for (std::size_t i = 1; i < elements; ++i) text += "<e/>";
        return text + "</r>";
    };
    EXPECT_TRUE(parseXml(bytesOf(document(kMaxXmlNodes - 10, 10))));
    EXPECT_FALSE(parseXml(bytesOf(document(kMaxXmlNodes - 10, 11))));
    EXPECT_FALSE(parseXml(bytesOf(document(kMaxXmlNodes + 1, 0))));
}

TEST(XmlReader, NamespacesInScopeAreBoundedAtTheLimit) {
    const auto declarations = [](std::size_t from, std::size_t count) {
        std::string text;
        for (std::size_t i = from; i < from + count; ++i) text += " xmlns:p" + std::to_string(i) + "='urn:x'";
        return text;
    };
    EXPECT_TRUE(parseXml(bytesOf("<r" + declarations(0, kMaxXmlNamespaces) + "/>")));
    EXPECT_FALSE(parseXml(bytesOf("<r" + declarations(0, kMaxXmlNamespaces + 1) + "/>")));
    EXPECT_FALSE(
        parseXml(bytesOf("<r" + declarations(0, kMaxXmlNamespaces) + "><e" + declarations(1000, 1) + "/></r>")));
    EXPECT_TRUE(parseXml(bytesOf("<r><e" + declarations(0, kMaxXmlNamespaces) + "/><e" +
                                 declarations(0, kMaxXmlNamespaces) + "/></r>")));
}

TEST(XmlReader, ALargerDocumentThanTheLimitIsRefusedUnread) {
    std::string document = "<a>" + std::string(kMaxXmlBytes, 'x') + "</a>";
    auto root = parseXml(bytesOf(document));
    ASSERT_FALSE(root);
    EXPECT_EQ(root.error().message, "XML: larger than a document is read");
}

TEST(XmlReader, EveryCutShortDocumentIsRefused) {
    const std::string document =
        "<?xml version='1.0'?><p:a xmlns:p='urn:p' x='1'><!-- c --><b>t&amp;<![CDATA[c]]></b><c/></p:a>";
    for (std::size_t length = 0; length < document.size(); ++length) {
        EXPECT_FALSE(parseXml(bytesOf(document.substr(0, length)))) << length;
    }
}

TEST(XmlReader, AnErrorNamesItsLine) {
    auto root = parseXml(bytesOf("<a>\n<b>\n</c></a>"));
    ASSERT_FALSE(root);
    EXPECT_EQ(root.error().message, "XML line 3: the end tag does not match <b>");
}

struct LookupCase {
    const char* what;
    bool found;
};

TEST(XmlReader, ElementsAndAttributesAreFoundByNamespaceAndName) {
    auto root = parseXml(bytesOf("<r xmlns='urn:a' xmlns:b='urn:b' v='1' b:v='2'><c/><b:c/><c/></r>"));
    ASSERT_TRUE(root);
    const LookupCase cases[] = {
        {"first child in the default namespace", root->firstChild("urn:a", "c") == &root->children[0]},
        {"first child in a prefixed namespace", root->firstChild("urn:b", "c") == &root->children[1]},
        {"no child in a namespace not used", root->firstChild("urn:x", "c") == nullptr},
        {"children by name", root->childrenNamed("urn:a", "c").size() == 2},
        {"an attribute without a prefix", root->attribute("v") == "1"},
        {"a prefixed attribute", root->attribute("urn:b", "v") == "2"},
        {"no attribute of another name", !root->attribute("w")},
    };
    for (const LookupCase& c : cases) EXPECT_TRUE(c.found) << c.what;
}

TEST(XmlReader, BooleansAreReadAsXmlSchemaWritesThem) {
    const std::pair<const char*, std::optional<bool>> cases[] = {
        {"true", true},         {" 1\n", true},        {"false", false},  {"0", false},
        {"True", std::nullopt}, {"yes", std::nullopt}, {"", std::nullopt}};
    for (const auto& [text, value] : cases) EXPECT_EQ(xmlBoolean(text), value) << text;
}

}  // namespace
}  // namespace lsu::formats
