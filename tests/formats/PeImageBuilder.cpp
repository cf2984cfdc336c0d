#include "formats/PeImageBuilder.h"

#include <array>
#include <string_view>

#include "base/Utf16.h"
#include "platform/formats/LittleEndian.h"

namespace lsu::test {

namespace {

// A code section comes first, as in a linked library, so that addresses are
// looked up among several sections.
constexpr std::uint32_t kCodeRva = 0x1000;
constexpr std::uint32_t kCodeFileOffset = 0x200;
constexpr std::uint32_t kCodeSize = kResourceSectionOffset - kCodeFileOffset;
constexpr std::uint32_t kSectionRva = 0x2000;
constexpr std::uint32_t kSectionFileOffset = kResourceSectionOffset;
constexpr std::uint32_t kSubdirectory = 0x80000000u;

using Languages = std::map<std::uint16_t, const std::vector<std::uint8_t>*>;
using Names = std::map<std::uint32_t, Languages>;
using Types = std::map<std::uint32_t, Names>;

std::size_t directorySize(std::size_t entries) { return 16 + entries * 8; }

void directoryHeader(formats::LittleEndianWriter& out, std::size_t entries) {
    out.zeros(12);
    out.u16(0);
    out.u16(static_cast<std::uint16_t>(entries));
}

// The resource section: every directory first, then the data entries, then
// the data, each datum on a four-byte boundary.
std::vector<std::uint8_t> resourceSection(const Types& types) {
    std::size_t directories = directorySize(types.size()), dataEntries = 0;
    for (const auto& [type, names] : types) {
        directories += directorySize(names.size());
        for (const auto& [name, languages] : names) {
            directories += directorySize(languages.size());
            dataEntries += languages.size();
        }
    }
    formats::LittleEndianWriter out;
    std::size_t nextDirectory = directorySize(types.size());
    std::size_t nextEntry = directories;
    std::size_t nextData = directories + dataEntries * 16;
    std::vector<std::pair<std::size_t, const Names*>> nameLevels;
    std::vector<std::pair<std::size_t, const Languages*>> languageLevels;

    directoryHeader(out, types.size());
    for (const auto& [type, names] : types) {
        out.u32(type);
        out.u32(static_cast<std::uint32_t>(nextDirectory) | kSubdirectory);
        nameLevels.emplace_back(nextDirectory, &names);
        nextDirectory += directorySize(names.size());
    }
    for (const auto& [at, names] : nameLevels) {
        directoryHeader(out, names->size());
        for (const auto& [name, languages] : *names) {
            out.u32(name);
            out.u32(static_cast<std::uint32_t>(nextDirectory) | kSubdirectory);
            languageLevels.emplace_back(nextDirectory, &languages);
            nextDirectory += directorySize(languages.size());
        }
    }
    std::vector<const std::vector<std::uint8_t>*> data;
    for (const auto& [at, languages] : languageLevels) {
        directoryHeader(out, languages->size());
        for (const auto& [language, bytes] : *languages) {
            out.u32(language);
            out.u32(static_cast<std::uint32_t>(nextEntry));
            nextEntry += 16;
            data.push_back(bytes);
        }
    }
    for (const auto* bytes : data) {
        out.u32(static_cast<std::uint32_t>(kSectionRva + nextData));
        out.u32(static_cast<std::uint32_t>(bytes->size()));
        out.zeros(8);
        nextData += (bytes->size() + 3) & ~std::size_t{3};
    }
    for (const auto* bytes : data) {
        out.append(*bytes);
        out.zeros(((bytes->size() + 3) & ~std::size_t{3}) - bytes->size());
    }
    return out.bytes();
}

void sectionHeader(formats::LittleEndianWriter& out, std::string_view name, std::uint32_t rva, std::uint32_t size,
                   std::uint32_t fileOffset, std::uint32_t characteristics) {
    for (std::size_t i = 0; i < 8; ++i) out.u8(i < name.size() ? static_cast<std::uint8_t>(name[i]) : 0);
    out.u32(size);
    out.u32(rva);
    out.u32(size);
    out.u32(fileOffset);
    out.zeros(12);
    out.u32(characteristics);
}

}  // namespace

std::vector<std::uint8_t> peImageWith(const std::vector<TestResource>& resources, PeFormat format) {
    const bool wide = format == PeFormat::Pe32Plus;
    Types types;
    for (const TestResource& resource : resources)
        types[resource.type][resource.name][resource.language] = &resource.data;
    const std::vector<std::uint8_t> section = resourceSection(types);

    formats::LittleEndianWriter out;
    out.u16(0x5A4D);  // "MZ"
    out.zeros(0x3A);
    out.u32(0x40);                   // where the PE header starts
    out.u32(0x00004550);             // "PE\0\0"
    out.u16(wide ? 0x8664 : 0x14C);  // x86-64 or x86
    out.u16(2);                      // sections
    out.zeros(12);
    out.u16(wide ? 240 : 224);  // the optional header's size
    out.u16(0x2022);            // an executable library
    out.u16(wide ? 0x20B : 0x10B);
    out.zeros(wide ? 106 : 90);
    out.u32(16);  // data directories
    for (int directory = 0; directory < 16; ++directory) {
        out.u32(directory == 2 ? kSectionRva : 0);
        out.u32(directory == 2 ? static_cast<std::uint32_t>(section.size()) : 0);
    }
    sectionHeader(out, ".text", kCodeRva, kCodeSize, kCodeFileOffset, 0x60000020);  // code, executable, readable
    sectionHeader(out, ".rsrc", kSectionRva, static_cast<std::uint32_t>(section.size()), kSectionFileOffset,
                  0x40000040);  // initialised data, readable
    out.zeros(kCodeFileOffset - out.size());
    out.append(std::vector<std::uint8_t>(kCodeSize, 0xCC));
    out.append(section);
    return out.bytes();
}

std::vector<TestResource> stringTable(const std::map<std::uint16_t, std::string>& strings, std::uint16_t language) {
    std::map<std::uint32_t, std::array<std::u16string, 16>> blocks;
    for (const auto& [id, text] : strings) blocks[id / 16u + 1u][id % 16u] = utf16FromUtf8(text);
    std::vector<TestResource> resources;
    for (const auto& [block, texts] : blocks) {
        formats::LittleEndianWriter out;
        for (const std::u16string& text : texts) {
            out.u16(static_cast<std::uint16_t>(text.size()));
            out.append(bytesOfUtf16(text));
        }
        resources.push_back({6, block, language, out.bytes()});
    }
    return resources;
}

std::size_t firstLanguageEntryOffset(const std::vector<std::uint8_t>& image) {
    // The root's first entry leads to the first type's directory, whose first
    // entry leads to the first name's, whose first entry is the language.
    const auto firstSubdirectory = [&](std::size_t directory) {
        return *formats::readLe32(image, kSectionFileOffset + directory + 20) & ~kSubdirectory;
    };
    return kSectionFileOffset + firstSubdirectory(firstSubdirectory(0)) + 16;
}

std::size_t firstDataEntryOffset(const std::vector<std::uint8_t>& image) {
    return kSectionFileOffset + *formats::readLe32(image, firstLanguageEntryOffset(image) + 4);
}

std::size_t firstDataOffset(const std::vector<std::uint8_t>& image) {
    return kSectionFileOffset + *formats::readLe32(image, firstDataEntryOffset(image)) - kSectionRva;
}

}  // namespace lsu::test
