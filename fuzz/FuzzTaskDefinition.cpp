// Reads any bytes as a scheduled task's definition; a task that starts a
// program at logon or at start-up always gives a command line with its
// program quoted.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/formats/TaskDefinition.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto task = lsu::formats::readTaskDefinition(std::span(data, size));
    if (!task) return 0;
    auto launch = lsu::formats::startupLaunchOf(*task);
    if (launch && (!(launch->atLogon || launch->atStartup) || !launch->commandLine.starts_with('"'))) std::abort();
    return 0;
}
