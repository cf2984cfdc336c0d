#include "platform/ServiceKeys.h"

#include <algorithm>
#include <map>

#include "base/CaseFolding.h"
#include "platform/RegistryNumbers.h"
#include "platform/RegistryStrings.h"

namespace lsu {

namespace {

constexpr const char* kStartValue = "Start";
constexpr const char* kDelayedValue = "DelayedAutostart";

RegistryLocation keyOf(const std::string& path) { return {Hive::LocalMachine, RegistryView::Bits64, path}; }
RegistryLocation serviceKey(const std::string& name) { return keyOf(std::string(kServicesKey) + "\\" + name); }

// A backslash in a name would lead to a key further down, not to the service.
bool namesOneKey(const std::string& name) { return !name.empty() && name.find('\\') == std::string::npos; }

const RegistryValue* valueNamed(const std::vector<RegistryValue>& values, std::string_view name) {
    auto found = std::find_if(values.begin(), values.end(),
                              [&](const RegistryValue& value) { return equalsNoCase(value.name, name); });
    return found == values.end() ? nullptr : &*found;
}

std::optional<std::uint32_t> numberOf(const std::vector<RegistryValue>& values, std::string_view name) {
    const RegistryValue* value = valueNamed(values, name);
    return value ? dwordOf(*value) : std::nullopt;
}

// The flag stays stored while the service is not automatic.
bool storedDelayed(const std::vector<RegistryValue>& values) {
    return numberOf(values, kDelayedValue).value_or(0) != 0;
}

std::string textOf(const RegistryValue* value) {
    if (!value || (value->type != kRegSz && value->type != kRegExpandSz)) return {};
    return textOfStoredString(value->data);
}

Error noSuchService(const std::string& name) {
    return {ErrorKind::NotFound, 0, "There is no service named \"" + name + "\"."};
}

}  // namespace

ServiceKeys::ServiceKeys(Registry& registry, NameResolver resolveName)
    : registry_(registry), resolveName_(std::move(resolveName)) {}

std::optional<ServiceConfig> ServiceKeys::configOf(const std::string& name, const std::vector<RegistryValue>& values) {
    const auto type = numberOf(values, "Type");
    const auto start = numberOf(values, kStartValue);
    if (!type || !start || !isWin32Service(*type)) return std::nullopt;
    ServiceConfig config;
    config.name = name;
    config.type = *type;
    config.startType = *start;
    config.delayed = *start == kServiceAutoStart && storedDelayed(values);
    config.imagePath = textOf(valueNamed(values, "ImagePath"));
    const std::string displayName = textOf(valueNamed(values, "DisplayName"));
    const auto reference = formats::parseIndirectString(displayName);
    config.displayName = reference ? resolveName_(*reference) : displayName;
    // A shared process finds the library it loads for the service in the
    // service's Parameters key, or else in the service's own key.
    if (*type & kServiceShareProcess) {
        auto parameters = registry_.readValue(serviceKey(name + "\\Parameters"), "ServiceDll");
        config.serviceDll = parameters ? textOf(&*parameters) : textOf(valueNamed(values, "ServiceDll"));
    }
    return config;
}

Result<std::vector<ServiceConfig>> ServiceKeys::list() {
    auto names = registry_.readSubkeys(keyOf(kServicesKey));
    if (!names) return Error{ErrorKind::NotFound, 0, "The registry holds no key of services."};
    std::map<std::u16string, int> spellings;
    for (const std::string& name : *names) ++spellings[foldedName(name)];
    std::vector<ServiceConfig> services;
    for (const std::string& name : *names) {
        if (!namesOneKey(name) || spellings[foldedName(name)] > 1) continue;
        auto values = registry_.readValues(serviceKey(name));
        if (!values) continue;
        if (auto config = configOf(name, *values)) services.push_back(std::move(*config));
    }
    return services;
}

Result<ServiceConfig> ServiceKeys::read(const std::string& name) {
    if (!namesOneKey(name)) return noSuchService(name);
    auto values = registry_.readValues(serviceKey(name));
    auto config = values ? configOf(name, *values) : std::nullopt;
    if (!config) return noSuchService(name);
    return *config;
}

Status ServiceKeys::setStart(const std::string& name, std::uint32_t startType, bool delayed) {
    auto current = read(name);
    if (!current) return current.error();
    const RegistryLocation key = serviceKey(name);
    const bool delayedBefore = storedDelayed(registry_.readValues(key).value_or(std::vector<RegistryValue>{}));
    if (Status written = registry_.writeValue(key, {kStartValue, kRegDword, storedDword(startType)}, false); !written)
        return written;
    if (delayed == delayedBefore) return {};
    Status flag = registry_.writeValue(key, {kDelayedValue, kRegDword, storedDword(delayed ? 1 : 0)}, false);
    if (flag) return {};
    if (registry_.writeValue(key, {kStartValue, kRegDword, storedDword(current->startType)}, false))
        return flag.error();
    return Error{ErrorKind::PartlyDone, 0,
                 "The start type of the service \"" + name +
                     "\" was changed, but its delayed start could not be, "
                     "and the start type could not be put back: " +
                     flag.error().message};
}

}  // namespace lsu
