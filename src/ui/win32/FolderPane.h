#pragma once
// The folder pane on the left: a "Folders" caption with a close button over
// the section tree, and a splitter along its right edge that the user drags
// to make the pane wider or narrower.

#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "catalog/Sections.h"
#include "ui/win32/Dpi.h"

namespace lsu::win32 {

class FolderPaneOwner {
public:
    virtual void onSectionSelected(SectionId id) = 0;
    virtual void onFolderPaneClosed() = 0;
    virtual void onFolderPaneResized() = 0;

protected:
    ~FolderPaneOwner() = default;
};

class FolderPane {
public:
    // Registers the pane's window class once per process.
    static void registerClass(HINSTANCE instance);

    void create(HWND parent, HINSTANCE instance, FolderPaneOwner& owner);
    HWND handle() const { return pane_; }
    HWND tree() const { return tree_; }

    // Fills the tree with every section, parents before children, and
    // selects the root; the owner hears of that selection.
    void showSections(HIMAGELIST images);
    void setImages(HIMAGELIST images);
    void setFont(HFONT font);
    void setDpi(Dpi dpi) { dpi_ = dpi; }

    std::optional<SectionId> selectedSection() const;
    void selectRoot();

    int widthTwips() const { return widthTwips_; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void layout(int width, int height);
    bool onSplitter(int x) const;
    void dragTo(int x);

    HWND pane_ = nullptr, caption_ = nullptr, closeButton_ = nullptr, tree_ = nullptr;
    FolderPaneOwner* owner_ = nullptr;
    Dpi dpi_;
    int widthTwips_ = 0;
    bool dragging_ = false;
    int dragOffset_ = 0;
};

}  // namespace lsu::win32
