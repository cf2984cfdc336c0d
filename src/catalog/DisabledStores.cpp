#include "catalog/DisabledStores.h"

#include "base/WindowsPaths.h"

namespace lsu {

std::string disabledSubkey(std::string_view subkey) { return std::string(subkey) + "-"; }

std::string windowsFolder(Platform& platform) {
    std::string folder = platform.windowsDirectory();
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == ' ')) folder.pop_back();
    return folder;
}

std::string winIniPath(Platform& platform) { return windowsFolder(platform) + "\\win.ini"; }

std::string disabledItemsFolder(Platform& platform, SectionId folderSection) {
    return withTrailingBackslash(platform.programFolder()) + std::string(section(folderSection).key);
}

std::string entryFolder(Platform& platform, SectionId folderSection, bool enabled) {
    if (!enabled) return disabledItemsFolder(platform, folderSection);
    const auto* source = sourceAs<FolderSource>(folderSection);
    return source ? platform.specialFolder(source->csidl) : std::string();
}

Status ensureDisabledItemsFolders(Platform& platform) {
    const std::string base = withTrailingBackslash(platform.programFolder());
    for (SectionId id : sectionTree()) {
        const Section& entry = section(id);
        if (!entry.isLeaf() || !std::holds_alternative<FolderSource>(*entry.source)) continue;
        // "Startup Folder" first, then its subfolder.
        const std::string_view key = entry.key;
        for (const std::string_view folder : {key.substr(0, key.find('\\')), key})
            if (Status made = platform.ensureFolder(base + std::string(folder)); !made) return made;
    }
    return {};
}

}  // namespace lsu
