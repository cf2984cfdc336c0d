#pragma once
// The window classes of the program's own windows: an arrow cursor and the
// procedure given, on the dialog colour unless drawn otherwise; and the
// procedure's way to the object behind the window.

#include <windows.h>

namespace lsu::win32 {

inline WNDCLASSEXW windowClassOf(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    return windowClass;
}

// Hands a window's messages to the object that created it: the object comes
// with WM_NCCREATE, learns its window and stays in the window's user data.
template <typename Owner>
LRESULT routeToOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam, HWND Owner::*handle,
                     LRESULT (Owner::*handler)(UINT, WPARAM, LPARAM)) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->*handle = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? (self->*handler)(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace lsu::win32
