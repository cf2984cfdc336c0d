#include <gtest/gtest.h>

#include "scanners/Scanners.h"
#include "scanners/SectionLoading.h"
#include "support/Backend.h"
#include "support/Seed.h"

namespace lsu {
namespace {

TEST(WinIniEntryName, IsTheLastComponentUpToItsFirstDot) {
    EXPECT_EQ(winIniEntryName("C:\\Tools\\Tray App.exe"), "Tray App");
    EXPECT_EQ(winIniEntryName("notepad.exe"), "notepad");
    EXPECT_EQ(winIniEntryName("C:\\Tools\\viewer"), "viewer");
    EXPECT_EQ(winIniEntryName("C:\\a.exe C:\\b.exe"), "b");
    EXPECT_EQ(winIniEntryName("C:\\My.Tools\\app"), "app");
    EXPECT_EQ(winIniEntryName("C:\\Tools\\my.app.exe"), "my");
}

class WinIniScannerTest : public ::testing::Test {
protected:
    std::unique_ptr<test::Backend> backend = test::makeCleanBackend();
    Platform& platform = backend->platform();
};

TEST_F(WinIniScannerTest, ListsTheWholeLineEnabledThenParked) {
    test::seedWinIni(platform, "Run", "C:\\Tools\\Tray App.exe");
    test::seedWinIni(platform, "Run", "C:\\Old\\parked.exe -x", true);
    auto load = loadPrograms(platform, "Win.ini\\Run");
    ASSERT_EQ(load.rows.size(), 2u);
    EXPECT_EQ(load.rows[0].Name, "Tray App");
    EXPECT_EQ(load.rows[0].CommandLine, "C:\\Tools\\Tray App.exe");
    EXPECT_EQ(load.rows[0].Status, "Enabled");
    EXPECT_TRUE(load.rows[0].Checked);
    EXPECT_EQ(load.rows[0].Type, "File");
    EXPECT_EQ(load.rows[1].Name, "parked");
    EXPECT_EQ(load.rows[1].Status, "Disabled");
    EXPECT_FALSE(load.rows[1].Checked);
    EXPECT_EQ(load.rows[1].Section, "Win.ini\\Run");
}

TEST_F(WinIniScannerTest, NoExactlyIsNoEntryButOtherShortValuesAre) {
    test::seedWinIni(platform, "Load", "No");
    EXPECT_TRUE(loadPrograms(platform, "Win.ini\\Load").rows.empty());
    test::seedWinIni(platform, "Load", "no");
    ASSERT_EQ(loadPrograms(platform, "Win.ini\\Load").rows.size(), 1u);
    test::seedWinIni(platform, "Load", "x");
    auto load = loadPrograms(platform, "Win.ini\\Load");
    ASSERT_EQ(load.rows.size(), 1u);
    EXPECT_EQ(load.rows[0].CommandLine, "x");
    test::seedWinIni(platform, "Load", "");
    EXPECT_TRUE(loadPrograms(platform, "Win.ini\\Load").rows.empty());
}

TEST_F(WinIniScannerTest, LongAndNonAsciiLinesAreReadWhole) {
    const std::string line = "C:\\" + std::string(300, 'w') + "\\\xCE\xB1\xCE\xB2 \xE6\x97\xA5.exe";
    test::seedWinIni(platform, "Load", line);
    auto load = loadPrograms(platform, "Win.ini\\Load");
    ASSERT_EQ(load.rows.size(), 1u);
    EXPECT_EQ(load.rows[0].CommandLine, line);
    EXPECT_EQ(load.rows[0].Name, "\xCE\xB1\xCE\xB2 \xE6\x97\xA5");
}

}  // namespace
}  // namespace lsu
