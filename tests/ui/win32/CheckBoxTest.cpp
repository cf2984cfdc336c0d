#include <functional>

#include "WindowTest.h"
#include "catalog/StartupSwitches.h"
#include "support/Seed.h"

namespace lsu::test {

namespace {

constexpr char kCommand[] = "C:\\nowhere\\tool.exe /quiet";

using CheckBoxTest = WindowTest;

// Windows' own startup switch for the entry of the current user's Run key, off.
void switchOff(const ScanPorts& platform, const std::string& name) {
    expectDone(platform.registry.writeValue(*switchKeyOf(SectionId::UserRun, RegistryView::Shared),
                                            {name, kRegBinary, {0x03, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}}, true),
               "switching the entry off");
}

}  // namespace

// Clearing a box parks the value and ticking it brings it back, from the box
// or the Edit menu alike. Each change shows at once in every cell drawn from
// the row, the visible State as well as the hidden Status, without a reload.
TEST_F(CheckBoxTest, TheBoxMovesTheEntryAndEveryCellOfItsRowFollows) {
    seedUserRun("Tool", kCommand);
    seedUserRun("Tray", kCommand);
    switchOff(platform(), "Tray");
    open();
    selectSection(SectionId::UserRun);
    const int tool = rowNamed("Tool"), tray = rowNamed("Tray");
    ASSERT_EQ(cell(tray, Column::State), "Off in Windows settings");
    ASSERT_FALSE(rowChecked(tray));
    const auto fromMenu = [&](int row, const char* item) {
        selectRow(row);
        choose(editMenu(), item);
    };
    const struct {
        std::function<void()> change;
        int row;
        const char* state;
        bool parked;
    } steps[] = {
        {[&] { clickCheckBox(tool); }, tool, "Disabled", true},
        {[&] { clickCheckBox(tool); }, tool, "Enabled", false},
        {[&] { fromMenu(tool, "Disable"); }, tool, "Disabled", true},
        {[&] { fromMenu(tool, "Enable"); }, tool, "Enabled", false},
        {[&] { clickCheckBox(tray); }, tray, "Enabled", false},
    };
    for (const auto& step : steps) {
        step.change();
        EXPECT_EQ(rowChecked(step.row), !step.parked) << step.state;
        EXPECT_EQ(cell(step.row, Column::State), step.state);
        EXPECT_EQ(cell(step.row, Column::Status), step.state);
        EXPECT_EQ(userRun(cell(step.row, Column::Name), step.parked), kCommand) << step.state;
        EXPECT_EQ(userRun(cell(step.row, Column::Name), !step.parked), std::nullopt) << step.state;
    }
    choose(viewMenu(), "Refresh");
    EXPECT_EQ(cell(rowNamed("Tray"), Column::State), "Enabled");
}

TEST_F(CheckBoxTest, AMoveThatFailsIsExplainedAndPutsTheBoxBack) {
    seedUserRun("Tool", kCommand);
    open();
    selectSection(SectionId::UserRun);
    const int row = rowNamed("Tool");
    expectDone(platform().registry.deleteValue(registryKeyOf(SectionId::UserRun), "Tool"), "removing the value");
    ModalWatch watch;
    clickCheckBox(row);
    EXPECT_TRUE(rowChecked(row));
    EXPECT_EQ(cell(row, Column::Status), "Enabled");
    EXPECT_EQ(watch.boxTitles(), std::vector<std::string>{"Disable failed"});
    EXPECT_EQ(userRun("Tool", true), std::nullopt);
}

}  // namespace lsu::test
