#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "ui/logic/CommandTable.h"
#include "ui/logic/TreeImages.h"
#include "ui/win32/GdiObjects.h"
#include "ui/win32/ImageLists.h"

namespace lsu::win32 {
namespace {

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

// Sizes at 96 and at 192 DPI: the 18 by 15 tree images, the 32-pixel
// toolbar images and the 17 by 16 header picture, scaled.
TEST(WindowImages, EveryTreeAndToolbarImageIsDrawnAtEachDpi) {
    const struct {
        UINT dpi;
        SIZE tree, toolbar, header;
    } cases[] = {{96, {18, 15}, {32, 32}, {17, 16}}, {192, {36, 30}, {64, 64}, {34, 32}}};
    for (const auto& c : cases) {
        const WindowImages images = buildWindowImages(GetModuleHandleW(nullptr), c.dpi);
        const std::pair<HIMAGELIST, int> lists[] = {{images.tree.get(), kTreeImageCount},
                                                    {images.toolbar.get(), kToolbarImageCount}};
        for (const auto& [list, count] : lists) {
            ASSERT_EQ(ImageList_GetImageCount(list), count) << c.dpi;
            const SIZE size = imageSize(list);
            const SIZE expected = list == images.tree.get() ? c.tree : c.toolbar;
            EXPECT_EQ(size.cx, expected.cx) << c.dpi;
            EXPECT_EQ(size.cy, expected.cy) << c.dpi;
            for (int i = 0; i < count; ++i) {
                // Something is drawn, and it is a picture on a clear ground, not a filled square.
                EXPECT_GT(coveredPixels(list, i), size.cx * size.cy / 8) << "image " << i << " at " << c.dpi;
                EXPECT_LT(coveredPixels(list, i), size.cx * size.cy) << "image " << i << " at " << c.dpi;
            }
        }
        ICONINFO header = {};
        ASSERT_TRUE(GetIconInfo(images.header.get(), &header));
        BITMAP colour = {};
        GetObjectW(header.hbmColor, sizeof colour, &colour);
        DeleteObject(header.hbmColor);
        DeleteObject(header.hbmMask);
        EXPECT_EQ(colour.bmWidth, c.header.cx) << c.dpi;
        EXPECT_EQ(colour.bmHeight, c.header.cy) << c.dpi;
    }
}

}  // namespace
}  // namespace lsu::win32
