#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include "platform/win32/Win32Platform.h"
#include "platform/win32/WideText.h"

namespace lsu {

using Microsoft::WRL::ComPtr;
using win32::narrow;
using win32::widen;

namespace {

struct OpenLink {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
};

std::optional<OpenLink> newLink() {
    OpenLink open;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&open.link))) ||
        FAILED(open.link.As(&open.file)))
        return std::nullopt;
    return open;
}

std::optional<OpenLink> openLink(const std::string& path, DWORD mode) {
    auto open = newLink();
    if (!open || FAILED(open->file->Load(widen(path).c_str(), mode))) return std::nullopt;
    return open;
}

bool saveFields(OpenLink& open, const std::string& linkFile, const ShortcutFields& fields) {
    IShellLinkW* link = open.link.Get();
    if (FAILED(link->SetPath(widen(fields.targetPath).c_str())) ||
        FAILED(link->SetArguments(widen(fields.arguments).c_str())) ||
        FAILED(link->SetDescription(widen(fields.description).c_str())) ||
        (fields.hotKey != 0 && FAILED(link->SetHotkey(static_cast<WORD>(fields.hotKey)))) ||
        FAILED(link->SetShowCmd(fields.showCmd)) || FAILED(link->SetWorkingDirectory(widen(fields.workDir).c_str())) ||
        (!fields.iconFile.empty() && FAILED(link->SetIconLocation(widen(fields.iconFile).c_str(), fields.iconIndex))))
        return false;
    return SUCCEEDED(open.file->Save(widen(linkFile).c_str(), TRUE));
}

template <typename Getter>
std::string readText(Getter getter) {
    std::wstring buffer(INFOTIPSIZE + MAX_PATH, L'\0');
    if (FAILED(getter(buffer.data(), static_cast<int>(buffer.size())))) return {};
    buffer.resize(wcsnlen(buffer.c_str(), buffer.size()));
    return narrow(buffer);
}

std::string fileNameWithoutLinkExtension(const std::string& path) {
    std::string name = path.substr(path.find_last_of('\\') + 1);
    auto dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// The name the shell shows (localised names included); the file name
// without its extension when the shell gives none.
std::string displayNameOf(const std::string& path) {
    SHFILEINFOW info = {};
    if (SHGetFileInfoW(widen(path).c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) && info.szDisplayName[0])
        return narrow(info.szDisplayName);
    return fileNameWithoutLinkExtension(path);
}

}  // namespace

std::optional<ShortcutInfo> Win32Platform::readShortcut(const std::string& linkFile) {
    auto open = openLink(linkFile, STGM_READ);
    if (!open) return std::nullopt;
    IShellLinkW* link = open->link.Get();
    ShortcutInfo info;
    info.fields.targetPath = readText([&](wchar_t* b, int n) { return link->GetPath(b, n, nullptr, SLGP_RAWPATH); });
    info.fields.arguments = readText([&](wchar_t* b, int n) { return link->GetArguments(b, n); });
    info.fields.description = readText([&](wchar_t* b, int n) { return link->GetDescription(b, n); });
    info.fields.workDir = readText([&](wchar_t* b, int n) { return link->GetWorkingDirectory(b, n); });
    int iconIndex = 0;
    info.fields.iconFile = readText([&](wchar_t* b, int n) { return link->GetIconLocation(b, n, &iconIndex); });
    info.fields.iconIndex = iconIndex;
    WORD hotKey = 0;
    if (SUCCEEDED(link->GetHotkey(&hotKey))) info.fields.hotKey = hotKey;
    int showCmd = SW_SHOWNORMAL;
    if (SUCCEEDED(link->GetShowCmd(&showCmd))) info.fields.showCmd = showCmd;
    info.displayName = displayNameOf(linkFile);
    return info;
}

namespace {

// The strings a mis-saved link would have shifted: read back what was written.
bool holdsFields(Win32Platform& platform, const std::string& linkFile, const ShortcutFields& fields) {
    auto info = platform.readShortcut(linkFile);
    return info && info->fields.arguments == fields.arguments && info->fields.workDir == fields.workDir &&
           info->fields.description == fields.description;
}

}  // namespace

bool Win32Platform::completeShortcut(const std::string& linkFile, const ShortcutFields& fields) {
    auto loaded = openLink(linkFile, STGM_READWRITE);
    if (!loaded) return false;
    if (saveFields(*loaded, linkFile, fields) && holdsFields(*this, linkFile, fields)) return true;
    // Some shells save a relative path loaded from the file without its flag,
    // which shifts every later string of the link by one; a link object that
    // starts empty has no relative path to write.
    auto fresh = newLink();
    return fresh && saveFields(*fresh, linkFile, fields) && holdsFields(*this, linkFile, fields);
}

}  // namespace lsu
