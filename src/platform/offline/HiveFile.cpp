#include "platform/offline/HiveFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "base/CaseFolding.h"
#include "platform/formats/HiveHeader.h"
#include "platform/offline/HostFiles.h"
#include "platform/offline/Posix.h"

namespace lsu::offline {

namespace {

struct FreeMemory {
    void operator()(void* memory) const { std::free(memory); }
};
template <typename T>
using Allocated = std::unique_ptr<T, FreeMemory>;

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

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The log files Windows keeps beside a hive: NAME.LOG (before Windows
// Vista), NAME.LOG1 and NAME.LOG2.
std::vector<std::string> logFilesOf(const std::string& path) {
    const std::string folder = parentFolder(path);
    const std::string name = path.substr(path.find_last_of('/') + 1);
    std::vector<std::string> logs;
    DirectoryStream entries(folder);
    for (std::string entry = entries.next(); !entry.empty(); entry = entries.next())
        for (const char* suffix : {".LOG", ".LOG1", ".LOG2"})
            if (equalsNoCase(entry, name + suffix)) logs.push_back(childPath(folder, entry));
    return logs;
}

bool isDirtyHive(const std::string& path, const std::string& baseBlock) {
    auto base = formats::readBaseBlock(bytesOf(baseBlock));
    if (!base || formats::isDirty(*base)) return true;
    for (const std::string& log : logFilesOf(path)) {
        std::string bytes;
        if (readWholeFile(log, bytes) && formats::logHoldsChanges(bytesOf(bytes), *base)) return true;
    }
    return false;
}

std::string timestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

HiveValue valueAt(hive_h* handle, hive_value_h value) {
    HiveValue read;
    Allocated<char> name(hivex_value_key(handle, value));
    if (name) read.name = name.get();
    hive_type type{};
    std::size_t length = 0;
    Allocated<char> data(hivex_value_value(handle, value, &type, &length));
    read.type = static_cast<std::uint32_t>(type);
    if (data) read.data.assign(data.get(), data.get() + length);
    return read;
}

std::vector<HiveValue> valuesOf(hive_h* handle, hive_node_h node) {
    std::vector<HiveValue> values;
    Allocated<hive_value_h> list(hivex_node_values(handle, node));
    for (std::size_t i = 0; list && list.get()[i]; ++i) values.push_back(valueAt(handle, list.get()[i]));
    return values;
}

hive_node_h childNamed(hive_h* handle, hive_node_h node, const std::string& name) {
    Allocated<hive_node_h> children(hivex_node_children(handle, node));
    for (std::size_t i = 0; children && children.get()[i]; ++i) {
        Allocated<char> childName(hivex_node_name(handle, children.get()[i]));
        if (childName && equalsNoCase(childName.get(), name)) return children.get()[i];
    }
    return 0;
}

Status refusedByHivex(const std::string& what) { return errnoResult(errno ? errno : EIO, what); }

}  // namespace

HiveFile::HiveFile(std::string path, Handle handle, bool dirty, WriteGuard& guard)
    : path_(std::move(path)), handle_(std::move(handle)), dirty_(dirty), guard_(guard) {}

std::unique_ptr<HiveFile> HiveFile::open(const std::string& path, WriteGuard& guard) {
    std::string baseBlock;
    if (!readWholeFile(path, baseBlock, formats::kBaseBlockSize)) return nullptr;
    // Changes are made in memory and written out whole, so the hive is opened
    // for writing even when it will only be read.
    Handle handle(hivex_open(path.c_str(), HIVEX_OPEN_WRITE));
    if (!handle) return nullptr;
    return std::make_unique<HiveFile>(path, std::move(handle), isDirtyHive(path, baseBlock), guard);
}

hive_node_h HiveFile::findKey(const std::string& key) const {
    hive_node_h node = hivex_root(handle_.get());
    for (const std::string& component : keyComponents(key)) {
        if (!node) break;
        node = childNamed(handle_.get(), node, component);
    }
    return node;
}

bool HiveFile::hasKey(const std::string& key) const { return findKey(key) != 0; }

std::optional<std::vector<HiveValue>> HiveFile::values(const std::string& key) const {
    const hive_node_h node = findKey(key);
    if (!node) return std::nullopt;
    return valuesOf(handle_.get(), node);
}

std::optional<HiveValue> HiveFile::value(const std::string& key, const std::string& name) const {
    auto all = values(key);
    if (!all) return std::nullopt;
    auto found =
        std::find_if(all->begin(), all->end(), [&](const HiveValue& value) { return equalsNoCase(value.name, name); });
    if (found == all->end()) return std::nullopt;
    return std::optional<HiveValue>(std::move(*found));
}

Status HiveFile::setValue(const std::string& key, const HiveValue& value, bool createKey) {
    if (Status allowed = guard_.checkVolume(path_); !allowed) return allowed;
    if (Status allowed = guard_.checkHive(path_, dirty_); !allowed) return allowed;
    hive_node_h node = hivex_root(handle_.get());
    for (const std::string& component : keyComponents(key)) {
        hive_node_h child = childNamed(handle_.get(), node, component);
        if (!child && !createKey)
            return Error{ErrorKind::NotFound, 0, "The key " + key + " does not exist in " + path_ + "."};
        if (!child) child = hivex_node_add_child(handle_.get(), node, component.c_str());
        if (!child) {
            Status failed = refusedByHivex("creating the key " + key + " in " + path_);
            reload();
            return failed;
        }
        node = child;
    }
    std::vector<HiveValue> values = valuesOf(handle_.get(), node);
    bool replaced = false;
    for (HiveValue& stored : values) {
        if (!equalsNoCase(stored.name, value.name)) continue;
        stored.type = value.type;
        stored.data = value.data;
        replaced = true;
        break;
    }
    if (!replaced) values.push_back(value);
    return replaceValues(node, values);
}

Status HiveFile::deleteValue(const std::string& key, const std::string& name) {
    if (Status allowed = guard_.checkVolume(path_); !allowed) return allowed;
    if (Status allowed = guard_.checkHive(path_, dirty_); !allowed) return allowed;
    const hive_node_h node = findKey(key);
    if (!node) return Error{ErrorKind::NotFound, 0, "The key " + key + " does not exist in " + path_ + "."};
    std::vector<HiveValue> values = valuesOf(handle_.get(), node);
    const auto before = values.size();
    std::erase_if(values, [&](const HiveValue& stored) { return equalsNoCase(stored.name, name); });
    if (values.size() == before)
        return Error{ErrorKind::NotFound, 0, "The value \"" + name + "\" does not exist in " + key + "."};
    return replaceValues(node, values);
}

Status HiveFile::replaceValues(hive_node_h node, const std::vector<HiveValue>& values) {
    std::vector<hive_set_value> set;
    set.reserve(values.size());
    for (const HiveValue& value : values)
        set.push_back({const_cast<char*>(value.name.c_str()), static_cast<hive_type>(value.type), value.data.size(),
                       reinterpret_cast<char*>(const_cast<std::uint8_t*>(value.data.data()))});
    if (hivex_node_set_values(handle_.get(), node, set.size(), set.data(), 0) != 0) {
        Status failed = refusedByHivex("writing the values of a key in " + path_);
        reload();
        return failed;
    }
    return commit();
}

Status HiveFile::backUp() {
    std::string contents;
    if (!readWholeFile(path_, contents)) return errnoResult("reading " + path_ + " to back it up");
    const std::string stem = path_ + ".lstartup-backup-" + timestamp();
    std::string backup = stem;
    FileDescriptor fd;
    for (int attempt = 2; !fd; ++attempt) {
        fd.reset(::open(backup.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!fd && (errno != EEXIST || attempt > 99)) return errnoResult("creating the backup " + backup);
        if (!fd) backup = stem + "-" + std::to_string(attempt);
    }
    if (Status written = writeAll(fd.get(), contents.data(), contents.size(), backup); !written) return written;
    if (::fsync(fd.get()) != 0) return errnoResult("flushing the backup " + backup);
    syncFolder(parentFolder(backup));
    backedUp_ = true;
    return {};
}

Status HiveFile::commit() {
    Status done = backedUp_ ? Status() : backUp();
    if (done) {
        TemporaryFile temporary(parentFolder(path_), "." + path_.substr(path_.find_last_of('/') + 1));
        if (!temporary.ok()) {
            done = errnoResult("creating a file beside " + path_);
        } else if (hivex_commit(handle_.get(), temporary.path().c_str(), 0) != 0) {
            done = refusedByHivex("writing " + temporary.path());
        } else {
            struct stat info {};
            if (::stat(path_.c_str(), &info) == 0) ::fchmod(temporary.fd(), info.st_mode & 07777);
            if (auto attributes = ntfsAttributes(path_)) (void)setNtfsAttributes(temporary.path(), *attributes);
            done = temporary.putInPlaceOf(path_);
        }
    }
    if (!done) reload();
    return done;
}

void HiveFile::reload() {
    if (Handle fresh{hivex_open(path_.c_str(), HIVEX_OPEN_WRITE)}) handle_ = std::move(fresh);
}

}  // namespace lsu::offline
