#include <windows.h>
#include <commctrl.h>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"
#include "ui/logic/ThemeManifest.h"
#include "ui/win32/MainWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int nShowCmd) {
    lsu::Win32Platform platform;
    if (!lsu::writeThemeManifest(platform, lsu::win32::programPath()))
        MessageBoxW(nullptr, lsu::win32::widen(lsu::kThemeErrorPrompt).c_str(),
                    lsu::win32::widen(lsu::kThemeErrorTitle).c_str(), MB_OK | MB_ICONEXCLAMATION);
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES;
    InitCommonControlsEx(&controls);

    lsu::win32::MainWindow window(lsu::portsOf(platform), platform, platform);
    if (!window.create(instance, nShowCmd)) return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(window.handle(), window.accelerators(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
