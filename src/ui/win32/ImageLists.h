#pragma once
// The window's drawn images: the toolbar's and the section tree's image
// lists and the header strip's picture, built for one DPI from the icon
// resources and owned here, so that they live exactly as long as the window
// that shows them and are replaced whole when its DPI changes.

#include <windows.h>
#include <commctrl.h>

#include <string_view>

namespace lsu::win32 {

class ImageList {
public:
    ImageList() = default;
    explicit ImageList(HIMAGELIST list) : list_(list) {}
    ~ImageList();
    ImageList(ImageList&& other) noexcept;
    ImageList& operator=(ImageList&& other) noexcept;
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    HIMAGELIST get() const { return list_; }
    int count() const;

private:
    HIMAGELIST list_ = nullptr;
};

class Icon {
public:
    Icon() = default;
    explicit Icon(HICON icon) : icon_(icon) {}
    ~Icon();
    Icon(Icon&& other) noexcept;
    Icon& operator=(Icon&& other) noexcept;
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;

    HICON get() const { return icon_; }

private:
    HICON icon_ = nullptr;
};

struct WindowImages {
    ImageList toolbar;  // ImglstMenu
    ImageList tree;     // ImglstFolders
    Icon header;        // Image1
    int headerWidth = 0, headerHeight = 0;
};

// Image sizes at a DPI: the 32-pixel toolbar images, the 16-pixel tree
// images and the 17 by 16 header picture of 96 DPI, scaled.
int toolbarImageSize(UINT dpi);
int treeImageSize(UINT dpi);

WindowImages buildWindowImages(HINSTANCE instance, UINT dpi);

// The position of a tree image key ("of", "reg", "st", "user", "cf",
// "users") in the tree's list, or -1 for a key without an image.
int treeImageIndex(std::string_view key);
// The position of a toolbar button's image, by the button's key, or -1.
int toolbarImageIndex(std::string_view buttonKey);

}  // namespace lsu::win32
