#include "operations/EntryForms.h"

#include <algorithm>

#include "catalog/CommandLine.h"
#include "operations/FileNames.h"
#include "platform/RegistryStrings.h"

namespace lsu {

std::vector<SectionId> sectionsOffered(bool forAdd) {
    std::vector<SectionId> offered;
    auto offer = [&](auto kind) {
        for (SectionId leaf : leavesOf(SectionId::AllPrograms)) {
            const Section& candidate = section(leaf);
            if (!std::holds_alternative<decltype(kind)>(*candidate.source)) continue;
            if (candidate.offer == DialogOffer::AddAndEdit || (!forAdd && candidate.offer == DialogOffer::EditOnly))
                offered.push_back(leaf);
        }
    };
    offer(FolderSource{});
    offer(RegistrySource{});
    offer(WinIniSource{});
    return offered;
}

Status checkForm(const EntryForm& form, bool forAdd) {
    const auto offered = sectionsOffered(forAdd);
    if (!form.section || std::find(offered.begin(), offered.end(), *form.section) == offered.end())
        return Error{ErrorKind::InvalidInput, 0, "Select one of the listed sections for the program."};
    if (!sourceAs<FolderSource>(*form.section)) return {};
    if (auto problem = fileNameProblem(form.name)) return Error{ErrorKind::InvalidInput, 0, *problem};
    return {};
}

ShortcutFields linkFieldsFor(FileSystem& files, const std::string& name, const std::string& commandLine) {
    auto split = splitCommandLine(commandLine, [&](const std::string& path) { return files.fileExists(path); });
    ShortcutFields fields;
    fields.targetPath = split.program;
    fields.arguments = split.arguments;
    fields.description = name;
    fields.showCmd = 1;
    return fields;
}

RegistryValue stringValueFor(const std::string& name, const std::string& commandLine, std::uint32_t type) {
    return {name, type, storedString(commandLine, type)};
}

std::string commandLineOfLink(const ShortcutFields& fields) {
    std::string command = fields.targetPath.find(' ') == std::string::npos ? fields.targetPath
                                                                            : "\"" + fields.targetPath + "\"";
    if (!fields.arguments.empty()) command += " " + fields.arguments;
    return command;
}

}  // namespace lsu
