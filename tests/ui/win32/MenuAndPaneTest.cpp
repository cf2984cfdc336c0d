#include "WindowHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace lsu::test {

namespace {

constexpr int kFoldersButton = 5;
constexpr int kRunButton = 3;

bool grayed(UINT state) { return (state & MF_GRAYED) != 0; }

// The centre of a toolbar button, by its position from the left.
POINT buttonCentre(HWND toolbar, int index) {
    RECT area = {};
    SendMessageW(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&area));
    return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

POINT clientCentre(HWND window) {
    RECT area;
    GetClientRect(window, &area);
    return {area.right / 2, area.bottom / 2};
}

struct PaneAgreement {
    bool paneVisible, menuChecked, buttonPressed;
};

PaneAgreement paneAgreement(WindowHarness& harness) {
    TBBUTTON button = {};
    SendMessageW(harness.toolbar(), TB_GETBUTTON, kFoldersButton, reinterpret_cast<LPARAM>(&button));
    const UINT folderBar = harness.commandOf(harness.viewMenu(), "Folders");
    return {IsWindowVisible(harness.pane()) != FALSE,
            (GetMenuState(harness.viewMenu(), folderBar, MF_BYCOMMAND) & MF_CHECKED) != 0,
            (button.fsState & TBSTATE_CHECKED) != 0};
}

void expectAllAgree(WindowHarness& harness, bool shown) {
    const PaneAgreement now = paneAgreement(harness);
    EXPECT_EQ(now.paneVisible, shown);
    EXPECT_EQ(now.menuChecked, shown);
    EXPECT_EQ(now.buttonPressed, shown);
    EXPECT_EQ(harness.window().folderPaneVisible(), shown);
}

int paneWidth(WindowHarness& harness) {
    RECT area;
    GetClientRect(harness.pane(), &area);
    return area.right;
}

void dragSplitter(WindowHarness& harness, int fromX, int toX) {
    const int y = 100;
    SendMessageW(harness.pane(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, y));
    SendMessageW(harness.pane(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<short>(toX), y));
    SendMessageW(harness.pane(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<short>(toX), y));
    harness.pump();
}

}  // namespace

TEST(EditMenuStates, OffersOnlyAddWhenNoRowIsSelected) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", "C:\\nowhere\\tool.exe");
    harness.open();
    harness.clearSelection();
    const HMENU edit = harness.editMenu();
    for (const char* item : {"Enable", "Disable", "Delete", "Run", "Properties"})
        EXPECT_TRUE(grayed(harness.menuItemState(edit, harness.commandOf(edit, item)))) << item;
}

TEST(EditMenuStates, OffersDisableButNotEnableForAnEnabledRow) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", "C:\\nowhere\\tool.exe");
    harness.open();
    harness.selectRow(harness.rowNamed("Tool"));
    const HMENU edit = harness.editMenu();
    EXPECT_TRUE(grayed(harness.menuItemState(edit, harness.commandOf(edit, "Enable"))));
    EXPECT_FALSE(grayed(harness.menuItemState(edit, harness.commandOf(edit, "Disable"))));
    EXPECT_FALSE(grayed(harness.menuItemState(edit, harness.commandOf(edit, "Delete"))));
    EXPECT_FALSE(grayed(harness.menuItemState(edit, harness.commandOf(edit, "Run"))));
}

TEST(EditMenuStates, OffersEnableButNotDisableForADisabledRow) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Parked", "C:\\nowhere\\parked.exe", true);
    harness.open();
    harness.selectRow(harness.rowNamed("Parked"));
    const HMENU edit = harness.editMenu();
    EXPECT_FALSE(grayed(harness.menuItemState(edit, harness.commandOf(edit, "Enable"))));
    EXPECT_TRUE(grayed(harness.menuItemState(edit, harness.commandOf(edit, "Disable"))));
    EXPECT_FALSE(grayed(harness.menuItemState(edit, harness.commandOf(edit, "Delete"))));
}

TEST(ListContextMenu, ARightClickOnASelectedRowOpensTheEditMenu) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", "C:\\nowhere\\tool.exe");
    harness.open();
    const int row = harness.rowNamed("Tool");
    harness.selectRow(row);
    RECT label = {};
    label.left = LVIR_LABEL;
    SendMessageW(harness.list(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));

    ModalWatch watch;
    harness.rightClick(harness.list(), {(label.left + label.right) / 2, (label.top + label.bottom) / 2});
    ASSERT_TRUE(harness.pumpUntil([&] { return !watch.popupMenus().empty(); }));
    EXPECT_EQ(watch.popupMenus().front(), harness.editMenu());
}

TEST(ListContextMenu, ARightClickBelowTheRowsOpensNothing) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", "C:\\nowhere\\tool.exe");
    harness.open();
    harness.selectRow(harness.rowNamed("Tool"));
    RECT area;
    GetClientRect(harness.list(), &area);

    ModalWatch watch;
    harness.rightClick(harness.list(), {area.right / 2, area.bottom - 5});
    harness.pumpUntil([&] { return GetAsyncKeyState(VK_RBUTTON) == 0; });
    harness.pump();
    EXPECT_TRUE(watch.popupMenus().empty());
}

TEST(FolderPane, CloseButtonToolbarButtonAndMenuItemStayInAgreement) {
    WindowHarness harness;
    harness.open();
    expectAllAgree(harness, true);

    harness.click(harness.closeButton(), clientCentre(harness.closeButton()));
    ASSERT_TRUE(harness.pumpUntil([&] { return !IsWindowVisible(harness.pane()); }));
    expectAllAgree(harness, false);

    harness.click(harness.toolbar(), buttonCentre(harness.toolbar(), kFoldersButton));
    ASSERT_TRUE(harness.pumpUntil([&] { return IsWindowVisible(harness.pane()) != FALSE; }));
    expectAllAgree(harness, true);

    SendMessageW(harness.main(), WM_COMMAND, harness.commandOf(harness.viewMenu(), "Folders"), 0);
    harness.pump();
    expectAllAgree(harness, false);
}

TEST(FolderPane, HidingThePaneGivesTheListTheClientWidth) {
    WindowHarness harness;
    harness.open();
    SendMessageW(harness.main(), WM_COMMAND, harness.commandOf(harness.viewMenu(), "Folders"), 0);
    harness.pump();
    RECT client, list;
    GetClientRect(harness.main(), &client);
    GetWindowRect(harness.list(), &list);
    MapWindowPoints(nullptr, harness.main(), reinterpret_cast<POINT*>(&list), 2);
    const int margin = MulDiv(50, 96, 1440);
    EXPECT_NEAR(list.left, margin, 1);
    EXPECT_NEAR(list.right - list.left, client.right - 2 * margin, 1);
}

TEST(FolderPane, DraggingTheSplitterResizesThePane) {
    WindowHarness harness;
    harness.open();
    const int before = paneWidth(harness);
    dragSplitter(harness, before - 2, before + 98);
    EXPECT_NEAR(paneWidth(harness), before + 100, 1);
    RECT list;
    GetWindowRect(harness.list(), &list);
    MapWindowPoints(nullptr, harness.main(), reinterpret_cast<POINT*>(&list), 2);
    EXPECT_GT(list.left, paneWidth(harness));
}

TEST(FolderPane, TheSplitterStopsShortOfTheWindowsRightEdgeAndAtThePanesLeft) {
    WindowHarness harness;
    harness.open();
    RECT client;
    GetClientRect(harness.main(), &client);
    dragSplitter(harness, paneWidth(harness) - 2, client.right + 500);
    EXPECT_NEAR(paneWidth(harness), client.right - MulDiv(240, 96, 1440), 1);

    dragSplitter(harness, paneWidth(harness) - 2, -500);
    EXPECT_EQ(paneWidth(harness), 0);
}

TEST(GridLines, TheViewItemTurnsTheListsGridLinesOnAndOff) {
    WindowHarness harness;
    harness.open();
    const UINT grid = harness.commandOf(harness.viewMenu(), "Grid");
    auto gridLines = [&] { return (ListView_GetExtendedListViewStyle(harness.list()) & LVS_EX_GRIDLINES) != 0; };
    EXPECT_FALSE(gridLines());

    SendMessageW(harness.main(), WM_COMMAND, grid, 0);
    EXPECT_TRUE(gridLines());
    EXPECT_TRUE(GetMenuState(harness.viewMenu(), grid, MF_BYCOMMAND) & MF_CHECKED);

    SendMessageW(harness.main(), WM_COMMAND, grid, 0);
    EXPECT_FALSE(gridLines());
    EXPECT_FALSE(GetMenuState(harness.viewMenu(), grid, MF_BYCOMMAND) & MF_CHECKED);
}

TEST(RunCommand, DoesNothingWhenNoRowIsSelected) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Missing", "C:\\nowhere\\missing.exe");
    harness.open();
    ASSERT_NE(harness.rowNamed("Missing"), -1);
    harness.clearSelection();

    ModalWatch watch;
    harness.click(harness.toolbar(), buttonCentre(harness.toolbar(), kRunButton));
    harness.pumpUntil([&] { return GetAsyncKeyState(VK_LBUTTON) == 0; });
    SendMessageW(harness.main(), WM_COMMAND, harness.commandOf(harness.editMenu(), "Run"), 0);
    harness.pump();
    EXPECT_TRUE(watch.messageBoxTitles().empty());
}

}  // namespace lsu::test
