#include "platform/offline/Posix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/TemporaryNames.h"

namespace lsu::offline {

Status errnoResult(int error, const std::string& what) {
    const ErrorKind kind = error == ENOENT                     ? ErrorKind::NotFound
                           : error == EROFS                    ? ErrorKind::ReadOnlyVolume
                           : error == EACCES || error == EPERM ? ErrorKind::NeedsAdministrator
                                                               : ErrorKind::System;
    return Error{kind, static_cast<std::uint32_t>(error), what + ": " + std::strerror(error)};
}

Status errnoResult(const std::string& what) { return errnoResult(errno, what); }

std::string DirectoryStream::next() {
    if (!dir_) return {};
    while (const dirent* entry = ::readdir(dir_)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") return name;
    }
    return {};
}

TemporaryFile::TemporaryFile(int folder, const std::string& stem) : folder_(folder) {
    for (int attempt = 0; attempt < 100 && !fd_; ++attempt) {
        const std::string name = temporaryNameFor(stem);
        fd_.reset(::openat(folder, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (fd_) name_ = name;
        else if (errno != EEXIST) return;
    }
    if (fd_) ::flock(fd_.get(), LOCK_EX | LOCK_NB);
}

TemporaryFile::~TemporaryFile() {
    if (fd_ && !placed_) ::unlinkat(folder_, name_.c_str(), 0);
}

Status TemporaryFile::putInPlaceOf(const std::string& target) {
    if (::fsync(fd_.get()) != 0) return errnoResult("flushing " + name_);
    if (::renameat(folder_, name_.c_str(), folder_, target.c_str()) != 0) return errnoResult("replacing " + target);
    placed_ = true;
    ::fsync(folder_);
    return {};
}

void removeStaleTemporaries(int folder) {
    std::vector<std::string> stale;
    FileDescriptor listing(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    DIR* entries = listing ? ::fdopendir(listing.get()) : nullptr;
    if (!entries) return;
    listing.release();  // the listing owns it now
    while (const dirent* entry = ::readdir(entries))
        if (isTemporaryName(entry->d_name)) stale.emplace_back(entry->d_name);
    ::closedir(entries);
    for (const std::string& name : stale) {
        // A run still writing holds its file locked.
        FileDescriptor file(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat info {};
        if (!file || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        if (::flock(file.get(), LOCK_EX | LOCK_NB) == 0) ::unlinkat(folder, name.c_str(), 0);
    }
}

std::optional<RegularFile> RegularFile::checked(FileDescriptor fd) {
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return RegularFile(std::move(fd), static_cast<std::uint64_t>(info.st_size));
}

std::optional<RegularFile> RegularFile::open(const std::string& path) {
    return checked(FileDescriptor(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)));
}

std::optional<RegularFile> RegularFile::openAt(int folder, const std::string& name) {
    return checked(
        FileDescriptor(::openat(folder, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC)));
}

std::vector<std::uint8_t> RegularFile::read(std::uint64_t offset, std::size_t size) const {
    const std::uint64_t available = size_ - std::min(offset, size_);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min<std::uint64_t>(size, available)));
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::pread(fd_.get(), bytes.data() + got, bytes.size() - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

bool RegularFile::readAll(std::string& bytes, std::size_t limit) const {
    bytes.clear();
    char buffer[65536];
    while (bytes.size() < limit) {
        const ssize_t got =
            ::pread(fd_.get(), buffer, std::min(sizeof buffer, limit - bytes.size()), static_cast<off_t>(bytes.size()));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

Status writeAll(int fd, const void* data, std::size_t size, const std::string& what) {
    const auto* at = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t wrote = ::write(fd, at, size);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote < 0) return errnoResult("writing " + what);
        at += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return {};
}

std::string childPath(const std::string& folder, const std::string& name) {
    std::string path = folder;
    path += '/';
    path += name;
    return path;
}

std::string parentFolder(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace lsu::offline
