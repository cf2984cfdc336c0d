#pragma once
// Thin owners and results over the POSIX calls the offline platform makes.

#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/Result.h"
#include "platform/formats/ByteSource.h"

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
    // Hands the descriptor over to an owner of another kind.
    int release() { return std::exchange(fd_, -1); }
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

// A file made in a folder held open, under a name of the program's own (TemporaryNames.h)
// that marks it as unfinished, and removed again unless it was put in place:
// what a failed write leaves behind is nothing, and what a killed one leaves
// the next run recognises and removes. It stays locked while it lives, so
// that a run never removes another's file still being written.
class TemporaryFile {
public:
    // Created exclusively in the folder; check ok() before use.
    TemporaryFile(int folder, const std::string& stem);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool ok() const { return static_cast<bool>(fd_); }
    const std::string& name() const { return name_; }
    int fd() const { return fd_.get(); }
    // Flushes the file to the disk and renames it over the target in the
    // same folder; done: the file is the target's now.
    Status putInPlaceOf(const std::string& target);

private:
    int folder_;
    std::string name_;
    FileDescriptor fd_;
    bool placed_ = false;
};

// Removes the temporary files an earlier run left in the folder when it was
// stopped, leaving those another run still holds.
void removeStaleTemporaries(int folder);

// A regular file opened without waiting (a FIFO or a device never is one),
// read piece by piece where a parser points.
class RegularFile : public formats::ByteSource {
public:
    // nullopt when the path names no regular file that can be read.
    static std::optional<RegularFile> open(const std::string& path);
    static std::optional<RegularFile> openAt(int folder, const std::string& name);

    int fd() const { return fd_.get(); }
    std::uint64_t size() const { return size_; }
    std::vector<std::uint8_t> read(std::uint64_t offset, std::size_t size) const override;
    // The whole file; false when it cannot be read.
    bool readAll(std::string& bytes, std::size_t limit = SIZE_MAX) const;

private:
    RegularFile(FileDescriptor fd, std::uint64_t size) : fd_(std::move(fd)), size_(size) {}
    static std::optional<RegularFile> checked(FileDescriptor fd);

    FileDescriptor fd_;
    std::uint64_t size_;
};

Status writeAll(int fd, const void* data, std::size_t size, const std::string& what);
std::string parentFolder(const std::string& path);
std::string childPath(const std::string& folder, const std::string& name);

}  // namespace lsu::offline
