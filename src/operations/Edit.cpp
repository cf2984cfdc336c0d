#include "operations/EntryForms.h"
#include "operations/EntryLocations.h"
#include "operations/EntrySwitches.h"
#include "operations/EntryTransfer.h"
#include "operations/FileNames.h"
#include "operations/Operations.h"

namespace lsu {

namespace {

struct EditTarget {
    EntryPlace place;
    EntryContent content;
};

bool isPlainFolderFile(const StartupEntry& row) {
    return row.type == EntryType::File && sourceAs<FolderSource>(row.section) != nullptr;
}

// The command line for the new place: what the user typed, or, when the user
// left it alone, the stored text in full (a link's arguments included).
std::string commandTextFor(const SourcePorts& ports, const StartupEntry& row, const EntryForm& form,
                           const EntryPlace& source, const EntryContent& old) {
    if (form.commandLine != row.commandLine) return form.commandLine;
    if (auto* line = std::get_if<ProfileLine>(&old)) return line->text;
    if (auto* file = std::get_if<FilePlace>(&source); file && row.type == EntryType::Shortcut)
        if (auto info = ports.links.readShortcut(file->path)) return commandLineOfLink(info->fields);
    return form.commandLine;
}

RegistryValue registryContentFor(const StartupEntry& row, const EntryForm& form, const EntryContent& old,
                                 const std::string& command) {
    if (auto* value = std::get_if<RegistryValue>(&old)) {
        if (form.commandLine == row.commandLine) return *value;  // type and bytes as stored
        if (value->type == kRegExpandSz) return stringValueFor(form.name, command, kRegExpandSz);
    }
    return stringValueFor(form.name, command);
}

std::optional<EditTarget> targetFor(const SourcePorts& ports, const StartupEntry& row, const EntryForm& form,
                                    const EntryContent& old, const std::string& command) {
    const SectionId to = *form.section;
    if (const auto* registry = sourceAs<RegistrySource>(to)) {
        // A value that stays in its hive stays in its view.
        const auto* from = sourceAs<RegistrySource>(row.section);
        const bool sameHive = from && from->hive == registry->hive;
        return EditTarget{registryPlace(*registry, true, sameHive ? row.view : RegistryView::Bits64, form.name),
                          registryContentFor(row, form, old, command)};
    }
    if (const auto* winIni = sourceAs<WinIniSource>(to))
        return EditTarget{winIniPlace(ports.system, *winIni, true), ProfileLine{command}};
    const bool plainFile = isPlainFolderFile(row);
    const bool linkKept = row.type == EntryType::Shortcut && form.commandLine == row.commandLine;
    auto place = folderPlace(ports.system, to, true, plainFile ? form.name : withLinkExtension(form.name));
    if (!place) return std::nullopt;
    // A file that keeps its contents moves or is renamed as it is, so a link
    // keeps its arguments, working folder, icon, hot key and window.
    if (plainFile || linkKept) return EditTarget{*place, old};
    return EditTarget{*place, linkFieldsFor(ports.files, form.name, command)};
}

// Windows' switch of the entry follows it to its new name and place. A
// parked entry whose name an entry where Windows starts it still carries
// leaves the switch to that one.
Status keepSwitchWithEntry(const SourcePorts& ports, const StartupEntry& row, SectionId to, const EntryPlace& target) {
    const auto live = placeOfRow(ports, row, true);
    const auto from = live ? switchPlaceOf(row.section, *live) : std::nullopt;
    if (!from || (!row.enabled && somethingStands(readEntry(ports, *live)))) return {};
    return carrySwitch(ports.registry, *from, switchPlaceOf(to, target));
}

}  // namespace

ChangeResult editEntry(const SourcePorts& ports, UserPrompts& prompts, const StartupEntry& row, const EntryForm& form) {
    if (auto refused = keptRefusal(row)) return *refused;
    if (Status valid = checkForm(form, false); !valid) return valid.error();
    if (isPlainFolderFile(row) && !sourceAs<FolderSource>(*form.section))
        return Error{ErrorKind::InvalidInput, 0,
                     "A file in a Startup folder can only be moved to the other Startup folder."};
    auto source = placeOfRow(ports, row, row.enabled);
    if (!source) return source.error();
    const EntryRead read = readEntry(ports, *source);
    if (!read) return read.error();
    if (!*read) return Error{ErrorKind::NotFound, 0, {}};
    const EntryContent& old = **read;
    const auto target = targetFor(ports, row, form, old, commandTextFor(ports, row, form, *source, old));
    if (!target) return Error{ErrorKind::System, 0, "The system names no Startup folder for the entry."};
    if (Status edited = transferEntry(ports, prompts, *source, target->place, target->content); !edited)
        return edited.error();
    if (Status carried = keepSwitchWithEntry(ports, row, *form.section, target->place); !carried)
        return Changed{Warning{Warning::SwitchLeftBehind, carried.error()}};
    return Changed{};
}

}  // namespace lsu
