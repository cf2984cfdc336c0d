#include "operations/EntryForms.h"
#include "operations/EntryLocations.h"
#include "operations/EntryTransfer.h"
#include "operations/Operations.h"
#include "operations/ShortcutWriter.h"

namespace lsu {

namespace {

// New entries go where Windows starts them; a machine-wide value goes to the
// 64-bit view, the one 64-bit programs see.
Status writeNewEntry(Platform& platform, UserPrompts& prompts, const EntryForm& form) {
    if (const auto* registry = sourceAs<RegistrySource>(*form.section))
        return placeEntry(platform, prompts, registryPlace(*registry, true, RegistryView::Bits64, form.name),
                          stringValueFor(form.name, form.commandLine));
    auto folder = folderPlace(platform, *form.section, true, form.name);
    if (!folder) return Error{ErrorKind::System, 0, {}};
    return createShortcut(platform, prompts, folder->path, linkFieldsFor(platform, form.name, form.commandLine));
}

}  // namespace

ChangeResult addEntry(Platform& platform, UserPrompts& prompts, const EntryForm& form) {
    if (Status valid = checkForm(form, true); !valid) return valid.error();
    if (Status written = writeNewEntry(platform, prompts, form); !written) return written.error();
    return Changed{};
}

}  // namespace lsu
