#pragma once
// The offline system's paths and the host's. The core speaks the offline
// system's own paths ("C:\Windows\win.ini"); a path on its system drive is
// found under the volume's mount point one component at a time, each matched
// ignoring case as NTFS matches it, because the mount itself compares names
// exactly. A program folder outside the volume takes the name Wine gives the
// host's root, "Z:\", and only paths at or below it are taken there.
//
// The volume may hold names Windows could never have made: a backslash in a
// name, a trailing dot or space, "..", a device name. A folder's listing
// shows them as they are, so the path of such a file is its folder's path
// and its name; that path is read as that file, never taken apart into other
// components, and a change to it is refused, naming the file on the host so
// that a person can deal with it by hand.

#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "platform/offline/HeldFolder.h"

namespace lsu::offline {

class VolumePaths {
public:
    // root: the mount point; systemRoot: the offline system's Windows folder
    // as it names it ("C:\WINDOWS").
    VolumePaths(std::string root, const std::string& systemRoot);

    const std::string& root() const { return root_; }
    // The drive's root, "C:\".
    std::string driveRoot() const;

    // The host path a Windows path is read at: the file of that Windows name,
    // else the file a listing gave that name. nullopt for a path neither on
    // the volume nor in the program folder, or one no file of either kind
    // can have.
    std::optional<std::string> hostPath(const std::string& windowsPath) const;
    // The same, else what Windows makes of the path before it looks (".",
    // "..", trailing dots and spaces dropped): where a command line's
    // program is looked for, never a place an entry is read from.
    std::optional<std::string> hostPathAsWindowsFindsIt(const std::string& windowsPath) const;

    // Where a change to the Windows path is made: the host folder and the
    // name in it. Refused unless every component is a name Windows can
    // have and no file a listing gave that path stands in the way.
    struct ChangePlace {
        std::string folder;
        std::string name;
    };
    Result<ChangePlace> changePlace(const std::string& windowsPath) const;
    // The host folder, held for changes, when it lies on the volume or in
    // the program folder once the links on its way are followed.
    Result<HeldFolder> holdFolder(const std::string& hostFolder) const;

    // The Windows name of the program folder: on the volume, as the offline
    // system names it; elsewhere, as Wine names the host's files, from then
    // on found there.
    std::string mapProgramFolder(const std::string& hostFolder);

private:
    struct Components {
        std::string base;  // the host folder the components lie below
        std::vector<std::string> names;
    };
    std::optional<Components> componentsOf(const std::string& windowsPath) const;
    // The host path of the names, when Windows can have them all (existing
    // ones matched ignoring case), and the file a listing gave this path, if
    // any: a name in one of the folders on the way that holds the rest of
    // the path, separators and all.
    struct Located {
        std::optional<std::string> named;
        std::optional<std::string> listed;
    };
    Located locate(const Components& path) const;

    std::string root_;
    char drive_;
    std::string outsideWindows_;  // the program folder outside the volume, by its Windows name
    std::string outsideHost_;
};

}  // namespace lsu::offline
