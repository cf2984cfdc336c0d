#include "platform/offline/VolumePaths.h"

#include <sys/stat.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <vector>

#include "base/CaseFolding.h"
#include "platform/offline/Posix.h"

namespace lsu::offline {

namespace {

constexpr char kHostDrive = 'Z';

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// Windows drops trailing dots and spaces from each component.
std::string withoutTrailingDotsAndSpaces(std::string component) {
    if (component == "." || component == "..") return component;
    while (!component.empty() && (component.back() == '.' || component.back() == ' ')) component.pop_back();
    return component;
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

}  // namespace

VolumePaths::VolumePaths(std::string root, const std::string& systemRoot) : root_(std::move(root)) {
    while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
    const bool hasDrive = systemRoot.size() >= 2 && systemRoot[1] == ':' && std::isalpha(static_cast<unsigned char>(systemRoot[0]));
    drive_ = hasDrive ? static_cast<char>(std::toupper(static_cast<unsigned char>(systemRoot[0]))) : 'C';
}

std::string VolumePaths::driveRoot() const { return std::string(1, drive_) + ":\\"; }

std::string VolumePaths::resolveBelow(std::string base, const std::string& rest) const {
    std::vector<std::string> components;
    std::string component;
    for (std::size_t at = 0; at <= rest.size(); ++at) {
        if (at < rest.size() && rest[at] != '\\' && rest[at] != '/') {
            component += rest[at];
            continue;
        }
        component = withoutTrailingDotsAndSpaces(component);
        if (component == "..") {
            if (!components.empty()) components.pop_back();
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
        }
        component.clear();
    }
    bool found = true;
    for (const std::string& name : components) {
        const std::string entry = found ? matchingEntry(base, name) : std::string();
        found = !entry.empty();
        base += "/" + (found ? entry : name);
    }
    return base;
}

std::optional<std::string> VolumePaths::hostPath(const std::string& windowsPath) const {
    if (!outsideWindows_.empty() && startsWithFolder(windowsPath, outsideWindows_))
        return resolveBelow(outsideHost_, windowsPath.substr(outsideWindows_.size()));
    if (windowsPath.size() < 2 || windowsPath[1] != ':' ||
        std::toupper(static_cast<unsigned char>(windowsPath[0])) != drive_)
        return std::nullopt;
    return resolveBelow(root_, windowsPath.substr(2));
}

std::string VolumePaths::mapProgramFolder(const std::string& hostFolder) {
    std::string folder = hostFolder;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const bool onVolume = folder == root_ || (folder.size() > root_.size() && folder.compare(0, root_.size(), root_) == 0 &&
                                              folder[root_.size()] == '/');
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

bool VolumePaths::staysInside(const std::string& host) const {
    std::string existing = host;
    char resolved[PATH_MAX];
    while (!::realpath(existing.c_str(), resolved)) {
        if (existing == "/" || existing == ".") return false;
        existing = parentFolder(existing);
    }
    const std::string real = resolved;
    auto below = [&](const std::string& folder) {
        return !folder.empty() && (real == folder || real.starts_with(folder + "/"));
    };
    return below(root_) || below(outsideHost_);
}

}  // namespace lsu::offline
