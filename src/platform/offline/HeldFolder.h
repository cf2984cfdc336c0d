#pragma once
// A folder of the volume a change is made in, found once and held open by
// its descriptor. Where it really lies, with every link on its way followed,
// is checked when it is taken; from then on every file is created, replaced,
// renamed and removed relative to the descriptor, so a link put into its path
// afterwards cannot lead a write elsewhere, and the file's own name is never
// followed: a link there is refused, not written through.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "platform/offline/Posix.h"

namespace lsu::offline {

class HeldFolder {
public:
    // The folder at the host path when it lies at or below one of the
    // places (real paths); otherwise why nothing may be changed in it.
    // Temporary files an earlier run left there are removed.
    static Result<HeldFolder> hold(const std::string& path, const std::vector<std::string>& places);

    const std::string& path() const { return path_; }
    int fd() const { return fd_.get(); }
    std::string pathOf(const std::string& name) const { return childPath(path_, name); }

    // Whether a regular file of that name is there, never following a link.
    bool holdsFile(const std::string& name) const;
    std::optional<RegularFile> openFile(const std::string& name) const;
    std::optional<std::uint32_t> attributes(const std::string& name) const;

    // Creates or replaces the file with exactly these bytes through a
    // temporary file; a replaced file keeps its mode and attributes.
    Status replaceFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    // The same, checked before it takes the name: check is handed the host
    // path of the finished temporary file. A file standing under the name
    // is replaced only when replace is set.
    Status placeFile(const std::string& name, const std::vector<std::uint8_t>& bytes, bool replace,
                     const std::function<Status(const std::string& written)>& check) const;
    // Gives the finished temporary file the mode and attributes of the file
    // it replaces, and puts it in that file's place.
    Status putInPlace(TemporaryFile& temporary, const std::string& name) const;
    Status makeFolder(const std::string& name) const;
    // Removes the folder of that name, which must be empty.
    Status removeFolder(const std::string& name) const;
    Status removeFile(const std::string& name) const;
    Status moveFile(const std::string& name, const HeldFolder& to, const std::string& toName, bool replace) const;
    Status setAttributes(const std::string& name, std::uint32_t attributes) const;

private:
    HeldFolder(std::string path, FileDescriptor fd) : path_(std::move(path)), fd_(std::move(fd)) {}
    // Refused unless the name is a regular file or, when it may be, absent.
    Status checkPlainFile(const std::string& name, bool mayBeAbsent, const std::string& what) const;

    std::string path_;
    FileDescriptor fd_;
};

}  // namespace lsu::offline
