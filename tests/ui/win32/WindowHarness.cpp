#include "WindowHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "catalog/DisabledStores.h"
#include "catalog/Sections.h"
#include "platform/win32/WideText.h"
#include "support/Seed.h"

namespace lsu::test {

namespace {

thread_local ModalWatch* activeWatch = nullptr;

// Enough rounds for input to travel through the server and back. A round is a
// wait for the next message, not a pause: it ends as soon as one arrives.
constexpr int kPumpRounds = 50;
constexpr DWORD kRoundLimitMs = 100;

RegistryLocation currentUserRunKey(bool disabled) {
    const std::string subkey = GetSubKey(kCurrentUserRun);
    return {Hive::CurrentUser, RegistryView::Shared, disabled ? disabledSubkey(subkey) : subkey};
}

std::string windowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return win32::narrow(text);
}

std::vector<HTREEITEM> allNodes(HWND tree) {
    std::vector<HTREEITEM> nodes;
    std::function<void(HTREEITEM)> walk = [&](HTREEITEM node) {
        for (; node; node = TreeView_GetNextSibling(tree, node)) {
            nodes.push_back(node);
            walk(TreeView_GetChild(tree, node));
        }
    };
    walk(TreeView_GetRoot(tree));
    return nodes;
}

}  // namespace

ModalWatch::ModalWatch(int answer) : answer_(answer) {
    activeWatch = this;
    cbt_ = SetWindowsHookExW(WH_CBT, onCbt, nullptr, GetCurrentThreadId());
    callWindow_ = SetWindowsHookExW(WH_CALLWNDPROC, onCallWindow, nullptr, GetCurrentThreadId());
}

ModalWatch::~ModalWatch() {
    if (cbt_) UnhookWindowsHookEx(cbt_);
    if (callWindow_) UnhookWindowsHookEx(callWindow_);
    activeWatch = nullptr;
}

LRESULT CALLBACK ModalWatch::onCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && activeWatch) {
        HWND activated = reinterpret_cast<HWND>(wParam);
        wchar_t className[32] = {};
        GetClassNameW(activated, className, static_cast<int>(std::size(className)));
        if (std::wstring(className) == L"#32770") {
            activeWatch->titles_.push_back(windowText(activated));
            PostMessageW(activated, WM_COMMAND, static_cast<WPARAM>(activeWatch->answer_), 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK ModalWatch::onCallWindow(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && activeWatch && call->message == WM_INITMENUPOPUP && !HIWORD(call->lParam)) {
        // Only a menu of the menu loop's own ends through its owner's WM_CANCELMODE.
        if (GetMenu(call->hwnd) != nullptr) {
            activeWatch->popups_.push_back(reinterpret_cast<HMENU>(call->wParam));
            PostMessageW(call->hwnd, WM_CANCELMODE, 0, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

WindowHarness::WindowHarness() : backend_(makeCleanBackend()) {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES;
    InitCommonControlsEx(&controls);
}

WindowHarness::~WindowHarness() {
    if (window_ && IsWindow(window_->handle())) DestroyWindow(window_->handle());
    // The window's WM_DESTROY asks the thread to quit; that request ends here.
    pump();
    window_.reset();
    backend_ = makeCleanBackend();
}

void WindowHarness::seedCurrentUserRun(const std::string& name, const std::string& command, bool disabled) {
    seedRegistry(platform(), kCurrentUserRun, stringValue(name, command), disabled);
}

void WindowHarness::removeCurrentUserRun(const std::string& name, bool disabled) {
    platform().deleteValue(currentUserRunKey(disabled), name);
}

std::optional<std::string> WindowHarness::currentUserRun(const std::string& name, bool disabled) {
    auto value = platform().readValue(currentUserRunKey(disabled), name);
    if (!value) return std::nullopt;
    std::string text(value->data.begin(), value->data.end());
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

win32::MainWindow& WindowHarness::open() {
    window_ = std::make_unique<win32::MainWindow>(platform());
    if (!window_->create(GetModuleHandleW(nullptr), SW_SHOWNORMAL)) ADD_FAILURE() << "the main window was not created";
    SetForegroundWindow(main());
    pump();
    return *window_;
}

HWND WindowHarness::childOfClass(HWND parent, const wchar_t* className) const {
    return FindWindowExW(parent, nullptr, className, nullptr);
}

HWND WindowHarness::list() const { return childOfClass(main(), WC_LISTVIEWW); }
HWND WindowHarness::toolbar() const { return childOfClass(main(), TOOLBARCLASSNAMEW); }
HWND WindowHarness::pane() const { return childOfClass(main(), L"LStartUp.MenuTree"); }
HWND WindowHarness::tree() const { return childOfClass(pane(), WC_TREEVIEWW); }
HWND WindowHarness::closeButton() const { return childOfClass(pane(), L"BUTTON"); }

void WindowHarness::pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        if (window_ && IsWindow(main()) && TranslateAcceleratorW(main(), window_->accelerators(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
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

int WindowHarness::rowNamed(const std::string& name) const {
    const std::vector<std::string> names = rowNames();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<int>(i);
    return -1;
}

std::vector<std::string> WindowHarness::rowNames() const {
    std::vector<std::string> names;
    const int count = ListView_GetItemCount(list());
    for (int row = 0; row < count; ++row) {
        wchar_t text[512] = {};
        ListView_GetItemText(list(), row, 0, text, static_cast<int>(std::size(text)));
        names.push_back(win32::narrow(text));
    }
    return names;
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

void WindowHarness::selectSection(const std::string& key) {
    const auto& catalog = sectionCatalog();
    for (HTREEITEM node : allNodes(tree())) {
        TVITEMW item = {};
        item.mask = TVIF_PARAM;
        item.hItem = node;
        TreeView_GetItem(tree(), &item);
        if (catalog[static_cast<std::size_t>(item.lParam)].key == key) {
            SendMessageW(tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
            pump();
            return;
        }
    }
    ADD_FAILURE() << "no tree node for " << key;
}

std::string WindowHarness::selectedSectionKey() const {
    TVITEMW item = {};
    item.mask = TVIF_PARAM;
    item.hItem = TreeView_GetSelection(tree());
    if (!item.hItem || !TreeView_GetItem(tree(), &item)) return {};
    return std::string(sectionCatalog()[static_cast<std::size_t>(item.lParam)].key);
}

bool WindowHarness::sectionExpanded(const std::string& key) const {
    const auto& catalog = sectionCatalog();
    for (HTREEITEM node : allNodes(tree())) {
        TVITEMW item = {};
        item.mask = TVIF_PARAM | TVIF_STATE;
        item.stateMask = TVIS_EXPANDED;
        item.hItem = node;
        TreeView_GetItem(tree(), &item);
        if (catalog[static_cast<std::size_t>(item.lParam)].key == key) return (item.state & TVIS_EXPANDED) != 0;
    }
    return false;
}

void WindowHarness::sendMouse(HWND target, POINT at, DWORD down, DWORD up) {
    SetForegroundWindow(main());
    pump();
    ClientToScreen(target, &at);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(at.x - left, 65535, width - 1);
        input.mi.dy = MulDiv(at.y - top, 65535, height - 1);
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | MOUSEEVENTF_MOVE;
    }
    inputs[1].mi.dwFlags |= down;
    inputs[2].mi.dwFlags |= up;
    // Each click of a test is a click of its own, however soon it follows the
    // last one: its time stamp lies beyond the double-click time.
    static DWORD lastClick = 0;
    const DWORD time = std::max<DWORD>(GetTickCount(), lastClick + GetDoubleClickTime() + 1);
    lastClick = time;
    for (INPUT& input : inputs) input.mi.time = time;
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

bool WindowHarness::clickCheckBox(int row) {
    const int before = window().userCheckEvents();
    click(list(), checkBoxCentre(row));
    return pumpUntil([&] { return window().userCheckEvents() != before; });
}

UINT WindowHarness::menuItemState(HMENU menu, UINT command) {
    SendMessageW(main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    return GetMenuState(menu, command, MF_BYCOMMAND);
}

UINT WindowHarness::commandOf(HMENU menu, const std::string& caption) const {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, static_cast<int>(std::size(text)), MF_BYPOSITION);
        std::string item = win32::narrow(text);
        item = item.substr(0, item.find('\t'));
        if (item == caption) return GetMenuItemID(menu, i);
    }
    ADD_FAILURE() << "no menu item " << caption;
    return 0;
}

}  // namespace lsu::test
