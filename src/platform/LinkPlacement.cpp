#include "platform/LinkPlacement.h"

#include "base/WindowsPaths.h"
#include "platform/TemporaryNames.h"

namespace lsu {

std::string temporaryLinkFile(const std::string& linkFile) {
    const std::string folder = parentFolderOf(linkFile);
    return (folder.empty() ? std::string() : withTrailingBackslash(folder)) + temporaryNameFor(fileNameOf(linkFile));
}

Status placeLink(FileSystem& files, const std::string& linkFile, bool replace,
                 const std::function<Status(const std::string& temporary)>& build) {
    const std::string temporary = temporaryLinkFile(linkFile);
    Status placed = build(temporary);
    if (placed) placed = files.moveFile(temporary, linkFile, replace);
    if (placed || !files.fileExists(temporary)) return placed;
    if (Status removed = files.deleteFile(temporary); !removed) {
        const Error& failure = placed.error();
        return Error{failure.kind, failure.code,
                     failure.message + " " + temporary + " is left behind: " + removed.error().message};
    }
    return placed;
}

}  // namespace lsu
