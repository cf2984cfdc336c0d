#include "ui/win32/FolderPane.h"

#include <commctrl.h>

#include <map>

#include "platform/win32/WideText.h"
#include "ui/logic/TreeImages.h"
#include "ui/logic/WindowLayout.h"

namespace lsu::win32 {

namespace {

constexpr wchar_t kClassName[] = L"LStartUp.MenuTree";
constexpr int kTreeId = 1;
constexpr int kCloseId = 2;

}  // namespace

void FolderPane::registerClass(HINSTANCE instance) {
    const WNDCLASSEXW pane = windowClass(instance, kClassName);
    RegisterClassExW(&pane);
}

void FolderPane::create(HWND parent, HINSTANCE instance, FolderPaneOwner& owner) {
    owner_ = &owner;
    widthTwips_ = kDesignPaneWidthTwips;
    createWindow(0, kClassName, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, parent, instance);
    caption_ = CreateWindowExW(0, L"STATIC", L"Folders", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, 0, 0, 0, 0,
                               handle(), nullptr, instance, nullptr);
    closeButton_ = CreateWindowExW(0, L"BUTTON", L"\u00D7", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT, 0, 0, 0, 0,
                                   handle(), reinterpret_cast<HMENU>(kCloseId), instance, nullptr);
    bar_ =
        CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | SS_GRAYRECT, 0, 0, 0, 0, parent, nullptr, instance, nullptr);
    tree_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, nullptr,
                            WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                            0, 0, 0, 0, handle(), reinterpret_cast<HMENU>(kTreeId), instance, nullptr);
}

void FolderPane::showSections(HIMAGELIST images, SectionId selected) {
    TreeView_DeleteAllItems(tree_);
    setImages(images);
    std::map<SectionId, HTREEITEM> nodes;
    for (SectionId id : sectionTree()) {
        const Section& shown = section(id);
        std::wstring caption = widen(shown.caption);
        TVINSERTSTRUCTW insert = {};
        insert.hParent = shown.parent ? nodes.at(*shown.parent) : TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.pszText = caption.data();
        const NodeImages images = nodeImagesOf(id);
        insert.item.iImage = static_cast<int>(images.shown);
        insert.item.iSelectedImage = static_cast<int>(images.selected);
        insert.item.lParam = static_cast<LPARAM>(id);
        nodes[id] =
            reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    const HTREEITEM root = nodes.at(SectionId::AllPrograms);
    TreeView_Expand(tree_, root, TVE_EXPAND);
    TreeView_SelectItem(tree_, nodes.at(selected));
}

void FolderPane::setImages(HIMAGELIST images) { TreeView_SetImageList(tree_, images, TVSIL_NORMAL); }

void FolderPane::setFont(HFONT font) {
    for (HWND control : {tree_, caption_}) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

std::optional<SectionId> FolderPane::selectedSection() const {
    TVITEMW item = {};
    item.mask = TVIF_PARAM;
    item.hItem = TreeView_GetSelection(tree_);
    if (!item.hItem || !TreeView_GetItem(tree_, &item)) return std::nullopt;
    return static_cast<SectionId>(item.lParam);
}

void FolderPane::selectRoot() { TreeView_SelectItem(tree_, TreeView_GetRoot(tree_)); }

void FolderPane::layout(int width, int height) {
    const PaneChildren children = layoutFolderPane(dpi_.toTwips(width), dpi_.toTwips(height));
    auto place = [&](HWND control, const Rect& r) {
        MoveWindow(control, dpi_.toPixels(r.left), dpi_.toPixels(r.top), dpi_.toPixels(r.width),
                   dpi_.toPixels(r.height), TRUE);
    };
    place(closeButton_, children.closeButton);
    place(tree_, children.tree);
    place(caption_, children.caption);
}

bool FolderPane::onSplitter(int x) const {
    RECT area;
    GetClientRect(handle(), &area);
    return x >= area.right - dpi_.toPixels(kSplitterTwips);
}

void FolderPane::startDrag(int x) {
    dragging_ = true;
    grabX_ = x;
    newWidthTwips_ = widthTwips_;
    SetCapture(handle());
    dragTo(x);
    ShowWindow(bar_, SW_SHOWNA);
}

// The bar stands where the splitter will be once the pane's right edge has
// moved as far as the mouse: the pane keeps its least width, and the edge
// stays 240 twips or more from the window's right edge.
void FolderPane::dragTo(int x) {
    RECT pane, outer;
    GetWindowRect(handle(), &pane);
    MapWindowPoints(nullptr, GetParent(handle()), reinterpret_cast<POINT*>(&pane), 2);
    GetWindowRect(GetParent(handle()), &outer);
    const int edge = dpi_.toTwips(pane.right + x - grabX_);
    const int paneLeft = dpi_.toTwips(pane.left);
    newWidthTwips_ = clampSplitter(edge, paneLeft, dpi_.toTwips(outer.right - outer.left)) - paneLeft;
    const int barLeft = pane.left + dpi_.toPixels(newWidthTwips_ - kSplitterTwips);
    SetWindowPos(bar_, HWND_TOP, barLeft, pane.top, dpi_.toPixels(kSplitterTwips), pane.bottom - pane.top,
                 SWP_NOACTIVATE);
}

void FolderPane::endDrag() {
    dragging_ = false;
    ShowWindow(bar_, SW_HIDE);
    ReleaseCapture();
    widthTwips_ = newWidthTwips_;
    owner_->onFolderPaneResized();
}

// A click on the node that is already selected reloads its section too. The
// tree reports the click before it selects what was clicked, so a click on
// another node is left to the selection change.
void FolderPane::onTreeClick() {
    TVHITTESTINFO hit = {};
    GetCursorPos(&hit.pt);
    ScreenToClient(tree_, &hit.pt);
    TreeView_HitTest(tree_, &hit);
    if (!hit.hItem || !(hit.flags & TVHT_ONITEM) || hit.hItem != TreeView_GetSelection(tree_)) return;
    if (auto id = selectedSection()) owner_->onSectionSelected(*id);
}

std::optional<LRESULT> FolderPane::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: layout(LOWORD(lParam), HIWORD(lParam)); return 0;
        case WM_SETCURSOR: {
            POINT at;
            GetCursorPos(&at);
            ScreenToClient(handle(), &at);
            if (!onSplitter(at.x)) return std::nullopt;
            SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
            return TRUE;
        }
        case WM_LBUTTONDOWN:
            if (onSplitter(static_cast<short>(LOWORD(lParam)))) startDrag(static_cast<short>(LOWORD(lParam)));
            return 0;
        case WM_MOUSEMOVE:
            if (dragging_) dragTo(static_cast<short>(LOWORD(lParam)));
            return 0;
        case WM_LBUTTONUP:
            if (!dragging_) return 0;
            dragTo(static_cast<short>(LOWORD(lParam)));
            endDrag();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kCloseId) owner_->onFolderPaneClosed();
            return 0;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.hwndFrom != tree_) return 0;
            if (header.code == TVN_SELCHANGEDW) {
                if (auto id = selectedSection()) owner_->onSectionSelected(*id);
            } else if (header.code == NM_CLICK) {
                onTreeClick();
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC:
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        default: return std::nullopt;
    }
}

}  // namespace lsu::win32
