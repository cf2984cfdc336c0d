#pragma once
// The blue strip above the list: the section's key in bold on the left, its
// description on the right, ending a little before the list's right edge,
// and the strip's picture. Both texts are labels of their own, so that a
// screen reader reads them as the user sees them.

#include <windows.h>

#include <string>

#include "ui/win32/Dpi.h"
#include "ui/win32/GdiObjects.h"
#include "ui/win32/WindowObject.h"

namespace lsu::win32 {

class HeaderStrip : public WindowObject {
public:
    // Registers the strip's window class once per process.
    static void registerClass(HINSTANCE instance);

    void create(HWND parent, HINSTANCE instance);

    void setTexts(const std::string& folderName, const std::string& description);
    // Fonts and sizes for the window's DPI; the picture is the window's.
    void setDpi(Dpi dpi, HICON picture, SIZE pictureSize);
    // Where the description ends, in the strip's pixels.
    void setDescriptionRight(int right);

private:
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paint();
    void placeLabels();

    HWND folderName_ = nullptr, description_ = nullptr;
    Dpi dpi_;
    FontHandle boldFont_, font_;
    BrushHandle background_;
    HICON picture_ = nullptr;
    SIZE pictureSize_ = {};
    int descriptionRight_ = 0;
};

// A font of the face at a size in tenths of a point, for the DPI.
FontHandle makeFont(const wchar_t* face, int tenthsOfPoint, bool bold, Dpi dpi);

}  // namespace lsu::win32
