#pragma once
// The menu bar (Action, Edit, View, Help) and its keyboard shortcuts.

#include <windows.h>

#include "ui/win32/GdiObjects.h"
#include "ui/logic/EditMenu.h"

namespace lsu::win32 {

struct MainMenu {
    HMENU bar = nullptr;   // owned by the window it is set on
    HMENU edit = nullptr;  // also the list's context menu
    HMENU view = nullptr;
};

MainMenu createMainMenu();
AcceleratorTable createAccelerators();

// Greys out what does not apply to the selection.
void showEditMenuState(HMENU edit, const EditMenuState& state);
void setMenuCheck(HMENU menu, int command, bool checked);

}  // namespace lsu::win32
