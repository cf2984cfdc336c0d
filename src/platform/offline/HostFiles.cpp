#include "platform/offline/HostFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "base/CaseFolding.h"
#include "platform/TemporaryNames.h"
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

std::uint32_t bigEndian(const std::array<unsigned char, 4>& raw) {
    return (std::uint32_t{raw[0]} << 24) | (std::uint32_t{raw[1]} << 16) | (std::uint32_t{raw[2]} << 8) | raw[3];
}

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
    return bigEndian(raw);
}

std::optional<std::uint32_t> ntfsAttributes(int fd) {
    std::array<unsigned char, 4> raw{};
    if (::fgetxattr(fd, kAttributesBigEndian, raw.data(), raw.size()) != static_cast<ssize_t>(raw.size()))
        return std::nullopt;
    return bigEndian(raw);
}

Status setNtfsAttributes(int fd, std::uint32_t attributes) {
    const std::array<unsigned char, 4> raw = {
        static_cast<unsigned char>(attributes >> 24), static_cast<unsigned char>(attributes >> 16),
        static_cast<unsigned char>(attributes >> 8), static_cast<unsigned char>(attributes)};
    if (::fsetxattr(fd, kAttributesBigEndian, raw.data(), raw.size(), 0) != 0)
        return errnoResult("setting the attributes of a file");
    return {};
}

std::vector<std::string> visibleFiles(const std::string& folder) {
    std::vector<std::string> names;
    DirectoryStream entries(folder);
    for (std::string name = entries.next(); !name.empty(); name = entries.next()) {
        const std::string path = childPath(folder, name);
        if (!isPlainFile(path) || equalsNoCase(name, "desktop.ini") || isTemporaryName(name)) continue;
        if (ntfsAttributes(path).value_or(0) & (kAttributeHidden | kAttributeSystem)) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(), lessNoCase);
    return names;
}

bool onReadOnlyMount(const std::string& path) {
    std::string existing = path;
    while (!statOf(existing) && existing != "/" && existing != ".") existing = parentFolder(existing);
    struct statvfs volume {};
    return ::statvfs(existing.c_str(), &volume) == 0 && (volume.f_flag & ST_RDONLY) != 0;
}

}  // namespace lsu::offline
