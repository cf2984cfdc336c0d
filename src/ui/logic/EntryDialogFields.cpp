#include "ui/logic/EntryDialogFields.h"

#include <algorithm>

#include "base/Text.h"
#include "base/WindowsPaths.h"
#include "catalog/CommandLine.h"
#include "operations/EntryForms.h"
#include "operations/Questions.h"

namespace lsu {

namespace {

bool offers(const std::vector<SectionId>& sections, std::optional<SectionId> chosen) {
    return chosen && std::find(sections.begin(), sections.end(), *chosen) != sections.end();
}

}  // namespace

EntryDialogSetup addDialogSetup() { return {kAddDialogCaption, sectionsOffered(true), {}, true}; }

EntryDialogSetup editDialogSetup(const StartupEntry& row) {
    EntryDialogSetup setup{kEditDialogCaption, sectionsOffered(false), {row.name, row.commandLine, row.section}, false};
    if (!offers(setup.sections, setup.form.section)) setup.form.section.reset();
    return setup;
}

std::optional<FieldRefusal> refusalOfFields(const EntryForm& form, bool forAdd) {
    if (form.name.empty())
        return FieldRefusal{{"Enter description for Program", "Description empty", MessageKind::Information},
                            EntryField::Description};
    if (form.commandLine.empty())
        return FieldRefusal{{"Enter Command line for Program", "Command line empty", MessageKind::Information},
                            EntryField::CommandLine};
    if (!form.section)
        return FieldRefusal{{"Select section to add program", "Section not select", MessageKind::Information},
                            EntryField::Section};
    if (Status valid = checkForm(form, forAdd); !valid) {
        const bool sectionRefused = !offers(sectionsOffered(forAdd), form.section);
        return FieldRefusal{{valid.error().message, kAppTitle, MessageKind::Exclamation},
                            sectionRefused ? EntryField::Section : EntryField::Description};
    }
    return std::nullopt;
}

std::string browseFolderFor(SystemFacts& system, FileSystem& files, const std::string& commandLine) {
    std::string line = trimSpaces(system.expandEnvironment(commandLine));
    if (!line.empty() && files.folderExists(line)) return line;
    std::string program =
        splitCommandLine(line, [&](const std::string& path) { return files.fileExists(path); }).program;
    if (!program.empty() && files.folderExists(program)) return program;
    std::string folder = parentFolderOf(program);
    if (!folder.empty() && files.folderExists(folder)) return folder;
    return {};
}

std::string commandLineForChosenFile(const std::string& path) {
    return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

}  // namespace lsu
