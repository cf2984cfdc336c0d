#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <optional>

#include "base/WindowsPaths.h"
#include "platform/LinkPlacement.h"
#include "platform/win32/ShellThread.h"
#include "platform/win32/ShortcutTemplate.h"
#include "platform/win32/SystemErrors.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"

namespace lsu {

using win32::narrow;
using win32::newLink;
using win32::OpenLink;
using win32::widen;

namespace {

HRESULT openLink(const std::string& path, DWORD mode, OpenLink& open) {
    const HRESULT created = newLink(open);
    return SUCCEEDED(created) ? open.file->Load(widen(path).c_str(), mode) : created;
}

HRESULT saveFields(OpenLink& open, const std::string& linkFile, const ShortcutFields& fields) {
    IShellLinkW* link = open.link.Get();
    HRESULT result = link->SetPath(widen(fields.targetPath).c_str());
    if (SUCCEEDED(result)) result = link->SetArguments(widen(fields.arguments).c_str());
    if (SUCCEEDED(result)) result = link->SetDescription(widen(fields.description).c_str());
    if (SUCCEEDED(result) && fields.hotKey != 0) result = link->SetHotkey(static_cast<WORD>(fields.hotKey));
    if (SUCCEEDED(result)) result = link->SetShowCmd(fields.showCmd);
    if (SUCCEEDED(result)) result = link->SetWorkingDirectory(widen(fields.workDir).c_str());
    if (SUCCEEDED(result) && !fields.iconFile.empty())
        result = link->SetIconLocation(widen(fields.iconFile).c_str(), fields.iconIndex);
    return SUCCEEDED(result) ? open.file->Save(widen(linkFile).c_str(), TRUE) : result;
}

template <typename Getter>
std::string readText(Getter getter) {
    std::wstring buffer(INFOTIPSIZE + MAX_PATH, L'\0');
    if (FAILED(getter(buffer.data(), static_cast<int>(buffer.size())))) return {};
    buffer.resize(wcsnlen(buffer.c_str(), buffer.size()));
    return narrow(buffer);
}

// The shell shows a link under its file name without the extension, unless
// the folder's desktop.ini gives the file a localised name; only then is the
// shell asked, which costs more than reading the link.
std::string displayNameOf(const std::string& path, bool folderHoldsDesktopIni) {
    const std::wstring wide = widen(path);
    const std::size_t slash = wide.find_last_of(L'\\');
    const std::wstring desktopIni = wide.substr(0, slash) + L"\\desktop.ini";
    wchar_t localised[2] = {};
    SHFILEINFOW info = {};
    if (slash != std::wstring::npos && folderHoldsDesktopIni &&
        GetPrivateProfileStringW(L"LocalizedFileNames", wide.c_str() + slash + 1, L"", localised, 2,
                                 desktopIni.c_str()) > 0 &&
        SHGetFileInfoW(wide.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) && info.szDisplayName[0])
        return narrow(info.szDisplayName);
    return std::string(stemOf(fileNameOf(path)));
}

}  // namespace

std::optional<ShortcutInfo> Win32Platform::readShortcut(const std::string& linkFile) {
    // A thread without a link object of its own enters the shell for this link.
    std::optional<win32::ShellThread> shell;
    if (!win32::ShellThread::linkReader()) shell.emplace();
    OpenLink* reader = win32::ShellThread::linkReader();
    if (!reader || FAILED(reader->file->Load(widen(linkFile).c_str(), STGM_READ))) return std::nullopt;
    IShellLinkW* link = reader->link.Get();
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
    info.displayName = displayNameOf(linkFile, holdsDesktopIni(parentFolderOf(linkFile)));
    return info;
}

namespace {

// The strings a mis-saved link would have shifted: read back what was written.
bool holdsFields(Win32Platform& platform, const std::string& linkFile, const ShortcutFields& fields) {
    auto info = platform.readShortcut(linkFile);
    return info && info->fields.arguments == fields.arguments && info->fields.workDir == fields.workDir &&
           info->fields.description == fields.description;
}

// Opens the link in the file, sets the fields (hot key and icon only when
// given) and saves it in place.
Status completeShortcut(Win32Platform& platform, const std::string& linkFile, const ShortcutFields& fields) {
    OpenLink loaded;
    HRESULT result = openLink(linkFile, STGM_READWRITE, loaded);
    if (FAILED(result)) return win32::resultOfCom(result);
    result = saveFields(loaded, linkFile, fields);
    if (SUCCEEDED(result) && holdsFields(platform, linkFile, fields)) return {};
    // Some shells save a relative path loaded from the file without its flag,
    // which shifts every later string of the link by one; a link object that
    // starts empty has no relative path to write.
    OpenLink fresh;
    result = newLink(fresh);
    if (SUCCEEDED(result)) result = saveFields(fresh, linkFile, fields);
    if (FAILED(result)) return win32::resultOfCom(result);
    if (!holdsFields(platform, linkFile, fields))
        return Error{ErrorKind::ReadBackMismatch, ERROR_INVALID_DATA, win32::systemMessage(ERROR_INVALID_DATA)};
    return {};
}

}  // namespace

// As the system's own links are made: the template, completed by the shell's
// link object.
Status Win32Platform::writeShortcut(const std::string& linkFile, const ShortcutFields& fields, bool replace) {
    removeStaleTemporaries(parentFolderOf(linkFile));
    return placeLink(*this, linkFile, replace, [&](const std::string& temporary) {
        const auto& bytes = win32::linkTemplate();
        if (Status written = writeFile(temporary, Bytes(bytes.begin(), bytes.end())); !written) return written;
        return completeShortcut(*this, temporary, fields);
    });
}

}  // namespace lsu
