// Strings of a PE image's string table, in images the tests build (a
// library and a resource-only .mui file are laid out alike), and the
// indirect strings that name them.

#include <gtest/gtest.h>

#include <string>

#include "formats/PeImageBuilder.h"
#include "platform/formats/IndirectString.h"
#include "platform/formats/LittleEndian.h"
#include "platform/formats/PeResources.h"
#include "platform/formats/StringResource.h"

namespace lsu::formats {
namespace {

using test::peImageWith;
using test::stringTable;

constexpr std::uint16_t kEnglish = 0x0409;
constexpr std::uint16_t kGerman = 0x0407;
constexpr std::uint16_t kNeutral = 0x0000;

std::string stringOrError(const std::vector<std::uint8_t>& image, std::uint16_t id,
                          std::vector<std::uint16_t> languages = {}) {
    auto text = stringResource(image, id, languages);
    if (text) return *text;
    return text.error().kind == ErrorKind::NotFound ? "(not found)" : "(damaged)";
}

// Ids at both ends of a block and of the id range, and ids beside them that
// hold nothing.
TEST(StringResource, EachStringIsFoundInItsBlockAtItsPlace) {
    const std::map<std::uint16_t, std::string> strings = {{0, "zero"},
                                                          {1, "one"},
                                                          {15, "fifteen"},
                                                          {16, "sixteen"},
                                                          {101, "Contoso Helper Service"},
                                                          {65535, "last"},
                                                          {300, "caf\xC3\xA9 \xE2\x9C\x93"}};
    const std::uint16_t missing[] = {2, 100, 102, 17, 1000};
    for (const test::PeFormat format : {test::PeFormat::Pe32Plus, test::PeFormat::Pe32}) {
        const auto image = peImageWith(stringTable(strings, kEnglish), format);
        for (const auto& [id, text] : strings) EXPECT_EQ(stringOrError(image, id), text) << id;
        for (std::uint16_t id : missing) EXPECT_EQ(stringOrError(image, id), "(not found)") << id;
    }
}

TEST(StringResource, AStringEndsAtItsFirstNul) {
    const auto image = peImageWith(stringTable({{7, std::string("name\0rest", 9)}, {8, std::string("\0x", 2)}}, 0));
    EXPECT_EQ(stringOrError(image, 7), "name");
    EXPECT_EQ(stringOrError(image, 8), "(not found)");
}

TEST(StringResource, TheLanguageIsChosenAsTheLoaderFallsBack) {
    std::vector<test::TestResource> resources = stringTable({{5, "Open"}}, kEnglish);
    for (auto& resource : stringTable({{5,
                                        "\xC3\x96"
                                        "ffnen"}},
                                      kGerman))
        resources.push_back(resource);
    const auto twoLanguages = peImageWith(resources);
    for (auto& resource : stringTable({{5, "neutral"}}, kNeutral)) resources.push_back(resource);
    const auto withNeutral = peImageWith(resources);
    EXPECT_EQ(stringOrError(twoLanguages, 5, {kGerman}),
              "\xC3\x96"
              "ffnen");
    EXPECT_EQ(stringOrError(twoLanguages, 5, {0x0411, kEnglish}), "Open");
    EXPECT_EQ(stringOrError(twoLanguages, 5, {0x0809}), "Open");  // English of the UK: English
    EXPECT_EQ(stringOrError(twoLanguages, 5, {0x0C07}),
              "\xC3\x96"
              "ffnen");  // German of Austria: German
    EXPECT_EQ(stringOrError(twoLanguages, 5, {0x0411}),
              "\xC3\x96"
              "ffnen");  // none: the first listed
    EXPECT_EQ(stringOrError(withNeutral, 5, {0x0411}), "neutral");
    EXPECT_EQ(stringOrError(withNeutral, 5, {kEnglish}), "Open");
}

TEST(StringResource, AnImageWithoutAStringTableHasNoStrings) {
    const auto image = peImageWith({{16, 1, kEnglish, {1, 2, 3, 4}}});
    EXPECT_EQ(stringOrError(image, 1), "(not found)");
    EXPECT_EQ(stringOrError(peImageWith({}), 1), "(not found)");
}

TEST(StringResource, EveryCutShortImageIsRefused) {
    const auto image = peImageWith(stringTable({{3, "three"}}, kEnglish));
    const std::size_t dataEnd = test::firstDataOffset(image) + *readLe32(image, test::firstDataEntryOffset(image) + 4);
    ASSERT_TRUE(stringResource(std::span(image).first(dataEnd), 3));
    for (std::size_t length = 0; length < dataEnd; ++length) {
        EXPECT_FALSE(stringResource(std::span(image).first(length), 3)) << length;
    }
}

std::vector<std::uint8_t> patched(std::vector<std::uint8_t> image, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) image[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return image;
}

struct DamagedCase {
    const char* what;
    std::vector<std::uint8_t> image;
};

TEST(StringResource, DamagedImagesAreRefusedAsDamaged) {
    const auto image = peImageWith(stringTable({{3, "three"}}, kEnglish));
    const std::size_t dataEntry = test::firstDataEntryOffset(image);
    const std::size_t block = test::firstDataOffset(image);
    const DamagedCase cases[] = {
        {"no MZ", patched(image, 0, 0)},
        {"the PE header past the end", patched(image, 0x3C, 0xFFFFFFF0u)},
        {"no PE signature", patched(image, 0x40, 0x12345678)},
        {"an optional header of neither kind", patched(image, 0x40 + 24, 0x0107)},
        {"data past the end", patched(image, dataEntry, 0x7FFFFFFF)},
        {"a size past the end", patched(image, dataEntry + 4, 0x7FFFFFFF)},
        {"data outside every section", patched(image, dataEntry, 0x10)},
        {"a language level that is a directory",
         patched(image, test::firstLanguageEntryOffset(image) + 4, 0x80000000u)},
        {"a string longer than its block", patched(image, block + 6, 0xFFFF)},
        {"entries counted past the end", patched(image, test::kResourceSectionOffset + 12, 0xFFFF0000u)},
    };
    for (const DamagedCase& c : cases) EXPECT_EQ(stringOrError(c.image, 3), "(damaged)") << c.what;
}

// The loader reads only as many data directories as the header counts: a
// resource directory beyond them is none.
TEST(StringResource, AResourceDirectoryBeyondTheCountedOnesIsNone) {
    const auto image = peImageWith(stringTable({{3, "three"}}, kEnglish));
    constexpr std::size_t kDirectoryCount = 0x40 + 24 + 108;  // the last field before a PE32+ image's directories
    EXPECT_EQ(stringOrError(patched(image, kDirectoryCount, 3), 3), "three");
    EXPECT_EQ(stringOrError(patched(image, kDirectoryCount, 2), 3), "(not found)");
}

TEST(StringResource, ADirectoryPointingAtItselfEndsTheWalk) {
    const auto image = peImageWith(stringTable({{3, "three"}}, kEnglish));
    // The type's entry points back at the root, which has no name 1.
    EXPECT_FALSE(stringResource(patched(image, test::kResourceSectionOffset + 20, 0x80000000u), 3));
}

struct IndirectCase {
    const char* text;
    std::optional<IndirectString> parsed;
};

TEST(IndirectString, TheFormsWindowsTakesAreParsed) {
    const IndirectCase cases[] = {
        {"@%SystemRoot%\\system32\\svc.dll,-101", IndirectString{"%SystemRoot%\\system32\\svc.dll", 101}},
        {"@C:\\Program Files\\Contoso\\svc.dll,101", IndirectString{"C:\\Program Files\\Contoso\\svc.dll", 101}},
        {"@svc.dll,-7;Contoso Helper", IndirectString{"svc.dll", 7}},
        {"@C:\\a,b\\svc.dll,-5", IndirectString{"C:\\a,b\\svc.dll", 5}},
        {"@svc.dll,-5;see x.dll,-9", IndirectString{"svc.dll", 5}},
        {"@svc.dll, -12", IndirectString{"svc.dll", 12}},
        {"@svc.dll,-0", IndirectString{"svc.dll", 0}},
        {"@svc.dll,-65535", IndirectString{"svc.dll", 65535}},
        {"Contoso Helper", std::nullopt},
        {"", std::nullopt},
        {"@", std::nullopt},
        {"@svc.dll", std::nullopt},
        {"@svc.dll,", std::nullopt},
        {"@svc.dll,-", std::nullopt},
        {"@,-5", std::nullopt},
        {"@svc.dll,-65536", std::nullopt},
        {"@svc.dll,-5x", std::nullopt},
        {"@svc.dll,--5", std::nullopt},
        {"@{Contoso.App_1.0.0.0_x64__8wekyb3d8bbwe?ms-resource://Contoso.App/Resources/Name}", std::nullopt},
    };
    for (const IndirectCase& c : cases) EXPECT_EQ(parseIndirectString(c.text), c.parsed) << c.text;
}

TEST(IndirectString, TheMuiFileLiesInTheLanguagesFolderBesideTheLibrary) {
    EXPECT_EQ(muiFileOf("C:\\Windows\\System32\\svc.dll", "en-US"), "C:\\Windows\\System32\\en-US\\svc.dll.mui");
    EXPECT_EQ(muiFileOf("C:\\svc.dll", "de-DE"), "C:\\de-DE\\svc.dll.mui");
    EXPECT_EQ(muiFileOf("svc.dll", "en-US"), "en-US\\svc.dll.mui");
}

}  // namespace
}  // namespace lsu::formats
