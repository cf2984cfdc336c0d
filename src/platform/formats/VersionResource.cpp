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
std::optional<std::size_t> fileOffsetOf(Bytes image, std::size_t sections, std::uint16_t count, std::uint32_t rva) {
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::size_t header = sections + std::size_t{i} * 40;
        auto virtualSize = readLe32(image, header + 8), address = readLe32(image, header + 12);
        auto rawSize = readLe32(image, header + 16), rawOffset = readLe32(image, header + 20);
        if (!virtualSize || !address || !rawSize || !rawOffset) return std::nullopt;
        const std::uint32_t span = *virtualSize > *rawSize ? *virtualSize : *rawSize;
        if (rva >= *address && rva - *address < span) return std::size_t{*rawOffset} + (rva - *address);
    }
    return std::nullopt;
}

// The entry of one directory level to follow: the one with this id, or the
// first when any will do.
std::optional<std::uint32_t> directoryEntry(Bytes resources, std::size_t directory, std::optional<std::uint32_t> id) {
    auto named = readLe16(resources, directory + 12), numbered = readLe16(resources, directory + 14);
    if (!named || !numbered) return std::nullopt;
    for (std::size_t i = 0; i < std::size_t{*named} + *numbered; ++i) {
        auto name = readLe32(resources, directory + 16 + i * 8), target = readLe32(resources, directory + 20 + i * 8);
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

std::string companyNameOfImage(Bytes image) {
    if (readLe16(image, 0) != 0x5A4D) return {};  // "MZ"
    auto pe = readLe32(image, 0x3C);
    if (!pe || readLe32(image, *pe) != 0x00004550u) return {};  // "PE\0\0"
    auto sectionCount = readLe16(image, *pe + 6), optionalSize = readLe16(image, *pe + 20);
    const std::size_t optional = std::size_t{*pe} + 24;
    auto magic = readLe16(image, optional);
    if (!sectionCount || !optionalSize || !magic || (*magic != 0x10B && *magic != 0x20B)) return {};
    const std::size_t directories = optional + (*magic == 0x20B ? 112 : 96);
    auto directoryCount = readLe32(image, directories - 4);
    auto resourceRva = readLe32(image, directories + std::size_t{kResourceDirectoryEntry} * 8);
    if (!directoryCount || *directoryCount <= kResourceDirectoryEntry || !resourceRva || *resourceRva == 0) return {};
    const std::size_t sections = optional + *optionalSize;
    auto resourceStart = fileOffsetOf(image, sections, *sectionCount, *resourceRva);
    if (!resourceStart || *resourceStart >= image.size()) return {};
    const Bytes resources = image.subspan(*resourceStart);

    // Type RT_VERSION, name VS_VERSION_INFO (1), then the first language.
    std::uint32_t entry = 0;
    for (std::uint32_t id : {kVersionType, kVersionInfoName}) {
        auto next = directoryEntry(resources, entry & ~kSubdirectory, id);
        if (!next || !(*next & kSubdirectory)) return {};
        entry = *next;
    }
    auto leaf = directoryEntry(resources, entry & ~kSubdirectory, std::nullopt);
    if (!leaf || (*leaf & kSubdirectory)) return {};
    auto dataRva = readLe32(resources, *leaf), dataSize = readLe32(resources, *leaf + 4);
    auto data = dataRva ? fileOffsetOf(image, sections, *sectionCount, *dataRva) : std::nullopt;
    if (!data || !dataSize || *data > image.size() || image.size() - *data < *dataSize) return {};
    return companyNameOfBlock(image.subspan(*data, *dataSize));
}

}  // namespace lsu::formats
