#include "operations/EntrySwitches.h"

#include "base/CaseFolding.h"
#include "base/WindowsPaths.h"
#include "catalog/StartupSwitches.h"
#include "platform/TemporaryNames.h"

namespace lsu {

std::optional<SwitchPlace> switchPlaceOf(SectionId leaf, const EntryPlace& place) {
    if (const auto* registry = std::get_if<RegistryPlace>(&place)) {
        auto key = switchKeyOf(leaf, registry->key.view);
        if (!key) return std::nullopt;
        return SwitchPlace{*key, registry->name};
    }
    if (const auto* file = std::get_if<FilePlace>(&place)) {
        auto key = switchKeyOf(leaf, RegistryView::Shared);
        if (!key) return std::nullopt;
        return SwitchPlace{*key, std::string(fileNameOf(file->path))};
    }
    return std::nullopt;
}

Status turnSwitchOn(Registry& registry, const SwitchPlace& place) {
    auto value = registry.readValue(place.key, place.name);
    if (!value || !switchSaysOff(*value)) return {};
    const RegistryValue on = switchedOn(*value);
    if (Status written = registry.writeValue(place.key, on, false); !written) return written;
    auto back = registry.readValue(place.key, place.name);
    if (!back || back->data != on.data)
        return Error{ErrorKind::ReadBackMismatch, 0, "The switch did not read back as written."};
    return {};
}

Status removeSwitch(Registry& registry, const SwitchPlace& place) {
    if (!registry.readValue(place.key, place.name)) return {};
    return registry.deleteValue(place.key, place.name);
}

namespace {

// The registry takes a name that differs only in letter case for the name of
// the value it holds, so such a switch is renamed by way of a name of its
// own: there is always one spelling of it that stands.
Status respellSwitch(Registry& registry, const SwitchPlace& from, const std::string& to, RegistryValue value) {
    RegistryValue interim = value;
    interim.name = temporaryNameFor(from.name);
    if (Status kept = registry.writeValue(from.key, interim, false); !kept) return kept;
    Status renamed = registry.deleteValue(from.key, from.name);
    if (renamed) {
        value.name = to;
        renamed = registry.writeValue(from.key, value, false);
        if (!renamed) (void)registry.writeValue(from.key, {from.name, value.type, value.data}, false);
    }
    if (Status removed = registry.deleteValue(from.key, interim.name); !removed && renamed) return removed;
    return renamed;
}

}  // namespace

Status carrySwitch(Registry& registry, const SwitchPlace& from, const std::optional<SwitchPlace>& to) {
    auto value = registry.readValue(from.key, from.name);
    if (!value) return {};
    if (to && to->key == from.key && equalsNoCase(to->name, from.name))
        return to->name == from.name ? Status() : respellSwitch(registry, from, to->name, *value);
    if (to) {
        RegistryValue carried = *value;
        carried.name = to->name;
        if (Status written = registry.writeValue(to->key, carried, true); !written) return written;
    }
    return registry.deleteValue(from.key, from.name);
}

}  // namespace lsu
