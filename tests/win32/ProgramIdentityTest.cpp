// The two programs beside this suite as Windows and installers see them:
// their version resources (whose company our own Publisher column shows for
// them, on Windows and offline alike) and the manifest that sets the rights
// they start with.

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProductIdentity.h"
#include "platform/formats/VersionResource.h"
#include "platform/win32/Owned.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"

namespace lsu {
namespace {

using win32::narrow;
using win32::widen;
using Module = win32::Owned<HMODULE, &FreeLibrary>;

struct Program {
    const char* fileName;
    const char* description;
};
constexpr Program kPrograms[] = {{"LStartUp.exe", LSU_PRODUCT_NAME}, {"lstartup-cli.exe", LSU_TOOL_DESCRIPTION}};

std::string besideSuite(const char* fileName) { return Win32Platform().programFolder() + "\\" + fileName; }

std::vector<BYTE> versionBlock(const std::string& path) {
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(widen(path).c_str(), &ignored));
    if (block.empty() || !GetFileVersionInfoW(widen(path).c_str(), 0, static_cast<DWORD>(block.size()), block.data()))
        return {};
    return block;
}

std::string versionString(std::vector<BYTE>& block, const char* name) {
    void* text = nullptr;
    UINT length = 0;
    const std::wstring query = L"\\StringFileInfo\\040904b0\\" + widen(name);
    if (!VerQueryValueW(block.data(), query.c_str(), &text, &length) || length == 0) return {};
    return narrow(
        std::wstring_view(static_cast<const wchar_t*>(text), wcsnlen(static_cast<const wchar_t*>(text), length)));
}

std::string embeddedManifest(const std::string& path) {
    const Module module(
        LoadLibraryExW(widen(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    HRSRC found = module ? FindResourceW(module.get(), MAKEINTRESOURCEW(1), RT_MANIFEST) : nullptr;
    HGLOBAL loaded = found ? LoadResource(module.get(), found) : nullptr;
    if (!loaded) return {};
    return {static_cast<const char*>(LockResource(loaded)), SizeofResource(module.get(), found)};
}

TEST(ProgramIdentity, PublisherIsOurCompanyOnWindowsAndOffline) {
    Win32Platform platform;
    for (const Program& program : kPrograms) {
        const std::string path = besideSuite(program.fileName);
        EXPECT_EQ(platform.companyName(path), LSU_COMPANY_NAME) << path;
        const auto image = platform.readFile(path);
        ASSERT_TRUE(image) << path;
        EXPECT_EQ(formats::companyNameOfImage(*image), LSU_COMPANY_NAME) << path;
    }
}

TEST(ProgramIdentity, VersionResourceCarriesTheBuildsVersionAndNames) {
    for (const Program& program : kPrograms) {
        const std::string path = besideSuite(program.fileName);
        std::vector<BYTE> block = versionBlock(path);
        ASSERT_FALSE(block.empty()) << path;
        void* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &fixed, &length)) << path;
        const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
        EXPECT_EQ(info->dwFileVersionMS, MAKELONG(LSU_VERSION_MINOR, LSU_VERSION_MAJOR)) << path;
        EXPECT_EQ(info->dwFileVersionLS, MAKELONG(0, LSU_VERSION_PATCH)) << path;
        EXPECT_EQ(info->dwProductVersionMS, info->dwFileVersionMS) << path;
        const std::pair<const char*, std::string> strings[] = {
            {"CompanyName", LSU_COMPANY_NAME},     {"FileDescription", program.description},
            {"FileVersion", LSU_VERSION_TEXT},     {"ProductName", LSU_PRODUCT_NAME},
            {"ProductVersion", LSU_VERSION_TEXT},  {"LegalCopyright", LSU_COPYRIGHT},
            {"OriginalFilename", program.fileName}};
        for (const auto& [name, expected] : strings) EXPECT_EQ(versionString(block, name), expected) << path << name;
    }
}

// A standard user starts the programs without a prompt, and Windows 7 to 11
// run them as programs written for them.
TEST(ProgramIdentity, ManifestAsksForTheCallersRightsAndNamesWindows7To11) {
    const char* const expected[] = {"level=\"asInvoker\"",
                                    "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>",
                                    "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>",
                                    "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>",
                                    "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"};
    for (const Program& program : kPrograms) {
        const std::string manifest = embeddedManifest(besideSuite(program.fileName));
        for (const char* text : expected) EXPECT_NE(manifest.find(text), std::string::npos) << program.fileName << text;
    }
}

}  // namespace
}  // namespace lsu
