#include <gtest/gtest.h>

#include "catalog/DisabledStores.h"
#include "catalog/Sections.h"
#include "operations/LanguageTable.h"
#include "operations/Messages.h"
#include "operations/Operations.h"
#include "operations/ScriptedPrompts.h"
#include "platform/memory/MemoryPlatform.h"
#include "scanners/SectionLoading.h"
#include "support/Seed.h"

namespace lsu {
namespace {

constexpr std::string_view kUserRun = "Registry\\Current User\\Run";
constexpr std::string_view kMachineRun = "Registry\\All Users\\Run";

class FailureTest : public ::testing::Test {
protected:
    MemoryPlatform platform;
    test::ScriptedPrompts prompts;
    const RegistryLocation run{Hive::CurrentUser, RegistryView::Shared, GetSubKey(kUserRun)};
    const RegistryLocation parked{Hive::CurrentUser, RegistryView::Shared, disabledSubkey(GetSubKey(kUserRun))};

    StartupEntry onlyRow(std::string_view section) {
        auto rows = loadPrograms(platform, section).rows;
        EXPECT_EQ(rows.size(), 1u);
        return rows.empty() ? StartupEntry{} : rows.front();
    }
    void failOn(MemoryOp failing) {
        platform.failWhen = [failing](MemoryOp op) { return op == failing; };
    }
};

TEST_F(FailureTest, FailedDisableKeepsTheValueAndPutsTheBoxBack) {
    platform.writeValue(run, test::stringValue("Tool", "tool.exe"), true);
    StartupEntry entry = onlyRow(kUserRun);
    entry.Checked = false;
    failOn(MemoryOp::RegistryWrite);
    EXPECT_FALSE(EnabledDisableProgram(platform, prompts, entry));
    EXPECT_TRUE(entry.Checked);
    EXPECT_EQ(entry.Status, kStatusEnabled);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].prompt, languageText(kTextDisableFailedPrompt));
    EXPECT_EQ(prompts.messages[0].style, kStyleCritical);
    platform.failWhen = nullptr;
    EXPECT_EQ(platform.readValue(run, "Tool"), test::stringValue("Tool", "tool.exe"));
    EXPECT_FALSE(platform.readValue(parked, "Tool"));
}

TEST_F(FailureTest, SourceThatCannotBeRemovedTakesTheParkedCopyBack) {
    platform.writeValue(run, test::stringValue("Tool", "tool.exe"), true);
    StartupEntry entry = onlyRow(kUserRun);
    entry.Checked = false;
    // Only the removal from the source is refused; taking the copy back works.
    platform.failWhen = [deletes = 0](MemoryOp op) mutable { return op == MemoryOp::RegistryDelete && ++deletes == 1; };
    EXPECT_FALSE(EnabledDisableProgram(platform, prompts, entry));
    platform.failWhen = nullptr;
    EXPECT_TRUE(platform.readValue(run, "Tool"));
    EXPECT_FALSE(platform.readValue(parked, "Tool"));
}

TEST_F(FailureTest, FailedEnableOfAWinIniLineNamesWinIni) {
    test::seedWinIni(platform, kWinIniLoadKey, "tool.exe", true);
    StartupEntry entry = onlyRow(kWinIniLoad);
    entry.Checked = true;
    failOn(MemoryOp::ProfileWrite);
    EXPECT_FALSE(EnabledDisableProgram(platform, prompts, entry));
    EXPECT_FALSE(entry.Checked);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, languageText(kTextWinIniEnableFailedTitle));
}

TEST_F(FailureTest, FolderMoveFallsBackToACheckedCopyWhenRenameFails) {
    const std::string startup = platform.specialFolder(kCsidlStartup);
    ensureDisabledItemsFolders(platform);
    platform.putFile(startup + "\\tool.bat", {'x', 'y'});
    StartupEntry entry = onlyRow(kStartupCurrentUser);
    entry.Checked = false;
    failOn(MemoryOp::FileMove);
    ASSERT_TRUE(EnabledDisableProgram(platform, prompts, entry));
    platform.failWhen = nullptr;
    EXPECT_FALSE(platform.fileExists(startup + "\\tool.bat"));
    EXPECT_EQ(platform.readFile(disabledItemsFolder(platform, kStartupCurrentUser) + "\\tool.bat"),
              (std::vector<std::uint8_t>{'x', 'y'}));
}

TEST_F(FailureTest, RefusedAddToTheMachineHiveReportsAndWritesNothing) {
    platform.setReadOnlyHive(Hive::LocalMachine, true);
    EXPECT_FALSE(AddNew(platform, prompts, {"Tool", "tool.exe", std::string(kMachineRun)}));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].prompt, kAddFailedPrompt);
    EXPECT_EQ(prompts.messages[0].title, kAddFailedTitle);
    EXPECT_EQ(prompts.messages[0].style, kStyleCritical);
    EXPECT_TRUE(loadPrograms(platform, kMachineRun).rows.empty());
}

TEST_F(FailureTest, AddToAReadOnlyStartupFolderLeavesNoFile) {
    const std::string startup = platform.specialFolder(kCsidlStartup);
    platform.setReadOnlyFolder(startup, true);
    EXPECT_FALSE(AddNew(platform, prompts, {"Tool", "tool.exe", std::string(kStartupCurrentUser)}));
    EXPECT_EQ(prompts.messages.at(0).prompt, kAddFailedPrompt);
    EXPECT_TRUE(platform.listFiles(startup).empty());
}

TEST_F(FailureTest, RefusedDeleteIsReported) {
    const std::string startup = platform.specialFolder(kCsidlStartup);
    platform.putFile(startup + "\\tool.bat", {'x'});
    StartupEntry entry = onlyRow(kStartupCurrentUser);
    platform.setReadOnlyFolder(startup, true);
    EXPECT_FALSE(DeleteProgram(platform, prompts, entry));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].style, kStyleCritical);
    EXPECT_TRUE(platform.fileExists(startup + "\\tool.bat"));
}

TEST_F(FailureTest, EditWhoseNewWriteFailsKeepsTheOldEntry) {
    platform.writeValue(run, test::stringValue("Old", "old.exe"), true);
    StartupEntry entry = onlyRow(kUserRun);
    failOn(MemoryOp::RegistryWrite);
    EXPECT_FALSE(EditEntry(platform, prompts, entry, {"New", "new.exe", std::string(kUserRun)}));
    EXPECT_EQ(prompts.messages.at(0).prompt, kEditFailedPrompt);
    platform.failWhen = nullptr;
    EXPECT_EQ(platform.readValue(run, "Old"), test::stringValue("Old", "old.exe"));
    EXPECT_FALSE(platform.readValue(run, "New"));
}

}  // namespace
}  // namespace lsu
