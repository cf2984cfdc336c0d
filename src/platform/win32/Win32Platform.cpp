#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

#include <algorithm>

#include "platform/win32/Owned.h"
#include "platform/win32/SystemErrors.h"
#include "platform/win32/WideText.h"

namespace lsu {

using win32::FileHandle;
using win32::FindHandle;
using win32::narrow;
using win32::resultOfCall;
using win32::widen;

namespace {

std::optional<DWORD> attributesOf(const std::string& path) {
    if (path.empty()) return std::nullopt;
    DWORD attributes = GetFileAttributesW(widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

std::wstring modulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

// Profile -------------------------------------------------------------------

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

// Folders and files -----------------------------------------------------------

std::string Win32Platform::specialFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
    return narrow(path);
}

std::string Win32Platform::windowsDirectory() {
    wchar_t path[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return narrow(std::wstring_view(path, length));
}

std::string Win32Platform::programFolder() {
    std::wstring path = modulePath();
    return narrow(path.substr(0, path.find_last_of(L'\\')));
}

std::string Win32Platform::programFileName() {
    std::wstring path = modulePath();
    return narrow(path.substr(path.find_last_of(L'\\') + 1));
}

bool Win32Platform::fileExists(const std::string& path) {
    auto attributes = attributesOf(path);
    return attributes && !(*attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Platform::folderExists(const std::string& path) {
    auto attributes = attributesOf(path);
    return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Status Win32Platform::ensureFolder(const std::string& path) {
    if (folderExists(path)) return {};
    Status created = resultOfCall(CreateDirectoryW(widen(path).c_str(), nullptr));
    // Another program may have made it in the meantime.
    if (!created && folderExists(path)) return {};
    return created;
}

std::vector<std::string> Win32Platform::listFiles(const std::string& folder) {
    // An empty folder name would make the pattern "\*", the root of the current drive.
    if (folder.empty()) return {};
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const std::wstring pattern = widen(folder) + L"\\*";
    FindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!find) return {};
    bool desktopIni = false;
    do {
        const DWORD skip = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if (!(found.dwFileAttributes & skip)) names.emplace_back(found.cFileName);
        desktopIni = desktopIni || CompareStringOrdinal(found.cFileName, -1, L"desktop.ini", -1, TRUE) == CSTR_EQUAL;
    } while (FindNextFileW(find.get(), &found));
    {
        std::lock_guard lock(listedMutex_);
        listedDesktopIni_[folder] = desktopIni;
    }
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                    TRUE) == CSTR_LESS_THAN;
    });
    std::vector<std::string> result;
    result.reserve(names.size());
    for (const auto& name : names) result.push_back(narrow(name));
    return result;
}

bool Win32Platform::holdsDesktopIni(const std::string& folder) {
    {
        std::lock_guard lock(listedMutex_);
        if (auto listed = listedDesktopIni_.find(folder); listed != listedDesktopIni_.end()) return listed->second;
    }
    return GetFileAttributesW((widen(folder) + L"\\desktop.ini").c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::vector<std::uint8_t>> Win32Platform::readFile(const std::string& path) {
    FileHandle file(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        return std::nullopt;
    return bytes;
}

Status Win32Platform::writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    FileHandle file(CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) return resultOfCall(FALSE);
    DWORD written = 0;
    if (!bytes.empty()) {
        if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
            return resultOfCall(FALSE);
        if (written != bytes.size()) return win32::resultOf(ERROR_HANDLE_DISK_FULL);
    }
    return resultOfCall(FlushFileBuffers(file.get()));
}

Status Win32Platform::deleteFile(const std::string& path) { return resultOfCall(DeleteFileW(widen(path).c_str())); }

Status Win32Platform::moveFile(const std::string& from, const std::string& to, bool replace) {
    DWORD flags = MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    return resultOfCall(MoveFileExW(widen(from).c_str(), widen(to).c_str(), flags));
}

Status Win32Platform::setHidden(const std::string& path) {
    return resultOfCall(SetFileAttributesW(widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
}

std::string Win32Platform::expandEnvironment(const std::string& text) {
    const std::wstring wide = widen(text);
    DWORD size = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    if (size == 0) return text;
    std::wstring expanded(size, L'\0');
    DWORD length = ExpandEnvironmentStringsW(wide.c_str(), expanded.data(), size);
    if (length == 0 || length > size) return text;
    expanded.resize(length - 1);
    return narrow(expanded);
}

// Shell -----------------------------------------------------------------------

Status Win32Platform::shellOpen(const std::string& file, const std::string& parameters, const std::string& directory,
                                int showCommand) {
    const std::wstring wideFile = widen(file), wideParameters = widen(parameters), wideDirectory = widen(directory);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = wideFile.c_str();
    info.lpParameters = wideParameters.empty() ? nullptr : wideParameters.c_str();
    info.lpDirectory = wideDirectory.empty() ? nullptr : wideDirectory.c_str();
    info.nShow = showCommand;
    return resultOfCall(ShellExecuteExW(&info));
}

}  // namespace lsu
