#include "operations/EntryLocations.h"

#include "base/WindowsPaths.h"
#include "catalog/DisabledStores.h"

namespace lsu {

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

Result<EntryPlace> placeOfRow(const SourcePorts& ports, const StartupEntry& row, bool enabled) {
    const Source& source = sourceOf(row);
    if (const auto* registry = std::get_if<RegistrySource>(&source))
        return EntryPlace(registryPlace(*registry, enabled, row.view, row.name));
    if (const auto* winIni = std::get_if<WinIniSource>(&source))
        return EntryPlace(winIniPlace(ports.system, *winIni, enabled));
    const std::string fileName = folderFileName(row);
    // The row's own place is where it was listed; the other is where a move
    // takes it.
    const std::string folder =
        enabled == row.enabled ? entryFolder(ports.system, row) : entryFolder(ports.system, row.section, enabled);
    if (folder.empty())
        return Error{ErrorKind::System, 0,
                     "The system names no folder for the entries of " + std::string(section(row.section).key) + "."};
    // The name as listed is the key to exactly this file; one the system would
    // read as another path is never handed to it.
    if (hasUnsafeFileName(row))
        return Error{ErrorKind::UnsafeName, 0,
                     "\"" + fileName + "\" is not a name Windows can give a file, so it is not changed here: rename " +
                         "or remove " + ports.files.pathToShow(folder, fileName) + " by hand."};
    return EntryPlace(FilePlace{withTrailingBackslash(folder) + fileName});
}

}  // namespace lsu
