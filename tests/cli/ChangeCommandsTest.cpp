#include <gtest/gtest.h>

#include <algorithm>

#include "catalog/Sections.h"
#include "cli/CliHarness.h"
#include "cli/ExitCodes.h"
#include "platform/memory/MemoryPlatform.h"
#include "scanners/SectionLoading.h"
#include "support/Seed.h"

namespace lsu::test {

namespace {

constexpr const char* kUserRun = "Registry\\Current User\\Run";

class ChangeCommands : public MixedInventoryTest {
protected:
    void SetUp() override {
        MixedInventoryTest::SetUp();
        before_ = inventory(platform());
    }

    // An error leaves one line on stderr, nothing on stdout and every entry where it was.
    void expectRefusedWithoutChange(const std::vector<std::string>& args, int code) {
        const CliResult result = runTool(platform(), args);
        EXPECT_EQ(result.code, code) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_TRUE(result.err.starts_with("lstartup-cli: ")) << result.err;
        EXPECT_EQ(inventory(platform()), before_);
    }

    std::vector<std::string> rowNamed(const std::string& section, const std::string& name) {
        for (const auto& fields : fieldsOf(loadPrograms(platform(), section).rows))
            if (fields[0] == name) return fields;
        return {};
    }

    std::vector<std::vector<std::string>> before_;
};

}  // namespace

TEST_F(ChangeCommands, DisableParksTheEntryAndEnableBringsItBack) {
    const CliResult disabled = runTool(platform(), {"disable", kUserRun, "tool"});
    EXPECT_EQ(disabled.code, cli::kExitOk) << disabled.err;
    EXPECT_EQ(rowNamed(kUserRun, "Tool").at(4), "Disabled");
    const CliResult enabled = runTool(platform(), {"enable", kUserRun, "Tool"});
    EXPECT_EQ(enabled.code, cli::kExitOk) << enabled.err;
    EXPECT_EQ(inventory(platform()), before_);
}

TEST_F(ChangeCommands, EnablingAnEnabledEntryChangesNothing) {
    const CliResult result = runTool(platform(), {"enable", kUserRun, "Tool"});
    EXPECT_EQ(result.code, cli::kExitOk);
    EXPECT_NE(result.out.find("already enabled"), std::string::npos) << result.out;
    EXPECT_EQ(inventory(platform()), before_);
}

TEST_F(ChangeCommands, DisablesAWinIniLineAndAStartupShortcut) {
    const std::string lineName = loadPrograms(platform(), kWinIniLoad).rows.at(0).Name;
    EXPECT_EQ(runTool(platform(), {"disable", std::string(kWinIniLoad), lineName}).code, cli::kExitOk);
    EXPECT_EQ(rowNamed(std::string(kWinIniLoad), lineName).at(4), "Disabled");
    EXPECT_EQ(runTool(platform(), {"disable", kRootSectionKey.data(), "Linked"}).code, cli::kExitOk);
    EXPECT_EQ(rowNamed(std::string(kStartupCurrentUser), "Linked").at(4), "Disabled");
}

TEST_F(ChangeCommands, DeleteNeedsYes) {
    expectRefusedWithoutChange({"delete", kUserRun, "Tool"}, cli::kExitRefused);
    const CliResult result = runTool(platform(), {"delete", kUserRun, "Tool", "--yes"});
    EXPECT_EQ(result.code, cli::kExitOk) << result.err;
    EXPECT_TRUE(rowNamed(kUserRun, "Tool").empty());
}

TEST_F(ChangeCommands, RefusalNamesTheQuestionAndTheWayOut) {
    const CliResult result = runTool(platform(), {"delete", kUserRun, "Parked"});
    EXPECT_NE(result.err.find("Are you sure to delete the selected item? This action can not be undone."),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("--yes"), std::string::npos);
}

TEST_F(ChangeCommands, AddWritesARegistryValueAndAShortcut) {
    EXPECT_EQ(runTool(platform(), {"add", kUserRun, "New", "C:\\new.exe -a"}).code, cli::kExitOk);
    EXPECT_EQ(rowNamed(kUserRun, "New").at(1), "C:\\new.exe -a");
    const CliResult link = runTool(platform(), {"add", std::string(kStartupAllUsers), "Helper", "C:\\helper.exe"});
    EXPECT_EQ(link.code, cli::kExitOk) << link.err;
    EXPECT_EQ(rowNamed(std::string(kStartupAllUsers), "Helper").at(5), "Lnk");
}

TEST_F(ChangeCommands, AddOverAnExistingEntryNeedsYes) {
    expectRefusedWithoutChange({"add", kUserRun, "tool", "C:\\other.exe"}, cli::kExitRefused);
    const CliResult result = runTool(platform(), {"add", kUserRun, "Tool", "C:\\other.exe", "-y"});
    EXPECT_EQ(result.code, cli::kExitOk) << result.err;
    EXPECT_EQ(rowNamed(kUserRun, "Tool").at(1), "C:\\other.exe");
}

TEST_F(ChangeCommands, AddOverAnExistingShortcutNeedsYes) {
    expectRefusedWithoutChange({"add", std::string(kStartupCurrentUser), "Linked", "C:\\other.exe"},
                               cli::kExitRefused);
}

TEST_F(ChangeCommands, UnknownCommandIsAUsageError) { expectRefusedWithoutChange({"frobnicate"}, cli::kExitUsage); }

TEST_F(ChangeCommands, MissingArgumentsAndNoCommandAreUsageErrors) {
    expectRefusedWithoutChange({"disable", kUserRun}, cli::kExitUsage);
    expectRefusedWithoutChange({}, cli::kExitUsage);
    expectRefusedWithoutChange({"add", kUserRun, "", "x.exe"}, cli::kExitUsage);
}

TEST_F(ChangeCommands, UnknownSectionIsItsOwnError) {
    expectRefusedWithoutChange({"list", "Registry\\Nowhere"}, cli::kExitUnknownSection);
    expectRefusedWithoutChange({"disable", "Registry\\Nowhere", "Tool"}, cli::kExitUnknownSection);
}

TEST_F(ChangeCommands, AddingToAWinIniSectionIsRefusedAsTheWindowDoes) {
    expectRefusedWithoutChange({"add", "Win.ini\\Run", "x", "x.exe", "--yes"}, cli::kExitUnknownSection);
}

TEST_F(ChangeCommands, MissingEntryIsItsOwnError) {
    expectRefusedWithoutChange({"delete", kUserRun, "Nobody", "--yes"}, cli::kExitEntryNotFound);
    expectRefusedWithoutChange({"enable", "Registry\\All Users\\Run", "Tool"}, cli::kExitEntryNotFound);
}

TEST_F(ChangeCommands, TwoEntriesOfOneNameAreAmbiguousAndNeitherIsTouched) {
    seedRegistry(platform(), kUserRun, stringValue("Tool", "C:\\parked\\tool.exe"), true);
    before_ = inventory(platform());
    expectRefusedWithoutChange({"delete", kUserRun, "Tool", "--yes"}, cli::kExitAmbiguousName);
    expectRefusedWithoutChange({"enable", kUserRun, "tool"}, cli::kExitAmbiguousName);
}

TEST_F(ChangeCommands, HelpDocumentsTheCommandsAndExitCodes) {
    const CliResult tool = runTool(platform(), {"--help"});
    EXPECT_EQ(tool.code, cli::kExitOk);
    for (const char* text : {"list", "enable", "disable", "delete", "add", "Exit codes", "ambiguous"})
        EXPECT_NE(tool.out.find(text), std::string::npos) << text;
    const CliResult list = runTool(platform(), {"list", "--help"});
    EXPECT_EQ(list.code, cli::kExitOk);
    EXPECT_NE(list.out.find("--format"), std::string::npos);
    EXPECT_NE(list.out.find("Registry\\All Users\\Run Services Once"), std::string::npos);
    EXPECT_NE(runTool(platform(), {"add", "--help"}).out.find("--yes"), std::string::npos);
}

TEST(ChangeCommandsOnFailingSystem, FailedDisableIsReportedAndLeavesTheEntry) {
    MemoryPlatform platform;
    seedRegistry(platform, kUserRun, stringValue("Tool", "tool.exe"));
    const auto before = inventory(platform);
    platform.failWhen = [](MemoryOp op) { return op == MemoryOp::RegistryWrite; };
    const CliResult result = runTool(platform, {"disable", kUserRun, "Tool"});
    platform.failWhen = nullptr;
    EXPECT_EQ(result.code, cli::kExitOperationFailed);
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_EQ(inventory(platform), before);
}

TEST(ChangeCommandsOnFailingSystem, FailedAddIsReported) {
    MemoryPlatform platform;
    platform.failWhen = [](MemoryOp op) { return op == MemoryOp::RegistryWrite; };
    const CliResult result = runTool(platform, {"add", kUserRun, "New", "new.exe"});
    platform.failWhen = nullptr;
    EXPECT_EQ(result.code, cli::kExitOperationFailed);
    EXPECT_TRUE(inventory(platform).empty());
}

}  // namespace lsu::test
