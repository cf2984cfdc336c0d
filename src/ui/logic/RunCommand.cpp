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
        const std::string folder = entryFolder(system, row);
        return LaunchRequest{withTrailingBackslash(folder) + row.fileName, {}, folder};
    }
    // The task's command line is its executable's path, spaces and all.
    if (row.type == EntryType::AppTask) return LaunchRequest{row.commandLine, {}, parentFolderOf(row.commandLine)};
    const std::string expanded = system.expandEnvironment(row.commandLine);
    auto split = splitCommandLine(expanded, [&](const std::string& path) { return files.fileExists(path); });
    if (split.program.empty()) return std::nullopt;
    return LaunchRequest{split.program, split.arguments, parentFolderOf(split.program)};
}

Status runEntry(Launcher& launcher, SystemFacts& system, FileSystem& files, const StartupEntry& row) {
    if (row.type == EntryType::ScheduledTask) return launcher.runScheduledTask(row.taskPath);
    if (row.type == EntryType::Service) return launcher.startService(row.name);
    auto request = launchRequestFor(system, files, row);
    if (!request) return {};
    return launcher.launch(request->file, request->parameters, request->directory, request->show);
}

}  // namespace lsu
