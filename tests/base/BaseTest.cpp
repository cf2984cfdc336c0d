#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/CaseFolding.h"
#include "base/Result.h"
#include "base/Utf16.h"
#include "base/WindowsPaths.h"

namespace lsu {
namespace {

// Windows upper-cases each UTF-16 unit on its own, one unit to one unit.
TEST(CaseFolding, NamesDifferingOnlyInTheCaseOfALetterAreOneName) {
    const std::pair<const char*, const char*> same[] = {
        {"Tool", "TOOL"},
        {"\xC3\x9C"
         "ber",
         "\xC3\xBC"
         "ber"},
        {"Caf\xC3\x89", "caf\xC3\xA9"},
        {"\xD0\x96\xD0\xB0\xD1\x80", "\xD0\xB6\xD0\x90\xD0\xA0"},
        {"\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1", "\xCF\x89\xCE\x9C\xCE\x88\xCE\x93\xCE\x91"},
        {"\xC3\xBF", "\xC5\xB8"},
        {"\xC2\xB5", "\xCE\x9C"},
        {"\xC4\xB1", "I"},
        {"\xE1\xBE\x80", "\xE1\xBE\x88"}};
    for (const auto& [a, b] : same) EXPECT_TRUE(equalsNoCase(a, b)) << a << " " << b;
    const std::pair<const char*, const char*> different[] = {
        {"\xC3\x9F", "SS"}, {"e", "\xC3\xA9"}, {"Tool", "Tool "}, {"\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"}, {"a", ""}};
    for (const auto& [a, b] : different) EXPECT_FALSE(equalsNoCase(a, b)) << a << " " << b;
}

TEST(CaseFolding, UpperCaseIsTheSimpleMappingOfOneUnit) {
    const std::pair<char16_t, char16_t> cases[] = {
        {u'a', u'A'},     {u'Z', u'Z'},     {u'1', u'1'},     {0x00FF, 0x0178}, {0x0101, 0x0100},
        {0x0100, 0x0100}, {0x00DF, 0x00DF}, {0x03C2, 0x03A3}, {0x1F80, 0x1F88}, {0xFB00, 0xFB00},
        {0xFF41, 0xFF21}, {0xD801, 0xD801}, {0xFFFF, 0xFFFF}};
    for (const auto& [unit, upper] : cases) EXPECT_EQ(upperCaseOf(unit), upper) << int(unit);
}

TEST(CaseFolding, ListingOrderComparesUpperCasedUnits) {
    EXPECT_TRUE(lessNoCase("alpha", "Beta"));
    EXPECT_TRUE(lessNoCase("beta.exe", "_GAMMA.LNK"));  // "B" before "_", as the system sorts
    EXPECT_TRUE(lessNoCase("Tool", "tool2"));
    EXPECT_FALSE(lessNoCase("TOOL", "tool"));
    EXPECT_FALSE(lessNoCase("tool", "TOOL"));
    EXPECT_TRUE(endsWithNoCase("Notes.LNK", ".lnk"));
    EXPECT_FALSE(endsWithNoCase("lnk", ".lnk"));
}

// What the W functions hand out comes back to them unchanged.
TEST(Utf16, EveryUnitSequenceRoundTripsThroughUtf8) {
    const std::u16string cases[] = {u"plain",
                                    u"\u00DCber \u65E5\u672C",
                                    u"\U0001F600",
                                    std::u16string(1, 0xD800),
                                    std::u16string{u'a', 0xDC00, u'b'},
                                    std::u16string{0xDC00, 0xD800},
                                    std::u16string(u"nul\0inside", 10),
                                    u""};
    for (const std::u16string& units : cases) EXPECT_EQ(utf16FromUtf8(utf8FromUtf16(units)), units);
    EXPECT_EQ(utf8FromUtf16(std::u16string(1, 0xD800)), "\xED\xA0\x80");
}

TEST(Utf16, BytesThatAreNoUtf8BecomeReplacementCharacters) {
    const std::pair<std::string, std::u16string> cases[] = {
        {"\xFF", u"\uFFFD"}, {"a\xC3", u"a\uFFFD"}, {"\xC0\xAF", u"\uFFFD"}, {"\xF4\x90\x80\x80", u"\uFFFD"}};
    for (const auto& [bytes, units] : cases) EXPECT_EQ(utf16FromUtf8(bytes), units);
    EXPECT_EQ(utf16FromBytes(std::vector<std::uint8_t>{0x41, 0x00, 0x42}), u"A");
    EXPECT_EQ(bytesOfUtf16(u"A\u00DC"), (std::vector<std::uint8_t>{0x41, 0x00, 0xDC, 0x00}));
}

TEST(WindowsPaths, PathsComeApartAtTheirLastSeparator) {
    struct Case {
        std::string path, fileName, parent, stem, extension;
    };
    const Case cases[] = {
        {"C:\\Tools\\notes.txt.lnk", "notes.txt.lnk", "C:\\Tools", "notes.txt", ".lnk"},
        {"C:\\tool.exe", "tool.exe", "C:\\", "tool", ".exe"},
        {"C:/Tools/README", "README", "C:/Tools", "README", ""},
        {"tool", "tool", "", "tool", ""},
        {"C:\\", "", "", "", ""},
        {"C:\\v1.2\\app", "app", "C:\\v1.2", "app", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fileNameOf(c.path), c.fileName) << c.path;
        EXPECT_EQ(parentFolderOf(c.path), c.parent) << c.path;
        EXPECT_EQ(stemOf(fileNameOf(c.path)), c.stem) << c.path;
        EXPECT_EQ(extensionOf(fileNameOf(c.path)), c.extension) << c.path;
    }
    EXPECT_TRUE(hasFileExtension("C:\\v1.2\\a.b"));
    EXPECT_FALSE(hasFileExtension("C:\\v1.2\\app"));
    EXPECT_EQ(withTrailingBackslash("C:\\Tools"), "C:\\Tools\\");
    EXPECT_EQ(withTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(withoutTrailingBackslash("C:\\Tools\\\\"), "C:\\Tools");
    EXPECT_EQ(withoutTrailingBackslash("C:\\"), "C:\\");
}

TEST(WindowsPaths, OnlyNamesThatNameExactlyOneFileAreFileNames) {
    const std::pair<const char*, std::optional<FileNameFault>> cases[] = {
        {"Tool", std::nullopt},
        {"My Tool 2.0", std::nullopt},
        {"a..b", std::nullopt},
        {"COM10", std::nullopt},
        {"COM0", std::nullopt},
        {"CONSOLE", std::nullopt},
        {"\xC3\x9C"
         "berwachung",
         std::nullopt},
        {"", FileNameFault::Empty},
        {".", FileNameFault::DotName},
        {"..", FileNameFault::DotName},
        {"tab\there", FileNameFault::ControlCharacter},
        {"a\\b", FileNameFault::ReservedCharacter},
        {"a/b", FileNameFault::ReservedCharacter},
        {"C:tool", FileNameFault::ReservedCharacter},
        {"a|b", FileNameFault::ReservedCharacter},
        {"Keep.exe.", FileNameFault::TrailingDotOrSpace},
        {"Tool ", FileNameFault::TrailingDotOrSpace},
        {"CON", FileNameFault::DeviceName},
        {"nul.txt", FileNameFault::DeviceName},
        {"Lpt5.exe", FileNameFault::DeviceName},
        {"aux .log", FileNameFault::DeviceName}};
    for (const auto& [name, fault] : cases) EXPECT_EQ(fileNameFault(name), fault) << name;
}

// A COM pointer takes its & to hand out the address of the pointer it holds,
// releasing it first: a result holding one hands out the result's value.
struct TakesItsAddressOver {
    int held = 7;
    TakesItsAddressOver* operator&() { return nullptr; }
};

TEST(Result, HandsOutTheValueItHoldsWhateverItsAddressOperatorDoes) {
    Result<TakesItsAddressOver> result = TakesItsAddressOver{};
    EXPECT_EQ(result->held, 7);
}

}  // namespace
}  // namespace lsu
