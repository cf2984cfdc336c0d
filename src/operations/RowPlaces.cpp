#include "operations/RowPlaces.h"

#include "catalog/DisabledStores.h"
#include "catalog/Sections.h"
#include "catalog/Text.h"

namespace lsu {

std::optional<SourceKind> sourceKindOf(const StartupEntry& row) {
    if (row.Type == kTypeReg) {
        if (!isRegistrySection(row.Section)) return std::nullopt;
        return SourceKind::Registry;
    }
    if (row.Type == kTypeFile && (row.Section == kWinIniLoad || row.Section == kWinIniRun)) return SourceKind::WinIni;
    if (row.Type == kTypeLnk || row.Type == kTypeFile) return SourceKind::Folder;
    return std::nullopt;
}

SourceKind sourceKindOfSection(std::string_view sectionKey) {
    if (isRegistrySection(sectionKey)) return SourceKind::Registry;
    if (sectionKey == kWinIniLoad || sectionKey == kWinIniRun) return SourceKind::WinIni;
    return SourceKind::Folder;
}

bool isEnabled(const StartupEntry& row) { return row.Status == kStatusEnabled; }

std::string folderFileName(const StartupEntry& row) {
    if (!row.fileName.empty()) return row.fileName;
    return row.Type == kTypeLnk ? row.Name + ".lnk" : row.Name;
}

RegistryPlace registryPlace(std::string_view sectionKey, bool enabled, RegistryView view, const std::string& name) {
    const Hive hive = GetHKey(sectionKey);
    const std::string subkey = GetSubKey(sectionKey);
    if (hive == Hive::CurrentUser) view = RegistryView::Shared;
    else if (view == RegistryView::Shared) view = RegistryView::Bits64;
    return {{hive, view, enabled ? subkey : disabledSubkey(subkey)}, name};
}

ProfilePlace winIniPlace(Platform& platform, std::string_view sectionKey, bool enabled) {
    return {winIniPath(platform), std::string(enabled ? kWinIniEnabledSection : kWinIniDisabledSection),
            std::string(sectionKey == kWinIniLoad ? kWinIniLoadKey : kWinIniRunKey)};
}

std::optional<FilePlace> folderPlace(Platform& platform, std::string_view sectionKey, bool enabled,
                                     const std::string& fileName) {
    const std::string folder =
        enabled ? platform.specialFolder(startupFolderId(sectionKey)) : disabledItemsFolder(platform, sectionKey);
    if (folder.empty()) return std::nullopt;
    return FilePlace{AddSlash(folder) + fileName};
}

std::optional<EntryPlace> placeOfRow(Platform& platform, const StartupEntry& row, bool enabled) {
    auto kind = sourceKindOf(row);
    if (!kind) return std::nullopt;
    switch (*kind) {
        case SourceKind::Registry: return registryPlace(row.Section, enabled, row.view, row.Name);
        case SourceKind::WinIni: return winIniPlace(platform, row.Section, enabled);
        case SourceKind::Folder: {
            auto place = folderPlace(platform, row.Section, enabled, folderFileName(row));
            if (!place) return std::nullopt;
            return *place;
        }
    }
    return std::nullopt;
}

}  // namespace lsu
