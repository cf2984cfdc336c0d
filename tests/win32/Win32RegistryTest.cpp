#include <windows.h>
#include <gtest/gtest.h>
#include <sddl.h>
#include <winternl.h>

#include "platform/win32/Owned.h"
#include "platform/win32/Win32Platform.h"

namespace lsu {
namespace {

// The system hive is not redirected: both views open one key, and the kernel
// names of the two open keys must say so. A key that is missing is shared by
// nothing.
TEST(Win32RegistryViews, OnlyAKeyOutsideTheRedirectedTreeIsShared) {
    Win32Platform platform;
    EXPECT_TRUE(platform.viewsShareKey(Hive::LocalMachine, "System\\CurrentControlSet\\Control"));
    EXPECT_FALSE(platform.viewsShareKey(Hive::LocalMachine, "Software\\LStartUp Contract\\Missing"));
}

// A key whose security denies setting values refuses as a standard user's
// write to a machine key is refused: the change needs administrator rights.
TEST(Win32RegistryRights, AWriteTheKeysSecurityDeniesNeedsAdministrator) {
    const wchar_t* subkey = L"Software\\LStartUp Contract\\Denied";
    HKEY opened = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr),
              ERROR_SUCCESS);
    const win32::RegistryKey key(opened);
    PSECURITY_DESCRIPTOR denying = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;0x2;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1,
                                                                     &denying, nullptr));
    const LONG secured = RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, denying);
    LocalFree(denying);
    ASSERT_EQ(secured, ERROR_SUCCESS);

    Win32Platform platform;
    const Status written =
        platform.writeValue({Hive::CurrentUser, RegistryView::Shared, "Software\\LStartUp Contract\\Denied"},
                            {"Tool", kRegSz, {'t', 0, 0, 0}}, true);
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, subkey), ERROR_SUCCESS);
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().kind, ErrorKind::NeedsAdministrator);
}

// A value whose name holds a NUL, as only the kernel's own call can write
// one: the registry's W functions would take "Tool" for its name.
TEST(Win32RegistryNames, ANameHoldingANulIsListedAndReadButNeverChanged) {
    const RegistryLocation where{Hive::CurrentUser, RegistryView::Shared, "Software\\LStartUp Contract\\Nul Names"};
    HKEY opened = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\LStartUp Contract\\Nul Names", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &opened, nullptr),
              ERROR_SUCCESS);
    const win32::RegistryKey key(opened);
    using NtSetValueKeyFn = LONG(NTAPI*)(HANDLE, PUNICODE_STRING, ULONG, ULONG, PVOID, ULONG);
    const auto setValue = reinterpret_cast<NtSetValueKeyFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSetValueKey")));
    ASSERT_NE(setValue, nullptr);
    wchar_t name[] = L"Tool\0Hidden";
    UNICODE_STRING counted{sizeof name - sizeof(wchar_t), sizeof name, name};
    DWORD data = 7;
    ASSERT_EQ(setValue(key.get(), &counted, 0, REG_DWORD, &data, sizeof data), 0);
    const std::string stored("Tool\0Hidden", 11);
    const RegistryValue value{stored, kRegDword, {7, 0, 0, 0}};

    Win32Platform platform;
    EXPECT_EQ(platform.readValues(where), std::vector{value});
    EXPECT_EQ(platform.readValue(where, stored), value);
    EXPECT_FALSE(platform.readValue(where, "Tool"));
    for (const Status& refused : {platform.writeValue(where, value, false), platform.deleteValue(where, stored)}) {
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.error().kind, ErrorKind::UnsafeName);
    }
    EXPECT_EQ(platform.readValues(where), std::vector{value});
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\LStartUp Contract\\Nul Names"), ERROR_SUCCESS);
}

}  // namespace
}  // namespace lsu
