#include "catalog/DisabledStores.h"
#include "catalog/Sections.h"
#include "operations/Messages.h"
#include "operations/Operations.h"
#include "operations/OperationsFixture.h"
#include "support/Seed.h"

namespace lsu {
namespace {

constexpr std::string_view kUserRun = "Registry\\Current User\\Run";

class AddEditDeleteTest : public test::OperationsTest {
protected:
    RegistryLocation userRun(bool disabled = false) {
        std::string subkey = GetSubKey(kUserRun);
        return {Hive::CurrentUser, RegistryView::Shared, disabled ? disabledSubkey(subkey) : subkey};
    }
    std::string userStartup() { return test::startupFolder(platform, kStartupCurrentUser); }
};

TEST_F(AddEditDeleteTest, AddSectionsLeaveOutWinIni) {
    EXPECT_EQ(dialogSections(true).size(), 9u);
    EXPECT_EQ(dialogSections(false).size(), 11u);
    for (const auto& section : dialogSections(true)) EXPECT_EQ(section.find("Win.ini"), std::string::npos);
}

TEST_F(AddEditDeleteTest, AddAsksBeforeReplacingARegistryValue) {
    platform.writeValue(userRun(), test::stringValue("Tool", "old.exe"), true);
    EXPECT_FALSE(AddNew(platform, prompts, {"Tool", "new.exe", std::string(kUserRun)}));
    EXPECT_EQ(prompts.questions(), 1);
    EXPECT_EQ(platform.readValue(userRun(), "Tool"), test::stringValue("Tool", "old.exe"));
    platform.deleteValue(userRun(), "Tool");
}

TEST_F(AddEditDeleteTest, AddWritesAStringValue) {
    ASSERT_TRUE(AddNew(platform, prompts, {"Tool", "C:\\Tools\\tool.exe /q", std::string(kUserRun)}));
    EXPECT_EQ(platform.readValue(userRun(), "Tool"), test::stringValue("Tool", "C:\\Tools\\tool.exe /q"));
    platform.deleteValue(userRun(), "Tool");
}

TEST_F(AddEditDeleteTest, AddedShortcutSplitsProgramAndArguments) {
    const std::string program = platform.windowsDirectory() + "\\notepad.exe";
    ASSERT_TRUE(AddNew(platform, prompts, {"Editor", "\"" + program + "\" /p note.txt", std::string(kStartupCurrentUser)}));
    auto info = platform.readShortcut(userStartup() + "\\Editor.lnk");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->fields.targetPath, program);
    EXPECT_EQ(info->fields.arguments, "/p note.txt");
    EXPECT_EQ(platform.listFiles(userStartup()), std::vector<std::string>{"Editor.lnk"});
    platform.deleteFile(userStartup() + "\\Editor.lnk");
}

TEST_F(AddEditDeleteTest, AddRejectsANameThatLeavesTheStartupFolder) {
    EXPECT_FALSE(AddNew(platform, prompts, {"..\\..\\evil", "evil.exe", std::string(kStartupCurrentUser)}));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(platform.listFiles(userStartup()).empty());
}

TEST_F(AddEditDeleteTest, DeleteRemovesDisabledValueFromTheDisabledKeyOnly) {
    platform.writeValue(userRun(), test::stringValue("Tool", "live.exe"), true);
    platform.writeValue(userRun(true), test::stringValue("Tool", "parked.exe"), true);
    StartupEntry parked;
    for (auto& entry : loadPrograms(platform, kUserRun).rows)
        if (entry.Status == kStatusDisabled) parked = entry;
    ASSERT_TRUE(DeleteProgram(platform, prompts, parked));
    EXPECT_FALSE(platform.readValue(userRun(true), "Tool"));
    EXPECT_TRUE(platform.readValue(userRun(), "Tool"));
    platform.deleteValue(userRun(), "Tool");
}

TEST_F(AddEditDeleteTest, DeleteOfAnEntryAlreadyGoneIsSilent) {
    platform.writeValue(userRun(), test::stringValue("Tool", "tool.exe"), true);
    auto entry = row(kUserRun, "Tool");
    ASSERT_TRUE(entry);
    platform.deleteValue(userRun(), "Tool");
    EXPECT_TRUE(DeleteProgram(platform, prompts, *entry));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(AddEditDeleteTest, DeleteLeavesALoadLineOtherThanTheListedOne) {
    test::seedWinIni(platform, kWinIniLoadKey, "first.exe");
    auto entry = row(kWinIniLoad, "first");
    ASSERT_TRUE(entry);
    test::seedWinIni(platform, kWinIniLoadKey, "second.exe");
    EXPECT_TRUE(DeleteProgram(platform, prompts, *entry));
    EXPECT_EQ(platform.readProfile("Windows", "Load", winIniPath(platform)), "second.exe");
    test::seedWinIni(platform, kWinIniLoadKey, "");
}

TEST_F(AddEditDeleteTest, EditRenamingARegistryValueKeepsTypeAndBytes) {
    platform.writeValue(userRun(), test::stringValue("Old", "%ProgramFiles%\\t.exe", kRegExpandSz), true);
    auto entry = row(kUserRun, "Old");
    ASSERT_TRUE(entry);
    ASSERT_TRUE(EditEntry(platform, prompts, *entry, {"New", entry->CommandLine, std::string(kUserRun)}));
    EXPECT_FALSE(platform.readValue(userRun(), "Old"));
    EXPECT_EQ(platform.readValue(userRun(), "New"),
              test::stringValue("New", "%ProgramFiles%\\t.exe", kRegExpandSz));
    platform.deleteValue(userRun(), "New");
}

TEST_F(AddEditDeleteTest, EditOfADisabledEntryKeepsItDisabled) {
    platform.writeValue(userRun(true), test::stringValue("Tool", "old.exe"), true);
    auto entry = row(kUserRun, "Tool");
    ASSERT_TRUE(entry && entry->Status == kStatusDisabled);
    ASSERT_TRUE(EditEntry(platform, prompts, *entry, {"Tool", "new.exe", std::string(kUserRun)}));
    EXPECT_EQ(platform.readValue(userRun(true), "Tool"), test::stringValue("Tool", "new.exe"));
    EXPECT_FALSE(platform.readValue(userRun(), "Tool"));
    platform.deleteValue(userRun(true), "Tool");
}

TEST_F(AddEditDeleteTest, EditRenamingAShortcutKeepsItsFields) {
    ShortcutFields fields;
    fields.targetPath = platform.windowsDirectory() + "\\notepad.exe";
    fields.arguments = "/keep";
    fields.workDir = platform.windowsDirectory();
    backend->seedShortcut(userStartup() + "\\Old.lnk", fields);
    auto entry = row(kStartupCurrentUser, "Old");
    ASSERT_TRUE(entry);
    ASSERT_TRUE(EditEntry(platform, prompts, *entry, {"New", entry->CommandLine, std::string(kStartupCurrentUser)}));
    EXPECT_FALSE(platform.fileExists(userStartup() + "\\Old.lnk"));
    auto info = platform.readShortcut(userStartup() + "\\New.lnk");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->fields.arguments, "/keep");
    EXPECT_EQ(info->fields.workDir, fields.workDir);
    platform.deleteFile(userStartup() + "\\New.lnk");
}

TEST_F(AddEditDeleteTest, EditRenamesAPlainFileWithItsContents) {
    const std::vector<std::uint8_t> bytes = {'e', 'c', 'h', 'o'};
    ASSERT_TRUE(platform.writeFile(userStartup() + "\\old.bat", bytes));
    auto entry = row(kStartupCurrentUser, "old.bat");
    ASSERT_TRUE(entry);
    ASSERT_TRUE(EditEntry(platform, prompts, *entry, {"new.bat", "old.bat", std::string(kStartupCurrentUser)}));
    EXPECT_EQ(platform.readFile(userStartup() + "\\new.bat"), bytes);
    EXPECT_FALSE(platform.fileExists(userStartup() + "\\old.bat"));
    platform.deleteFile(userStartup() + "\\new.bat");
}

TEST_F(AddEditDeleteTest, EditWritesAChangedWinIniLineBackToItsKey) {
    test::seedWinIni(platform, kWinIniRunKey, "old.exe");
    auto entry = row(kWinIniRun, "old");
    ASSERT_TRUE(entry);
    ASSERT_TRUE(EditEntry(platform, prompts, *entry, {"old", "new.exe /x", std::string(kWinIniRun)}));
    EXPECT_EQ(platform.readProfile("Windows", "Run", winIniPath(platform)), "new.exe /x");
    test::seedWinIni(platform, kWinIniRunKey, "");
}

TEST_F(AddEditDeleteTest, EditMovingAValueToAStartupFolderWritesTheLinkFirst) {
    const std::string program = platform.windowsDirectory() + "\\notepad.exe";
    platform.writeValue(userRun(), test::stringValue("Tool", program), true);
    auto entry = row(kUserRun, "Tool");
    ASSERT_TRUE(entry);
    ASSERT_TRUE(EditEntry(platform, prompts, *entry, {"Tool", program, std::string(kStartupCurrentUser)}));
    EXPECT_FALSE(platform.readValue(userRun(), "Tool"));
    auto info = platform.readShortcut(userStartup() + "\\Tool.lnk");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->fields.targetPath, program);
    platform.deleteFile(userStartup() + "\\Tool.lnk");
}

}  // namespace
}  // namespace lsu
