#pragma once
// A scheduled task's definition, the XML the Task Scheduler keeps for each
// registered task (a file under System32\Tasks, or what a registered task
// hands out as its XML), read to the parts that say whether and how the
// task starts a program by itself.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace lsu::formats {

inline constexpr std::string_view kTaskNamespace = "http://schemas.microsoft.com/windows/2004/02/mit/task";

enum class TaskTriggerKind { Logon, Boot, Time, Calendar, Event, Registration, Idle, SessionStateChange, Other };

struct TaskTrigger {
    TaskTriggerKind kind = TaskTriggerKind::Other;
    bool enabled = true;
    bool operator==(const TaskTrigger&) const = default;
};

enum class TaskActionKind { Exec, ComHandler, SendEmail, ShowMessage, Other };

struct TaskAction {
    TaskActionKind kind = TaskActionKind::Other;
    // An Exec action's fields, as stored: environment variables unexpanded.
    std::string command;
    std::string arguments;
    std::string workingDirectory;
    bool operator==(const TaskAction&) const = default;
};

struct TaskDefinition {
    std::string uri;  // RegistrationInfo/URI: the path the task was registered under, if the definition keeps it
    bool enabled = true;
    bool hidden = false;
    std::vector<TaskTrigger> triggers;  // in the definition's order
    std::vector<TaskAction> actions;
};

// DamagedData for XML that does not parse, a root that is no Task of the
// scheduler's namespace, a boolean that is none, or an Exec action without
// a command: the scheduler would not have registered any of them.
Result<TaskDefinition> readTaskDefinition(std::span<const std::uint8_t> bytes);
// The same for the definition as text (UTF-8), as a registered task hands
// out its XML: decoded already, whatever encoding its declaration names.
Result<TaskDefinition> readTaskDefinitionText(std::string_view xml);

// The command line the scheduler starts for an Exec action: the program
// quoted (a program already in quotes is not quoted twice), then a space
// and the arguments when there are any.
std::string execCommandLine(const TaskAction& action);

struct TaskLaunch {
    bool atLogon = false;
    bool atStartup = false;
    std::string commandLine;  // the first Exec action's
    bool operator==(const TaskLaunch&) const = default;
};

// Whether the task starts a program by itself at logon or at start-up: an
// enabled LogonTrigger or BootTrigger and an Exec action. The task's own
// Enabled setting is not looked at, so that a task switched off is still
// known for what it starts.
std::optional<TaskLaunch> startupLaunchOf(const TaskDefinition& task);

}  // namespace lsu::formats
