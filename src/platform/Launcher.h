#pragma once
// Starting a program, or opening a file, as the shell starts it; a
// scheduled task, as the task scheduler starts it; or a service, as the
// service manager starts it.

#include <string>

#include "base/Result.h"

namespace lsu {

enum class ShowCommand { Normal, Maximized };

class Launcher {
public:
    virtual ~Launcher() = default;
    virtual Status launch(const std::string& file, const std::string& parameters, const std::string& directory,
                          ShowCommand show) = 0;
    // Asks the task scheduler to run the registered task now, as its
    // triggers would.
    virtual Status runScheduledTask(const std::string& taskPath) = 0;
    virtual Status startService(const std::string& name) = 0;
};

}  // namespace lsu
