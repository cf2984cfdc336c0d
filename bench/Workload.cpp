#include "Workload.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "base/CaseFolding.h"
#include "catalog/DisabledStores.h"
#include "platform/RegistryStrings.h"

namespace lsu::bench {

namespace {

constexpr const char* kWinIniKeys[] = {"Load", "Run"};

struct Places {
    std::vector<RegistryLocation> live, parked;
    std::vector<std::string> liveFolders, parkedFolders;
};

Places placesOf(const SourcePorts& platform) {
    Places places;
    for (SectionId leaf : leavesOf(SectionId::AllPrograms)) {
        if (const auto* source = sourceAs<RegistrySource>(leaf)) {
            std::vector<RegistryView> views = {RegistryView::Shared};
            if (source->views == ViewRule::BothViews)
                views = platform.registry.viewsShareKey(source->hive, std::string(source->subkey))
                            ? std::vector<RegistryView>{RegistryView::Bits64}
                            : std::vector<RegistryView>{RegistryView::Bits64, RegistryView::Bits32};
            for (RegistryView view : views) {
                places.live.push_back({source->hive, view, std::string(source->subkey)});
                places.parked.push_back({source->hive, view, disabledSubkey(source->subkey)});
            }
        } else if (const auto* folder = sourceAs<FolderSource>(leaf)) {
            places.liveFolders.push_back(platform.system.shellFolder(folder->folder));
            places.parkedFolders.push_back(disabledItemsFolder(platform.system, leaf));
        }
    }
    return places;
}

// Where the i-th entry lives. Seeding and clearing walk the same plan.
struct Placement {
    std::string name;
    const RegistryLocation* key = nullptr;  // null for a Startup-folder item
    std::string path;
    bool shortcut = false;
};

Placement placementOf(Crowd crowd, std::size_t i, const Places& places) {
    Placement placement;
    placement.name = "Entry " + std::to_string(i);
    auto fileIn = [&](const std::vector<std::string>& folders, bool shortcut) {
        placement.shortcut = shortcut;
        placement.path = folders[i % folders.size()] + "\\" + placement.name + (shortcut ? ".lnk" : ".bat");
    };
    if (crowd == Crowd::RegistryHeavy) {
        if (i % 10 < 7) {
            const auto& keys = (i / 10) % 10 == 0 ? places.parked : places.live;
            placement.key = &keys[i % keys.size()];
        } else {
            fileIn(places.liveFolders, i % 10 == 9);
        }
        return placement;
    }
    if (i % 3 != 0) {
        const auto& keys = i % 2 ? places.live : places.parked;
        placement.key = &keys[(i / 2) % keys.size()];
    } else {
        fileIn(i % 2 ? places.liveFolders : places.parkedFolders, i % 2 == 0);
    }
    return placement;
}

// A machine seeded only in part would measure something else.
template <typename T>
void required(const Result<T>& done) {
    if (!done) throw std::runtime_error("seeding the benchmark's machine failed: " + done.error().message);
}

// Wine may run the crowd's RunOnce entries, and remove them, while the
// benchmark runs: what is gone already needs no removing.
void removed(const Status& done) {
    if (done || done.error().kind != ErrorKind::NotFound) required(done);
}

// The Mixed crowd's first entries are the four win.ini lines.
std::size_t firstPlaced(Crowd crowd) { return crowd == Crowd::Mixed ? 4 : 0; }

void writeWinIniLines(const SourcePorts& platform, bool present) {
    const std::string file = winIniPath(platform.system);
    for (std::string_view section : {kWinIniEnabledSection, kWinIniDisabledSection})
        for (const std::string key : kWinIniKeys)
            required(platform.profiles.writeProfile(std::string(section), key,
                                                    present ? "C:\\Tools\\" + key + ".exe" : "", file));
}

constexpr const char* kPublisherId = "8wekyb3d8bbwe";

const PackagedAppSource& appsSource() { return *sourceAs<PackagedAppSource>(SectionId::PackagedApps); }

RegistryLocation userKey(const std::string& subkey) { return {Hive::CurrentUser, RegistryView::Shared, subkey}; }

std::string switchSubkey(const std::string& packageName) {
    return std::string(appsSource().switches) + "\\" + packageName + "_" + kPublisherId + "\\Tray";
}

std::string manifestOf(const std::string& name) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<Package xmlns=\"http://schemas.microsoft.com/appx/manifest/foundation/windows10\"\n"
           "  xmlns:uap5=\"http://schemas.microsoft.com/appx/manifest/uap/windows10/5\">\n"
           "  <Identity Name=\"" +
           name +
           "\" Publisher=\"CN=Contoso\" Version=\"1.0.0.0\" ProcessorArchitecture=\"x64\" />\n"
           "  <Properties><DisplayName>" +
           name +
           "</DisplayName></Properties>\n"
           "  <Applications><Application Id=\"App\" Executable=\"App.exe\">\n"
           "    <Extensions><uap5:Extension Category=\"windows.startupTask\" Executable=\"Tray\\Tray.exe\">\n"
           "      <uap5:StartupTask TaskId=\"Tray\" Enabled=\"true\" DisplayName=\"" +
           name +
           " at logon\" />\n"
           "    </uap5:Extension></Extensions>\n"
           "  </Application></Applications>\n"
           "</Package>\n";
}

std::string manifestPath(const std::string& folder) { return folder + "\\AppxManifest.xml"; }

}  // namespace

const char* crowdName(Crowd crowd) { return crowd == Crowd::RegistryHeavy ? "registry-heavy" : "mixed"; }

void seedCrowd(const SourcePorts& platform, Crowd crowd, std::size_t entries) {
    required(ensureDisabledItemsFolders(platform.system, platform.files));
    const Places places = placesOf(platform);
    if (crowd == Crowd::Mixed) writeWinIniLines(platform, true);
    for (std::size_t i = firstPlaced(crowd); i < entries; ++i) {
        const Placement placement = placementOf(crowd, i, places);
        const std::string command = "\"C:\\Program Files\\Vendor " + std::to_string(i % 97) + "\\tool.exe\" /tray";
        if (placement.key) {
            required(platform.registry.writeValue(*placement.key,
                                                  {placement.name, kRegSz, storedString(command, kRegSz)}, true));
        } else if (placement.shortcut) {
            ShortcutFields fields;
            fields.targetPath = "C:\\Program Files\\Vendor\\tool" + std::to_string(i % 50) + ".exe";
            required(platform.links.writeShortcut(placement.path, fields, true));
        } else {
            required(platform.files.writeFile(placement.path, {'@'}));
        }
    }
}

void clearCrowd(const SourcePorts& platform, Crowd crowd, std::size_t entries) {
    const Places places = placesOf(platform);
    if (crowd == Crowd::Mixed) writeWinIniLines(platform, false);
    for (std::size_t i = firstPlaced(crowd); i < entries; ++i) {
        const Placement placement = placementOf(crowd, i, places);
        removed(placement.key ? platform.registry.deleteValue(*placement.key, placement.name)
                              : platform.files.deleteFile(placement.path));
    }
}

std::size_t readThroughPlatform(const SourcePorts& platform) {
    const Places places = placesOf(platform);
    std::size_t items = 0;
    for (const auto* keys : {&places.live, &places.parked})
        for (const auto& key : *keys)
            if (auto values = platform.registry.readValues(key)) items += values->size();
    const std::string file = winIniPath(platform.system);
    for (std::string_view section : {kWinIniEnabledSection, kWinIniDisabledSection})
        for (const std::string key : kWinIniKeys)
            items += platform.profiles.readProfile(std::string(section), key, file).has_value();
    for (const auto* folders : {&places.liveFolders, &places.parkedFolders})
        for (const std::string& folder : *folders)
            for (const std::string& name : platform.files.listFiles(folder)) {
                ++items;
                if (endsWithNoCase(name, ".lnk"))
                    items += platform.links.readShortcut(folder + "\\" + name).has_value();
            }
    return items;
}

void seedPackages(const SourcePorts& platform, std::size_t count) {
    const std::string packagesFolder = "C:\\Program Files\\WindowsApps";
    required(platform.files.ensureFolder(packagesFolder));
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = "Contoso.App" + std::to_string(i);
        const std::string fullName = name + "_1.0.0.0_x64__" + kPublisherId;
        const std::string folder = packagesFolder + "\\" + fullName;
        const std::string manifest = manifestOf(name);
        required(platform.files.ensureFolder(folder));
        required(platform.files.writeFile(manifestPath(folder), Bytes(manifest.begin(), manifest.end())));
        required(platform.registry.writeValue(userKey(std::string(appsSource().packages) + "\\" + fullName),
                                              {"PackageRootFolder", kRegSz, storedString(folder, kRegSz)}, true));
        if (i % 2 == 0)
            required(
                platform.registry.writeValue(userKey(switchSubkey(name)), {"State", kRegDword, {2, 0, 0, 0}}, true));
    }
}

std::size_t readPackagesThroughPlatform(const SourcePorts& platform) {
    const std::string packages(appsSource().packages);
    std::size_t items = 0;
    for (const std::string& fullName :
         platform.registry.readSubkeys(userKey(packages)).value_or(std::vector<std::string>{})) {
        const auto folder = platform.registry.readValue(userKey(packages + "\\" + fullName), "PackageRootFolder");
        if (!folder) continue;
        items += static_cast<bool>(platform.files.readFile(manifestPath(textOfStoredString(folder->data))));
        const std::string name = fullName.substr(0, fullName.find('_'));
        items += platform.registry.readValue(userKey(switchSubkey(name)), "State").has_value();
    }
    return items;
}

}  // namespace lsu::bench
