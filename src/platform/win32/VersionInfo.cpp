#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"

namespace lsu {

using win32::narrow;
using win32::widen;

std::string Win32Platform::companyName(const std::string& programPath) {
    const std::wstring path = widen(programPath);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {};
    struct Translation {
        WORD language, codePage;
    };
    void* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translations, &length) ||
        length < sizeof(Translation))
        return {};
    Translation first;
    std::memcpy(&first, translations, sizeof first);
    wchar_t query[64];
    swprintf(query, std::size(query), L"\\StringFileInfo\\%04x%04x\\CompanyName", first.language, first.codePage);
    void* text = nullptr;
    if (!VerQueryValueW(block.data(), query, &text, &length) || length == 0) return {};
    return narrow(std::wstring_view(static_cast<const wchar_t*>(text), wcsnlen(static_cast<const wchar_t*>(text), length)));
}

}  // namespace lsu
