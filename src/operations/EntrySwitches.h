#pragma once
// Keeping Windows' startup switch of an entry with the entry: turned on when
// the user turns the entry on, removed with it, carried to its new name.

#include <optional>
#include <string>

#include "catalog/Sections.h"
#include "operations/EntryPlaces.h"

namespace lsu {

// Where the switch of the entry standing at `place` is kept; nullopt for a
// leaf without switches.
struct SwitchPlace {
    RegistryLocation key;
    std::string name;
};
std::optional<SwitchPlace> switchPlaceOf(SectionId leaf, const EntryPlace& place);

// Turns the switch on when it is off; a missing switch, or one of another
// shape, is left as it is.
Status turnSwitchOn(Registry& registry, const SwitchPlace& place);
// Removes the switch, if there is one.
Status removeSwitch(Registry& registry, const SwitchPlace& place);
// Moves the switch, if there is one, to its new place (written there first),
// or removes it when the entry's new place keeps no switches.
Status carrySwitch(Registry& registry, const SwitchPlace& from, const std::optional<SwitchPlace>& to);

}  // namespace lsu
