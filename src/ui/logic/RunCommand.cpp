#include "ui/logic/RunCommand.h"

#include "base/WindowsPaths.h"
#include "catalog/CommandLine.h"
#include "catalog/DisabledStores.h"

namespace lsu {

std::optional<LaunchRequest> launchRequestFor(SystemFacts& system, FileSystem& files, const StartupEntry& row) {
    // A Startup folder's entry is the file itself, a link or a program: it is
    // opened where it stands, as Windows opens it at logon. A name the system
    // would take for another file's opens nothing.
    if (hasUnsafeFileName(row)) return std::nullopt;
    if (sourceAs<FolderSource>(row.section) && !row.fileName.empty()) {
        const std::string folder = entryFolder(system, row.section, row.enabled);
        return LaunchRequest{withTrailingBackslash(folder) + row.fileName, {}, folder};
    }
    const std::string expanded = system.expandEnvironment(row.commandLine);
    auto split = splitCommandLine(expanded, [&](const std::string& path) { return files.fileExists(path); });
    if (split.program.empty()) return std::nullopt;
    return LaunchRequest{split.program, split.arguments, parentFolderOf(split.program)};
}

}  // namespace lsu
