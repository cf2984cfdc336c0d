#pragma once
// A change recorded as it is made: every place it touches is written to the
// journal with what stood there before the place is touched, and the change
// is marked done or failed with what each place holds after. A place that
// cannot be recorded is not touched, so a change the journal cannot take is
// not made. Whatever a change does goes through the ports it is handed, so
// no kind of change can leave a place out.

#include <functional>
#include <optional>
#include <string>

#include "operations/Operations.h"
#include "operations/journal/ChangeJournal.h"

namespace lsu {

struct ChangeTitle {
    ChangeAction action = ChangeAction::Enable;
    std::string section;  // the section's key
    std::string entry;
    std::optional<ChangeId> undoes;
};

// The title of a change to the entry of that name in the section.
ChangeTitle changeTitle(ChangeAction action, SectionId id, const std::string& entry);

ChangeResult recordChange(ChangeJournal& journal, const SourcePorts& ports, const ChangeTitle& title,
                          const std::function<ChangeResult(const SourcePorts&)>& change);

}  // namespace lsu
