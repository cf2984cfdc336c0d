#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "WindowHarness.h"
#include "platform/win32/WideText.h"
#include "support/Seed.h"
#include "ui/win32/EntryDialogIds.h"
#include "ui/win32/GdiObjects.h"

namespace lsu::test {

namespace {

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

std::string selectedName(WindowHarness& harness) {
    const int row = harness.window().selectedRow();
    return row < 0 ? std::string() : harness.cell(row, 0);
}

// The browse button lies over the right end of the command line, which
// keeps the other fields' width and leaves the button's corner out.
bool browseButtonSitsOverTheCommandLine(HWND dialog) {
    HWND box = GetDlgItem(dialog, LSU_IDC_COMMAND_LINE);
    RECT line, name, button;
    GetWindowRect(box, &line);
    GetWindowRect(GetDlgItem(dialog, LSU_IDC_DESCRIPTION), &name);
    GetWindowRect(GetDlgItem(dialog, LSU_IDC_FIND), &button);
    const win32::RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    const bool uncovered = GetWindowRgn(box, region.get()) != ERROR &&
                           !PtInRegion(region.get(), (button.left + button.right) / 2 - line.left,
                                       (button.top + button.bottom) / 2 - line.top);
    return uncovered && line.right - line.left == name.right - name.left && std::abs(button.right - line.right) <= 2 &&
           button.top >= line.top && button.bottom <= line.bottom;
}

}  // namespace

TEST(EntryDialog, AddWritesTheRunValueOnOkAndSelectsItsNewRowAndCancelWritesNothing) {
    WindowHarness harness;
    harness.open();
    harness.selectSection(SectionId::UserRun);
    Shown shown;
    bool laidOut = false;
    ModalWatch watch(IDOK, {[&](HWND dialog) {
        shown = shownBy(dialog);
        laidOut = browseButtonSitsOverTheCommandLine(dialog);
        fill(dialog, "Fresh", "C:\\nowhere\\fresh.exe /quiet", SectionId::UserRun);
        press(dialog, IDOK);
    }, [&](HWND dialog) {
        fill(dialog, "Unwanted", "C:\\nowhere\\unwanted.exe", SectionId::UserRun);
        press(dialog, IDCANCEL);
    }});
    harness.choose(harness.editMenu(), "Add new program..");
    EXPECT_EQ(shown.caption, "Add new program");
    EXPECT_EQ(shown.sectionsOffered, 9);
    EXPECT_TRUE(laidOut);
    EXPECT_TRUE(watch.boxTitles().empty());
    EXPECT_EQ(harness.userRun("Fresh"), "C:\\nowhere\\fresh.exe /quiet");
    EXPECT_EQ(selectedName(harness), "Fresh");
    harness.choose(harness.editMenu(), "Add new program..");
    EXPECT_EQ(watch.stepsPlayed(), 2u);
    EXPECT_FALSE(harness.userRun("Unwanted"));
    EXPECT_EQ(harness.rowNames(), std::vector<std::string>{"Fresh"});
}

TEST(EntryDialog, AnInvalidLinkNameKeepsTheDialogOpenBehindItsMessage) {
    WindowHarness harness;
    harness.open();
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
    harness.choose(harness.editMenu(), "Add new program..");
    EXPECT_EQ(watch.stepsPlayed(), 2u);
    ASSERT_EQ(watch.boxTexts().size(), 1u);
    EXPECT_NE(watch.boxTexts()[0].find("may not contain"), std::string::npos) << watch.boxTexts()[0];
    EXPECT_TRUE(focusOnName);
    EXPECT_EQ(nameKept, "a|b");
    EXPECT_TRUE(
        harness.platform().files.listFiles(startupFolder(harness.platform(), SectionId::StartupCurrentUser)).empty());
}

// F4 and a double click on a row's name edit it; a double click on its
// check box is two clicks on the box.
TEST(EntryDialog, F4AndADoubleClickOnTheNameEditTheSelectedRow) {
    WindowHarness harness;
    harness.seedUserRun("Tool", "C:\\nowhere\\tool.exe");
    harness.open();
    harness.selectRow(harness.rowNamed("Tool"));
    Shown shown, again;
    ModalWatch watch(IDOK, {[&](HWND dialog) {
        shown = shownBy(dialog);
        fill(dialog, "Renamed", "C:\\nowhere\\tool.exe /tray", SectionId::UserRun);
        press(dialog, IDOK);
    }, [&](HWND dialog) {
        again = shownBy(dialog);
        press(dialog, IDCANCEL);
    }});
    PostMessageW(harness.list(), WM_KEYDOWN, VK_F4, 0);
    harness.pump();
    EXPECT_EQ(std::tie(shown.caption, shown.name, shown.commandLine, shown.section),
              std::tie("Edit program", "Tool", "C:\\nowhere\\tool.exe", "Registry\\Current User\\Run"));
    EXPECT_EQ(shown.sectionsOffered, 11);
    EXPECT_FALSE(harness.userRun("Tool"));
    EXPECT_EQ(harness.userRun("Renamed"), "C:\\nowhere\\tool.exe /tray");
    EXPECT_EQ(selectedName(harness), "Renamed");
    auto doubleClick = [&](POINT at) {
        SendMessageW(harness.list(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        SendMessageW(harness.list(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        harness.pump();
    };
    const int row = harness.rowNamed("Renamed");
    doubleClick(harness.checkBoxCentre(row));
    EXPECT_EQ(watch.stepsPlayed(), 1u);
    harness.selectRow(row);
    doubleClick(harness.labelCentre(row));
    EXPECT_EQ(watch.stepsPlayed(), 2u);
    EXPECT_EQ(again.name, "Renamed");
}

// Group policy sets its entries again at every logon, so none is changed
// here: neither the dialog nor the delete question opens for one, and the
// status bar says why at once. (F4 and Del find the Edit menu's items
// unavailable for such a row and do nothing.)
TEST(EntryDialog, APolicyRowOpensNothingAndTheStatusBarSaysWhy) {
    WindowHarness harness;
    seedRegistry(harness.platform(), SectionId::UserPolicyRun, stringValue("Mandated", "C:\\nowhere\\agent.exe"));
    harness.open();
    const int row = harness.rowNamed("Mandated");
    constexpr int kDeleteButton = 2, kPropertiesButton = 4;
    const std::pair<const char*, std::function<void()>> triggers[] = {
        {"double click",
         [&] {
             const POINT at = harness.labelCentre(row);
             SendMessageW(harness.list(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
             SendMessageW(harness.list(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
         }},
        {"Properties", [&] { harness.click(harness.toolbar(), harness.toolbarButtonCentre(kPropertiesButton)); }},
        {"Delete", [&] { harness.click(harness.toolbar(), harness.toolbarButtonCentre(kDeleteButton)); }},
    };
    HWND status = FindWindowExW(harness.main(), nullptr, STATUSCLASSNAMEW, nullptr);
    ModalWatch watch(IDYES, {[&](HWND dialog) { press(dialog, IDCANCEL); }});
    for (const auto& [name, trigger] : triggers) {
        harness.selectRow(row);
        SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
        trigger();
        EXPECT_TRUE(harness.pumpUntil([&] { return !harness.statusText().empty(); })) << name;
        EXPECT_NE(harness.statusText().find("Group policy"), std::string::npos) << name;
    }
    EXPECT_EQ(watch.stepsPlayed(), 0u);
    EXPECT_TRUE(watch.boxTitles().empty());
    EXPECT_TRUE(harness.platform().registry.readValue(registryKeyOf(SectionId::UserPolicyRun), "Mandated"));
}

}  // namespace lsu::test
