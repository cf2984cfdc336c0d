// Two people share one machine: what one parks, the other neither sees nor
// moves.

#include <gtest/gtest.h>

#include "catalog/DisabledStores.h"
#include "operations/OperationsFixture.h"
#include "scanners/SectionLoading.h"

namespace lsu::test {
namespace {

using enum SectionId;

TEST(ParkedStartupItems, AnotherUserNeitherSeesNorMovesWhatOneUserParked) {
    MemoryPlatform platform;
    ScriptedPrompts prompts;
    platform.putFile(platform.shellFolder(ShellFolder::UserStartup) + "\\tool.bat", {'x'});
    StartupEntry row = findRow(platform, StartupCurrentUser, "tool.bat").value();
    ASSERT_TRUE(clickBox(platform, prompts, row));

    platform.setShellFolder(ShellFolder::UserStartup, "C:\\users\\second\\Start Menu\\Programs\\Startup");
    platform.setShellFolder(ShellFolder::LocalAppData, "C:\\users\\second\\AppData\\Local");
    EXPECT_TRUE(loadSection(platform, StartupCurrentUser).rows.empty());
}

// Under Program Files a standard user cannot write beside the program.
TEST(ParkedStartupItems, AUserWhoCannotWriteBesideTheProgramParksTheirOwnItems) {
    MemoryPlatform platform;
    ScriptedPrompts prompts;
    platform.putFile(platform.shellFolder(ShellFolder::UserStartup) + "\\tool.bat", {'x'});
    platform.makeReadOnly(platform.programFolder());
    StartupEntry row = findRow(platform, StartupCurrentUser, "tool.bat").value();
    EXPECT_TRUE(clickBox(platform, prompts, row));
    EXPECT_TRUE(platform.fileExists(disabledItemsFolder(platform, StartupCurrentUser) + "\\tool.bat"));
}

}  // namespace
}  // namespace lsu::test
