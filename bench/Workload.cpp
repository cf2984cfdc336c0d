#include "Workload.h"

#include <string>

#include "catalog/DisabledStores.h"
#include "catalog/Sections.h"
#include "catalog/Text.h"

namespace lsu::bench {

namespace {

std::vector<RegistryLocation> registryKeys(Platform& platform) {
    std::vector<RegistryLocation> keys;
    for (const auto& section : registrySections()) {
        std::vector<RegistryView> views = {RegistryView::Shared};
        if (section.hive == Hive::LocalMachine)
            views = platform.viewsShareKey(section.hive, std::string(section.subkey))
                        ? std::vector<RegistryView>{RegistryView::Bits64}
                        : std::vector<RegistryView>{RegistryView::Bits64, RegistryView::Bits32};
        for (const std::string& subkey : {std::string(section.subkey), disabledSubkey(section.subkey)})
            for (RegistryView view : views) keys.push_back({section.hive, view, subkey});
    }
    return keys;
}

std::vector<std::string> folders(Platform& platform) {
    return {platform.specialFolder(kCsidlCommonStartup), platform.specialFolder(kCsidlStartup),
            disabledItemsFolder(platform, kStartupAllUsers), disabledItemsFolder(platform, kStartupCurrentUser)};
}

}  // namespace

void seedCrowdedMachine(Platform& platform, std::size_t entries) {
    ensureDisabledItemsFolders(platform);
    const auto keys = registryKeys(platform);
    const auto dirs = folders(platform);
    const std::string file = winIniPath(platform);
    for (const std::string& section : {std::string(kWinIniEnabledSection), std::string(kWinIniDisabledSection)})
        for (const std::string& key : {std::string(kWinIniLoadKey), std::string(kWinIniRunKey)})
            platform.writeProfile(section, key, "C:\\Tools\\" + key + ".exe", file);
    // Two thirds registry values, one third Startup-folder items (half of them shortcuts).
    for (std::size_t i = 4; i < entries; ++i) {
        const std::string name = "Entry " + std::to_string(i);
        const std::string command = "\"C:\\Program Files\\Vendor " + std::to_string(i % 97) + "\\tool.exe\" /tray";
        if (i % 3 != 0) {
            platform.writeValue(keys[i % keys.size()], {name, kRegSz, {command.begin(), command.end()}}, true);
        } else if (i % 2 == 0) {
            const std::string path = dirs[i % dirs.size()] + "\\" + name + ".lnk";
            platform.writeFile(path, {'L'});
            ShortcutFields fields;
            fields.targetPath = "C:\\Program Files\\Vendor\\tool" + std::to_string(i % 50) + ".exe";
            platform.completeShortcut(path, fields);
        } else {
            platform.writeFile(dirs[i % dirs.size()] + "\\" + name + ".bat", {'@'});
        }
    }
}

std::size_t bareRead(Platform& platform) {
    std::size_t items = 0;
    for (const auto& key : registryKeys(platform))
        if (auto values = platform.readValues(key)) items += values->size();
    const std::string file = winIniPath(platform);
    for (const std::string& section : {std::string(kWinIniEnabledSection), std::string(kWinIniDisabledSection)})
        for (const std::string& key : {std::string(kWinIniLoadKey), std::string(kWinIniRunKey)})
            items += platform.readProfile(section, key, file).has_value();
    for (const std::string& folder : folders(platform))
        for (const std::string& name : platform.listFiles(folder)) {
            ++items;
            if (endsWithNoCase(name, ".lnk")) items += platform.readShortcut(folder + "\\" + name).has_value();
        }
    return items;
}

}  // namespace lsu::bench
