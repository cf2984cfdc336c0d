#include <gtest/gtest.h>

#include "WindowHarness.h"
#include "operations/ServiceSwitch.h"
#include "support/Seed.h"
#include "ui/logic/WindowLayout.h"

namespace lsu::test {

// The boxes the window ticks as it loads, or reloads, are no user's change.
TEST(MainWindow, OpensOnTheRootExpandedAndSelectedWithTitleIconsAndEverySeededEntryTicked) {
    WindowHarness harness;
    harness.seedUserRun("Tool", "C:\\nowhere\\tool.exe");
    harness.seedUserRun("Parked", "C:\\nowhere\\parked.exe", true);
    harness.open();
    EXPECT_EQ(harness.selectedSection(), SectionId::AllPrograms);
    EXPECT_TRUE(TreeView_GetItemState(harness.tree(), TreeView_GetRoot(harness.tree()), TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(harness.window().headerFolderName(), "All Programs");
    harness.choose(harness.viewMenu(), "Refresh");
    EXPECT_TRUE(harness.rowChecked(harness.rowNamed("Tool")));
    EXPECT_FALSE(harness.rowChecked(harness.rowNamed("Parked")));
    EXPECT_EQ(harness.window().userCheckEvents(), 0);
    EXPECT_EQ(harness.userRun("Tool"), "C:\\nowhere\\tool.exe");
    EXPECT_EQ(harness.userRun("Parked", true), "C:\\nowhere\\parked.exe");
    EXPECT_EQ(windowText(harness.main()), "Tovane StartUp");
    EXPECT_NE(GetClassLongPtrW(harness.main(), GCLP_HICON), 0);
    EXPECT_NE(GetClassLongPtrW(harness.main(), GCLP_HICONSM), 0);
}

TEST(MainWindow, KeepsItsMinimumSizeOf4000TwipsAndItsToolbar840Twips) {
    WindowHarness harness;
    harness.open();
    RECT toolbar;
    GetWindowRect(harness.toolbar(), &toolbar);
    EXPECT_EQ(toolbar.bottom - toolbar.top, MulDiv(840, 96, 1440));
    MINMAXINFO limits = {};
    SendMessageW(harness.main(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    const LONG minimum = MulDiv(kMinimumWindowTwips, 96, 1440);
    EXPECT_EQ(std::pair(limits.ptMinTrackSize.x, limits.ptMinTrackSize.y), std::pair(minimum, minimum));
}

TEST(MainWindow, TheListsColumnHeadersAreNoButtons) {
    WindowHarness harness;
    harness.open();
    HWND header = ListView_GetHeader(harness.list());
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(header, GWL_STYLE) & HDS_BUTTONS, 0);
}

TEST(MainWindow, SelectingASectionListsOnlyItsRowsAndRetitlesTheHeader) {
    WindowHarness harness;
    harness.seedUserRun("Tool", "C:\\nowhere\\tool.exe");
    seedRegistry(harness.platform(), SectionId::UserRunOnce, stringValue("Once", "C:\\nowhere\\once.exe"));
    harness.open();
    ASSERT_NE(harness.rowNamed("Once"), -1);
    harness.selectSection(SectionId::UserRun);
    EXPECT_EQ(harness.rowNames(), std::vector<std::string>{"Tool"});
    EXPECT_EQ(harness.cell(0, 3), "Registry\\Current User\\Run");
    EXPECT_EQ(harness.window().headerFolderName(), "Registry\\Current User\\Run");
    EXPECT_EQ(harness.window().headerDescription(), section(SectionId::UserRun).description);
}

TEST(MainWindow, TheStatusBarCountsTheProgramsShownAndTheDisabledOnes) {
    WindowHarness harness;
    harness.seedUserRun("Tool", "C:\\nowhere\\tool.exe");
    harness.seedUserRun("Parked", "C:\\nowhere\\parked.exe", true);
    harness.open();
    harness.selectSection(SectionId::UserRun);
    EXPECT_EQ(harness.statusText(), "2 programs, 1 disabled");
    ASSERT_TRUE(harness.clickCheckBox(harness.rowNamed("Tool")));
    EXPECT_EQ(harness.statusText(), "2 programs, 2 disabled");
}

TEST(MainWindow, HidesWindowsOwnServicesUntilAskedAndSaysOnceThatAServiceSwitchedOffKeepsRunning) {
    WindowHarness harness;
    const std::string windows = harness.platform().system.windowsDirectory();
    harness.seedService(
        {"LsuTestSync", "Sync Helper", kServiceOwnProcess, kServiceAutoStart, false, "C:\\nowhere\\sync.exe", ""});
    harness.seedService({"LsuTestPart", "Windows Part", kServiceShareProcess, kServiceAutoStart, false,
                         windows + "\\system32\\svchost.exe -k LsuTest", windows + "\\regedit.exe"});
    harness.open();
    harness.selectSection(SectionId::ServicesAutomatic);
    auto shown = [&](const std::string& name) { return harness.rowNamed(name) != -1; };
    EXPECT_EQ(std::pair(shown("Sync Helper (LsuTestSync)"), shown("Windows Part (LsuTestPart)")),
              std::pair(true, false));
    harness.choose(harness.viewMenu(), "Hide Windows services");
    EXPECT_FALSE(harness.window().hidesWindowsServices());
    EXPECT_EQ(std::pair(shown("Sync Helper (LsuTestSync)"), shown("Windows Part (LsuTestPart)")),
              std::pair(true, true));
    harness.choose(harness.viewMenu(), "Hide Windows services");
    EXPECT_FALSE(shown("Windows Part (LsuTestPart)"));
    for (const char* said : {kServiceKeepsRunningNote, "Enabled", "Disabled"}) {
        ASSERT_TRUE(harness.clickCheckBox(harness.rowNamed("Sync Helper (LsuTestSync)")));
        EXPECT_EQ(harness.statusText() == kServiceKeepsRunningNote, said == kServiceKeepsRunningNote) << said;
    }
}

TEST(MainWindow, AClickOnTheSelectedSectionReloadsIt) {
    WindowHarness harness;
    harness.open();
    harness.selectSection(SectionId::UserRun);
    ASSERT_TRUE(harness.rowNames().empty());
    harness.seedUserRun("Late", "C:\\nowhere\\late.exe");
    RECT node = {};
    TreeView_GetItemRect(harness.tree(), TreeView_GetSelection(harness.tree()), &node, TRUE);
    harness.click(harness.tree(), {(node.left + node.right) / 2, (node.top + node.bottom) / 2});
    EXPECT_TRUE(harness.pumpUntil([&] { return harness.rowNamed("Late") != -1; }));
    EXPECT_EQ(harness.selectedSection(), SectionId::UserRun);
}

}  // namespace lsu::test
