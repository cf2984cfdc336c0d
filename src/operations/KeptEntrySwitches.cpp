#include "operations/KeptEntrySwitches.h"

#include "catalog/AppTaskSwitches.h"

namespace lsu {

namespace {

// Windows writes Enabled when a user switches a task on and DisabledByUser
// when a user switches it off; nothing else of the task's is touched.
Status switchAppTask(Registry& registry, const PackagedAppSource& source, const StartupEntry& row, bool on) {
    const auto key = appTaskSwitchKey(source, row.packageFamilyName, row.taskId);
    if (!key)
        return Error{ErrorKind::UnsafeName, 0,
                     "The startup task \"" + row.taskId + "\" of " + row.packageFamilyName +
                         " has an id that names no single registry key, so its switch cannot be found."};
    const std::string name(kAppTaskStateName);
    // Group policy may have taken the task over since it was listed.
    if (auto stored = registry.readValue(*key, name))
        if (auto state = appTaskStateOf(*stored); state && setByPolicy(*state))
            return Error{ErrorKind::RefusedByPolicy, 0, kSetByPolicyReason};
    const RegistryValue wanted = appTaskStateValue(on ? AppTaskState::Enabled : AppTaskState::DisabledByUser);
    if (Status written = registry.writeValue(*key, wanted, true); !written) return written;
    auto back = registry.readValue(*key, name);
    if (!back || back->type != wanted.type || back->data != wanted.data)
        return Error{ErrorKind::ReadBackMismatch, 0, "The startup task's State did not read back as written."};
    return {};
}

}  // namespace

ChangeResult switchKeptEntry(const SourcePorts& ports, StartupEntry& row, bool on) {
    const auto* apps = sourceAs<PackagedAppSource>(row.section);
    const Status switched =
        apps ? switchAppTask(ports.registry, *apps, row, on) : ports.tasks.setTaskEnabled(row.taskPath, on);
    if (switched) row.enabled = on;
    row.checked = startsWithWindows(row);
    if (!switched) return switched.error();
    return Changed{};
}

}  // namespace lsu
