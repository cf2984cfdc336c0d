#include "ui/win32/MainWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "catalog/DisabledStores.h"
#include "catalog/Sections.h"
#include "operations/Operations.h"
#include "platform/win32/WideText.h"
#include "ui/logic/EditMenu.h"
#include "ui/logic/RunCommand.h"
#include "ui/logic/WindowLayout.h"
#include "ui/win32/EntryDialog.h"
#include "ui/win32/ImageLists.h"
#include "ui/win32/MessageBoxPrompts.h"
#include "ui/win32/ProgramList.h"

namespace lsu::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"LStartUp.frmStartup";
constexpr wchar_t kHeaderClass[] = L"LStartUp.Header";
constexpr wchar_t kPaneClass[] = L"LStartUp.MenuTree";
constexpr wchar_t kTitle[] = L"Tovane StartUp";
constexpr COLORREF kHeaderColour = RGB(101, 152, 214);
constexpr int kSplitterTwips = 75;
constexpr int kCloseTwips = 195;

enum Command : int {
    kExit = 100, kEnable, kDisable, kAdd, kDelete, kRun, kProperties, kFolderBar, kGrid, kRefresh, kAbout,
    kToolRefresh = 200, kToolAdd, kToolDelete, kToolRun, kToolProperties, kToolFolders,
};
enum Child : int { kToolbarId = 1, kListId, kTreeId, kStatusId, kCloseId };

UINT windowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpi && window) return getDpi(window);
    HDC screen = GetDC(nullptr);
    UINT dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    return dpi ? dpi : 96;
}

HFONT makeFont(const wchar_t* face, int tenthsOfPoint, bool bold, UINT dpi) {
    return CreateFontW(-MulDiv(tenthsOfPoint, static_cast<int>(dpi), 720), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE,
                       FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH, face);
}

void setText(HWND list, int row, int column, const std::string& text) {
    std::wstring wide = widen(text);
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

MainWindow::MainWindow(Platform& platform) : platform_(platform) {}

MainWindow::~MainWindow() {
    for (HFONT font : {listFont_, headerBoldFont_, headerFont_})
        if (font) DeleteObject(font);
    if (headerBrush_) DeleteObject(headerBrush_);
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

int MainWindow::twipsToPixels(int twips) const { return MulDiv(twips, static_cast<int>(dpi_), 1440); }
int MainWindow::pixelsToTwips(int pixels) const { return MulDiv(pixels, 1440, static_cast<int>(dpi_)); }

bool MainWindow::create(HINSTANCE instance, int show) {
    instance_ = instance;
    HICON big = static_cast<HICON>(LoadImageW(instance, L"AAA", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                              GetSystemMetrics(SM_CYICON), LR_SHARED));
    HICON small = static_cast<HICON>(LoadImageW(instance, L"AAA", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    windowClass.hIcon = big;
    windowClass.hIconSm = small;
    RegisterClassExW(&windowClass);
    windowClass.lpfnWndProc = headerProc;
    windowClass.lpszClassName = kHeaderClass;
    windowClass.hIcon = windowClass.hIconSm = nullptr;
    RegisterClassExW(&windowClass);
    windowClass.lpfnWndProc = paneProc;
    windowClass.lpszClassName = kPaneClass;
    RegisterClassExW(&windowClass);

    dpi_ = windowDpi(nullptr);
    RECT outer = {0, 0, twipsToPixels(kDesignClientWidthTwips), twipsToPixels(kDesignClientHeightTwips)};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, TRUE, 0);
    window_ = CreateWindowExW(0, kWindowClass, kTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                              CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                              instance, this);
    if (!window_) return false;
    Form_Load();
    ShowWindow(window_, show);
    UpdateWindow(window_);
    return true;
}

void MainWindow::createMenus() {
    menuBar_ = CreateMenu();
    HMENU action = CreatePopupMenu();
    AppendMenuW(action, MF_STRING, kExit, L"E&xit");
    editMenu_ = CreatePopupMenu();
    AppendMenuW(editMenu_, MF_STRING, kEnable, L"Enable");
    AppendMenuW(editMenu_, MF_STRING, kDisable, L"Disable");
    AppendMenuW(editMenu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(editMenu_, MF_STRING, kAdd, L"Add new program..\tCtrl+N");
    AppendMenuW(editMenu_, MF_STRING, kDelete, L"Delete\tDel");
    AppendMenuW(editMenu_, MF_STRING, kRun, L"Run");
    AppendMenuW(editMenu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(editMenu_, MF_STRING, kProperties, L"Properties\tF4");
    viewMenu_ = CreatePopupMenu();
    AppendMenuW(viewMenu_, MF_STRING | MF_CHECKED, kFolderBar, L"Folders\tCtrl+F");
    AppendMenuW(viewMenu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(viewMenu_, MF_STRING, kGrid, L"Grid");
    AppendMenuW(viewMenu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(viewMenu_, MF_STRING, kRefresh, L"Refresh\tF5");
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, kAbout, L"About Larkwell StartUp");
    AppendMenuW(menuBar_, MF_POPUP, reinterpret_cast<UINT_PTR>(action), L"Action");
    AppendMenuW(menuBar_, MF_POPUP, reinterpret_cast<UINT_PTR>(editMenu_), L"Edit");
    AppendMenuW(menuBar_, MF_POPUP, reinterpret_cast<UINT_PTR>(viewMenu_), L"View");
    AppendMenuW(menuBar_, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"Help");
    SetMenu(window_, menuBar_);
    ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'N', kAdd},
                    {FVIRTKEY, VK_DELETE, kDelete},
                    {FVIRTKEY, VK_F4, kProperties},
                    {FCONTROL | FVIRTKEY, 'F', kFolderBar},
                    {FVIRTKEY, VK_F5, kRefresh}};
    accelerators_ = CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));
}

void MainWindow::recreateFonts() {
    for (HFONT* font : {&listFont_, &headerBoldFont_, &headerFont_})
        if (*font) DeleteObject(*font);
    listFont_ = makeFont(L"Tahoma", 83, false, dpi_);
    headerBoldFont_ = makeFont(L"Verdana", 98, true, dpi_);
    headerFont_ = makeFont(L"Verdana", 90, false, dpi_);
    for (HWND control : {list_, tree_}) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_), TRUE);
}

void MainWindow::createChildren() {
    createMenus();
    headerBrush_ = CreateSolidBrush(kHeaderColour);
    images_ = buildWindowImages(instance_, dpi_);
    // Each caption sits below its image; the bar's height follows from both.
    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0, 0, window_,
                               reinterpret_cast<HMENU>(kToolbarId), instance_, nullptr);
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.toolbar.get()));
    const wchar_t* captions[] = {L"Refresh", L"Add", L"Delete", L"Run", L"Properties", L"Folders"};
    TBBUTTON buttons[6] = {};
    for (int i = 0; i < 6; ++i) {
        buttons[i].iBitmap = toolbarImageIndex(narrow(captions[i]));
        buttons[i].idCommand = kToolRefresh + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_AUTOSIZE | (i == 5 ? BTNS_CHECK : BTNS_BUTTON);
        buttons[i].iString = reinterpret_cast<INT_PTR>(captions[i]);
    }
    buttons[5].fsState |= TBSTATE_CHECKED;
    SendMessageW(toolbar_, TB_ADDBUTTONSW, 6, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);

    header_ = CreateWindowExW(0, kHeaderClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_, nullptr,
                              instance_, this);
    pane_ = CreateWindowExW(0, kPaneClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, window_,
                            nullptr, instance_, this);
    paneCaption_ = CreateWindowExW(0, L"STATIC", L"Folders", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, 0, 0,
                                   0, 0, pane_, nullptr, instance_, nullptr);
    closeButton_ = CreateWindowExW(0, L"BUTTON", L"\u00D7", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT, 0, 0, 0,
                                   0, pane_, reinterpret_cast<HMENU>(kCloseId), instance_, nullptr);
    tree_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, nullptr,
                            WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                            0, 0, 0, 0, pane_, reinterpret_cast<HMENU>(kTreeId), instance_, nullptr);
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr,
                            WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL, 0, 0, 0, 0, window_,
                            reinterpret_cast<HMENU>(kListId), instance_, nullptr);
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    int index = 0;
    for (const auto& column : entryColumns()) {
        std::wstring text = widen(column.header);
        LVCOLUMNW definition = {};
        definition.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        definition.pszText = text.data();
        definition.cx = twipsToPixels(column.widthTwips);
        definition.iSubItem = index;
        SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&definition));
    }
    status_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                              window_, reinterpret_cast<HMENU>(kStatusId), instance_, nullptr);
    recreateFonts();
}

void MainWindow::replaceImages() {
    // The controls hold the lists without owning them: both are handed the
    // new lists before the old ones are destroyed.
    WindowImages images = buildWindowImages(instance_, dpi_);
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.toolbar.get()));
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    TreeView_SetImageList(tree_, images.tree.get(), TVSIL_NORMAL);
    images_ = std::move(images);
    InvalidateRect(header_, nullptr, TRUE);
}

void MainWindow::Form_Load() {
    ensureDisabledItemsFolders(platform_);
    // The headers show the columns; they are not buttons and sort nothing.
    HWND headerControl = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
    SetWindowLongPtrW(headerControl, GWL_STYLE, GetWindowLongPtrW(headerControl, GWL_STYLE) ^ HDS_BUTTONS);

    // The section tree, in catalog order, the root expanded and selected.
    TreeView_DeleteAllItems(tree_);
    TreeView_SetImageList(tree_, images_.tree.get(), TVSIL_NORMAL);
    std::vector<HTREEITEM> items;
    const auto& catalog = sectionCatalog();
    for (std::size_t i = 0; i < catalog.size(); ++i) {
        HTREEITEM parent = TVI_ROOT;
        for (std::size_t p = 0; p < i; ++p)
            if (catalog[p].key == catalog[i].parentKey) parent = items[p];
        std::wstring caption = widen(catalog[i].caption);
        TVINSERTSTRUCTW insert = {};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.pszText = caption.data();
        insert.item.iImage = treeImageIndex(catalog[i].image);
        insert.item.iSelectedImage =
            catalog[i].selectedImage.empty() ? insert.item.iImage : treeImageIndex(catalog[i].selectedImage);
        insert.item.lParam = static_cast<LPARAM>(i);
        items.push_back(reinterpret_cast<HTREEITEM>(
            SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert))));
    }
    TreeView_Expand(tree_, items.front(), TVE_EXPAND);
    TreeView_SelectItem(tree_, items.front());
    loadPrograms();
}

void MainWindow::mtFolders_NodeClick() { loadPrograms(); }

void MainWindow::mnuRefresh_Click() {
    if (!TreeView_GetSelection(tree_)) TreeView_SelectItem(tree_, TreeView_GetRoot(tree_));
    loadPrograms();
}

void MainWindow::loadPrograms() {
    HTREEITEM selected = TreeView_GetSelection(tree_);
    if (selected) {
        TVITEMW item = {};
        item.mask = TVIF_PARAM;
        item.hItem = selected;
        TreeView_GetItem(tree_, &item);
        const std::string key(sectionCatalog()[static_cast<std::size_t>(item.lParam)].key);
        SectionLoad load = lsu::loadPrograms(platform_, key);
        folderName_ = load.folderName;
        if (load.description) description_ = *load.description;
        rows_ = std::move(load.rows);
    }
    fillProgramList(list_, rows_, fillingList_);
    InvalidateRect(header_, nullptr, TRUE);
}

int MainWindow::selectedRow() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void MainWindow::lvPrograms_ItemCheck(int row) {
    ++userCheckEvents_;
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    StartupEntry& entry = rows_[static_cast<std::size_t>(row)];
    entry.Checked = ListView_GetCheckState(list_, row) != FALSE;
    MessageBoxPrompts prompts(window_);
    EnabledDisableProgram(platform_, prompts, entry);
    // A failed move puts the box back to where the entry really is.
    fillingList_ = true;
    ListView_SetCheckState(list_, row, entry.Checked);
    fillingList_ = false;
    setText(list_, row, 4, entry.Status);
}

void MainWindow::setRowChecked(int row, bool checked) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    if ((ListView_GetCheckState(list_, row) != FALSE) == checked) return;
    fillingList_ = true;
    ListView_SetCheckState(list_, row, checked);
    fillingList_ = false;
    lvPrograms_ItemCheck(row);
}

void MainWindow::mnuDelete_Click() {
    int row = selectedRow();
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    if (MessageBoxW(window_, L"Are you sure to delete the selected item?\r\n\r\nThis action can not be undone.",
                    L"Warning", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    MessageBoxPrompts prompts(window_);
    DeleteProgram(platform_, prompts, rows_[static_cast<std::size_t>(row)]);
    loadPrograms();
}

void MainWindow::mnuAdd_Click() {
    const std::optional<StartupEntry> kept = selectedEntry();
    auto form = showEntryDialog(window_, platform_, addDialogSetup());
    if (!form) return;
    MessageBoxPrompts prompts(window_);
    const bool added = AddNew(platform_, prompts, *form);
    loadPrograms();
    if (!(added && selectEntry(form->name, form->section)) && kept) selectEntry(kept->Name, kept->Section);
}

void MainWindow::mnuProperties_Click() {
    const std::optional<StartupEntry> edited = selectedEntry();
    if (!edited) return;
    auto form = showEntryDialog(window_, platform_, editDialogSetup(*edited));
    if (!form) return;
    MessageBoxPrompts prompts(window_);
    if (EditEntry(platform_, prompts, *edited, *form)) {
        loadPrograms();
        selectEntry(form->name, form->section);
    } else {
        loadPrograms();
        selectEntry(edited->Name, edited->Section);
    }
}

void MainWindow::lvPrograms_DblClick(POINT at) {
    // A double click on a check box is two clicks on the box, not a request
    // for the entry's properties.
    LVHITTESTINFO hit = {};
    hit.pt = at;
    SendMessageW(list_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.iItem >= 0 && (hit.flags & LVHT_ONITEMSTATEICON)) return;
    mnuProperties_Click();
}

std::optional<StartupEntry> MainWindow::selectedEntry() const {
    const int row = selectedRow();
    if (row < 0 || row >= static_cast<int>(rows_.size())) return std::nullopt;
    return rows_[static_cast<std::size_t>(row)];
}

bool MainWindow::selectEntry(const std::string& name, const std::string& section) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].Name != name || rows_[i].Section != section) continue;
        const int row = static_cast<int>(i);
        ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list_, row, FALSE);
        SetFocus(list_);
        return true;
    }
    return false;
}

void MainWindow::showFolderPane(bool visible) {
    paneVisible_ = visible;
    ShowWindow(pane_, visible ? SW_SHOW : SW_HIDE);
    CheckMenuItem(viewMenu_, kFolderBar, MF_BYCOMMAND | (visible ? MF_CHECKED : MF_UNCHECKED));
    SendMessageW(toolbar_, TB_CHECKBUTTON, kToolFolders, visible);
    Form_Resize();
}

void MainWindow::mnuFolderBar_Click() { showFolderPane(!paneVisible_); }
void MainWindow::mtFolders_CloseMe() { showFolderPane(false); }

void MainWindow::mnuGrid_Click() {
    gridLines_ = !gridLines_;
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, gridLines_ ? LVS_EX_GRIDLINES : 0);
    CheckMenuItem(viewMenu_, kGrid, MF_BYCOMMAND | (gridLines_ ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::mnuRun_Click() {
    int row = selectedRow();
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    auto request = launchRequestFor(platform_, rows_[static_cast<std::size_t>(row)]);
    if (!request) return;
    if (auto failure = platform_.shellOpen(request->file, request->parameters, request->directory)) {
        std::wstring text = L"Could not start \"" + widen(request->file) + L"\":\r\n" + widen(*failure);
        MessageBoxW(window_, text.c_str(), kTitle, MB_OK | MB_ICONERROR);
    }
}

void MainWindow::mnuAbout_Click() {
    MessageBoxW(window_,
                L"Tovane StartUp 1.0\r\n\r\nShows every program Windows starts by itself and lets you "
                L"disable, enable, add, edit, delete and run them.",
                L"About Larkwell StartUp", MB_OK | MB_ICONINFORMATION);
}

void MainWindow::mnuEdit_Click(HMENU menu) {
    int row = selectedRow();
    const StartupEntry* selected = row >= 0 && row < static_cast<int>(rows_.size()) ? &rows_[static_cast<std::size_t>(row)] : nullptr;
    EditMenuState state = lsu::mnuEdit_Click(selected);
    auto enable = [&](int id, bool on) { EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    enable(kEnable, state.enable);
    enable(kDisable, state.disable);
    enable(kDelete, state.del);
    enable(kProperties, state.properties);
    enable(kRun, state.run);
}

void MainWindow::Form_Resize() {
    if (IsIconic(window_)) return;
    RECT client;
    GetClientRect(window_, &client);
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    SendMessageW(status_, WM_SIZE, 0, 0);
    RECT bar, status;
    GetWindowRect(toolbar_, &bar);
    GetWindowRect(status_, &status);
    const int top = bar.bottom - bar.top;
    const int headerHeight = twipsToPixels(kHeaderHeightTwips);
    MoveWindow(header_, 0, top, client.right, headerHeight, TRUE);
    const int paneTop = top + headerHeight;
    const int paneHeight = client.bottom - paneTop - (status.bottom - status.top);
    Rect pane{0, pixelsToTwips(paneTop), paneWidthTwips_, pixelsToTwips(paneHeight)};
    MoveWindow(pane_, 0, paneTop, twipsToPixels(paneWidthTwips_), paneHeight, TRUE);
    RECT outer;
    GetWindowRect(window_, &outer);
    ListPlacement placement = mtFolders_Resize(pane, paneVisible_, pixelsToTwips(outer.right - outer.left),
                                               pixelsToTwips(client.right), 0);
    const Rect& list = placement.list;
    MoveWindow(list_, twipsToPixels(list.left), twipsToPixels(list.top), twipsToPixels(list.width),
               twipsToPixels(list.height), TRUE);
    InvalidateRect(header_, nullptr, TRUE);
}

void MainWindow::paintHeader(HWND header) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(header, &paint);
    RECT area;
    GetClientRect(header, &area);
    FillRect(dc, &area, headerBrush_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT text = area;
    text.left = twipsToPixels(405);
    std::wstring folder = widen(folderName_), description = widen(description_);
    HGDIOBJ old = SelectObject(dc, headerBoldFont_);
    DrawTextW(dc, folder.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    // The description ends 100 twips left of the list's right edge.
    RECT listRect;
    GetWindowRect(list_, &listRect);
    MapWindowPoints(nullptr, header, reinterpret_cast<POINT*>(&listRect), 2);
    text.right = listRect.right - twipsToPixels(100);
    SelectObject(dc, headerFont_);
    DrawTextW(dc, description.c_str(), -1, &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (images_.header.get())
        DrawIconEx(dc, twipsToPixels(105), twipsToPixels(90), images_.header.get(), images_.headerWidth,
                   images_.headerHeight, 0, nullptr, DI_NORMAL);
    SelectObject(dc, old);
    EndPaint(header, &paint);
}

void MainWindow::onCommand(int id) {
    switch (id) {
        case kExit: DestroyWindow(window_); break;
        case kRun:
        case kToolRun: mnuRun_Click(); break;
        case kFolderBar: mnuFolderBar_Click(); break;
        case kToolFolders:
            showFolderPane(SendMessageW(toolbar_, TB_ISBUTTONCHECKED, kToolFolders, 0) != 0);
            break;
        case kGrid: mnuGrid_Click(); break;
        case kEnable: setRowChecked(selectedRow(), true); break;
        case kDisable: setRowChecked(selectedRow(), false); break;
        case kDelete:
        case kToolDelete: mnuDelete_Click(); break;
        case kAdd:
        case kToolAdd: mnuAdd_Click(); break;
        case kProperties:
        case kToolProperties: mnuProperties_Click(); break;
        case kRefresh:
        case kToolRefresh: mnuRefresh_Click(); break;
        case kAbout: mnuAbout_Click(); break;
        default: break;
    }
}

LRESULT MainWindow::onNotify(const NMHDR& header) {
    if (header.hwndFrom == list_) {
        if (header.code == LVN_ITEMCHANGED) {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            const bool checkChange = (change.uChanged & LVIF_STATE) &&
                                     ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) &&
                                     (change.uOldState & LVIS_STATEIMAGEMASK) != 0;
            // Only the user's clicks move entries; the program's own ticks
            // (filling the list, putting a box back) run with this off.
            if (checkChange && !fillingList_) lvPrograms_ItemCheck(change.iItem);
        }
        if (header.code == NM_DBLCLK) {
            lvPrograms_DblClick(reinterpret_cast<const NMITEMACTIVATE&>(header).ptAction);
            return 0;
        }
        if (header.code == NM_RCLICK) {
            const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
            if (click.iItem >= 0 && selectedRow() >= 0) {
                ListView_SetItemState(list_, click.iItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
                POINT at;
                GetCursorPos(&at);
                mnuEdit_Click(editMenu_);
                TrackPopupMenu(editMenu_, TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
            }
        }
    } else if (header.hwndFrom == tree_ && header.code == TVN_SELCHANGEDW) {
        mtFolders_NodeClick();
    } else if (header.code == TTN_GETDISPINFOW) {
        auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
        if (info.hdr.idFrom == kToolRefresh) info.lpszText = const_cast<wchar_t*>(L"Reload all");
        if (info.hdr.idFrom == kToolRun) info.lpszText = const_cast<wchar_t*>(L"Run selected program");
    }
    return 0;
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: createChildren(); return 0;
        case WM_SIZE: Form_Resize(); return 0;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize.x = limits->ptMinTrackSize.y = twipsToPixels(kMinimumWindowTwips);
            return 0;
        }
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            recreateFonts();
            replaceImages();
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_INITMENUPOPUP:
            if (reinterpret_cast<HMENU>(wParam) == editMenu_) mnuEdit_Click(editMenu_);
            return 0;
        case WM_COMMAND: onCommand(LOWORD(wParam)); return 0;
        case WM_NOTIFY: return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}

LRESULT MainWindow::handlePane(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: {
            const int width = pixelsToTwips(LOWORD(lParam)), height = pixelsToTwips(HIWORD(lParam));
            PaneChildren children = layoutMenuTree(width, height, kSplitterTwips, kCloseTwips);
            auto place = [&](HWND control, const Rect& r) {
                MoveWindow(control, twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.width),
                           twipsToPixels(r.height), TRUE);
            };
            place(closeButton_, children.closeButton);
            place(tree_, children.tree);
            place(paneCaption_, {60, children.closeButton.top, children.closeButton.left - 90, kCloseTwips});
            SendMessageW(paneCaption_, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_), TRUE);
            return 0;
        }
        case WM_SETCURSOR: {
            POINT at;
            GetCursorPos(&at);
            ScreenToClient(pane, &at);
            RECT area;
            GetClientRect(pane, &area);
            if (at.x >= area.right - twipsToPixels(kSplitterTwips)) {
                SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
                return TRUE;
            }
            break;
        }
        case WM_LBUTTONDOWN: {
            RECT area;
            GetClientRect(pane, &area);
            const int x = static_cast<short>(LOWORD(lParam));
            if (x >= area.right - twipsToPixels(kSplitterTwips)) {
                dragging_ = true;
                dragOffset_ = x - area.right;
                SetCapture(pane);
            }
            return 0;
        }
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: {
            if (!dragging_) return 0;
            RECT host;
            GetClientRect(window_, &host);
            const int x = static_cast<short>(LOWORD(lParam)) - dragOffset_;
            const int clamped = clampSplitter(pixelsToTwips(x), 0, pixelsToTwips(host.right));
            paneWidthTwips_ = clamped;
            Form_Resize();
            if (message == WM_LBUTTONUP) {
                dragging_ = false;
                ReleaseCapture();
            }
            return 0;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == kCloseId) mtFolders_CloseMe();
            return 0;
        case WM_NOTIFY: return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_CTLCOLORSTATIC: SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT); return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        default: break;
    }
    return DefWindowProcW(pane, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::headerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_PAINT) {
        self->paintHeader(window);
        return 0;
    }
    if (message == WM_ERASEBKGND) return 1;
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::paneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handlePane(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace lsu::win32
