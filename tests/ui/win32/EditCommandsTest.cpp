#include <gtest/gtest.h>

#include "WindowHarness.h"

namespace lsu::test {

namespace {

constexpr char kCommand[] = "C:\\nowhere\\tool.exe /quiet";

bool offered(WindowHarness& harness, const char* item) {
    return !(harness.menuItemState(harness.editMenu(), item) & MF_GRAYED);
}

}  // namespace

TEST(EditMenu, DisableAndEnableMoveTheValueAndTheBoxTogether) {
    WindowHarness harness;
    harness.seedUserRun("Tool", kCommand);
    harness.open();
    harness.selectSection(SectionId::UserRun);
    harness.selectRow(harness.rowNamed("Tool"));
    EXPECT_TRUE(offered(harness, "Disable") && !offered(harness, "Enable"));
    harness.choose(harness.editMenu(), "Disable");
    EXPECT_EQ(harness.userRun("Tool"), std::nullopt);
    EXPECT_EQ(harness.userRun("Tool", true), kCommand);
    EXPECT_FALSE(harness.rowChecked(harness.rowNamed("Tool")));
    EXPECT_TRUE(offered(harness, "Enable") && !offered(harness, "Disable"));
    harness.choose(harness.editMenu(), "Enable");
    EXPECT_EQ(harness.userRun("Tool"), kCommand);
    EXPECT_TRUE(harness.rowChecked(harness.rowNamed("Tool")));
}

TEST(EditMenu, DeleteAsksAndRemovesOnlyOnYes) {
    for (int answer : {IDNO, IDYES}) {
        WindowHarness harness;
        harness.seedUserRun("Tool", kCommand);
        harness.seedUserRun("Other", kCommand);
        harness.open();
        harness.selectRow(harness.rowNamed("Tool"));
        ModalWatch watch(answer);
        harness.choose(harness.editMenu(), "Delete");
        EXPECT_EQ(watch.boxTitles(), std::vector<std::string>{"Warning"});
        EXPECT_EQ(harness.userRun("Tool").has_value(), answer == IDNO);
        EXPECT_EQ(harness.rowNamed("Tool") != -1, answer == IDNO);
        EXPECT_EQ(harness.userRun("Other"), kCommand);
    }
}

TEST(EditMenu, WithoutASelectedRowOffersOnlyAddAndRunDoesNothing) {
    WindowHarness harness;
    harness.seedUserRun("Missing", "C:\\nowhere\\missing.exe");
    harness.open();
    harness.clearSelection();
    for (const char* item : {"Enable", "Disable", "Delete", "Run", "Properties"}) EXPECT_FALSE(offered(harness, item)) << item;
    EXPECT_TRUE(offered(harness, "Add new program.."));
    ModalWatch watch;
    harness.choose(harness.editMenu(), "Run");
    EXPECT_TRUE(watch.boxTitles().empty());
}

TEST(ContextMenu, ARightClickOnASelectedRowOpensTheEditMenuAndBelowTheRowsNothing) {
    WindowHarness harness;
    harness.seedUserRun("Tool", kCommand);
    harness.open();
    const int row = harness.rowNamed("Tool");
    harness.selectRow(row);
    {
        ModalWatch watch;
        RECT area;
        GetClientRect(harness.list(), &area);
        harness.rightClick(harness.list(), {area.right / 2, area.bottom - 5});
        harness.pumpUntil([&] { return GetAsyncKeyState(VK_RBUTTON) == 0; });
        harness.pump();
        EXPECT_TRUE(watch.popupMenus().empty());
    }
    ModalWatch watch;
    harness.rightClick(harness.list(), harness.labelCentre(row));
    ASSERT_TRUE(harness.pumpUntil([&] { return !watch.popupMenus().empty(); }));
    EXPECT_EQ(watch.popupMenus().front(), harness.editMenu());
}

TEST(GridLines, TheViewItemTurnsThemOnAndOff) {
    WindowHarness harness;
    harness.open();
    auto gridLines = [&] { return (ListView_GetExtendedListViewStyle(harness.list()) & LVS_EX_GRIDLINES) != 0; };
    for (bool expected : {true, false}) {
        harness.choose(harness.viewMenu(), "Grid");
        EXPECT_EQ(gridLines(), expected);
        EXPECT_EQ((harness.menuItemState(harness.viewMenu(), "Grid") & MF_CHECKED) != 0, expected);
    }
}

}  // namespace lsu::test
