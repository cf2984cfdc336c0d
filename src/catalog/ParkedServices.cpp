#include "catalog/ParkedServices.h"

#include <algorithm>

#include "base/CaseFolding.h"
#include "platform/RegistryNumbers.h"
#include "platform/Services.h"

namespace lsu {

namespace {

constexpr const char* kStartValue = "Start";
constexpr const char* kDelayedValue = "DelayedAutostart";

std::optional<std::uint32_t> numberNamed(const std::vector<RegistryValue>& values, std::string_view name) {
    auto found = std::find_if(values.begin(), values.end(),
                              [&](const RegistryValue& value) { return equalsNoCase(value.name, name); });
    return found == values.end() ? std::nullopt : dwordOf(*found);
}

}  // namespace

RegistryLocation parkedServicesKey() { return {Hive::LocalMachine, RegistryView::Bits64, kParkedServicesKey}; }

RegistryLocation parkedRecordKey(const std::string& serviceName) {
    RegistryLocation key = parkedServicesKey();
    key.subkey += "\\" + serviceName;
    return key;
}

std::vector<RegistryValue> parkedRecordValues(const ParkedService& parked) {
    return {{kStartValue, kRegDword, storedDword(parked.startType)},
            {kDelayedValue, kRegDword, storedDword(parked.delayed ? 1 : 0)}};
}

Result<std::optional<ParkedService>> readParkedRecord(Registry& registry, const std::string& serviceName) {
    const RegistryLocation key = parkedRecordKey(serviceName);
    auto values = registry.readValues(key);
    if (!values) return std::optional<ParkedService>();
    const auto start = numberNamed(*values, kStartValue);
    const auto delayed = numberNamed(*values, kDelayedValue);
    if (start != kServiceAutoStart || !delayed)
        return Error{ErrorKind::DamagedData, 0,
                     "The record HKEY_LOCAL_MACHINE\\" + key.subkey +
                         " does not hold the start type of an automatic service and its delayed start as DWORD "
                         "values Start and DelayedAutostart; it was left as it stands."};
    return std::optional<ParkedService>(ParkedService{*start, *delayed != 0});
}

}  // namespace lsu
