// The formats the program writes and reads itself, held to Windows's own
// readers: the template every new link starts from and a link from the
// project's writer read back through the link object, and a real program's
// version resource read by the parser and by the version functions.

#include <windows.h>
#include <gtest/gtest.h>

#include "platform/formats/ShellLinkWriter.h"
#include "platform/formats/VersionResource.h"
#include "platform/win32/ShortcutTemplate.h"
#include "platform/win32/Win32Platform.h"
#include "support/Scratch.h"

namespace lsu {
namespace {

class FormatsOnWindows : public ::testing::Test {
protected:
    Win32Platform platform;
    test::Scratch scratch{portsOf(platform), "formats on windows"};
};

TEST_F(FormatsOnWindows, TheLinkTemplateIsALinkTheShellReadsToATargetOnDriveC) {
    const auto& bytes = win32::linkTemplate();
    const std::string link = scratch.file("template.lnk", std::string(bytes.begin(), bytes.end()));
    const ShortcutFields fields = platform.readShortcut(link).value().fields;
    EXPECT_TRUE(fields.targetPath.starts_with("C:\\")) << fields.targetPath;
    EXPECT_EQ(fields.workDir, "C:\\");
}

TEST_F(FormatsOnWindows, WrittenLinkReadsBackThroughTheLinkObject) {
    const std::string windows = platform.windowsDirectory();
    const ShortcutFields plain{windows + "\\regedit.exe",
                               "/s \"C:\\some file.reg\" \xCE\xB1\xE4\xB8\xAD",
                               "Caf\xC3\xA9 \xE2\x9C\x93",
                               0x0654,
                               1,
                               windows + "\\system32",
                               windows + "\\regedit.exe",
                               2};
    const std::string link = scratch.file("written.lnk", "");
    ASSERT_TRUE(platform.writeFile(link, formats::shellLinkBytes(plain)));
    auto info = platform.readShortcut(link);
    ASSERT_TRUE(info);
    // Wine's link object reads every show command as normal, so the link keeps that one.
    EXPECT_EQ(info->fields, plain);
}

TEST_F(FormatsOnWindows, VersionResourceReadsAsTheVersionFunctionsReadIt) {
    for (const char* program : {"\\regedit.exe", "\\system32\\kernel32.dll", "\\system32\\reg.exe"}) {
        const std::string path = platform.windowsDirectory() + program;
        auto image = platform.readFile(path);
        ASSERT_TRUE(image) << path;
        EXPECT_EQ(formats::companyNameOfImage(*image), platform.companyName(path)) << path;
    }
    EXPECT_EQ(platform.companyName(platform.windowsDirectory() + "\\regedit.exe"), "Microsoft Corporation");
}

}  // namespace
}  // namespace lsu
