#include "ui/win32/Dpi.h"

#include "ui/win32/GdiObjects.h"

namespace lsu::win32 {

Dpi dpiOf(HWND window) {
    // Windows before 10 have no per-window DPI; the screen's serves there.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpi && window) return {getDpi(window)};
    WindowDc screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
    return {dpi > 0 ? static_cast<UINT>(dpi) : 96u};
}

}  // namespace lsu::win32
