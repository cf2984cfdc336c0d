#include "ui/win32/MainWindow.h"

#include <commctrl.h>

#include "catalog/DisabledStores.h"
#include "operations/Operations.h"
#include "operations/Questions.h"
#include "operations/ServiceSwitch.h"
#include "operations/journal/InventorySnapshot.h"
#include "operations/journal/Undo.h"
#include "platform/win32/WideText.h"
#include "scanners/SectionLoading.h"
#include "ui/logic/EditMenu.h"
#include "ui/logic/RunCommand.h"
#include "ui/logic/WindowLayout.h"
#include "ui/logic/WindowTexts.h"
#include "ui/win32/AdministratorRights.h"
#include "ui/win32/EntryDialog.h"
#include "ui/win32/HistoryDialog.h"
#include "ui/win32/Menus.h"
#include "ui/win32/MessageBoxPrompts.h"
#include "ui/win32/Toolbar.h"

namespace lsu::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"LStartUp.MainWindow";
constexpr int kListId = 2;
constexpr int kStatusId = 4;
constexpr UINT kSectionLoadedMessage = WM_APP + 1;

}  // namespace

MainWindow::MainWindow(const ScanPorts& ports, Launcher& launcher)
    : ports_(ports),
      journal_(ports.files, ports.system, "window"),
      lastLook_(readLastLook(ports.files, ports.system)),
      launcher_(launcher) {}

bool MainWindow::create(HINSTANCE instance, int show, SectionId firstShown) {
    instance_ = instance;
    WNDCLASSEXW main = windowClass(instance, kWindowClass);
    // Shared icons belong to the system's cache and are never destroyed.
    main.hIcon = static_cast<HICON>(
        LoadImageW(instance, L"AAA", IMAGE_ICON, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
    main.hIconSm = static_cast<HICON>(LoadImageW(instance, L"AAA", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    RegisterClassExW(&main);
    HeaderStrip::registerClass(instance);
    FolderPane::registerClass(instance);

    dpi_ = dpiOf(nullptr);
    RECT outer = {0, 0, dpi_.toPixels(kDesignClientWidthTwips), dpi_.toPixels(kDesignClientHeightTwips)};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, TRUE, 0);
    if (!createWindow(0, kWindowClass, widen(kAppTitle).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, nullptr,
                      instance, {outer.right - outer.left, outer.bottom - outer.top}))
        return false;
    // Parking a file makes these folders when it needs them; made here as
    // well, they stand where a user looks for the parked items, and a
    // program folder that takes no new folders is met at the first park.
    (void)ensureDisabledItemsFolders(ports_.system, ports_.files);
    // Filling the tree selects the section, which loads the list.
    pane_.showSections(images_.tree.get(), firstShown);
    ShowWindow(handle(), show);
    UpdateWindow(handle());
    return true;
}

void MainWindow::createParts() {
    const bool elevated = runsElevated();
    menu_ = createMenuBar(elevated);
    if (!elevated) {
        shield_ = shieldMenuBitmap();
        setMenuBitmap(menu_, Command::RestartAsAdministrator, shield_.get());
    }
    setMenuCheck(menu_, Command::HideWindowsServices, hideWindowsServices_);
    SetMenu(handle(), menu_);
    accelerators_ = createAccelerators();
    images_ = buildWindowImages(instance_, dpi_.value);
    toolbar_ = createToolbar(handle(), instance_, images_.toolbar.get());
    header_.create(handle(), instance_);
    pane_.create(handle(), instance_, *this);
    list_.create(handle(), instance_, kListId);
    status_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                              handle(), reinterpret_cast<HMENU>(kStatusId), instance_, nullptr);
    loader_ = std::make_unique<SectionLoader>(ports_, handle(), kSectionLoadedMessage);
    applyDpi();
    showFolderPane(true);
}

// Fonts, images and column widths for the window's DPI. The controls hold
// the image lists without owning them: each is handed the new lists before
// the old ones go.
void MainWindow::applyDpi() {
    WindowImages images = buildWindowImages(instance_, dpi_.value);
    setToolbarImages(toolbar_, images.toolbar.get());
    pane_.setImages(images.tree.get());
    header_.setDpi(dpi_, images.header.get(), images.headerSize);
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
    SetWindowPos(handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
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
    setStatus(kLoadingStatus);
    loader_->start(*shown);
}

// Rows join the list as each leaf is read; the status bar counts them and
// the selection wanted comes once all are in.
void MainWindow::showLoadedRows(WPARAM ticket) {
    auto delivery = loader_->take(ticket);
    if (!delivery) return;
    if (hideWindowsServices_) removeWindowsServices(delivery->rows);
    if (lastLook_) markSinceSnapshot(delivery->rows, *lastLook_);
    list_.append(std::move(delivery->rows));
    if (!delivery->finished) return;
    showStatus();
    for (const auto& [name, leaf] : std::exchange(wantedSelection_, {}))
        if (list_.selectEntry(name, leaf)) break;
}

// About the entry named, or else the selected one.
void MainWindow::showStatus(const StartupEntry* about) {
    setStatus(statusText(list_.rows(), about ? about : list_.selectedEntry()));
}

void MainWindow::setStatus(const std::string& text) {
    SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
}

void MainWindow::refresh() {
    if (!pane_.selectedSection()) pane_.selectRoot();
    reloadList();
}

void MainWindow::onCheckBoxChanged(int index) {
    StartupEntry* entry = list_.entryAt(index);
    if (!entry) return;
    entry->checked = list_.isChecked(index);
    const StartupEntry asked = *entry;
    MessageBoxPrompts prompts(handle());
    const ChangeResult changed = recordChange(
        journal_, ports_,
        changeTitle(asked.checked ? ChangeAction::Enable : ChangeAction::Disable, asked.section, asked.name),
        [&](const SourcePorts& ports) { return applyCheckState(ports, prompts, *entry); });
    tell(messageAfterCheckChange(asked, changed));
    // A failed move puts the box back to where the entry really is.
    list_.showEntryState(index);
    showStatus(entry);
    if (changed && entry->type == EntryType::Service && !entry->enabled &&
        !std::exchange(toldServiceKeepsRunning_, true))
        setStatus(kServiceKeepsRunningNote);
}

void MainWindow::setSelectedChecked(bool checked) {
    const int index = list_.selectedIndex();
    if (!list_.entryAt(index) || list_.isChecked(index) == checked) return;
    list_.setChecked(index, checked);
    onCheckBoxChanged(index);
}

// What group policy sets, and what a package or the task scheduler keeps,
// is never deleted or edited here: the window says why at once, as it does
// for a read-only entry's box, instead of asking first.
bool MainWindow::refuseKept(const StartupEntry& entry) {
    const char* why = whyKept(entry);
    if (!why) return false;
    setStatus(why);
    return true;
}

void MainWindow::deleteSelectedEntry() {
    const StartupEntry* entry = list_.selectedEntry();
    if (!entry || refuseKept(*entry)) return;
    MessageBoxPrompts prompts(handle());
    const UserMessage question = deleteQuestion();
    if (!prompts.ask(question.text, question.title, question.kind)) return;
    tell(messageAfterDelete(recordChange(journal_, ports_,
                                         changeTitle(ChangeAction::Delete, entry->section, entry->name),
                                         [&](const SourcePorts& ports) { return deleteEntry(ports, *entry); })));
    reloadList();
}

void MainWindow::addEntryFromDialog() {
    const StartupEntry* selected = list_.selectedEntry();
    std::vector<std::pair<std::string, SectionId>> kept;
    if (selected) kept.emplace_back(selected->name, selected->section);
    auto form = showEntryDialog(handle(), ports_, addDialogSetup());
    if (!form) return;
    MessageBoxPrompts prompts(handle());
    const ChangeResult added =
        recordChange(journal_, ports_, changeTitle(ChangeAction::Add, *form->section, form->name),
                     [&](const SourcePorts& ports) { return addEntry(ports, prompts, *form); });
    tell(messageAfterAdd(*form, added));
    if (added) kept.insert(kept.begin(), {form->name, *form->section});
    wantedSelection_ = std::move(kept);
    reloadList();
}

void MainWindow::editSelectedEntry() {
    const StartupEntry* selected = list_.selectedEntry();
    if (!selected || refuseKept(*selected)) return;
    const StartupEntry edited = *selected;
    auto form = showEntryDialog(handle(), ports_, editDialogSetup(edited));
    if (!form) return;
    MessageBoxPrompts prompts(handle());
    const ChangeResult changed =
        recordChange(journal_, ports_, changeTitle(ChangeAction::Edit, edited.section, edited.name),
                     [&](const SourcePorts& ports) { return editEntry(ports, prompts, edited, *form); });
    tell(messageAfterEdit(changed));
    if (changed) wantedSelection_ = {{form->name, *form->section}};
    else wantedSelection_ = {{edited.name, edited.section}};
    reloadList();
}

// What the window showed counts as seen: the next start marks only what
// appears after it.
void MainWindow::keepWhatWasSeen() {
    (void)keepLastLook(ports_.files, ports_.system, snapshotOf(loadSection(ports_, SectionId::AllPrograms).rows));
}

void MainWindow::undoLastChange() {
    const ChangeResult undone = undoChange(journal_, ports_, std::nullopt);
    tell(messageAfterUndo(undone));
    if (undone) reloadList();
}

void MainWindow::showHistory() {
    if (showHistoryDialog(handle(), journal_, ports_)) reloadList();
}

void MainWindow::runSelectedEntry() {
    const StartupEntry* entry = list_.selectedEntry();
    if (!entry) return;
    const Status started = runEntry(launcher_, ports_.system, ports_.files, *entry);
    if (!started) showMessage(handle(), messageAfterFailedRun(entry->name, started.error()));
}

// The pane, the View menu's check and the toolbar's switch always agree.
void MainWindow::showFolderPane(bool visible) {
    paneVisible_ = visible;
    ShowWindow(pane_.handle(), visible ? SW_SHOW : SW_HIDE);
    setMenuCheck(menu_, Command::Folders, visible);
    setButtonChecked(toolbar_, Command::Folders, visible);
    layout();
}

void MainWindow::onFolderPaneClosed() { showFolderPane(false); }
void MainWindow::onFolderPaneResized() { layout(); }

void MainWindow::toggleGridLines() {
    gridLines_ = !gridLines_;
    list_.setGridLines(gridLines_);
    setMenuCheck(menu_, Command::Grid, gridLines_);
}

void MainWindow::toggleWindowsServices() {
    hideWindowsServices_ = !hideWindowsServices_;
    setMenuCheck(menu_, Command::HideWindowsServices, hideWindowsServices_);
    reloadList();
}

void MainWindow::showContextMenu(int index) {
    if (index < 0 || list_.selectedIndex() < 0) return;
    ListView_SetItemState(list_.handle(), index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    POINT at;
    GetCursorPos(&at);
    HMENU edit = GetSubMenu(menu_, kEditMenuIndex);
    showEditMenuState(edit, editMenuState(list_.selectedEntry()));
    TrackPopupMenu(edit, TPM_RIGHTBUTTON, at.x, at.y, 0, handle(), nullptr);
}

void MainWindow::restartElevated() {
    const SectionId shown = pane_.selectedSection().value_or(SectionId::AllPrograms);
    if (restartAsAdministrator(handle(), std::string(section(shown).key))) DestroyWindow(handle());
}

void MainWindow::tell(const std::optional<UserMessage>& message) {
    if (!message || !message->offersRestartAsAdministrator) {
        showMessage(handle(), message);
        return;
    }
    MessageBoxPrompts prompts(handle());
    if (prompts.ask(message->text, message->title, message->kind)) restartElevated();
}

void MainWindow::layout() {
    if (IsIconic(handle())) return;
    RECT client;
    GetClientRect(handle(), &client);
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
    GetWindowRect(handle(), &outer);
    const Rect pane{0, dpi_.toTwips(paneTop), pane_.widthTwips(), dpi_.toTwips(paneHeight)};
    const Rect list =
        placeProgramList(pane, paneVisible_, dpi_.toTwips(outer.right - outer.left), dpi_.toTwips(client.right));
    MoveWindow(list_.handle(), dpi_.toPixels(list.left), dpi_.toPixels(list.top), dpi_.toPixels(list.width),
               dpi_.toPixels(list.height), TRUE);
    // The description ends 100 twips left of the list's right edge.
    header_.setDescriptionRight(dpi_.toPixels(list.left + list.width - 100));
}

void MainWindow::onCommand(Command command) {
    switch (command) {
        case Command::Exit: DestroyWindow(handle()); break;
        case Command::RestartAsAdministrator: restartElevated(); break;
        case Command::Enable: setSelectedChecked(true); break;
        case Command::Disable: setSelectedChecked(false); break;
        case Command::Add: addEntryFromDialog(); break;
        case Command::Delete: deleteSelectedEntry(); break;
        case Command::Run: runSelectedEntry(); break;
        case Command::Properties: editSelectedEntry(); break;
        case Command::Folders: showFolderPane(!paneVisible_); break;
        case Command::Grid: toggleGridLines(); break;
        case Command::HideWindowsServices: toggleWindowsServices(); break;
        case Command::Refresh: refresh(); break;
        case Command::Undo: undoLastChange(); break;
        case Command::History: showHistory(); break;
        case Command::About:
            showMessage(handle(), UserMessage{aboutText(), kAboutTitle, MessageKind::Information});
            break;
    }
}

void MainWindow::onNotify(NMHDR& header) {
    if (header.hwndFrom == list_.handle()) onListEvent(list_.interpret(header));
    else if (header.code == TTN_GETDISPINFOW) answerTooltip(toolbar_, reinterpret_cast<NMTTDISPINFOW&>(header));
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

// The window goes on; the user hears why the command stopped, unless even
// that cannot be said.
void MainWindow::onHandlerFailed(const char* reason) noexcept {
    try {
        showMessage(handle(), messageAfterInterruptedCommand(reason));
    } catch (...) {
    }
}

std::optional<LRESULT> MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
            if (reinterpret_cast<HMENU>(wParam) == GetSubMenu(menu_, kEditMenuIndex))
                showEditMenuState(menu_, editMenuState(list_.selectedEntry()));
            return 0;
        case WM_COMMAND: onCommand(static_cast<Command>(LOWORD(wParam))); return 0;
        case kSectionLoadedMessage: showLoadedRows(wParam); return 0;
        case WM_NOTIFY: onNotify(*reinterpret_cast<NMHDR*>(lParam)); return 0;
        case WM_DESTROY:
            keepWhatWasSeen();
            PostQuitMessage(0);
            return 0;
        default: return std::nullopt;
    }
}

}  // namespace lsu::win32
