#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <shlobj.h>

#include "base/WindowsPaths.h"
#include "platform/win32/WideText.h"

namespace lsu {

using win32::narrow;
using win32::widen;

namespace {

int csidlOf(ShellFolder folder) {
    switch (folder) {
        case ShellFolder::UserStartup: return CSIDL_STARTUP;
        case ShellFolder::CommonStartup: return CSIDL_COMMON_STARTUP;
        case ShellFolder::LocalAppData: break;
    }
    return CSIDL_LOCAL_APPDATA;
}

}  // namespace

std::string win32::programPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return narrow(path);
        }
        path.resize(path.size() * 2);
    }
}

std::string Win32Platform::shellFolder(ShellFolder folder) {
    wchar_t path[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, csidlOf(folder) | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
        return {};
    return narrow(path);
}

std::string Win32Platform::windowsDirectory() {
    wchar_t path[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return narrow(std::wstring_view(path, length));
}

std::string Win32Platform::programFolder() { return withoutTrailingBackslash(parentFolderOf(win32::programPath())); }

std::string Win32Platform::expandEnvironment(const std::string& text) {
    const std::wstring wide = widen(text);
    DWORD size = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    if (size == 0) return text;
    std::wstring expanded(size, L'\0');
    DWORD length = ExpandEnvironmentStringsW(wide.c_str(), expanded.data(), size);
    if (length == 0 || length > size) return text;
    expanded.resize(length - 1);
    return narrow(expanded);
}

}  // namespace lsu
