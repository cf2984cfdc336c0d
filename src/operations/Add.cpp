#include "operations/EntryForms.h"
#include "operations/EntryLocations.h"
#include "operations/EntryTransfer.h"
#include "operations/Operations.h"
#include "operations/ShortcutWriter.h"

namespace lsu {

namespace {

// New entries go where Windows starts them; a machine-wide value goes to the
// 64-bit view, the one 64-bit programs see.
Status writeNewEntry(const SourcePorts& ports, UserPrompts& prompts, const EntryForm& form) {
    if (const auto* registry = sourceAs<RegistrySource>(*form.section))
        return placeEntry(ports, prompts, registryPlace(*registry, true, RegistryView::Bits64, form.name),
                          stringValueFor(form.name, form.commandLine));
    auto folder = folderPlace(ports.system, *form.section, true, form.name);
    if (!folder) return Error{ErrorKind::System, 0, {}};
    return createShortcut(ports, prompts, folder->path, linkFieldsFor(ports.files, form.name, form.commandLine));
}

}  // namespace

ChangeResult addEntry(const SourcePorts& ports, UserPrompts& prompts, const EntryForm& form) {
    if (Status valid = checkForm(form, true); !valid) return valid.error();
    if (Status written = writeNewEntry(ports, prompts, form); !written) return written.error();
    return Changed{};
}

}  // namespace lsu
