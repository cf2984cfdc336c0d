#include "ui/logic/EditMenu.h"

namespace lsu {

EditMenuState mnuEdit_Click(const StartupEntry* selected) {
    EditMenuState state;
    if (!selected) return state;
    state.del = state.properties = state.run = true;
    state.disable = selected->Checked;
    state.enable = !selected->Checked;
    return state;
}

}  // namespace lsu
