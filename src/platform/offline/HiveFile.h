#pragma once
// One hive file of the offline system, through hivex: its keys found by name
// ignoring case, its values exactly as stored, and every change committed at
// once. A commit first copies the hive beside itself (once per hive and
// run), then writes the whole hive to a temporary file in its folder,
// flushes it and renames it over the hive, so that the hive on disk is
// always either the old one or the new one.

#include <hivex.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/offline/WriteGuard.h"

namespace lsu::offline {

// A value as the hive stores it: its name in UTF-8, its type, its bytes.
struct HiveValue {
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

class HiveFile {
public:
    // nullptr when the file is missing or not a hive.
    static std::unique_ptr<HiveFile> open(const std::string& path, WriteGuard& guard);

    const std::string& path() const { return path_; }
    // Whether the hive lacks changes its logs hold (see HiveHeader.h).
    bool dirty() const { return dirty_; }

    // Keys are backslash-separated paths below the hive's root.
    bool hasKey(const std::string& key) const;
    std::optional<std::vector<HiveValue>> values(const std::string& key) const;
    std::optional<HiveValue> value(const std::string& key, const std::string& name) const;

    // A value of the same name (ignoring case) is replaced in its place and
    // keeps its stored name; a new one goes last.
    Status setValue(const std::string& key, const HiveValue& value, bool createKey);
    Status deleteValue(const std::string& key, const std::string& name);

    struct Closer {
        void operator()(hive_h* handle) const { hivex_close(handle); }
    };
    using Handle = std::unique_ptr<hive_h, Closer>;

    HiveFile(std::string path, Handle handle, bool dirty, WriteGuard& guard);

private:
    hive_node_h findKey(const std::string& key) const;
    Status replaceValues(hive_node_h node, const std::vector<HiveValue>& values);
    Status commit();
    Status backUp();
    // Drops changes held in memory only, after a commit failed.
    void reload();

    std::string path_;
    Handle handle_;
    bool dirty_;
    WriteGuard& guard_;
    bool backedUp_ = false;
};

}  // namespace lsu::offline
