#include "ui/logic/EditMenu.h"

namespace lsu {

EditMenuState editMenuState(const StartupEntry* selected) {
    EditMenuState state;
    if (!selected) return state;
    state.run = true;
    // What group policy sets is not changed here.
    if (isReadOnly(*selected)) return state;
    state.remove = state.properties = true;
    state.disable = selected->checked;
    state.enable = !selected->checked;
    return state;
}

}  // namespace lsu
