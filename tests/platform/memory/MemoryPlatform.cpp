#include "platform/memory/MemoryPlatform.h"

#include <algorithm>

#include "base/CaseFolding.h"
#include "base/Text.h"
#include "base/WindowsPaths.h"
#include "platform/LinkPlacement.h"
#include "platform/TemporaryNames.h"

namespace lsu {

namespace {

constexpr std::string_view kLinkMagic = "MEMLNK\n";

Bytes encodeLink(const ShortcutFields& f) {
    std::string text(kLinkMagic);
    for (const std::string& field : {f.targetPath, f.arguments, f.description, std::to_string(f.hotKey),
                                     std::to_string(f.showCmd), f.workDir, f.iconFile, std::to_string(f.iconIndex)})
        text += field + '\n';
    return {text.begin(), text.end()};
}

std::optional<ShortcutFields> decodeLink(const Bytes& bytes) {
    const std::string text(bytes.begin(), bytes.end());
    if (!startsWith(text, kLinkMagic)) return std::nullopt;
    std::vector<std::string> parts;
    for (std::size_t pos = kLinkMagic.size(), nl; (nl = text.find('\n', pos)) != std::string::npos; pos = nl + 1)
        parts.push_back(text.substr(pos, nl - pos));
    if (parts.size() != 8) return std::nullopt;
    return ShortcutFields{parts[0], parts[1], parts[2],           std::stoi(parts[3]), std::stoi(parts[4]),
                          parts[5], parts[6], std::stoi(parts[7])};
}

// A path as Windows compares it: without case, either slash, repeated
// separators as one, trailing dots and spaces dropped. A trailing separator
// stays, so that such a path names a folder and never a file.
std::u16string fold(const std::string& path) {
    std::string normal;
    for (char c : path) {
        if (c == '/') c = '\\';
        if (c != '\\' || normal.size() < 2 || normal.back() != '\\') normal += c;
    }
    while (!normal.empty() && (normal.back() == '.' || normal.back() == ' ')) normal.pop_back();
    return foldedName(normal);
}

std::u16string folderKey(const std::string& path) {
    std::u16string key = fold(path);
    while (key.size() > 1 && key.back() == u'\\') key.pop_back();
    return key;
}

// The value of that name, compared as the registry compares names.
auto named(std::vector<RegistryValue>& values, const std::string& name) {
    return std::find_if(values.begin(), values.end(),
                        [&](const RegistryValue& v) { return equalsNoCase(v.name, name); });
}

// The answers Windows gives for the refusals this model makes.
Error accessDenied() { return {ErrorKind::NeedsAdministrator, 5, "Access is denied."}; }
Error notFound() { return {ErrorKind::NotFound, 2, "The system cannot find the file specified."}; }
Error pathNotFound() { return {ErrorKind::NotFound, 3, "The system cannot find the path specified."}; }
Error alreadyExists() { return {ErrorKind::System, 183, "Cannot create a file when that file already exists."}; }
Error sharingViolation() {
    return {ErrorKind::System, 32, "The process cannot access the file because it is being used by another process."};
}
Error notEmpty() { return {ErrorKind::System, 145, "The directory is not empty."}; }
Error deviceFailed() {
    return {ErrorKind::System, 1117, "The request could not be performed because of an I/O device error."};
}

}  // namespace

MemoryPlatform::MemoryPlatform()
    : shellFolders_{{ShellFolder::UserStartup, "C:\\users\\tester\\Start Menu\\Programs\\Startup"},
                    {ShellFolder::CommonStartup, "C:\\ProgramData\\Start Menu\\Programs\\Startup"},
                    {ShellFolder::LocalAppData, "C:\\users\\tester\\AppData\\Local"}} {
    for (const auto& [folder, path] : shellFolders_) addFolder(path);
    for (const char* path : {"C:\\windows\\system32", kMemoryProgramFolder}) addFolder(path);
}

// Its files are no libraries: an indirect display name is not resolved, and
// the service shows under its own name.
ServiceKeys MemoryPlatform::serviceKeys() {
    return ServiceKeys(*this, [](const formats::IndirectString&) { return std::string(); });
}

void MemoryPlatform::addFolder(const std::string& path) {
    for (std::string p = path; !p.empty(); p = parentFolderOf(p)) folders_.insert(folderKey(p));
}

std::optional<Error> MemoryPlatform::refusalIn(const std::string& folder) const {
    if (!folders_.count(folderKey(folder))) return pathNotFound();
    if (readOnlyFolders_.count(folderKey(folder))) return accessDenied();
    return std::nullopt;
}

std::optional<Error> MemoryPlatform::refusalOf(const std::string& path) const {
    if (auto refused = refusalIn(parentFolderOf(path))) return refused;
    if (heldFiles_.count(fold(path))) return sharingViolation();
    // As Windows refuses to make a file where a folder stands.
    if (folders_.count(folderKey(path))) return accessDenied();
    return std::nullopt;
}

void MemoryPlatform::holdOpen(const std::string& path) { heldFiles_.insert(fold(path)); }

void MemoryPlatform::putFile(const std::string& path, Bytes bytes, const std::string& company) {
    addFolder(parentFolderOf(path));
    files_[fold(path)] = File{std::string(fileNameOf(path)), std::move(bytes), false, company};
}

void MemoryPlatform::putShortcut(const std::string& path, const ShortcutFields& fields) {
    putFile(path, encodeLink(fields));
}

void MemoryPlatform::setShellFolder(ShellFolder folder, const std::string& path) {
    shellFolders_[folder] = path;
    addFolder(path);
}

void MemoryPlatform::makeReadOnly(const std::string& folder) { readOnlyFolders_.insert(folderKey(folder)); }

// Registry ------------------------------------------------------------------

std::u16string MemoryPlatform::keyPath(const RegistryLocation& key) const {
    std::string view;
    if (key.hive == Hive::LocalMachine && key.view == RegistryView::Bits32 && !sharedViews_) view = "WOW32\\";
    return foldedName(std::to_string(static_cast<std::uint32_t>(key.hive)) + "\\" + view + key.subkey);
}

std::optional<std::vector<RegistryValue>> MemoryPlatform::readValues(const RegistryLocation& key) {
    if (fails(MemoryOp::RegistryRead)) return std::nullopt;
    auto it = keys_.find(keyPath(key));
    return it == keys_.end() ? std::nullopt : std::optional(it->second.values);
}

// The registry hands out a value by the name asked for, in whatever case it
// was stored under.
std::optional<RegistryValue> MemoryPlatform::readValue(const RegistryLocation& key, const std::string& name) {
    auto values = readValues(key).value_or(Values{});
    auto found = named(values, name);
    return found == values.end() ? std::nullopt : std::optional(RegistryValue{name, found->type, found->data});
}

Status MemoryPlatform::writeValue(const RegistryLocation& key, const RegistryValue& value, bool createKey) {
    if (readOnlyHives_.count(key.hive)) return accessDenied();
    if (fails(MemoryOp::RegistryWrite)) return deviceFailed();
    if (!createKey && !keys_.count(keyPath(key))) return notFound();
    Key& stored = keys_.try_emplace(keyPath(key), Key{key.subkey, {}}).first->second;
    // A value written again keeps the name it was first stored under.
    auto found = named(stored.values, value.name);
    if (found == stored.values.end()) stored.values.push_back(value);
    else *found = {found->name, value.type, value.data};
    return {};
}

Status MemoryPlatform::deleteValue(const RegistryLocation& key, const std::string& name) {
    if (readOnlyHives_.count(key.hive)) return accessDenied();
    if (fails(MemoryOp::RegistryDelete)) return deviceFailed();
    auto it = keys_.find(keyPath(key));
    if (it == keys_.end()) return notFound();
    auto found = named(it->second.values, name);
    if (found == it->second.values.end()) return notFound();
    it->second.values.erase(found);
    return {};
}

// Every key stored below this one leads to a key directly below it, which
// exists as the registry makes each parent of a key it creates.
std::optional<std::vector<std::string>> MemoryPlatform::readSubkeys(const RegistryLocation& key) {
    if (fails(MemoryOp::RegistryRead)) return std::nullopt;
    const std::u16string prefix = keyPath(key) + u"\\";
    const std::size_t depth = static_cast<std::size_t>(std::count(key.subkey.begin(), key.subkey.end(), '\\')) + 1;
    std::vector<std::string> names;
    std::set<std::u16string> seen;
    for (const auto& [path, stored] : keys_) {
        if (!path.starts_with(prefix)) continue;
        std::string name = stored.subkey;
        for (std::size_t skipped = 0; skipped < depth; ++skipped) name.erase(0, name.find('\\') + 1);
        name = name.substr(0, name.find('\\'));
        if (seen.insert(foldedName(name)).second) names.push_back(name);
    }
    if (names.empty() && !keys_.count(keyPath(key))) return std::nullopt;
    return names;
}

Status MemoryPlatform::removeEmptyKey(const RegistryLocation& key) {
    if (readOnlyHives_.count(key.hive)) return accessDenied();
    const auto it = keys_.find(keyPath(key));
    if (it == keys_.end() || !it->second.values.empty()) return {};
    const std::u16string below = it->first + u"\\";
    if (std::any_of(keys_.begin(), keys_.end(), [&](const auto& other) { return other.first.starts_with(below); }))
        return {};
    keys_.erase(it);
    return {};
}

Status MemoryPlatform::checkChange(const RegistryLocation& key) {
    if (readOnlyHives_.count(key.hive)) return accessDenied();
    return {};
}

bool MemoryPlatform::viewsShareKey(Hive hive, const std::string&) { return hive == Hive::CurrentUser || sharedViews_; }

// Profile -------------------------------------------------------------------

std::optional<std::string> MemoryPlatform::readProfile(const std::string& section, const std::string& key,
                                                       const std::string& file) {
    if (fails(MemoryOp::ProfileRead)) return std::nullopt;
    auto it = profiles_.find(fold(file) + u"\n" + foldedName(section) + u"\n" + foldedName(key));
    if (it == profiles_.end()) return std::nullopt;
    // The system keeps win.ini's [windows] in the registry, which gives a
    // value as written. A section of the file is read without the spaces and
    // tabs around a value, and without one pair of quotes that encloses it.
    const std::string& stored = it->second;
    if (equalsNoCase(section, "windows") && equalsNoCase(fileNameOf(file), "win.ini")) return stored;
    const auto first = stored.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    std::string value = stored.substr(first, stored.find_last_not_of(" \t") - first + 1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

Status MemoryPlatform::writeProfile(const std::string& section, const std::string& key, const std::string& value,
                                    const std::string& file) {
    if (auto refused = refusalIn(parentFolderOf(file))) return *refused;
    if (fails(MemoryOp::ProfileWrite)) return deviceFailed();
    profiles_[fold(file) + u"\n" + foldedName(section) + u"\n" + foldedName(key)] = value;
    return {};
}

Status MemoryPlatform::removeProfileKey(const std::string& section, const std::string& key, const std::string& file) {
    if (auto refused = refusalIn(parentFolderOf(file))) return *refused;
    if (fails(MemoryOp::ProfileWrite)) return deviceFailed();
    profiles_.erase(fold(file) + u"\n" + foldedName(section) + u"\n" + foldedName(key));
    return {};
}

Status MemoryPlatform::checkChange(const std::string&, const std::string& file) {
    if (readOnlyFolders_.count(folderKey(parentFolderOf(file)))) return accessDenied();
    return {};
}

// Folders and files -----------------------------------------------------------

std::string MemoryPlatform::shellFolder(ShellFolder folder) {
    auto it = shellFolders_.find(folder);
    return it == shellFolders_.end() ? std::string() : it->second;
}

bool MemoryPlatform::fileExists(const std::string& path) { return files_.count(fold(path)) != 0; }

bool MemoryPlatform::folderExists(const std::string& path) { return folders_.count(folderKey(path)) != 0; }

Status MemoryPlatform::ensureFolder(const std::string& path) {
    if (folderExists(path)) return {};
    if (auto refused = refusalIn(parentFolderOf(path))) return *refused;
    folders_.insert(folderKey(path));
    return {};
}

Status MemoryPlatform::removeFolder(const std::string& path) {
    if (auto refused = refusalIn(parentFolderOf(path))) return *refused;
    if (!folderExists(path)) return pathNotFound();
    const std::u16string prefix = folderKey(path) + u"\\";
    const bool holdsFile =
        std::any_of(files_.begin(), files_.end(), [&](const auto& file) { return file.first.starts_with(prefix); });
    const bool holdsFolder = std::any_of(folders_.begin(), folders_.end(),
                                         [&](const std::u16string& folder) { return folder.starts_with(prefix); });
    if (holdsFile || holdsFolder) return notEmpty();
    folders_.erase(folderKey(path));
    return {};
}

std::vector<std::string> MemoryPlatform::listFiles(const std::string& folder) {
    std::vector<std::string> names;
    const std::u16string prefix = folderKey(folder) + u"\\";
    for (const auto& [path, file] : files_)
        if (path.starts_with(prefix) && path.find(u'\\', prefix.size()) == std::u16string::npos && !file.hidden &&
            !isTemporaryName(file.name))
            names.push_back(file.name);  // in the order of the folded names, as NTFS lists a folder
    return names;
}

Result<Bytes> MemoryPlatform::readFile(const std::string& path) {
    if (fails(MemoryOp::FileRead)) return deviceFailed();
    auto it = files_.find(fold(path));
    if (it == files_.end()) return notFound();
    if (heldFiles_.count(fold(path))) return sharingViolation();
    return it->second.bytes;
}

Result<Bytes> MemoryPlatform::readFileUpTo(const std::string& path, std::size_t limit) {
    auto bytes = readFile(path);
    if (bytes && bytes->size() > limit) return Error{ErrorKind::DamagedData, 0, path + " is too large."};
    return bytes;
}

Status MemoryPlatform::writeFile(const std::string& path, const Bytes& bytes) {
    if (auto refused = refusalOf(path)) return *refused;
    if (fails(MemoryOp::FileWrite)) return deviceFailed();
    files_.try_emplace(fold(path), File{std::string(fileNameOf(path)), {}, false, {}}).first->second.bytes = bytes;
    return {};
}

Status MemoryPlatform::deleteFile(const std::string& path) {
    if (auto refused = refusalOf(path)) return *refused;
    if (fails(MemoryOp::FileDelete)) return deviceFailed();
    if (files_.erase(fold(path)) == 0) return notFound();
    return {};
}

Status MemoryPlatform::moveFile(const std::string& from, const std::string& to, bool replace) {
    if (auto refused = refusalOf(from)) return *refused;
    auto source = files_.find(fold(from));
    if (source == files_.end()) return notFound();
    if (auto refused = refusalOf(to)) return *refused;
    if (fails(MemoryOp::FileMove)) return deviceFailed();
    // A file renamed to its own name in another case is no file in the way.
    if (files_.count(fold(to)) && !replace && fold(from) != fold(to)) return alreadyExists();
    File moved = source->second;
    moved.name = std::string(fileNameOf(to));
    files_.erase(source);
    files_[fold(to)] = std::move(moved);
    return {};
}

std::string MemoryPlatform::pathToShow(const std::string& folder, const std::string& name) {
    return withTrailingBackslash(folder) + name;
}

Status MemoryPlatform::checkChange(const std::string& path) {
    if (readOnlyFolders_.count(folderKey(parentFolderOf(path)))) return accessDenied();
    if (heldFiles_.count(fold(path))) return sharingViolation();
    return {};
}

Status MemoryPlatform::createHiddenFile(const std::string& path, const Bytes& bytes) {
    if (fileExists(path)) return alreadyExists();
    if (Status written = writeFile(path, bytes); !written) return written;
    files_.at(fold(path)).hidden = true;
    return {};
}

std::string MemoryPlatform::companyName(const std::string& programPath) {
    auto it = files_.find(fold(programPath));
    return it == files_.end() ? std::string() : it->second.company;
}

// Only the variables that name the Windows folder are set.
std::string MemoryPlatform::expandEnvironment(const std::string& text) {
    std::string result = text;
    for (const std::string variable : {"%SYSTEMROOT%", "%WINDIR%"})
        for (std::size_t at = 0; at + variable.size() <= result.size(); ++at)
            if (equalsNoCase(std::string_view(result).substr(at, variable.size()), variable))
                result.replace(at, variable.size(), windowsDirectory());
    return result;
}

// Shortcuts -------------------------------------------------------------------

std::optional<ShortcutInfo> MemoryPlatform::readShortcut(const std::string& linkFile) {
    auto it = files_.find(fold(linkFile));
    if (it == files_.end()) return std::nullopt;
    auto fields = decodeLink(it->second.bytes);
    if (!fields) return std::nullopt;
    // The shell shows a link under its file name without the extension.
    return ShortcutInfo{*fields, std::string(stemOf(it->second.name))};
}

Status MemoryPlatform::writeShortcut(const std::string& linkFile, const ShortcutFields& fields, bool replace) {
    // What an earlier run left unfinished in the folder goes first.
    const std::u16string folder = folderKey(parentFolderOf(linkFile)) + u"\\";
    std::erase_if(files_, [&](const auto& file) {
        return file.first.starts_with(folder) && file.first.find(u'\\', folder.size()) == std::u16string::npos &&
               isTemporaryName(file.second.name);
    });
    return placeLink(*this, linkFile, replace, [&](const std::string& temporary) -> Status {
        if (fails(MemoryOp::ShortcutWrite)) return deviceFailed();
        return writeFile(temporary, encodeLink(fields));
    });
}

// Services --------------------------------------------------------------------

Status MemoryPlatform::setServiceStart(const std::string& name, std::uint32_t startType, bool delayed) {
    if (fails(MemoryOp::ServiceChange)) return accessDenied();
    return serviceKeys().setStart(name, startType, delayed);
}

// Scheduled tasks --------------------------------------------------------------

void MemoryPlatform::putTask(const std::string& path, const std::string& definition, bool enabled) {
    tasks_[foldedName(path)] = RegisteredTask{path, definition, enabled};
}

Result<std::vector<RegisteredTask>> MemoryPlatform::registeredTasks() {
    if (fails(MemoryOp::TaskRead))
        return Error{ErrorKind::System, 0x80041315u, "The Task Scheduler Service is not running."};
    std::vector<RegisteredTask> tasks;
    for (const auto& [path, task] : tasks_) tasks.push_back(task);
    return tasks;
}

Status MemoryPlatform::setTaskEnabled(const std::string& taskPath, bool enabled) {
    auto it = tasks_.find(foldedName(taskPath));
    if (it == tasks_.end()) return notFound();
    if (fails(MemoryOp::TaskSwitch)) return deviceFailed();
    if (!taskSwitchesIgnored_) it->second.enabled = enabled;
    if (it->second.enabled != enabled)
        return Error{ErrorKind::ReadBackMismatch, 0, "The task's switch did not read back as written."};
    return {};
}

}  // namespace lsu
