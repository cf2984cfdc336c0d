#pragma once
// Files and folders. Paths use backslashes; names are compared as the file
// system compares them, ignoring case.

#include <cstdint>
#include <optional>
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
    // Plain files of one folder: no subfolders, no hidden or system files,
    // sorted by name (case-insensitive). Empty when the folder is unreadable.
    virtual std::vector<std::string> listFiles(const std::string& folder) = 0;
    virtual std::optional<Bytes> readFile(const std::string& path) = 0;
    // The whole file when it holds at most `limit` bytes; nullopt for a
    // larger one, which is not read, and when it cannot be read.
    virtual std::optional<Bytes> readFileUpTo(const std::string& path, std::size_t limit) = 0;
    // Creates or replaces the file with exactly these bytes.
    virtual Status writeFile(const std::string& path, const Bytes& bytes) = 0;
    // Creates a hidden file with exactly these bytes; refused when a file of
    // that name stands there.
    virtual Status createHiddenFile(const std::string& path, const Bytes& bytes) = 0;
    virtual Status deleteFile(const std::string& path) = 0;
    // Renames within one volume; fails when the target exists unless replace.
    virtual Status moveFile(const std::string& from, const std::string& to, bool replace) = 0;
};

}  // namespace lsu
