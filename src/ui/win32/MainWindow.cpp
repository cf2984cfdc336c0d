#include "ui/win32/MainWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "ProductIdentity.h"
#include "catalog/DisabledStores.h"
#include "operations/Operations.h"
#include "operations/ServiceSwitch.h"
#include "platform/win32/WideText.h"
#include "scanners/SectionLoading.h"
#include "ui/logic/EditMenu.h"
#include "ui/logic/RunCommand.h"
#include "ui/logic/WindowLayout.h"
#include "ui/win32/Commands.h"
#include "ui/win32/EntryDialog.h"
#include "ui/win32/MessageBoxPrompts.h"
#include "ui/win32/Toolbar.h"
#include "ui/win32/WindowClass.h"

namespace lsu::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"LStartUp.MainWindow";
constexpr wchar_t kTitle[] = L"Tovane StartUp";
constexpr int kListId = 2;
constexpr int kStatusId = 4;
constexpr UINT kSectionLoadedMessage = WM_APP + 1;

void registerWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass = windowClassOf(instance, kWindowClass, procedure);
    // Shared icons belong to the system's cache and are never destroyed.
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, L"AAA", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                      GetSystemMetrics(SM_CYICON), LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, L"AAA", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    RegisterClassExW(&windowClass);
}

}  // namespace

MainWindow::MainWindow(const ScanPorts& ports, Launcher& launcher, ServiceStarter& services)
    : ports_(ports), launcher_(launcher), serviceStarter_(services) {}

bool MainWindow::create(HINSTANCE instance, int show) {
    instance_ = instance;
    registerWindowClass(instance, windowProc);
    HeaderStrip::registerClass(instance);
    FolderPane::registerClass(instance);

    dpi_ = dpiOf(nullptr);
    RECT outer = {0, 0, dpi_.toPixels(kDesignClientWidthTwips), dpi_.toPixels(kDesignClientHeightTwips)};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, TRUE, 0);
    if (!CreateWindowExW(0, kWindowClass, kTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                         outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance, this))
        return false;
    // Parking a file makes these folders when it needs them; made here as
    // well, they stand where a user looks for the parked items, and a
    // program folder that takes no new folders is met at the first park.
    (void)ensureDisabledItemsFolders(ports_.system, ports_.files);
    // Filling the tree selects its root, which loads the list.
    pane_.showSections(images_.tree.get());
    ShowWindow(window_, show);
    UpdateWindow(window_);
    return true;
}

void MainWindow::createParts() {
    menu_ = createMainMenu();
    SetMenu(window_, menu_.bar);
    accelerators_ = createAccelerators();
    images_ = buildWindowImages(instance_, dpi_.value);
    toolbar_ = createToolbar(window_, instance_, images_.toolbar.get());
    header_.create(window_, instance_);
    pane_.create(window_, instance_, *this);
    list_.create(window_, instance_, kListId);
    status_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                              window_, reinterpret_cast<HMENU>(kStatusId), instance_, nullptr);
    loader_ = std::make_unique<SectionLoader>(ports_, window_, kSectionLoadedMessage);
    applyDpi();
}

// Fonts, images and column widths for the window's DPI. The controls hold
// the image lists without owning them: each is handed the new lists before
// the old ones go.
void MainWindow::applyDpi() {
    WindowImages images = buildWindowImages(instance_, dpi_.value);
    setToolbarImages(toolbar_, images.toolbar.get());
    pane_.setImages(images.tree.get());
    header_.setDpi(dpi_, images.header.get(), images.headerWidth, images.headerHeight);
    images_ = std::move(images);
    FontHandle font = makeFont(L"Tahoma", 83, false, dpi_);
    list_.setFont(font.get());
    pane_.setFont(font.get());
    listFont_ = std::move(font);
    list_.setColumnWidths(dpi_);
    pane_.setDpi(dpi_);
}

void MainWindow::onDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = {dpi};
    applyDpi();
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::onSectionSelected(SectionId) { reloadList(); }

// The header names the section at once and the list empties; the rows
// follow when the section has been read.
void MainWindow::reloadList() {
    const auto shown = pane_.selectedSection();
    if (!shown) return;
    header_.setTexts(std::string(section(*shown).key), std::string(section(*shown).description));
    list_.show({});
    SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"Loading\u2026"));
    loader_->start(*shown);
}

// Rows are shown as each leaf is read; the selection wanted comes once all are in.
void MainWindow::showLoadedRows(WPARAM ticket) {
    auto delivery = loader_->take(ticket);
    if (!delivery) return;
    if (hideWindowsServices_) removeWindowsServices(delivery->rows);
    list_.append(std::move(delivery->rows));
    if (!delivery->finished) return;
    showStatus();
    for (const auto& [name, leaf] : std::exchange(wantedSelection_, {}))
        if (list_.selectEntry(name, leaf)) break;
}

// The status bar says why the entry (the selected one unless another is
// named) is not as its box alone would say; otherwise how many programs the
// list shows and how many of them do not start.
void MainWindow::showStatus(const StartupEntry* about) {
    if (!about) about = list_.selectedEntry();
    if (about)
        if (const char* reason = stateReason(*about)) {
            SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(widen(reason).c_str()));
            return;
        }
    const auto& rows = list_.rows();
    const auto disabled =
        std::count_if(rows.begin(), rows.end(), [](const StartupEntry& row) { return !startsWithWindows(row); });
    const std::wstring text = std::to_wstring(rows.size()) + (rows.size() == 1 ? L" program, " : L" programs, ") +
                              std::to_wstring(disabled) + L" disabled";
    SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void MainWindow::refresh() {
    if (!pane_.selectedSection()) pane_.selectRoot();
    reloadList();
}

void MainWindow::onCheckBoxChanged(int index) {
    ++userCheckEvents_;
    StartupEntry* entry = list_.entryAt(index);
    if (!entry) return;
    entry->checked = list_.isChecked(index);
    const StartupEntry asked = *entry;
    MessageBoxPrompts prompts(window_);
    const ChangeResult changed = applyCheckState(ports_, prompts, *entry);
    showMessage(window_, messageAfterCheckChange(asked, changed));
    // A failed move puts the box back to where the entry really is.
    list_.showEntryState(index);
    showStatus(entry);
    if (changed && entry->type == EntryType::Service && !entry->enabled &&
        !std::exchange(toldServiceKeepsRunning_, true))
        SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(widen(kServiceKeepsRunningNote).c_str()));
}

void MainWindow::setSelectedChecked(bool checked) {
    const int index = list_.selectedIndex();
    if (!list_.entryAt(index) || list_.isChecked(index) == checked) return;
    list_.setChecked(index, checked);
    onCheckBoxChanged(index);
}

// What group policy sets is never changed here: the window says why at
// once, as it does for the entry's box, instead of asking first.
bool MainWindow::refuseReadOnly(const StartupEntry& entry) {
    if (!isReadOnly(entry)) return false;
    showStatus(&entry);
    return true;
}

void MainWindow::deleteSelectedEntry() {
    const StartupEntry* entry = list_.selectedEntry();
    if (!entry || refuseReadOnly(*entry)) return;
    if (MessageBoxW(window_, L"Are you sure to delete the selected item?\r\n\r\nThis action can not be undone.",
                    L"Warning", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    showMessage(window_, messageAfterDelete(deleteEntry(ports_, *entry)));
    reloadList();
}

void MainWindow::addEntryFromDialog() {
    const StartupEntry* selected = list_.selectedEntry();
    std::vector<std::pair<std::string, SectionId>> kept;
    if (selected) kept.emplace_back(selected->name, selected->section);
    auto form = showEntryDialog(window_, ports_, addDialogSetup());
    if (!form) return;
    MessageBoxPrompts prompts(window_);
    const ChangeResult added = addEntry(ports_, prompts, *form);
    showMessage(window_, messageAfterAdd(*form, added));
    if (added) kept.insert(kept.begin(), {form->name, *form->section});
    wantedSelection_ = std::move(kept);
    reloadList();
}

void MainWindow::editSelectedEntry() {
    const StartupEntry* selected = list_.selectedEntry();
    if (!selected || refuseReadOnly(*selected)) return;
    const StartupEntry edited = *selected;
    auto form = showEntryDialog(window_, ports_, editDialogSetup(edited));
    if (!form) return;
    MessageBoxPrompts prompts(window_);
    const ChangeResult changed = editEntry(ports_, prompts, edited, *form);
    showMessage(window_, messageAfterEdit(changed));
    if (changed) wantedSelection_ = {{form->name, *form->section}};
    else wantedSelection_ = {{edited.name, edited.section}};
    reloadList();
}

void MainWindow::runSelectedEntry() {
    const StartupEntry* entry = list_.selectedEntry();
    if (!entry) return;
    if (entry->type == EntryType::Service) {
        if (const Status started = serviceStarter_.startService(entry->name); !started) {
            const std::wstring text =
                L"Could not start the service \"" + widen(entry->name) + L"\":\r\n" + widen(started.error().message);
            MessageBoxW(window_, text.c_str(), kTitle, MB_OK | MB_ICONERROR);
        }
        return;
    }
    auto request = launchRequestFor(ports_.system, ports_.files, *entry);
    if (!request) return;
    const Status started = launcher_.launch(request->file, request->parameters, request->directory, request->show);
    if (!started) {
        const std::wstring text =
            L"Could not start \"" + widen(request->file) + L"\":\r\n" + widen(started.error().message);
        MessageBoxW(window_, text.c_str(), kTitle, MB_OK | MB_ICONERROR);
    }
}

void MainWindow::showFolderPane(bool visible) {
    paneVisible_ = visible;
    ShowWindow(pane_.handle(), visible ? SW_SHOW : SW_HIDE);
    setMenuCheck(menu_.view, kCommandFolders, visible);
    setFoldersButton(toolbar_, visible);
    layout();
}

void MainWindow::onFolderPaneClosed() { showFolderPane(false); }
void MainWindow::onFolderPaneResized() { layout(); }

void MainWindow::toggleGridLines() {
    gridLines_ = !gridLines_;
    list_.setGridLines(gridLines_);
    setMenuCheck(menu_.view, kCommandGrid, gridLines_);
}

void MainWindow::toggleWindowsServices() {
    hideWindowsServices_ = !hideWindowsServices_;
    setMenuCheck(menu_.view, kCommandHideWindowsServices, hideWindowsServices_);
    reloadList();
}

void MainWindow::showAbout() {
    MessageBoxW(window_,
                widen("Tovane StartUp " LSU_VERSION_TEXT "\r\n\r\nShows every program Windows starts by itself and "
                      "lets you disable, enable, add, edit, delete and run them.\r\n\r\n" LSU_COPYRIGHT)
                    .c_str(),
                L"About Larkwell StartUp", MB_OK | MB_ICONINFORMATION);
}

void MainWindow::showContextMenu(int index) {
    if (index < 0 || list_.selectedIndex() < 0) return;
    ListView_SetItemState(list_.handle(), index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    POINT at;
    GetCursorPos(&at);
    showEditMenuState(menu_.edit, editMenuState(list_.selectedEntry()));
    TrackPopupMenu(menu_.edit, TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
}

void MainWindow::layout() {
    if (IsIconic(window_)) return;
    RECT client;
    GetClientRect(window_, &client);
    // The toolbar keeps its designed height at every DPI.
    const int top = dpi_.toPixels(kToolbarHeightTwips);
    MoveWindow(toolbar_, 0, 0, client.right, top, TRUE);
    SendMessageW(status_, WM_SIZE, 0, 0);
    RECT status;
    GetWindowRect(status_, &status);
    const int headerHeight = dpi_.toPixels(kHeaderHeightTwips);
    MoveWindow(header_.handle(), 0, top, client.right, headerHeight, TRUE);
    const int paneTop = top + headerHeight;
    const int paneHeight = client.bottom - paneTop - (status.bottom - status.top);
    MoveWindow(pane_.handle(), 0, paneTop, dpi_.toPixels(pane_.widthTwips()), paneHeight, TRUE);
    RECT outer;
    GetWindowRect(window_, &outer);
    const Rect pane{0, dpi_.toTwips(paneTop), pane_.widthTwips(), dpi_.toTwips(paneHeight)};
    const Rect list = placeProgramList(pane, paneVisible_, dpi_.toTwips(outer.right - outer.left),
                                       dpi_.toTwips(client.right));
    MoveWindow(list_.handle(), dpi_.toPixels(list.left), dpi_.toPixels(list.top), dpi_.toPixels(list.width),
               dpi_.toPixels(list.height), TRUE);
    // The description ends 100 twips left of the list's right edge.
    header_.setDescriptionRight(dpi_.toPixels(list.left + list.width - 100));
}

void MainWindow::onCommand(int command) {
    switch (command) {
        case kCommandExit: DestroyWindow(window_); break;
        case kCommandEnable: setSelectedChecked(true); break;
        case kCommandDisable: setSelectedChecked(false); break;
        case kCommandAdd: addEntryFromDialog(); break;
        case kCommandDelete: deleteSelectedEntry(); break;
        case kCommandRun: runSelectedEntry(); break;
        case kCommandProperties: editSelectedEntry(); break;
        case kCommandFolders: showFolderPane(!paneVisible_); break;
        case kCommandGrid: toggleGridLines(); break;
        case kCommandRefresh: refresh(); break;
        case kCommandAbout: showAbout(); break;
        case kCommandHideWindowsServices: toggleWindowsServices(); break;
        default: break;
    }
}

void MainWindow::onListEvent(const ProgramList::Event& event) {
    switch (event.kind) {
        case ProgramList::Event::UserCheck: onCheckBoxChanged(event.index); break;
        case ProgramList::Event::SelectionChanged: showStatus(); break;
        case ProgramList::Event::DoubleClick: editSelectedEntry(); break;
        case ProgramList::Event::RightClick: showContextMenu(event.index); break;
        case ProgramList::Event::None: break;
    }
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: createParts(); return 0;
        case WM_SIZE: layout(); return 0;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize.x = limits->ptMinTrackSize.y = dpi_.toPixels(kMinimumWindowTwips);
            return 0;
        }
        case WM_DPICHANGED: onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
        case WM_INITMENUPOPUP:
            if (reinterpret_cast<HMENU>(wParam) == menu_.edit)
                showEditMenuState(menu_.edit, editMenuState(list_.selectedEntry()));
            return 0;
        case WM_COMMAND: onCommand(LOWORD(wParam)); return 0;
        case kSectionLoadedMessage: showLoadedRows(wParam); return 0;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.hwndFrom == list_.handle()) {
                onListEvent(list_.interpret(header));
            } else if (header.code == TTN_GETDISPINFOW) {
                auto& info = *reinterpret_cast<NMTTDISPINFOW*>(lParam);
                if (const wchar_t* tip = toolbarTooltip(info.hdr.idFrom)) info.lpszText = const_cast<wchar_t*>(tip);
            }
            return 0;
        }
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return routeToOwner(window, message, wParam, lParam, &MainWindow::window_, &MainWindow::handle);
}

}  // namespace lsu::win32
