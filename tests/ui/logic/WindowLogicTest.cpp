#include <gtest/gtest.h>

#include "catalog/Sections.h"
#include "platform/memory/MemoryPlatform.h"
#include "ui/logic/EditMenu.h"
#include "ui/logic/RunCommand.h"
#include "ui/logic/ThemeManifest.h"
#include "ui/logic/WindowLayout.h"

namespace lsu {
namespace {

TEST(WindowLayout, SnapsBackToTheMinimumSize) {
    EXPECT_EQ(Form_Resize({3000, 2000}), (Size{4000, 4000}));
    EXPECT_EQ(Form_Resize({5000, 3999}), (Size{5000, 4000}));
    EXPECT_EQ(Form_Resize({9000, 7000}), (Size{9000, 7000}));
}

TEST(WindowLayout, ListSitsBesideThePaneOrAloneWhenItIsHidden) {
    const Rect pane{0, 1230, 2910, 4995};
    auto beside = mtFolders_Resize(pane, true, 10305, 10185, 3000);
    EXPECT_EQ(beside.list, (Rect{2920, 1280, 10305 - 2910 - 200, 4895}));
    EXPECT_EQ(beside.descriptionLeft, beside.list.left + beside.list.width - 3000 - 100);
    auto alone = mtFolders_Resize(pane, false, 10305, 10185, 0);
    EXPECT_EQ(alone.list.left, 50);
    EXPECT_EQ(alone.list.width, 10185 - 100);
    auto wide = mtFolders_Resize({0, 1230, 9000, 4995}, true, 9100, 9000, 0);
    EXPECT_EQ(wide.list.width, 300);
}

TEST(WindowLayout, FolderPaneChildrenFollowItsSize) {
    auto children = layoutMenuTree(3000, 2000);
    EXPECT_EQ(children.splitter, (Rect{2925, 0, 75, 2000}));
    EXPECT_EQ(children.closeButton, (Rect{2700, 60, 195, 195}));
    EXPECT_EQ(children.tree, (Rect{60, 285, 2845, 1645}));
    auto tiny = layoutMenuTree(0, 0);
    EXPECT_EQ(tiny.tree.width, 0);
    EXPECT_EQ(tiny.tree.height, 0);
}

TEST(WindowLayout, SplitterStaysBetweenThePaneAndTheHostsRightEdge) {
    EXPECT_EQ(clampSplitter(-500, 0, 10000), 0);
    EXPECT_EQ(clampSplitter(9900, 0, 10000), 9760);
    EXPECT_EQ(clampSplitter(4000, 0, 10000), 4000);
}

TEST(EditMenu, OffersOnlyWhatAppliesToTheSelection) {
    EXPECT_EQ(mnuEdit_Click(nullptr), EditMenuState{});
    StartupEntry ticked;
    ticked.Checked = true;
    EXPECT_EQ(mnuEdit_Click(&ticked), (EditMenuState{false, true, true, true, true}));
    StartupEntry clear;
    EXPECT_EQ(mnuEdit_Click(&clear), (EditMenuState{true, false, true, true, true}));
}

TEST(RunCommand, SplitsTheCommandLineAndRunsInTheProgramsFolder) {
    MemoryPlatform platform;
    platform.putFile("C:\\Program Files\\My App\\app.exe", {'x'});
    StartupEntry row;
    row.Type = "Reg";
    row.CommandLine = "C:\\Program Files\\My App\\app.exe /tray";
    EXPECT_EQ(launchRequestFor(platform, row),
              (LaunchRequest{"C:\\Program Files\\My App\\app.exe", "/tray", "C:\\Program Files\\My App"}));
    row.CommandLine = "\"%SystemRoot%\\notepad.exe\" -x";
    EXPECT_EQ(launchRequestFor(platform, row), (LaunchRequest{"C:\\windows\\notepad.exe", "-x", "C:\\windows"}));
    row.CommandLine = "  ";
    EXPECT_FALSE(launchRequestFor(platform, row));
}

TEST(RunCommand, ShortcutsOpenTheLinkFileItself) {
    MemoryPlatform platform;
    StartupEntry row;
    row.Type = "Lnk";
    row.Status = "Disabled";
    row.Section = std::string(kStartupCurrentUser);
    row.fileName = "Tool.lnk";
    row.CommandLine = "C:\\Tools\\tool.exe";
    auto request = launchRequestFor(platform, row);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->file, std::string(kMemoryProgramFolder) + "\\Startup Folder\\Current User\\Tool.lnk");
}

TEST(ThemeManifest, IsWrittenOnceHiddenAndNamedAfterTheProgram) {
    EXPECT_EQ(themeManifestPath("C:\\Tools", "manager.exe"), "C:\\Tools\\manager.exe.manifest");
    EXPECT_EQ(themeManifestPath("C:\\", "manager.exe"), "C:\\manager.exe.manifest");
    const std::string text = themeManifestText("manager.exe");
    EXPECT_NE(text.find("name=\"Fernlight.WindowsXP.manager\""), std::string::npos);
    EXPECT_NE(text.find("processorArchitecture=\"amd64\""), std::string::npos);
    EXPECT_EQ(text.find("X86"), std::string::npos);

    MemoryPlatform platform;
    EXPECT_EQ(WriteThemeManifest(platform), ManifestResult::Written);
    const std::string path = themeManifestPath(platform.programFolder(), platform.programFileName());
    EXPECT_TRUE(platform.listFiles(platform.programFolder()).empty());  // hidden
    platform.writeFile(path, {});
    EXPECT_EQ(WriteThemeManifest(platform), ManifestResult::AlreadyThere);
    EXPECT_EQ(platform.readFile(path)->size(), 0u);

    MemoryPlatform readOnly;
    readOnly.setReadOnlyFolder(readOnly.programFolder(), true);
    EXPECT_EQ(WriteThemeManifest(readOnly), ManifestResult::Failed);
}

}  // namespace
}  // namespace lsu
