#include "catalog/DisabledStores.h"

#include "base/CaseFolding.h"
#include "base/WindowsPaths.h"

namespace lsu {

std::string disabledSubkey(std::string_view subkey) { return std::string(subkey) + "-"; }

std::string windowsFolder(SystemFacts& system) {
    std::string folder = system.windowsDirectory();
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == ' ')) folder.pop_back();
    return folder;
}

std::string winIniPath(SystemFacts& system) { return windowsFolder(system) + "\\win.ini"; }

namespace {

constexpr std::string_view kProgramName = "LStartUp";

bool isParkedPerUser(SectionId folderSection) {
    const auto* source = sourceAs<FolderSource>(folderSection);
    return source && source->folder == ShellFolder::UserStartup;
}

// The folder the section's parked items are kept below, and the names below
// it down to the disabled-items folder, each parent first.
std::pair<std::string, std::vector<std::string>> disabledItemsPath(SystemFacts& system, SectionId folderSection) {
    const std::string_view key = section(folderSection).key;
    std::vector<std::string> names = {std::string(key.substr(0, key.find('\\'))), std::string(key)};
    if (!isParkedPerUser(folderSection)) return {system.programFolder(), names};
    for (std::string& name : names) name.insert(0, std::string(kProgramName).append("\\"));
    names.insert(names.begin(), std::string(kProgramName));
    return {system.shellFolder(ShellFolder::LocalAppData), names};
}

}  // namespace

std::string disabledItemsFolder(SystemFacts& system, SectionId folderSection) {
    const auto [base, names] = disabledItemsPath(system, folderSection);
    return base.empty() ? std::string() : withTrailingBackslash(base) + names.back();
}

std::string disabledItemsFolderBesideProgram(SystemFacts& system, SectionId folderSection) {
    return withTrailingBackslash(system.programFolder()) + std::string(section(folderSection).key);
}

std::string entryFolder(SystemFacts& system, SectionId folderSection, bool enabled) {
    if (!enabled) return disabledItemsFolder(system, folderSection);
    const auto* source = sourceAs<FolderSource>(folderSection);
    return source ? system.shellFolder(source->folder) : std::string();
}

std::string entryFolder(SystemFacts& system, const StartupEntry& row) {
    if (!row.enabled && row.parkedBesideProgram) return disabledItemsFolderBesideProgram(system, row.section);
    return entryFolder(system, row.section, row.enabled);
}

std::optional<SectionId> disabledItemsSection(SystemFacts& system, const std::string& folder) {
    for (SectionId leaf : leavesOf(SectionId::AllPrograms))
        if (sourceAs<FolderSource>(leaf) &&
            equalsNoCase(withoutTrailingBackslash(folder), disabledItemsFolder(system, leaf)))
            return leaf;
    return std::nullopt;
}

Result<std::vector<std::string>> ensureDisabledItemsFolder(SystemFacts& system, FileSystem& files,
                                                           SectionId folderSection) {
    const auto [base, names] = disabledItemsPath(system, folderSection);
    std::vector<std::string> made;
    if (base.empty()) return made;
    for (const std::string& name : names) {
        const std::string folder = withTrailingBackslash(base) + name;
        if (files.folderExists(folder)) continue;
        if (Status created = files.ensureFolder(folder); !created) {
            (void)removeFolders(files, made);
            return created.error();
        }
        made.push_back(folder);
    }
    return made;
}

Result<std::vector<std::string>> ensureDisabledItemsFolders(SystemFacts& system, FileSystem& files) {
    std::vector<std::string> made;
    for (SectionId leaf : leavesOf(SectionId::AllPrograms)) {
        if (!sourceAs<FolderSource>(leaf)) continue;
        auto folders = ensureDisabledItemsFolder(system, files, leaf);
        if (!folders) {
            (void)removeFolders(files, made);
            return folders.error();
        }
        made.insert(made.end(), folders->begin(), folders->end());
    }
    return made;
}

Status removeFolders(FileSystem& files, const std::vector<std::string>& made) {
    for (std::size_t left = made.size(); left > 0; --left)
        if (Status removed = files.removeFolder(made[left - 1]); !removed) return removed;
    return {};
}

}  // namespace lsu
