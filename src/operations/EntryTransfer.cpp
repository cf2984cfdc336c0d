#include "operations/EntryTransfer.h"

#include "operations/Messages.h"

namespace lsu {

namespace {

// A file that moves unchanged is renamed, which keeps its bytes, times and
// attributes and never leaves it in two places; where the rename cannot be
// done (another volume, a refusal) the caller copies instead.
bool renameFile(Platform& platform, const EntryPlace& source, const EntryPlace& target, const EntryContent& content,
                bool replace) {
    auto* from = std::get_if<FilePlace>(&source);
    auto* to = std::get_if<FilePlace>(&target);
    if (!from || !to) return false;
    // Only what stands there now, unchanged, moves by renaming.
    return readEntry(platform, source) == content && platform.moveFile(from->path, to->path, replace);
}

struct Conflict {
    std::optional<EntryContent> before;
    bool declined = false;
};

Conflict checkConflict(Platform& platform, UserPrompts& prompts, const EntryPlace& target,
                       const EntryContent& content) {
    Conflict conflict{readEntry(platform, target)};
    if (conflict.before && !sameContent(*conflict.before, content) &&
        !askReplace(prompts, kindOfPlace(target), describePlace(target)))
        conflict.declined = true;
    return conflict;
}

// Writes the content over what stood there; a failed write puts that back.
Outcome writeOver(Platform& platform, const EntryPlace& target, const EntryContent& content,
                  const std::optional<EntryContent>& before) {
    const SystemResult written = writeEntry(platform, target, content);
    if (written) return Outcome::done();
    restoreEntry(platform, target, before);
    return Outcome::failed(written);
}

}  // namespace

Outcome placeEntry(Platform& platform, UserPrompts& prompts, const EntryPlace& target, const EntryContent& content) {
    Conflict conflict = checkConflict(platform, prompts, target, content);
    if (conflict.declined) return Outcome::declined();
    return writeOver(platform, target, content, conflict.before);
}

Outcome transferEntry(Platform& platform, UserPrompts& prompts, const EntryPlace& source, const EntryPlace& target,
                      const EntryContent& content) {
    // The entry is rewritten where it stands: nothing else is replaced.
    if (samePlace(source, target)) return writeOver(platform, target, content, readEntry(platform, target));
    Conflict conflict = checkConflict(platform, prompts, target, content);
    if (conflict.declined) return Outcome::declined();
    if (renameFile(platform, source, target, content, conflict.before.has_value())) return Outcome::done();
    if (Outcome written = writeOver(platform, target, content, conflict.before); written.kind != Outcome::Done)
        return written;
    const SystemResult removed = removeEntry(platform, source);
    if (removed) return Outcome::done();
    restoreEntry(platform, target, conflict.before);
    return Outcome::failed(removed);
}

}  // namespace lsu
