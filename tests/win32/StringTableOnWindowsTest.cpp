// The string table reader held to the system's own: every string id of a
// few system libraries read from the file as LoadString reads it from the
// library loaded as data, and an indirect string resolved as the shell
// resolves it.

#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>

#include "base/Utf16.h"
#include "platform/formats/IndirectString.h"
#include "platform/formats/StringResource.h"
#include "platform/win32/Win32Platform.h"

namespace lsu {
namespace {

constexpr const char* kLibraries[] = {"\\system32\\shell32.dll", "\\regedit.exe", "\\system32\\comctl32.dll"};

// What LoadString gives for the id, as the reader gives it: up to the first
// NUL, and nothing for an empty string.
std::optional<std::string> loadString(HMODULE module, std::uint16_t id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0) return std::nullopt;
    std::u16string units(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length));
    units.resize(std::min(units.find(u'\0'), units.size()));
    if (units.empty()) return std::nullopt;
    return utf8FromUtf16(units);
}

TEST(StringTableOnWindows, EveryStringOfASystemLibraryReadsAsLoadStringReadsIt) {
    Win32Platform platform;
    const std::uint16_t languages[] = {GetUserDefaultUILanguage()};
    for (const char* library : kLibraries) {
        const std::string path = platform.windowsDirectory() + library;
        auto image = platform.readFile(path);
        ASSERT_TRUE(image) << path;
        HMODULE module = LoadLibraryExW(reinterpret_cast<const wchar_t*>(utf16FromUtf8(path).c_str()), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << path;
        int found = 0, differing = 0;
        for (std::uint32_t id = 0; id <= 0xFFFF; ++id) {
            const auto expected = loadString(module, static_cast<std::uint16_t>(id));
            auto read = formats::stringResource(*image, static_cast<std::uint16_t>(id), languages);
            const std::optional<std::string> got = read ? std::optional(*read) : std::nullopt;
            if (expected) ++found;
            if (got != expected && ++differing <= 5) {
                ADD_FAILURE() << path << " string " << id << ": " << got.value_or("(none)") << " against "
                              << expected.value_or("(none)");
            }
        }
        FreeLibrary(module);
        EXPECT_GT(found, 10) << path;
        EXPECT_EQ(differing, 0) << path;
    }
}

TEST(StringTableOnWindows, AnIndirectStringResolvesAsTheShellResolvesIt) {
    Win32Platform platform;
    const std::string path = platform.windowsDirectory() + "\\system32\\shell32.dll";
    auto image = platform.readFile(path);
    ASSERT_TRUE(image);
    HMODULE module = LoadLibraryExW(reinterpret_cast<const wchar_t*>(utf16FromUtf8(path).c_str()), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    int compared = 0;
    for (std::uint32_t id = 0; id <= 0xFFFF && compared < 20; ++id) {
        if (!loadString(module, static_cast<std::uint16_t>(id))) continue;
        ++compared;
        const std::string indirect = "@" + path + ",-" + std::to_string(id);
        wchar_t resolved[4096] = {};
        ASSERT_EQ(SHLoadIndirectString(reinterpret_cast<const wchar_t*>(utf16FromUtf8(indirect).c_str()), resolved,
                                       ARRAYSIZE(resolved), nullptr),
                  S_OK)
            << indirect;
        auto parsed = formats::parseIndirectString(indirect);
        ASSERT_TRUE(parsed) << indirect;
        auto library = platform.readFile(parsed->file);
        ASSERT_TRUE(library) << indirect;
        auto read = formats::stringResource(*library, parsed->id, std::array{GetUserDefaultUILanguage()});
        ASSERT_TRUE(read) << indirect;
        EXPECT_EQ(*read, utf8FromUtf16(reinterpret_cast<const char16_t*>(resolved))) << indirect;
    }
    FreeLibrary(module);
    EXPECT_EQ(compared, 20);
}

}  // namespace
}  // namespace lsu
