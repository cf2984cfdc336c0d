#include <gtest/gtest.h>

#include "WindowHarness.h"
#include "support/Seed.h"

namespace lsu::test {

namespace {

constexpr char kCommand[] = "C:\\nowhere\\tool.exe /quiet";
constexpr int kStatusColumn = 4;

}  // namespace

TEST(CheckBox, ClearingItParksTheValueAndTickingItBringsItBackOneUserCheckEach) {
    WindowHarness harness;
    harness.seedUserRun("Tool", kCommand);
    harness.open();
    harness.selectSection(SectionId::UserRun);
    const int row = harness.rowNamed("Tool");
    ASSERT_TRUE(harness.rowChecked(row));

    ASSERT_TRUE(harness.clickCheckBox(row));
    EXPECT_EQ(harness.window().userCheckEvents(), 1);
    EXPECT_FALSE(harness.rowChecked(row));
    EXPECT_EQ(harness.userRun("Tool"), std::nullopt);
    EXPECT_EQ(harness.userRun("Tool", true), kCommand);
    EXPECT_EQ(harness.cell(row, kStatusColumn), "Disabled");

    ASSERT_TRUE(harness.clickCheckBox(row));
    EXPECT_EQ(harness.window().userCheckEvents(), 2);
    EXPECT_TRUE(harness.rowChecked(row));
    EXPECT_EQ(harness.userRun("Tool"), kCommand);
    EXPECT_EQ(harness.userRun("Tool", true), std::nullopt);
    EXPECT_EQ(harness.cell(row, kStatusColumn), "Enabled");
}

TEST(CheckBox, LoadingAndRefreshingTickRowsWithoutAUserCheck) {
    WindowHarness harness;
    harness.seedUserRun("Tool", kCommand);
    harness.seedUserRun("Parked", kCommand, true);
    harness.open();
    harness.choose(harness.viewMenu(), "Refresh");
    EXPECT_EQ(harness.window().userCheckEvents(), 0);
    EXPECT_TRUE(harness.rowChecked(harness.rowNamed("Tool")));
    EXPECT_FALSE(harness.rowChecked(harness.rowNamed("Parked")));
    EXPECT_EQ(harness.userRun("Tool"), kCommand);
    EXPECT_EQ(harness.userRun("Parked", true), kCommand);
}

TEST(CheckBox, AMoveThatFailsIsExplainedAndPutsTheBoxBack) {
    WindowHarness harness;
    harness.seedUserRun("Tool", kCommand);
    harness.open();
    harness.selectSection(SectionId::UserRun);
    const int row = harness.rowNamed("Tool");
    harness.platform().deleteValue(registryKeyOf(SectionId::UserRun), "Tool");

    ModalWatch watch;
    ASSERT_TRUE(harness.clickCheckBox(row));
    harness.pump();
    EXPECT_TRUE(harness.rowChecked(row));
    EXPECT_EQ(harness.cell(row, kStatusColumn), "Enabled");
    EXPECT_EQ(watch.boxTitles(), std::vector<std::string>{"Disable failed"});
    EXPECT_EQ(harness.userRun("Tool", true), std::nullopt);
}

}  // namespace lsu::test
