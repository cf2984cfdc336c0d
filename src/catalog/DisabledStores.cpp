#include "catalog/DisabledStores.h"

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

Status ensureDisabledItemsFolders(SystemFacts& system, FileSystem& files) {
    const std::string base = withTrailingBackslash(system.programFolder());
    for (SectionId id : sectionTree()) {
        const Section& entry = section(id);
        if (!entry.isLeaf() || !std::holds_alternative<FolderSource>(*entry.source)) continue;
        // "Startup Folder" first, then its subfolder.
        const std::string_view key = entry.key;
        for (const std::string_view folder : {key.substr(0, key.find('\\')), key})
            if (Status made = files.ensureFolder(base + std::string(folder)); !made) return made;
    }
    return {};
}

}  // namespace lsu
