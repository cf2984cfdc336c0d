#pragma once
// The services of a Windows whose service manager is not asked: each one a
// key below SYSTEM\CurrentControlSet\Services, read and changed through the
// registry. A running service manager holds these keys in its own memory and
// writes them again, so a running Windows is asked through its manager.

#include <functional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/formats/IndirectString.h"

namespace lsu {

inline constexpr const char* kServicesKey = "SYSTEM\\CurrentControlSet\\Services";

class ServiceKeys {
public:
    // The text of an indirect display name; empty when it cannot be had.
    using NameResolver = std::function<std::string(const formats::IndirectString&)>;
    ServiceKeys(Registry& registry, NameResolver resolveName);

    // A key whose name could not name one service (a backslash in it, or a
    // name another key holds in another case) is not listed.
    Result<std::vector<ServiceConfig>> list();
    Result<ServiceConfig> read(const std::string& name);
    Status setStart(const std::string& name, std::uint32_t startType, bool delayed);

private:
    // The service of the key holding these values; nullopt when they make no
    // Win32 service.
    std::optional<ServiceConfig> configOf(const std::string& name, const std::vector<RegistryValue>& values);

    Registry& registry_;
    NameResolver resolveName_;
};

}  // namespace lsu
