#pragma once
// Owners for the window's GDI and user objects, and scope guards for a
// device context and an object selected into one.

#include <windows.h>
#include <commctrl.h>

#include "platform/win32/Owned.h"

namespace lsu::win32 {

using ImageListHandle = Owned<HIMAGELIST, &ImageList_Destroy>;
using IconHandle = Owned<HICON, &DestroyIcon>;
using FontHandle = Owned<HFONT, &DeleteObject>;
using BrushHandle = Owned<HBRUSH, &DeleteObject>;
using BitmapHandle = Owned<HBITMAP, &DeleteObject>;
using RegionHandle = Owned<HRGN, &DeleteObject>;
using AcceleratorTable = Owned<HACCEL, &DestroyAcceleratorTable>;

// The device context of a window's client area, for measuring.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A device context to draw into a bitmap, compatible with another.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// Painting between BeginPaint and EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// Selects an object into a device context and puts the old one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace lsu::win32
