#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>

#include "catalog/Sections.h"
#include "ui/win32/GdiObjects.h"
#include "ui/win32/ImageLists.h"

namespace lsu::win32 {
namespace {

constexpr UINT kDpis[] = {96, 192};

SIZE imageSize(HIMAGELIST list) {
    int width = 0, height = 0;
    ImageList_GetIconSize(list, &width, &height);
    return {width, height};
}

// The pixels an image covers when drawn over a background no drawn pixel
// uses; a blank or missing image covers none.
int coveredPixels(HIMAGELIST list, int index) {
    const SIZE size = imageSize(list);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    MemoryDc dc(nullptr);
    BitmapHandle bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SelectedObject selected(dc.get(), bitmap.get());
    constexpr std::uint32_t kBackground = 0x00FF00FF;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    std::fill(pixels, pixels + size.cx * size.cy, kBackground);
    ImageList_Draw(list, index, dc.get(), 0, 0, ILD_NORMAL);
    GdiFlush();
    return static_cast<int>(std::count_if(pixels, pixels + size.cx * size.cy,
                                          [](std::uint32_t pixel) { return (pixel & 0x00FFFFFF) != kBackground; }));
}

TEST(WindowImages, EveryTreeKeyAndToolbarButtonHasItsOwnDrawnImageAtEachDpi) {
    for (UINT dpi : kDpis) {
        const WindowImages images = buildWindowImages(GetModuleHandleW(nullptr), dpi);
        EXPECT_EQ(imageSize(images.tree.get()).cx, MulDiv(18, static_cast<int>(dpi), 96));
        EXPECT_EQ(imageSize(images.tree.get()).cy, MulDiv(15, static_cast<int>(dpi), 96));
        EXPECT_EQ(imageSize(images.toolbar.get()).cx, MulDiv(32, static_cast<int>(dpi), 96));
        for (SectionId id : sectionTree())
            for (std::string_view key : {section(id).image, section(id).selectedImage})
                if (!key.empty()) {
                    EXPECT_GE(treeImageIndex(key), 0) << key;
                    EXPECT_LT(treeImageIndex(key), ImageList_GetImageCount(images.tree.get())) << key << dpi;
                }
        std::set<int> used;
        for (std::string_view button : {"Refresh", "Add", "Delete", "Run", "Properties", "Folders"}) {
            used.insert(toolbarImageIndex(button));
            EXPECT_LT(toolbarImageIndex(button), ImageList_GetImageCount(images.toolbar.get())) << button << dpi;
        }
        EXPECT_EQ(used.size(), 6u);
        EXPECT_EQ(used.count(-1), 0u);
        for (HIMAGELIST list : {images.toolbar.get(), images.tree.get()}) {
            const SIZE size = imageSize(list);
            for (int i = 0; i < ImageList_GetImageCount(list); ++i) {
                // Something is drawn, and it is a picture on a clear ground, not a filled square.
                EXPECT_GT(coveredPixels(list, i), size.cx * size.cy / 8) << "image " << i << " at " << dpi;
                EXPECT_LT(coveredPixels(list, i), size.cx * size.cy) << "image " << i << " at " << dpi;
            }
        }
        ICONINFO header = {};
        ASSERT_TRUE(GetIconInfo(images.header.get(), &header));
        BITMAP colour = {};
        GetObjectW(header.hbmColor, sizeof colour, &colour);
        DeleteObject(header.hbmColor);
        DeleteObject(header.hbmMask);
        EXPECT_EQ(colour.bmWidth, MulDiv(17, static_cast<int>(dpi), 96));
        EXPECT_EQ(colour.bmHeight, MulDiv(16, static_cast<int>(dpi), 96));
    }
}

}  // namespace
}  // namespace lsu::win32
