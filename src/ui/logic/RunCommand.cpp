#include "ui/logic/RunCommand.h"

#include "catalog/CommandLine.h"
#include "catalog/DisabledStores.h"
#include "catalog/Sections.h"
#include "catalog/Text.h"

namespace lsu {

std::optional<LaunchRequest> launchRequestFor(Platform& platform, const StartupEntry& row) {
    if (row.Type == kTypeLnk && !row.fileName.empty()) {
        const std::string folder = row.Status == kStatusEnabled ? platform.specialFolder(startupFolderId(row.Section))
                                                                : disabledItemsFolder(platform, row.Section);
        const std::string link = AddSlash(folder) + row.fileName;
        return LaunchRequest{link, {}, folder};
    }
    const std::string expanded = platform.expandEnvironment(row.CommandLine);
    auto split = splitCommandLine(expanded, [&](const std::string& path) { return platform.fileExists(path); });
    if (split.program.empty()) return std::nullopt;
    return LaunchRequest{split.program, split.arguments, folderOf(split.program)};
}

}  // namespace lsu
