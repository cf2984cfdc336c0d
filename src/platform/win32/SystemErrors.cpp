#include "platform/win32/SystemErrors.h"

#include "platform/win32/Owned.h"
#include "platform/win32/WideText.h"

namespace lsu::win32 {

std::string systemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const Owned<HLOCAL, &LocalFree> buffer(text);
    std::wstring message = length ? std::wstring(text, length) : L"Error " + std::to_wstring(error);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return narrow(message);
}

namespace {

ErrorKind kindOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_SERVICE_DOES_NOT_EXIST: return ErrorKind::NotFound;
        case ERROR_WRITE_PROTECT: return ErrorKind::ReadOnlyVolume;
        case ERROR_ACCESS_DENIED: return ErrorKind::NeedsAdministrator;
        case ERROR_FILE_CORRUPT:
        case ERROR_DISK_CORRUPT:
        case ERROR_BADDB:
        case ERROR_BADKEY:
        case ERROR_REGISTRY_CORRUPT: return ErrorKind::DamagedData;
        default: return ErrorKind::System;
    }
}

}  // namespace

Error errorOf(DWORD error) { return {kindOf(error), error, systemMessage(error)}; }

Status resultOf(DWORD error) {
    if (error == ERROR_SUCCESS) return {};
    return errorOf(error);
}

Status resultOfCall(BOOL succeeded) {
    if (succeeded) return {};
    const DWORD error = GetLastError();
    // A call that failed without saying why still failed.
    return errorOf(error == ERROR_SUCCESS ? ERROR_GEN_FAILURE : error);
}

Status resultOfCom(HRESULT result) {
    if (SUCCEEDED(result)) return {};
    // A Win32 error wrapped in an HRESULT is a failure of that error's kind.
    const ErrorKind kind =
        HRESULT_FACILITY(result) == FACILITY_WIN32 ? kindOf(HRESULT_CODE(result)) : ErrorKind::System;
    return Error{kind, static_cast<std::uint32_t>(result), systemMessage(static_cast<DWORD>(result))};
}

}  // namespace lsu::win32
