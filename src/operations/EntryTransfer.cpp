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
    if (!from || !to || !std::holds_alternative<FileBytes>(content)) return false;
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

}  // namespace

Outcome placeEntry(Platform& platform, UserPrompts& prompts, const EntryPlace& target, const EntryContent& content) {
    Conflict conflict = checkConflict(platform, prompts, target, content);
    if (conflict.declined) return Outcome::Declined;
    if (writeEntry(platform, target, content)) return Outcome::Done;
    restoreEntry(platform, target, conflict.before);
    return Outcome::Failed;
}

Outcome transferEntry(Platform& platform, UserPrompts& prompts, const EntryPlace& source, const EntryPlace& target,
                      const EntryContent& content) {
    if (samePlace(source, target)) {
        // The entry is rewritten where it stands: nothing else is replaced.
        auto before = readEntry(platform, target);
        if (writeEntry(platform, target, content)) return Outcome::Done;
        restoreEntry(platform, target, before);
        return Outcome::Failed;
    }
    Conflict conflict = checkConflict(platform, prompts, target, content);
    if (conflict.declined) return Outcome::Declined;
    if (renameFile(platform, source, target, content, conflict.before.has_value())) return Outcome::Done;
    if (!writeEntry(platform, target, content)) {
        restoreEntry(platform, target, conflict.before);
        return Outcome::Failed;
    }
    if (removeEntry(platform, source)) return Outcome::Done;
    restoreEntry(platform, target, conflict.before);
    return Outcome::Failed;
}

}  // namespace lsu
