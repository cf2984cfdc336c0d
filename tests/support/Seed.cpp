#include "support/Seed.h"

#include "catalog/DisabledStores.h"
#include "catalog/Sections.h"

namespace lsu::test {

RegistryValue stringValue(const std::string& name, const std::string& data, std::uint32_t type) {
    return {name, type, std::vector<std::uint8_t>(data.begin(), data.end())};
}

RegistryValue dwordValue(const std::string& name, std::uint32_t number) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
    return {name, kRegDword, bytes};
}

void seedRegistry(Platform& platform, std::string_view sectionKey, const RegistryValue& value, bool disabled,
                  RegistryView view) {
    Hive hive = GetHKey(sectionKey);
    if (hive == Hive::CurrentUser) view = RegistryView::Shared;
    std::string subkey = GetSubKey(sectionKey);
    platform.writeValue({hive, view, disabled ? disabledSubkey(subkey) : subkey}, value, true);
}

void seedWinIni(Platform& platform, std::string_view key, const std::string& line, bool disabled) {
    platform.writeProfile(std::string(disabled ? kWinIniDisabledSection : kWinIniEnabledSection), std::string(key),
                          line, winIniPath(platform));
}

std::string startupFolder(Platform& platform, std::string_view sectionKey, bool disabled) {
    if (disabled) {
        ensureDisabledItemsFolders(platform);
        return disabledItemsFolder(platform, sectionKey);
    }
    return platform.specialFolder(startupFolderId(sectionKey));
}

}  // namespace lsu::test
