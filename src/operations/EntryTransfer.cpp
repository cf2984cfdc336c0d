#include "operations/EntryTransfer.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/WindowsPaths.h"
#include "catalog/DisabledStores.h"
#include "operations/Questions.h"
#include "platform/TemporaryNames.h"

namespace lsu {

namespace {

// What a change makes for its target besides the entry: the registry key a
// write creates, the folders for parked items. A change that fails takes
// them away again, so that it leaves no trace.
struct MadeForTarget {
    std::optional<RegistryLocation> key;
    std::vector<std::string> folders;  // parents first
};

Result<MadeForTarget> prepareTarget(const SourcePorts& ports, const EntryPlace& target) {
    MadeForTarget made;
    if (auto* value = std::get_if<RegistryPlace>(&target)) {
        if (!ports.registry.readValues(value->key)) made.key = value->key;
    } else if (auto* file = std::get_if<FilePlace>(&target)) {
        const std::string folder = parentFolderOf(file->path);
        const auto parking = disabledItemsSection(ports.system, folder);
        if (parking && !ports.files.folderExists(folder)) {
            // Only the folder this item needs: a user who cannot write beside
            // the program still parks their own items.
            auto folders = ensureDisabledItemsFolder(ports.system, ports.files, *parking);
            if (!folders) return folders.error();
            made.folders = std::move(*folders);
        }
    }
    return made;
}

Status takeAway(const SourcePorts& ports, const MadeForTarget& made) {
    if (made.key)
        if (Status removed = ports.registry.removeEmptyKey(*made.key); !removed) return removed;
    return removeFolders(ports.files, made.folders);
}

// What stood at the target before the change, and the user's answer where it
// differs from what is written there.
Result<std::optional<EntryContent>> checkConflict(const SourcePorts& ports, UserPrompts& prompts,
                                                  const EntryPlace& target, const EntryContent& content) {
    EntryRead before = readEntry(ports, target);
    if (!before) return before.error();
    if (*before && !sameContent(**before, content))
        if (Status answer = askReplace(prompts, kindOfPlace(target), describePlace(target)); !answer)
            return answer.error();
    return before;
}

// A file that moves unchanged is renamed, which keeps its bytes, times and
// attributes and never leaves it in two places; where the rename cannot be
// done (another volume, a refusal) the caller copies instead.
bool renameFile(const SourcePorts& ports, const EntryPlace& source, const EntryPlace& target,
                const EntryContent& content, bool replace) {
    auto* from = std::get_if<FilePlace>(&source);
    auto* to = std::get_if<FilePlace>(&target);
    if (!from || !to) return false;
    // Only what stands there now, unchanged, moves by renaming.
    const EntryRead now = readEntry(ports, source);
    return now && *now && sameContent(**now, content) && ports.files.moveFile(from->path, to->path, replace);
}

// The sentences that are not empty, one after the other.
std::string joined(std::initializer_list<std::string> sentences) {
    std::string text;
    for (const std::string& sentence : sentences)
        if (!sentence.empty()) text += (text.empty() ? "" : " ") + sentence;
    return text;
}

Error partlyDone(const EntryPlace& source, const EntryPlace& target, const Error& removal, const Error& rollback) {
    return {ErrorKind::PartlyDone, rollback.code,
            joined({"It may now stand both at " + describePlace(source) + " and at " + describePlace(target) + ".",
                    removal.message, rollback.message})};
}

// Puts back what stood at the target, and takes away what was made for it
// when nothing stood there.
Status undoWrite(const SourcePorts& ports, const EntryPlace& target, const std::optional<EntryContent>& before,
                 const MadeForTarget& made) {
    if (Status restored = restoreEntry(ports, target, before); !restored) return restored;
    return before ? Status() : takeAway(ports, made);
}

// Writes the content over what stood there; a failed write puts that back.
Status writeOver(const SourcePorts& ports, const EntryPlace& target, const EntryContent& content,
                 const std::optional<EntryContent>& before, const MadeForTarget& made) {
    Status written = writeEntry(ports, target, content);
    if (written) return {};
    if (const Status undone = undoWrite(ports, target, before, made); !undone)
        return Error{ErrorKind::PartlyDone, undone.error().code,
                     joined({describePlace(target) + " may no longer hold what it held before.",
                             written.error().message, undone.error().message})};
    return written;
}

Status moveEntry(const SourcePorts& ports, UserPrompts& prompts, const EntryPlace& source, const EntryPlace& target,
                 const EntryContent& content) {
    for (const EntryPlace* place : {&source, &target})
        if (Status allowed = checkChange(ports, *place); !allowed) return allowed;
    const auto before = checkConflict(ports, prompts, target, content);
    if (!before) return before.error();
    const auto made = prepareTarget(ports, target);
    if (!made) return made.error();
    if (renameFile(ports, source, target, content, before->has_value())) return {};
    // A move cut short earlier left the entry at the target already: only its source is left to remove.
    const bool alreadyThere = *before && sameContent(**before, content);
    if (!alreadyThere)
        if (Status written = writeOver(ports, target, content, *before, *made); !written) return written;
    const Status removed = removeEntry(ports, source);
    // A removal the system reports as failed may still have removed it: then
    // the entry stands at the target alone, and taking that back would lose
    // it. Where the source cannot be read, it is left in both places rather
    // than lost.
    const EntryRead left = readEntry(ports, source);
    if (left && !*left) return {};
    if (!left) return removed ? Status() : partlyDone(source, target, removed.error(), left.error());
    const Error failure =
        removed ? Error{ErrorKind::System, 0, describePlace(source) + " could not be removed."} : removed.error();
    if (const Status undone = undoWrite(ports, target, *before, *made); !undone)
        return partlyDone(source, target, failure, undone.error());
    return failure;
}

// The entry is rewritten where it stands: nothing else is replaced, and what
// it holds already is not written again.
Status rewriteEntry(const SourcePorts& ports, const EntryPlace& place, const EntryContent& content) {
    const EntryRead before = readEntry(ports, place);
    if (!before) return before.error();
    if (*before && sameContent(**before, content)) return {};
    if (Status allowed = checkChange(ports, place); !allowed) return allowed;
    return writeOver(ports, place, content, *before, {});
}

bool sameSpelling(const EntryPlace& a, const EntryPlace& b) {
    if (auto* value = std::get_if<RegistryPlace>(&a)) return value->name == std::get<RegistryPlace>(b).name;
    if (auto* file = std::get_if<FilePlace>(&a))
        return fileNameOf(file->path) == fileNameOf(std::get<FilePlace>(b).path);
    return true;
}

bool listedAs(FileSystem& files, const std::string& path) {
    const auto names = files.listFiles(parentFolderOf(path));
    return std::find(names.begin(), names.end(), fileNameOf(path)) != names.end();
}

// A file system renames a file to another spelling of its name in place. One
// that takes such a rename for no change at all is given the new spelling by
// way of a name beside it that shows, so that a run stopped in between leaves
// the file where a person finds it.
Status renameSpelling(FileSystem& files, const std::string& from, const std::string& to) {
    if (Status renamed = files.moveFile(from, to, true); !renamed) return renamed;
    if (listedAs(files, to)) return {};
    const std::string interim = withTrailingBackslash(parentFolderOf(to)) + "~" + std::string(fileNameOf(to));
    if (Status moved = files.moveFile(from, interim, false); !moved) return moved;
    Status renamed = files.moveFile(interim, to, false);
    if (!renamed) (void)files.moveFile(interim, from, false);
    return renamed;
}

// New contents are written once the file bears the new name.
Status respellFile(const SourcePorts& ports, const FilePlace& from, const FilePlace& to, const EntryContent& content) {
    if (Status allowed = ports.files.checkChange(from.path); !allowed) return allowed;
    if (Status renamed = renameSpelling(ports.files, from.path, to.path); !renamed) return renamed;
    const EntryRead now = readEntry(ports, to);
    if (now && *now && sameContent(**now, content)) return {};
    Status rewritten = rewriteEntry(ports, to, content);
    if (rewritten) return {};
    if (const Status back = ports.files.moveFile(to.path, from.path, true); !back)
        return Error{
            ErrorKind::PartlyDone, back.error().code,
            joined({"It now bears the name " + to.path + ".", rewritten.error().message, back.error().message})};
    return rewritten;
}

// The registry takes a name that differs only in letter case for the name of
// the value it holds, so such a rename goes by way of a name of its own: the
// entry is moved there and on to its new spelling, each move writing before
// it removes.
Status respellValue(const SourcePorts& ports, UserPrompts& prompts, const RegistryPlace& from, const RegistryPlace& to,
                    const EntryContent& content) {
    const RegistryPlace interim{from.key, temporaryNameFor(from.name)};
    if (Status parked = moveEntry(ports, prompts, from, interim, content); !parked) return parked;
    Status renamed = moveEntry(ports, prompts, interim, to, content);
    if (renamed) return {};
    if (const Status back = moveEntry(ports, prompts, interim, from, content); !back)
        return partlyDone(from, interim, renamed.error(), back.error());
    return renamed;
}

}  // namespace

Status placeEntry(const SourcePorts& ports, UserPrompts& prompts, const EntryPlace& target,
                  const EntryContent& content) {
    if (Status allowed = checkChange(ports, target); !allowed) return allowed;
    const auto before = checkConflict(ports, prompts, target, content);
    if (!before) return before.error();
    const auto made = prepareTarget(ports, target);
    if (!made) return made.error();
    return writeOver(ports, target, content, *before, *made);
}

Status transferEntry(const SourcePorts& ports, UserPrompts& prompts, const EntryPlace& source, const EntryPlace& target,
                     const EntryContent& content) {
    if (!samePlace(source, target)) return moveEntry(ports, prompts, source, target, content);
    if (sameSpelling(source, target)) return rewriteEntry(ports, target, content);
    if (auto* file = std::get_if<FilePlace>(&source))
        return respellFile(ports, *file, std::get<FilePlace>(target), content);
    return respellValue(ports, prompts, std::get<RegistryPlace>(source), std::get<RegistryPlace>(target), content);
}

}  // namespace lsu
