#include "ui/win32/HeaderStrip.h"

#include <algorithm>

#include "platform/win32/WideText.h"

namespace lsu::win32 {

namespace {

constexpr wchar_t kClassName[] = L"LStartUp.Header";
constexpr COLORREF kHeaderColour = RGB(101, 152, 214);
constexpr int kFolderNameLeftTwips = 405;
constexpr POINT kPictureTwips = {105, 90};

HWND createLabel(HWND strip, HINSTANCE instance, const wchar_t* text, DWORD alignment) {
    return CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_CENTERIMAGE | alignment, 0, 0,
                           0, 0, strip, nullptr, instance, nullptr);
}

int textWidth(HWND label) {
    WindowDc dc(label);
    SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    const int length = GetWindowTextLengthW(label);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(label, text.data(), length + 1);
    SIZE size = {};
    GetTextExtentPoint32W(dc.get(), text.c_str(), length, &size);
    return size.cx;
}

}  // namespace

FontHandle makeFont(const wchar_t* face, int tenthsOfPoint, bool bold, Dpi dpi) {
    return FontHandle(CreateFontW(-MulDiv(tenthsOfPoint, static_cast<int>(dpi.value), 720), 0, 0, 0,
                                  bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, face));
}

void HeaderStrip::registerClass(HINSTANCE instance) {
    // The strip paints its whole face itself.
    WNDCLASSEXW strip = windowClass(instance, kClassName);
    strip.hbrBackground = nullptr;
    RegisterClassExW(&strip);
}

void HeaderStrip::create(HWND parent, HINSTANCE instance) {
    background_.reset(CreateSolidBrush(kHeaderColour));
    createWindow(0, kClassName, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, parent, instance);
    folderName_ = createLabel(handle(), instance, L"Folders", SS_LEFT);
    description_ = createLabel(handle(), instance, L"Description", SS_RIGHT | SS_ENDELLIPSIS);
}

void HeaderStrip::setTexts(const std::string& folderName, const std::string& description) {
    SetWindowTextW(folderName_, widen(folderName).c_str());
    SetWindowTextW(description_, widen(description).c_str());
    placeLabels();
}

void HeaderStrip::setDpi(Dpi dpi, HICON picture, SIZE pictureSize) {
    dpi_ = dpi;
    boldFont_ = makeFont(L"Verdana", 98, true, dpi);
    font_ = makeFont(L"Verdana", 90, false, dpi);
    SendMessageW(folderName_, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);
    SendMessageW(description_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    picture_ = picture;
    pictureSize_ = pictureSize;
    placeLabels();
    InvalidateRect(handle(), nullptr, TRUE);
}

void HeaderStrip::setDescriptionRight(int right) {
    descriptionRight_ = right;
    placeLabels();
}

// The key as wide as its text; the description in what is left up to its
// right end, cut with an ellipsis when it does not fit.
void HeaderStrip::placeLabels() {
    if (!folderName_) return;  // the strip is sized while it is made, before its labels
    RECT strip;
    GetClientRect(handle(), &strip);
    const int left = dpi_.toPixels(kFolderNameLeftTwips);
    const int nameWidth = textWidth(folderName_);
    MoveWindow(folderName_, left, 0, nameWidth, strip.bottom, TRUE);
    const int descriptionLeft = left + nameWidth + dpi_.scaled(8);
    MoveWindow(description_, descriptionLeft, 0, std::max(descriptionRight_ - descriptionLeft, 0), strip.bottom, TRUE);
}

void HeaderStrip::paint() {
    PaintDc dc(handle());
    RECT area;
    GetClientRect(handle(), &area);
    FillRect(dc.get(), &area, background_.get());
    if (picture_)
        DrawIconEx(dc.get(), dpi_.toPixels(kPictureTwips.x), dpi_.toPixels(kPictureTwips.y), picture_, pictureSize_.cx,
                   pictureSize_.cy, 0, nullptr, DI_NORMAL);
}

std::optional<LRESULT> HeaderStrip::onMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_PAINT: paint(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: placeLabels(); return 0;
        case WM_CTLCOLORSTATIC: {
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, RGB(255, 255, 255));
            SetBkColor(dc, kHeaderColour);
            return reinterpret_cast<LRESULT>(background_.get());
        }
        default: return std::nullopt;
    }
}

}  // namespace lsu::win32
