#include "ui/win32/AdministratorRights.h"

#include <shellapi.h>

#include "platform/win32/Owned.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"

namespace lsu::win32 {

bool runsElevated() {
    FileHandle token;
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
    token.reset(opened);
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    return GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

bool restartAsAdministrator(HWND owner, const std::string& sectionKey) {
    const std::wstring program = widen(programPath());
    // A section key holds spaces and backslashes but never a quote, and never
    // ends in a backslash: quoted, it reaches the new instance as one argument.
    const std::wstring parameters = L"\"" + widen(sectionKey) + L"\"";
    SHELLEXECUTEINFOW start = {};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_NOASYNC;
    start.hwnd = owner;
    start.lpVerb = L"runas";
    start.lpFile = program.c_str();
    start.lpParameters = parameters.c_str();
    start.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&start) != FALSE;
}

BitmapHandle shieldMenuBitmap() {
    SHSTOCKICONINFO shield = {};
    shield.cbSize = sizeof shield;
    if (FAILED(SHGetStockIconInfo(SIID_SHIELD, SHGSI_ICON | SHGSI_SMALLICON, &shield))) return {};
    const IconHandle icon(shield.hIcon);
    const int width = GetSystemMetrics(SM_CXSMICON);
    const int height = GetSystemMetrics(SM_CYSMICON);
    // A 32-bit bitmap keeps the icon's transparency in the menu.
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const WindowDc screen(nullptr);
    BitmapHandle bitmap(CreateDIBSection(screen.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return {};
    const MemoryDc dc(screen.get());
    const SelectedObject selected(dc.get(), bitmap.get());
    DrawIconEx(dc.get(), 0, 0, icon.get(), width, height, 0, nullptr, DI_NORMAL);
    return bitmap;
}

}  // namespace lsu::win32
