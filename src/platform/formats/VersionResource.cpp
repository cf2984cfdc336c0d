#include "platform/formats/VersionResource.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "base/Utf16.h"
#include "platform/formats/LittleEndian.h"

namespace lsu::formats {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint32_t kResourceDirectoryEntry = 2;
constexpr std::uint32_t kVersionType = 16;  // RT_VERSION
constexpr std::uint32_t kVersionInfoName = 1;
constexpr std::uint32_t kSubdirectory = 0x80000000u;

// Where the bytes of a relative virtual address lie in the file.
std::optional<std::uint64_t> fileOffsetOf(Bytes sections, std::uint16_t count, std::uint32_t rva) {
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::size_t header = std::size_t{i} * 40;
        auto virtualSize = readLe32(sections, header + 8), address = readLe32(sections, header + 12);
        auto rawSize = readLe32(sections, header + 16), rawOffset = readLe32(sections, header + 20);
        if (!virtualSize || !address || !rawSize || !rawOffset) return std::nullopt;
        const std::uint32_t span = *virtualSize > *rawSize ? *virtualSize : *rawSize;
        if (rva >= *address && rva - *address < span) return std::uint64_t{*rawOffset} + (rva - *address);
    }
    return std::nullopt;
}

// The entry of one directory level to follow: the one with this id, or the
// first when any will do.
std::optional<std::uint32_t> directoryEntry(const ByteSource& image, std::uint64_t directory,
                                            std::optional<std::uint32_t> id) {
    const auto header = image.read(directory, 16);
    auto named = readLe16(header, 12), numbered = readLe16(header, 14);
    if (!named || !numbered) return std::nullopt;
    const auto entries = image.read(directory + 16, (std::size_t{*named} + *numbered) * 8);
    for (std::size_t i = 0; i < std::size_t{*named} + *numbered; ++i) {
        auto name = readLe32(entries, i * 8), target = readLe32(entries, i * 8 + 4);
        if (!name || !target) return std::nullopt;
        if (!id || *name == *id) return *target;
    }
    return std::nullopt;
}

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
    const auto dosHeader = image.read(0, 0x40);
    if (readLe16(dosHeader, 0) != 0x5A4D) return {};  // "MZ"
    auto pe = readLe32(dosHeader, 0x3C);
    if (!pe) return {};
    const auto fileHeader = image.read(*pe, 24);
    if (readLe32(fileHeader, 0) != 0x00004550u) return {};  // "PE\0\0"
    auto sectionCount = readLe16(fileHeader, 6), optionalSize = readLe16(fileHeader, 20);
    if (!sectionCount || !optionalSize) return {};
    const std::uint64_t optionalStart = std::uint64_t{*pe} + 24;
    const auto optional = image.read(optionalStart, *optionalSize);
    auto magic = readLe16(optional, 0);
    if (!magic || (*magic != 0x10B && *magic != 0x20B)) return {};
    const std::size_t directories = *magic == 0x20B ? 112 : 96;
    auto directoryCount = readLe32(optional, directories - 4);
    auto resourceRva = readLe32(optional, directories + std::size_t{kResourceDirectoryEntry} * 8);
    if (!directoryCount || *directoryCount <= kResourceDirectoryEntry || !resourceRva || *resourceRva == 0) return {};
    const auto sections = image.read(optionalStart + *optionalSize, std::size_t{*sectionCount} * 40);
    auto resourceStart = fileOffsetOf(sections, *sectionCount, *resourceRva);
    if (!resourceStart) return {};

    // Type RT_VERSION, name VS_VERSION_INFO (1), then the first language.
    std::uint32_t entry = 0;
    for (std::uint32_t id : {kVersionType, kVersionInfoName}) {
        auto next = directoryEntry(image, *resourceStart + (entry & ~kSubdirectory), id);
        if (!next || !(*next & kSubdirectory)) return {};
        entry = *next;
    }
    auto leaf = directoryEntry(image, *resourceStart + (entry & ~kSubdirectory), std::nullopt);
    if (!leaf || (*leaf & kSubdirectory)) return {};
    const auto dataEntry = image.read(*resourceStart + *leaf, 8);
    auto dataRva = readLe32(dataEntry, 0), dataSize = readLe32(dataEntry, 4);
    auto data = dataRva ? fileOffsetOf(sections, *sectionCount, *dataRva) : std::nullopt;
    if (!data || !dataSize) return {};
    // The version block measures itself in 16 bits.
    const auto block = image.read(*data, std::min<std::size_t>(*dataSize, 0x10000));
    if (block.size() < std::min<std::size_t>(*dataSize, 0x10000)) return {};
    return companyNameOfBlock(block);
}

std::string companyNameOfImage(Bytes image) { return companyNameOfImage(SpanSource(image)); }

}  // namespace lsu::formats
