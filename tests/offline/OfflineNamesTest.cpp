// Names on the volume that Windows could never have made: the tool lists
// the files that bear them, reads them as themselves, and refuses every
// change to them, naming the file, without touching any other file.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/ExitCodes.h"
#include "offline/OfflineFixture.h"

namespace lsu::test {
namespace {

namespace fs = std::filesystem;

const std::string kUserStartup = "/Users/Tester/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Startup";

std::string upFromStartup() {
    std::string up;
    for (int i = 0; i < 9; ++i) up += "..\\";
    return up;
}

struct CraftedName {
    std::string name;       // as the file in the user's Startup folder is named on the host
    std::string lookalike;  // the file Windows' reading of the name would reach, made beside it
    std::string command;
};

TEST(OfflineCraftedNames, ChangesAreRefusedNamingTheFileAndTouchNothingElse) {
    const CraftedName cases[] = {
        {upFromStartup() + "Windows\\System32\\config\\SOFTWARE", "", "delete"},
        {upFromStartup() + "Users\\Tester\\NTUSER.DAT", "", "disable"},
        {"Keep.exe.", kUserStartup + "/Keep.exe", "delete"},
        {"Keep.exe ", kUserStartup + "/Keep.exe", "disable"},
        {"Tools\\Keep.exe", kUserStartup + "/Tools/Keep.exe", "delete"},
        {"aux", "", "disable"},
    };
    for (const auto& [name, lookalike, command] : cases) {
        const std::string tree = makeWindowsTree(suiteVolume().mountPoint());
        const std::string host = tree + kUserStartup + "/" + name;
        putBytes(host, {'c', 'r', 'a', 'f', 't'});
        if (!lookalike.empty()) {
            fs::create_directories(fs::path(tree + lookalike).parent_path());
            putBytes(tree + lookalike, {'r', 'e', 'a', 'l'});
        }
        ASSERT_EQ(runTool(tree, {"list"}).code, cli::kExitOk);
        const auto before = snapshotOf(tree);

        EXPECT_NE(runTool(tree, {"list", "Startup Folder\\Current User", "--format", "csv"}).out.find(name),
                  std::string::npos)
            << name;
        std::vector<std::string> change = {command, "Startup Folder\\Current User", name};
        if (command == "delete") change.push_back("--yes");
        const ProcessResult refused = runTool(tree, change);
        EXPECT_EQ(refused.code, cli::kExitOperationFailed) << name << "\n" << refused.out;
        EXPECT_NE(refused.out.find(command == "delete" ? host : name), std::string::npos) << refused.out;
        EXPECT_EQ(snapshotOf(tree), before) << name;
    }
}

}  // namespace
}  // namespace lsu::test
