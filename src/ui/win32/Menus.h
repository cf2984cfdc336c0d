#pragma once
// The menu bar and the keyboard's shortcuts, built from the command table.

#include <windows.h>

#include "ui/logic/CommandTable.h"
#include "ui/logic/EditMenu.h"
#include "ui/win32/GdiObjects.h"

namespace lsu::win32 {

// Owned by the window it is set on.
HMENU createMenuBar();
AcceleratorTable createAccelerators();

// Greys out what does not apply to the selection.
void showEditMenuState(HMENU menu, const EditMenuState& state);
void setMenuCheck(HMENU menu, Command command, bool checked);

}  // namespace lsu::win32
