#include "BareLimit.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include "catalog/DisabledStores.h"
#include "platform/win32/WideText.h"

namespace lsu::bench {

namespace {

using Microsoft::WRL::ComPtr;
using win32::widen;

void readKey(HKEY root, REGSAM view, const std::wstring& subkey, const std::wstring& section, bool enabled,
             std::vector<BareRow>& rows) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return;
    DWORD count = 0, longestName = 0, longestData = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName, &longestData,
                     nullptr, nullptr);
    std::wstring name(longestName + 1, L'\0');
    std::vector<BYTE> data(longestData + sizeof(wchar_t));
    for (DWORD index = 0; index < count; ++index) {
        DWORD nameLength = longestName + 1, dataLength = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength) !=
            ERROR_SUCCESS)
            continue;
        std::wstring command(reinterpret_cast<const wchar_t*>(data.data()), dataLength / sizeof(wchar_t));
        rows.push_back({std::wstring(name.data(), nameLength), command, L"Yes", section,
                        enabled ? L"Enabled" : L"Disabled", L"Reg"});
    }
    RegCloseKey(key);
}

void readFolder(const std::wstring& folder, const std::wstring& section, bool enabled, IShellLinkW* link,
                IPersistFile* file, std::vector<BareRow>& rows) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
            continue;
        std::wstring name = found.cFileName;
        const bool isLink = name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".lnk") == 0;
        std::wstring command = name;
        if (isLink) {
            wchar_t target[MAX_PATH] = {};
            if (SUCCEEDED(file->Load((folder + L"\\" + name).c_str(), STGM_READ)))
                link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
            command = target;
            name.resize(name.size() - 4);
        }
        rows.push_back({name, command, L"Yes", section, enabled ? L"Enabled" : L"Disabled", isLink ? L"Lnk" : L"File"});
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

struct BareService {
    std::wstring name, displayName, imagePath;
    DWORD startType = 0;
    bool delayed = false;
};

// One enumeration of the Win32 services, then each one's configuration and
// its delayed flag, as the program reads them.
std::vector<BareService> readServices() {
    std::vector<BareService> services;
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE);
    if (!manager) return services;
    std::vector<BYTE> listed(256 * 1024);
    DWORD needed = 0, count = 0, resume = 0;
    if (!EnumServicesStatusExW(manager, SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, listed.data(),
                               static_cast<DWORD>(listed.size()), &needed, &count, &resume, nullptr))
        count = 0;
    const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSW*>(listed.data());
    std::vector<BYTE> config(8192);
    for (DWORD i = 0; i < count; ++i) {
        SC_HANDLE service = OpenServiceW(manager, entries[i].lpServiceName, SERVICE_QUERY_CONFIG);
        if (!service) continue;
        auto* stored = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(config.data());
        if (QueryServiceConfigW(service, stored, static_cast<DWORD>(config.size()), &needed)) {
            SERVICE_DELAYED_AUTO_START_INFO delayed = {};
            QueryServiceConfig2W(service, SERVICE_CONFIG_DELAYED_AUTO_START_INFO, reinterpret_cast<BYTE*>(&delayed),
                                 sizeof delayed, &needed);
            services.push_back({entries[i].lpServiceName, stored->lpDisplayName ? stored->lpDisplayName : L"",
                                stored->lpBinaryPathName ? stored->lpBinaryPathName : L"", stored->dwStartType,
                                delayed.fDelayedAutostart != FALSE});
        }
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return services;
}

std::wstring programFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

}  // namespace

std::vector<BareRow> bareReadServiceRows() {
    std::vector<BareRow> rows;
    for (const BareService& service : readServices())
        if (service.startType == SERVICE_AUTO_START)
            rows.push_back(
                {service.displayName + L" (" + service.name + L")", service.imagePath, L"Yes",
                 widen(std::string(
                     section(service.delayed ? SectionId::ServicesDelayed : SectionId::ServicesAutomatic).key)),
                 L"Enabled", L"Svc"});
    return rows;
}

std::vector<BareRow> bareReadEverySource() {
    std::vector<BareRow> rows;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link));
    link.As(&file);
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring winIni = std::wstring(windows) + L"\\win.ini";
    const std::vector<BareRow> serviceRows = bareReadServiceRows();
    for (SectionId leaf : leavesOf(SectionId::AllPrograms)) {
        const std::wstring key = widen(section(leaf).key);
        if (const auto* registry = sourceAs<RegistrySource>(leaf)) {
            const HKEY root = registry->hive == Hive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
            for (bool enabled : {true, false}) {
                const std::wstring subkey =
                    widen(enabled ? std::string(registry->subkey) : disabledSubkey(registry->subkey));
                if (registry->views == ViewRule::Shared) {
                    readKey(root, 0, subkey, key, enabled, rows);
                } else {
                    readKey(root, KEY_WOW64_64KEY, subkey, key, enabled, rows);
                    readKey(root, KEY_WOW64_32KEY, subkey, key, enabled, rows);
                }
            }
        } else if (const auto* winIniKey = sourceAs<WinIniSource>(leaf)) {
            for (const wchar_t* iniSection : {L"Windows", L"SM_Disabled"}) {
                wchar_t line[4096] = {};
                if (GetPrivateProfileStringW(iniSection, widen(winIniKey->key).c_str(), L"", line, 4096,
                                             winIni.c_str()))
                    rows.push_back({line, line, L"Yes", key, L"Enabled", L"File"});
            }
        } else if (sourceAs<ServiceSource>(leaf)) {
            for (const BareRow& row : serviceRows)
                if (row[3] == key) rows.push_back(row);
        } else if (const auto* folder = sourceAs<FolderSource>(leaf)) {
            wchar_t startup[MAX_PATH] = {};
            const int csidl = folder->folder == ShellFolder::CommonStartup ? CSIDL_COMMON_STARTUP : CSIDL_STARTUP;
            SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, startup);
            readFolder(startup, key, true, link.Get(), file.Get(), rows);
            readFolder(programFolder() + L"\\" + key, key, false, link.Get(), file.Get(), rows);
        }
    }
    return rows;
}

void bareInsert(HWND list, std::vector<BareRow>& rows) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, rows.size(), 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = rows[i][0].data();
        const auto row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        for (std::size_t column = 1; column < rows[i].size(); ++column) {
            LVITEMW cell = {};
            cell.iSubItem = static_cast<int>(column);
            cell.pszText = rows[i][column].data();
            SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        }
        ListView_SetCheckState(list, row, rows[i][4] == L"Enabled");
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
}

}  // namespace lsu::bench
