#include "WindowTest.h"

#include <commctrl.h>

#include "platform/win32/WideText.h"
#include "ui/logic/HistoryRows.h"
#include "ui/win32/HistoryDialogIds.h"

namespace lsu::test {

namespace {

constexpr char kCommand[] = "C:\\nowhere\\tool.exe /quiet";

// The History dialog's rows, each cell as shown.
std::vector<std::vector<std::string>> historyShown(HWND dialog) {
    HWND list = GetDlgItem(dialog, LSU_IDC_HISTORY_LIST);
    std::vector<std::vector<std::string>> rows(static_cast<std::size_t>(ListView_GetItemCount(list)));
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (int column = 0; column < kHistoryColumnCount; ++column) {
            wchar_t text[512] = {};
            ListView_GetItemText(list, static_cast<int>(row), column, text, static_cast<int>(std::size(text)));
            rows[row].push_back(win32::narrow(text));
        }
    return rows;
}

}  // namespace

// Ctrl+Z and Edit > Undo put the last change back, and again undo the undo.
TEST_F(WindowTest, EditUndoPutsTheLastChangeBackAndUndoesItsUndo) {
    seedUserRun("Tool", kCommand);
    open();
    clickCheckBox(rowNamed("Tool"));
    ASSERT_EQ(userRun("Tool", true), kCommand);
    ModalWatch watch;
    choose(editMenu(), "Undo");
    EXPECT_EQ(userRun("Tool"), kCommand);
    EXPECT_EQ(userRun("Tool", true), std::nullopt);
    EXPECT_TRUE(rowChecked(rowNamed("Tool")));
    choose(editMenu(), "Undo");
    EXPECT_EQ(userRun("Tool"), std::nullopt);
    EXPECT_EQ(userRun("Tool", true), kCommand);
    EXPECT_TRUE(watch.boxTexts().empty());
}

TEST_F(WindowTest, HistoryListsTheChangesAndUndoesTheOneSelected) {
    seedUserRun("Tool", kCommand);
    seedUserRun("Other", kCommand);
    open();
    clickCheckBox(rowNamed("Tool"));
    clickCheckBox(rowNamed("Other"));
    std::vector<std::vector<std::string>> before, after;
    ModalWatch watch(IDOK, {[&](HWND dialog) {
                         before = historyShown(dialog);
                         ListView_SetItemState(GetDlgItem(dialog, LSU_IDC_HISTORY_LIST), 0, LVIS_SELECTED,
                                               LVIS_SELECTED);
                         SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(LSU_IDC_HISTORY_UNDO, BN_CLICKED), 0);
                         after = historyShown(dialog);
                         PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                     }});
    choose(viewMenu(), "History...");
    ASSERT_EQ(watch.stepsPlayed(), 1u);
    ASSERT_EQ(before.size(), 2u);
    EXPECT_EQ(before[0][static_cast<int>(HistoryColumn::Action)], "Disable");
    EXPECT_EQ(before[0][static_cast<int>(HistoryColumn::Entry)], "Tool");
    EXPECT_EQ(before[0][static_cast<int>(HistoryColumn::Tool)], "window");
    EXPECT_EQ(before[1][static_cast<int>(HistoryColumn::Entry)], "Other");
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[2][static_cast<int>(HistoryColumn::Action)], "Undo of " + before[0][0]);
    EXPECT_EQ(userRun("Tool"), kCommand);
    EXPECT_EQ(userRun("Other", true), kCommand);
    EXPECT_TRUE(rowChecked(rowNamed("Tool")));
    EXPECT_FALSE(rowChecked(rowNamed("Other")));
}

// What appeared behind the user's back since the window last closed is
// marked, and counted, until the window closes again.
TEST_F(WindowTest, ProgramsAddedOrChangedSinceTheLastLookAreMarked) {
    seedUserRun("Kept", kCommand);
    seedUserRun("Changed", kCommand);
    open();
    close();
    seedUserRun("Sneaky", "C:\\nowhere\\sneaky.exe");
    seedUserRun("Changed", "C:\\nowhere\\other.exe");
    open();
    EXPECT_EQ(cell(rowNamed("Sneaky"), Column::State), "Enabled, New");
    EXPECT_EQ(cell(rowNamed("Changed"), Column::State), "Enabled, Changed");
    EXPECT_EQ(cell(rowNamed("Kept"), Column::State), "Enabled");
    EXPECT_TRUE(statusText().ends_with(" disabled; since the last look 1 new, 1 changed")) << statusText();
    close();
    open();
    for (const char* name : {"Sneaky", "Changed", "Kept"}) EXPECT_EQ(cell(rowNamed(name), Column::State), "Enabled");
}

}  // namespace lsu::test
