#include <gtest/gtest.h>

#include "WindowHarness.h"
#include "catalog/StartupSwitches.h"
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
    ASSERT_TRUE(harness.platform().registry.writeValue(*switchKeyOf(SectionId::UserRun, RegistryView::Shared),
                                                       {"Tray", kRegBinary, {0x03, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}},
                                                       true));
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
