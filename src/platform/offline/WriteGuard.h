#pragma once
// What every write to the offline system passes first: a volume mounted
// read-only is refused before anything changes, and so is a hive that holds
// changes only its transaction logs know of, unless the user accepted that
// risk.

#include <string>

#include "base/Result.h"

namespace lsu::offline {

class WriteGuard {
public:
    explicit WriteGuard(bool acceptDirtyHives) : acceptDirtyHives_(acceptDirtyHives) {}

    // Done when the file system holding path takes writes.
    Status checkVolume(const std::string& path);
    // Done when the hive holds all its changes, or the user accepted that it may not.
    Status checkHive(const std::string& hiveName, bool dirty);

private:
    bool acceptDirtyHives_;
};

}  // namespace lsu::offline
