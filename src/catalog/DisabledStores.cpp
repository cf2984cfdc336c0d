#include "catalog/DisabledStores.h"

#include "catalog/Sections.h"

namespace lsu {

std::string disabledSubkey(std::string_view subkey) { return std::string(subkey) + "-"; }

std::string winIniPath(Platform& platform) { return WinDir(platform) + "\\win.ini"; }

int startupFolderId(std::string_view sectionKey) {
    return sectionKey == kStartupAllUsers ? kCsidlCommonStartup : kCsidlStartup;
}

std::string disabledItemsFolder(Platform& platform, std::string_view sectionKey) {
    return AddSlash(platform.programFolder()) + std::string(sectionKey);
}

void ensureDisabledItemsFolders(Platform& platform) {
    const std::string base = AddSlash(platform.programFolder());
    for (std::string_view folder : {std::string_view("Startup Folder"), kStartupAllUsers, kStartupCurrentUser})
        platform.ensureFolder(base + std::string(folder));
}

}  // namespace lsu
