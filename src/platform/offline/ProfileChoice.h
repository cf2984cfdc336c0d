#pragma once
// Which user's profile of the offline system the current user's sections
// stand for: the one named, or else the only profile holding an NTUSER.DAT.
// The template profile every new user is copied from, and the links Windows
// keeps for old profile names, are not users.

#include <optional>
#include <string>

namespace lsu::offline {

struct ProfileFolder {
    std::string name;  // as the folder is named on the volume
    std::string path;  // the folder on the host
    std::string hive;  // its NTUSER.DAT on the host
};

// The profile, or nullopt with problem saying why and which profiles there are.
std::optional<ProfileFolder> chooseProfile(const std::string& usersFolder, const std::string& requested,
                                           std::string& problem);

}  // namespace lsu::offline
