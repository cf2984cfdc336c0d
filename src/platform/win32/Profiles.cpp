#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include "platform/win32/SystemErrors.h"
#include "platform/win32/WideText.h"

namespace lsu {

using win32::narrow;
using win32::resultOfCall;
using win32::widen;

// win.ini and the other INI files through the profile functions.

std::optional<std::string> Win32Platform::readProfile(const std::string& section, const std::string& key,
                                                      const std::string& file) {
    // A default no real value holds tells an absent key from an empty one.
    const wchar_t* absent = L"\x01\x02lsu-absent\x02\x01";
    const std::wstring wideSection = widen(section), wideKey = widen(key), wideFile = widen(file);
    std::wstring buffer(512, L'\0');
    for (;;) {
        DWORD length = GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), absent, buffer.data(),
                                                static_cast<DWORD>(buffer.size()), wideFile.c_str());
        if (length + 1 < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.assign(buffer.size() * 4, L'\0');
    }
    if (buffer == absent) return std::nullopt;
    return narrow(buffer);
}

Status Win32Platform::writeProfile(const std::string& section, const std::string& key, const std::string& value,
                                   const std::string& file) {
    return resultOfCall(WritePrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), widen(value).c_str(),
                                                   widen(file).c_str()));
}

Status Win32Platform::removeProfileKey(const std::string& section, const std::string& key, const std::string& file) {
    return resultOfCall(
        WritePrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), nullptr, widen(file).c_str()));
}

// Whether a section is written to the file or, mapped, to the registry is the
// system's own choice, which only the write itself reveals.
Status Win32Platform::checkChange(const std::string&, const std::string&) { return {}; }

}  // namespace lsu
