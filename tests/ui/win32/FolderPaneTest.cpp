#include "WindowTest.h"

namespace lsu::test {

namespace {

// Sizes in pixels at 96 DPI: the pane's least width of 360 twips, its grip
// of 75, the list's margin of 50 on the left and 100 in all when the pane is
// hidden, the room of 240 kept right of the splitter.
constexpr int kLeastPaneWidth = 24;
constexpr int kGripWidth = 5;
constexpr int kListMargin = 3;
constexpr int kListMargins = 7;
constexpr int kRoomOnTheRight = 16;

class FolderPaneTest : public WindowTest {
protected:
    int paneWidth() {
        RECT area;
        GetClientRect(pane(), &area);
        return area.right;
    }

    RECT inMain(HWND part) {
        RECT area;
        GetWindowRect(part, &area);
        MapWindowPoints(nullptr, main(), reinterpret_cast<POINT*>(&area), 2);
        return area;
    }

    void dragSplitter(int fromX, int toX) {
        SendMessageW(pane(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, 100));
        SendMessageW(pane(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<short>(toX), 100));
        SendMessageW(pane(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<short>(toX), 100));
        pump();
    }

    // The pane, the View menu's item and the toolbar's switch agree.
    void expectPaneShown(bool shown) {
        TBBUTTON button = {};
        SendMessageW(toolbar(), TB_GETBUTTON,
                     SendMessageW(toolbar(), TB_COMMANDTOINDEX, static_cast<WPARAM>(Command::Folders), 0),
                     reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ(IsWindowVisible(pane()) != FALSE, shown);
        EXPECT_EQ((menuItemState(viewMenu(), "Folders") & MF_CHECKED) != 0, shown);
        EXPECT_EQ((button.fsState & TBSTATE_CHECKED) != 0, shown);
    }
};

}  // namespace

TEST_F(FolderPaneTest, CloseButtonToolbarSwitchAndMenuItemStayInAgreement) {
    open();
    expectPaneShown(true);
    RECT close;
    GetClientRect(closeButton(), &close);
    click(closeButton(), {close.right / 2, close.bottom / 2});
    expectPaneShown(false);
    clickToolbarButton(Command::Folders);
    expectPaneShown(true);
    choose(viewMenu(), "Folders");
    expectPaneShown(false);
    // Hidden, it leaves the list the window's width, less a margin each side.
    RECT client;
    GetClientRect(main(), &client);
    const RECT list = inMain(this->list());
    EXPECT_EQ(list.left, kListMargin);
    EXPECT_EQ(list.right - list.left, client.right - kListMargins);
}

// While dragged, a bar shows where the pane's edge will go; the pane takes
// it on release. The edge stops 240 twips before the window's outer width.
TEST_F(FolderPaneTest, TheSplitterShowsABarWhileDraggedAndResizesThePaneOnRelease) {
    open();
    const int before = paneWidth();
    HWND bar = FindWindowExW(main(), nullptr, L"STATIC", nullptr);
    SendMessageW(pane(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(before - 2, 100));
    SendMessageW(pane(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(before + 98, 100));
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(inMain(bar).right, before + 100);
    EXPECT_EQ(paneWidth(), before);
    SendMessageW(pane(), WM_LBUTTONUP, 0, MAKELPARAM(before + 98, 100));
    pump();
    EXPECT_FALSE(IsWindowVisible(bar));
    EXPECT_EQ(paneWidth(), before + 100);
    EXPECT_GT(inMain(list()).left, paneWidth());
    RECT outer;
    GetWindowRect(main(), &outer);
    dragSplitter(paneWidth() - 2, outer.right - outer.left + 500);
    EXPECT_EQ(paneWidth(), outer.right - outer.left - kRoomOnTheRight);
}

// Dragged as far left as it goes, the pane keeps its close button whole and
// a grip that drags it wide again.
TEST_F(FolderPaneTest, DraggedNarrowThePaneKeepsItsCloseButtonAndItsGrip) {
    open();
    dragSplitter(paneWidth() - 2, -500);
    EXPECT_EQ(paneWidth(), kLeastPaneWidth);
    RECT close;
    GetWindowRect(closeButton(), &close);
    MapWindowPoints(nullptr, pane(), reinterpret_cast<POINT*>(&close), 2);
    EXPECT_GE(close.left, 0);
    EXPECT_LE(close.right, kLeastPaneWidth - kGripWidth);
    dragSplitter(kLeastPaneWidth - 2, kLeastPaneWidth + 98);
    EXPECT_EQ(paneWidth(), kLeastPaneWidth + 100);
}

}  // namespace lsu::test
