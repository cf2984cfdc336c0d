#pragma once
// The record of a service this program switched off: how it started before,
// kept in the machine's registry where a person can read it
// (HKEY_LOCAL_MACHINE\Software\LStartUp\Parked Services\NAME, the DWORD
// values Start and DelayedAutostart, named as the service's own), so that
// switching it on again restores exactly that.

#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "platform/Registry.h"

namespace lsu {

inline constexpr const char* kParkedServicesKey = "Software\\LStartUp\\Parked Services";

struct ParkedService {
    std::uint32_t startType = 0;
    bool delayed = false;
    bool operator==(const ParkedService&) const = default;
};

// The key holding every record, and the record of one service.
RegistryLocation parkedServicesKey();
RegistryLocation parkedRecordKey(const std::string& serviceName);
// The values the record of that state is written as.
std::vector<RegistryValue> parkedRecordValues(const ParkedService& parked);

// The record of the service: nullopt when there is none; damaged data when
// its values do not make a record of an automatic service, as this program
// writes one, which is then left as it stands.
Result<std::optional<ParkedService>> readParkedRecord(Registry& registry, const std::string& serviceName);

}  // namespace lsu
