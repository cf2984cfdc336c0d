#include "WindowHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "catalog/Sections.h"
#include "platform/win32/WideText.h"
#include "support/Seed.h"
#include "ui/win32/EntryDialogIds.h"

namespace lsu::test {

namespace {

constexpr int kMessageBoxText = 0xFFFF;  // the static control of a message box

std::string textOf(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return win32::narrow(text);
}

std::string fieldText(HWND dialog, int id) { return textOf(GetDlgItem(dialog, id)); }

void setField(HWND dialog, int id, const std::string& text) {
    SetDlgItemTextW(dialog, id, win32::widen(text).c_str());
}

void chooseSection(HWND dialog, std::string_view section) {
    const std::wstring wide = win32::widen(section);
    const LRESULT index = SendDlgItemMessageW(dialog, LSU_IDC_SECTION, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(wide.c_str()));
    EXPECT_GE(index, 0) << section;
    SendDlgItemMessageW(dialog, LSU_IDC_SECTION, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void fill(HWND dialog, const std::string& name, const std::string& commandLine, std::string_view section) {
    setField(dialog, LSU_IDC_DESCRIPTION, name);
    setField(dialog, LSU_IDC_COMMAND_LINE, commandLine);
    chooseSection(dialog, section);
}

void press(HWND dialog, int button) { PostMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0); }

// Plays the entry dialog like a user: each time the dialog becomes active
// (when it opens, and again when a message box over it closes) the next step
// runs, once the dialog has handled what was queued before. Message boxes are
// read and closed with OK. A dialog that runs out of steps is cancelled, so
// that no test can hang in its modal loop.
class EntryDialogDriver {
public:
    using Step = std::function<void(HWND dialog)>;

    explicit EntryDialogDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
        active = this;
        hook_ = SetWindowsHookExW(WH_CBT, onCbt, nullptr, GetCurrentThreadId());
    }
    ~EntryDialogDriver() {
        UnhookWindowsHookEx(hook_);
        active = nullptr;
    }
    EntryDialogDriver(const EntryDialogDriver&) = delete;
    EntryDialogDriver& operator=(const EntryDialogDriver&) = delete;

    std::size_t stepsPlayed() const { return played_; }
    bool ranOutOfSteps() const { return ranOut_; }
    const std::vector<std::string>& boxTitles() const { return boxTitles_; }
    const std::vector<std::string>& boxTexts() const { return boxTexts_; }

private:
    static LRESULT CALLBACK onCbt(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && active) active->onActivate(reinterpret_cast<HWND>(wParam));
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static void CALLBACK onTimer(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        if (active && IsWindow(active->dialog_)) active->playNext();
    }

    void onActivate(HWND window) {
        wchar_t className[32] = {};
        GetClassNameW(window, className, static_cast<int>(std::size(className)));
        if (std::wstring(className) != L"#32770") return;
        if (GetDlgItem(window, LSU_IDC_DESCRIPTION)) {
            dialog_ = window;
            SetTimer(nullptr, 0, USER_TIMER_MINIMUM, onTimer);
            return;
        }
        boxTitles_.push_back(textOf(window));
        boxTexts_.push_back(fieldText(window, kMessageBoxText));
        PostMessageW(window, WM_COMMAND, IDOK, 0);
    }

    void playNext() {
        if (played_ == steps_.size()) {
            ranOut_ = true;
            PostMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        steps_[played_++](dialog_);
    }

    static inline EntryDialogDriver* active = nullptr;
    std::vector<Step> steps_;
    std::size_t played_ = 0;
    bool ranOut_ = false;
    HWND dialog_ = nullptr;
    HHOOK hook_ = nullptr;
    std::vector<std::string> boxTitles_, boxTexts_;
};

void command(WindowHarness& harness, const std::string& menuItem) {
    const UINT id = harness.commandOf(harness.editMenu(), menuItem);
    harness.menuItemState(harness.editMenu(), id);
    SendMessageW(harness.main(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    harness.pump();
}

std::string selectedRowName(WindowHarness& harness) {
    const int row = harness.window().selectedRow();
    return row < 0 ? std::string() : harness.rowNames()[static_cast<std::size_t>(row)];
}

bool grayed(WindowHarness& harness, const std::string& menuItem) {
    const HMENU edit = harness.editMenu();
    return (harness.menuItemState(edit, harness.commandOf(edit, menuItem)) & MF_GRAYED) != 0;
}

bool toolbarButtonEnabled(WindowHarness& harness, const char* caption) {
    const int count = static_cast<int>(SendMessageW(harness.toolbar(), TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        SendMessageW(harness.toolbar(), TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        wchar_t text[64] = {};
        SendMessageW(harness.toolbar(), TB_GETBUTTONTEXTW, static_cast<WPARAM>(button.idCommand),
                     reinterpret_cast<LPARAM>(text));
        if (win32::narrow(text) == caption) return (button.fsState & TBSTATE_ENABLED) != 0;
    }
    ADD_FAILURE() << "no toolbar button " << caption;
    return false;
}

}  // namespace

TEST(EntryDialogWiring, AddIsAlwaysOfferedAndPropertiesOnlyForASelectedRow) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", "C:\\nowhere\\tool.exe");
    harness.open();
    harness.clearSelection();
    EXPECT_FALSE(grayed(harness, "Add new program.."));
    EXPECT_TRUE(grayed(harness, "Properties"));
    harness.selectRow(harness.rowNamed("Tool"));
    EXPECT_FALSE(grayed(harness, "Add new program.."));
    EXPECT_FALSE(grayed(harness, "Properties"));
    EXPECT_TRUE(toolbarButtonEnabled(harness, "Add"));
    EXPECT_TRUE(toolbarButtonEnabled(harness, "Properties"));
}

TEST(EntryDialogAdd, OkWritesTheRunValueAndSelectsItsNewRow) {
    WindowHarness harness;
    harness.open();
    harness.selectSection(kCurrentUserRun);
    std::string caption;
    LRESULT offered = 0;
    EntryDialogDriver driver({[&](HWND dialog) {
        caption = textOf(dialog);
        offered = SendDlgItemMessageW(dialog, LSU_IDC_SECTION, CB_GETCOUNT, 0, 0);
        fill(dialog, "Fresh", "C:\\nowhere\\fresh.exe /quiet", kCurrentUserRun);
        press(dialog, IDOK);
    }});
    command(harness, "Add new program..");

    EXPECT_EQ(driver.stepsPlayed(), 1u);
    EXPECT_FALSE(driver.ranOutOfSteps());
    EXPECT_EQ(caption, "Add new program");
    EXPECT_EQ(offered, 9);
    EXPECT_TRUE(driver.boxTitles().empty());
    EXPECT_EQ(harness.currentUserRun("Fresh"), "C:\\nowhere\\fresh.exe /quiet");
    EXPECT_GE(harness.rowNamed("Fresh"), 0);
    EXPECT_EQ(selectedRowName(harness), "Fresh");
}

TEST(EntryDialogAdd, CancelWritesNothing) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", "C:\\nowhere\\tool.exe");
    harness.open();
    const auto before = harness.rowNames();
    EntryDialogDriver driver({[&](HWND dialog) {
        fill(dialog, "Unwanted", "C:\\nowhere\\unwanted.exe", kCurrentUserRun);
        press(dialog, IDCANCEL);
    }});
    command(harness, "Add new program..");

    EXPECT_EQ(driver.stepsPlayed(), 1u);
    EXPECT_FALSE(harness.currentUserRun("Unwanted"));
    EXPECT_EQ(harness.rowNames(), before);
}

TEST(EntryDialogAdd, AnInvalidLinkNameKeepsTheDialogOpenBehindItsMessage) {
    WindowHarness harness;
    harness.open();
    bool focusOnDescription = false;
    std::string nameKept;
    EntryDialogDriver driver({[&](HWND dialog) {
                                  fill(dialog, "a|b", "C:\\nowhere\\tool.exe", kStartupCurrentUser);
                                  SetFocus(GetDlgItem(dialog, LSU_IDC_SECTION));
                                  press(dialog, IDOK);
                              },
                              [&](HWND dialog) {
                                  focusOnDescription = GetFocus() == GetDlgItem(dialog, LSU_IDC_DESCRIPTION);
                                  nameKept = fieldText(dialog, LSU_IDC_DESCRIPTION);
                                  press(dialog, IDCANCEL);
                              }});
    command(harness, "Add new program..");

    EXPECT_EQ(driver.stepsPlayed(), 2u);
    EXPECT_FALSE(driver.ranOutOfSteps());
    ASSERT_EQ(driver.boxTexts().size(), 1u);
    EXPECT_NE(driver.boxTexts()[0].find("may not contain"), std::string::npos) << driver.boxTexts()[0];
    EXPECT_TRUE(focusOnDescription);
    EXPECT_EQ(nameKept, "a|b");
    EXPECT_TRUE(harness.platform().listFiles(startupFolder(harness.platform(), kStartupCurrentUser)).empty());
}

TEST(EntryDialogProperties, F4EditsTheSelectedRowUnderItsNewName) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", "C:\\nowhere\\tool.exe");
    harness.open();
    harness.selectRow(harness.rowNamed("Tool"));
    std::string caption, shownName, shownCommand, shownSection;
    LRESULT offered = 0;
    EntryDialogDriver driver({[&](HWND dialog) {
        caption = textOf(dialog);
        shownName = fieldText(dialog, LSU_IDC_DESCRIPTION);
        shownCommand = fieldText(dialog, LSU_IDC_COMMAND_LINE);
        shownSection = fieldText(dialog, LSU_IDC_SECTION);
        offered = SendDlgItemMessageW(dialog, LSU_IDC_SECTION, CB_GETCOUNT, 0, 0);
        setField(dialog, LSU_IDC_DESCRIPTION, "Renamed");
        setField(dialog, LSU_IDC_COMMAND_LINE, "C:\\nowhere\\tool.exe /tray");
        press(dialog, IDOK);
    }});
    PostMessageW(harness.list(), WM_KEYDOWN, VK_F4, 0);
    harness.pump();

    EXPECT_EQ(driver.stepsPlayed(), 1u);
    EXPECT_EQ(caption, "Edit program");
    EXPECT_EQ(shownName, "Tool");
    EXPECT_EQ(shownCommand, "C:\\nowhere\\tool.exe");
    EXPECT_EQ(shownSection, kCurrentUserRun);
    EXPECT_EQ(offered, 11);
    EXPECT_FALSE(harness.currentUserRun("Tool"));
    EXPECT_EQ(harness.currentUserRun("Renamed"), "C:\\nowhere\\tool.exe /tray");
    EXPECT_EQ(selectedRowName(harness), "Renamed");
}

TEST(EntryDialogProperties, ADoubleClickOnARowsNameOpensItButOneOnItsCheckBoxDoesNot) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", "C:\\nowhere\\tool.exe");
    harness.open();
    const int row = harness.rowNamed("Tool");
    harness.selectRow(row);
    std::string caption;
    EntryDialogDriver driver({[&](HWND dialog) {
        caption = textOf(dialog);
        press(dialog, IDCANCEL);
    }});
    auto doubleClick = [&](POINT at) {
        SendMessageW(harness.list(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        SendMessageW(harness.list(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        harness.pump();
    };
    doubleClick(harness.checkBoxCentre(row));
    EXPECT_EQ(driver.stepsPlayed(), 0u);

    harness.selectRow(harness.rowNamed("Tool"));
    RECT label = {};
    label.left = LVIR_LABEL;
    SendMessageW(harness.list(), LVM_GETITEMRECT, static_cast<WPARAM>(harness.rowNamed("Tool")),
                 reinterpret_cast<LPARAM>(&label));
    doubleClick({(label.left + label.right) / 2, (label.top + label.bottom) / 2});
    EXPECT_EQ(driver.stepsPlayed(), 1u);
    EXPECT_EQ(caption, "Edit program");
}

}  // namespace lsu::test
