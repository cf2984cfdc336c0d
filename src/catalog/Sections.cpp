#include "catalog/Sections.h"

#include <algorithm>
#include <cctype>

namespace lsu {

const std::vector<Section>& sectionCatalog() {
    static const std::vector<Section> catalog = {
        {"All Programs", "All", "", "cf", "", "All programs which load at system startup or when a user logs in", false},
        {"Startup Folder", "Startup folder", "All Programs", "st", "", "Programs listed in Startup Folder of start menu", false},
        {"Startup Folder\\All Users", "All users", "Startup Folder", "users", "", "Program listed in shared Startup Folder", true},
        {"Startup Folder\\Current User", "Current user", "Startup Folder", "user", "", "Program listed in Startup Folder of current user", true},
        {"Registry", "Registry", "All Programs", "reg", "", "Program listed in Windows registry", false},
        {"Registry\\All Users", "All users", "Registry", "users", "", "Program runs at Windows Startup", false},
        {"Registry\\All Users\\Run", "Run", "Registry\\All Users", "cf", "of", "Program runs at logon of all users", true},
        {"Registry\\All Users\\Run Once", "Run once", "Registry\\All Users", "cf", "of", "Program that runs once at logon of all users", true},
        {"Registry\\All Users\\Run Once Ex", "Run once Ex", "Registry\\All Users", "cf", "of", "Program that runs once(extented) at logon of all users", true},
        {"Registry\\All Users\\Run Services", "Run services", "Registry\\All Users", "cf", "of", "Services that runs at logon of all users", true},
        {"Registry\\All Users\\Run Services Once", "Run services once", "Registry\\All Users", "cf", "of", "Services that runs once at logon of all users", true},
        {"Registry\\Current User", "Current User", "Registry", "user", "", "Programs that runs at current user logon", false},
        {"Registry\\Current User\\Run", "Run", "Registry\\Current User", "cf", "of", "Programs that runs at current user logon", true},
        {"Registry\\Current User\\Run Once", "Run once", "Registry\\Current User", "cf", "of", "Programs that runs once at current user logon", true},
        {"Win.ini", "Win.ini", "All Programs", "cf", "", "Programs run from Win.ini", false},
        {"Win.ini\\Load", "Load", "Win.ini", "cf", "of", "Programs run from Win.ini load section", true},
        {"Win.ini\\Run", "Run", "Win.ini", "cf", "of", "Programs run from Win.ini run section", true},
    };
    return catalog;
}

const Section* findSection(std::string_view key) {
    const auto& catalog = sectionCatalog();
    auto it = std::find_if(catalog.begin(), catalog.end(), [&](const Section& s) { return s.key == key; });
    return it == catalog.end() ? nullptr : &*it;
}

const std::vector<RegistrySection>& registrySections() {
    static const std::vector<RegistrySection> sections = {
        {"Registry\\All Users\\Run", Hive::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
        {"Registry\\Current User\\Run", Hive::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
        {"Registry\\All Users\\Run Once", Hive::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
        {"Registry\\Current User\\Run Once", Hive::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
        {"Registry\\All Users\\Run Once Ex", Hive::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx"},
        {"Registry\\All Users\\Run Services", Hive::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices"},
        {"Registry\\All Users\\Run Services Once", Hive::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce"},
    };
    return sections;
}

const std::vector<std::string_view>& treeImageKeys() {
    static const std::vector<std::string_view> keys = {"of", "reg", "st", "user", "cf", "users"};
    return keys;
}

Hive GetHKey(std::string_view sSection) {
    for (std::size_t i = 0; i + 3 <= sSection.size(); ++i) {
        auto lower = [&](std::size_t k) { return std::tolower(static_cast<unsigned char>(sSection[i + k])); };
        if (lower(0) == 'a' && lower(1) == 'l' && lower(2) == 'l') return Hive::LocalMachine;
    }
    return Hive::CurrentUser;
}

std::string GetSubKey(std::string_view sSection) {
    for (const auto& section : registrySections())
        if (section.key == sSection) return std::string(section.subkey);
    return {};
}

std::string AddSlash(std::string_view lzPathName) {
    std::string path(lzPathName);
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

std::string WinDir(Platform& platform) {
    std::string dir = platform.windowsDirectory();
    while (!dir.empty() && (dir.back() == '\\' || dir.back() == ' ')) dir.pop_back();
    return dir;
}

bool isRegistrySection(std::string_view key) { return !GetSubKey(key).empty(); }

}  // namespace lsu
