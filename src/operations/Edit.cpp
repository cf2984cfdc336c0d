#include "catalog/Sections.h"
#include "operations/EntryForms.h"
#include "operations/EntryTransfer.h"
#include "operations/FileNames.h"
#include "operations/Messages.h"
#include "operations/Operations.h"
#include "operations/RowPlaces.h"

namespace lsu {

namespace {

struct EditTarget {
    EntryPlace place;
    EntryContent content;
};

// The command line for the new place: what the user typed, or, when the user
// left it alone, the stored text in full (a link's arguments included).
std::string commandTextFor(Platform& platform, const StartupEntry& row, const EntryForm& form,
                           const EntryPlace& source, const EntryContent& old) {
    if (form.commandLine != row.CommandLine) return form.commandLine;
    if (auto* line = std::get_if<ProfileLine>(&old)) return line->text;
    if (auto* file = std::get_if<FilePlace>(&source); file && row.Type == kTypeLnk)
        if (auto info = platform.readShortcut(file->path)) return commandLineOfLink(info->fields);
    return form.commandLine;
}

RegistryValue registryContentFor(const StartupEntry& row, const EntryForm& form, const EntryContent& old,
                                 const std::string& command) {
    if (auto* value = std::get_if<RegistryValue>(&old)) {
        if (form.commandLine == row.CommandLine) return *value;  // type and bytes as stored
        if (value->type == kRegExpandSz) return stringValueFor(form.name, command, kRegExpandSz);
    }
    return stringValueFor(form.name, command);
}

std::optional<EditTarget> targetFor(Platform& platform, const StartupEntry& row, const EntryForm& form,
                                    const EntryContent& old, const std::string& command) {
    const bool enabled = isEnabled(row);
    switch (sourceKindOfSection(form.section)) {
        case SourceKind::Registry: {
            const bool sameHive = sourceKindOf(row) == SourceKind::Registry && GetHKey(row.Section) == GetHKey(form.section);
            return EditTarget{registryPlace(form.section, enabled, sameHive ? row.view : RegistryView::Bits64, form.name),
                              registryContentFor(row, form, old, command)};
        }
        case SourceKind::WinIni: return EditTarget{winIniPlace(platform, form.section, enabled), ProfileLine{command}};
        case SourceKind::Folder: break;
    }
    const bool plainFile = row.Type == kTypeFile && sourceKindOf(row) == SourceKind::Folder;
    const bool linkKept = row.Type == kTypeLnk && form.commandLine == row.CommandLine;
    auto place = folderPlace(platform, form.section, enabled, plainFile ? form.name : withLinkExtension(form.name));
    if (!place) return std::nullopt;
    // A file that keeps its contents moves or is renamed as it is, so a link
    // keeps its arguments, working folder, icon, hot key and window.
    if (plainFile || linkKept) return EditTarget{*place, old};
    return EditTarget{*place, linkFieldsFor(platform, form.name, command)};
}

Outcome editEntry(Platform& platform, UserPrompts& prompts, const StartupEntry& row, const EntryForm& form,
                  const EntryPlace& source, const EntryContent& old) {
    auto target = targetFor(platform, row, form, old, commandTextFor(platform, row, form, source, old));
    if (!target) return Outcome::Failed;
    if (samePlace(source, target->place) && sameContent(old, target->content)) return Outcome::Done;
    return transferEntry(platform, prompts, source, target->place, target->content);
}

}  // namespace

bool EditEntry(Platform& platform, UserPrompts& prompts, const StartupEntry& row, const EntryForm& form) {
    if (!sourceKindOf(row)) return false;
    if (auto problem = formProblem(form, false)) {
        prompts.tell(*problem, kAppTitle, kStyleExclamation);
        return false;
    }
    if (row.Type == kTypeFile && sourceKindOf(row) == SourceKind::Folder &&
        sourceKindOfSection(form.section) != SourceKind::Folder) {
        prompts.tell(kPlainFileStaysInFolderPrompt, kAppTitle, kStyleExclamation);
        return false;
    }
    auto source = placeOfRow(platform, row, isEnabled(row));
    auto old = source ? readEntry(platform, *source) : std::nullopt;
    if (!old) {
        prompts.tell(kEntryGonePrompt, kEditFailedTitle, kStyleExclamation);
        return false;
    }
    switch (editEntry(platform, prompts, row, form, *source, *old)) {
        case Outcome::Done: return true;
        case Outcome::Declined: tellNothingChanged(prompts); break;
        case Outcome::Failed: prompts.tell(kEditFailedPrompt, kEditFailedTitle, kStyleCritical); break;
    }
    return false;
}

}  // namespace lsu
