#include "ui/logic/EditMenu.h"

namespace lsu {

EditMenuState editMenuState(const StartupEntry* selected) {
    EditMenuState state;
    if (!selected) return state;
    state.run = true;
    // What group policy sets is not changed here.
    if (isReadOnly(*selected)) return state;
    // What a service manager, a package or the task scheduler keeps is only
    // switched here.
    state.remove = state.properties = !whyKept(*selected);
    state.disable = selected->checked;
    state.enable = !selected->checked;
    return state;
}

}  // namespace lsu
