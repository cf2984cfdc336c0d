#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstring>

#include "base/CaseFolding.h"
#include "platform/win32/Owned.h"
#include "platform/win32/SystemErrors.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"

namespace lsu {

using win32::narrow;
using win32::RegistryKey;
using win32::resultOf;
using win32::widen;

namespace {

HKEY rootOf(Hive hive) { return hive == Hive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

REGSAM viewFlag(RegistryView view) {
    switch (view) {
        case RegistryView::Bits64: return KEY_WOW64_64KEY;
        case RegistryView::Bits32: return KEY_WOW64_32KEY;
        case RegistryView::Shared: break;
    }
    return 0;
}

// The W functions take a name up to its first NUL, so a name holding one
// would act on another value: such a value is listed, and every change to it
// is refused.
bool namesOneValue(const std::string& name) { return name.find('\0') == std::string::npos; }

Error unsafeName(const std::string& name) {
    return {ErrorKind::UnsafeName, 0,
            "The value name \"" + name.substr(0, name.find('\0')) +
                "\" holds a NUL character, which the system's registry functions cannot name."};
}

std::optional<RegistryValue> queryValue(HKEY key, const std::wstring& name) {
    // Most values fit a small buffer and are read in one call; a larger one,
    // or one that grows between calls, is asked for again at the size the
    // system says it has.
    std::vector<BYTE> raw(256);
    for (;;) {
        DWORD type = 0, got = static_cast<DWORD>(raw.size());
        const LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &type, raw.data(), &got);
        if (status == ERROR_SUCCESS) {
            raw.resize(got);
            return RegistryValue{narrow(name), type, {raw.begin(), raw.end()}};
        }
        if (status != ERROR_MORE_DATA) return std::nullopt;
        raw.resize(std::max<std::size_t>(got, raw.size() * 2));
    }
}

// The kernel's name of an open key, which tells whether two views lead to one key.
std::wstring kernelName(HKEY key) {
    using NtQueryKeyFn = LONG(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
    static auto query = reinterpret_cast<NtQueryKeyFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryKey")));
    if (!query) return {};
    constexpr int kKeyNameInformation = 3;
    std::vector<BYTE> buffer(1024);
    for (;;) {
        ULONG needed = 0;
        const LONG status = query(key, kKeyNameInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) break;
        constexpr LONG kBufferOverflow = static_cast<LONG>(0x80000005), kBufferTooSmall = static_cast<LONG>(0xC0000023);
        if ((status != kBufferOverflow && status != kBufferTooSmall) || needed <= buffer.size()) return {};
        buffer.resize(needed);
    }
    ULONG length = 0;
    std::memcpy(&length, buffer.data(), sizeof length);
    length = std::min<ULONG>(length, static_cast<ULONG>(buffer.size() - sizeof(ULONG)));
    return std::wstring(reinterpret_cast<const wchar_t*>(buffer.data() + sizeof(ULONG)), length / sizeof(wchar_t));
}

// Reading asks for read rights only.
RegistryKey openForReading(const RegistryLocation& location) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(rootOf(location.hive), widen(location.subkey).c_str(), 0, KEY_READ | viewFlag(location.view),
                      &key) != ERROR_SUCCESS)
        return {};
    return RegistryKey(key);
}

// Writing asks for what it needs: setting values, and creating the key when asked to.
Result<RegistryKey> openForWriting(const RegistryLocation& location, bool create) {
    HKEY key = nullptr;
    const REGSAM access = KEY_SET_VALUE | (create ? KEY_CREATE_SUB_KEY : 0) | viewFlag(location.view);
    const std::wstring subkey = widen(location.subkey);
    const LSTATUS status = create ? RegCreateKeyExW(rootOf(location.hive), subkey.c_str(), 0, nullptr,
                                                    REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr)
                                  : RegOpenKeyExW(rootOf(location.hive), subkey.c_str(), 0, access, &key);
    if (status != ERROR_SUCCESS) return win32::errorOf(static_cast<DWORD>(status));
    return RegistryKey(key);
}

}  // namespace

std::optional<std::vector<RegistryValue>> Win32Platform::readValues(const RegistryLocation& location) {
    RegistryKey key = openForReading(location);
    if (!key) return std::nullopt;
    DWORD longestName = 0, longestData = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return std::nullopt;
    // Each value is read whole, name and data, in one call, into buffers sized
    // once for the key: a value cannot change between its name and its data.
    std::wstring name(longestName + 1, L'\0');
    std::vector<BYTE> data(longestData + sizeof(wchar_t));
    std::vector<RegistryValue> values;
    for (DWORD index = 0;;) {
        DWORD nameLength = static_cast<DWORD>(name.size()), dataLength = static_cast<DWORD>(data.size()), type = 0;
        const LSTATUS status =
            RegEnumValueW(key.get(), index, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength);
        if (status == ERROR_MORE_DATA) {
            // A value grew, or one was added, since the sizes were taken.
            name.resize(name.size() * 2 + 256);
            data.resize(std::max<std::size_t>(data.size() * 2, dataLength + sizeof(wchar_t)));
            continue;
        }
        if (status != ERROR_SUCCESS) break;
        values.push_back({narrow(std::wstring_view(name.data(), nameLength)), type,
                          std::vector<std::uint8_t>(data.begin(), data.begin() + dataLength)});
        ++index;
    }
    return values;
}

std::optional<RegistryValue> Win32Platform::readValue(const RegistryLocation& location, const std::string& name) {
    if (!namesOneValue(name)) {
        auto values = readValues(location).value_or(std::vector<RegistryValue>{});
        auto found = std::find_if(values.begin(), values.end(),
                                  [&](const RegistryValue& value) { return equalsNoCase(value.name, name); });
        if (found == values.end()) return std::nullopt;
        found->name = name;
        return std::move(*found);
    }
    RegistryKey key = openForReading(location);
    if (!key) return std::nullopt;
    auto value = queryValue(key.get(), widen(name));
    if (value) value->name = name;
    return value;
}

Status Win32Platform::writeValue(const RegistryLocation& location, const RegistryValue& value, bool createKey) {
    if (!namesOneValue(value.name)) return unsafeName(value.name);
    const Result<RegistryKey> key = openForWriting(location, createKey);
    if (!key) return key.error();
    return resultOf(static_cast<DWORD>(RegSetValueExW(key->get(), widen(value.name).c_str(), 0, value.type,
                                                      value.data.empty() ? nullptr : value.data.data(),
                                                      static_cast<DWORD>(value.data.size()))));
}

Status Win32Platform::deleteValue(const RegistryLocation& location, const std::string& name) {
    if (!namesOneValue(name)) return unsafeName(name);
    const Result<RegistryKey> key = openForWriting(location, false);
    if (!key) return key.error();
    return resultOf(static_cast<DWORD>(RegDeleteValueW(key->get(), widen(name).c_str())));
}

std::optional<std::vector<std::string>> Win32Platform::readSubkeys(const RegistryLocation& location) {
    RegistryKey key = openForReading(location);
    if (!key) return std::nullopt;
    DWORD longestName = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, &longestName, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring name(longestName + 1, L'\0');
    std::vector<std::string> names;
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(name.size());
        const LSTATUS status =
            RegEnumKeyExW(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) {
            // A key with a longer name was added since the size was taken.
            name.resize(name.size() * 2 + 256);
            continue;
        }
        if (status != ERROR_SUCCESS) break;
        names.push_back(narrow(std::wstring_view(name.data(), length)));
        ++index;
    }
    return names;
}

Status Win32Platform::removeEmptyKey(const RegistryLocation& location) {
    RegistryKey key = openForReading(location);
    if (!key) return {};
    DWORD subkeys = 0, values = 0;
    if (const LSTATUS status = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                                &values, nullptr, nullptr, nullptr, nullptr);
        status != ERROR_SUCCESS)
        return win32::errorOf(static_cast<DWORD>(status));
    if (subkeys != 0 || values != 0) return {};
    key.reset();
    return resultOf(static_cast<DWORD>(
        RegDeleteKeyExW(rootOf(location.hive), widen(location.subkey).c_str(), viewFlag(location.view), 0)));
}

// The key is opened with the right to set values; a missing key, the nearest
// key above it with the right to make keys below it.
Status Win32Platform::checkChange(const RegistryLocation& location) {
    std::wstring subkey = widen(location.subkey);
    REGSAM access = KEY_SET_VALUE;
    for (;;) {
        HKEY opened = nullptr;
        const LSTATUS status =
            RegOpenKeyExW(rootOf(location.hive), subkey.c_str(), 0, access | viewFlag(location.view), &opened);
        const RegistryKey key(opened);
        if (status == ERROR_SUCCESS) return {};
        if (status != ERROR_FILE_NOT_FOUND || subkey.empty()) return resultOf(static_cast<DWORD>(status));
        const std::size_t separator = subkey.find_last_of(L'\\');
        subkey.resize(separator == std::wstring::npos ? 0 : separator);
        access = KEY_CREATE_SUB_KEY;
    }
}

bool Win32Platform::viewsShareKey(Hive hive, const std::string& subkey) {
    if (hive == Hive::CurrentUser) return true;
    RegistryKey native = openForReading({hive, RegistryView::Bits64, subkey});
    RegistryKey wow = openForReading({hive, RegistryView::Bits32, subkey});
    // A key missing from one view cannot list anything twice; a 64-bit
    // program's two views of a redirected key are two paths.
    if (!native || !wow) return false;
    const std::wstring nativeName = kernelName(native.get());
    return !nativeName.empty() && nativeName == kernelName(wow.get());
}

}  // namespace lsu
