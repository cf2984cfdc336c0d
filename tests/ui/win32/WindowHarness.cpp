#include "WindowHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/RegistryStrings.h"
#include "platform/win32/WideText.h"
#include "support/Seed.h"

namespace lsu::test {

namespace {

thread_local ModalWatch* activeWatch = nullptr;

// Enough rounds for input to travel through the server and back. A round is a
// wait for the next message, not a pause: it ends as soon as one arrives.
constexpr int kPumpRounds = 50;
constexpr DWORD kRoundLimitMs = 100;
constexpr int kMessageBoxText = 0xFFFF;  // the static control of a message box
constexpr int kEntryDialogDescription = 1001;

bool isDialog(HWND window) {
    wchar_t className[32] = {};
    GetClassNameW(window, className, static_cast<int>(std::size(className)));
    return std::wstring(className) == L"#32770";
}

HWND childOfClass(HWND parent, const wchar_t* className) { return FindWindowExW(parent, nullptr, className, nullptr); }

}  // namespace

std::string windowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return win32::narrow(text);
}

ModalWatch::ModalWatch(int answer, std::vector<Step> dialogSteps) : answer_(answer), steps_(std::move(dialogSteps)) {
    activeWatch = this;
    cbt_ = SetWindowsHookExW(WH_CBT, onCbt, nullptr, GetCurrentThreadId());
    callWindow_ = SetWindowsHookExW(WH_CALLWNDPROC, onCallWindow, nullptr, GetCurrentThreadId());
}

ModalWatch::~ModalWatch() {
    UnhookWindowsHookEx(cbt_);
    UnhookWindowsHookEx(callWindow_);
    activeWatch = nullptr;
}

LRESULT CALLBACK ModalWatch::onCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && activeWatch) activeWatch->onActivate(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ModalWatch::onActivate(HWND window) {
    if (!isDialog(window)) return;
    if (GetDlgItem(window, kEntryDialogDescription)) {
        // The next step runs once the dialog has handled what was queued before.
        dialog_ = window;
        SetTimer(nullptr, 0, USER_TIMER_MINIMUM, onTimer);
        return;
    }
    titles_.push_back(windowText(window));
    texts_.push_back(windowText(GetDlgItem(window, kMessageBoxText)));
    PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(answer_), 0);
}

void CALLBACK ModalWatch::onTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    ModalWatch* watch = activeWatch;
    if (!watch || !IsWindow(watch->dialog_)) return;
    if (watch->played_ == watch->steps_.size()) {
        PostMessageW(watch->dialog_, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    watch->steps_[watch->played_++](watch->dialog_);
}

LRESULT CALLBACK ModalWatch::onCallWindow(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    // Only a menu of the menu loop's own ends through its owner's WM_CANCELMODE.
    if (code == HC_ACTION && activeWatch && call->message == WM_INITMENUPOPUP && !HIWORD(call->lParam) &&
        GetMenu(call->hwnd) != nullptr) {
        activeWatch->popups_.push_back(reinterpret_cast<HMENU>(call->wParam));
        PostMessageW(call->hwnd, WM_CANCELMODE, 0, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

WindowHarness::WindowHarness() : backend_(std::make_unique<Win32Backend>()) {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES;
    InitCommonControlsEx(&controls);
}

WindowHarness::~WindowHarness() {
    if (window_ && IsWindow(main())) DestroyWindow(main());
    // The window's WM_DESTROY asks the thread to quit; that request ends here.
    pump();
    window_.reset();
}

void WindowHarness::seedUserRun(const std::string& name, const std::string& command, bool disabled) {
    seedRegistry(platform(), SectionId::UserRun, stringValue(name, command), disabled);
}

std::optional<std::string> WindowHarness::userRun(const std::string& name, bool disabled) {
    auto value = platform().registry.readValue(registryKeyOf(SectionId::UserRun, disabled), name);
    if (!value) return std::nullopt;
    return textOfStoredString(value->data);
}

win32::MainWindow& WindowHarness::open() {
    window_ = std::make_unique<win32::MainWindow>(backend_->ports(), backend_->platform(), backend_->platform());
    if (!window_->create(GetModuleHandleW(nullptr), SW_SHOWNORMAL)) ADD_FAILURE() << "the main window was not created";
    SetForegroundWindow(main());
    pump();
    return *window_;
}

HWND WindowHarness::list() const { return childOfClass(main(), WC_LISTVIEWW); }
HWND WindowHarness::toolbar() const { return childOfClass(main(), TOOLBARCLASSNAMEW); }
HWND WindowHarness::pane() const { return childOfClass(main(), L"LStartUp.MenuTree"); }
HWND WindowHarness::tree() const { return childOfClass(pane(), WC_TREEVIEWW); }
HWND WindowHarness::closeButton() const { return childOfClass(pane(), L"BUTTON"); }

std::string WindowHarness::statusText() const {
    wchar_t text[256] = {};
    SendMessageW(childOfClass(main(), STATUSCLASSNAMEW), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    return win32::narrow(text);
}

void WindowHarness::pump() {
    // A section being read is not idle: its rows are still to come.
    for (int round = 0;; ++round) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            if (window_ && IsWindow(main()) && TranslateAcceleratorW(main(), window_->accelerators(), &message))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (!window_ || !IsWindow(main()) || !window_->loading() || round == kPumpRounds * 10) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kRoundLimitMs, QS_ALLINPUT);
    }
}

bool WindowHarness::pumpUntil(const std::function<bool()>& done) {
    for (int round = 0; round < kPumpRounds; ++round) {
        pump();
        if (done()) return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kRoundLimitMs, QS_ALLINPUT);
    }
    pump();
    return done();
}

std::vector<std::string> WindowHarness::rowNames() const {
    std::vector<std::string> names;
    const int count = ListView_GetItemCount(list());
    for (int row = 0; row < count; ++row) names.push_back(cell(row, 0));
    return names;
}

int WindowHarness::rowNamed(const std::string& name) const {
    const std::vector<std::string> names = rowNames();
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

std::string WindowHarness::cell(int row, int column) const {
    wchar_t text[1024] = {};
    ListView_GetItemText(list(), row, column, text, static_cast<int>(std::size(text)));
    return win32::narrow(text);
}

bool WindowHarness::rowChecked(int row) const { return ListView_GetCheckState(list(), row) != FALSE; }

void WindowHarness::selectRow(int row) {
    ListView_SetItemState(list(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    pump();
}

void WindowHarness::clearSelection() {
    ListView_SetItemState(list(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    pump();
}

void WindowHarness::selectSection(SectionId id) {
    std::function<HTREEITEM(HTREEITEM)> find = [&](HTREEITEM node) -> HTREEITEM {
        for (; node; node = TreeView_GetNextSibling(tree(), node)) {
            TVITEMW item = {};
            item.mask = TVIF_PARAM;
            item.hItem = node;
            TreeView_GetItem(tree(), &item);
            if (static_cast<SectionId>(item.lParam) == id) return node;
            if (HTREEITEM below = find(TreeView_GetChild(tree(), node))) return below;
        }
        return nullptr;
    };
    HTREEITEM node = find(TreeView_GetRoot(tree()));
    if (!node) ADD_FAILURE() << "no tree node for " << section(id).key;
    SendMessageW(tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
    pump();
}

void WindowHarness::sendMouse(HWND target, POINT at, DWORD down, DWORD up) {
    SetForegroundWindow(main());
    pump();
    ClientToScreen(target, &at);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    INPUT inputs[3] = {};
    // Each click of a test is a click of its own, however soon it follows the
    // last one: its time stamp lies beyond the double-click time.
    static DWORD lastClick = 0;
    const DWORD time = std::max<DWORD>(GetTickCount(), lastClick + GetDoubleClickTime() + 1);
    lastClick = time;
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(at.x - left, 65535, width - 1);
        input.mi.dy = MulDiv(at.y - top, 65535, height - 1);
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | MOUSEEVENTF_MOVE;
        input.mi.time = time;
    }
    inputs[1].mi.dwFlags |= down;
    inputs[2].mi.dwFlags |= up;
    if (SendInput(3, inputs, sizeof(INPUT)) != 3) ADD_FAILURE() << "the input queue refused the click";
}

void WindowHarness::click(HWND target, POINT at) { sendMouse(target, at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }
void WindowHarness::rightClick(HWND target, POINT at) {
    sendMouse(target, at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
}

POINT WindowHarness::checkBoxCentre(int row) const {
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    SendMessageW(list(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
    // The box is where the list itself says its state image is.
    const LONG middle = (bounds.top + bounds.bottom) / 2;
    LONG first = -1, last = -1;
    for (LONG x = bounds.left; x < bounds.left + 64; ++x) {
        LVHITTESTINFO hit = {};
        hit.pt = {x, middle};
        SendMessageW(list(), LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.iItem == row && (hit.flags & LVHT_ONITEMSTATEICON)) {
            if (first < 0) first = x;
            last = x;
        }
    }
    if (first < 0) ADD_FAILURE() << "row " << row << " shows no check box";
    return {(first + last) / 2, middle};
}

POINT WindowHarness::labelCentre(int row) const {
    RECT label = {};
    label.left = LVIR_LABEL;
    SendMessageW(list(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
    return {(label.left + label.right) / 2, (label.top + label.bottom) / 2};
}

POINT WindowHarness::toolbarButtonCentre(int index) const {
    RECT area = {};
    SendMessageW(toolbar(), TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&area));
    return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

bool WindowHarness::clickCheckBox(int row) {
    const int before = window().userCheckEvents();
    click(list(), checkBoxCentre(row));
    return pumpUntil([&] { return window().userCheckEvents() != before; });
}

UINT WindowHarness::menuItemState(HMENU menu, const std::string& caption) {
    SendMessageW(main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    return GetMenuState(menu, commandOf(menu, caption), MF_BYCOMMAND);
}

void WindowHarness::choose(HMENU menu, const std::string& caption) {
    menuItemState(menu, caption);
    SendMessageW(main(), WM_COMMAND, commandOf(menu, caption), 0);
    pump();
}

UINT WindowHarness::commandOf(HMENU menu, const std::string& caption) const {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, static_cast<int>(std::size(text)), MF_BYPOSITION);
        const std::string item = win32::narrow(text);
        if (item.substr(0, item.find('\t')) == caption) return GetMenuItemID(menu, i);
    }
    ADD_FAILURE() << "no menu item " << caption;
    return 0;
}

}  // namespace lsu::test
