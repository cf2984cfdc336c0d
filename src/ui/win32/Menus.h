#pragma once
// The menu bar and the keyboard's shortcuts, built from the command table.

#include <windows.h>

#include "ui/logic/CommandTable.h"
#include "ui/logic/EditMenu.h"
#include "ui/win32/GdiObjects.h"

namespace lsu::win32 {

// Owned by the window it is set on. An elevated window's menus offer no
// restart as administrator.
HMENU createMenuBar(bool elevated);
AcceleratorTable createAccelerators();

// Greys out what does not apply to the selection.
void showEditMenuState(HMENU menu, const EditMenuState& state);
void setMenuCheck(HMENU menu, Command command, bool checked);
// The bitmap stays the caller's and must outlive the menu.
void setMenuBitmap(HMENU menu, Command command, HBITMAP bitmap);

}  // namespace lsu::win32
