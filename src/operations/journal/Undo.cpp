#include "operations/journal/Undo.h"

#include <algorithm>

namespace lsu {

namespace {

std::string numbered(ChangeId id) { return "Change " + std::to_string(id); }

// The places whose state the change changed, each with what it left there.
struct PutBack {
    const TouchedBefore* touched;
    const PlaceState* after;
};

std::vector<PutBack> placesChanged(const JournalChange& change) {
    std::vector<PutBack> changed;
    for (std::size_t at = 0; at < change.places.size(); ++at) {
        const TouchedBefore& touched = change.places[at];
        const PlaceState& after = change.end->after[at];
        if (!holdsState(touched.place, after, touched.before)) changed.push_back({&touched, &after});
    }
    return changed;
}

Status stillAsLeft(const SourcePorts& ports, ChangeId id, const std::vector<PutBack>& places) {
    for (const PutBack& place : places) {
        auto now = readPlace(ports, place.touched->place);
        if (!now) return now.error();
        if (!holdsState(place.touched->place, *now, *place.after))
            return Error{ErrorKind::ChangedSince, 0,
                         describePlace(place.touched->place) + " no longer holds what " + numbered(id) +
                             " left there: something changed it since. Nothing was changed."};
    }
    return {};
}

// The places are put back in the reverse of the order the change touched
// them, so a folder or key it made goes after what it put in it. When one
// cannot be put back, those already put back get what the change left.
ChangeResult putBackAll(const SourcePorts& ports, const std::vector<PutBack>& places) {
    for (std::size_t at = places.size(); at-- > 0;) {
        const Status put = putBack(ports, places[at].touched->place, places[at].touched->before);
        if (put) continue;
        for (std::size_t done = at + 1; done < places.size(); ++done)
            if (Status again = putBack(ports, places[done].touched->place, *places[done].after); !again)
                return Error{ErrorKind::PartlyDone, again.error().code,
                             put.error().message + " " + describePlace(places[done].touched->place) +
                                 " could not be given back what stood there before the undo: " + again.error().message};
        return put.error();
    }
    return Changed{};
}

}  // namespace

Result<JournalChange> changeToUndo(const ChangeJournal& journal, std::optional<ChangeId> id) {
    auto changes = journal.read();
    if (!changes) return changes.error();
    if (changes->empty()) return Error{ErrorKind::NotFound, 0, "The journal records no change to undo."};
    if (!id) return changes->back();
    const auto found = std::find_if(changes->begin(), changes->end(),
                                    [&](const JournalChange& change) { return change.header.id == *id; });
    if (found == changes->end()) return Error{ErrorKind::NotFound, 0, "The journal records no " + numbered(*id) + "."};
    return *found;
}

ChangeResult undoChange(ChangeJournal& journal, const SourcePorts& ports, std::optional<ChangeId> id) {
    auto change = changeToUndo(journal, id);
    if (!change) return change.error();
    const ChangeId undone = change->header.id;
    if (!change->end)
        return Error{ErrorKind::NotOffered, 0,
                     numbered(undone) +
                         " was cut short before it ended, so what it left is not known. It is not "
                         "undone; check the places it touched."};
    const std::vector<PutBack> places = placesChanged(*change);
    if (places.empty())
        return Error{ErrorKind::NotOffered, 0, numbered(undone) + " changed nothing, so there is nothing to undo."};
    if (Status unchanged = stillAsLeft(ports, undone, places); !unchanged) return unchanged.error();
    const ChangeTitle title{ChangeAction::Undo, change->header.section, change->header.entry, undone};
    return recordChange(journal, ports, title,
                        [&](const SourcePorts& recorded) { return putBackAll(recorded, places); });
}

}  // namespace lsu
