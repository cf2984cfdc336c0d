#include "platform/offline/Posix.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace lsu::offline {

Status errnoResult(int error, const std::string& what) {
    const ErrorKind kind = error == ENOENT  ? ErrorKind::NotFound
                           : error == EROFS ? ErrorKind::ReadOnlyVolume
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

TemporaryFile::TemporaryFile(const std::string& folder, const std::string& stem) {
    std::string pattern = folder + "/" + stem + ".lstartup-XXXXXX";
    fd_.reset(::mkstemp(pattern.data()));
    if (fd_) path_ = pattern;
}

TemporaryFile::~TemporaryFile() {
    if (fd_ && !placed_) ::unlink(path_.c_str());
}

Status TemporaryFile::putInPlaceOf(const std::string& target) {
    if (::fsync(fd_.get()) != 0) return errnoResult("flushing " + path_);
    if (::rename(path_.c_str(), target.c_str()) != 0) return errnoResult("replacing " + target);
    placed_ = true;
    syncFolder(parentFolder(target));
    return {};
}

bool readWholeFile(const std::string& path, std::string& bytes, std::size_t limit) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) return false;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    bytes.clear();
    char buffer[65536];
    while (bytes.size() < limit) {
        const ssize_t got = ::read(fd.get(), buffer, std::min(sizeof buffer, limit - bytes.size()));
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

void syncFolder(const std::string& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.get());
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
