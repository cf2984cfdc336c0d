#include "platform/offline/HostFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "base/CaseFolding.h"
#include "platform/offline/Posix.h"

namespace lsu::offline {

namespace {

// ntfs-3g and the kernel's ntfs3 both expose the attributes, in either byte order.
constexpr const char* kAttributesBigEndian = "system.ntfs_attrib_be";

std::optional<struct stat> statOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return info;
}

std::string fileNameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

}  // namespace

bool isPlainFile(const std::string& path) {
    auto info = statOf(path);
    return info && S_ISREG(info->st_mode);
}

bool isFolder(const std::string& path) {
    auto info = statOf(path);
    return info && S_ISDIR(info->st_mode);
}

std::optional<std::uint32_t> ntfsAttributes(const std::string& path) {
    std::array<unsigned char, 4> raw{};
    if (::getxattr(path.c_str(), kAttributesBigEndian, raw.data(), raw.size()) != static_cast<ssize_t>(raw.size()))
        return std::nullopt;
    return (std::uint32_t{raw[0]} << 24) | (std::uint32_t{raw[1]} << 16) | (std::uint32_t{raw[2]} << 8) | raw[3];
}

Status setNtfsAttributes(const std::string& path, std::uint32_t attributes) {
    const std::array<unsigned char, 4> raw = {static_cast<unsigned char>(attributes >> 24),
                                              static_cast<unsigned char>(attributes >> 16),
                                              static_cast<unsigned char>(attributes >> 8),
                                              static_cast<unsigned char>(attributes)};
    if (::setxattr(path.c_str(), kAttributesBigEndian, raw.data(), raw.size(), 0) != 0)
        return errnoResult("setting the attributes of " + path);
    return {};
}

std::vector<std::string> visibleFiles(const std::string& folder) {
    std::vector<std::string> names;
    DirectoryStream entries(folder);
    for (std::string name = entries.next(); !name.empty(); name = entries.next()) {
        const std::string path = childPath(folder, name);
        if (!isPlainFile(path) || equalsNoCase(name, "desktop.ini")) continue;
        if (ntfsAttributes(path).value_or(0) & (kAttributeHidden | kAttributeSystem)) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(), lessNoCase);
    return names;
}

Status replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    TemporaryFile temporary(parentFolder(path), "." + fileNameOf(path));
    if (!temporary.ok()) return errnoResult("creating a file beside " + path);
    auto before = statOf(path);
    ::fchmod(temporary.fd(), before ? before->st_mode & 07777 : 0644);
    if (Status written = writeAll(temporary.fd(), bytes.data(), bytes.size(), temporary.path()); !written)
        return written;
    if (auto attributes = ntfsAttributes(path)) (void)setNtfsAttributes(temporary.path(), *attributes);
    return temporary.putInPlaceOf(path);
}

Status makeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) != 0 && !(errno == EEXIST && isFolder(path)))
        return errnoResult("creating the folder " + path);
    return {};
}

Status removeFile(const std::string& path) {
    if (!isPlainFile(path)) return errnoResult(ENOENT, "deleting " + path);
    if (::unlink(path.c_str()) != 0) return errnoResult("deleting " + path);
    syncFolder(parentFolder(path));
    return {};
}

Status renameFile(const std::string& from, const std::string& to, bool replace) {
    if (!isPlainFile(from)) return errnoResult(ENOENT, "moving " + from);
    if (!replace && from != to && statOf(to)) return errnoResult(EEXIST, "moving " + from + " to " + to);
    if (::rename(from.c_str(), to.c_str()) != 0) return errnoResult("moving " + from + " to " + to);
    syncFolder(parentFolder(to));
    if (parentFolder(from) != parentFolder(to)) syncFolder(parentFolder(from));
    return {};
}

bool onReadOnlyMount(const std::string& path) {
    std::string existing = path;
    while (!statOf(existing) && existing != "/" && existing != ".") existing = parentFolder(existing);
    struct statvfs volume {};
    return ::statvfs(existing.c_str(), &volume) == 0 && (volume.f_flag & ST_RDONLY) != 0;
}

}  // namespace lsu::offline
