#include "ui/win32/HeaderStrip.h"

#include "platform/win32/WideText.h"
#include "ui/win32/WindowClass.h"

namespace lsu::win32 {

namespace {

constexpr wchar_t kClassName[] = L"LStartUp.Header";
constexpr COLORREF kHeaderColour = RGB(101, 152, 214);

}  // namespace

FontHandle makeFont(const wchar_t* face, int tenthsOfPoint, bool bold, Dpi dpi) {
    return FontHandle(CreateFontW(-MulDiv(tenthsOfPoint, static_cast<int>(dpi.value), 720), 0, 0, 0,
                                  bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, face));
}

void HeaderStrip::registerClass(HINSTANCE instance) {
    // The strip paints its whole face itself.
    WNDCLASSEXW windowClass = windowClassOf(instance, kClassName, windowProc);
    windowClass.hbrBackground = nullptr;
    RegisterClassExW(&windowClass);
}

void HeaderStrip::create(HWND parent, HINSTANCE instance) {
    background_.reset(CreateSolidBrush(kHeaderColour));
    window_ = CreateWindowExW(0, kClassName, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr, instance,
                              this);
}

void HeaderStrip::setTexts(const std::string& folderName, const std::string& description) {
    folderName_ = folderName;
    description_ = description;
    InvalidateRect(window_, nullptr, TRUE);
}

void HeaderStrip::setDpi(Dpi dpi, HICON picture, int pictureWidth, int pictureHeight) {
    dpi_ = dpi;
    boldFont_ = makeFont(L"Verdana", 98, true, dpi);
    font_ = makeFont(L"Verdana", 90, false, dpi);
    picture_ = picture;
    pictureWidth_ = pictureWidth;
    pictureHeight_ = pictureHeight;
    InvalidateRect(window_, nullptr, TRUE);
}

void HeaderStrip::setDescriptionRight(int right) {
    descriptionRight_ = right;
    InvalidateRect(window_, nullptr, TRUE);
}

void HeaderStrip::paint() {
    PaintDc dc(window_);
    RECT area;
    GetClientRect(window_, &area);
    FillRect(dc.get(), &area, background_.get());
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), RGB(255, 255, 255));
    RECT text = area;
    text.left = dpi_.toPixels(405);
    {
        SelectedObject bold(dc.get(), boldFont_.get());
        DrawTextW(dc.get(), widen(folderName_).c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    text.right = descriptionRight_;
    {
        SelectedObject regular(dc.get(), font_.get());
        DrawTextW(dc.get(), widen(description_).c_str(), -1, &text,
                  DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (picture_)
        DrawIconEx(dc.get(), dpi_.toPixels(105), dpi_.toPixels(90), picture_, pictureWidth_, pictureHeight_, 0, nullptr,
                   DI_NORMAL);
}

LRESULT CALLBACK HeaderStrip::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<HeaderStrip*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_PAINT) {
        self->paint();
        return 0;
    }
    if (message == WM_ERASEBKGND) return 1;
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace lsu::win32
