#include "ui/logic/EditMenu.h"

namespace lsu {

EditMenuState editMenuState(const StartupEntry* selected) {
    EditMenuState state;
    if (!selected) return state;
    state.remove = state.properties = state.run = true;
    state.disable = selected->checked;
    state.enable = !selected->checked;
    return state;
}

}  // namespace lsu
