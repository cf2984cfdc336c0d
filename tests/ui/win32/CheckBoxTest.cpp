#include "WindowHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "platform/win32/WideText.h"

namespace lsu::test {

namespace {

constexpr char kCommand[] = "C:\\nowhere\\tool.exe /quiet";

std::string statusOf(HWND list, int row) {
    wchar_t text[64] = {};
    ListView_GetItemText(list, row, 4, text, 64);
    return win32::narrow(text);
}

}  // namespace

TEST(CheckBoxClick, ClearingTheBoxParksTheValueAndTickingItBringsItBack) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", kCommand);
    harness.open();
    harness.selectSection(kCurrentUserRun);
    const int row = harness.rowNamed("Tool");
    ASSERT_NE(row, -1);
    ASSERT_TRUE(harness.rowChecked(row));

    ASSERT_TRUE(harness.clickCheckBox(row));
    EXPECT_EQ(harness.window().userCheckEvents(), 1);
    EXPECT_FALSE(harness.rowChecked(row));
    EXPECT_EQ(harness.currentUserRun("Tool"), std::nullopt);
    EXPECT_EQ(harness.currentUserRun("Tool", true), kCommand);
    EXPECT_EQ(statusOf(harness.list(), row), "Disabled");

    ASSERT_TRUE(harness.clickCheckBox(row));
    EXPECT_EQ(harness.window().userCheckEvents(), 2);
    EXPECT_TRUE(harness.rowChecked(row));
    EXPECT_EQ(harness.currentUserRun("Tool"), kCommand);
    EXPECT_EQ(harness.currentUserRun("Tool", true), std::nullopt);
    EXPECT_EQ(statusOf(harness.list(), row), "Enabled");
}

TEST(CheckBoxClick, LoadingAndRefreshingTickRowsWithoutAUserCheck) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", kCommand);
    harness.seedCurrentUserRun("Parked", kCommand, true);
    harness.open();
    SendMessageW(harness.main(), WM_COMMAND, harness.commandOf(harness.viewMenu(), "Refresh"), 0);
    harness.pump();

    EXPECT_EQ(harness.window().userCheckEvents(), 0);
    EXPECT_TRUE(harness.rowChecked(harness.rowNamed("Tool")));
    EXPECT_FALSE(harness.rowChecked(harness.rowNamed("Parked")));
    EXPECT_EQ(harness.currentUserRun("Tool"), kCommand);
    EXPECT_EQ(harness.currentUserRun("Parked", true), kCommand);
}

TEST(CheckBoxClick, AMoveThatFailsPutsTheBoxBack) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", kCommand);
    harness.open();
    harness.selectSection(kCurrentUserRun);
    const int row = harness.rowNamed("Tool");
    ASSERT_NE(row, -1);
    harness.removeCurrentUserRun("Tool");

    ModalWatch watch;
    ASSERT_TRUE(harness.clickCheckBox(row));
    harness.pump();
    EXPECT_TRUE(harness.rowChecked(row));
    EXPECT_EQ(statusOf(harness.list(), row), "Enabled");
    EXPECT_EQ(watch.messageBoxTitles().size(), 1u);
    EXPECT_EQ(harness.currentUserRun("Tool", true), std::nullopt);
}

}  // namespace lsu::test
