#include <windows.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include "catalog/DisabledStores.h"
#include "catalog/ParkedServices.h"
#include "catalog/StartupSwitches.h"
#include "platform/win32/Owned.h"
#include "platform/win32/WideText.h"
#include "support/Seed.h"
#include "win32/Win32Backend.h"

namespace lsu::test {

namespace {

using Microsoft::WRL::ComPtr;
using win32::widen;

std::vector<RegistryView> viewsOf(const RegistrySource& source) {
    if (source.views == ViewRule::Shared) return {RegistryView::Shared};
    return {RegistryView::Bits64, RegistryView::Bits32};
}

// Values and subkeys go; the key itself stays, as on a fresh system.
void emptyKey(const RegistryLocation& location) {
    const REGSAM view = location.view == RegistryView::Bits32   ? KEY_WOW64_32KEY
                        : location.view == RegistryView::Bits64 ? KEY_WOW64_64KEY
                                                                : 0;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(location.hive == Hive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                      widen(location.subkey).c_str(), 0, KEY_ALL_ACCESS | view, &opened) != ERROR_SUCCESS)
        return;
    win32::RegistryKey key(opened);
    RegDeleteTreeW(key.get(), nullptr);
}

// Everything in the folder goes, hidden and system files and subfolders too.
void emptyFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    win32::FindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            const std::wstring doubleNul = path + L'\0';
            SHFILEOPSTRUCTW operation = {};
            operation.wFunc = FO_DELETE;
            operation.pFrom = doubleNul.c_str();
            operation.fFlags = FOF_NO_UI;
            SHFileOperationW(&operation);
        } else {
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
    } while (FindNextFileW(find.get(), &found));
}

// Empties every start-up source of the throwaway prefix, so that each test
// starts from nothing, whatever an earlier test or Wine itself left there.
void emptyEverySource(Win32Platform& platform) {
    expectDone(ensureDisabledItemsFolders(platform, platform), "making the disabled-items folders");
    for (SectionId leaf : leavesOf(SectionId::AllPrograms)) {
        if (const auto* registry = sourceAs<RegistrySource>(leaf)) {
            for (const std::string& subkey : {std::string(registry->subkey), disabledSubkey(registry->subkey)})
                for (RegistryView view : viewsOf(*registry)) emptyKey({registry->hive, view, subkey});
            // Windows' switches of the entries, which a test may have turned off.
            for (RegistryView view : viewsOf(*registry))
                if (const auto switches = switchKeyOf(leaf, view)) emptyKey(*switches);
        } else if (const auto* winIni = sourceAs<WinIniSource>(leaf)) {
            for (std::string_view iniSection : {kWinIniEnabledSection, kWinIniDisabledSection})
                expectDone(
                    platform.writeProfile(std::string(iniSection), std::string(winIni->key), "", winIniPath(platform)),
                    "emptying win.ini");
        } else if (const auto* source = sourceAs<FolderSource>(leaf)) {
            const std::string live = platform.shellFolder(source->folder);
            for (const std::string& folder :
                 {live, disabledItemsFolder(platform, leaf), disabledItemsFolderBesideProgram(platform, leaf)})
                if (!folder.empty()) emptyFolder(widen(folder));
        } else if (const auto* apps = sourceAs<PackagedAppSource>(leaf)) {
            for (std::string_view subkey : {apps->packages, apps->switches})
                emptyKey({Hive::CurrentUser, RegistryView::Shared, std::string(subkey)});
        }
    }
    emptyKey({Hive::LocalMachine, RegistryView::Bits64, kParkedServicesKey});
    // The journal of changes and the inventory the window last showed.
    const std::wstring userData = widen(platform.shellFolder(ShellFolder::LocalAppData)) + L"\\LStartUp\\";
    for (const wchar_t* name : {L"journal.jsonl", L"last-look.json"}) {
        DeleteFileW((userData + name).c_str());
        RemoveDirectoryW((userData + name).c_str());
    }
}

void deleteService(const std::string& name) {
    win32::ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    win32::ServiceHandle service(manager ? OpenServiceW(manager.get(), widen(name).c_str(), DELETE) : nullptr);
    if (!service || !DeleteService(service.get())) ADD_FAILURE() << "the service " << name << " stayed";
}

}  // namespace

// Each test starts from nothing and leaves nothing behind.
Win32Backend::Win32Backend() { emptyEverySource(platform_); }
Win32Backend::~Win32Backend() {
    emptyEverySource(platform_);
    for (const std::string& name : services_) deleteService(name);
}

void Win32Backend::seedService(const ServiceConfig& service) {
    win32::ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
    win32::ServiceHandle created(
        manager ? CreateServiceW(manager.get(), widen(service.name).c_str(), widen(service.displayName).c_str(),
                                 SERVICE_ALL_ACCESS, service.type, service.startType, SERVICE_ERROR_NORMAL,
                                 widen(service.imagePath).c_str(), nullptr, nullptr, nullptr, nullptr, nullptr)
                : nullptr);
    if (!created) {
        ADD_FAILURE() << "the service manager did not create " << service.name << " (error " << GetLastError() << ")";
        return;
    }
    services_.push_back(service.name);
    const std::string key = "SYSTEM\\CurrentControlSet\\Services\\" + service.name;
    if (service.delayed)
        expectDone(platform_.setServiceStart(service.name, service.startType, true), "delaying " + service.name);
    if (!service.serviceDll.empty())
        expectDone(platform_.writeValue({Hive::LocalMachine, RegistryView::Bits64, key + "\\Parameters"},
                                        stringValue("ServiceDll", service.serviceDll, kRegExpandSz), true),
                   "naming the library of " + service.name);
}

void Win32Backend::seedShortcut(const std::string& path, const ShortcutFields& fields) {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    const bool saved =
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) &&
        SUCCEEDED(link.As(&file)) && SUCCEEDED(link->SetPath(widen(fields.targetPath).c_str())) &&
        SUCCEEDED(link->SetArguments(widen(fields.arguments).c_str())) &&
        SUCCEEDED(link->SetDescription(widen(fields.description).c_str())) &&
        SUCCEEDED(link->SetWorkingDirectory(widen(fields.workDir).c_str())) &&
        SUCCEEDED(link->SetShowCmd(fields.showCmd)) &&
        (!fields.hotKey || SUCCEEDED(link->SetHotkey(static_cast<WORD>(fields.hotKey)))) &&
        (fields.iconFile.empty() ||
         SUCCEEDED(link->SetIconLocation(widen(fields.iconFile).c_str(), fields.iconIndex))) &&
        SUCCEEDED(file->Save(widen(path).c_str(), TRUE));
    if (!saved) ADD_FAILURE() << "the shell's link object could not write " << path;
}

std::unique_ptr<Backend> makeCleanBackend() { return std::make_unique<Win32Backend>(); }

// Wine's own programs name their maker as Windows' do.
ProgramWithPublisher seedProgramWithPublisher(Backend& backend) {
    return {backend.ports().system.windowsDirectory() + "\\regedit.exe", "Microsoft Corporation"};
}

}  // namespace lsu::test
