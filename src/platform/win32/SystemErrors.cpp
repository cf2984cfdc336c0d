#include "platform/win32/SystemErrors.h"

#include "platform/win32/Owned.h"
#include "platform/win32/WideText.h"

namespace lsu::win32 {

std::string systemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const Owned<HLOCAL, &LocalFree> buffer(text);
    std::wstring message = length ? std::wstring(text, length) : L"Error " + std::to_wstring(error);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return narrow(message);
}

SystemResult resultOf(DWORD error) {
    if (error == ERROR_SUCCESS) return {};
    return SystemResult::refused(error, systemMessage(error));
}

SystemResult resultOfCall(BOOL succeeded) {
    if (succeeded) return {};
    const DWORD error = GetLastError();
    // A call that failed without saying why still failed.
    return resultOf(error == ERROR_SUCCESS ? ERROR_GEN_FAILURE : error);
}

SystemResult resultOfCom(HRESULT result) {
    if (SUCCEEDED(result)) return {};
    return SystemResult::refused(static_cast<std::uint32_t>(result), systemMessage(static_cast<DWORD>(result)));
}

}  // namespace lsu::win32
