#include <gtest/gtest.h>

#include "WindowHarness.h"
#include "ui/logic/WindowLayout.h"

namespace lsu::test {

namespace {

constexpr int kFoldersButton = 5;

// The pane, the View menu's item, the toolbar's switch and the window agree.
void expectPaneShown(WindowHarness& harness, bool shown) {
    TBBUTTON button = {};
    SendMessageW(harness.toolbar(), TB_GETBUTTON, kFoldersButton, reinterpret_cast<LPARAM>(&button));
    EXPECT_EQ(IsWindowVisible(harness.pane()) != FALSE, shown);
    EXPECT_EQ((harness.menuItemState(harness.viewMenu(), "Folders") & MF_CHECKED) != 0, shown);
    EXPECT_EQ((button.fsState & TBSTATE_CHECKED) != 0, shown);
    EXPECT_EQ(harness.window().folderPaneVisible(), shown);
}

int paneWidth(WindowHarness& harness) {
    RECT area;
    GetClientRect(harness.pane(), &area);
    return area.right;
}

RECT listInMain(WindowHarness& harness) {
    RECT list;
    GetWindowRect(harness.list(), &list);
    MapWindowPoints(nullptr, harness.main(), reinterpret_cast<POINT*>(&list), 2);
    return list;
}

void dragSplitter(WindowHarness& harness, int fromX, int toX) {
    SendMessageW(harness.pane(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, 100));
    SendMessageW(harness.pane(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<short>(toX), 100));
    SendMessageW(harness.pane(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<short>(toX), 100));
    harness.pump();
}

}  // namespace

TEST(FolderPane, CloseButtonToolbarSwitchAndMenuItemStayInAgreement) {
    WindowHarness harness;
    harness.open();
    expectPaneShown(harness, true);
    RECT close;
    GetClientRect(harness.closeButton(), &close);
    harness.click(harness.closeButton(), {close.right / 2, close.bottom / 2});
    ASSERT_TRUE(harness.pumpUntil([&] { return !IsWindowVisible(harness.pane()); }));
    expectPaneShown(harness, false);
    harness.click(harness.toolbar(), harness.toolbarButtonCentre(kFoldersButton));
    ASSERT_TRUE(harness.pumpUntil([&] { return IsWindowVisible(harness.pane()) != FALSE; }));
    expectPaneShown(harness, true);
    harness.choose(harness.viewMenu(), "Folders");
    expectPaneShown(harness, false);
    // Hidden, it leaves the list the window's width, less a margin each side.
    RECT client;
    GetClientRect(harness.main(), &client);
    const RECT list = listInMain(harness);
    const int margin = MulDiv(50, 96, 1440);
    EXPECT_NEAR(list.left, margin, 1);
    EXPECT_NEAR(list.right - list.left, client.right - 2 * margin, 1);
}

// While dragged, a bar shows where the pane's edge will go; the pane takes
// it on release. The edge stops at the pane's left and 240 twips before the
// window's outer width.
TEST(FolderPane, TheSplitterShowsABarWhileDraggedAndResizesThePaneOnReleaseWithinItsLimits) {
    WindowHarness harness;
    harness.open();
    const int before = paneWidth(harness);
    HWND bar = FindWindowExW(harness.main(), nullptr, L"STATIC", nullptr);
    SendMessageW(harness.pane(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(before - 2, 100));
    SendMessageW(harness.pane(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(before + 98, 100));
    RECT shown;
    GetWindowRect(bar, &shown);
    MapWindowPoints(nullptr, harness.main(), reinterpret_cast<POINT*>(&shown), 2);
    EXPECT_TRUE(IsWindowVisible(bar) && paneWidth(harness) == before);
    EXPECT_NEAR(shown.right, before + 100, 1);
    SendMessageW(harness.pane(), WM_LBUTTONUP, 0, MAKELPARAM(before + 98, 100));
    harness.pump();
    EXPECT_FALSE(IsWindowVisible(bar));
    EXPECT_NEAR(paneWidth(harness), before + 100, 1);
    EXPECT_GT(listInMain(harness).left, paneWidth(harness));
    RECT outer;
    GetWindowRect(harness.main(), &outer);
    dragSplitter(harness, paneWidth(harness) - 2, outer.right - outer.left + 500);
    EXPECT_NEAR(paneWidth(harness), outer.right - outer.left - MulDiv(240, 96, 1440), 1);
}

// Dragged as far left as it goes, the pane keeps its close button whole and
// a grip that drags it wide again.
TEST(FolderPane, DraggedNarrowThePaneKeepsItsCloseButtonAndItsGrip) {
    WindowHarness harness;
    harness.open();
    dragSplitter(harness, paneWidth(harness) - 2, -500);
    const int narrowest = paneWidth(harness);
    EXPECT_NEAR(narrowest, MulDiv(kMinimumPaneTwips, 96, 1440), 1);
    RECT close;
    GetWindowRect(harness.closeButton(), &close);
    MapWindowPoints(nullptr, harness.pane(), reinterpret_cast<POINT*>(&close), 2);
    EXPECT_GE(close.left, 0);
    EXPECT_LE(close.right, narrowest - MulDiv(kSplitterTwips, 96, 1440));
    dragSplitter(harness, narrowest - 2, narrowest + 98);
    EXPECT_NEAR(paneWidth(harness), narrowest + 100, 1);
}

}  // namespace lsu::test
