#pragma once
// The task scheduler's registered tasks: each one's path and the definition
// it keeps for it, read in every folder, hidden tasks too; and its switch.

#include <string>
#include <vector>

#include "base/Result.h"

namespace lsu {

struct RegisteredTask {
    std::string path;        // as the scheduler names it: "\Vendor\Updater"
    std::string definition;  // the task's XML, decoded to UTF-8
    bool enabled = true;     // whether the scheduler runs it when it is triggered
    bool operator==(const RegisteredTask&) const = default;
};

// Named apart from the shell's "Scheduled Tasks" folder class, which Windows'
// headers declare in the global namespace.
class Scheduler {
public:
    virtual ~Scheduler() = default;
    // Every registered task of every folder; why not when the scheduler
    // cannot be asked.
    virtual Result<std::vector<RegisteredTask>> registeredTasks() = 0;
    // Whether tasks can be switched on this system at all: one that lists
    // tasks it cannot change says so before it is asked to.
    virtual bool switchesTasks() = 0;
    // Switches the task on or off and reads the switch back: a switch that
    // does not read back as asked is a ReadBackMismatch, with nothing else
    // changed.
    virtual Status setTaskEnabled(const std::string& taskPath, bool enabled) = 0;
};

}  // namespace lsu
