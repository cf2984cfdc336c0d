#pragma once
// Thin owners and results over the POSIX calls the offline platform makes.

#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <utility>

#include "base/Result.h"

namespace lsu::offline {

// Refused for errno's reason, in the system's words, with what was tried.
Status errnoResult(const std::string& what);
Status errnoResult(int error, const std::string& what);

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) reset(std::exchange(other.fd_, -1));
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_ = -1;
};

class DirectoryStream {
public:
    explicit DirectoryStream(const std::string& path) : dir_(::opendir(path.c_str())) {}
    ~DirectoryStream() {
        if (dir_) ::closedir(dir_);
    }
    DirectoryStream(const DirectoryStream&) = delete;
    DirectoryStream& operator=(const DirectoryStream&) = delete;

    explicit operator bool() const { return dir_ != nullptr; }
    // The next name other than "." and ".."; empty at the end.
    std::string next();

private:
    DIR* dir_;
};

// A file made beside its target and removed again unless it was put in
// place: what a failed write leaves behind is nothing.
class TemporaryFile {
public:
    // Created exclusively in folder; check ok() before use.
    TemporaryFile(const std::string& folder, const std::string& stem);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool ok() const { return static_cast<bool>(fd_); }
    const std::string& path() const { return path_; }
    int fd() const { return fd_.get(); }
    // Flushes the file to the disk and renames it over target; done: the
    // file is the target's now.
    Status putInPlaceOf(const std::string& target);

private:
    std::string path_;
    FileDescriptor fd_;
    bool placed_ = false;
};

// The whole file (or its first limit bytes); false when it cannot be read.
bool readWholeFile(const std::string& path, std::string& bytes, std::size_t limit = SIZE_MAX);
Status writeAll(int fd, const void* data, std::size_t size, const std::string& what);
// Makes a rename in the folder durable.
void syncFolder(const std::string& folder);
std::string parentFolder(const std::string& path);
std::string childPath(const std::string& folder, const std::string& name);

}  // namespace lsu::offline
