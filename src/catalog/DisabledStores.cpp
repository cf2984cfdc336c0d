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

std::string disabledItemsFolder(SystemFacts& system, SectionId folderSection) {
    return withTrailingBackslash(system.programFolder()) + std::string(section(folderSection).key);
}

std::string entryFolder(SystemFacts& system, SectionId folderSection, bool enabled) {
    if (!enabled) return disabledItemsFolder(system, folderSection);
    const auto* source = sourceAs<FolderSource>(folderSection);
    return source ? system.shellFolder(source->folder) : std::string();
}

bool isDisabledItemsFolder(SystemFacts& system, const std::string& folder) {
    for (SectionId leaf : leavesOf(SectionId::AllPrograms))
        if (sourceAs<FolderSource>(leaf) &&
            equalsNoCase(withoutTrailingBackslash(folder), disabledItemsFolder(system, leaf)))
            return true;
    return false;
}

Result<std::vector<std::string>> ensureDisabledItemsFolders(SystemFacts& system, FileSystem& files) {
    const std::string base = withTrailingBackslash(system.programFolder());
    std::vector<std::string> made;
    for (SectionId leaf : leavesOf(SectionId::AllPrograms)) {
        if (!sourceAs<FolderSource>(leaf)) continue;
        // "Startup Folder" first, then its subfolder.
        const std::string_view key = section(leaf).key;
        for (const std::string_view name : {key.substr(0, key.find('\\')), key}) {
            const std::string folder = base + std::string(name);
            if (files.folderExists(folder)) continue;
            if (Status created = files.ensureFolder(folder); !created) {
                (void)removeFolders(files, made);
                return created.error();
            }
            made.push_back(folder);
        }
    }
    return made;
}

Status removeFolders(FileSystem& files, const std::vector<std::string>& made) {
    for (std::size_t left = made.size(); left > 0; --left)
        if (Status removed = files.removeFolder(made[left - 1]); !removed) return removed;
    return {};
}

}  // namespace lsu
