#include <gtest/gtest.h>

#include "support/Backend.h"
#include "support/Scratch.h"

namespace lsu {
namespace {

class PlatformContractShortcuts : public ::testing::Test {
protected:
    std::unique_ptr<test::Backend> backend = test::makeCleanBackend();
    Platform& platform = backend->platform();
    test::Scratch scratch{platform, "shortcuts contract"};
    const std::string windows = platform.windowsDirectory();

    ShortcutFields toolFields() const {
        ShortcutFields fields;
        fields.targetPath = windows + "\\notepad.exe";
        fields.arguments = "/quiet \"C:\\some file.txt\"";
        fields.description = "A tool";
        // Wine's link object reads every show command back as "normal", so
        // these links keep that one and the show command is not compared.
        fields.showCmd = 1;
        fields.workDir = windows;
        fields.hotKey = 0x0654;
        fields.iconFile = windows + "\\notepad.exe";
        fields.iconIndex = 1;
        return fields;
    }
    std::string seeded(const std::string& name) {
        const std::string path = scratch.fileAt(scratch.folder() + "\\" + name, "");
        backend->seedShortcut(path, toolFields());
        return path;
    }
};

TEST_F(PlatformContractShortcuts, SeededLinkReadsBackItsFields) {
    auto info = platform.readShortcut(seeded("Tool.lnk"));
    ASSERT_TRUE(info);
    const ShortcutFields expected = toolFields();
    EXPECT_EQ(info->fields.targetPath, expected.targetPath);
    EXPECT_EQ(info->fields.arguments, expected.arguments);
    EXPECT_EQ(info->fields.workDir, expected.workDir);
    EXPECT_EQ(info->fields.description, expected.description);
    EXPECT_EQ(info->fields.hotKey, expected.hotKey);
    EXPECT_EQ(info->fields.iconFile, expected.iconFile);
    EXPECT_EQ(info->fields.iconIndex, expected.iconIndex);
    EXPECT_EQ(info->displayName, "Tool");
}

TEST_F(PlatformContractShortcuts, UpperCaseExtensionIsALinkToo) {
    auto info = platform.readShortcut(seeded("LOUD.LNK"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->fields.targetPath, toolFields().targetPath);
    EXPECT_EQ(info->displayName, "LOUD");
}

TEST_F(PlatformContractShortcuts, FileThatIsNotALinkIsUnreadable) {
    EXPECT_FALSE(platform.readShortcut(scratch.file("plain.lnk", "this is not a shell link")));
    EXPECT_FALSE(platform.readShortcut(scratch.folder() + "\\absent.lnk"));
}

TEST_F(PlatformContractShortcuts, CompletingACopyChangesOnlyTheCopy) {
    const std::string original = seeded("Original.lnk");
    const std::string copy = scratch.fileAt(scratch.folder() + "\\Copy.lnk", "");
    ASSERT_TRUE(platform.writeFile(copy, *platform.readFile(original)));

    ShortcutFields changed;
    changed.targetPath = windows + "\\regedit.exe";
    changed.arguments = "/s";
    changed.description = "Changed";
    changed.workDir = windows + "\\system32";
    ASSERT_TRUE(platform.completeShortcut(copy, changed));

    auto info = platform.readShortcut(copy);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->fields.targetPath, changed.targetPath);
    EXPECT_EQ(info->fields.arguments, changed.arguments);
    EXPECT_EQ(info->fields.description, changed.description);
    EXPECT_EQ(info->fields.workDir, changed.workDir);
    // No hot key and no icon given: the link keeps its own.
    EXPECT_EQ(info->fields.hotKey, toolFields().hotKey);
    EXPECT_EQ(info->fields.iconFile, toolFields().iconFile);
    EXPECT_EQ(platform.readShortcut(original)->fields, toolFields());
}

TEST_F(PlatformContractShortcuts, CompletingAMissingLinkFails) {
    EXPECT_FALSE(platform.completeShortcut(scratch.folder() + "\\absent.lnk", toolFields()));
    EXPECT_FALSE(platform.fileExists(scratch.folder() + "\\absent.lnk"));
}

}  // namespace
}  // namespace lsu
