#include "platform/offline/HeldFolder.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>

#include "platform/offline/HostFiles.h"

namespace lsu::offline {

namespace {

// Where the descriptor's folder really is, as the kernel found it.
std::string realPathOf(int fd) {
    char target[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

bool atOrBelow(const std::string& path, const std::string& folder) {
    return !folder.empty() && (path == folder || path.starts_with(folder == "/" ? folder : folder + "/"));
}

std::optional<struct stat> entryOf(int folder, const std::string& name) {
    struct stat info {};
    if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    return info;
}

}  // namespace

Result<HeldFolder> HeldFolder::hold(const std::string& path, const std::vector<std::string>& places) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd) return errnoResult("opening the folder " + path).error();
    const std::string real = realPathOf(fd.get());
    bool inside = false;
    for (const std::string& place : places) inside = inside || atOrBelow(real, place);
    if (!inside)
        return Error{ErrorKind::OffTheVolume, 0,
                     path + " leads off the offline Windows volume, to " + real +
                         ", through a symbolic link: nothing is changed there."};
    removeStaleTemporaries(fd.get());
    return HeldFolder(path, std::move(fd));
}

bool HeldFolder::holdsFile(const std::string& name) const {
    auto entry = entryOf(fd_.get(), name);
    return entry && S_ISREG(entry->st_mode);
}

std::optional<RegularFile> HeldFolder::openFile(const std::string& name) const {
    return RegularFile::openAt(fd_.get(), name);
}

std::optional<std::uint32_t> HeldFolder::attributes(const std::string& name) const {
    auto file = openFile(name);
    return file ? ntfsAttributes(file->fd()) : std::nullopt;
}

Status HeldFolder::checkPlainFile(const std::string& name, bool mayBeAbsent, const std::string& what) const {
    auto entry = entryOf(fd_.get(), name);
    if (!entry) return mayBeAbsent && errno == ENOENT ? Status() : errnoResult(what + " " + pathOf(name));
    if (S_ISLNK(entry->st_mode))
        return Error{ErrorKind::OffTheVolume, 0,
                     pathOf(name) + " is a symbolic link: it is not " + what + " through it."};
    if (!S_ISREG(entry->st_mode)) return errnoResult(EISDIR, what + " " + pathOf(name));
    return {};
}

Status HeldFolder::putInPlace(TemporaryFile& temporary, const std::string& name) const {
    if (Status plain = checkPlainFile(name, true, "replacing"); !plain) return plain;
    auto before = entryOf(fd_.get(), name);
    ::fchmod(temporary.fd(), before ? before->st_mode & 07777 : 0644);
    if (auto attributes = this->attributes(name)) (void)setNtfsAttributes(temporary.fd(), *attributes);
    return temporary.putInPlaceOf(name);
}

Status HeldFolder::replaceFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    return placeFile(name, bytes, true, {});
}

Status HeldFolder::placeFile(const std::string& name, const std::vector<std::uint8_t>& bytes, bool replace,
                             const std::function<Status(const std::string& written)>& check) const {
    if (Status plain = checkPlainFile(name, true, "replacing"); !plain) return plain;
    if (!replace && entryOf(fd_.get(), name)) return errnoResult(EEXIST, "writing " + pathOf(name));
    TemporaryFile temporary(fd_.get(), name);
    if (!temporary.ok()) return errnoResult("creating a file beside " + pathOf(name));
    if (Status written = writeAll(temporary.fd(), bytes.data(), bytes.size(), pathOf(temporary.name())); !written)
        return written;
    if (check)
        if (Status checked = check(pathOf(temporary.name())); !checked) return checked;
    return putInPlace(temporary, name);
}

Status HeldFolder::makeFolder(const std::string& name) const {
    if (::mkdirat(fd_.get(), name.c_str(), 0755) == 0) return {};
    const int error = errno;
    auto entry = entryOf(fd_.get(), name);
    if (error == EEXIST && entry && S_ISDIR(entry->st_mode)) return {};
    return errnoResult(error, "creating the folder " + pathOf(name));
}

Status HeldFolder::removeFolder(const std::string& name) const {
    if (::unlinkat(fd_.get(), name.c_str(), AT_REMOVEDIR) != 0)
        return errnoResult("removing the folder " + pathOf(name));
    ::fsync(fd_.get());
    return {};
}

Status HeldFolder::removeFile(const std::string& name) const {
    if (Status plain = checkPlainFile(name, false, "deleting"); !plain) return plain;
    if (::unlinkat(fd_.get(), name.c_str(), 0) != 0) return errnoResult("deleting " + pathOf(name));
    ::fsync(fd_.get());
    return {};
}

Status HeldFolder::moveFile(const std::string& name, const HeldFolder& to, const std::string& toName,
                            bool replace) const {
    if (Status plain = checkPlainFile(name, false, "moving"); !plain) return plain;
    const bool sameFile = realPathOf(fd_.get()) == realPathOf(to.fd_.get()) && name == toName;
    if (Status target = to.checkPlainFile(toName, true, "replacing"); !target) return target;
    if (!replace && !sameFile && entryOf(to.fd_.get(), toName))
        return errnoResult(EEXIST, "moving " + pathOf(name) + " to " + to.pathOf(toName));
    if (::renameat(fd_.get(), name.c_str(), to.fd_.get(), toName.c_str()) != 0)
        return errnoResult("moving " + pathOf(name) + " to " + to.pathOf(toName));
    ::fsync(to.fd_.get());
    ::fsync(fd_.get());
    return {};
}

Status HeldFolder::setAttributes(const std::string& name, std::uint32_t attributes) const {
    if (Status plain = checkPlainFile(name, false, "changing"); !plain) return plain;
    auto file = openFile(name);
    if (!file) return errnoResult("opening " + pathOf(name));
    return setNtfsAttributes(file->fd(), attributes);
}

}  // namespace lsu::offline
