#pragma once
// The offline system's paths and the host's. The core speaks the offline
// system's own paths ("C:\Windows\win.ini"); a path on its system drive is
// found under the volume's mount point one component at a time, each matched
// ignoring case as NTFS matches it, because the mount itself compares names
// exactly. A program folder outside the volume takes the name Wine gives the
// host's root, "Z:\", and only paths at or below it are taken there.

#include <optional>
#include <string>

namespace lsu::offline {

class VolumePaths {
public:
    // root: the mount point; systemRoot: the offline system's Windows folder
    // as it names it ("C:\WINDOWS").
    VolumePaths(std::string root, const std::string& systemRoot);

    const std::string& root() const { return root_; }
    // The drive's root, "C:\".
    std::string driveRoot() const;

    // The host path of a Windows path, existing components matched ignoring
    // case; nullopt for a path neither on the volume nor in the program
    // folder.
    std::optional<std::string> hostPath(const std::string& windowsPath) const;
    // The Windows name of the program folder: on the volume, as the offline
    // system names it; elsewhere, as Wine names the host's files, from then
    // on found there.
    std::string mapProgramFolder(const std::string& hostFolder);

    // Whether a host path stays on the volume or in the program folder once
    // the links on its way are followed: a link on the volume that leads
    // elsewhere on the host is no place to write.
    bool staysInside(const std::string& host) const;

private:
    std::string resolveBelow(std::string base, const std::string& rest) const;

    std::string root_;
    char drive_;
    std::string outsideWindows_;  // the program folder outside the volume, by its Windows name
    std::string outsideHost_;
};

}  // namespace lsu::offline
