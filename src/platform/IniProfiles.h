#pragma once
// INI files as the profile functions read and write them.

#include <optional>
#include <string>

#include "base/Result.h"

namespace lsu {

class IniProfiles {
public:
    virtual ~IniProfiles() = default;
    // The whole value, or nullopt when the key (or section, or file) is absent.
    virtual std::optional<std::string> readProfile(const std::string& section, const std::string& key,
                                                   const std::string& file) = 0;
    virtual Status writeProfile(const std::string& section, const std::string& key, const std::string& value,
                                const std::string& file) = 0;
};

}  // namespace lsu
