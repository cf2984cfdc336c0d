#pragma once
// The window classes of the program's own windows: an arrow cursor and the
// procedure given, on the dialog colour unless drawn otherwise.

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

}  // namespace lsu::win32
