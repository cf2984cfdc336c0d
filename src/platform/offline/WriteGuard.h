#pragma once
// What every write to the offline system passes first: a volume mounted
// read-only is refused before anything changes, and so is a hive that holds
// changes only its transaction logs know of, unless the user accepted that
// risk. The guard remembers the last refusal, so that the tool can exit with
// the code that names it.

#include <optional>
#include <string>

#include "platform/Platform.h"

namespace lsu::offline {

enum class Refusal { ReadOnlyVolume, DirtyHive };

class WriteGuard {
public:
    explicit WriteGuard(bool acceptDirtyHives) : acceptDirtyHives_(acceptDirtyHives) {}

    // Done when the file system holding path takes writes.
    SystemResult checkVolume(const std::string& path);
    // Done when the hive holds all its changes, or the user accepted that it may not.
    SystemResult checkHive(const std::string& hiveName, bool dirty);

    const std::optional<Refusal>& lastRefusal() const { return lastRefusal_; }

private:
    bool acceptDirtyHives_;
    std::optional<Refusal> lastRefusal_;
};

}  // namespace lsu::offline
