#include "platform/offline/ProfileChoice.h"

#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "base/CaseFolding.h"
#include "platform/offline/HostFiles.h"
#include "platform/offline/Posix.h"

namespace lsu::offline {

namespace {

std::optional<std::string> hiveOf(const std::string& folder) {
    DirectoryStream entries(folder);
    for (std::string entry = entries.next(); !entry.empty(); entry = entries.next())
        if (equalsNoCase(entry, "NTUSER.DAT") && isPlainFile(childPath(folder, entry))) return childPath(folder, entry);
    return std::nullopt;
}

std::vector<ProfileFolder> userProfiles(const std::string& usersFolder) {
    std::vector<ProfileFolder> profiles;
    DirectoryStream entries(usersFolder);
    for (std::string name = entries.next(); !name.empty(); name = entries.next()) {
        const std::string path = childPath(usersFolder, name);
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || equalsNoCase(name, "Default")) continue;
        if (auto hive = hiveOf(path)) profiles.push_back({name, path, *hive});
    }
    std::sort(profiles.begin(), profiles.end(),
              [](const ProfileFolder& a, const ProfileFolder& b) { return lessNoCase(a.name, b.name); });
    return profiles;
}

std::string namesOf(const std::vector<ProfileFolder>& profiles) {
    std::string names;
    for (const ProfileFolder& profile : profiles) names += (names.empty() ? "" : ", ") + profile.name;
    return names.empty() ? "none" : names;
}

}  // namespace

std::optional<ProfileFolder> chooseProfile(const std::string& usersFolder, const std::string& requested,
                                           std::string& problem) {
    const std::vector<ProfileFolder> profiles = userProfiles(usersFolder);
    if (!requested.empty()) {
        for (const ProfileFolder& profile : profiles)
            if (equalsNoCase(profile.name, requested)) return profile;
        problem = "no profile \"" + requested + "\" with an NTUSER.DAT in " + usersFolder +
                  " (profiles: " + namesOf(profiles) + ")";
        return std::nullopt;
    }
    if (profiles.size() == 1) return profiles.front();
    problem = profiles.empty() ? "no user profile with an NTUSER.DAT in " + usersFolder
                               : "several user profiles in " + usersFolder + " (" + namesOf(profiles) +
                                     "); choose one with --user NAME";
    return std::nullopt;
}

}  // namespace lsu::offline
