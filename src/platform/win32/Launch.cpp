#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/SystemErrors.h"
#include "platform/win32/WideText.h"

namespace lsu {

using win32::resultOfCall;
using win32::widen;

Status Win32Platform::launch(const std::string& file, const std::string& parameters, const std::string& directory,
                             ShowCommand show) {
    const std::wstring wideFile = widen(file), wideParameters = widen(parameters), wideDirectory = widen(directory);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = wideFile.c_str();
    info.lpParameters = wideParameters.empty() ? nullptr : wideParameters.c_str();
    info.lpDirectory = wideDirectory.empty() ? nullptr : wideDirectory.c_str();
    info.nShow = show == ShowCommand::Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    return resultOfCall(ShellExecuteExW(&info));
}

}  // namespace lsu
