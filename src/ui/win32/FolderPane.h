#pragma once
// The folder pane on the left: a "Folders" caption with a close button over
// the section tree, and a splitter along its right edge that the user drags
// to make the pane wider or narrower.

#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "catalog/Sections.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/WindowObject.h"

namespace lsu::win32 {

class FolderPaneOwner {
public:
    virtual void onSectionSelected(SectionId id) = 0;
    virtual void onFolderPaneClosed() = 0;
    virtual void onFolderPaneResized() = 0;

protected:
    ~FolderPaneOwner() = default;
};

class FolderPane : public WindowObject {
public:
    // Registers the pane's window class once per process.
    static void registerClass(HINSTANCE instance);

    void create(HWND parent, HINSTANCE instance, FolderPaneOwner& owner);

    // Fills the tree with every section, parents before children, and
    // selects the one given; the owner hears of that selection.
    void showSections(HIMAGELIST images, SectionId selected);
    void setImages(HIMAGELIST images);
    void setFont(HFONT font);
    void setDpi(Dpi dpi) { dpi_ = dpi; }

    std::optional<SectionId> selectedSection() const;
    void selectRoot();

    int widthTwips() const { return widthTwips_; }

private:
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void layout(int width, int height);
    bool onSplitter(int x) const;
    void startDrag(int x);
    void dragTo(int x);
    void endDrag();
    void onTreeClick();

    HWND caption_ = nullptr, closeButton_ = nullptr, tree_ = nullptr;
    HWND bar_ = nullptr;  // follows the mouse during a drag, in the host window
    FolderPaneOwner* owner_ = nullptr;
    Dpi dpi_;
    int widthTwips_ = 0;
    bool dragging_ = false;
    int grabX_ = 0;          // where in the pane the drag began
    int newWidthTwips_ = 0;  // where the pane's edge goes when the mouse is released
};

}  // namespace lsu::win32
