#pragma once
// One hive file of the offline system: its keys found by name ignoring case
// and its values read exactly as stored, whole, from the file's own bytes;
// every change committed at once. A change first checks every cell it will
// rewrite, and refuses, with nothing written, a key that is damaged or that
// holds a value hivex cannot write back exactly. It is made by hivex in a
// child process that writes the whole hive to a temporary file beside it;
// the file is read back, the hive is copied beside itself (once per hive
// and run, when a change goes ahead), and the temporary file is renamed over
// the hive, so that the hive on disk is always either the old one or the
// new one.

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/Result.h"
#include "platform/formats/HiveCells.h"
#include "platform/offline/HeldFolder.h"
#include "platform/offline/HiveEdit.h"
#include "platform/offline/WriteGuard.h"

namespace lsu::offline {

class HiveFile {
public:
    // nullptr when the file is missing or not a hive. Changes are made in
    // the folder given, or refused for its reason.
    static std::unique_ptr<HiveFile> open(const std::string& path, Result<HeldFolder> folder, WriteGuard& guard);

    const std::string& path() const { return path_; }
    // Whether the hive lacks changes its logs hold (see HiveHeader.h).
    bool dirty() const { return dirty_; }

    // Keys are backslash-separated paths below the hive's root. A value
    // whose cells are damaged is not listed.
    bool hasKey(const std::string& key) const;
    std::optional<std::vector<HiveValue>> values(const std::string& key) const;
    std::optional<HiveValue> value(const std::string& key, const std::string& name) const;
    // The names of the keys directly below the key; nullopt when it is
    // missing or its list of them is damaged.
    std::optional<std::vector<std::string>> subkeyNames(const std::string& key) const;

    // A value of the same name (ignoring case) is replaced in its place and
    // keeps its stored name; a new one goes last.
    Status setValue(const std::string& key, const HiveValue& value, bool createKey);
    // A key this run created goes again once its last value does.
    Status deleteValue(const std::string& key, const std::string& name);
    // Removes the key if it holds neither values nor subkeys.
    Status removeEmptyKey(const std::string& key);
    // Why a change to the key's values would be refused (the volume, the
    // hive's state, damage in the key or in the key beside it that a move
    // writes too), found out before anything is written.
    Status checkChange(const std::string& key) const;

    HiveFile(std::string path, Result<HeldFolder> folder, formats::HiveCells cells, bool dirty, WriteGuard& guard);

private:
    // The key's values exactly as stored, or why they cannot be written back so.
    Result<std::vector<HiveValue>> rewritableValues(const formats::KeyCell& key, const std::string& name) const;
    Status checkPartner(const std::string& key) const;
    Status apply(const HiveEdit& edit, const std::string& key, const std::optional<std::vector<HiveValue>>& after);
    Status backUp(const HeldFolder& folder);

    std::string path_;
    std::string name_;
    Result<HeldFolder> folder_;
    formats::HiveCells cells_;
    bool dirty_;
    WriteGuard& guard_;
    bool backedUp_ = false;
    std::set<std::u16string> createdKeys_;  // folded paths
};

}  // namespace lsu::offline
