#pragma once
// lstartup-cli: the window's inventory and operations for scripts. Lists a
// section in the window's order and enables, disables, deletes and adds
// entries through the same operations the window uses.

#include <ostream>
#include <string>
#include <vector>

#include "platform/Ports.h"

namespace lsu::cli {

// Runs one command (args without the program name). Output goes to out,
// errors and the operations' messages to err, one line each; the result is
// an exit code of ExitCodes.h. Nothing is changed when it is not 0.
// The journal records each change under the tool's name.
int runCli(const ScanPorts& ports, const std::string& tool, const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err, int terminalWidth);

}  // namespace lsu::cli
