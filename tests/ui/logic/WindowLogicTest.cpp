#include <gtest/gtest.h>

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
    EXPECT_EQ(placeProgramList(pane, true, 10305, 10185), (Rect{2920, 1280, 7195, 4895}));
    EXPECT_EQ(placeProgramList(pane, false, 10305, 10185), (Rect{50, 1280, 10085, 4895}));
    EXPECT_EQ(placeProgramList({0, 1230, 9000, 4995}, true, 9100, 9000).width, 300);
}

TEST(WindowLayout, FolderPaneChildrenFollowItsSize) {
    EXPECT_EQ(layoutFolderPane(3000, 2000),
              (PaneChildren{{2925, 0, 75, 2000}, {2700, 60, 195, 195}, {60, 285, 2845, 1645}, {60, 30, 2490, 240}}));
    EXPECT_EQ(layoutFolderPane(0, 0).tree, (Rect{60, 285, 0, 0}));
    // The caption gives way to the close button in a narrow pane.
    EXPECT_EQ(layoutFolderPane(1000, 2000).caption, (Rect{60, 30, 580, 240}));
}

// The pane keeps its least width of 360 twips, and its edge 240 twips from
// the window's right edge.
TEST(WindowLayout, SplitterStaysBetweenThePanesLeastWidthAndTheHostsRightEdge) {
    EXPECT_EQ(clampSplitter(-500, 100, 10000), 460);
    EXPECT_EQ(clampSplitter(9900, 100, 10000), 9760);
    EXPECT_EQ(clampSplitter(4000, 100, 10000), 4000);
    EXPECT_EQ(clampSplitter(-500, 0, kMinimumWindowTwips), 360);
}

// Dragged as narrow as it goes, the pane still shows its close button whole,
// clear of the grip that drags it wide again.
TEST(WindowLayout, TheNarrowestPaneKeepsItsCloseButtonAndItsGrip) {
    const PaneChildren narrowest = layoutFolderPane(clampSplitter(-500, 0, 10000), 2000);
    EXPECT_EQ(narrowest.closeButton.left, 60);
    EXPECT_EQ(narrowest.splitter, (Rect{285, 0, 75, 2000}));
}

// The menu follows the row's box, which the user may have changed, not its
// stored state; group policy's entries can only be run, and what a service
// manager, a package or the task scheduler keeps only switched and run.
TEST(EditMenu, OffersOnlyWhatAppliesToTheSelection) {
    StartupEntry ticked, clear, policy, service, task;
    std::tie(ticked.checked, ticked.enabled) = std::pair(true, false);
    std::tie(policy.checked, policy.section) = std::pair(true, UserPolicyRun);
    std::tie(service.checked, service.section) = std::pair(true, ServicesAutomatic);
    std::tie(task.checked, task.section) = std::pair(false, TasksAtLogon);
    const std::pair<const StartupEntry*, EditMenuState> cases[] = {
        {nullptr, {false, false, false, false, false}}, {&ticked, {false, true, true, true, true}},
        {&clear, {true, false, true, true, true}},      {&policy, {false, false, false, true, false}},
        {&service, {false, true, false, true, false}},  {&task, {true, false, false, true, false}},
    };
    for (const auto& [row, state] : cases) EXPECT_EQ(editMenuState(row), state);
}

TEST(RunCommand, StartsTheProgramWithItsArgumentsInItsFolderMaximised) {
    MemoryPlatform platform;
    platform.putFile("C:\\Program Files\\My App\\app.exe", {'x'});
    StartupEntry row;
    const std::pair<std::string, std::optional<LaunchRequest>> cases[] = {
        {"C:\\Program Files\\My App\\app.exe /tray",
         LaunchRequest{"C:\\Program Files\\My App\\app.exe", "/tray", "C:\\Program Files\\My App",
                       ShowCommand::Maximized}},
        {"\"%SystemRoot%\\notepad.exe\" -x",
         LaunchRequest{"C:\\windows\\notepad.exe", "-x", "C:\\windows", ShowCommand::Maximized}},
        {"  ", std::nullopt},
    };
    for (const auto& [line, request] : cases) {
        row.commandLine = line;
        EXPECT_EQ(launchRequestFor(platform, platform, row), request) << line;
    }
}

TEST(RunCommand, AStartupFolderRowOpensItsFileWhereItStands) {
    MemoryPlatform platform;
    StartupEntry row;
    std::tie(row.commandLine, row.section, row.type, row.enabled, row.fileName) =
        std::tuple("C:\\Tools\\tool.exe", StartupCurrentUser, EntryType::Shortcut, false, "Tool.lnk");
    const std::string parked =
        platform.shellFolder(ShellFolder::LocalAppData) + "\\LStartUp\\Startup Folder\\Current User";
    EXPECT_EQ(launchRequestFor(platform, platform, row), (LaunchRequest{parked + "\\Tool.lnk", "", parked}));
    row.parkedBesideProgram = true;
    const std::string besideProgram = std::string(kMemoryProgramFolder) + "\\Startup Folder\\Current User";
    EXPECT_EQ(launchRequestFor(platform, platform, row),
              (LaunchRequest{besideProgram + "\\Tool.lnk", "", besideProgram}));
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
    const std::string path = platform.programFolder() + "\\LStartUp.exe.manifest";
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

// Add offers the registry and the Startup folders; Edit win.ini's lines too.
TEST(EntryDialogFields, AddStartsEmptyAndEditShowsTheRow) {
    const EntryDialogSetup add = addDialogSetup();
    EXPECT_EQ(add.caption, "Add new program");
    EXPECT_TRUE(add.forAdd);
    EXPECT_EQ(add.sections,
              (std::vector<SectionId>{StartupAllUsers, StartupCurrentUser, UserRun, UserRunOnce, MachineRun,
                                      MachineRunOnce, MachineRunOnceEx, MachineRunServices, MachineRunServicesOnce}));
    EXPECT_EQ(add.form, EntryForm{});
    StartupEntry row;
    std::tie(row.name, row.commandLine, row.section) = std::tuple("Tray", "tray.exe /quiet", WinIniLoad);
    const EntryDialogSetup edit = editDialogSetup(row);
    const auto writable = std::count_if(leavesOf(AllPrograms).begin(), leavesOf(AllPrograms).end(),
                                        [](SectionId leaf) { return section(leaf).offer != DialogOffer::Never; });
    EXPECT_EQ(edit.caption, "Edit program");
    EXPECT_FALSE(edit.forAdd);
    EXPECT_EQ(std::ssize(edit.sections), writable);
    EXPECT_EQ(edit.form, (EntryForm{"Tray", "tray.exe /quiet", WinIniLoad}));
    row.section = Registry;  // a group is no place to write to
    EXPECT_EQ(editDialogSetup(row).form.section, std::nullopt);
}

TEST(EntryDialogFields, TheFirstUnfitFieldIsRefusedInOrder) {
    using enum EntryField;
    using enum MessageKind;
    const auto refused = [](const char* text, const char* title, MessageKind kind, EntryField field) {
        return std::optional(FieldRefusal{{text, title, kind}, field});
    };
    const struct {
        EntryForm form;
        bool forAdd;
        std::optional<FieldRefusal> refusal;
    } cases[] = {
        {{}, true, refused("Enter description for Program", "Description empty", Information, Description)},
        {{"Tool", "", UserRun},
         true,
         refused("Enter Command line for Program", "Command line empty", Information, CommandLine)},
        {{"Tool", "tool.exe", {}},
         true,
         refused("Select section to add program", "Section not select", Information, Section)},
        {{"..\\..\\evil", "tool.exe", StartupCurrentUser},
         false,
         refused("The name may not contain any of these characters: \\ / : * ? \" < > |", "Tovane StartUp", Exclamation,
                 Description)},
        {{" ", "tool.exe", StartupAllUsers},
         true,
         refused("The name may not end in a dot or a space.", "Tovane StartUp", Exclamation, Description)},
        {{"Tool", "tool.exe", WinIniRun},
         true,
         refused("Select one of the listed sections for the program.", "Tovane StartUp", Exclamation, Section)},
        {{"Tool", "tool.exe", WinIniRun}, false, std::nullopt},
        {{" ", "tool.exe", UserRun}, true, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(refusalOfFields(c.form, c.forAdd), c.refusal) << c.form.name;
}

TEST(EntryDialogFields, BrowsingStartsInTheCommandLinesFolder) {
    MemoryPlatform platform;
    platform.putFile("C:\\Program Files\\My App\\app.exe", {'x'});
    const std::string app = "C:\\Program Files\\My App";
    const std::pair<std::string, std::string> cases[] = {
        {app + "\\app.exe /tray", app},
        {"\"" + app + "\\gone.exe\" -x", app},
        {"\"" + app + "\" -x", app},
        {" " + app + " ", app},
        {"%SystemRoot%\\notepad.exe", "C:\\windows"},
        {"D:\\nowhere\\tool.exe", ""},
        {"tool.exe", ""},
        {"", ""},
        {"C:\\tool.exe", "C:\\"},
    };
    for (const auto& [line, folder] : cases) EXPECT_EQ(browseFolderFor(platform, platform, line), folder) << line;
}

TEST(EntryDialogFields, AChosenPathWithASpaceIsQuoted) {
    EXPECT_EQ(commandLineForChosenFile("C:\\Tools\\tool.exe"), "C:\\Tools\\tool.exe");
    EXPECT_EQ(commandLineForChosenFile("C:\\Program Files\\My App\\app.exe"), "\"C:\\Program Files\\My App\\app.exe\"");
}

}  // namespace
}  // namespace lsu
