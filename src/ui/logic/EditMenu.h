#pragma once
// Which Edit menu commands apply to the list's selection.

#include "catalog/StartupEntry.h"

namespace lsu {

struct EditMenuState {
    bool enable = false, disable = false, remove = false, run = false, properties = false;
    bool operator==(const EditMenuState&) const = default;
};

// Add is always available and is not part of the state.
EditMenuState editMenuState(const StartupEntry* selected);

}  // namespace lsu
