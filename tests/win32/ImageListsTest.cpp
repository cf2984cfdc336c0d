#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string_view>
#include <vector>

#include "catalog/Sections.h"
#include "ui/win32/ImageLists.h"

namespace lsu::win32 {
namespace {

constexpr UINT kDpis[] = {96, 192};
constexpr std::string_view kToolbarButtons[] = {"Refresh", "Add", "Delete", "Run", "Properties", "Folders"};

HINSTANCE program() { return GetModuleHandleW(nullptr); }

SIZE imageSize(const ImageList& list) {
    int width = 0, height = 0;
    ImageList_GetIconSize(list.get(), &width, &height);
    return {width, height};
}

// Counts the pixels an image covers when drawn over a background no drawn
// pixel uses; a blank or missing image covers none.
int coveredPixels(const ImageList& list, int index) {
    const SIZE size = imageSize(list);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const std::uint32_t background = 0x00FF00FF;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    const int count = size.cx * size.cy;
    std::fill(pixels, pixels + count, background);
    ImageList_Draw(list.get(), index, dc, 0, 0, ILD_NORMAL);
    GdiFlush();
    int covered = 0;
    for (int i = 0; i < count; ++i)
        if ((pixels[i] & 0x00FFFFFF) != background) ++covered;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return covered;
}

TEST(WindowImages, EveryImageKeyOfTheCatalogHasATreeImageAtEachDpi) {
    for (UINT dpi : kDpis) {
        WindowImages images = buildWindowImages(program(), dpi);
        ASSERT_NE(images.tree.get(), nullptr) << dpi;
        EXPECT_EQ(images.tree.count(), static_cast<int>(treeImageKeys().size())) << dpi;
        const SIZE size = imageSize(images.tree);
        EXPECT_EQ(size.cx, 16 * static_cast<int>(dpi) / 96);
        EXPECT_EQ(size.cy, size.cx);
        for (const Section& section : sectionCatalog())
            for (std::string_view key : {section.image, section.selectedImage}) {
                if (key.empty()) continue;
                const int index = treeImageIndex(key);
                EXPECT_GE(index, 0) << key;
                EXPECT_LT(index, images.tree.count()) << key << " at " << dpi;
            }
    }
}

TEST(WindowImages, EveryToolbarButtonHasItsOwnImageAtEachDpi) {
    for (UINT dpi : kDpis) {
        WindowImages images = buildWindowImages(program(), dpi);
        ASSERT_NE(images.toolbar.get(), nullptr) << dpi;
        const SIZE size = imageSize(images.toolbar);
        EXPECT_EQ(size.cx, 32 * static_cast<int>(dpi) / 96);
        EXPECT_EQ(size.cy, size.cx);
        std::set<int> used;
        for (std::string_view button : kToolbarButtons) {
            const int index = toolbarImageIndex(button);
            EXPECT_GE(index, 0) << button;
            EXPECT_LT(index, images.toolbar.count()) << button << " at " << dpi;
            used.insert(index);
        }
        EXPECT_EQ(used.size(), std::size(kToolbarButtons));
    }
}

TEST(WindowImages, EveryImageIsAPictureOnAClearGround) {
    for (UINT dpi : kDpis) {
        WindowImages images = buildWindowImages(program(), dpi);
        for (const ImageList* list : {&images.toolbar, &images.tree}) {
            const SIZE size = imageSize(*list);
            for (int i = 0; i < list->count(); ++i) {
                const int covered = coveredPixels(*list, i);
                // Something is drawn, and it is a picture on a clear ground,
                // not a filled square.
                EXPECT_GT(covered, size.cx * size.cy / 8) << "image " << i << " at " << dpi;
                EXPECT_LT(covered, size.cx * size.cy) << "image " << i << " at " << dpi;
            }
        }
    }
}

TEST(WindowImages, HeaderPictureIsSeventeenBySixteenAt96DpiAndScales) {
    for (UINT dpi : kDpis) {
        WindowImages images = buildWindowImages(program(), dpi);
        ASSERT_NE(images.header.get(), nullptr) << dpi;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(images.header.get(), &info));
        BITMAP colour = {};
        GetObjectW(info.hbmColor, sizeof colour, &colour);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        EXPECT_EQ(colour.bmWidth, MulDiv(17, static_cast<int>(dpi), 96));
        EXPECT_EQ(colour.bmHeight, MulDiv(16, static_cast<int>(dpi), 96));
    }
}

}  // namespace
}  // namespace lsu::win32
