#pragma once
// Services: the programs Windows' service manager starts, each under its
// name, with how and when it starts them.

#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"

namespace lsu {

// Start types, numbered as the service manager numbers them.
inline constexpr std::uint32_t kServiceBootStart = 0;
inline constexpr std::uint32_t kServiceSystemStart = 1;
inline constexpr std::uint32_t kServiceAutoStart = 2;
inline constexpr std::uint32_t kServiceDemandStart = 3;
inline constexpr std::uint32_t kServiceDisabled = 4;

// Service types: a program of its own, or one of the services a shared
// process (svchost) hosts. Drivers have bits of their own below these.
inline constexpr std::uint32_t kServiceOwnProcess = 0x10;
inline constexpr std::uint32_t kServiceShareProcess = 0x20;
inline constexpr std::uint32_t kServiceWin32 = kServiceOwnProcess | kServiceShareProcess;
inline constexpr std::uint32_t kServiceDriverBits = 0x0F;

// A service as the system keeps it; numbers as stored, whatever they hold.
struct ServiceConfig {
    std::string name;         // the service's own name, its key below Services
    std::string displayName;  // the name people read, resolved; empty when none can be had
    std::uint32_t type = kServiceOwnProcess;
    std::uint32_t startType = kServiceDemandStart;
    bool delayed = false;    // automatic, and started a while after the others
    std::string imagePath;   // the command line as stored, environment variables unexpanded
    std::string serviceDll;  // the library a shared process loads for it, as stored; empty when none
    bool operator==(const ServiceConfig&) const = default;
};

// Whether the system starts the service as a program (of its own or in a
// shared process) rather than loading it as a driver.
inline bool isWin32Service(std::uint32_t type) { return (type & kServiceWin32) && !(type & kServiceDriverBits); }

class Services {
public:
    virtual ~Services() = default;
    // Every Win32 service, never a driver; why not when the system cannot
    // be asked.
    virtual Result<std::vector<ServiceConfig>> listServices() = 0;
    // One service by its name; not found when there is none.
    virtual Result<ServiceConfig> readService(const std::string& name) = 0;
    // Sets how the service starts. The delayed flag is written only where it
    // differs from the one stored, and a failure to write it puts the start
    // type back.
    virtual Status setServiceStart(const std::string& name, std::uint32_t startType, bool delayed) = 0;
};

}  // namespace lsu
