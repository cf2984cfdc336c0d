#include "WindowHarness.h"

#include <gtest/gtest.h>

namespace lsu::test {

namespace {

constexpr char kCommand[] = "C:\\nowhere\\tool.exe /quiet";

// Chooses an Edit menu item for the selected row, as the menu bar would.
void choose(WindowHarness& harness, const std::string& caption) {
    harness.menuItemState(harness.editMenu(), harness.commandOf(harness.editMenu(), caption));
    SendMessageW(harness.main(), WM_COMMAND, harness.commandOf(harness.editMenu(), caption), 0);
    harness.pump();
}

int openOnRow(WindowHarness& harness, const std::string& name) {
    harness.open();
    harness.selectSection(kCurrentUserRun);
    const int row = harness.rowNamed(name);
    if (row != -1) harness.selectRow(row);
    return row;
}

}  // namespace

TEST(EditMenuCommands, DisableAndEnableMoveTheValueAndTheBoxTogether) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", kCommand);
    const int row = openOnRow(harness, "Tool");
    ASSERT_NE(row, -1);

    choose(harness, "Disable");
    EXPECT_EQ(harness.currentUserRun("Tool"), std::nullopt);
    EXPECT_EQ(harness.currentUserRun("Tool", true), kCommand);
    EXPECT_FALSE(harness.rowChecked(harness.rowNamed("Tool")));

    harness.selectRow(harness.rowNamed("Tool"));
    choose(harness, "Enable");
    EXPECT_EQ(harness.currentUserRun("Tool"), kCommand);
    EXPECT_EQ(harness.currentUserRun("Tool", true), std::nullopt);
    EXPECT_TRUE(harness.rowChecked(harness.rowNamed("Tool")));
}

TEST(EditMenuCommands, DeleteAsksFirstAndRemovesTheEntryOnYes) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", kCommand);
    harness.seedCurrentUserRun("Other", kCommand);
    ASSERT_NE(openOnRow(harness, "Tool"), -1);

    ModalWatch watch(IDYES);
    choose(harness, "Delete");
    ASSERT_EQ(watch.messageBoxTitles().size(), 1u);
    EXPECT_EQ(watch.messageBoxTitles().front(), "Warning");
    EXPECT_EQ(harness.currentUserRun("Tool"), std::nullopt);
    EXPECT_EQ(harness.rowNamed("Tool"), -1);
    EXPECT_EQ(harness.currentUserRun("Other"), kCommand);
}

TEST(EditMenuCommands, DeleteAnsweredNoKeepsTheEntry) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", kCommand);
    ASSERT_NE(openOnRow(harness, "Tool"), -1);

    ModalWatch watch(IDNO);
    choose(harness, "Delete");
    EXPECT_EQ(watch.messageBoxTitles().size(), 1u);
    EXPECT_EQ(harness.currentUserRun("Tool"), kCommand);
    EXPECT_NE(harness.rowNamed("Tool"), -1);
}

}  // namespace lsu::test
