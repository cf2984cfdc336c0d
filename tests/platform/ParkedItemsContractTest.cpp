// The current user's parked Startup items stand in that user's own folder,
// never beside the program where every user of the machine would find them;
// items an earlier run parked beside the program are listed and changed
// where they stand, and nothing is moved behind the user's back.

#include <gtest/gtest.h>

#include "base/WindowsPaths.h"
#include "catalog/DisabledStores.h"
#include "operations/Operations.h"
#include "scanners/SectionLoading.h"
#include "support/Backend.h"
#include "support/FixedAnswers.h"
#include "support/Seed.h"

namespace lsu {
namespace {

using namespace test;
using enum SectionId;

using PlatformContractParkedItems = BackendTest;

std::string fileIn(const std::string& folder, const std::string& name) { return withTrailingBackslash(folder) + name; }

// The folder beside the program that an earlier run parked the current
// user's items in, made as that run made it.
std::string folderBesideProgram(const ScanPorts& platform) {
    const std::string folder = disabledItemsFolderBesideProgram(platform.system, StartupCurrentUser);
    expectDone(platform.files.ensureFolder(parentFolderOf(folder)), "making Startup Folder beside the program");
    expectDone(platform.files.ensureFolder(folder), "making Current User beside the program");
    return folder;
}

TEST_F(PlatformContractParkedItems, AParkedItemOfTheCurrentUserStandsInThatUsersOwnFolder) {
    const std::string startup = startupFolder(platform, StartupCurrentUser);
    expectDone(platform.files.writeFile(fileIn(startup, "tool.bat"), {'x'}), "seeding tool.bat");
    StartupEntry row = findRow(platform, StartupCurrentUser, "tool.bat").value();
    row.checked = false;
    AnswerYes prompts;
    ASSERT_TRUE(applyCheckState(platform, prompts, row));
    const std::string own = withTrailingBackslash(platform.system.shellFolder(ShellFolder::LocalAppData)) +
                            "LStartUp\\Startup Folder\\Current User";
    EXPECT_TRUE(platform.files.fileExists(fileIn(own, "tool.bat")));
    EXPECT_FALSE(platform.files.fileExists(
        fileIn(disabledItemsFolderBesideProgram(platform.system, StartupCurrentUser), "tool.bat")));
}

TEST_F(PlatformContractParkedItems, ItemsParkedBesideTheProgramAreEachTheirOwnRow) {
    const std::string besideProgram = folderBesideProgram(platform);
    const std::string own = startupFolder(platform, StartupCurrentUser, true);
    expectDone(platform.files.writeFile(fileIn(besideProgram, "tool.bat"), {'o', 'l', 'd'}), "seeding the old one");
    expectDone(platform.files.writeFile(fileIn(own, "tool.bat"), {'n', 'e', 'w'}), "seeding the new one");
    const EntryList rows = loadSection(platform, StartupCurrentUser).rows;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_FALSE(rows[0].parkedBesideProgram);
    EXPECT_TRUE(rows[1].parkedBesideProgram);
    for (const StartupEntry& row : rows) {
        EXPECT_FALSE(row.enabled);
        EXPECT_FALSE(row.hasTwin);
    }
}

// Enabling or deleting the one listed beside the program acts on it alone.
TEST(PlatformContractParkedBesideProgram, ChangesActOnExactlyTheRowListed) {
    for (bool enabling : {true, false}) {
        SCOPED_TRACE(enabling ? "enabling" : "deleting");
        auto backend = makeCleanBackend();
        const ScanPorts& platform = backend->ports();
        const std::string besideProgram = folderBesideProgram(platform);
        const std::string own = startupFolder(platform, StartupCurrentUser, true);
        expectDone(platform.files.writeFile(fileIn(besideProgram, "tool.bat"), {'o', 'l', 'd'}), "seeding the old");
        expectDone(platform.files.writeFile(fileIn(own, "tool.bat"), {'n', 'e', 'w'}), "seeding the new");
        EntryList rows = loadSection(platform, StartupCurrentUser).rows;
        ASSERT_EQ(rows.size(), 2u);
        StartupEntry& old = rows[1];
        AnswerYes prompts;
        old.checked = true;
        ASSERT_TRUE(enabling ? applyCheckState(platform, prompts, old) : deleteEntry(platform, old));
        EXPECT_FALSE(platform.files.fileExists(fileIn(besideProgram, "tool.bat")));
        EXPECT_EQ(platform.files.readFile(fileIn(own, "tool.bat")), (Bytes{'n', 'e', 'w'}));
        const auto started = platform.files.readFile(fileIn(startupFolder(platform, StartupCurrentUser), "tool.bat"));
        EXPECT_EQ(static_cast<bool>(started), enabling);
        if (started) {
            EXPECT_EQ(*started, (Bytes{'o', 'l', 'd'}));
        }
    }
}

}  // namespace
}  // namespace lsu
