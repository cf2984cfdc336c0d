#include "support/Seed.h"

#include <gtest/gtest.h>

#include "catalog/DisabledStores.h"
#include "platform/RegistryStrings.h"
#include "platform/ServiceKeys.h"
#include "scanners/SectionLoading.h"
#include "support/Backend.h"

namespace lsu::test {

RegistryValue stringValue(const std::string& name, const std::string& data, std::uint32_t type) {
    return {name, type, storedString(data, type)};
}

RegistryValue dwordValue(const std::string& name, std::uint32_t number) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
    return {name, kRegDword, bytes};
}

RegistryLocation registryKeyOf(SectionId leaf, bool disabled, RegistryView view) {
    const RegistrySource& source = *sourceAs<RegistrySource>(leaf);
    if (source.views == ViewRule::Shared) view = RegistryView::Shared;
    return {source.hive, view, disabled ? disabledSubkey(source.subkey) : std::string(source.subkey)};
}

void seedRegistry(const ScanPorts& platform, SectionId leaf, const RegistryValue& value, bool disabled,
                  RegistryView view) {
    expectDone(platform.registry.writeValue(registryKeyOf(leaf, disabled, view), value, true), "seeding " + value.name);
}

void seedWinIni(const ScanPorts& platform, SectionId leaf, const std::string& line, bool disabled) {
    expectDone(platform.profiles.writeProfile(std::string(disabled ? kWinIniDisabledSection : kWinIniEnabledSection),
                                              std::string(sourceAs<WinIniSource>(leaf)->key), line,
                                              winIniPath(platform.system)),
               "seeding " + line);
}

std::optional<std::string> winIniLine(const ScanPorts& platform, SectionId leaf, bool disabled) {
    return platform.profiles.readProfile(std::string(disabled ? kWinIniDisabledSection : kWinIniEnabledSection),
                                         std::string(sourceAs<WinIniSource>(leaf)->key), winIniPath(platform.system));
}

std::string startupFolder(const ScanPorts& platform, SectionId leaf, bool disabled) {
    if (!disabled) return platform.system.shellFolder(sourceAs<FolderSource>(leaf)->folder);
    expectDone(ensureDisabledItemsFolders(platform.system, platform.files), "making the disabled-items folders");
    return disabledItemsFolder(platform.system, leaf);
}

void Backend::seedService(const ServiceConfig& service) { seedServiceKey(ports().registry, service); }

void seedServiceKey(Registry& registry, const ServiceConfig& service) {
    const std::string key = std::string(kServicesKey) + "\\" + service.name;
    auto write = [&](const std::string& subkey, const RegistryValue& value) {
        expectDone(registry.writeValue({Hive::LocalMachine, RegistryView::Bits64, subkey}, value, true),
                   "seeding the service " + service.name);
    };
    write(key, dwordValue("Type", service.type));
    write(key, dwordValue("Start", service.startType));
    write(key, stringValue("ImagePath", service.imagePath, kRegExpandSz));
    if (!service.displayName.empty()) write(key, stringValue("DisplayName", service.displayName));
    if (service.delayed) write(key, dwordValue("DelayedAutostart", 1));
    if (!service.serviceDll.empty())
        write(key + "\\Parameters", stringValue("ServiceDll", service.serviceDll, kRegExpandSz));
}

std::optional<StartupEntry> findRow(const ScanPorts& platform, SectionId id, const std::string& name) {
    for (auto& row : loadSection(platform, id).rows)
        if (row.name == name) return row;
    return std::nullopt;
}

std::vector<std::string> cells(const EntryList& rows, Column column) {
    std::vector<std::string> texts;
    for (const auto& row : rows) texts.push_back(cellText(row, column));
    return texts;
}

}  // namespace lsu::test
