#include "platform/offline/VolumePaths.h"

#include <sys/stat.h>

#include <cctype>

#include "base/CaseFolding.h"
#include "base/WindowsPaths.h"
#include "platform/offline/Posix.h"

namespace lsu::offline {

namespace {

constexpr char kHostDrive = 'Z';

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::string matchingEntry(const std::string& folder, const std::string& name) {
    if (exists(folder + "/" + name)) return name;
    DirectoryStream entries(folder);
    for (std::string entry = entries.next(); !entry.empty(); entry = entries.next())
        if (equalsNoCase(entry, name)) return entry;
    return {};
}

bool startsWithFolder(const std::string& path, const std::string& folder) {
    return path.size() >= folder.size() && equalsNoCase(path.substr(0, folder.size()), folder) &&
           (path.size() == folder.size() || path[folder.size()] == '\\' || path[folder.size()] == '/');
}

std::string joined(const std::vector<std::string>& names, std::size_t from) {
    std::string path;
    for (std::size_t i = from; i < names.size(); ++i) path += (i > from ? "\\" : "") + names[i];
    return path;
}

// What Windows makes of a path before a file system sees it: "." and empty
// components dropped, ".." taking the one before away, trailing dots and
// spaces cut from each component.
std::vector<std::string> normalized(const std::vector<std::string>& names) {
    std::vector<std::string> kept;
    for (std::string name : names) {
        if (name == "..") {
            if (!kept.empty()) kept.pop_back();
            continue;
        }
        while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
        if (!name.empty()) kept.push_back(name);
    }
    return kept;
}

}  // namespace

VolumePaths::VolumePaths(std::string root, const std::string& systemRoot) : root_(std::move(root)) {
    while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
    const bool hasDrive =
        systemRoot.size() >= 2 && systemRoot[1] == ':' && std::isalpha(static_cast<unsigned char>(systemRoot[0]));
    drive_ = hasDrive ? static_cast<char>(std::toupper(static_cast<unsigned char>(systemRoot[0]))) : 'C';
}

std::string VolumePaths::driveRoot() const { return std::string(1, drive_) + ":\\"; }

std::optional<VolumePaths::Components> VolumePaths::componentsOf(const std::string& windowsPath) const {
    Components path;
    std::string rest;
    if (!outsideWindows_.empty() && startsWithFolder(windowsPath, outsideWindows_)) {
        path.base = outsideHost_;
        rest = windowsPath.substr(outsideWindows_.size());
    } else if (windowsPath.size() >= 2 && windowsPath[1] == ':' &&
               std::toupper(static_cast<unsigned char>(windowsPath[0])) == drive_) {
        path.base = root_;
        rest = windowsPath.substr(2);
    } else {
        return std::nullopt;
    }
    // One separator after the drive or the folder, and one that closes a
    // folder's path, separate nothing.
    if (!rest.empty() && (rest.front() == '\\' || rest.front() == '/')) rest.erase(0, 1);
    if (!rest.empty() && (rest.back() == '\\' || rest.back() == '/')) rest.pop_back();
    for (std::size_t start = 0; !rest.empty() && start <= rest.size();) {
        const std::size_t end = std::min(rest.find_first_of("\\/", start), rest.size());
        path.names.push_back(rest.substr(start, end - start));
        start = end + 1;
    }
    return path;
}

VolumePaths::Located VolumePaths::locate(const Components& path) const {
    Located located;
    std::string host = path.base;
    bool found = true;
    for (std::size_t i = 0; i < path.names.size(); ++i) {
        const std::string& name = path.names[i];
        const bool plainLastName = i + 1 == path.names.size() && !fileNameFault(name);
        if (found && !plainLastName && !located.listed && exists(host + "/" + joined(path.names, i)))
            located.listed = host + "/" + joined(path.names, i);
        if (fileNameFault(name)) return located;
        const std::string entry = found ? matchingEntry(host, name) : std::string();
        found = !entry.empty();
        host += "/" + (found ? entry : name);
    }
    located.named = host;
    return located;
}

std::optional<std::string> VolumePaths::hostPath(const std::string& windowsPath) const {
    auto path = componentsOf(windowsPath);
    if (!path) return std::nullopt;
    const Located located = locate(*path);
    if (located.named && exists(*located.named)) return located.named;
    return located.listed ? located.listed : located.named;
}

std::optional<std::string> VolumePaths::hostPathAsWindowsFindsIt(const std::string& windowsPath) const {
    auto exact = hostPath(windowsPath);
    if (exact && exists(*exact)) return exact;
    auto path = componentsOf(windowsPath);
    if (!path) return std::nullopt;
    const Components asWindowsFindsIt{path->base, normalized(path->names)};
    if (asWindowsFindsIt.names == path->names) return exact;
    return locate(asWindowsFindsIt).named;
}

Result<VolumePaths::ChangePlace> VolumePaths::changePlace(const std::string& windowsPath) const {
    auto path = componentsOf(windowsPath);
    if (!path || path->names.empty())
        return Error{ErrorKind::OffTheVolume, 0, windowsPath + " is not on the offline Windows volume."};
    const Located located = locate(*path);
    if (located.listed)
        return Error{ErrorKind::UnsafeName, 0,
                     "\"" + located.listed->substr(located.listed->find_last_of('/') + 1) +
                         "\" is a name Windows cannot give a file, so it is not changed here: remove or rename " +
                         *located.listed + " by hand."};
    for (const std::string& name : path->names) {
        if (!fileNameFault(name)) continue;
        std::string reason = "\"";
        reason.append(name).append("\" in ").append(windowsPath);
        return Error{ErrorKind::UnsafeName, 0, reason + " is not a name Windows can give a file or folder."};
    }
    const std::size_t slash = located.named->find_last_of('/');
    return ChangePlace{located.named->substr(0, slash), located.named->substr(slash + 1)};
}

Result<HeldFolder> VolumePaths::holdFolder(const std::string& hostFolder) const {
    std::vector<std::string> places = {root_};
    if (!outsideHost_.empty()) places.push_back(outsideHost_);
    return HeldFolder::hold(hostFolder, places);
}

std::string VolumePaths::mapProgramFolder(const std::string& hostFolder) {
    std::string folder = hostFolder;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const bool onVolume =
        folder == root_ ||
        (folder.size() > root_.size() && folder.compare(0, root_.size(), root_) == 0 && folder[root_.size()] == '/');
    std::string windows = onVolume ? std::string(1, drive_) + ":" + folder.substr(root_.size())
                                   : std::string(1, kHostDrive) + ":" + folder;
    for (char& c : windows)
        if (c == '/') c = '\\';
    if (windows.size() == 2) windows += '\\';
    if (!onVolume) {
        outsideWindows_ = windows;
        outsideHost_ = folder;
    }
    return windows;
}

}  // namespace lsu::offline
