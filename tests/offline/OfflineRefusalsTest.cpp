// The Linux tool on an offline tree, end to end: what it refuses leaves the
// tree byte for byte as it was, and what a run stopped between the two writes
// of a move left behind the next run lists and finishes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/ExitCodes.h"
#include "offline/OfflineFixture.h"
#include "platform/formats/HiveHeader.h"
#include "platform/formats/LittleEndian.h"

namespace lsu::test {
namespace {

namespace fs = std::filesystem;

const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kUserRun = "Registry\\Current User\\Run";
const std::string kMappedWindows = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const std::string kUserStartup = "/Users/Tester/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Startup";

// The hive's sequence numbers set apart, as a Windows stopped during a write leaves them.
void markDirty(const std::string& hive) {
    formats::LittleEndianWriter file;
    file.append(fileBytes(hive));
    file.patch32(4, *formats::readLe32(file.bytes(), 8) + 1);
    file.patch32(formats::kChecksumOffset, formats::baseBlockChecksum(file.bytes()));
    putBytes(hive, file.bytes());
}

TEST(OfflineRefusals, LeaveTheTreeByteForByteAsItWas) {
    struct Refusal {
        const char* what;
        std::vector<HiveEntry> userHive;
        std::function<void(const std::string& tree)> prepare;
        std::vector<std::string> command;
        int code;
    };
    const auto nothing = [](const std::string&) {};
    const Refusal cases[] = {
        {"parking the load line while the hive holding it is dirty",
         {stringEntry(kMappedWindows, "Load", "C:\\Tools\\tray.exe")},
         [](const std::string& tree) { markDirty(tree + kUserHive); },
         {"disable", "Win.ini\\Load", "tray"},
         cli::kExitDirtyHive},
        {"parking a load line holding line breaks",
         {stringEntry(kMappedWindows, "Load", "C:\\a.exe\r\n[boot]\r\nshell=C:\\evil.exe")},
         nothing,
         {"disable", "Win.ini\\Load", "evil"},
         cli::kExitOperationFailed},
        {"parking a run line beginning with \"[\"",
         {stringEntry(kMappedWindows, "Run", "[boot]")},
         nothing,
         {"disable", "Win.ini\\Run", "[boot]"},
         cli::kExitOperationFailed},
        {"adding a value whose name is longer than the registry takes",
         {},
         nothing,
         {"add", kUserRun, std::string(20000, 'n'), "C:\\Tools\\long.exe"},
         cli::kExitOperationFailed},
        {"parking a file of all users without a program folder",
         {},
         [](const std::string& tree) {
             fs::remove_all(tree + "/Program Files/LStartUp");
             std::ofstream(tree + "/ProgramData/Microsoft/Windows/Start Menu/Programs/Startup/sync.bat")
                 << "@echo off\r\n";
         },
         {"disable", "Startup Folder\\All Users", "sync.bat"},
         cli::kExitOperationFailed},
    };
    for (const Refusal& refusal : cases) {
        SCOPED_TRACE(refusal.what);
        const std::string tree = makeWindowsTree(suiteVolume().mountPoint());
        fillHive(tree + kUserHive, refusal.userHive);
        refusal.prepare(tree);
        const auto before = snapshotOf(tree);
        const ProcessResult refused = runTool(tree, refusal.command);
        EXPECT_EQ(refused.code, refusal.code) << refused.out;
        EXPECT_EQ(snapshotOf(tree), before);
    }
}

// A disable stopped after it parked the value and before it removed it
// leaves the same value in Run and in Run-.
TEST(OfflineMoveCutShort, IsListedTwiceAndTheNextRunFinishesOrDeletesEitherCopy) {
    const std::tuple<std::vector<std::string>, int, bool, bool> cases[] = {
        {{"disable", kUserRun, "Tool"}, cli::kExitOk, false, true},
        {{"enable", kUserRun, "Tool"}, cli::kExitOk, true, false},
        {{"delete", kUserRun, "Tool", "--live", "--yes"}, cli::kExitOk, false, true},
        {{"delete", kUserRun, "Tool", "--parked", "--yes"}, cli::kExitOk, true, false},
        {{"delete", kUserRun, "Tool", "--yes"}, cli::kExitAmbiguousName, true, true},
    };
    for (const auto& [command, code, live, parked] : cases) {
        SCOPED_TRACE(command.front() + " " + command.back());
        const std::string tree = makeWindowsTree(suiteVolume().mountPoint());
        const std::string hive = tree + kUserHive;
        fillHive(hive, {stringEntry(kRun, "Tool", "C:\\Tools\\tool.exe"),
                        stringEntry(kRun + "-", "Tool", "C:\\Tools\\tool.exe")});
        const auto stored = storedBytes(hive, kRun, "Tool");
        const ProcessResult listed = runTool(tree, {"list", kUserRun, "--format", "csv"});
        EXPECT_NE(listed.out.find("Tool,C:\\Tools\\tool.exe,No,Registry\\Current User\\Run,Enabled"), std::string::npos)
            << listed.out;
        EXPECT_NE(listed.out.find("Tool,C:\\Tools\\tool.exe,No,Registry\\Current User\\Run,Disabled"),
                  std::string::npos)
            << listed.out;
        const ProcessResult done = runTool(tree, command);
        EXPECT_EQ(done.code, code) << done.out;
        EXPECT_EQ(storedBytes(hive, kRun, "Tool"), live ? stored : std::vector<std::uint8_t>{});
        EXPECT_EQ(storedBytes(hive, kRun + "-", "Tool"), parked ? stored : std::vector<std::uint8_t>{});
    }
}

}  // namespace
}  // namespace lsu::test
