#include <gtest/gtest.h>

#include <cstring>

#include "operations/FileNames.h"
#include "operations/ScriptedPrompts.h"
#include "operations/ShortcutWriter.h"
#include "platform/memory/MemoryPlatform.h"
#include "support/Backend.h"
#include "support/Scratch.h"

namespace lsu {
namespace {

std::uint32_t numberAt(const std::array<std::uint8_t, kLinkTemplateSize>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
    return value;
}

std::string textAt(const std::array<std::uint8_t, kLinkTemplateSize>& bytes, std::size_t at, std::size_t size) {
    return std::string(bytes.begin() + at, bytes.begin() + at + size);
}

TEST(LinkTemplate, IsExactly275BytesWithTheFixedLayout) {
    const auto& bytes = linkTemplate();
    EXPECT_EQ(bytes.size(), 275u);
    EXPECT_EQ(numberAt(bytes, 0, 4), 76u);
    const std::uint8_t clsid[] = {0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    EXPECT_EQ(std::memcmp(bytes.data() + 4, clsid, 16), 0);
    EXPECT_EQ(numberAt(bytes, 20, 4), 0x1Bu);
    EXPECT_EQ(numberAt(bytes, 28, 4), 0xD9A38D60u);
    EXPECT_EQ(numberAt(bytes, 52, 4), 289u);
    EXPECT_EQ(numberAt(bytes, 60, 4), 1u);
    EXPECT_EQ(numberAt(bytes, 76, 2), 79u);
    EXPECT_EQ(numberAt(bytes, 78, 2), 20u);
    EXPECT_EQ(numberAt(bytes, 98, 2), 25u);
    EXPECT_EQ(bytes[100], 0x23);
    EXPECT_EQ(textAt(bytes, 101, 3), "C:\\");
    EXPECT_EQ(numberAt(bytes, 121, 2), 0xAA31u);
    EXPECT_EQ(numberAt(bytes, 123, 2), 32u);
    EXPECT_EQ(bytes[125], 0x32);
    EXPECT_EQ(numberAt(bytes, 131, 4), 0x345C2C64u);
    EXPECT_EQ(textAt(bytes, 137, 9), std::string("boot.ini\0", 9));
    EXPECT_EQ(textAt(bytes, 146, 9), std::string("BOOT.INI\0", 9));
    EXPECT_EQ(numberAt(bytes, 155, 2), 0u);
    EXPECT_EQ(numberAt(bytes, 157, 4), 97u);
    EXPECT_EQ(numberAt(bytes, 181, 4), 88u);
    EXPECT_EQ(numberAt(bytes, 193, 4), 0x0E2813DCu);
    EXPECT_EQ(textAt(bytes, 201, 8), std::string("DRIVE_C\0", 8));
    EXPECT_EQ(textAt(bytes, 209, 4), std::string("C:\\\0", 4));
    EXPECT_EQ(numberAt(bytes, 213, 4), 32u);
    EXPECT_EQ(numberAt(bytes, 229, 4), 0x00020000u);
    EXPECT_EQ(textAt(bytes, 233, 12), "\\\\" + std::string(kTemplateComputerName) + std::string("\\C\0", 3));
    EXPECT_EQ(textAt(bytes, 245, 9), std::string("boot.ini\0", 9));
    EXPECT_EQ(numberAt(bytes, 254, 2), 10u);
    EXPECT_EQ(textAt(bytes, 256, 10), ".\\boot.ini");
    EXPECT_EQ(numberAt(bytes, 266, 2), 3u);
    EXPECT_EQ(textAt(bytes, 268, 3), "C:\\");
    EXPECT_EQ(numberAt(bytes, 271, 4), 0u);
}

TEST(LinkTemplate, SizesInsideTheTemplateAddUp) {
    const auto& bytes = linkTemplate();
    const std::size_t idListEnd = 78 + numberAt(bytes, 76, 2);
    EXPECT_EQ(idListEnd, 157u);
    EXPECT_EQ(78 + numberAt(bytes, 78, 2) + numberAt(bytes, 98, 2) + numberAt(bytes, 123, 2) + 2, idListEnd);
    EXPECT_EQ(157 + numberAt(bytes, 157, 4), 254u);  // LinkInfo ends where the strings begin
}

TEST(LinkFileName, GetsLnkUnlessItEndsInDotLnk) {
    EXPECT_EQ(withLinkExtension("C:\\Startup\\Editor"), "C:\\Startup\\Editor.lnk");
    EXPECT_EQ(withLinkExtension("C:\\Startup\\Editor.LNK"), "C:\\Startup\\Editor.LNK");
    EXPECT_EQ(withLinkExtension("C:\\Startup\\Editorlnk"), "C:\\Startup\\Editorlnk.lnk");
}

class ShortcutWriterTest : public ::testing::Test {
protected:
    std::unique_ptr<test::Backend> backend = test::makeCleanBackend();
    Platform& platform = backend->platform();
    test::Scratch scratch{platform, "shortcut writer"};
    test::ScriptedPrompts prompts;

    ShortcutFields fields() const {
        ShortcutFields f;
        f.targetPath = platform.windowsDirectory() + "\\notepad.exe";
        f.arguments = "/a \"b c\"";
        f.description = "Editor";
        f.workDir = platform.windowsDirectory();
        return f;
    }
};

TEST_F(ShortcutWriterTest, TemplateWrittenToDiskIsTheTable) {
    const std::string file = scratch.fileAt(scratch.folder() + "\\template.lnk", "");
    ASSERT_TRUE(WriteLinkTemplate(platform, file));
    const auto& bytes = linkTemplate();
    EXPECT_EQ(platform.readFile(file), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    auto info = platform.readShortcut(file);
    ASSERT_TRUE(info);
    // Shells differ on whether the target joins the common path suffix
    // ("C:\\boot.ini") or stops at the local base path; both start at C:.
    EXPECT_EQ(info->fields.targetPath.rfind("C:\\", 0), 0u);
    EXPECT_EQ(info->fields.workDir, "C:\\");
}

TEST_F(ShortcutWriterTest, CreatedLinkCarriesTheFieldsAndLeavesNoTemporaryFile) {
    std::string link = scratch.folder() + "\\Editor";
    scratch.fileAt(link + ".lnk", "");
    ASSERT_TRUE(platform.deleteFile(link + ".lnk"));
    ASSERT_EQ(CreateShortcut(platform, prompts, link, fields(), true), Outcome::Done);
    EXPECT_EQ(link, scratch.folder() + "\\Editor.lnk");
    auto info = platform.readShortcut(link);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->fields.targetPath, fields().targetPath);
    EXPECT_EQ(info->fields.arguments, fields().arguments);
    EXPECT_EQ(info->fields.description, "Editor");
    EXPECT_EQ(info->fields.workDir, fields().workDir);
    EXPECT_FALSE(platform.fileExists(temporaryLinkFile(link)));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ShortcutWriterTest, ExistingLinkIsKeptWhenTheUserSaysNo) {
    std::string link = scratch.file("Old.lnk", "old link bytes");
    EXPECT_EQ(CreateShortcut(platform, prompts, link, fields(), true), Outcome::Declined);
    ASSERT_EQ(prompts.questions(), 1);
    EXPECT_EQ(prompts.messages[0].prompt, "The link file: \"" + link + "\" exists. Replace it?");
    EXPECT_EQ(prompts.messages[0].style, kStyleYesNo);
    EXPECT_EQ(prompts.beeps, 1);
    auto bytes = platform.readFile(link);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "old link bytes");
    EXPECT_FALSE(platform.fileExists(temporaryLinkFile(link)));
}

TEST_F(ShortcutWriterTest, ExistingLinkIsReplacedWhenTheUserSaysYes) {
    std::string link = scratch.file("Old.lnk", "old link bytes");
    prompts.answers = {true};
    ASSERT_EQ(CreateShortcut(platform, prompts, link, fields(), true), Outcome::Done);
    EXPECT_EQ(platform.readShortcut(link)->fields.targetPath, fields().targetPath);
}

ShortcutFields linkTo(const std::string& target) {
    ShortcutFields fields;
    fields.targetPath = target;
    return fields;
}

TEST(ShortcutWriterFailure, FailedCompletionKeepsTheOldLinkAndLeavesNoStrayLink) {
    MemoryPlatform platform;
    test::ScriptedPrompts prompts;
    const std::string folder = platform.specialFolder(kCsidlStartup);
    std::string link = folder + "\\Tool.lnk";
    platform.putShortcut(link, linkTo("C:\\old.exe"));
    const auto before = platform.readFile(link);
    platform.failWhen = [](MemoryOp op) { return op == MemoryOp::ShortcutWrite; };
    prompts.answers = {true};
    EXPECT_EQ(CreateShortcut(platform, prompts, link, linkTo("C:\\new.exe"), true), Outcome::Failed);
    EXPECT_EQ(platform.readFile(link), before);
    EXPECT_EQ(platform.listFiles(folder), std::vector<std::string>{"Tool.lnk"});
}

TEST(ShortcutWriterFailure, FailedMoveIntoPlaceLeavesNoTemplateBehind) {
    MemoryPlatform platform;
    test::ScriptedPrompts prompts;
    const std::string folder = platform.specialFolder(kCsidlStartup);
    std::string link = folder + "\\Tool";
    platform.failWhen = [](MemoryOp op) { return op == MemoryOp::FileMove; };
    EXPECT_EQ(CreateShortcut(platform, prompts, link, linkTo("C:\\new.exe"), true), Outcome::Failed);
    EXPECT_TRUE(platform.listFiles(folder).empty());
}

}  // namespace
}  // namespace lsu
