#include "catalog/AppTaskSwitches.h"

#include <string>

namespace lsu {

namespace {

// The registry's longest key name.
constexpr std::size_t kLongestKeyName = 255;

bool namesOneKey(std::string_view name) {
    if (name.empty() || name.size() > kLongestKeyName) return false;
    for (char c : name)
        if (c == '\\' || static_cast<unsigned char>(c) < 0x20) return false;
    return true;
}

}  // namespace

std::optional<RegistryLocation> appTaskSwitchKey(const PackagedAppSource& source, std::string_view family,
                                                 std::string_view taskId) {
    if (!namesOneKey(family) || !namesOneKey(taskId)) return std::nullopt;
    std::string subkey(source.switches);
    subkey.append("\\").append(family).append("\\").append(taskId);
    return RegistryLocation{Hive::CurrentUser, RegistryView::Shared, std::move(subkey)};
}

std::optional<AppTaskState> appTaskStateOf(const RegistryValue& value) {
    if (value.type != kRegDword || value.data.size() != 4) return std::nullopt;
    std::uint32_t number = 0;
    for (std::size_t i = 4; i-- > 0;) number = (number << 8) | value.data[i];
    if (number > static_cast<std::uint32_t>(AppTaskState::EnabledByPolicy)) return std::nullopt;
    return static_cast<AppTaskState>(number);
}

RegistryValue appTaskStateValue(AppTaskState state) {
    const auto number = static_cast<std::uint32_t>(state);
    return {std::string(kAppTaskStateName),
            kRegDword,
            {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
             static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

bool startsAtLogon(AppTaskState state) {
    return state == AppTaskState::Enabled || state == AppTaskState::EnabledByPolicy;
}

bool setByPolicy(AppTaskState state) {
    return state == AppTaskState::DisabledByPolicy || state == AppTaskState::EnabledByPolicy;
}

}  // namespace lsu
