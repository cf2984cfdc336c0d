#include "support/SourcesSnapshot.h"

#include "base/WindowsPaths.h"
#include "catalog/DisabledStores.h"
#include "catalog/ParkedServices.h"
#include "catalog/StartupSwitches.h"
#include "support/Seed.h"

namespace lsu::test {

namespace {

std::string bytesText(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t byte : bytes) text += {kDigits[byte >> 4], kDigits[byte & 15], ' '};
    return text;
}

void addKey(SourcesSnapshot& snapshot, const ScanPorts& platform, const RegistryLocation& key) {
    const std::string where = std::to_string(static_cast<std::uint32_t>(key.hive)) + "\\" +
                              std::to_string(static_cast<int>(key.view)) + "\\" + key.subkey;
    const auto values = platform.registry.readValues(key);
    snapshot[where] = values ? "key" : "missing";
    for (const RegistryValue& value : values.value_or(std::vector<RegistryValue>{}))
        snapshot[where + "\\" + value.name] = std::to_string(value.type) + ": " + bytesText(value.data);
}

void addFolder(SourcesSnapshot& snapshot, const ScanPorts& platform, const std::string& folder) {
    snapshot[folder] = platform.files.folderExists(folder) ? "folder" : "missing";
    for (const std::string& name : platform.files.listFiles(folder)) {
        const auto bytes = platform.files.readFile(folder + "\\" + name);
        snapshot[folder + "\\" + name] = bytes ? bytesText(*bytes) : "unreadable";
    }
}

}  // namespace

SourcesSnapshot snapshotOfSources(const ScanPorts& platform) {
    SourcesSnapshot snapshot;
    for (SectionId leaf : leavesOf(SectionId::AllPrograms)) {
        if (const auto* registry = sourceAs<RegistrySource>(leaf)) {
            for (RegistryView view : {RegistryView::Shared, RegistryView::Bits64, RegistryView::Bits32}) {
                if ((view == RegistryView::Shared) != (registry->views == ViewRule::Shared)) continue;
                for (const std::string& subkey : {std::string(registry->subkey), disabledSubkey(registry->subkey)})
                    addKey(snapshot, platform, {registry->hive, view, subkey});
                if (auto switches = switchKeyOf(leaf, view)) addKey(snapshot, platform, *switches);
            }
        } else if (const auto* winIni = sourceAs<WinIniSource>(leaf)) {
            const std::string file = winIniPath(platform.system);
            for (std::string_view iniSection : {kWinIniEnabledSection, kWinIniDisabledSection})
                snapshot["win.ini [" + std::string(iniSection) + "] " + std::string(winIni->key)] =
                    platform.profiles.readProfile(std::string(iniSection), std::string(winIni->key), file)
                        .value_or("absent");
            const auto bytes = platform.files.readFile(file);
            snapshot["win.ini"] = bytes ? bytesText(*bytes) : "unreadable";
        } else if (sourceAs<ServiceSource>(leaf)) {
            const auto services = platform.services.listServices();
            for (const ServiceConfig& service : services ? *services : std::vector<ServiceConfig>{})
                snapshot["service " + service.name] = std::to_string(service.startType) + (service.delayed ? "+" : "");
            for (const std::string& name : platform.registry.readSubkeys(parkedServicesKey()).value_or(Texts{}))
                addKey(snapshot, platform, parkedRecordKey(name));
        } else if (const auto* folder = sourceAs<FolderSource>(leaf)) {
            addFolder(snapshot, platform, platform.system.shellFolder(folder->folder));
            addFolder(snapshot, platform, disabledItemsFolder(platform.system, leaf));
        }
    }
    addFolder(snapshot, platform, withoutTrailingBackslash(platform.system.programFolder()) + "\\Startup Folder");
    // Where Windows NT keeps win.ini's [windows] section for the user.
    addKey(snapshot, platform,
           {Hive::CurrentUser, RegistryView::Shared, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows"});
    return snapshot;
}

std::string changesBetween(const SourcesSnapshot& before, const SourcesSnapshot& after) {
    std::string changes;
    for (const auto& [place, was] : before) {
        const auto now = after.find(place);
        if (now == after.end()) changes += place + ": " + was + " -> gone\n";
        else if (now->second != was) changes += place + ": " + was + " -> " + now->second + "\n";
    }
    for (const auto& [place, now] : after)
        if (!before.count(place)) changes += place + ": new, " + now + "\n";
    return changes;
}

}  // namespace lsu::test
