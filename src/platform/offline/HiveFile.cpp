#include "platform/offline/HiveFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

#include "base/CaseFolding.h"
#include "base/Utf16.h"
#include "platform/Registry.h"
#include "platform/formats/HiveHeader.h"
#include "platform/offline/Posix.h"

namespace lsu::offline {

namespace {

using formats::HiveCells;
using formats::KeyCell;

std::vector<std::string> keyComponents(const std::string& key) {
    std::vector<std::string> components;
    std::size_t start = 0;
    while (start <= key.size()) {
        const std::size_t end = std::min(key.find('\\', start), key.size());
        if (end > start) components.push_back(key.substr(start, end - start));
        start = end + 1;
    }
    return components;
}

std::string joinedKey(const std::vector<std::string>& components, std::size_t count) {
    std::string key;
    for (std::size_t i = 0; i < count; ++i) key += (i ? "\\" : "") + components[i];
    return key;
}

Error refusedForDamage(const Error& damage, const std::string& path) {
    return Error{ErrorKind::DamagedData, 0,
                 "The hive " + path + " is damaged where this change would write (" + damage.message +
                     "); nothing was changed."};
}

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The log files Windows keeps beside a hive: NAME.LOG (before Windows
// Vista), NAME.LOG1 and NAME.LOG2. Only their headers are read.
bool logsHoldChanges(const std::string& path, const formats::BaseBlock& base) {
    const std::string folder = parentFolder(path);
    const std::string name = path.substr(path.find_last_of('/') + 1);
    DirectoryStream entries(folder);
    for (std::string entry = entries.next(); !entry.empty(); entry = entries.next())
        for (const char* suffix : {".LOG", ".LOG1", ".LOG2"})
            if (equalsNoCase(entry, name + suffix))
                if (auto log = RegularFile::open(childPath(folder, entry)); log && formats::logHoldsChanges(*log, base))
                    return true;
    return false;
}

bool isDirtyHive(const std::string& path, std::span<const std::uint8_t> file) {
    auto base = formats::readBaseBlock(file);
    return !base || formats::isDirty(*base) || logsHoldChanges(path, *base);
}

std::string timestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// Why hivex, which takes names as NUL-terminated UTF-8, cannot write the
// name back as stored, if it cannot.
std::optional<std::string> nameProblem(const std::u16string& name) {
    if (name.size() > kLongestValueName) return "is longer than the registry's 16,383 characters";
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i];
        if (unit == 0) return "holds a NUL character";
        const bool high = unit >= 0xD800 && unit <= 0xDBFF, low = unit >= 0xDC00 && unit <= 0xDFFF;
        const bool paired = high && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF;
        if (low || (high && !paired)) return "holds half of a UTF-16 surrogate pair";
        if (paired) ++i;
    }
    return std::nullopt;
}

std::optional<std::string> newNameProblem(const std::string& name) {
    const std::u16string units = utf16FromUtf8(name);
    if (utf8FromUtf16(units) != name) return "is not well-formed UTF-8";
    return nameProblem(units);
}

struct KeyPath {
    std::vector<KeyCell> found;
    std::vector<std::string> missing;
};

// The keys along a path as far as they exist, and the names below them that do not.
Result<KeyPath> lookUp(const HiveCells& cells, const std::string& key) {
    auto root = cells.key(cells.rootKey());
    if (!root) return root.error();
    KeyPath path{{*root}, {}};
    const std::vector<std::string> components = keyComponents(key);
    for (std::size_t i = 0; i < components.size(); ++i) {
        auto subkeys = cells.subkeys(path.found.back());
        if (!subkeys) return subkeys.error();
        std::optional<KeyCell> match;
        for (std::size_t offset : *subkeys) {
            auto child = cells.key(offset);
            if (!child) return child.error();
            if (equalsNoCase(utf8FromUtf16(child->name), components[i])) {
                match = *child;
                break;
            }
        }
        if (!match) {
            path.missing.assign(components.begin() + static_cast<std::ptrdiff_t>(i), components.end());
            break;
        }
        path.found.push_back(*match);
    }
    return path;
}

std::optional<KeyCell> existingKey(const HiveCells& cells, const std::string& key) {
    auto path = lookUp(cells, key);
    if (!path || !path->missing.empty()) return std::nullopt;
    return path->found.back();
}

HiveValue hiveValueOf(const formats::ValueCell& cell) { return {utf8FromUtf16(cell.name), cell.type, cell.data}; }

}  // namespace

HiveFile::HiveFile(std::string path, Result<HeldFolder> folder, formats::HiveCells cells, bool dirty, WriteGuard& guard)
    : path_(std::move(path)),
      name_(path_.substr(path_.find_last_of('/') + 1)),
      folder_(std::move(folder)),
      cells_(std::move(cells)),
      dirty_(dirty),
      guard_(guard) {}

std::unique_ptr<HiveFile> HiveFile::open(const std::string& path, Result<HeldFolder> folder, WriteGuard& guard) {
    auto file = folder ? folder->openFile(path.substr(path.find_last_of('/') + 1)) : RegularFile::open(path);
    std::string bytes;
    if (!file || !file->readAll(bytes)) return nullptr;
    const bool dirty = isDirtyHive(path, bytesOf(bytes));
    auto cells = HiveCells::read({bytes.begin(), bytes.end()});
    if (!cells) return nullptr;
    return std::make_unique<HiveFile>(path, std::move(folder), std::move(*cells), dirty, guard);
}

bool HiveFile::hasKey(const std::string& key) const { return existingKey(cells_, key).has_value(); }

std::optional<std::vector<HiveValue>> HiveFile::values(const std::string& key) const {
    auto cell = existingKey(cells_, key);
    if (!cell) return std::nullopt;
    auto offsets = cells_.valueOffsets(*cell);
    if (!offsets) return std::nullopt;
    std::vector<HiveValue> values;
    for (std::size_t offset : *offsets)
        if (auto read = cells_.value(offset)) values.push_back(hiveValueOf(*read));
    return values;
}

std::optional<HiveValue> HiveFile::value(const std::string& key, const std::string& name) const {
    auto all = values(key);
    if (!all) return std::nullopt;
    auto found =
        std::find_if(all->begin(), all->end(), [&](const HiveValue& value) { return equalsNoCase(value.name, name); });
    if (found == all->end()) return std::nullopt;
    return std::optional<HiveValue>(std::move(*found));
}

std::optional<std::vector<std::string>> HiveFile::subkeyNames(const std::string& key) const {
    auto cell = existingKey(cells_, key);
    auto offsets = cell ? cells_.subkeys(*cell) : Result<std::vector<std::size_t>>(Error{});
    if (!offsets) return std::nullopt;
    std::vector<std::string> names;
    for (std::size_t offset : *offsets) {
        auto child = cells_.key(offset);
        if (!child) return std::nullopt;
        names.push_back(utf8FromUtf16(child->name));
    }
    return names;
}

Result<std::vector<HiveValue>> HiveFile::rewritableValues(const KeyCell& key, const std::string& name) const {
    // Adding or removing a key below it goes through its subkey lists.
    if (auto subkeys = cells_.subkeys(key); !subkeys) return refusedForDamage(subkeys.error(), path_);
    auto offsets = cells_.valueOffsets(key);
    if (!offsets) return refusedForDamage(offsets.error(), path_);
    std::vector<HiveValue> values;
    for (std::size_t offset : *offsets) {
        auto read = cells_.value(offset);
        if (!read) return refusedForDamage(read.error(), path_);
        const formats::ValueCell& cell = *read;
        const std::string valueName = "The value \"" + utf8FromUtf16(cell.name) + "\" of " + name + " in " + path_;
        if (auto problem = nameProblem(cell.name))
            return Error{ErrorKind::DamagedData, 0,
                         valueName + " would be renamed by any change to its key: its name " + *problem +
                             ". Nothing was changed."};
        if (cells_.needsBigData(cell.data.size()))
            return Error{ErrorKind::DamagedData, 0,
                         valueName + " holds " + std::to_string(cell.data.size()) +
                             " bytes, which hivex cannot write back as Windows keeps them (more than 16,344 make a "
                             "big-data record). Nothing was changed."};
        values.push_back(hiveValueOf(cell));
    }
    return values;
}

// A move between a key and the key beside it that parks its values (its
// name with "-" appended) deletes from one what it wrote to the other; both
// are checked before the first write, so that a damaged one stops the move
// before anything moved.
Status HiveFile::checkPartner(const std::string& key) const {
    std::vector<std::string> components = keyComponents(key);
    if (components.empty()) return {};
    std::string& last = components.back();
    if (last.ends_with('-')) last.pop_back();
    else last += '-';
    const std::string partner = joinedKey(components, components.size());
    auto path = lookUp(cells_, partner);
    if (!path) return refusedForDamage(path.error(), path_);
    if (!path->missing.empty()) return {};
    auto values = rewritableValues(path->found.back(), partner);
    if (!values) return values.error();
    return {};
}

Status HiveFile::checkChange(const std::string& key) const {
    if (Status allowed = guard_.checkVolume(path_); !allowed) return allowed;
    if (Status allowed = guard_.checkHive(path_, dirty_); !allowed) return allowed;
    if (auto cell = existingKey(cells_, key))
        if (auto values = rewritableValues(*cell, key); !values) return values.error();
    return checkPartner(key);
}

Status HiveFile::setValue(const std::string& key, const HiveValue& value, bool createKey) {
    if (auto problem = newNameProblem(value.name))
        return Error{ErrorKind::InvalidInput, 0,
                     "A value name that " + *problem + " cannot be written; nothing was changed."};
    if (cells_.needsBigData(value.data.size()))
        return Error{ErrorKind::InvalidInput, 0,
                     "A value of more than 16,344 bytes cannot be written to " + path_ +
                         " as Windows keeps it; nothing was changed."};
    if (Status allowed = checkChange(key); !allowed) return allowed;
    auto path = lookUp(cells_, key);
    if (!path) return refusedForDamage(path.error(), path_);
    const KeyPath& found = *path;
    if (!found.missing.empty() && !createKey)
        return Error{ErrorKind::NotFound, 0, "The key " + key + " does not exist in " + path_ + "."};
    std::vector<HiveValue> values;
    if (found.missing.empty()) {
        auto stored = rewritableValues(found.found.back(), key);
        if (!stored) return stored.error();
        values = std::move(*stored);
    } else if (auto subkeys = cells_.subkeys(found.found.back()); !subkeys) {
        return refusedForDamage(subkeys.error(), path_);
    }
    auto same = std::find_if(values.begin(), values.end(),
                             [&](const HiveValue& stored) { return equalsNoCase(stored.name, value.name); });
    if (same != values.end()) {
        same->type = value.type;
        same->data = value.data;
    } else {
        values.push_back(value);
    }
    Status done = apply({found.found.back().offset, found.missing, values, false}, key, values);
    const std::vector<std::string> components = keyComponents(key);
    for (std::size_t count = found.found.size(); done && count <= components.size(); ++count)
        createdKeys_.insert(foldedName(joinedKey(components, count)));
    return done;
}

Status HiveFile::deleteValue(const std::string& key, const std::string& name) {
    if (Status allowed = checkChange(key); !allowed) return allowed;
    auto path = lookUp(cells_, key);
    if (!path) return refusedForDamage(path.error(), path_);
    const KeyPath& found = *path;
    if (!found.missing.empty())
        return Error{ErrorKind::NotFound, 0, "The key " + key + " does not exist in " + path_ + "."};
    auto stored = rewritableValues(found.found.back(), key);
    if (!stored) return stored.error();
    std::vector<HiveValue> values = std::move(*stored);
    const auto before = values.size();
    std::erase_if(values, [&](const HiveValue& value) { return equalsNoCase(value.name, name); });
    if (values.size() == before)
        return Error{ErrorKind::NotFound, 0, "The value \"" + name + "\" does not exist in " + key + "."};

    // A key this run made for the value, now empty, goes with it, and so do
    // the keys it made above it that held nothing but the way to it.
    const std::vector<std::string> components = keyComponents(key);
    std::size_t top = found.found.size() - 1;
    const bool madeHere = createdKeys_.contains(foldedName(key));
    if (!values.empty() || !madeHere || found.found.back().subkeyCount != 0)
        return apply({found.found.back().offset, {}, values, false}, key, values);
    while (top > 1 && createdKeys_.contains(foldedName(joinedKey(components, top - 1))) &&
           found.found[top - 1].valueCount == 0 && found.found[top - 1].subkeyCount == 1)
        --top;
    Status done = apply({found.found[top].offset, {}, std::nullopt, true}, key, std::nullopt);
    for (std::size_t count = top; done && count <= components.size(); ++count)
        createdKeys_.erase(foldedName(joinedKey(components, count)));
    return done;
}

Status HiveFile::removeEmptyKey(const std::string& key) {
    auto cell = existingKey(cells_, key);
    if (!cell || cell->valueCount != 0 || cell->subkeyCount != 0) return {};
    if (Status allowed = checkChange(key); !allowed) return allowed;
    Status done = apply({cell->offset, {}, std::nullopt, true}, key, std::nullopt);
    if (done) createdKeys_.erase(foldedName(key));
    return done;
}

Status HiveFile::apply(const HiveEdit& edit, const std::string& key,
                       const std::optional<std::vector<HiveValue>>& after) {
    if (!folder_) return folder_.error();
    const HeldFolder* folder = &*folder_;
    auto hive = folder->openFile(name_);
    if (!hive) return errnoResult("opening " + path_);
    TemporaryFile written(folder->fd(), name_);
    if (!written.ok()) return errnoResult("creating a file beside " + path_);
    if (Status edited = writeEditedHive(hive->fd(), written.fd(), edit, path_); !edited) return edited;

    // What hivex wrote is read back before it replaces anything.
    auto output = folder->openFile(written.name());
    std::string bytes;
    auto cells = output && output->readAll(bytes) ? HiveCells::read({bytes.begin(), bytes.end()}) : std::nullopt;
    auto cell = cells ? existingKey(*cells, key) : std::nullopt;
    std::optional<std::vector<HiveValue>> readBack;
    if (cell) {
        if (auto offsets = cells->valueOffsets(*cell)) {
            readBack.emplace();
            for (std::size_t offset : *offsets)
                if (auto read = cells->value(offset)) readBack->push_back(hiveValueOf(*read));
        }
    }
    if (!cells || readBack != after)
        return Error{
            ErrorKind::ReadBackMismatch, 0,
            "The hive hivex wrote for " + path_ + " did not read back as the change asked; nothing was changed."};
    if (!backedUp_)
        if (Status saved = backUp(*folder); !saved) return saved;
    if (Status placed = folder->putInPlace(written, name_); !placed) return placed;
    cells_ = std::move(*cells);
    return {};
}

Status HiveFile::backUp(const HeldFolder& folder) {
    auto hive = folder.openFile(name_);
    if (!hive) return errnoResult("reading " + path_ + " to back it up");
    TemporaryFile copy(folder.fd(), name_);
    if (!copy.ok()) return errnoResult("creating a backup beside " + path_);
    for (std::uint64_t at = 0; at < hive->size();) {
        const std::vector<std::uint8_t> piece = hive->read(at, 1 << 20);
        if (piece.empty()) return errnoResult(EIO, "reading " + path_ + " to back it up");
        if (Status written = writeAll(copy.fd(), piece.data(), piece.size(), folder.pathOf(copy.name())); !written)
            return written;
        at += piece.size();
    }
    // Under its own name only once whole, beside any backup made before.
    const std::string stem = name_ + ".lstartup-backup-" + timestamp();
    std::string backup = stem;
    for (int attempt = 2; folder.holdsFile(backup) && attempt < 100; ++attempt)
        backup = stem + "-" + std::to_string(attempt);
    if (Status placed = copy.putInPlaceOf(backup); !placed) return placed;
    backedUp_ = true;
    return {};
}

}  // namespace lsu::offline
