#include "operations/EntryForms.h"

#include <algorithm>

#include "catalog/CommandLine.h"
#include "operations/FileNames.h"
#include "operations/RowPlaces.h"

namespace lsu {

std::optional<std::string> formProblem(const EntryForm& form, bool forAdd) {
    const auto sections = dialogSections(forAdd);
    if (std::find(sections.begin(), sections.end(), form.section) == sections.end())
        return "Select one of the listed sections for the program.";
    if (sourceKindOfSection(form.section) == SourceKind::Folder) return fileNameProblem(form.name);
    return std::nullopt;
}

ShortcutFields linkFieldsFor(Platform& platform, const std::string& name, const std::string& commandLine) {
    auto split = splitCommandLine(commandLine, [&](const std::string& path) { return platform.fileExists(path); });
    ShortcutFields fields;
    fields.targetPath = split.program;
    fields.arguments = split.arguments;
    fields.description = name;
    fields.showCmd = 1;
    return fields;
}

RegistryValue stringValueFor(const std::string& name, const std::string& commandLine, std::uint32_t type) {
    return {name, type, std::vector<std::uint8_t>(commandLine.begin(), commandLine.end())};
}

std::string commandLineOfLink(const ShortcutFields& fields) {
    std::string command = fields.targetPath.find(' ') == std::string::npos ? fields.targetPath
                                                                            : "\"" + fields.targetPath + "\"";
    if (!fields.arguments.empty()) command += " " + fields.arguments;
    return command;
}

}  // namespace lsu
