#pragma once
// Undo: every place a change touched gets back exactly what stood there
// before it, and the undo is a change of its own in the journal, so that it
// can be undone in turn. An undo never overwrites a newer change: when any
// place no longer holds what the change left there, nothing is put back.

#include <optional>

#include "operations/journal/RecordedChange.h"

namespace lsu {

// The change to undo: the one numbered, or the last one recorded.
Result<JournalChange> changeToUndo(const ChangeJournal& journal, std::optional<ChangeId> id);

// Undoes the change numbered (the last one recorded when none is), or says
// why not: not found, cut short before its end was recorded, changed
// nothing, or a place it touched holds something else now.
ChangeResult undoChange(ChangeJournal& journal, const SourcePorts& ports, std::optional<ChangeId> id);

}  // namespace lsu
