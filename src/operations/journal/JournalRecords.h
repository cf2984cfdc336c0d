#pragma once
// The journal's records: a change begins (when, which tool, what was done to
// which entry), then each place it touches is recorded with what stood there
// before it is touched, and the change ends done or failed with what each
// place holds after. A change without its end was cut short.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "operations/journal/TouchedPlaces.h"

namespace lsu {

enum class ChangeAction { Enable, Disable, Delete, Add, Edit, Undo };

std::string_view actionName(ChangeAction action);  // "enable", ...

using ChangeId = std::int64_t;

struct ChangeHeader {
    ChangeId id = 0;
    std::string time;  // UTC, as 2026-12-08T23:59:00Z
    std::string tool;
    ChangeAction action = ChangeAction::Enable;
    std::string section;  // the section's key, as the tool names it
    std::string entry;
    std::optional<ChangeId> undoes;  // the change an undo puts back
};

struct TouchedBefore {
    TouchedPlace place;
    PlaceState before;
};

struct ChangeEnd {
    bool done = false;
    std::string message;            // why it failed; empty when done
    std::vector<PlaceState> after;  // one for each place touched, in order
};

struct JournalChange {
    ChangeHeader header;
    std::vector<TouchedBefore> places;  // in the order they were first touched
    std::optional<ChangeEnd> end;
};

// One line each, ending with a line break.
std::string beginLine(const ChangeHeader& header);
std::string placeLine(ChangeId id, const TouchedBefore& touched);
std::string endLine(ChangeId id, const ChangeEnd& end, const std::vector<TouchedBefore>& places);

// The changes the text records, oldest first. A line that is cut off (no
// line break at its end) or that cannot be read is passed over, and so is
// one that belongs to no change begun before it.
std::vector<JournalChange> readJournalText(std::string_view text);

// The change each line belongs to; nullopt for a line that cannot be read.
std::optional<ChangeId> changeOfLine(std::string_view line);

}  // namespace lsu
