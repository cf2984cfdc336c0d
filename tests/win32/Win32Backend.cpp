#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include "catalog/DisabledStores.h"
#include "catalog/Sections.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"
#include "support/Backend.h"

namespace lsu::test {

namespace {

using Microsoft::WRL::ComPtr;
using win32::widen;

// Empties every start-up source of the throwaway prefix, so that each test
// starts from nothing, whatever an earlier test or Wine itself left there.
void emptyEverySource(Platform& platform) {
    for (const auto& section : registrySections()) {
        const std::vector<RegistryView> views = section.hive == Hive::CurrentUser
                                                    ? std::vector<RegistryView>{RegistryView::Shared}
                                                    : std::vector<RegistryView>{RegistryView::Bits64, RegistryView::Bits32};
        for (const std::string& subkey : {std::string(section.subkey), disabledSubkey(section.subkey)})
            for (RegistryView view : views) {
                RegistryLocation location{section.hive, view, subkey};
                if (auto values = platform.readValues(location))
                    for (const auto& value : *values) platform.deleteValue(location, value.name);
                HKEY root = section.hive == Hive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
                REGSAM flag = view == RegistryView::Bits32 ? KEY_WOW64_32KEY : view == RegistryView::Bits64 ? KEY_WOW64_64KEY : 0;
                HKEY key = nullptr;
                if (RegOpenKeyExW(root, widen(subkey).c_str(), 0, KEY_ALL_ACCESS | flag, &key) == ERROR_SUCCESS) {
                    RegDeleteTreeW(key, nullptr);
                    RegCloseKey(key);
                }
            }
    }
    const std::string winIni = winIniPath(platform);
    for (const char* iniSection : {"Windows", "SM_Disabled"})
        for (const char* key : {"Load", "Run"}) platform.writeProfile(iniSection, key, "", winIni);
    ensureDisabledItemsFolders(platform);
    for (const std::string& folder :
         {platform.specialFolder(kCsidlStartup), platform.specialFolder(kCsidlCommonStartup),
          disabledItemsFolder(platform, kStartupAllUsers), disabledItemsFolder(platform, kStartupCurrentUser)}) {
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((widen(folder) + L"\\*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            std::wstring path = widen(folder) + L"\\" + found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L"..")) {
                    std::wstring doubleNul = path + L'\0';
                    SHFILEOPSTRUCTW op = {};
                    op.wFunc = FO_DELETE;
                    op.pFrom = doubleNul.c_str();
                    op.fFlags = FOF_NO_UI;
                    SHFileOperationW(&op);
                }
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
}

class Win32Backend : public Backend {
public:
    Win32Backend() { emptyEverySource(platform_); }
    Platform& platform() override { return platform_; }
    void seedShortcut(const std::string& path, const ShortcutFields& fields) override {
        ComPtr<IShellLinkW> link;
        ComPtr<IPersistFile> file;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
            FAILED(link.As(&file)))
            return;
        link->SetPath(widen(fields.targetPath).c_str());
        link->SetArguments(widen(fields.arguments).c_str());
        link->SetDescription(widen(fields.description).c_str());
        link->SetWorkingDirectory(widen(fields.workDir).c_str());
        link->SetShowCmd(fields.showCmd);
        if (fields.hotKey) link->SetHotkey(static_cast<WORD>(fields.hotKey));
        if (!fields.iconFile.empty()) link->SetIconLocation(widen(fields.iconFile).c_str(), fields.iconIndex);
        file->Save(widen(path).c_str(), TRUE);
    }
    const char* name() const override { return "win32"; }

private:
    Win32Platform platform_;
};

}  // namespace

std::unique_ptr<Backend> makeCleanBackend() { return std::make_unique<Win32Backend>(); }

}  // namespace lsu::test
