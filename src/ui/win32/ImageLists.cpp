#include "ui/win32/ImageLists.h"

#include <array>

#include "ui/logic/CommandTable.h"
#include "ui/logic/TreeImages.h"
#include "ui/win32/res/ResourceIds.h"

namespace lsu::win32 {

namespace {

// The icons in the order of TreeImage and of ToolbarImage.
constexpr std::array<int, kTreeImageCount> kTreeIcons = {
    LSU_IDI_TREE_OPEN_FOLDER, LSU_IDI_TREE_REGISTRY,      LSU_IDI_TREE_STARTUP_FOLDER,
    LSU_IDI_TREE_USER,        LSU_IDI_TREE_CLOSED_FOLDER, LSU_IDI_TREE_USERS,
    LSU_IDI_TREE_APP,         LSU_IDI_TREE_TASK};
constexpr std::array<int, kToolbarImageCount> kToolbarIcons = {LSU_IDI_TOOL_ADD,     LSU_IDI_TOOL_DELETE,
                                                               LSU_IDI_TOOL_FOLDERS, LSU_IDI_TOOL_PROPERTIES,
                                                               LSU_IDI_TOOL_REFRESH, LSU_IDI_TOOL_RUN};

IconHandle loadIcon(HINSTANCE instance, int id, int width, int height) {
    return IconHandle(
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
}

// An image list of square images. A resource that does not load ends the
// list there, so a missing image shows as a short list rather than as
// images in the wrong places.
template <typename Ids>
ImageListHandle buildList(HINSTANCE instance, int size, const Ids& ids) {
    ImageListHandle list(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, static_cast<int>(ids.size()), 0));
    if (!list) return list;
    for (int id : ids) {
        IconHandle icon = loadIcon(instance, id, size, size);
        if (!icon || ImageList_ReplaceIcon(list.get(), -1, icon.get()) < 0) break;
    }
    return list;
}

// The tree's images are wider than high, on a silver ground that the list
// takes as transparent: each icon is drawn, as high as the image, in the
// middle of such a ground.
ImageListHandle buildMaskedList(HINSTANCE instance, SIZE size, const std::array<int, kTreeImageCount>& ids) {
    ImageListHandle list(ImageList_Create(size.cx, size.cy, ILC_COLOR32 | ILC_MASK, static_cast<int>(ids.size()), 0));
    if (!list) return list;
    WindowDc screen(nullptr);
    for (int id : ids) {
        IconHandle icon = loadIcon(instance, id, size.cy, size.cy);
        BitmapHandle image(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
        if (!icon || !image) break;
        {
            MemoryDc dc(screen.get());
            SelectedObject drawing(dc.get(), image.get());
            const RECT area = {0, 0, size.cx, size.cy};
            BrushHandle ground(CreateSolidBrush(kTreeMaskColour));
            FillRect(dc.get(), &area, ground.get());
            DrawIconEx(dc.get(), (size.cx - size.cy) / 2, 0, icon.get(), size.cy, size.cy, 0, nullptr, DI_NORMAL);
        }
        if (ImageList_AddMasked(list.get(), image.get(), kTreeMaskColour) < 0) break;
    }
    return list;
}

}  // namespace

int toolbarImageSize(UINT dpi) { return MulDiv(32, static_cast<int>(dpi), 96); }
SIZE treeImageSize(UINT dpi) { return {MulDiv(18, static_cast<int>(dpi), 96), MulDiv(15, static_cast<int>(dpi), 96)}; }

WindowImages buildWindowImages(HINSTANCE instance, UINT dpi) {
    WindowImages images;
    images.toolbar = buildList(instance, toolbarImageSize(dpi), kToolbarIcons);
    images.tree = buildMaskedList(instance, treeImageSize(dpi), kTreeIcons);
    images.headerSize = {MulDiv(17, static_cast<int>(dpi), 96), MulDiv(16, static_cast<int>(dpi), 96)};
    images.header = loadIcon(instance, LSU_IDI_HEADER, images.headerSize.cx, images.headerSize.cy);
    return images;
}

}  // namespace lsu::win32
