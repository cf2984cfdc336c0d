// Scheduled tasks that start a program at logon or at start-up: the
// scheduler's registered tasks, each definition read by the same reader on
// every platform.

#include "scanners/Scanners.h"

namespace lsu {

namespace {

// The scheduler is asked once for all the leaves of a load. A definition
// that does not read is no task the scheduler would run: it is passed over,
// and the others are listed.
const std::vector<StartingTask>& startingTasks(ScanContext& context) {
    if (context.startingTasks) return *context.startingTasks;
    auto& starting = context.startingTasks.emplace();
    auto registered = context.ports.tasks.registeredTasks();
    if (!registered) return starting;
    for (RegisteredTask& task : *registered) {
        auto definition = formats::readTaskDefinitionText(task.definition);
        if (!definition) continue;
        if (auto launch = formats::startupLaunchOf(*definition))
            starting.push_back({std::move(task.path), task.enabled, std::move(*launch)});
    }
    return starting;
}

}  // namespace

void scanScheduledTasks(SectionId leaf, const ScheduledTaskSource& source, ScanContext& context) {
    const bool switchable = context.ports.tasks.switchesTasks();
    for (const StartingTask& task : startingTasks(context)) {
        if (!(source.start == TaskStart::AtLogon ? task.launch.atLogon : task.launch.atStartup)) continue;
        StartupEntry& row =
            appendEntry(context, task.path, task.launch.commandLine, leaf, task.enabled, EntryType::ScheduledTask);
        row.taskPath = task.path;
        if (!switchable) row.lock = EntryLock::NotSwitchedHere;
    }
}

}  // namespace lsu
