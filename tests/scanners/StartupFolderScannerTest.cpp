#include <gtest/gtest.h>

#include "catalog/Sections.h"
#include "scanners/SectionLoading.h"
#include "support/Backend.h"
#include "support/Seed.h"

namespace lsu {
namespace {

class StartupFolderScannerTest : public ::testing::Test {
protected:
    std::unique_ptr<test::Backend> backend = test::makeCleanBackend();
    Platform& platform = backend->platform();
    void putFile(const std::string& path) { platform.writeFile(path, {'x'}); }
    static ShortcutFields linkTo(const std::string& target, const std::string& arguments = {}) {
        ShortcutFields fields;
        fields.targetPath = target;
        fields.arguments = arguments;
        return fields;
    }
};

TEST_F(StartupFolderScannerTest, ShortcutsListTheirNameAndTarget) {
    const std::string folder = test::startupFolder(platform, kStartupAllUsers);
    backend->seedShortcut(folder + "\\Tray Clock.lnk", linkTo("C:\\Tools\\app.exe", "-min"));
    backend->seedShortcut(folder + "\\UPPER.LNK", linkTo("C:\\Tools\\upper.exe"));
    auto load = loadPrograms(platform, kStartupAllUsers);
    ASSERT_EQ(load.rows.size(), 2u);
    EXPECT_EQ(load.rows[0].Name, "Tray Clock");
    EXPECT_EQ(load.rows[0].CommandLine, "C:\\Tools\\app.exe");
    EXPECT_EQ(load.rows[0].Type, "Lnk");
    EXPECT_EQ(load.rows[0].fileName, "Tray Clock.lnk");
    EXPECT_EQ(load.rows[0].Status, "Enabled");
    EXPECT_EQ(load.rows[1].Name, "UPPER");
    EXPECT_EQ(load.rows[1].CommandLine, "C:\\Tools\\upper.exe");
    EXPECT_EQ(load.rows[1].Type, "Lnk");
}

TEST_F(StartupFolderScannerTest, PlainFilesListTheirNameAndExist) {
    const std::string folder = test::startupFolder(platform, kStartupCurrentUser);
    putFile(folder + "\\sync.bat");
    auto load = loadPrograms(platform, kStartupCurrentUser);
    ASSERT_EQ(load.rows.size(), 1u);
    EXPECT_EQ(load.rows[0].Name, "sync.bat");
    EXPECT_EQ(load.rows[0].CommandLine, "sync.bat");
    EXPECT_EQ(load.rows[0].Exists, "Yes");
    EXPECT_EQ(load.rows[0].Type, "File");
}

TEST_F(StartupFolderScannerTest, UnreadableShortcutKeepsItsFileName) {
    const std::string folder = test::startupFolder(platform, kStartupCurrentUser);
    putFile(folder + "\\broken.lnk");
    auto load = loadPrograms(platform, kStartupCurrentUser);
    ASSERT_EQ(load.rows.size(), 1u);
    EXPECT_EQ(load.rows[0].Name, "broken");
    EXPECT_EQ(load.rows[0].CommandLine, "");
    EXPECT_EQ(load.rows[0].Type, "Lnk");
    EXPECT_EQ(load.rows[0].fileName, "broken.lnk");
}

TEST_F(StartupFolderScannerTest, HiddenFilesAndSubfoldersAreNotListed) {
    const std::string folder = test::startupFolder(platform, kStartupCurrentUser);
    putFile(folder + "\\desktop.ini");
    platform.setHidden(folder + "\\desktop.ini");
    platform.ensureFolder(folder + "\\Sub");
    putFile(folder + "\\Sub\\inner.bat");
    putFile(folder + "\\b.bat");
    putFile(folder + "\\A.bat");
    auto load = loadPrograms(platform, kStartupCurrentUser);
    ASSERT_EQ(load.rows.size(), 2u);
    EXPECT_EQ(load.rows[0].Name, "A.bat");
    EXPECT_EQ(load.rows[1].Name, "b.bat");
}

TEST_F(StartupFolderScannerTest, ParkedItemsAreListedDisabledUnderTheirSection) {
    putFile(test::startupFolder(platform, kStartupCurrentUser, true) + "\\parked.bat");
    putFile(test::startupFolder(platform, kStartupAllUsers) + "\\shared.bat");
    auto current = loadPrograms(platform, kStartupCurrentUser);
    ASSERT_EQ(current.rows.size(), 1u);
    EXPECT_EQ(current.rows[0].Status, "Disabled");
    EXPECT_FALSE(current.rows[0].Checked);
    EXPECT_EQ(current.rows[0].Section, kStartupCurrentUser);
    auto shared = loadPrograms(platform, kStartupAllUsers);
    ASSERT_EQ(shared.rows.size(), 1u);
    EXPECT_EQ(shared.rows[0].Status, "Enabled");
}

}  // namespace
}  // namespace lsu
