#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <algorithm>

#include "base/WindowsPaths.h"
#include "platform/TemporaryNames.h"
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

}  // namespace

bool Win32Platform::fileExists(const std::string& path) {
    auto attributes = attributesOf(path);
    return attributes && !(*attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Platform::folderExists(const std::string& path) {
    auto attributes = attributesOf(path);
    return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Status Win32Platform::removeFolder(const std::string& path) {
    return resultOfCall(RemoveDirectoryW(widen(path).c_str()));
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
        if (!(found.dwFileAttributes & skip) && !isTemporaryName(narrow(found.cFileName)))
            names.emplace_back(found.cFileName);
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

Result<Bytes> Win32Platform::readFileUpTo(const std::string& path, std::size_t limit) {
    FileHandle file(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return resultOfCall(FALSE).error();
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) return resultOfCall(FALSE).error();
    if (size.QuadPart > 0x7FFFFFFF || static_cast<std::uint64_t>(size.QuadPart) > limit)
        return win32::errorOf(ERROR_FILE_TOO_LARGE);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return resultOfCall(FALSE).error();
    if (read != bytes.size()) return win32::errorOf(ERROR_HANDLE_EOF);
    return bytes;
}

Result<Bytes> Win32Platform::readFile(const std::string& path) { return readFileUpTo(path, SIZE_MAX); }

namespace {

// Writes the bytes to a file made with the disposition and attributes given,
// and flushes them to the disk.
Status writeNewBytes(const std::string& path, const Bytes& bytes, DWORD disposition, DWORD attributes) {
    FileHandle file(CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, disposition, attributes, nullptr));
    if (!file) return resultOfCall(FALSE);
    DWORD written = 0;
    if (!bytes.empty()) {
        if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
            return resultOfCall(FALSE);
        if (written != bytes.size()) return win32::resultOf(ERROR_HANDLE_DISK_FULL);
    }
    return resultOfCall(FlushFileBuffers(file.get()));
}

}  // namespace

Status Win32Platform::writeFile(const std::string& path, const Bytes& bytes) {
    return writeNewBytes(path, bytes, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
}

Status Win32Platform::createHiddenFile(const std::string& path, const Bytes& bytes) {
    return writeNewBytes(path, bytes, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN);
}

Status Win32Platform::deleteFile(const std::string& path) { return resultOfCall(DeleteFileW(widen(path).c_str())); }

Status Win32Platform::moveFile(const std::string& from, const std::string& to, bool replace) {
    DWORD flags = MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    return resultOfCall(MoveFileExW(widen(from).c_str(), widen(to).c_str(), flags));
}

// A file that stands is asked for the rights a change takes, as every other
// program's sharing allows: what holds it open without letting it be
// removed, or a read-only file, refuses now. A file still to be made is
// known only by trying.
Status Win32Platform::checkChange(const std::string& path) {
    FileHandle file(CreateFileW(widen(path).c_str(), DELETE | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (file) return {};
    Status opened = resultOfCall(FALSE);
    return opened.error().kind == ErrorKind::NotFound ? Status() : opened;
}

std::string Win32Platform::pathToShow(const std::string& folder, const std::string& name) {
    return withTrailingBackslash(folder) + name;
}

void Win32Platform::removeStaleTemporaries(const std::string& folder) {
    WIN32_FIND_DATAW found;
    FindHandle find(FindFirstFileExW((widen(folder) + L"\\.*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                     nullptr, 0));
    if (!find) return;
    do {
        // What another run holds open cannot be removed, and stays.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && isTemporaryName(narrow(found.cFileName)))
            DeleteFileW((widen(folder) + L"\\" + found.cFileName).c_str());
    } while (FindNextFileW(find.get(), &found));
}

}  // namespace lsu
