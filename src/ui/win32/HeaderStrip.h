#pragma once
// The blue strip above the list: the section's key in bold on the left, its
// description on the right, ending a little before the list's right edge,
// and the strip's picture.

#include <windows.h>

#include <string>

#include "ui/win32/Dpi.h"
#include "ui/win32/GdiObjects.h"

namespace lsu::win32 {

class HeaderStrip {
public:
    // Registers the strip's window class once per process.
    static void registerClass(HINSTANCE instance);

    void create(HWND parent, HINSTANCE instance);
    HWND handle() const { return window_; }

    void setTexts(const std::string& folderName, const std::string& description);
    const std::string& folderName() const { return folderName_; }
    const std::string& description() const { return description_; }

    // Fonts and sizes for the window's DPI; the picture is the window's.
    void setDpi(Dpi dpi, HICON picture, int pictureWidth, int pictureHeight);
    // Where the description ends, in the strip's pixels.
    void setDescriptionRight(int right);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void paint();

    HWND window_ = nullptr;
    Dpi dpi_;
    FontHandle boldFont_, font_;
    BrushHandle background_;
    HICON picture_ = nullptr;
    int pictureWidth_ = 0, pictureHeight_ = 0;
    int descriptionRight_ = 0;
    std::string folderName_ = "Folders", description_ = "Description";
};

// A font of the face at a size in tenths of a point, for the DPI.
FontHandle makeFont(const wchar_t* face, int tenthsOfPoint, bool bold, Dpi dpi);

}  // namespace lsu::win32
