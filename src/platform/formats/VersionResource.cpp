#include "platform/formats/VersionResource.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "base/Utf16.h"
#include "platform/formats/LittleEndian.h"
#include "platform/formats/PeResources.h"

namespace lsu::formats {

namespace {

using Bytes = std::span<const std::uint8_t>;

// One node of the VS_VERSIONINFO tree: its key, its value and its children.
struct VersionNode {
    std::size_t start = 0, end = 0;
    std::u16string key;
    std::size_t value = 0, valueLength = 0;
    std::size_t children = 0;
};

// A node of type 1 holds text, its value length counted in UTF-16 units.
std::optional<VersionNode> nodeAt(Bytes block, std::size_t at, std::size_t limit) {
    auto length = readLe16(block, at), valueLength = readLe16(block, at + 2), type = readLe16(block, at + 4);
    if (!length || !valueLength || !type || *length < 6 || at + *length > limit) return std::nullopt;
    VersionNode node;
    node.start = at;
    node.end = at + *length;
    std::size_t cursor = at + 6;
    for (;;) {
        auto unit = readLe16(block, cursor);
        if (!unit || cursor >= node.end) return std::nullopt;
        cursor += 2;
        if (*unit == 0) break;
        node.key += static_cast<char16_t>(*unit);
    }
    node.value = (cursor + 3) & ~std::size_t{3};
    node.valueLength = *type == 1 ? std::size_t{*valueLength} * 2 : *valueLength;
    node.children = (node.value + node.valueLength + 3) & ~std::size_t{3};
    return node;
}

bool sameKey(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The child of the node named key, compared as the version functions do.
std::optional<VersionNode> childNamed(Bytes block, const VersionNode& parent, std::u16string_view key) {
    for (std::size_t at = parent.children; at + 6 <= parent.end;) {
        auto child = nodeAt(block, at, parent.end);
        if (!child) return std::nullopt;
        if (sameKey(child->key, key)) return child;
        at = (child->end + 3) & ~std::size_t{3};
    }
    return std::nullopt;
}

std::string companyNameOfBlock(Bytes block) {
    auto root = nodeAt(block, 0, block.size());
    if (!root) return {};
    auto varInfo = childNamed(block, *root, u"VarFileInfo");
    auto translation = varInfo ? childNamed(block, *varInfo, u"Translation") : std::nullopt;
    auto language = translation ? readLe16(block, translation->value) : std::nullopt;
    auto codePage = translation ? readLe16(block, translation->value + 2) : std::nullopt;
    if (!language || !codePage || translation->valueLength < 4) return {};
    char tableName[9];
    std::snprintf(tableName, sizeof tableName, "%04x%04x", unsigned{*language}, unsigned{*codePage});
    auto strings = childNamed(block, *root, u"StringFileInfo");
    auto table = strings ? childNamed(block, *strings, utf16FromUtf8(tableName)) : std::nullopt;
    auto company = table ? childNamed(block, *table, u"CompanyName") : std::nullopt;
    if (!company || company->value + company->valueLength > company->end) return {};
    std::u16string text = utf16FromBytes(block.subspan(company->value, company->valueLength));
    text.resize(std::min(text.find(u'\0'), text.size()));
    return utf8FromUtf16(text);
}

}  // namespace

std::string companyNameOfImage(const ByteSource& image) {
    constexpr std::uint32_t kVersionInfoName = 1;  // VS_VERSION_INFO
    // The block measures itself in 16 bits; a resource claiming far more is no version resource.
    constexpr std::size_t kLargestVersionResource = 1u << 20;
    auto block = resourceData(image, kVersionResourceType, kVersionInfoName, kLargestVersionResource);
    return block ? companyNameOfBlock(*block) : std::string();
}

std::string companyNameOfImage(Bytes image) { return companyNameOfImage(SpanSource(image)); }

}  // namespace lsu::formats
