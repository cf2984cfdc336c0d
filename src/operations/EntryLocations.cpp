#include "operations/EntryLocations.h"

#include "base/WindowsPaths.h"
#include "catalog/DisabledStores.h"

namespace lsu {

std::string folderFileName(const StartupEntry& row) {
    if (!row.fileName.empty()) return row.fileName;
    return row.type == EntryType::Shortcut ? row.name + ".lnk" : row.name;
}

RegistryPlace registryPlace(const RegistrySource& source, bool enabled, RegistryView view, const std::string& name) {
    if (source.views == ViewRule::Shared) view = RegistryView::Shared;
    else if (view == RegistryView::Shared) view = RegistryView::Bits64;
    const std::string subkey = enabled ? std::string(source.subkey) : disabledSubkey(source.subkey);
    return {{source.hive, view, subkey}, name};
}

ProfilePlace winIniPlace(SystemFacts& system, const WinIniSource& source, bool enabled) {
    return {winIniPath(system), std::string(enabled ? kWinIniEnabledSection : kWinIniDisabledSection),
            std::string(source.key)};
}

std::optional<FilePlace> folderPlace(SystemFacts& system, SectionId leaf, bool enabled, const std::string& fileName) {
    if (!sourceAs<FolderSource>(leaf)) return std::nullopt;
    const std::string folder = entryFolder(system, leaf, enabled);
    if (folder.empty()) return std::nullopt;
    return FilePlace{withTrailingBackslash(folder) + fileName};
}

std::optional<EntryPlace> placeOfRow(SystemFacts& system, const StartupEntry& row, bool enabled) {
    const Source& source = sourceOf(row);
    if (const auto* registry = std::get_if<RegistrySource>(&source))
        return registryPlace(*registry, enabled, row.view, row.name);
    if (const auto* winIni = std::get_if<WinIniSource>(&source)) return winIniPlace(system, *winIni, enabled);
    auto place = folderPlace(system, row.section, enabled, folderFileName(row));
    if (!place) return std::nullopt;
    return *place;
}

}  // namespace lsu
