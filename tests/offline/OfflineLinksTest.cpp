// A folder of the volume that is a symbolic link leading out of it: the
// tool reads through it, and refuses every change that would write there,
// so that nothing outside the volume is ever written.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/ExitCodes.h"
#include "offline/OfflineFixture.h"

namespace lsu::test {
namespace {

namespace fs = std::filesystem;

const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kUserStartup = "/Users/Tester/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Startup";
const std::string kCommonStartup = "/ProgramData/Microsoft/Windows/Start Menu/Programs/Startup";
const std::string kUserData = "Users/Tester/AppData/Local/LStartUp";

struct LinkOut {
    std::string folder;  // moved out of the tree, a link to it left in its place
    std::vector<std::string> change;
};

TEST(OfflineLinksOut, ChangesThroughALinkOutOfTheVolumeAreRefusedAndWriteNothingThere) {
    const LinkOut cases[] = {
        {"/Users", {"disable", "Registry\\Current User\\Run", "Tool"}},
        {"/Users/Tester", {"disable", "Registry\\Current User\\Run", "Tool"}},
        {"/Windows", {"disable", "Win.ini\\Load", "tray"}},
        {"/Windows/System32", {"disable", "Registry\\All Users\\Run", "Machine"}},
        {"/Windows/System32/config", {"disable", "Registry\\All Users\\Run", "Machine"}},
        {kCommonStartup, {"disable", "Startup Folder\\All Users", "shared.bat"}},
        {kUserStartup, {"disable", "Startup Folder\\Current User", "mine.bat"}},
        {"/Program Files/LStartUp", {"disable", "Startup Folder\\All Users", "shared.bat"}},
        {"/Users/Tester/AppData/Local", {"disable", "Startup Folder\\Current User", "mine.bat"}},
    };
    for (const auto& [folder, change] : cases) {
        const std::string tree = makeWindowsTree(suiteVolume().mountPoint());
        fillHive(tree + kUserHive, {stringEntry(kRun, "Tool", "C:\\Tools\\tool.exe"),
                                    stringEntry("Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "Load",
                                                "C:\\Tools\\tray.exe")});
        fillHive(tree + kSoftwareHive, {stringEntry(kRun.substr(9), "Machine", "C:\\Tools\\machine.exe")});
        std::ofstream(tree + kCommonStartup + "/shared.bat") << "@echo shared\r\n";
        std::ofstream(tree + kUserStartup + "/mine.bat") << "@echo mine\r\n";
        const std::string outside = tree + "-outside";
        fs::create_directory(outside);
        fs::rename(tree + folder, outside + "/moved");
        fs::create_directory_symlink(outside + "/moved", tree + folder);
        runTool(tree, {"list"});  // makes the folders for parked items where it can
        const auto before = snapshotOf(outside);
        const auto treeBefore = snapshotOf(tree);

        const ProcessResult refused = runTool(tree, change);
        EXPECT_NE(refused.code, cli::kExitOk) << folder << "\n" << refused.out;
        EXPECT_EQ(snapshotOf(outside), before) << folder;
        // The journal records the change that was tried, and that it failed.
        auto treeAfter = snapshotOf(tree);
        std::erase_if(treeAfter, [](const auto& entry) { return entry.first.starts_with(kUserData); });
        EXPECT_EQ(treeAfter, treeBefore) << folder;
    }
}

}  // namespace
}  // namespace lsu::test
