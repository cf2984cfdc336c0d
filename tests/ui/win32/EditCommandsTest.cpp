#include "WindowTest.h"
#include "ui/logic/WindowTexts.h"

namespace lsu::test {

namespace {

constexpr char kCommand[] = "C:\\nowhere\\tool.exe /quiet";

class EditCommandsTest : public WindowTest {
protected:
    bool offered(const char* item) { return !(menuItemState(editMenu(), item) & MF_GRAYED); }
};

}  // namespace

// The menu follows the selected row's box.
TEST_F(EditCommandsTest, TheEditMenuOffersWhatAppliesToTheSelectedRow) {
    seedUserRun("Tool", kCommand);
    open();
    selectRow(rowNamed("Tool"));
    EXPECT_TRUE(offered("Disable"));
    EXPECT_FALSE(offered("Enable"));
    clickCheckBox(rowNamed("Tool"));
    EXPECT_TRUE(offered("Enable"));
    EXPECT_FALSE(offered("Disable"));
}

TEST_F(EditCommandsTest, DeleteAsksAndRemovesOnlyOnYes) {
    for (int answer : {IDNO, IDYES}) {
        seedUserRun("Tool", kCommand);
        seedUserRun("Other", kCommand);
        open();
        selectRow(rowNamed("Tool"));
        ModalWatch watch(answer);
        choose(editMenu(), "Delete");
        EXPECT_EQ(watch.boxTexts(), std::vector<std::string>{deleteQuestion().text});
        EXPECT_EQ(userRun("Tool").has_value(), answer == IDNO);
        EXPECT_EQ(rowNamed("Tool") != -1, answer == IDNO);
        EXPECT_EQ(userRun("Other"), kCommand);
    }
}

TEST_F(EditCommandsTest, WithoutASelectedRowOnlyAddIsOfferedAndRunDoesNothing) {
    seedUserRun("Missing", "C:\\nowhere\\missing.exe");
    open();
    clearSelection();
    for (const char* item : {"Enable", "Disable", "Delete", "Run", "Properties"}) EXPECT_FALSE(offered(item)) << item;
    EXPECT_TRUE(offered("Add new program.."));
    ModalWatch watch;
    choose(editMenu(), "Run");
    EXPECT_TRUE(watch.boxTitles().empty());
}

TEST_F(EditCommandsTest, ARightClickOnASelectedRowOpensTheEditMenuAndBelowTheRowsNothing) {
    seedUserRun("Tool", kCommand);
    open();
    const int row = rowNamed("Tool");
    selectRow(row);
    ModalWatch watch;
    RECT area;
    GetClientRect(list(), &area);
    rightClick(list(), {area.right / 2, area.bottom - 5});
    EXPECT_TRUE(watch.popupMenus().empty());
    rightClick(list(), labelCentre(row));
    EXPECT_EQ(watch.popupMenus(), std::vector<HMENU>{editMenu()});
}

TEST_F(EditCommandsTest, TheViewMenusGridTurnsGridLinesOnAndOff) {
    open();
    for (bool shown : {true, false}) {
        choose(viewMenu(), "Grid");
        EXPECT_EQ((ListView_GetExtendedListViewStyle(list()) & LVS_EX_GRIDLINES) != 0, shown);
        EXPECT_EQ((menuItemState(viewMenu(), "Grid") & MF_CHECKED) != 0, shown);
    }
}

}  // namespace lsu::test
