#include "WindowTest.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/RegistryStrings.h"
#include "platform/win32/WideText.h"
#include "support/Seed.h"
#include "ui/logic/WindowTexts.h"
#include "ui/win32/HistoryDialogIds.h"

namespace lsu::test {

namespace {

thread_local ModalWatch* activeWatch = nullptr;

// Enough rounds for input to travel through the server and back. A round is a
// wait for the next message, not a pause: it ends as soon as one arrives.
constexpr int kPumpRounds = 50;
constexpr DWORD kRoundLimitMs = 100;
constexpr int kEntryDialogDescription = 1001;

bool isDialog(HWND window) {
    wchar_t className[32] = {};
    GetClassNameW(window, className, static_cast<int>(std::size(className)));
    return std::wstring(className) == L"#32770";
}

HWND childOfClass(HWND parent, const wchar_t* className, HWND after = nullptr) {
    return FindWindowExW(parent, after, className, nullptr);
}

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
    if (GetDlgItem(window, kEntryDialogDescription) || GetDlgItem(window, LSU_IDC_HISTORY_LIST)) {
        // The next step runs once the dialog has handled what was queued before.
        dialog_ = window;
        SetTimer(nullptr, 0, USER_TIMER_MINIMUM, onTimer);
        return;
    }
    titles_.push_back(windowText(window));
    // A message box's text is its one label that holds text; its icon is a
    // label too.
    std::string text;
    for (HWND label = childOfClass(window, L"Static"); label && text.empty();
         label = childOfClass(window, L"Static", label))
        text = windowText(label);
    texts_.push_back(text);
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

WindowTest::WindowTest() : backend_(std::make_unique<Win32Backend>()) {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES;
    InitCommonControlsEx(&controls);
}

WindowTest::~WindowTest() { close(); }

void WindowTest::close() {
    if (window_ && IsWindow(main())) DestroyWindow(main());
    // The window's WM_DESTROY asks the thread to quit; that request ends here.
    pump();
    window_.reset();
}

void WindowTest::seedUserRun(const std::string& name, const std::string& command, bool disabled) {
    seedRegistry(platform(), SectionId::UserRun, stringValue(name, command), disabled);
}

std::optional<std::string> WindowTest::userRun(const std::string& name, bool disabled) {
    auto value = platform().registry.readValue(registryKeyOf(SectionId::UserRun, disabled), name);
    if (!value) return std::nullopt;
    return textOfStoredString(value->data);
}

void WindowTest::open(Launcher* launcher) {
    close();
    window_ = std::make_unique<win32::MainWindow>(backend_->ports(), launcher ? *launcher : backend_->platform());
    if (!window_->create(GetModuleHandleW(nullptr), SW_SHOWNORMAL)) ADD_FAILURE() << "the main window was not created";
    SetForegroundWindow(main());
    pump();
}

HWND WindowTest::list() const { return childOfClass(main(), WC_LISTVIEWW); }
HWND WindowTest::toolbar() const { return childOfClass(main(), TOOLBARCLASSNAMEW); }
HWND WindowTest::pane() const { return childOfClass(main(), L"LStartUp.MenuTree"); }
HWND WindowTest::tree() const { return childOfClass(pane(), WC_TREEVIEWW); }
HWND WindowTest::closeButton() const { return childOfClass(pane(), L"BUTTON"); }

std::string WindowTest::statusText() const {
    wchar_t text[256] = {};
    SendMessageW(childOfClass(main(), STATUSCLASSNAMEW), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    return win32::narrow(text);
}

std::vector<std::string> WindowTest::headerTexts() const {
    std::vector<std::string> texts;
    const HWND header = childOfClass(main(), L"LStartUp.Header");
    for (HWND label = childOfClass(header, L"Static"); label; label = childOfClass(header, L"Static", label))
        texts.push_back(windowText(label));
    return texts;
}

void WindowTest::pump() {
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
        const bool loading = window_ && IsWindow(main()) && statusText() == kLoadingStatus;
        if (!loading || round == kPumpRounds * 10) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kRoundLimitMs, QS_ALLINPUT);
    }
}

bool WindowTest::pumpUntil(const std::function<bool()>& done) {
    for (int round = 0; round < kPumpRounds; ++round) {
        pump();
        if (done()) return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kRoundLimitMs, QS_ALLINPUT);
    }
    pump();
    return done();
}

std::vector<std::string> WindowTest::rowNames() const {
    std::vector<std::string> names;
    const int count = ListView_GetItemCount(list());
    for (int row = 0; row < count; ++row) names.push_back(cell(row, Column::Name));
    return names;
}

int WindowTest::rowNamed(const std::string& name) const {
    const std::vector<std::string> names = rowNames();
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

std::string WindowTest::cell(int row, Column column) const {
    wchar_t text[1024] = {};
    ListView_GetItemText(list(), row, static_cast<int>(column), text, static_cast<int>(std::size(text)));
    return win32::narrow(text);
}

bool WindowTest::rowChecked(int row) const { return ListView_GetCheckState(list(), row) != FALSE; }

int WindowTest::selectedRow() const { return ListView_GetNextItem(list(), -1, LVNI_SELECTED); }

void WindowTest::selectRow(int row) {
    ListView_SetItemState(list(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    pump();
}

void WindowTest::clearSelection() {
    ListView_SetItemState(list(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    pump();
}

void WindowTest::selectSection(SectionId id) {
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

std::optional<SectionId> WindowTest::selectedSection() const {
    TVITEMW item = {};
    item.mask = TVIF_PARAM;
    item.hItem = TreeView_GetSelection(tree());
    if (!item.hItem || !TreeView_GetItem(tree(), &item)) return std::nullopt;
    return static_cast<SectionId>(item.lParam);
}

// Both messages of the click are in the thread's input queue once SendInput
// returns; the click is handled when the queue holds no button message.
void WindowTest::sendMouse(HWND target, POINT at, DWORD down, DWORD up) {
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
    if (!pumpUntil([] { return (HIWORD(GetQueueStatus(QS_MOUSEBUTTON)) & QS_MOUSEBUTTON) == 0; }))
        ADD_FAILURE() << "the click was never handled";
}

void WindowTest::click(HWND target, POINT at) { sendMouse(target, at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }
void WindowTest::rightClick(HWND target, POINT at) {
    sendMouse(target, at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
}

void WindowTest::doubleClick(POINT at) {
    SendMessageW(list(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageW(list(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    pump();
}

POINT WindowTest::checkBoxCentre(int row) const {
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

POINT WindowTest::labelCentre(int row) const {
    RECT label = {};
    label.left = LVIR_LABEL;
    SendMessageW(list(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
    return {(label.left + label.right) / 2, (label.top + label.bottom) / 2};
}

void WindowTest::clickToolbarButton(Command command) {
    RECT area = {};
    SendMessageW(toolbar(), TB_GETRECT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&area));
    click(toolbar(), {(area.left + area.right) / 2, (area.top + area.bottom) / 2});
}

UINT WindowTest::menuItemState(HMENU menu, const std::string& caption) {
    SendMessageW(main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    return GetMenuState(menu, commandOf(menu, caption), MF_BYCOMMAND);
}

void WindowTest::choose(HMENU menu, const std::string& caption) {
    menuItemState(menu, caption);
    SendMessageW(main(), WM_COMMAND, commandOf(menu, caption), 0);
    pump();
}

UINT WindowTest::commandOf(HMENU menu, const std::string& caption) const {
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
