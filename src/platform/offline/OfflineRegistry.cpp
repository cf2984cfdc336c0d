// The registry and win.ini of the offline system.

#include "base/CaseFolding.h"
#include "platform/RegistryStrings.h"
#include "platform/offline/HostFiles.h"
#include "platform/offline/OfflinePlatform.h"
#include "platform/offline/ProfileText.h"

namespace lsu::offline {

namespace {

constexpr std::string_view kSoftware = "Software";
constexpr std::string_view kClasses = "Software\\Classes";
constexpr std::string_view kSystem = "System";
constexpr std::string_view kCurrentControlSet = "CurrentControlSet";
constexpr const char* kWow64Node = "Wow6432Node";
// Where Windows NT keeps the [windows] section of win.ini (IniFileMapping).
constexpr const char* kMappedWinIniKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

bool isStringType(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

Error notLoaded(const RegistryLocation& key) {
    return {ErrorKind::NotFound, 0,
            "Offline, the machine's keys are those of its SOFTWARE and SYSTEM hives and the user's those of the "
            "profile's NTUSER.DAT and UsrClass.dat; " +
                key.subkey + " is in none of them that is loaded, or the SYSTEM hive names no current control set."};
}

RegistryValue portValue(HiveValue stored) { return {std::move(stored.name), stored.type, std::move(stored.data)}; }

// The subkey below the key named, or nullopt for a subkey not below it.
std::optional<std::string> below(std::string_view key, const std::string& subkey) {
    if (!equalsNoCase(subkey.substr(0, key.size()), key)) return std::nullopt;
    if (subkey.size() == key.size()) return std::string();
    if (subkey[key.size()] != '\\') return std::nullopt;
    return subkey.substr(key.size() + 1);
}

}  // namespace

Result<OfflinePlatform::HiveKey> OfflinePlatform::hiveKeyOf(const RegistryLocation& location) const {
    if (location.hive == Hive::CurrentUser) {
        auto classes = below(kClasses, location.subkey);
        if (!classes) return HiveKey{user_.get(), location.subkey};
        if (!classes_) return notLoaded(location);
        return HiveKey{classes_.get(), *classes};
    }
    if (auto inSystem = below(kSystem, location.subkey)) {
        if (!system_) return notLoaded(location);
        // CurrentControlSet is the control set Windows last started with.
        auto rest = below(kCurrentControlSet, *inSystem);
        if (!rest) return HiveKey{system_.get(), *inSystem};
        if (controlSet_.empty()) return notLoaded(location);
        return HiveKey{system_.get(), controlSet_ + (rest->empty() ? "" : "\\" + *rest)};
    }
    auto inSoftware = below(kSoftware, location.subkey);
    if (!inSoftware) return notLoaded(location);
    // A 32-bit Windows has one view; a 64-bit one keeps the 32-bit view of
    // SOFTWARE in its Wow6432Node.
    if (location.view == RegistryView::Bits32 && software_->hasKey(kWow64Node))
        return HiveKey{software_.get(), std::string(kWow64Node) + (inSoftware->empty() ? "" : "\\" + *inSoftware)};
    return HiveKey{software_.get(), *inSoftware};
}

std::optional<std::vector<RegistryValue>> OfflinePlatform::readValues(const RegistryLocation& key) {
    auto place = hiveKeyOf(key);
    auto stored = place ? place->hive->values(place->key) : std::nullopt;
    if (!stored) return std::nullopt;
    std::vector<RegistryValue> values;
    values.reserve(stored->size());
    for (HiveValue& value : *stored) values.push_back(portValue(std::move(value)));
    return values;
}

std::optional<RegistryValue> OfflinePlatform::readValue(const RegistryLocation& key, const std::string& name) {
    auto place = hiveKeyOf(key);
    auto stored = place ? place->hive->value(place->key, name) : std::nullopt;
    if (!stored) return std::nullopt;
    RegistryValue value = portValue(std::move(*stored));
    value.name = name;
    return value;
}

Status OfflinePlatform::writeValue(const RegistryLocation& key, const RegistryValue& value, bool createKey) {
    auto place = hiveKeyOf(key);
    if (!place) return place.error();
    return place->hive->setValue(place->key, {value.name, value.type, value.data}, createKey);
}

Status OfflinePlatform::deleteValue(const RegistryLocation& key, const std::string& name) {
    auto place = hiveKeyOf(key);
    if (!place) return place.error();
    return place->hive->deleteValue(place->key, name);
}

std::optional<std::vector<std::string>> OfflinePlatform::readSubkeys(const RegistryLocation& key) {
    auto place = hiveKeyOf(key);
    return place ? place->hive->subkeyNames(place->key) : std::nullopt;
}

Status OfflinePlatform::removeEmptyKey(const RegistryLocation& key) {
    auto place = hiveKeyOf(key);
    if (!place) return place.error();
    return place->hive->removeEmptyKey(place->key);
}

Status OfflinePlatform::checkChange(const RegistryLocation& key) {
    auto place = hiveKeyOf(key);
    if (!place) return place.error();
    return place->hive->checkChange(place->key);
}

bool OfflinePlatform::viewsShareKey(Hive hive, const std::string&) {
    return hive == Hive::CurrentUser || !software_->hasKey(kWow64Node);
}

std::optional<OfflinePlatform::HiveKey> OfflinePlatform::mappedProfileKey(const std::string& section,
                                                                          const std::string& file) {
    if (!equalsNoCase(section, "windows")) return std::nullopt;
    auto host = paths_.hostPath(file);
    auto winIni = paths_.hostPath(windowsFolder_ + "\\win.ini");
    if (!host || *host != *winIni) return std::nullopt;
    return HiveKey{user_.get(), kMappedWinIniKey};
}

std::optional<std::string> OfflinePlatform::readProfile(const std::string& section, const std::string& key,
                                                        const std::string& file) {
    if (auto mapped = mappedProfileKey(section, file)) {
        auto stored = mapped->hive->value(mapped->key, key);
        if (!stored || !isStringType(stored->type)) return std::nullopt;
        return textOfStoredString(stored->data);
    }
    auto bytes = readFile(file);
    if (!bytes) return std::nullopt;
    return ProfileText(*bytes).value(section, key);
}

Status OfflinePlatform::checkChange(const std::string& section, const std::string& file) {
    if (auto mapped = mappedProfileKey(section, file)) return mapped->hive->checkChange(mapped->key);
    return checkChange(file);
}

Status OfflinePlatform::writeProfile(const std::string& section, const std::string& key, const std::string& value,
                                     const std::string& file) {
    if (auto mapped = mappedProfileKey(section, file))
        return mapped->hive->setValue(mapped->key, {key, kRegSz, storedString(value, kRegSz)}, true);
    // A file that stands but cannot be read is not written over.
    auto bytes = readFile(file);
    if (!bytes && bytes.error().kind != ErrorKind::NotFound) return bytes.error();
    ProfileText text(bytes ? *bytes : Bytes{});
    text.setValue(section, key, value);
    return writeFile(file, text.bytes());
}

Status OfflinePlatform::removeProfileKey(const std::string& section, const std::string& key, const std::string& file) {
    if (!readProfile(section, key, file)) return {};
    if (auto mapped = mappedProfileKey(section, file)) return mapped->hive->deleteValue(mapped->key, key);
    auto bytes = readFile(file);
    if (!bytes) return bytes.error();
    ProfileText text(*bytes);
    text.removeValue(section, key);
    return writeFile(file, text.bytes());
}

}  // namespace lsu::offline
