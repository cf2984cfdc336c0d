#pragma once
// The window's layout is designed in twips; the screen counts pixels at the
// window's DPI.

#include <windows.h>

namespace lsu::win32 {

struct Dpi {
    UINT value = 96;
    int toPixels(int twips) const { return MulDiv(twips, static_cast<int>(value), 1440); }
    int toTwips(int pixels) const { return MulDiv(pixels, 1440, static_cast<int>(value)); }
    // A size designed in pixels at 96 DPI.
    int scaled(int pixelsAt96) const { return MulDiv(pixelsAt96, static_cast<int>(value), 96); }
};

// The DPI of the monitor the window is on (of the screen before it exists).
Dpi dpiOf(HWND window);

}  // namespace lsu::win32
