#include "operations/EntryForms.h"
#include "operations/EntryLocations.h"
#include "operations/EntryTransfer.h"
#include "operations/Messages.h"
#include "operations/Operations.h"
#include "operations/ShortcutWriter.h"

namespace lsu {

namespace {

// New entries go where Windows starts them; a machine-wide value goes to the
// 64-bit view, the one 64-bit programs see.
Outcome writeNewEntry(Platform& platform, UserPrompts& prompts, const EntryForm& form) {
    if (const auto* registry = sourceAs<RegistrySource>(*form.section))
        return placeEntry(platform, prompts, registryPlace(*registry, true, RegistryView::Bits64, form.name),
                          stringValueFor(form.name, form.commandLine));
    auto folder = folderPlace(platform, *form.section, true, form.name);
    if (!folder) return Outcome::failed();
    return createShortcut(platform, prompts, folder->path, linkFieldsFor(platform, form.name, form.commandLine));
}

}  // namespace

bool addEntry(Platform& platform, UserPrompts& prompts, const EntryForm& form) {
    if (auto problem = formProblem(form, true)) {
        prompts.tell(*problem, kAppTitle, kStyleExclamation);
        return false;
    }
    const Outcome added = writeNewEntry(platform, prompts, form);
    if (added.kind == Outcome::Done) return true;
    // Keeping a link that stands under the name is the end of the new one;
    // keeping a registry value is the user's choice to change nothing.
    if (added.kind == Outcome::Declined && sourceAs<RegistrySource>(*form.section))
        tellNothingChanged(prompts);
    else
        prompts.tell(withReason(kAddFailedPrompt, added.reason), kAddFailedTitle, kStyleCritical);
    return false;
}

}  // namespace lsu
