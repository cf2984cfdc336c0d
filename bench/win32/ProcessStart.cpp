#include "ProcessStart.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace lsu::bench {

namespace {

constexpr wchar_t kEmptyWindowClass[] = L"LStartUp.EmptyBench";

double now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool shown(const wchar_t* windowClass, bool needsTree) {
    HWND window = FindWindowW(windowClass, nullptr);
    if (!window || !IsWindowVisible(window)) return false;
    if (!needsTree) return true;
    HWND pane = FindWindowExW(window, nullptr, L"LStartUp.MenuTree", nullptr);
    HWND tree = pane ? FindWindowExW(pane, nullptr, WC_TREEVIEWW, nullptr) : nullptr;
    return tree && SendMessageW(tree, TVM_GETCOUNT, 0, 0) > 0;
}

}  // namespace

int showEmptyWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(window, message, wParam, lParam);
    };
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kEmptyWindowClass;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, kEmptyWindowClass, L"empty", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  680, 460, nullptr, nullptr, windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

double startUntilShown(const wchar_t* program, const wchar_t* argument, const wchar_t* windowClass,
                       bool needsTree) {
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\"";
    if (argument) commandLine += L" " + std::wstring(argument);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const double start = now();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    WaitForInputIdle(process.hProcess, 60000);
    while (!shown(windowClass ? windowClass : kEmptyWindowClass, needsTree) &&
           WaitForSingleObject(process.hProcess, 1) == WAIT_TIMEOUT) {
    }
    const double elapsed = (now() - start) * 1e3;
    if (HWND window = FindWindowW(windowClass ? windowClass : kEmptyWindowClass, nullptr))
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

}  // namespace lsu::bench
