#pragma once
// A packaged app's startup task's switch, as Windows keeps it: the DWORD
// value State of the key <package family name>\<task id> below the leaf's
// switches key. Without the value the task starts as its manifest's Enabled
// says.

#include <cstdint>
#include <optional>
#include <string_view>

#include "catalog/Sections.h"
#include "platform/Registry.h"

namespace lsu {

// Numbered as Windows numbers a startup task's state.
enum class AppTaskState : std::uint32_t {
    Disabled = 0,
    DisabledByUser = 1,  // what Windows writes when the user switches the task off
    Enabled = 2,
    DisabledByPolicy = 3,
    EnabledByPolicy = 4,
};

inline constexpr std::string_view kAppTaskStateName = "State";

// The key of the task's switch; nullopt when the family name or the task's
// id cannot name exactly one key.
std::optional<RegistryLocation> appTaskSwitchKey(const PackagedAppSource& source, std::string_view family,
                                                 std::string_view taskId);

// The state a stored value says; nullopt for a value of another type or
// size, or a number Windows does not give a state.
std::optional<AppTaskState> appTaskStateOf(const RegistryValue& value);
RegistryValue appTaskStateValue(AppTaskState state);

bool startsAtLogon(AppTaskState state);
bool setByPolicy(AppTaskState state);

}  // namespace lsu
