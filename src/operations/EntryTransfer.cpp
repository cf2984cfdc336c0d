#include "operations/EntryTransfer.h"

#include <initializer_list>
#include <string>

#include "operations/Questions.h"

namespace lsu {

namespace {

// A file that moves unchanged is renamed, which keeps its bytes, times and
// attributes and never leaves it in two places; where the rename cannot be
// done (another volume, a refusal) the caller copies instead.
bool renameFile(const SourcePorts& ports, const EntryPlace& source, const EntryPlace& target,
                const EntryContent& content, bool replace) {
    auto* from = std::get_if<FilePlace>(&source);
    auto* to = std::get_if<FilePlace>(&target);
    if (!from || !to) return false;
    // Only what stands there now, unchanged, moves by renaming.
    return readEntry(ports, source) == content && ports.files.moveFile(from->path, to->path, replace);
}

struct Conflict {
    std::optional<EntryContent> before;
    Status answer;  // declined when the user would not have it replaced
};

Conflict checkConflict(const SourcePorts& ports, UserPrompts& prompts, const EntryPlace& target,
                       const EntryContent& content) {
    Conflict conflict{readEntry(ports, target), {}};
    if (conflict.before && !sameContent(*conflict.before, content))
        conflict.answer = askReplace(prompts, kindOfPlace(target), describePlace(target));
    return conflict;
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

// Writes the content over what stood there; a failed write puts that back.
Status writeOver(const SourcePorts& ports, const EntryPlace& target, const EntryContent& content,
                 const std::optional<EntryContent>& before) {
    Status written = writeEntry(ports, target, content);
    if (written) return {};
    if (const Status restored = restoreEntry(ports, target, before); !restored)
        return Error{ErrorKind::PartlyDone, restored.error().code,
                     joined({describePlace(target) + " may no longer hold what it held before.",
                             written.error().message, restored.error().message})};
    return written;
}

}  // namespace

Status placeEntry(const SourcePorts& ports, UserPrompts& prompts, const EntryPlace& target,
                  const EntryContent& content) {
    const Conflict conflict = checkConflict(ports, prompts, target, content);
    if (!conflict.answer) return conflict.answer;
    return writeOver(ports, target, content, conflict.before);
}

Status transferEntry(const SourcePorts& ports, UserPrompts& prompts, const EntryPlace& source, const EntryPlace& target,
                     const EntryContent& content) {
    // The entry is rewritten where it stands: nothing else is replaced.
    if (samePlace(source, target)) return writeOver(ports, target, content, readEntry(ports, target));
    const Conflict conflict = checkConflict(ports, prompts, target, content);
    if (!conflict.answer) return conflict.answer;
    if (renameFile(ports, source, target, content, conflict.before.has_value())) return {};
    if (Status written = writeOver(ports, target, content, conflict.before); !written) return written;
    Status removed = removeEntry(ports, source);
    // A removal the system reports as failed may still have removed it: then
    // the entry stands at the target alone, and taking that back would lose it.
    if (removed || !readEntry(ports, source)) return {};
    if (const Status restored = restoreEntry(ports, target, conflict.before); !restored)
        return partlyDone(source, target, removed.error(), restored.error());
    return removed;
}

}  // namespace lsu
