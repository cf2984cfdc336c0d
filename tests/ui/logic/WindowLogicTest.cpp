#include <gtest/gtest.h>

#include <algorithm>

#include "platform/memory/MemoryPlatform.h"
#include "ui/logic/EditMenu.h"
#include "ui/logic/EntryDialogFields.h"
#include "ui/logic/RunCommand.h"
#include "ui/logic/ThemeManifest.h"
#include "ui/logic/WindowLayout.h"

namespace lsu {
namespace {

using enum SectionId;

TEST(WindowLayout, ListSitsBesideThePaneOrAloneWhenItIsHidden) {
    const Rect pane{0, 1230, 2910, 4995};
    EXPECT_EQ(placeProgramList(pane, true, 10305, 10185), (Rect{2920, 1280, 10305 - 2910 - 200, 4895}));
    EXPECT_EQ(placeProgramList(pane, false, 10305, 10185), (Rect{50, 1280, 10185 - 100, 4895}));
    EXPECT_EQ(placeProgramList({0, 1230, 9000, 4995}, true, 9100, 9000).width, 300);
}

TEST(WindowLayout, FolderPaneChildrenFollowItsSize) {
    EXPECT_EQ(layoutFolderPane(3000, 2000),
              (PaneChildren{{2925, 0, 75, 2000}, {2700, 60, 195, 195}, {60, 285, 2845, 1645}, {60, 30, 2490, 240}}));
    EXPECT_EQ(layoutFolderPane(0, 0).tree, (Rect{60, 285, 0, 0}));
    // The caption gives way to the close button in a narrow pane.
    EXPECT_EQ(layoutFolderPane(1000, 2000).caption, (Rect{60, 30, 580, 240}));
}

TEST(WindowLayout, SplitterStaysBetweenThePanesLeastWidthAndTheHostsRightEdge) {
    EXPECT_EQ(clampSplitter(-500, 100, 10000), 100 + kMinimumPaneTwips);
    EXPECT_EQ(clampSplitter(9900, 100, 10000), 9760);
    EXPECT_EQ(clampSplitter(4000, 100, 10000), 4000);
    EXPECT_EQ(clampSplitter(-500, 0, kMinimumWindowTwips), kMinimumPaneTwips);
}

// Dragged as narrow as it goes, the pane still shows its close button whole,
// clear of the grip that drags it wide again.
TEST(WindowLayout, TheNarrowestPaneKeepsItsCloseButtonAndItsGrip) {
    const PaneChildren narrowest = layoutFolderPane(clampSplitter(-500, 0, 10000), 2000);
    EXPECT_GE(narrowest.closeButton.left, 0);
    EXPECT_LE(narrowest.closeButton.left + narrowest.closeButton.width, narrowest.splitter.left);
    EXPECT_EQ(narrowest.splitter.width, kSplitterTwips);
}

// The menu follows the row's box, which the user may have changed, not its stored state.
TEST(EditMenu, OffersOnlyWhatAppliesToTheSelection) {
    StartupEntry ticked, clear, service;
    std::tie(ticked.checked, ticked.enabled) = std::pair(true, false);
    std::tie(service.checked, service.type) = std::pair(true, EntryType::Service);
    const std::pair<const StartupEntry*, EditMenuState> cases[] = {
        {nullptr, {}}, {&ticked, {false, true, true, true, true}}, {&clear, {true, false, true, true, true}},
        {&service, {false, true, false, true, false}}};
    for (const auto& [row, state] : cases) EXPECT_EQ(editMenuState(row), state);
}

TEST(RunCommand, StartsTheProgramWithItsArgumentsInItsFolder) {
    MemoryPlatform platform;
    platform.putFile("C:\\Program Files\\My App\\app.exe", {'x'});
    StartupEntry row;
    row.commandLine = "C:\\Program Files\\My App\\app.exe /tray";
    EXPECT_EQ(launchRequestFor(platform, platform, row),
              (LaunchRequest{"C:\\Program Files\\My App\\app.exe", "/tray", "C:\\Program Files\\My App"}));
    row.commandLine = "\"%SystemRoot%\\notepad.exe\" -x";
    EXPECT_EQ(launchRequestFor(platform, platform, row),
              (LaunchRequest{"C:\\windows\\notepad.exe", "-x", "C:\\windows"}));
    EXPECT_EQ(launchRequestFor(platform, platform, row)->show, ShowCommand::Maximized);
    row.commandLine = "  ";
    EXPECT_FALSE(launchRequestFor(platform, platform, row));
}

TEST(RunCommand, AStartupFolderRowOpensItsFileWhereItStands) {
    MemoryPlatform platform;
    StartupEntry row;
    std::tie(row.commandLine, row.section, row.type, row.enabled, row.fileName) =
        std::tuple("C:\\Tools\\tool.exe", StartupCurrentUser, EntryType::Shortcut, false, "Tool.lnk");
    const std::string parked = std::string(kMemoryProgramFolder) + "\\Startup Folder\\Current User";
    EXPECT_EQ(launchRequestFor(platform, platform, row), (LaunchRequest{parked + "\\Tool.lnk", "", parked}));
    row.enabled = true;
    const std::string startup = platform.shellFolder(ShellFolder::UserStartup);
    EXPECT_EQ(launchRequestFor(platform, platform, row), (LaunchRequest{startup + "\\Tool.lnk", "", startup}));
    std::tie(row.commandLine, row.type, row.fileName) = std::tuple("sync.bat", EntryType::File, "sync.bat");
    EXPECT_EQ(launchRequestFor(platform, platform, row), (LaunchRequest{startup + "\\sync.bat", "", startup}));
    // The path of "sync.bat." would open "sync.bat".
    row.fileName = "sync.bat.";
    EXPECT_FALSE(launchRequestFor(platform, platform, row));
}

TEST(ThemeManifest, IsWrittenOnceHiddenAndNamedAfterTheProgram) {
    EXPECT_EQ(themeManifestPath("C:\\Tools", "manager.exe"), "C:\\Tools\\manager.exe.manifest");
    EXPECT_EQ(themeManifestPath("C:\\", "manager.exe"), "C:\\manager.exe.manifest");
    EXPECT_EQ(
        themeManifestText("manager.exe"),
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><assembly "
        "xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"><assemblyIdentity version=\"1.0.0.0\" "
        "processorArchitecture=\"amd64\" name=\"Fernlight.WindowsXP.manager\" type=\"win32\" /> <description>"
        "Windows XP theming.</description> <dependency> <dependentAssembly> <assemblyIdentity type=\"win32\" "
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" processorArchitecture=\"amd64\" "
        "publicKeyToken=\"6595b64144ccf1df\" language=\"*\" /> </dependentAssembly> </dependency> "
        "</assembly>\r\n");
    MemoryPlatform platform;
    const std::string program = platform.programFolder() + "\\LStartUp.exe";
    const std::string path = themeManifestPath(platform.programFolder(), "LStartUp.exe");
    ASSERT_TRUE(writeThemeManifest(platform, program));
    const std::string written = themeManifestText("LStartUp.exe");
    EXPECT_EQ(platform.readFile(path), std::vector<std::uint8_t>(written.begin(), written.end()));
    EXPECT_TRUE(platform.listFiles(platform.programFolder()).empty());
    ASSERT_TRUE(platform.writeFile(path, {}));
    ASSERT_TRUE(writeThemeManifest(platform, program));  // a file of its name is left as it is
    EXPECT_EQ(platform.readFile(path), std::vector<std::uint8_t>{});
    MemoryPlatform readOnly;
    readOnly.makeReadOnly(readOnly.programFolder());
    EXPECT_FALSE(writeThemeManifest(readOnly, program));
}

// Windows allows "&" and "'" in a file name, and XML's other three special
// characters are escaped all the same: the manifest stays well-formed.
TEST(ThemeManifest, EscapesTheProgramsNameAsXmlText) {
    const std::pair<std::string, std::string> cases[] = {
        {"Tom & Jerry.exe", "Tom &amp; Jerry"},
        {"it's.exe", "it&apos;s"},
        {"<\"a\">.exe", "&lt;&quot;a&quot;&gt;"},
        {"&amp;.exe", "&amp;amp;"},
        {"Früh.exe", "Früh"},
    };
    for (const auto& [file, name] : cases)
        EXPECT_NE(themeManifestText(file).find("name=\"Fernlight.WindowsXP." + name + "\" type="), std::string::npos)
            << file;
}

TEST(EntryDialogFields, AddStartsEmptyAndOffersNoWinIniKey) {
    const EntryDialogSetup add = addDialogSetup();
    EXPECT_TRUE(add.caption == "Add new program" && add.forAdd && add.sections.size() == 9u);
    for (SectionId offered : add.sections) EXPECT_FALSE(sourceAs<WinIniSource>(offered)) << section(offered).key;
    EXPECT_TRUE(add.form.name.empty() && add.form.commandLine.empty() && !add.form.section);
}

TEST(EntryDialogFields, EditShowsTheRowAndOffersEveryLeaf) {
    StartupEntry row;
    std::tie(row.name, row.commandLine, row.section) = std::tuple("Tray", "tray.exe /quiet", WinIniLoad);
    const EntryDialogSetup edit = editDialogSetup(row);
    const auto writable = std::count_if(leavesOf(AllPrograms).begin(), leavesOf(AllPrograms).end(),
                                        [](SectionId leaf) { return section(leaf).offer != DialogOffer::Never; });
    EXPECT_TRUE(edit.caption == "Edit program" && !edit.forAdd && std::ssize(edit.sections) == writable);
    EXPECT_TRUE(edit.form.name == "Tray" && edit.form.commandLine == "tray.exe /quiet" &&
                edit.form.section == WinIniLoad);
    row.section = Registry;  // a group is no place to write to
    EXPECT_FALSE(editDialogSetup(row).form.section);
}

TEST(EntryDialogFields, TheFirstUnfitFieldIsRefusedInOrder) {
    // An empty prompt stands for the operation's own reason.
    struct Case {
        EntryForm form;
        bool forAdd;
        std::optional<EntryField> field;
        std::string prompt, title;
        MessageKind kind;
    };
    using enum MessageKind;
    const Case cases[] = {
        {{}, true, EntryField::Description, "Enter description for Program", "Description empty", Information},
        {{"Tool", "", UserRun},
         true,
         EntryField::CommandLine,
         "Enter Command line for Program",
         "Command line empty",
         Information},
        {{"Tool", "tool.exe", {}},
         true,
         EntryField::Section,
         "Select section to add program",
         "Section not select",
         Information},
        {{"..\\..\\evil", "tool.exe", StartupCurrentUser},
         false,
         EntryField::Description,
         "",
         "Tovane StartUp",
         Exclamation},
        {{" ", "tool.exe", StartupAllUsers}, true, EntryField::Description, "", "Tovane StartUp", Exclamation},
        {{"Tool", "tool.exe", WinIniRun}, true, EntryField::Section, "", "Tovane StartUp", Exclamation},
        {{"Tool", "tool.exe", WinIniRun}, false, {}, "", "", Plain},
        {{" ", "tool.exe", UserRun}, true, {}, "", "", Plain},
    };
    for (const auto& c : cases) {
        const auto refusal = refusalOfFields(c.form, c.forAdd).value_or(FieldRefusal{{"", "", Plain}, EntryField{}});
        EXPECT_EQ(std::tuple(refusal.message.title, refusal.message.kind), std::tuple(c.title, c.kind)) << c.form.name;
        EXPECT_TRUE(!c.field || (refusal.field == *c.field && !refusal.message.text.empty())) << c.form.name;
        EXPECT_EQ(refusal.message.text, c.prompt.empty() ? refusal.message.text : c.prompt);
    }
}

TEST(EntryDialogFields, BrowsingStartsInTheCommandLinesFolder) {
    MemoryPlatform platform;
    platform.putFile("C:\\Program Files\\My App\\app.exe", {'x'});
    const std::string app = "C:\\Program Files\\My App";
    const std::pair<std::string, std::string> cases[] = {{app + "\\app.exe /tray", app},
                                                         {"\"" + app + "\\gone.exe\" -x", app},
                                                         {"\"" + app + "\" -x", app},
                                                         {" " + app + " ", app},
                                                         {"%SystemRoot%\\notepad.exe", "C:\\windows"},
                                                         {"D:\\nowhere\\tool.exe", ""},
                                                         {"tool.exe", ""},
                                                         {"", ""},
                                                         {"C:\\tool.exe", "C:\\"}};
    for (const auto& [line, folder] : cases) EXPECT_EQ(browseFolderFor(platform, platform, line), folder) << line;
}

TEST(EntryDialogFields, AChosenPathWithASpaceIsQuoted) {
    EXPECT_EQ(commandLineForChosenFile("C:\\Tools\\tool.exe"), "C:\\Tools\\tool.exe");
    EXPECT_EQ(commandLineForChosenFile("C:\\Program Files\\My App\\app.exe"), "\"C:\\Program Files\\My App\\app.exe\"");
}

}  // namespace
}  // namespace lsu
