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

// Where the bytes of a relative virtual address lie in the file, by the
// section table's 40-byte headers.
std::optional<std::uint64_t> fileOffsetOf(Bytes sections, std::uint32_t rva) {
    for (std::size_t header = 0; header + 40 <= sections.size(); header += 40) {
        auto virtualSize = readLe32(sections, header + 8), address = readLe32(sections, header + 12);
        auto rawSize = readLe32(sections, header + 16), rawOffset = readLe32(sections, header + 20);
        const std::uint32_t span = *virtualSize > *rawSize ? *virtualSize : *rawSize;
        if (rva >= *address && rva - *address < span) return std::uint64_t{*rawOffset} + (rva - *address);
    }
    return std::nullopt;
}

struct DirectoryEntry {
    std::uint32_t name = 0;    // an id, or with kNamedEntry set the offset of a name
    std::uint32_t target = 0;  // with kSubdirectory set a directory, else a data entry
};

// The entries of one level of the resource directory; nullopt when they do
// not lie within the file.
std::optional<std::vector<DirectoryEntry>> directoryEntries(const ByteSource& image, std::uint64_t directory) {
    const auto header = image.read(directory, 16);
    auto named = readLe16(header, 12), numbered = readLe16(header, 14);
    if (!named || !numbered) return std::nullopt;
    const std::size_t count = std::size_t{*named} + *numbered;
    const auto table = image.read(directory + 16, count * 8);
    if (table.size() < count * 8) return std::nullopt;
    std::vector<DirectoryEntry> entries(count);
    for (std::size_t i = 0; i < count; ++i) {
        entries[i].name = *readLe32(table, i * 8);
        entries[i].target = *readLe32(table, i * 8 + 4);
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

Result<std::vector<std::uint8_t>> resourceData(const ByteSource& image, std::uint32_t type, std::uint32_t name,
                                               std::size_t maxSize, std::span<const std::uint16_t> languages) {
    const auto dosHeader = image.read(0, 0x40);
    if (readLe16(dosHeader, 0) != 0x5A4D) return damaged("no MZ header");
    auto pe = readLe32(dosHeader, 0x3C);
    const auto fileHeader = pe ? image.read(*pe, 24) : std::vector<std::uint8_t>{};
    if (readLe32(fileHeader, 0) != 0x00004550u) return damaged("no PE header");
    auto sectionCount = readLe16(fileHeader, 6), optionalSize = readLe16(fileHeader, 20);
    if (!sectionCount || !optionalSize) return damaged("a file header cut short");
    const std::uint64_t optionalStart = std::uint64_t{*pe} + 24;
    const auto optional = image.read(optionalStart, *optionalSize);
    auto magic = readLe16(optional, 0);
    if (!magic || (*magic != 0x10B && *magic != 0x20B)) return damaged("a malformed optional header");
    const std::size_t directories = *magic == 0x20B ? 112 : 96;
    auto directoryCount = readLe32(optional, directories - 4);
    auto resourceRva = readLe32(optional, directories + std::size_t{kResourceDirectoryEntry} * 8);
    if (!directoryCount || *directoryCount <= kResourceDirectoryEntry || !resourceRva || *resourceRva == 0) {
        return Error{ErrorKind::NotFound, 0, "PE image: no resources"};
    }
    const auto sections = image.read(optionalStart + *optionalSize, std::size_t{*sectionCount} * 40);
    if (sections.size() < std::size_t{*sectionCount} * 40) return damaged("the section table lies outside the file");
    auto resourceStart = fileOffsetOf(sections, *resourceRva);
    if (!resourceStart) return damaged("the resources lie outside the file");

    // Type, then name: each a subdirectory; then the language: a data entry.
    std::uint32_t directory = 0;
    for (std::uint32_t id : {type, name}) {
        auto entries = directoryEntries(image, *resourceStart + directory);
        if (!entries) return damaged("a resource directory outside the file");
        const DirectoryEntry* entry = numberedEntry(*entries, id);
        if (!entry) return noResource(type, name);
        if (!(entry->target & kSubdirectory)) return damaged("a resource directory without its levels");
        directory = entry->target & ~kSubdirectory;
    }
    auto entries = directoryEntries(image, *resourceStart + directory);
    if (!entries) return damaged("a resource directory outside the file");
    const DirectoryEntry* leaf = languageEntry(*entries, languages);
    if (!leaf) return noResource(type, name);
    if (leaf->target & kSubdirectory) return damaged("a resource directory deeper than three levels");
    const auto dataEntry = image.read(*resourceStart + leaf->target, 8);
    auto dataRva = readLe32(dataEntry, 0), dataSize = readLe32(dataEntry, 4);
    auto data = dataRva ? fileOffsetOf(sections, *dataRva) : std::nullopt;
    if (!data || !dataSize) return damaged("resource data outside the file");
    if (*dataSize > maxSize) return damaged("a resource larger than its kind can be");
    auto bytes = image.read(*data, *dataSize);
    if (bytes.size() < *dataSize) return damaged("resource data outside the file");
    return bytes;
}

}  // namespace lsu::formats
