#include "platform/formats/PeResources.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/formats/LittleEndian.h"

namespace lsu::formats {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint32_t kResourceDirectoryEntry = 2;
constexpr std::uint32_t kSubdirectory = 0x80000000u;
constexpr std::uint32_t kNamedEntry = 0x80000000u;
constexpr std::uint16_t kPrimaryLanguageMask = 0x3FF;

Error damaged(const std::string& what) { return Error{ErrorKind::DamagedData, 0, "PE image: " + what}; }
Error noResource(std::uint32_t type, std::uint32_t name) {
    std::string message = "PE image: no resource ";
    message += std::to_string(type) + "/" + std::to_string(name);
    return Error{ErrorKind::NotFound, 0, message};
}

struct SectionTable {
    std::size_t start = 0;
    std::uint16_t count = 0;
};

// Where the bytes of a relative virtual address lie in the file.
std::optional<std::size_t> fileOffsetOf(Bytes image, SectionTable sections, std::uint32_t rva) {
    for (std::uint16_t i = 0; i < sections.count; ++i) {
        const std::size_t header = sections.start + std::size_t{i} * 40;
        auto virtualSize = readLe32(image, header + 8), address = readLe32(image, header + 12);
        auto rawSize = readLe32(image, header + 16), rawOffset = readLe32(image, header + 20);
        if (!virtualSize || !address || !rawSize || !rawOffset) return std::nullopt;
        const std::uint32_t span = *virtualSize > *rawSize ? *virtualSize : *rawSize;
        if (rva >= *address && rva - *address < span) return std::size_t{*rawOffset} + (rva - *address);
    }
    return std::nullopt;
}

struct DirectoryEntry {
    std::uint32_t name = 0;    // an id, or with kNamedEntry set the offset of a name
    std::uint32_t target = 0;  // with kSubdirectory set a directory, else a data entry
};

// The entries of one level of the resource directory; nullopt when they do
// not lie within the bytes.
std::optional<std::vector<DirectoryEntry>> directoryEntries(Bytes resources, std::uint32_t directory) {
    auto named = readLe16(resources, std::size_t{directory} + 12);
    auto numbered = readLe16(resources, std::size_t{directory} + 14);
    if (!named || !numbered) return std::nullopt;
    const std::size_t count = std::size_t{*named} + *numbered;
    if (resources.size() - (std::size_t{directory} + 16) < count * 8) return std::nullopt;
    std::vector<DirectoryEntry> entries(count);
    for (std::size_t i = 0; i < count; ++i) {
        entries[i].name = *readLe32(resources, std::size_t{directory} + 16 + i * 8);
        entries[i].target = *readLe32(resources, std::size_t{directory} + 20 + i * 8);
    }
    return entries;
}

const DirectoryEntry* numberedEntry(const std::vector<DirectoryEntry>& entries, std::uint32_t id) {
    for (const DirectoryEntry& entry : entries) {
        if (!(entry.name & kNamedEntry) && entry.name == id) return &entry;
    }
    return nullptr;
}

const DirectoryEntry* languageEntry(const std::vector<DirectoryEntry>& entries,
                                    std::span<const std::uint16_t> languages) {
    for (std::uint16_t language : languages) {
        if (const DirectoryEntry* exact = numberedEntry(entries, language)) return exact;
    }
    for (std::uint16_t language : languages) {
        for (const DirectoryEntry& entry : entries) {
            if (!(entry.name & kNamedEntry) &&
                (entry.name & kPrimaryLanguageMask) == (language & kPrimaryLanguageMask)) {
                return &entry;
            }
        }
    }
    if (const DirectoryEntry* neutral = numberedEntry(entries, 0)) return neutral;
    return entries.empty() ? nullptr : &entries.front();
}

}  // namespace

Result<Bytes> resourceData(Bytes image, std::uint32_t type, std::uint32_t name,
                           std::span<const std::uint16_t> languages) {
    if (readLe16(image, 0) != 0x5A4D) return damaged("no MZ header");
    auto pe = readLe32(image, 0x3C);
    if (!pe || readLe32(image, *pe) != 0x00004550u) return damaged("no PE header");
    auto sectionCount = readLe16(image, std::size_t{*pe} + 6), optionalSize = readLe16(image, std::size_t{*pe} + 20);
    const std::size_t optional = std::size_t{*pe} + 24;
    auto magic = readLe16(image, optional);
    if (!sectionCount || !optionalSize || !magic || (*magic != 0x10B && *magic != 0x20B)) {
        return damaged("a malformed optional header");
    }
    const std::size_t directories = optional + (*magic == 0x20B ? 112 : 96);
    auto directoryCount = readLe32(image, directories - 4);
    auto resourceRva = readLe32(image, directories + std::size_t{kResourceDirectoryEntry} * 8);
    if (!directoryCount || *directoryCount <= kResourceDirectoryEntry || !resourceRva || *resourceRva == 0) {
        return Error{ErrorKind::NotFound, 0, "PE image: no resources"};
    }
    const SectionTable sections{optional + *optionalSize, *sectionCount};
    auto resourceStart = fileOffsetOf(image, sections, *resourceRva);
    if (!resourceStart || *resourceStart >= image.size()) return damaged("the resources lie outside the file");
    const Bytes resources = image.subspan(*resourceStart);

    // Type, then name: each a subdirectory; then the language: a data entry.
    std::uint32_t directory = 0;
    for (std::uint32_t id : {type, name}) {
        auto entries = directoryEntries(resources, directory);
        if (!entries) return damaged("a resource directory outside the file");
        const DirectoryEntry* entry = numberedEntry(*entries, id);
        if (!entry) return noResource(type, name);
        if (!(entry->target & kSubdirectory)) return damaged("a resource directory without its levels");
        directory = entry->target & ~kSubdirectory;
    }
    auto entries = directoryEntries(resources, directory);
    if (!entries) return damaged("a resource directory outside the file");
    const DirectoryEntry* leaf = languageEntry(*entries, languages);
    if (!leaf) return noResource(type, name);
    if (leaf->target & kSubdirectory) return damaged("a resource directory deeper than three levels");
    auto dataRva = readLe32(resources, leaf->target), dataSize = readLe32(resources, std::size_t{leaf->target} + 4);
    auto data = dataRva ? fileOffsetOf(image, sections, *dataRva) : std::nullopt;
    if (!data || !dataSize || *data > image.size() || image.size() - *data < *dataSize) {
        return damaged("resource data outside the file");
    }
    return image.subspan(*data, *dataSize);
}

}  // namespace lsu::formats
