#include <cstdlib>
#include <functional>
#include <new>

#include "WindowTest.h"
#include "platform/memory/MemoryPlatform.h"
#include "platform/win32/WideText.h"
#include "support/Seed.h"
#include "ui/win32/EntryDialog.h"
#include "ui/win32/EntryDialogIds.h"
#include "ui/win32/GdiObjects.h"

namespace lsu::test {

namespace {

using EntryDialogTest = WindowTest;

std::string field(HWND dialog, int id) { return windowText(GetDlgItem(dialog, id)); }

void fill(HWND dialog, const std::string& name, const std::string& commandLine, SectionId leaf) {
    SetDlgItemTextW(dialog, LSU_IDC_DESCRIPTION, win32::widen(name).c_str());
    SetDlgItemTextW(dialog, LSU_IDC_COMMAND_LINE, win32::widen(commandLine).c_str());
    const std::wstring key = win32::widen(section(leaf).key);
    const LRESULT index = SendDlgItemMessageW(dialog, LSU_IDC_SECTION, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(key.c_str()));
    SendDlgItemMessageW(dialog, LSU_IDC_SECTION, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void press(HWND dialog, int button) { PostMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0); }

// What the dialog showed when it opened.
struct Shown {
    std::string caption, name, commandLine, section;
    LRESULT sectionsOffered = 0;
};

Shown shownBy(HWND dialog) {
    return {windowText(dialog), field(dialog, LSU_IDC_DESCRIPTION), field(dialog, LSU_IDC_COMMAND_LINE),
            field(dialog, LSU_IDC_SECTION), SendDlgItemMessageW(dialog, LSU_IDC_SECTION, CB_GETCOUNT, 0, 0)};
}

// The browse button lies over the right end of the command line, which
// keeps the other fields' width and leaves the button's corner out.
void expectBrowseButtonOverTheLinesEnd(HWND dialog) {
    HWND box = GetDlgItem(dialog, LSU_IDC_COMMAND_LINE);
    RECT line, name, button;
    GetWindowRect(box, &line);
    GetWindowRect(GetDlgItem(dialog, LSU_IDC_DESCRIPTION), &name);
    GetWindowRect(GetDlgItem(dialog, LSU_IDC_FIND), &button);
    const win32::RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(box, region.get()), ERROR);
    EXPECT_FALSE(PtInRegion(region.get(), (button.left + button.right) / 2 - line.left,
                            (button.top + button.bottom) / 2 - line.top));
    EXPECT_EQ(line.right - line.left, name.right - name.left);
    EXPECT_LE(std::abs(button.right - line.right), 2);
    EXPECT_GE(button.top, line.top);
    EXPECT_LE(button.bottom, line.bottom);
}

// Memory runs out when the browse button looks for the command line's folder.
class ExhaustedSystem : public MemoryPlatform {
public:
    std::string expandEnvironment(const std::string&) override { throw std::bad_alloc(); }
};

}  // namespace

TEST_F(EntryDialogTest, AddWritesTheRunValueOnOkAndSelectsItsNewRowAndCancelWritesNothing) {
    open();
    selectSection(SectionId::UserRun);
    Shown shown;
    ModalWatch watch(IDOK, {[&](HWND dialog) {
                                shown = shownBy(dialog);
                                expectBrowseButtonOverTheLinesEnd(dialog);
                                fill(dialog, "Fresh", "C:\\nowhere\\fresh.exe /quiet", SectionId::UserRun);
                                press(dialog, IDOK);
                            },
                            [&](HWND dialog) {
                                fill(dialog, "Unwanted", "C:\\nowhere\\unwanted.exe", SectionId::UserRun);
                                press(dialog, IDCANCEL);
                            }});
    choose(editMenu(), "Add new program..");
    EXPECT_EQ(shown.caption, "Add new program");
    EXPECT_EQ(shown.sectionsOffered, 9);
    EXPECT_TRUE(watch.boxTitles().empty());
    EXPECT_EQ(userRun("Fresh"), "C:\\nowhere\\fresh.exe /quiet");
    EXPECT_EQ(cell(selectedRow(), Column::Name), "Fresh");
    choose(editMenu(), "Add new program..");
    EXPECT_EQ(watch.stepsPlayed(), 2u);
    EXPECT_FALSE(userRun("Unwanted"));
    EXPECT_EQ(rowNames(), std::vector<std::string>{"Fresh"});
}

TEST_F(EntryDialogTest, AnInvalidLinkNameKeepsTheDialogOpenBehindItsMessage) {
    open();
    bool focusOnName = false;
    std::string nameKept;
    ModalWatch watch(IDOK, {[&](HWND dialog) {
                                fill(dialog, "a|b", "C:\\nowhere\\tool.exe", SectionId::StartupCurrentUser);
                                SetFocus(GetDlgItem(dialog, LSU_IDC_SECTION));
                                press(dialog, IDOK);
                            },
                            [&](HWND dialog) {
                                focusOnName = GetFocus() == GetDlgItem(dialog, LSU_IDC_DESCRIPTION);
                                nameKept = field(dialog, LSU_IDC_DESCRIPTION);
                                press(dialog, IDCANCEL);
                            }});
    choose(editMenu(), "Add new program..");
    EXPECT_EQ(watch.stepsPlayed(), 2u);
    ASSERT_EQ(watch.boxTexts().size(), 1u);
    EXPECT_NE(watch.boxTexts()[0].find("may not contain"), std::string::npos) << watch.boxTexts()[0];
    EXPECT_TRUE(focusOnName);
    EXPECT_EQ(nameKept, "a|b");
    EXPECT_TRUE(platform().files.listFiles(startupFolder(platform(), SectionId::StartupCurrentUser)).empty());
}

// F4 and a double click on a row's name edit it; a double click on its
// check box is two clicks on the box.
TEST_F(EntryDialogTest, F4AndADoubleClickOnTheNameEditTheSelectedRow) {
    seedUserRun("Tool", "C:\\nowhere\\tool.exe");
    open();
    selectRow(rowNamed("Tool"));
    Shown shown, again;
    ModalWatch watch(IDOK, {[&](HWND dialog) {
                                shown = shownBy(dialog);
                                fill(dialog, "Renamed", "C:\\nowhere\\tool.exe /tray", SectionId::UserRun);
                                press(dialog, IDOK);
                            },
                            [&](HWND dialog) {
                                again = shownBy(dialog);
                                press(dialog, IDCANCEL);
                            }});
    PostMessageW(list(), WM_KEYDOWN, VK_F4, 0);
    pump();
    EXPECT_EQ(shown.caption, "Edit program");
    EXPECT_EQ(shown.name, "Tool");
    EXPECT_EQ(shown.commandLine, "C:\\nowhere\\tool.exe");
    EXPECT_EQ(shown.section, "Registry\\Current User\\Run");
    EXPECT_EQ(shown.sectionsOffered, 11);
    EXPECT_FALSE(userRun("Tool"));
    EXPECT_EQ(userRun("Renamed"), "C:\\nowhere\\tool.exe /tray");
    EXPECT_EQ(cell(selectedRow(), Column::Name), "Renamed");
    const int row = rowNamed("Renamed");
    doubleClick(checkBoxCentre(row));
    EXPECT_EQ(watch.stepsPlayed(), 1u);
    selectRow(row);
    doubleClick(labelCentre(row));
    EXPECT_EQ(watch.stepsPlayed(), 2u);
    EXPECT_EQ(again.name, "Renamed");
}

// Group policy sets its entries again at every logon, so none is changed
// here: neither the dialog nor the delete question opens for one, its box is
// put back, and the status bar says why at once. (F4 and Del find the Edit
// menu's items unavailable for such a row and do nothing.)
TEST_F(EntryDialogTest, APolicyRowIsNeverChangedAndTheStatusBarSaysWhy) {
    seedRegistry(platform(), SectionId::UserPolicyRun, stringValue("Mandated", "C:\\nowhere\\agent.exe"));
    open();
    const int row = rowNamed("Mandated");
    const std::pair<const char*, std::function<void()>> triggers[] = {
        {"double click", [&] { doubleClick(labelCentre(row)); }},
        {"Properties", [&] { clickToolbarButton(Command::Properties); }},
        {"Delete", [&] { clickToolbarButton(Command::Delete); }},
        {"check box", [&] { clickCheckBox(row); }},
    };
    HWND status = FindWindowExW(main(), nullptr, STATUSCLASSNAMEW, nullptr);
    ModalWatch watch(IDYES, {[&](HWND dialog) { press(dialog, IDCANCEL); }});
    for (const auto& [name, trigger] : triggers) {
        selectRow(row);
        SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
        trigger();
        EXPECT_EQ(statusText(), kSetByPolicyReason) << name;
        EXPECT_TRUE(rowChecked(row)) << name;
    }
    EXPECT_EQ(watch.stepsPlayed(), 0u);
    EXPECT_TRUE(watch.boxTitles().empty());
    EXPECT_TRUE(platform().registry.readValue(registryKeyOf(SectionId::UserPolicyRun), "Mandated"));
}

// No exception of the dialog reaches the system: it ends as if cancelled.
TEST_F(EntryDialogTest, ADialogThatFailsInsideTheProgramEndsAsCancelled) {
    open();
    ExhaustedSystem system;
    ModalWatch watch(IDOK, {[](HWND dialog) { press(dialog, LSU_IDC_FIND); }});
    EXPECT_FALSE(win32::showEntryDialog(main(), system, addDialogSetup()));
    EXPECT_EQ(watch.stepsPlayed(), 1u);
}

}  // namespace lsu::test
