#pragma once
// The system's own words for a Win32 error code, and what kind of failure
// the code stands for.

#include <windows.h>

#include "base/Result.h"

namespace lsu::win32 {

std::string systemMessage(DWORD error);

// The failure the code stands for, in the system's words.
Error errorOf(DWORD error);
// Done for ERROR_SUCCESS, else the failure the code stands for.
Status resultOf(DWORD error);
// Done when the call succeeded, else the failure GetLastError names.
Status resultOfCall(BOOL succeeded);
// The same for a COM call's result.
Status resultOfCom(HRESULT result);

}  // namespace lsu::win32
