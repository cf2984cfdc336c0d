#include "ui/logic/EditMenu.h"

namespace lsu {

EditMenuState editMenuState(const StartupEntry* selected) {
    EditMenuState state;
    if (!selected) return state;
    state.run = true;
    // What group policy sets is not changed here.
    if (isReadOnly(*selected)) return state;
    // A service is switched off and on, never deleted or edited here.
    state.remove = state.properties = selected->type != EntryType::Service;
    state.disable = selected->checked;
    state.enable = !selected->checked;
    return state;
}

}  // namespace lsu
