#pragma once
// INI files as the profile functions read and write them: a value is written
// as it is given, and read from a section of the file without the spaces
// around it and without one pair of quotes enclosing it; a section the system
// maps to the registry (win.ini's [windows]) gives it back as written.

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
    // Removes the key's line; done when no such key stands afterwards.
    virtual Status removeProfileKey(const std::string& section, const std::string& key, const std::string& file) = 0;
    // Why a change to the section's keys would be refused, as far as the
    // system tells without changing anything; done when nothing is known
    // against it.
    virtual Status checkChange(const std::string& section, const std::string& file) = 0;
};

}  // namespace lsu
