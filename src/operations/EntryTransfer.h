#pragma once
// Writing an entry where another may already stand, and moving an entry from
// one place to another: what the system knows against either place refuses
// the change before anything is written; the target is written and read back
// first, the source is removed only then, and a change that fails takes its
// write back, with the registry key or the folders it made for it.

#include "operations/EntryPlaces.h"
#include "operations/UserPrompts.h"

namespace lsu {

// Writes the content at the target. A different entry standing there is
// replaced only when the user says Yes (No: declined by the user, nothing
// changed); identical content is no conflict. A failed write puts back what
// stood there.
Status placeEntry(const SourcePorts& ports, UserPrompts& prompts, const EntryPlace& target,
                  const EntryContent& content);

// Places the content at the target, then removes the entry at the source.
// When the source cannot be removed, the target is put back as it was, so
// that the entry stands in exactly one place; when that fails too, the
// failure is one of a change done in part, naming both places. A target
// that holds the entry already (a move cut short earlier) only has its
// source removed. A target that differs from the source only in the letter
// case of its name renames the entry where it stands.
Status transferEntry(const SourcePorts& ports, UserPrompts& prompts, const EntryPlace& source, const EntryPlace& target,
                     const EntryContent& content);

}  // namespace lsu
