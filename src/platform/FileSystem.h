#pragma once
// Files and folders. Paths use backslashes; names are compared as the file
// system compares them, ignoring case.

#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"

namespace lsu {

using Bytes = std::vector<std::uint8_t>;

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool fileExists(const std::string& path) = 0;  // false for folders and on any failure
    virtual bool folderExists(const std::string& path) = 0;
    virtual Status ensureFolder(const std::string& path) = 0;  // one level; done when it exists afterwards
    // Removes the folder; refused while anything stands in it.
    virtual Status removeFolder(const std::string& path) = 0;
    // Plain files of one folder: no subfolders, no hidden or system files, no
    // unfinished file of this program's (see TemporaryNames.h), sorted by
    // name (case-insensitive). Empty when the folder is unreadable.
    virtual std::vector<std::string> listFiles(const std::string& folder) = 0;
    // Not found when no file stands there; otherwise the system's reason
    // when it cannot be read (held open by another program, refused).
    virtual Result<Bytes> readFile(const std::string& path) = 0;
    // The same for a file of at most `limit` bytes; a larger one is not read.
    virtual Result<Bytes> readFileUpTo(const std::string& path, std::size_t limit) = 0;
    // Creates or replaces the file with exactly these bytes.
    virtual Status writeFile(const std::string& path, const Bytes& bytes) = 0;
    // Creates a hidden file with exactly these bytes; refused when a file of
    // that name stands there.
    virtual Status createHiddenFile(const std::string& path, const Bytes& bytes) = 0;
    virtual Status deleteFile(const std::string& path) = 0;
    // Renames within one volume; fails when the target exists unless replace.
    virtual Status moveFile(const std::string& from, const std::string& to, bool replace) = 0;
    // Why creating, replacing or removing the file would be refused, as far
    // as the system tells without changing anything (the volume takes no
    // writes, another program holds the file); done when nothing is known
    // against it. A folder still to be made is nothing against it.
    virtual Status checkChange(const std::string& path) = 0;
    // Where a person finds the file of that name (as a listing gave it) in
    // the folder, to deal with it by hand: on a running Windows its path, on
    // a volume mounted elsewhere the host's path.
    virtual std::string pathToShow(const std::string& folder, const std::string& name) = 0;
};

}  // namespace lsu
