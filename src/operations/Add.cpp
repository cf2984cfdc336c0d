#include "catalog/Sections.h"
#include "operations/EntryForms.h"
#include "operations/EntryTransfer.h"
#include "operations/Messages.h"
#include "operations/Operations.h"
#include "operations/RowPlaces.h"
#include "operations/ShortcutWriter.h"

namespace lsu {

namespace {

Outcome addEntry(Platform& platform, UserPrompts& prompts, const EntryForm& form) {
    if (sourceKindOfSection(form.section) == SourceKind::Registry)
        return placeEntry(platform, prompts, registryPlace(form.section, true, RegistryView::Bits64, form.name),
                          stringValueFor(form.name, form.commandLine));
    auto folder = folderPlace(platform, form.section, true, form.name);
    if (!folder) return Outcome::Failed;
    return CreateShortcut(platform, prompts, folder->path, linkFieldsFor(platform, form.name, form.commandLine), true);
}

}  // namespace

bool AddNew(Platform& platform, UserPrompts& prompts, const EntryForm& form) {
    if (auto problem = formProblem(form, true)) {
        prompts.tell(*problem, kAppTitle, kStyleExclamation);
        return false;
    }
    switch (addEntry(platform, prompts, form)) {
        case Outcome::Done: return true;
        case Outcome::Declined: tellNothingChanged(prompts); break;
        case Outcome::Failed: prompts.tell(kAddFailedPrompt, kAddFailedTitle, kStyleCritical); break;
    }
    return false;
}

}  // namespace lsu
