#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"
#include "ui/logic/StartArguments.h"
#include "ui/logic/ThemeManifest.h"
#include "ui/win32/MainWindow.h"

namespace {

// The arguments after the program's own path.
std::vector<std::string> startArguments() {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words) return {};
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(lsu::win32::narrow(words[i]));
    LocalFree(words);
    return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int nShowCmd) {
    lsu::Win32Platform platform;
    if (!lsu::writeThemeManifest(platform, lsu::win32::programPath()))
        MessageBoxW(nullptr, lsu::win32::widen(lsu::kThemeErrorPrompt).c_str(),
                    lsu::win32::widen(lsu::kThemeErrorTitle).c_str(), MB_OK | MB_ICONEXCLAMATION);
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES;
    InitCommonControlsEx(&controls);

    lsu::win32::MainWindow window(lsu::portsOf(platform), platform);
    const auto firstShown = lsu::sectionToShowFirst(startArguments());
    if (!window.create(instance, nShowCmd, firstShown.value_or(lsu::SectionId::AllPrograms))) return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(window.handle(), window.accelerators(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
