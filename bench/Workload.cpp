#include "Workload.h"

#include <string>

#include "catalog/DisabledStores.h"
#include "catalog/Sections.h"
#include "catalog/Text.h"

namespace lsu::bench {

namespace {

std::vector<RegistryLocation> registryKeys(Platform& platform) {
    std::vector<RegistryLocation> keys;
    for (SectionId leaf : leavesOf(SectionId::AllPrograms)) {
        const auto* source = sourceAs<RegistrySource>(leaf);
        if (!source) continue;
        std::vector<RegistryView> views = {RegistryView::Shared};
        if (source->views == ViewRule::BothViews)
            views = platform.viewsShareKey(source->hive, std::string(source->subkey))
                        ? std::vector<RegistryView>{RegistryView::Bits64}
                        : std::vector<RegistryView>{RegistryView::Bits64, RegistryView::Bits32};
        for (const std::string& subkey : {std::string(source->subkey), disabledSubkey(source->subkey)})
            for (RegistryView view : views) keys.push_back({source->hive, view, subkey});
    }
    return keys;
}

std::vector<std::string> folders(Platform& platform) {
    return {platform.specialFolder(kCsidlCommonStartup), platform.specialFolder(kCsidlStartup),
            disabledItemsFolder(platform, SectionId::StartupAllUsers),
            disabledItemsFolder(platform, SectionId::StartupCurrentUser)};
}

constexpr const char* kWinIniKeys[] = {"Load", "Run"};

// Where the i-th entry lives: two thirds registry values, one third
// Startup-folder items (half of them shortcuts). Seeding and clearing walk
// the same plan.
struct Placement {
    std::string name;
    const RegistryLocation* key = nullptr;  // null for a Startup-folder item
    std::string path;
    bool shortcut = false;
};

Placement placementOf(std::size_t i, const std::vector<RegistryLocation>& keys, const std::vector<std::string>& dirs) {
    Placement placement;
    placement.name = "Entry " + std::to_string(i);
    if (i % 3 != 0) {
        placement.key = &keys[i % keys.size()];
    } else {
        placement.shortcut = i % 2 == 0;
        placement.path = dirs[i % dirs.size()] + "\\" + placement.name + (placement.shortcut ? ".lnk" : ".bat");
    }
    return placement;
}

// The first entries are the four win.ini lines.
constexpr std::size_t kWinIniLines = 4;

}  // namespace

void seedCrowdedMachine(Platform& platform, std::size_t entries) {
    ensureDisabledItemsFolders(platform);
    const auto keys = registryKeys(platform);
    const auto dirs = folders(platform);
    const std::string file = winIniPath(platform);
    for (const std::string& section : {std::string(kWinIniEnabledSection), std::string(kWinIniDisabledSection)})
        for (const std::string key : kWinIniKeys)
            platform.writeProfile(section, key, "C:\\Tools\\" + key + ".exe", file);
    for (std::size_t i = kWinIniLines; i < entries; ++i) {
        const Placement placement = placementOf(i, keys, dirs);
        const std::string command = "\"C:\\Program Files\\Vendor " + std::to_string(i % 97) + "\\tool.exe\" /tray";
        if (placement.key) {
            platform.writeValue(*placement.key, {placement.name, kRegSz, {command.begin(), command.end()}}, true);
        } else if (placement.shortcut) {
            platform.writeFile(placement.path, {'L'});
            ShortcutFields fields;
            fields.targetPath = "C:\\Program Files\\Vendor\\tool" + std::to_string(i % 50) + ".exe";
            platform.completeShortcut(placement.path, fields);
        } else {
            platform.writeFile(placement.path, {'@'});
        }
    }
}

void clearCrowdedMachine(Platform& platform, std::size_t entries) {
    const auto keys = registryKeys(platform);
    const auto dirs = folders(platform);
    const std::string file = winIniPath(platform);
    for (const std::string& section : {std::string(kWinIniEnabledSection), std::string(kWinIniDisabledSection)})
        for (const std::string key : kWinIniKeys)
            platform.writeProfile(section, key, "", file);
    for (std::size_t i = kWinIniLines; i < entries; ++i) {
        const Placement placement = placementOf(i, keys, dirs);
        if (placement.key)
            platform.deleteValue(*placement.key, placement.name);
        else
            platform.deleteFile(placement.path);
    }
}

std::size_t bareRead(Platform& platform) {
    std::size_t items = 0;
    for (const auto& key : registryKeys(platform))
        if (auto values = platform.readValues(key)) items += values->size();
    const std::string file = winIniPath(platform);
    for (const std::string& section : {std::string(kWinIniEnabledSection), std::string(kWinIniDisabledSection)})
        for (const std::string key : kWinIniKeys)
            items += platform.readProfile(section, key, file).has_value();
    for (const std::string& folder : folders(platform))
        for (const std::string& name : platform.listFiles(folder)) {
            ++items;
            if (endsWithNoCase(name, ".lnk")) items += platform.readShortcut(folder + "\\" + name).has_value();
        }
    return items;
}

}  // namespace lsu::bench
