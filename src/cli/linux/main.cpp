// lstartup-cli for Linux: the same commands, formats and exit codes as the
// Windows tool, on a Windows that is not running, its volume mounted here.
//   lstartup-cli --offline DIR [--user NAME] [--program-folder PATH] [--force-dirty] COMMAND ...

#include <sys/ioctl.h>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/EntryFormats.h"
#include "cli/ExitCodes.h"
#include "cli/RunCli.h"
#include "cli/VersionLine.h"
#include "platform/offline/OfflinePlatform.h"

namespace {

using lsu::offline::OfflineOptions;
using lsu::offline::OfflinePlatform;

constexpr const char* kUsage =
    "Usage: lstartup-cli --offline DIR [--user NAME] [--program-folder PATH] [--force-dirty] COMMAND ...\n"
    "       lstartup-cli --version\n"
    "Lists and changes the programs an offline Windows starts by itself.\n\n"
    "  --offline DIR          the root of the mounted Windows volume (the folder holding Windows, Users,\n"
    "                         ProgramData); mount it read-write with ntfs-3g to make changes\n"
    "  --user NAME            the profile under DIR/Users whose start-up entries are the current user's\n"
    "                         (default: the only profile holding an NTUSER.DAT)\n"
    "  --program-folder PATH  the folder of the disabled items of the all-users Startup folder\n"
    "                         (default: DIR/Program Files/LStartUp, when it exists); the profile's\n"
    "                         own are kept in its AppData\\Local\\LStartUp\n"
    "  --force-dirty          change hives that were not shut down cleanly all the same\n\n"
    "Every change is recorded in the profile's AppData\\Local\\LStartUp\\journal.jsonl, where the window of\n"
    "the next start finds it too; history lists it and undo puts a change back.\n\n"
    "Commands: list, enable, disable, delete, add, history, undo, snapshot save, diff; lstartup-cli --offline DIR "
    "COMMAND --help tells "
    "more.\n\n";

// A table is fitted to a terminal a person reads; a file or a pipe gets
// every cell whole.
int terminalWidth() {
    if (!::isatty(STDOUT_FILENO)) return lsu::cli::kWholeCells;
    winsize size{};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return 80;
    return size.ws_col;
}

int fail(int code, const std::string& message) {
    std::cerr << "lstartup-cli: error: " << message << '\n';
    return code;
}

// A volume that cannot be opened as asked: no Windows on it, no profile, or
// options that name no folder.
int exitCodeOfSetup(const lsu::Error& error) {
    return error.kind == lsu::ErrorKind::InvalidInput ? lsu::cli::kExitUsage : lsu::cli::exitCodeFor(error.kind);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (lsu::cli::asksForVersion(args)) {
        std::cout << lsu::cli::kVersionLine;
        return lsu::cli::kExitOk;
    }
    OfflineOptions options;
    std::size_t at = 0;
    for (; at < args.size(); ++at) {
        const std::string& option = args[at];
        if (option == "--force-dirty") {
            options.acceptDirtyHives = true;
            continue;
        }
        std::string* value = option == "--offline"          ? &options.root
                             : option == "--user"           ? &options.user
                             : option == "--program-folder" ? &options.programFolder
                                                            : nullptr;
        if (!value) break;
        if (++at == args.size()) return fail(lsu::cli::kExitUsage, option + " needs a value (see --help)");
        *value = args[at];
    }
    args.erase(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(at));
    if (options.root.empty()) {
        if (args.empty() || args.front() == "--help" || args.front() == "-h") {
            std::cout << kUsage << lsu::cli::kExitCodeHelp;
            return lsu::cli::kExitOk;
        }
        return fail(lsu::cli::kExitUsage, "--offline DIR is required: the root of the mounted Windows volume");
    }

    auto opened = OfflinePlatform::open(options);
    if (!opened) return fail(exitCodeOfSetup(opened.error()), opened.error().message);
    OfflinePlatform& platform = **opened;
    for (const std::string& hive : platform.dirtyHives())
        std::cerr << "lstartup-cli: warning: " << hive
                  << " was not shut down cleanly; it may lack changes its transaction logs hold\n";

    const int code =
        lsu::cli::runCli(lsu::portsOf(platform), "lstartup-cli --offline", args, std::cout, std::cerr, terminalWidth());
    std::cout.flush();
    return code;
}
