#pragma once
// The system's own words for a Win32 error code.

#include <windows.h>

#include "platform/Platform.h"

namespace lsu::win32 {

std::string systemMessage(DWORD error);

// Done for ERROR_SUCCESS, else refused with the code and its message.
SystemResult resultOf(DWORD error);
// Done when the call succeeded, else refused for GetLastError's reason.
SystemResult resultOfCall(BOOL succeeded);
// The same for a COM call's result.
SystemResult resultOfCom(HRESULT result);

}  // namespace lsu::win32
