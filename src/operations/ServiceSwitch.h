#pragma once
// Switching a service off and on again without losing how it started. Off:
// the record of its start type and delayed flag is written and read back
// first, and only then does its start type become Disabled. On: exactly
// what was recorded is restored and read back, and only then does the
// record go. A record is never overwritten or removed while its service
// is off.

#include "operations/Operations.h"

namespace lsu {

// Said once after a service is switched off.
inline constexpr const char* kServiceKeepsRunningNote =
    "A service switched off keeps running until it stops or Windows restarts; it will not start with Windows "
    "again.";

// The question asked before one of Windows' own services is switched off.
std::string windowsServiceQuestion(const StartupEntry& row);

// Switches the row's service on (its recorded start type) or off (Disabled).
ChangeResult switchService(const SourcePorts& ports, UserPrompts& prompts, const StartupEntry& row, bool on);

}  // namespace lsu
