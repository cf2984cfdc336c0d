#pragma once
// The window's drawn images: the toolbar's and the section tree's image
// lists and the header strip's picture, built for one DPI from the icon
// resources and owned here, so that they live exactly as long as the window
// that shows them and are replaced whole when its DPI changes.

#include <windows.h>
#include <commctrl.h>

#include "ui/win32/GdiObjects.h"

namespace lsu::win32 {

// The toolbar's list in the order of ToolbarImage, the tree's in the order
// of TreeImage.
struct WindowImages {
    ImageListHandle toolbar;
    ImageListHandle tree;
    IconHandle header;  // the header strip's picture
    SIZE headerSize = {};
};

// Image sizes at a DPI: the 32-pixel toolbar images, the 18 by 15 tree
// images and the 17 by 16 header picture of 96 DPI, scaled.
int toolbarImageSize(UINT dpi);
SIZE treeImageSize(UINT dpi);

// The colour the tree's images are drawn on, which they show as transparent.
inline constexpr COLORREF kTreeMaskColour = RGB(192, 192, 192);

WindowImages buildWindowImages(HINSTANCE instance, UINT dpi);

}  // namespace lsu::win32
