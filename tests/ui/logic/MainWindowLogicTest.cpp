#include <gtest/gtest.h>

#include <set>

#include "ProductIdentity.h"
#include "ui/logic/CommandTable.h"
#include "ui/logic/ListColumns.h"
#include "ui/logic/StartArguments.h"
#include "ui/logic/TreeImages.h"
#include "ui/logic/WindowTexts.h"

namespace lsu {
namespace {

using Texts = std::vector<std::string>;

StartupEntry row(SectionId leaf, bool enabled, bool switchedOff = false) {
    StartupEntry entry;
    std::tie(entry.section, entry.enabled, entry.switchedOff) = std::tuple(leaf, enabled, switchedOff);
    return entry;
}

// Each menu as the user reads it, shortcuts after a tab, "-" for a separator.
std::vector<Texts> menusAsShown(bool elevated) {
    std::vector<Texts> shown;
    for (const MenuDefinition& menu : menuBar()) {
        shown.push_back({std::string(menu.caption)});
        for (const auto& item : shownItems(menu, elevated)) shown.back().push_back(item ? menuItemText(*item) : "-");
    }
    return shown;
}

TEST(CommandTable, TheMenusNameEachCommandWithItsShortcut) {
    EXPECT_EQ(
        menusAsShown(false),
        (std::vector<Texts>{
            {"Action", "Restart as administrator", "-", "E&xit"},
            {"Edit", "Undo\tCtrl+Z", "-", "Enable", "Disable", "-", "Add new program..\tCtrl+N", "Delete\tDel", "Run",
             "-", "Properties\tF4"},
            {"View", "Folders\tCtrl+F", "-", "Grid", "Hide Windows services", "-", "History...", "-", "Refresh\tF5"},
            {"Help", "About Larkwell StartUp"},
        }));
}

TEST(CommandTable, AnElevatedWindowOffersNoRestartAsAdministrator) {
    EXPECT_EQ(menusAsShown(true).front(), (Texts{"Action", "E&xit"}));
}

// A restart as administrator names the section to show; anything else the
// window does not know opens it as usual.
TEST(StartArguments, OneSectionKeyIsShownFirstAndAnythingElseIgnored) {
    const std::pair<std::vector<std::string>, std::optional<SectionId>> cases[] = {
        {{"Startup Folder\\Current User"}, SectionId::StartupCurrentUser},
        {{"registry\\all users\\run"}, SectionId::MachineRun},
        {{}, std::nullopt},
        {{"Registry\\Nowhere"}, std::nullopt},
        {{"/S"}, std::nullopt},
        {{"Win.ini", "Registry"}, std::nullopt},
    };
    for (const auto& [args, shown] : cases) EXPECT_EQ(sectionToShowFirst(args), shown) << args.size();
}

TEST(CommandTable, TheToolbarShowsSixButtonsEachWithItsOwnImage) {
    Texts captions, tooltips;
    std::set<ToolbarImage> images;
    for (Command command : toolbarCommands()) {
        const ToolbarButton& button = commandInfo(command).button.value();
        captions.emplace_back(button.caption);
        tooltips.emplace_back(button.tooltip);
        images.insert(button.image);
    }
    EXPECT_EQ(captions, (Texts{"Refresh", "Add", "Delete", "Run", "Properties", "Folders"}));
    EXPECT_EQ(tooltips, (Texts{"Reload all", "", "", "Run selected program", "", ""}));
    EXPECT_EQ(images.size(), captions.size());
}

// Folders, Grid and the hiding of Windows' services are shown on or off;
// every other command just acts.
TEST(CommandTable, OnlyTheViewsSettingsSwitch) {
    std::vector<Command> switching;
    for (const CommandInfo& command : commands())
        if (command.switches) switching.push_back(command.command);
    EXPECT_EQ(switching, (std::vector<Command>{Command::Folders, Command::Grid, Command::HideWindowsServices}));
}

TEST(ListColumns, StatusAndTypeAreHiddenAndTheOthersKeepTheirWidths) {
    std::vector<int> widths;
    for (const ColumnDefinition& column : entryColumns()) widths.push_back(columnWidthTwips(column.column));
    EXPECT_EQ(widths, (std::vector<int>{2000, 4000, 600, 2500, 0, 0, 2400, 2200}));
}

TEST(TreeImages, GroupsShowWhatTheyGatherAndLeavesOpenWhenSelected) {
    using enum SectionId;
    using Image = TreeImage;
    const std::pair<SectionId, NodeImages> cases[] = {
        {AllPrograms, {Image::ClosedFolder, Image::ClosedFolder}},
        {StartupFolder, {Image::StartupFolder, Image::StartupFolder}},
        {StartupAllUsers, {Image::Users, Image::Users}},
        {StartupCurrentUser, {Image::User, Image::User}},
        {Registry, {Image::Registry, Image::Registry}},
        {RegistryAllUsers, {Image::Users, Image::Users}},
        {RegistryCurrentUser, {Image::User, Image::User}},
        {UserRun, {Image::ClosedFolder, Image::OpenFolder}},
        {MachinePolicyRun, {Image::ClosedFolder, Image::OpenFolder}},
        {WinIni, {Image::ClosedFolder, Image::ClosedFolder}},
        {WinIniLoad, {Image::ClosedFolder, Image::OpenFolder}},
        {PackagedApps, {Image::App, Image::App}},
        {ScheduledTasks, {Image::Task, Image::Task}},
        {TasksAtLogon, {Image::Task, Image::Task}},
    };
    for (const auto& [id, images] : cases) EXPECT_EQ(nodeImagesOf(id), images) << section(id).key;
}

TEST(WindowTexts, TheStatusBarCountsTheRowsOrSaysWhyTheEntryIsNotAsItsBoxSays) {
    using enum SectionId;
    const EntryList rows = {row(UserRun, true), row(UserRun, false), row(MachineRun, true, true)};
    EntryList marked = rows;
    marked[0].sinceLastLook = SinceLastLook::New;
    marked[1].sinceLastLook = SinceLastLook::Changed;
    marked.push_back(marked[0]);
    const struct {
        EntryList rows;
        std::optional<StartupEntry> about;
        std::string text;
    } cases[] = {
        {{}, std::nullopt, "0 programs, 0 disabled"},
        {{row(UserRun, true)}, std::nullopt, "1 program, 0 disabled"},
        {rows, std::nullopt, "3 programs, 2 disabled"},
        {rows, rows[1], "3 programs, 2 disabled"},
        {rows, rows[2],
         "Windows' startup settings turn this entry off: it stays where it is and does not start. Tick it to turn it "
         "on."},
        {rows, row(UserPolicyRun, true), kSetByPolicyReason},
        {marked, std::nullopt, "4 programs, 2 disabled; since the last look 2 new, 1 changed"},
    };
    for (const auto& c : cases) EXPECT_EQ(statusText(c.rows, c.about ? &*c.about : nullptr), c.text) << c.text;
}

TEST(WindowTexts, TheWindowsOwnMessages) {
    const Error denied{ErrorKind::System, 5, "Access is denied."};
    const std::pair<UserMessage, UserMessage> cases[] = {
        {deleteQuestion(),
         {"Are you sure to delete the selected item?\r\n\r\nThis action can not be undone.", "Warning",
          MessageKind::Question}},
        {messageAfterFailedRun("C:\\x.exe", denied),
         {"Could not start \"C:\\x.exe\":\r\nAccess is denied.", "Tovane StartUp", MessageKind::Critical}},
        {messageAfterInterruptedCommand("bad allocation"),
         {"The command was cut short. Refresh the list and check where the entry stands.\r\n\r\nbad allocation",
          "Tovane StartUp", MessageKind::Critical}},
        {{aboutText(), kAboutTitle, MessageKind::Information},
         {"Tovane StartUp " LSU_VERSION_TEXT "\r\n\r\nShows every program Windows starts by itself and lets you "
          "disable, enable, add, edit, delete and run them.\r\n\r\n" LSU_COPYRIGHT,
          "About Larkwell StartUp", MessageKind::Information}},
    };
    for (const auto& [shown, expected] : cases) EXPECT_EQ(shown, expected);
}

}  // namespace
}  // namespace lsu
