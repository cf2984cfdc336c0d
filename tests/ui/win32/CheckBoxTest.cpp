#include <gtest/gtest.h>

#include <functional>

#include "WindowHarness.h"
#include "catalog/StartupSwitches.h"
#include "support/Seed.h"

namespace lsu::test {

namespace {

constexpr char kCommand[] = "C:\\nowhere\\tool.exe /quiet";
constexpr int kStatusColumn = 4;
constexpr int kStateColumn = 7;

// Windows' own startup switch for the entry of the current user's Run key, off.
void switchOff(WindowHarness& harness, const std::string& name) {
    ASSERT_TRUE(harness.platform().registry.writeValue(*switchKeyOf(SectionId::UserRun, RegistryView::Shared),
                                                       {name, kRegBinary, {0x03, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}},
                                                       true));
}

}  // namespace

// A change shows at once in every cell drawn from the row, the visible State
// as well as the hidden Status, without a reload of the list.
TEST(CheckBox, EveryCellOfTheRowFollowsTheBoxAndTheEditMenu) {
    WindowHarness harness;
    harness.seedUserRun("Tool", kCommand);
    harness.seedUserRun("Tray", kCommand);
    switchOff(harness, "Tray");
    harness.open();
    harness.selectSection(SectionId::UserRun);
    const int tool = harness.rowNamed("Tool"), tray = harness.rowNamed("Tray");
    ASSERT_EQ(harness.cell(tray, kStateColumn), "Off in Windows settings");
    const auto fromMenu = [&](int row, const char* item) {
        harness.selectRow(row);
        harness.choose(harness.editMenu(), item);
    };
    const struct {
        std::function<void()> change;
        int row;
        const char* state;
    } steps[] = {
        {[&] { EXPECT_TRUE(harness.clickCheckBox(tool)); }, tool, "Disabled"},
        {[&] { EXPECT_TRUE(harness.clickCheckBox(tool)); }, tool, "Enabled"},
        {[&] { fromMenu(tool, "Disable"); }, tool, "Disabled"},
        {[&] { fromMenu(tool, "Enable"); }, tool, "Enabled"},
        {[&] { EXPECT_TRUE(harness.clickCheckBox(tray)); }, tray, "Enabled"},
    };
    for (const auto& step : steps) {
        step.change();
        EXPECT_EQ(harness.cell(step.row, kStateColumn), step.state);
        EXPECT_EQ(harness.cell(step.row, kStatusColumn), step.state);
    }
    harness.choose(harness.viewMenu(), "Refresh");
    EXPECT_EQ(harness.cell(harness.rowNamed("Tray"), kStateColumn), "Enabled");
}

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

TEST(CheckBox, AMoveThatFailsIsExplainedAndPutsTheBoxBack) {
    WindowHarness harness;
    harness.seedUserRun("Tool", kCommand);
    harness.open();
    harness.selectSection(SectionId::UserRun);
    const int row = harness.rowNamed("Tool");
    ASSERT_TRUE(harness.platform().registry.deleteValue(registryKeyOf(SectionId::UserRun), "Tool"));

    ModalWatch watch;
    ASSERT_TRUE(harness.clickCheckBox(row));
    harness.pump();
    EXPECT_TRUE(harness.rowChecked(row));
    EXPECT_EQ(harness.cell(row, kStatusColumn), "Enabled");
    EXPECT_EQ(watch.boxTitles(), std::vector<std::string>{"Disable failed"});
    EXPECT_EQ(harness.userRun("Tool", true), std::nullopt);
}

TEST(CheckBox, ShowsWindowsOwnSwitchAndRefusesPolicyEntries) {
    WindowHarness harness;
    harness.seedUserRun("Tray", kCommand);
    switchOff(harness, "Tray");
    seedRegistry(harness.platform(), SectionId::UserPolicyRun, stringValue("Mandated", kCommand));
    harness.open();
    HWND header = ListView_GetHeader(harness.list());
    wchar_t publisher[32] = {};
    HDITEMW column = {};
    column.mask = HDI_TEXT;
    column.pszText = publisher;
    column.cchTextMax = 32;
    Header_GetItem(header, 6, &column);
    EXPECT_EQ(std::wstring(publisher), L"Publisher");
    const int tray = harness.rowNamed("Tray");
    EXPECT_FALSE(harness.rowChecked(tray));
    EXPECT_EQ(harness.cell(tray, 7), "Off in Windows settings");

    const int mandated = harness.rowNamed("Mandated");
    ASSERT_TRUE(harness.rowChecked(mandated));
    ASSERT_TRUE(harness.clickCheckBox(mandated));
    EXPECT_TRUE(harness.rowChecked(mandated));
    EXPECT_NE(harness.statusText().find("Group policy"), std::string::npos);
    EXPECT_TRUE(harness.platform().registry.readValue(registryKeyOf(SectionId::UserPolicyRun), "Mandated"));
}

}  // namespace lsu::test
