#pragma once
// One change to a hive made through hivex where its failure cannot hurt: in
// a child process that reads the hive, makes the change in its own memory and
// writes the whole hive to a file it is given. hivex stops its process with
// an assertion on some damage it meets while writing; then only the child
// ends, the hive and everything else stay as they were, and the change is
// refused.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace lsu::offline {

// A value as the hive stores it: its name in UTF-8, its type, its bytes.
struct HiveValue {
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    bool operator==(const HiveValue&) const = default;
};

struct HiveEdit {
    std::size_t key = 0;                           // the key changed, as an offset of the file
    std::vector<std::string> newKeys;              // created below it, each below the one before
    std::optional<std::vector<HiveValue>> values;  // the values it holds afterwards, all of them
    bool removeKey = false;                        // the key goes, with all it holds
};

// Writes the hive read from hiveFd, with the edit made, to outputFd.
Status writeEditedHive(int hiveFd, int outputFd, const HiveEdit& edit, const std::string& hiveName);

}  // namespace lsu::offline
