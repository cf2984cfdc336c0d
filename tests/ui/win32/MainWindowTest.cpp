#include "WindowTest.h"

#include <commctrl.h>

#include <new>

#include "operations/ServiceSwitch.h"
#include "platform/win32/WideText.h"
#include "release/ProgramRows.h"
#include "support/Seed.h"
#include "ui/logic/WindowTexts.h"

namespace lsu::test {

namespace {

constexpr char kTool[] = "C:\\nowhere\\tool.exe";

using MainWindowTest = WindowTest;

// Memory runs out the moment a program is to be started.
class ExhaustedLauncher : public Launcher {
public:
    Status launch(const std::string&, const std::string&, const std::string&, ShowCommand) override {
        throw std::bad_alloc();
    }
    Status runScheduledTask(const std::string&) override { throw std::bad_alloc(); }
    Status startService(const std::string&) override { throw std::bad_alloc(); }
};

}  // namespace

// The boxes the window ticks as it loads, or reloads, are no user's change:
// every entry stays where it is.
TEST_F(MainWindowTest, OpensOnTheRootWithEveryEntryTickedAsItStands) {
    seedUserRun("Tool", kTool);
    seedUserRun("Parked", "C:\\nowhere\\parked.exe", true);
    open();
    choose(viewMenu(), "Refresh");
    EXPECT_EQ(selectedSection(), SectionId::AllPrograms);
    EXPECT_TRUE(TreeView_GetItemState(tree(), TreeView_GetRoot(tree()), TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(headerTexts().front(), "All Programs");
    EXPECT_TRUE(rowChecked(rowNamed("Tool")));
    EXPECT_FALSE(rowChecked(rowNamed("Parked")));
    EXPECT_EQ(userRun("Tool"), kTool);
    EXPECT_EQ(userRun("Parked", true), "C:\\nowhere\\parked.exe");
}

TEST_F(MainWindowTest, CarriesTheProgramsTitleAndIcons) {
    open();
    EXPECT_EQ(windowText(main()), "Tovane StartUp");
    EXPECT_NE(GetClassLongPtrW(main(), GCLP_HICON), 0);
    EXPECT_NE(GetClassLongPtrW(main(), GCLP_HICONSM), 0);
}

// 840 and 4000 twips at 96 DPI.
TEST_F(MainWindowTest, KeepsItsToolbarHeightAndItsLeastSize) {
    open();
    RECT toolbarArea;
    GetWindowRect(toolbar(), &toolbarArea);
    EXPECT_EQ(toolbarArea.bottom - toolbarArea.top, 56);
    MINMAXINFO limits = {};
    SendMessageW(main(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 267);
    EXPECT_EQ(limits.ptMinTrackSize.y, 267);
}

TEST_F(MainWindowTest, TheListsColumnHeadersAreNoButtons) {
    open();
    EXPECT_EQ(GetWindowLongPtrW(ListView_GetHeader(list()), GWL_STYLE) & HDS_BUTTONS, 0);
}

TEST_F(MainWindowTest, SelectingASectionListsOnlyItsRowsAndRetitlesTheHeader) {
    seedUserRun("Tool", kTool);
    seedRegistry(platform(), SectionId::UserRunOnce, stringValue("Once", "C:\\nowhere\\once.exe"));
    open();
    ASSERT_NE(rowNamed("Once"), -1);
    selectSection(SectionId::UserRun);
    EXPECT_EQ(rowNames(), std::vector<std::string>{"Tool"});
    EXPECT_EQ(cell(0, Column::Section), "Registry\\Current User\\Run");
    EXPECT_EQ(headerTexts(),
              (std::vector<std::string>{"Registry\\Current User\\Run", "Programs that runs at current user logon"}));
}

TEST_F(MainWindowTest, TheStatusBarCountsTheProgramsShownAndTheDisabledOnes) {
    seedUserRun("Tool", kTool);
    seedUserRun("Parked", "C:\\nowhere\\parked.exe", true);
    open();
    selectSection(SectionId::UserRun);
    EXPECT_EQ(statusText(), "2 programs, 1 disabled");
    clickCheckBox(rowNamed("Tool"));
    EXPECT_EQ(statusText(), "2 programs, 2 disabled");
}

TEST_F(MainWindowTest, HidesWindowsOwnServicesUntilAskedAndSaysOnceThatAServiceSwitchedOffKeepsRunning) {
    const std::string windows = platform().system.windowsDirectory();
    seedService(
        {"LsuTestSync", "Sync Helper", kServiceOwnProcess, kServiceAutoStart, false, "C:\\nowhere\\sync.exe", ""});
    seedService({"LsuTestPart", "Windows Part", kServiceShareProcess, kServiceAutoStart, false,
                 windows + "\\system32\\svchost.exe -k LsuTest", windows + "\\regedit.exe"});
    open();
    selectSection(SectionId::ServicesAutomatic);
    auto shown = [&](const std::string& name) { return rowNamed(name) != -1; };
    EXPECT_TRUE(menuItemState(viewMenu(), "Hide Windows services") & MF_CHECKED);
    EXPECT_EQ(std::pair(shown("Sync Helper (LsuTestSync)"), shown("Windows Part (LsuTestPart)")),
              std::pair(true, false));
    choose(viewMenu(), "Hide Windows services");
    EXPECT_EQ(std::pair(shown("Sync Helper (LsuTestSync)"), shown("Windows Part (LsuTestPart)")),
              std::pair(true, true));
    choose(viewMenu(), "Hide Windows services");
    EXPECT_FALSE(shown("Windows Part (LsuTestPart)"));
    for (bool told : {true, false, false}) {
        clickCheckBox(rowNamed("Sync Helper (LsuTestSync)"));
        EXPECT_EQ(statusText() == kServiceKeepsRunningNote, told);
    }
}

TEST_F(MainWindowTest, AClickOnTheSelectedSectionReloadsIt) {
    open();
    selectSection(SectionId::UserRun);
    ASSERT_TRUE(rowNames().empty());
    seedUserRun("Late", "C:\\nowhere\\late.exe");
    RECT node = {};
    TreeView_GetItemRect(tree(), TreeView_GetSelection(tree()), &node, TRUE);
    click(tree(), {(node.left + node.right) / 2, (node.top + node.bottom) / 2});
    EXPECT_TRUE(pumpUntil([&] { return rowNamed("Late") != -1; }));
    EXPECT_EQ(selectedSection(), SectionId::UserRun);
}

// The menus name each command's shortcut, and the shortcut works; the
// toolbar's buttons with a tooltip give it.
TEST_F(MainWindowTest, MenusShortcutsAndToolbarComeFromOneCommandTable) {
    seedUserRun("Tool", kTool);
    open();
    wchar_t item[64] = {};
    GetMenuStringW(editMenu(), commandOf(editMenu(), "Add new program.."), item, 64, MF_BYCOMMAND);
    EXPECT_EQ(win32::narrow(item), "Add new program..\tCtrl+N");
    EXPECT_EQ(SendMessageW(toolbar(), TB_BUTTONCOUNT, 0, 0), 6);
    NMTTDISPINFOW tip = {};
    tip.hdr = {reinterpret_cast<HWND>(SendMessageW(toolbar(), TB_GETTOOLTIPS, 0, 0)),
               static_cast<UINT_PTR>(Command::Run), TTN_GETDISPINFOW};
    SendMessageW(main(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_EQ(win32::narrow(tip.szText), "Run selected program");
    selectRow(rowNamed("Tool"));
    ModalWatch watch(IDOK, {[](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }});
    PostMessageW(list(), WM_KEYDOWN, VK_F4, 0);
    pump();
    EXPECT_EQ(watch.stepsPlayed(), 1u);
}

TEST_F(MainWindowTest, AboutNamesTheVersionAndTheCopyright) {
    open();
    ModalWatch watch;
    choose(menu(3), kAboutTitle);
    EXPECT_EQ(watch.boxTitles(), std::vector<std::string>{kAboutTitle});
    EXPECT_EQ(watch.boxTexts(), std::vector<std::string>{aboutText()});
}

// No exception of a command reaches the system: the user is told, and the
// window goes on.
TEST_F(MainWindowTest, ACommandThatFailsInsideTheProgramIsToldAndTheWindowGoesOn) {
    seedUserRun("Tool", kTool);
    ExhaustedLauncher launcher;
    open(&launcher);
    selectRow(rowNamed("Tool"));
    ModalWatch watch;
    choose(editMenu(), "Run");
    EXPECT_EQ(watch.boxTexts(), std::vector<std::string>{messageAfterInterruptedCommand(std::bad_alloc().what()).text});
    selectSection(SectionId::UserRun);
    EXPECT_EQ(rowNames(), std::vector<std::string>{"Tool"});
}

// The list holds no copy of its texts, yet another program reads every cell
// through the list's own messages, as a screen reader does.
TEST_F(MainWindowTest, AnotherProgramReadsEveryCellOfTheList) {
    seedUserRun("Tool", std::string(kTool) + " /tray");
    const ProgramRow row = readProgramRow(win32::widen(platform().system.programFolder() + "\\LStartUp.exe"), L"Tool");
    ASSERT_TRUE(row.failure.empty()) << win32::narrow(row.failure);
    EXPECT_EQ(row.cells.at(L"Command Line"), L"C:\\nowhere\\tool.exe /tray");
    EXPECT_EQ(row.cells.at(L"Section"), L"Registry\\Current User\\Run");
    EXPECT_EQ(row.cells.at(L"State"), L"Enabled");
}

}  // namespace lsu::test
